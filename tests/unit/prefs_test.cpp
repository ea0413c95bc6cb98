// The preferences window saves everything at once and takes effect at once.

#include <memory>
#include <string>
#include <vector>

#include "fixture.h"
#include "prefs/pref_window.h"

namespace tamsel::test {

class Preferences : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }

    sim::SimWindowState& open() {
        prefs_ = std::make_unique<PrefWindow>();
        prefs_->showWindow();
        return *sim.windows.last("PrefWindow");
    }
    // Everything a user might change, none of it saved yet.
    static void editEverything(sim::SimWindowState& w) {
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
    }

    std::unique_ptr<PrefWindow> prefs_;
};

TEST_F(Preferences, SaveWritesEveryKeyAndTakesEffectAtOnce) {
    const double t0 = sim.now();
    sim.idle.activeBetween(t0, t0 + 100);
    MainWindow& engine = startEngine();
    sim.advance(107);  // the idle tick at 105 only turned the flag
    sim::SimWindowState& w = open();
    editEverything(w);
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

}  // namespace tamsel::test
