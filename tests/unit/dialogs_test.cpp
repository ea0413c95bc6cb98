// The child-lock gate asks until the right password or Cancel; after a wrong
// one it says so and asks again.

#include "fixture.h"

namespace tamsel::test {

using Dialogs = SimTest;

TEST_F(Dialogs, TheGateAsksUntilRightOrCancelled) {
    EXPECT_TRUE(SCL::isPwdOk()) << "no password, no box";
    sim.settings.setString("txtNewPwd", "--1");
    sim.dialogs.typeAndConfirm("guess");
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.dialogs.typeAndConfirm("--1");
    EXPECT_TRUE(SCL::isPwdOk());
    ASSERT_EQ(sim.dialogs.shown.size(), 3u);
    EXPECT_EQ(sim.dialogs.shown[1].informativeText, "Incorrect password");
    sim.settings.setString("txtNewPwd", "Secret");
    sim.dialogs.answer([](const AlertRequest&) {
        return AlertResponse{kAlertFirstButtonReturn + 1, "Secret"};
    });
    EXPECT_FALSE(SCL::isPwdOk()) << "Cancel, whatever was typed";
}

}  // namespace tamsel::test
