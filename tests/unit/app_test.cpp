// The application: first and later launches, the child lock at start, and
// the status menu's commands.

#include <string>
#include <vector>

#include "app/access_window.h"
#include "app/app_delegate.h"
#include "fixture.h"
#include "prefs/pref_window.h"

namespace tamsel::test {

using sim::ExitCalled;

class App : public SimTest {
protected:
    // The user reads the welcome window and presses Done.
    void pressDoneOnWelcome() {
        sim.app.modalScript["Welcome to Tamsel"] = [this](Window&) {
            sim.windows.last("AccessWindow")->perform("btnDone:");
        };
    }
    void launch() { app.applicationDidFinishLaunching(); }
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
        launch();
        sim.idle.activeFor(200);
        sim.advance(200);
        ASSERT_GT(SCL::progress, 135);
    }

    AppDelegate app;
};

// ---- launching --------------------------------------------------------------------

TEST_F(App, AFirstLaunchStoresTheDefaultsWelcomesAndOpensThePreferences) {
    sim.random.script = {123456789};
    sim.app.modalScript["Welcome to Tamsel"] = [this](Window& w) {
        EXPECT_EQ(sim.workspace.loginItemsOpened, 1) << "opened as the window loads";
        EXPECT_EQ(w.title(), "Welcome to Tamsel");
        EXPECT_EQ(sim.windows.last("AccessWindow")->levels.back(), WindowLevel::Maximum);
        EXPECT_EQ(sim.statusBar.item->image, "") << "the status item waits for Done";
        EXPECT_TRUE(sim.statusBar.item->menu.empty());
        sim.windows.last("AccessWindow")->perform("btnDone:");
    };
    launch();
    EXPECT_EQ(sim.settings.writes,
              (std::vector<std::string>{"uid=123456789", "stpWorkDuration=30", "stpBreakDuration=2",
                                        "lblSnooze=1", "lblHide=0", "radWhenHigh=0",
                                        "txtNewPwd=", "dropdownOsdLocation=1"}));
    EXPECT_EQ(sim.app.modalRuns, (std::vector<std::string>{"Welcome to Tamsel"}));
    EXPECT_TRUE(sim.windows.last("AccessWindow")->closed);
    EXPECT_EQ(sim.windows.last("AccessWindow")->styleMask, 3u) << "titled and closable to close";
    EXPECT_TRUE(SCL::accessWindow);
    EXPECT_EQ(sim.statusBar.item->image, "SysMenuImg");
    std::vector<std::string> actions;
    for (const MenuItem& item : sim.statusBar.item->menu) actions.push_back(item.action);
    EXPECT_EQ(actions, (std::vector<std::string>{"prefMenuBtn:", "statsMenuBtn:", "helpBtn:", "",
                                                 "breakNowBtn:", "", "skipBtn:", "", "quitBtn:"}));
    EXPECT_TRUE(sim.dialogs.shown.empty()) << "no password on a first launch";
    ASSERT_TRUE(SCL::mainWindow);
    EXPECT_TRUE(indicator().visible);
    ASSERT_TRUE(app.prefWindow);
    EXPECT_TRUE(sim.windows.last("PrefWindow")->visible);
    EXPECT_EQ(sim.windows.last("PrefWindow")->keyAndFrontCount, 1);
    EXPECT_EQ(SCL::uid, 123456789);
    EXPECT_EQ(sim.network.requested,
              (std::vector<std::string>{"http://127.0.0.1:47613/logistics/ln.php?cat=tamsel"
                                        "&evtname=macapp&evtval=firstlaunch&notes=app-false"
                                        "&uid=123456789"}));
}

TEST_F(App, TheInstallationNumberIsDrawnAgainWhileItIsZero) {
    sim.random.script = {0, 0, 7};
    pressDoneOnWelcome();
    launch();
    EXPECT_EQ(sim.settings.writes.front(), "uid=7");
    EXPECT_EQ(sim.random.bounds.at(2), 1000000000u);
}

TEST_F(App, ALaterLaunchGoesStraightToWork) {
    storeFirstLaunchSettings();
    launch();
    EXPECT_TRUE(sim.settings.writes.empty());
    EXPECT_TRUE(sim.app.modalRuns.empty());
    EXPECT_EQ(opened("AccessWindow"), 0u);
    EXPECT_EQ(opened("PrefWindow"), 0u);
    EXPECT_TRUE(sim.network.requested.empty());
    EXPECT_EQ(SCL::uid, 123456789);
    EXPECT_EQ(sim.statusBar.item->image, "SysMenuImg");
    EXPECT_EQ(opened("MainWindow"), 1u);
}

TEST_F(App, AStoredPasswordIsAskedOnceTheStatusItemIsUp) {
    storeFirstLaunchSettings();
    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.answer([this](const AlertRequest& box) {
        EXPECT_TRUE(box.secureField);
        EXPECT_EQ(sim.statusBar.item->image, "SysMenuImg");
        EXPECT_EQ(opened("MainWindow"), 0u);
        return AlertResponse{kAlertFirstButtonReturn, "guess"};
    });
    sim.dialogs.pressButton(kAlertFirstButtonReturn);  // "Incorrect password"
    sim.dialogs.typeAndConfirm("pw");
    launch();
    ASSERT_EQ(sim.dialogs.shown.size(), 3u);
    EXPECT_EQ(sim.dialogs.shown[1].informativeText, "Incorrect password");
    EXPECT_EQ(opened("MainWindow"), 1u);
}

