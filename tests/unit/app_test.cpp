// The application: first and later launches, the child lock at start, and
// the status menu's commands.

#include <string>
#include <vector>

#include "fixture.h"
#include "prefs/pref_window.h"

namespace tamsel::test {

using sim::ExitCalled;

class App : public SimTest {
protected:
    std::size_t opened(const char* nib) { return sim.windows.named(nib).size(); }
    bool skipRefusedAlert(std::size_t i) {
        const AlertRequest& a = sim.dialogs.shown.at(i);
        return a.messageText == "Tamsel" &&
               a.informativeText ==
                   "Cannot let you skip this break since you skipped the last one, sorry!";
    }
    // A launched application whose user has worked up some progress.
    void runningWithProgress(const std::string& password = "") {
        storeFirstLaunchSettings();
        sim.settings.setString("txtNewPwd", password);
        if (!password.empty()) sim.dialogs.typeAndConfirm(password);
        launchApp();
        sim.idle.activeFor(200);
        sim.advance(200);
        ASSERT_GT(SCL::progress, 135);
    }
};

TEST_F(App, AFirstLaunchStoresTheDefaultsWelcomesAndOpensThePreferences) {
    sim.random.script = {0, 0, 123456789};  // a zero is drawn again
    sim.app.modalScript["Welcome to Tamsel"] = [this](Window&) {
        EXPECT_EQ(sim.workspace.loginItemsOpened, 1) << "opened as the window loads";
        EXPECT_EQ(sim.windows.last("AccessWindow")->levels.back(), WindowLevel::Maximum);
        EXPECT_EQ(sim.statusBar.item->image, "") << "the status item waits for Done";
        sim.windows.last("AccessWindow")->perform("btnDone:");
    };
    launchApp();
    EXPECT_EQ(sim.settings.writes,
              (std::vector<std::string>{"uid=123456789", "stpWorkDuration=30", "stpBreakDuration=2",
                                        "lblSnooze=1", "lblHide=0", "radWhenHigh=0",
                                        "txtNewPwd=", "dropdownOsdLocation=1"}));
    EXPECT_EQ(sim.random.bounds.at(2), 1000000000u);
    EXPECT_EQ(sim.app.modalRuns, (std::vector<std::string>{"Welcome to Tamsel"}));
    EXPECT_TRUE(sim.windows.last("AccessWindow")->closed);
    EXPECT_EQ(sim.windows.last("AccessWindow")->styleMask, 3u) << "titled and closable to close";
    EXPECT_EQ(sim.statusBar.item->image, "SysMenuImg");
    std::vector<std::string> actions;
    for (const MenuItem& item : sim.statusBar.item->menu) actions.push_back(item.action);
    EXPECT_EQ(actions, (std::vector<std::string>{
                           "prefMenuBtn:", "statsMenuBtn:", "helpBtn:", "setupCheckBtn:", "",
                           "breakNowBtn:", "", "skipBtn:", "", "quitBtn:"}));
    EXPECT_TRUE(sim.dialogs.shown.empty()) << "no password on a first launch";
    EXPECT_TRUE(indicator().visible);
    EXPECT_EQ(sim.windows.last("PrefWindow")->keyAndFrontCount, 1);
    EXPECT_EQ(SCL::uid, 123456789);
    EXPECT_EQ(sim.network.requested,
              (std::vector<std::string>{"http://127.0.0.1:47613/logistics/ln.php?cat=tamsel"
                                        "&evtname=macapp&evtval=firstlaunch&notes=app-false"
                                        "&uid=123456789"}));
}

TEST_F(App, ALaterLaunchAsksTheStoredPasswordOnceTheStatusItemIsUp) {
    storeFirstLaunchSettings();
    sim.settings.setString("txtNewPwd", "pw");
    sim.settings.writes.clear();
    sim.dialogs.answer([this](const AlertRequest&) {
        EXPECT_EQ(sim.statusBar.item->image, "SysMenuImg");
        EXPECT_EQ(opened("MainWindow"), 0u);
        return AlertResponse{kAlertFirstButtonReturn, "guess"};
    });
    sim.dialogs.pressButton(kAlertFirstButtonReturn);  // "Incorrect password"
    sim.dialogs.typeAndConfirm("pw");
    launchApp();
    EXPECT_EQ(sim.dialogs.shown.size(), 3u);
    EXPECT_TRUE(sim.settings.writes.empty());
    EXPECT_TRUE(sim.app.modalRuns.empty());
    EXPECT_EQ(opened("PrefWindow"), 0u);
    EXPECT_TRUE(sim.network.requested.empty());
    EXPECT_EQ(SCL::uid, 123456789);
    EXPECT_EQ(opened("MainWindow"), 1u);
}

TEST_F(App, CancellingThePasswordAtStartEndsTheProcessBeforeTheEngine) {
    storeFirstLaunchSettings();
    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.cancel();
    EXPECT_THROW(launchApp(), ExitCalled);
    EXPECT_EQ(sim.app.exitStatus, 0);
    EXPECT_EQ(opened("MainWindow"), 0u);
}

TEST_F(App, SkipRestartsThePeriodOncePerThreeThousandSecondsAndAsksNoPasswordWhenRefused) {
    runningWithProgress("pw");
    sim.dialogs.cancel();
    sim.statusBar.choose("skipBtn:");
    EXPECT_GT(SCL::progress, 135) << "a cancelled skip changes nothing";
    sim.dialogs.typeAndConfirm("pw");
    sim.statusBar.choose("skipBtn:");
    EXPECT_EQ(SCL::progress, 5) << "restarted from 0, then the active tick that ran at once";
    EXPECT_EQ(label().text(), bar(1)) << "drawn without waiting for the timer";
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), sim.now());
    const std::size_t boxes = sim.dialogs.shown.size();

    sim.advance(2999);
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.statusBar.choose("skipBtn:");
    ASSERT_EQ(sim.dialogs.shown.size(), boxes + 1);
    EXPECT_TRUE(skipRefusedAlert(boxes));

    sim.advance(1);
    sim.dialogs.typeAndConfirm("pw");
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(sim.dialogs.shown.back().secureField) << "allowed after 3000 s";
}

