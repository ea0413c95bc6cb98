// The application: launches, the child lock at start, and the status menu.

#include "fixture.h"

namespace tamsel::test {

class App : public SimTest {
protected:
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

TEST_F(App, AFirstLaunchStoresTheDefaultsAndHelpWithoutAViewerSaysWhereItIs) {
    sim.random.script = {0, 0, 123456789};  // a zero is drawn again
    sim.app.modalScript["Welcome to Tamsel"] = [this](Window&) {
        sim.windows.last("AccessWindow")->perform("btnDone:");
    };
    launchApp();
    EXPECT_EQ(sim.settings.writes,
              (std::vector<std::string>{"uid=123456789", "stpWorkDuration=30", "stpBreakDuration=2",
                                        "lblSnooze=1", "lblHide=0", "radWhenHigh=0",
                                        "txtNewPwd=", "dropdownOsdLocation=1"}));
    EXPECT_EQ(sim.windows.last("PrefWindow")->keyAndFrontCount, 1);
    EXPECT_EQ(sim.network.requested,
              (std::vector<std::string>{"http://127.0.0.1:47613/logistics/ln.php?cat=tamsel"
                                        "&evtname=macapp&evtval=firstlaunch&notes=app-false"
                                        "&uid=123456789"}));
    sim.workspace.opens = false;  // help without a PDF viewer
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.statusBar.choose("helpBtn:");
    EXPECT_TRUE(sim.dialogs.shown.back().informativeText.ends_with(
        "\n/opt/tamsel/share/tamsel/Manual.pdf"));
}

TEST_F(App, ACancelledStartEndsBeforeTheEngineAndSkipRestartsThePeriodOncePer3000s) {
    storeFirstLaunchSettings();
    sim.settings.setString("txtNewPwd", "--1");  // Cancel's own marker: still no password
    sim.dialogs.cancel();
    EXPECT_THROW(launchApp(), sim::ExitCalled);
    app.reset();
    SCL::reset(sim.platform());
    runningWithProgress("--1");  // the box's own cancel marker as a password
    sim.dialogs.typeAndConfirm("--1");
    sim.statusBar.choose("skipBtn:");
    EXPECT_EQ(SCL::progress, 5) << "restarted from 0, then the active tick that ran at once";
    EXPECT_EQ(label().text(), bar(1)) << "drawn without waiting for the timer";
    sim.advance(2999);
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    sim.statusBar.choose("skipBtn:");
    EXPECT_EQ(sim.dialogs.shown.back().informativeText,
              "Cannot let you skip this break since you skipped the last one, sorry!");
    sim.advance(1);
    sim.dialogs.typeAndConfirm("--1");
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(sim.dialogs.shown.back().secureField) << "allowed after 3000 s";
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