TEST_F(App, CancellingThePasswordAtStartEndsTheProcessBeforeTheEngine) {
    storeFirstLaunchSettings();
    sim.settings.setString("txtNewPwd", "pw");
    sim.settings.writes.clear();
    sim.dialogs.cancel();
    try {
        launch();
        ADD_FAILURE() << "the launch went on";
    } catch (const ExitCalled& exit) {
        EXPECT_EQ(exit.status, 0);
    }
    EXPECT_EQ(opened("MainWindow"), 0u);
    EXPECT_FALSE(SCL::mainWindow);
    EXPECT_TRUE(sim.settings.writes.empty());
}

// ---- skip -------------------------------------------------------------------------

TEST_F(App, SkipRestartsThePeriodAtOnce) {
    runningWithProgress();
    sim.statusBar.choose("skipBtn:");
    EXPECT_EQ(SCL::progress, 5) << "restarted from 0, then the active tick that ran at once";
    EXPECT_EQ(label().text(), bar(1)) << "drawn without waiting for the timer";
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), sim.now());
    EXPECT_TRUE(sim.dialogs.shown.empty());
}

TEST_F(App, ASecondSkipWaitsThreeThousandSecondsAndAsksNoPasswordWhenRefused) {
    runningWithProgress("pw");
    sim.dialogs.typeAndConfirm("pw");
    sim.statusBar.choose("skipBtn:");
    const std::size_t boxes = sim.dialogs.shown.size();

    sim.advance(2899);  // away from the desk, then back for the last 100 s
    sim.idle.activeFor(100);
    sim.advance(100);
    const std::int64_t progress = SCL::progress;
    ASSERT_GT(progress, 0);

    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.statusBar.choose("skipBtn:");
    ASSERT_EQ(sim.dialogs.shown.size(), boxes + 1);
    EXPECT_TRUE(skipRefusedAlert(boxes));
    EXPECT_EQ(SCL::progress, progress);

    sim.advance(1);
    sim.dialogs.typeAndConfirm("pw");
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(sim.dialogs.shown.back().secureField);
    EXPECT_LE(SCL::progress, 5);
}

TEST_F(App, ACompletedBreakAllowsTheNextSkipAtOnce) {
    runningWithProgress();
    sim.statusBar.choose("skipBtn:");
    sim.idle.activeFor(100000);
    runUntilBreak();
    sim.advance(120);
    ASSERT_FALSE(SCL::activityTimerPause);
    sim.advance(60);
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(sim.dialogs.shown.empty());
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), sim.now());
}

TEST_F(App, ACancelledSkipChangesNothing) {
    runningWithProgress("pw");
    const std::int64_t progress = SCL::progress;
    const double lastSkip = SCL::lastSkipDate();
    sim.dialogs.cancel();
    sim.statusBar.choose("skipBtn:");
    EXPECT_EQ(SCL::progress, progress);
    EXPECT_EQ(SCL::lastSkipDate(), lastSkip);
    sim.dialogs.typeAndConfirm("pw");
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(sim.dialogs.shown.back().secureField) << "asked again, not refused";
    EXPECT_LE(SCL::progress, 5);
}

TEST_F(App, SkipDuringABreakLeavesTheBreakAndUsesTheAllowance) {
    runningWithProgress();
    sim.idle.activeFor(100000);
    runUntilBreak();
    sim.advance(10);
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(openBreakWindows(), 1u);
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), sim.now());
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(skipRefusedAlert(0));
}

// ---- quit, preferences, help ------------------------------------------------------

TEST_F(App, QuitEndsAtOnceWithoutAPasswordAndOnlyWithTheRightOne) {
    storeFirstLaunchSettings();
    launch();
    EXPECT_THROW(sim.statusBar.choose("quitBtn:"), ExitCalled);
    EXPECT_EQ(sim.app.exitStatus, 0);
    EXPECT_TRUE(sim.settings.writes.empty());

    sim.app.exitStatus.reset();
    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.cancel();
    EXPECT_NO_THROW(sim.statusBar.choose("quitBtn:"));
    EXPECT_FALSE(sim.app.exitStatus);
    sim.dialogs.typeAndConfirm("pw");
    EXPECT_THROW(sim.statusBar.choose("quitBtn:"), ExitCalled);
    EXPECT_EQ(sim.app.exitStatus, 0);
}

TEST_F(App, EachPreferencesCommandOpensANewWindowInFront) {
    storeFirstLaunchSettings();
    launch();
    sim.statusBar.choose("prefMenuBtn:");
    PrefWindow* first = app.prefWindow.get();
    sim.statusBar.choose("prefMenuBtn:");
    ASSERT_EQ(opened("PrefWindow"), 2u);
    EXPECT_NE(app.prefWindow.get(), first);
    EXPECT_TRUE(sim.windows.named("PrefWindow")[0]->destroyed) << "the delegate holds the newer";
    EXPECT_EQ(sim.windows.last("PrefWindow")->keyAndFrontCount, 1);
    EXPECT_EQ(sim.app.activations, 2);
}

TEST_F(App, PreferencesBehindTheChildLock) {
    storeFirstLaunchSettings();
    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.typeAndConfirm("pw");
    launch();
    sim.dialogs.cancel();
    sim.statusBar.choose("prefMenuBtn:");
    EXPECT_EQ(opened("PrefWindow"), 0u);
    sim.dialogs.typeAndConfirm("pw");
    sim.statusBar.choose("prefMenuBtn:");
    EXPECT_EQ(opened("PrefWindow"), 1u);
}

TEST_F(App, HelpOpensTheManualWithoutAsking) {
    storeFirstLaunchSettings();
    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.typeAndConfirm("pw");
    launch();
    sim.statusBar.choose("helpBtn:");
    EXPECT_EQ(sim.workspace.openedFiles,
              (std::vector<std::string>{"/opt/tamsel/share/doc/tamsel/Manual.pdf"}));
    EXPECT_EQ(sim.dialogs.shown.size(), 1u) << "only the box at start";
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
