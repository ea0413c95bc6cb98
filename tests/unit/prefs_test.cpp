// The preferences window: the stored settings as they run, saved all at once.

#include <limits>
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

// Hand-edited values show as the engine treats them, so an untouched Save
// keeps what runs.
TEST_F(Preferences, OpensWithTheStoredSettingsAsTheyRun) {
    const struct {
        long long work, brk, osd, hide;  // stored
        long long shownWork, shownBreak, shownOsd, shownHide;
    } rows[] = {
        {25, 5, 1, 1, 25, 5, 1, 1},
        {0, 1000, 9, 2, 30, 60, 5, 0},
        {std::numeric_limits<long long>::max(), 2, 1, 0, 240, 2, 1, 0},
    };
    for (const auto& r : rows) {
        sim.settings.setInteger("stpWorkDuration", r.work);
        sim.settings.setInteger("stpBreakDuration", r.brk);
        sim.settings.setInteger("dropdownOsdLocation", r.osd);
        sim.settings.setInteger("lblHide", r.hide);
        sim::SimWindowState& w = open();
        EXPECT_EQ(w.outlet("stpWorkDurationE").integerValue(), r.shownWork) << r.work;
        EXPECT_EQ(w.outlet("stpBreakDurationEle").integerValue(), r.shownBreak) << r.work;
        EXPECT_EQ(w.outlet("dropdownOsdLocation").selectedIndex(), r.shownOsd) << r.work;
        EXPECT_EQ(w.outlet("lblHide").state(), r.shownHide) << r.work;
    }
}

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