TEST_F(App, SkipDuringABreakLeavesItAndACompletedBreakAllowsTheNextSkip) {
    runningWithProgress();
    sim.idle.activeFor(100000);
    runUntilBreak();
    sim.advance(10);
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(openBreakWindows(), 1u);
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(skipRefusedAlert(0)) << "the allowance is used up all the same";
    sim.advance(110);
    ASSERT_FALSE(SCL::activityTimerPause);
    sim.statusBar.choose("skipBtn:");
    EXPECT_EQ(sim.dialogs.shown.size(), 1u);
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), sim.now());
}

TEST_F(App, QuitAndPreferencesGoThroughTheChildLockHelpDoesNot) {
    storeFirstLaunchSettings();
    launchApp();
    sim.statusBar.choose("prefMenuBtn:");
    sim.statusBar.choose("prefMenuBtn:");
    ASSERT_EQ(opened("PrefWindow"), 2u);
    EXPECT_TRUE(sim.windows.named("PrefWindow")[0]->destroyed) << "the delegate holds the newer";
    EXPECT_EQ(sim.windows.last("PrefWindow")->keyAndFrontCount, 1);
    EXPECT_EQ(sim.app.activations, 2);

    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.cancel();
    sim.statusBar.choose("prefMenuBtn:");
    EXPECT_EQ(opened("PrefWindow"), 2u);
    sim.statusBar.choose("helpBtn:");
    EXPECT_EQ(sim.workspace.openedFiles,
              (std::vector<std::string>{"/opt/tamsel/share/tamsel/Manual.pdf"}));
    sim.dialogs.cancel();
    EXPECT_NO_THROW(sim.statusBar.choose("quitBtn:"));
    sim.dialogs.typeAndConfirm("pw");
    EXPECT_THROW(sim.statusBar.choose("quitBtn:"), ExitCalled);
    EXPECT_EQ(sim.app.exitStatus, 0);
    EXPECT_EQ(sim.dialogs.shown.size(), 3u);
}

// Help and the web-site link on a desktop without a PDF viewer or browser.
TEST_F(App, WhatNothingCanOpenIsToldWithWhereItIs) {
    storeFirstLaunchSettings();
    launchApp();
    sim.workspace.opens = false;
    sim.statusBar.choose("prefMenuBtn:");
    sim::SimWindowState& prefs = *sim.windows.last("PrefWindow");
    const std::pair<std::function<void()>, std::string> ways[] = {
        {[&] { sim.statusBar.choose("helpBtn:"); }, "/opt/tamsel/share/tamsel/Manual.pdf"},
        {[&] { prefs.perform("btnHelp:"); }, "/opt/tamsel/share/tamsel/Manual.pdf"},
        {[&] { prefs.perform("copyrightClicked:", "btnCopyright"); }, "http://127.0.0.1:47613/"},
    };
    for (const auto& [open, where] : ways) {
        sim.dialogs.pressButton(kAlertFirstButtonReturn);
        open();
        ASSERT_FALSE(sim.dialogs.shown.empty());
        EXPECT_EQ(sim.dialogs.shown.back().messageText, "Tamsel");
        EXPECT_TRUE(sim.dialogs.shown.back().informativeText.ends_with("\n" + where))
            << sim.dialogs.shown.back().informativeText;
    }
    EXPECT_EQ(sim.dialogs.shown.size(), 3u);
}

// Setting the system clock moves no interval the engine measures.
TEST_F(App, ClockSetBackOrForwardMovesNoLimitAndEndsNoBreak) {
    runningWithProgress();
    sim.statusBar.choose("skipBtn:");
    sim.clock.jumpWall(-3 * 3600.0);
    sim.advance(3000);
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(sim.dialogs.shown.empty())
        << "3000 s after the first skip, whatever the clock says";

    sim.idle.activeFor(100000);
    runUntilBreak();
    sim.advance(30);
    sim.clock.jumpWall(3600.0);
    sim.advance(30);
    EXPECT_TRUE(SCL::activityTimerPause) << "an hour forward is no hour of break";
    EXPECT_EQ(SCL::lockTicks, 60);
}

}  // namespace tamsel::test
