// The indicator's corner of the main screen; the preferences window saves
// everything at once and takes effect at once.

#include "fixture.h"
#include "prefs/pref_window.h"

namespace tamsel::test {

using Preferences = SimTest;

TEST_F(Preferences, SaveWritesEveryKeyAndTakesEffectAtOnce) {
    storeFirstLaunchSettings();
    const double t0 = sim.now();
    sim.idle.activeBetween(t0, t0 + 100);
    MainWindow& engine = startEngine();
    sim.advance(107);  // the idle tick at 105 only turned the flag
    PrefWindow prefs;
    prefs.showWindow();
    sim::SimWindowState& w = *sim.windows.last("PrefWindow");
    w.outlet("stpWorkDurationE").setDoubleValue(25);
    w.perform("stpWorkDuration:", "stpWorkDurationE");
    w.outlet("stpBreakDurationEle").setDoubleValue(5);
    w.perform("stpBreakDuration:", "stpBreakDurationEle");
    w.outlet("lblSnooze").setState(0);
    w.outlet("lblHide").setState(1);
    w.outlet("txtNewPwd").setText("pw");
    w.outlet("txtConfirmPwd").setText("pw");
    w.perform("radGroupClicked:", "radWhenHigh");
    w.outlet("dropdownOsdLocation").selectItem(3);
    w.perform("btnSaveClicked:");
    EXPECT_EQ(
        sim.settings.writes,
        (std::vector<std::string>{
            "stpWorkDuration=25", "stpBreakDuration=5", "lblSnooze=0", "lblHide=1", "txtNewPwd=pw",
            "radWhenHigh=1", "dropdownOsdLocation=3", "lblHeadsUp=1", "lblSound=0",
            "lblAllScreens=0", "lblWaitCall=1", "lblWaitFullScreen=1", "lblWaitDnd=0"}));
    EXPECT_TRUE(w.closed);
    EXPECT_EQ(indicator().frame, (Rect{0, 0, 200, 30})) << "bottom left at once";
    EXPECT_EQ(engine.workDur, 1125);
    EXPECT_EQ(SCL::lockDur, 300);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_DOUBLE_EQ(*SCL::activityTimerDt, t0 + 107) << "a tick ran right away";
    EXPECT_EQ(label().textColor(), (Color{0, 0, 0, 0})) << "redrawn in the new visibility";
}

TEST_F(Preferences, TheIndicatorTakesEveryCornerOfTheMainScreen) {
    storeFirstLaunchSettings();
    startEngine();
    EXPECT_EQ(indicator().frame, (Rect{620, 850, 200, 30})) << "top centre after the first launch";
    const Rect placed[] = {{0, 850, 200, 30}, {620, 850, 200, 30}, {1240, 850, 200, 30},
                           {0, 0, 200, 30},   {620, 0, 200, 30},   {1240, 0, 200, 30}};
    for (long long corner = -1; corner <= 9; ++corner) {
        sim.settings.setInteger("dropdownOsdLocation", corner);
        SCL::mainWindow->placeWindow();
        EXPECT_EQ(indicator().frame, placed[corner >= 0 && corner <= 5 ? corner : 5]) << corner;
    }
    sim.screens.set({{1440, 0, 1920, 1080}});  // re-placed when the screens change
    EXPECT_EQ(indicator().frame, (Rect{3160, 0, 200, 30}));
    sim.settings.setInteger("dropdownOsdLocation", 4);
    sim.screens.set({{0, 0, 150, 900}});
    EXPECT_EQ(indicator().frame, (Rect{-25, 0, 200, 30})) << "narrower than the indicator";
}

}  // namespace tamsel::test
