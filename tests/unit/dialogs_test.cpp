// The child-lock gate: its masked input box and its alerts.

#include <string>
#include <vector>

#include "fixture.h"

namespace tamsel::test {

class Dialogs : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }
    const AlertRequest& shown(std::size_t i) { return sim.dialogs.shown.at(i); }
};

// The gate asks until the right password or Cancel; after a wrong one it
// says so and asks again with the default prompt.
TEST_F(Dialogs, TheGateAsksUntilRightOrCancelled) {
    struct Case {
        std::string stored;
        std::vector<std::string> typed;  // when it fails, the last box is cancelled
        bool passes;
    };
    const Case cases[] = {
        {"", {}, true},
        {"secret", {"secret"}, true},
        {"secret", {"guess", "secret"}, true},
        {"Secret", {"", "secret", "Secret ", "Secret"}, false},  // Cancel, whatever was typed
        {"--1", {"--1"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        sim.dialogs.shown.clear();
        sim.app.activations = 0;
        sim.settings.setString("txtNewPwd", c.stored);
        for (std::size_t i = 0; i < c.typed.size(); ++i) {
            if (i + 1 == c.typed.size() && !c.passes)
                sim.dialogs.answer([typed = c.typed[i]](const AlertRequest&) {
                    return AlertResponse{kAlertFirstButtonReturn + 1, typed};
                });
            else
                sim.dialogs.typeAndConfirm(c.typed[i]);
            if (i + 1 < c.typed.size()) sim.dialogs.pressButton(kAlertFirstButtonReturn);
        }
        EXPECT_EQ(SCL::isPwdOk("Password to change the preferences"), c.passes);
        ASSERT_EQ(sim.dialogs.shown.size(), c.typed.empty() ? 0 : 2 * c.typed.size() - 1);
        EXPECT_EQ(sim.app.activations, static_cast<int>(c.typed.size()));
        // Masked boxes with OK and Cancel, between them an alert with the
        // platform's single OK.
        for (std::size_t i = 0; i < sim.dialogs.shown.size(); ++i) {
            const AlertRequest& box = shown(i);
            EXPECT_EQ(box.messageText, "Child lock enabled");
            EXPECT_EQ(box.informativeText, i % 2    ? "Incorrect password"
                                           : i == 0 ? "Password to change the preferences"
                                                    : "Please enter your password");
            EXPECT_EQ(box.secureField, i % 2 == 0);
            const std::vector<std::string> okCancel{"OK", "Cancel"};
            EXPECT_EQ(box.buttons, i % 2 ? std::vector<std::string>() : okCancel);
        }
    }
}

TEST_F(Dialogs, EveryRoundReadsTheStoredPasswordAfresh) {
    sim.settings.setString("txtNewPwd", "old");
    sim.dialogs.typeAndConfirm("new");
    sim.dialogs.answer([this](const AlertRequest&) {
        sim.settings.setString("txtNewPwd", "new");  // saved elsewhere meanwhile
        return AlertResponse{};
    });
    sim.dialogs.typeAndConfirm("new");
    EXPECT_TRUE(SCL::isPwdOk());
    sim.settings.values.erase("txtNewPwd");
    EXPECT_TRUE(SCL::isPwdOk()) << "a store without the key has no child lock";
}

}  // namespace tamsel::test
