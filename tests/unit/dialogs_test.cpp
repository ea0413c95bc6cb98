// The child-lock gate asks until the right password or Cancel; after a wrong
// one it says so and asks again.

#include <string>
#include <vector>

#include "fixture.h"

namespace tamsel::test {

using Dialogs = SimTest;

TEST_F(Dialogs, TheGateAsksUntilRightOrCancelled) {
    const struct {
        std::string stored;
        std::vector<std::string> typed;  // when it fails, the last box is cancelled
        bool passes;
    } cases[] = {
        {"", {}, true},
        {"secret", {"guess", "secret"}, true},
        {"Secret", {"", "secret", "Secret"}, false},  // Cancel, whatever was typed
        {"--1", {"--1"}, true},
    };
    for (const auto& c : cases) {
        sim.dialogs.shown.clear();
        sim.settings.setString("txtNewPwd", c.stored);
        for (std::size_t i = 0; i < c.typed.size(); ++i) {
            const bool last = i + 1 == c.typed.size();
            sim.dialogs.answer([=, typed = c.typed[i]](const AlertRequest&) {
                return AlertResponse{kAlertFirstButtonReturn + (last && !c.passes), typed};
            });
            if (!last) sim.dialogs.pressButton(kAlertFirstButtonReturn);
        }
        EXPECT_EQ(SCL::isPwdOk("Password to change the preferences"), c.passes) << c.stored;
        ASSERT_EQ(sim.dialogs.shown.size(), c.typed.empty() ? 0 : 2 * c.typed.size() - 1);
        if (c.typed.size() > 1) EXPECT_EQ(sim.dialogs.shown[1].informativeText, "Incorrect password");
    }
}

}  // namespace tamsel::test
