// Alerts, the masked input box and the child-lock gate.

#include <string>
#include <vector>

#include "fixture.h"

namespace tamsel::test {

class Dialogs : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }
    void setPassword(const std::string& password) { sim.settings.setString("txtNewPwd", password); }
    const AlertRequest& shown(std::size_t i) { return sim.dialogs.shown.at(i); }
    bool isIncorrectPasswordAlert(std::size_t i) {
        return shown(i).messageText == "Child lock enabled" &&
               shown(i).informativeText == "Incorrect password" && !shown(i).secureField;
    }
};

TEST_F(Dialogs, AlertShowsTheTitleAsHeadingAndTheMessageBelowWithOneButton) {
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    SCL::showAlert("Cannot let you skip", "Tamsel");
    SCL::showAlert("Unable to check for new versions");
    EXPECT_EQ(shown(0).messageText, "Tamsel");
    EXPECT_EQ(shown(0).informativeText, "Cannot let you skip");
    EXPECT_TRUE(shown(0).buttons.empty()) << "the platform's single OK";
    EXPECT_EQ(shown(1).messageText, "") << "the default title is empty";
    EXPECT_EQ(shown(1).informativeText, "Unable to check for new versions");
}

TEST_F(Dialogs, InputBoxOffersOkAndCancelOverAMaskedField) {
    sim.dialogs.typeAndConfirm("typed");
    sim.dialogs.answer([](const AlertRequest&) {
        return AlertResponse{kAlertFirstButtonReturn + 1, "typed but cancelled"};
    });
    EXPECT_EQ(SCL::showInputBox("Child lock enabled", "Please enter your password"), "typed");
    EXPECT_EQ(SCL::showInputBox("Child lock enabled", "Please enter your password"), "--1");
    EXPECT_EQ(shown(0).messageText, "Child lock enabled");
    EXPECT_EQ(shown(0).informativeText, "Please enter your password");
    EXPECT_EQ(shown(0).buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_TRUE(shown(0).secureField);
}

// ---- the gate ---------------------------------------------------------------------

TEST_F(Dialogs, NoPasswordPassesWithoutShowingOrActivatingAnything) {
    EXPECT_TRUE(SCL::isPwdOk());
    sim.settings.values.erase("txtNewPwd");
    EXPECT_TRUE(SCL::isPwdOk()) << "a store without the key has no child lock";
    EXPECT_TRUE(sim.dialogs.shown.empty());
    EXPECT_EQ(sim.app.activations, 0);
}

TEST_F(Dialogs, RightPasswordFirstTimeIsOneBox) {
    setPassword("secret");
    sim.dialogs.typeAndConfirm("secret");
    EXPECT_TRUE(SCL::isPwdOk());
    ASSERT_EQ(sim.dialogs.shown.size(), 1u);
    EXPECT_EQ(shown(0).messageText, "Child lock enabled");
    EXPECT_EQ(shown(0).informativeText, "Please enter your password");
    EXPECT_EQ(sim.app.activations, 1);
}

TEST_F(Dialogs, WrongThenRightAsksAgainWithTheDefaultPrompt) {
    setPassword("secret");
    sim.dialogs.typeAndConfirm("guess");
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.dialogs.typeAndConfirm("secret");
    EXPECT_TRUE(SCL::isPwdOk("Password to change the preferences"));
    ASSERT_EQ(sim.dialogs.shown.size(), 3u);
    EXPECT_EQ(shown(0).informativeText, "Password to change the preferences");
    EXPECT_TRUE(isIncorrectPasswordAlert(1));
    EXPECT_EQ(shown(2).informativeText, "Please enter your password");
}

TEST_F(Dialogs, WrongThenCancelIsNo) {
    setPassword("secret");
    sim.dialogs.typeAndConfirm("guess");
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.dialogs.cancel();
    EXPECT_FALSE(SCL::isPwdOk());
    EXPECT_EQ(sim.dialogs.shown.size(), 3u);
}

TEST_F(Dialogs, EmptyEntryCaseAndTrailingBlankAreAllWrong) {
    setPassword("Secret");
    for (const char* wrong : {"", "secret", "Secret "}) {
        sim.dialogs.typeAndConfirm(wrong);
        sim.dialogs.pressButton(kAlertFirstButtonReturn);
    }
    sim.dialogs.cancel();
    EXPECT_FALSE(SCL::isPwdOk());
    ASSERT_EQ(sim.dialogs.shown.size(), 7u);
    for (std::size_t alert : {1u, 3u, 5u}) EXPECT_TRUE(isIncorrectPasswordAlert(alert));
}

TEST_F(Dialogs, APasswordThatReadsLikeTheCancelMarkerStillOpens) {
    setPassword("--1");
    sim.dialogs.typeAndConfirm("--1");
    EXPECT_TRUE(SCL::isPwdOk());
    EXPECT_EQ(sim.dialogs.shown.size(), 1u);
}

TEST_F(Dialogs, EveryRoundReadsTheStoredPasswordAfresh) {
    setPassword("old");
    sim.dialogs.typeAndConfirm("new");
    sim.dialogs.answer([this](const AlertRequest&) {
        setPassword("new");  // saved elsewhere while the alert was up
        return AlertResponse{};
    });
    sim.dialogs.typeAndConfirm("new");
    EXPECT_TRUE(SCL::isPwdOk());
}

}  // namespace tamsel::test
