// The preferences window: loading the stored settings, editing in the
// controls only, saving all at once, and its links.

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
    static void setStepper(sim::SimWindowState& w, const char* stepper, const char* action,
                           double minutes) {
        w.outlet(stepper).setDoubleValue(minutes);
        w.perform(action, stepper);
    }
    static void setPasswords(sim::SimWindowState& w, const std::string& a, const std::string& b) {
        w.outlet("txtNewPwd").setText(a);
        w.outlet("txtConfirmPwd").setText(b);
    }
    // Everything a user might change, none of it saved yet.
    static void editEverything(sim::SimWindowState& w) {
        setStepper(w, "stpWorkDurationE", "stpWorkDuration:", 25);
        setStepper(w, "stpBreakDurationEle", "stpBreakDuration:", 5);
        w.outlet("lblSnooze").setState(0);
        w.outlet("lblHide").setState(1);
        setPasswords(w, "pw", "pw");
        w.perform("radGroupClicked:", "radWhenHigh");
        w.outlet("dropdownOsdLocation").selectItem(3);
    }

    std::unique_ptr<PrefWindow> prefs_;
};

// The controls show the stored settings; hand-edited values show as the
// engine will treat them, so an untouched Save keeps what runs.
TEST_F(Preferences, OpensWithTheStoredSettingsAsTheyRun) {
    constexpr long long kMax = std::numeric_limits<long long>::max();
    const struct {
        long long work, brk, osd, whenHigh, snooze, hide;  // stored
        long long shownWork, shownBreak, shownOsd, shownWhenHigh, shownSnooze, shownHide;
    } rows[] = {
        {25, 5, 1, 1, 1, 1, 25, 5, 1, 1, 1, 1},
        {0, 1000, 9, 2, 7, 2, 30, 60, 5, 1, 1, 0},
        {kMax, 2, 1, 0, 0, 0, 240, 2, 1, 0, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.work);
        sim.settings.setInteger("stpWorkDuration", r.work);
        sim.settings.setInteger("stpBreakDuration", r.brk);
        sim.settings.setInteger("dropdownOsdLocation", r.osd);
        sim.settings.setInteger("radWhenHigh", r.whenHigh);
        sim.settings.setInteger("lblSnooze", r.snooze);
        sim.settings.setInteger("lblHide", r.hide);
        sim::SimWindowState& w = open();
        EXPECT_EQ(w.outlet("stpWorkDurationE").integerValue(), r.shownWork);
        EXPECT_EQ(w.outlet("lblWorkDuration").integerValue(), r.shownWork);
        EXPECT_EQ(w.outlet("stpBreakDurationEle").integerValue(), r.shownBreak);
        EXPECT_EQ(w.outlet("lblBreakDuration").integerValue(), r.shownBreak);
        EXPECT_EQ(w.outlet("dropdownOsdLocation").selectedIndex(), r.shownOsd);
        EXPECT_EQ(w.outlet("radWhenHigh").state(), r.shownWhenHigh);
        EXPECT_EQ(w.outlet("radAlways").state(), 1 - r.shownWhenHigh);
        EXPECT_EQ(w.outlet("lblSnooze").state(), r.shownSnooze);
        EXPECT_EQ(w.outlet("lblHide").state(), r.shownHide);
    }
    sim.settings.setString("txtNewPwd", "Secret pw");
    sim.settings.writes.clear();
    sim::SimWindowState& w = open();
    EXPECT_EQ(w.title, "Tamsel Preferences 2.6");
    EXPECT_EQ(w.outlet("txtNewPwd").text(), "Secret pw");
    EXPECT_EQ(w.outlet("txtConfirmPwd").text(), "Secret pw");
    EXPECT_EQ(w.outlet("dropdownOsdLocation").items(),
              (std::vector<std::string>{"Top Left", "Top Center", "Top Right", "Bottom Left",
                                        "Bottom Center", "Bottom Right"}));
    EXPECT_FALSE(w.outlet("btnCopyright").isHidden());
    EXPECT_TRUE(sim.settings.writes.empty());
    // Clicking the radio button that is on leaves it on.
    w.perform("radGroupClicked:", "radAlways");
    EXPECT_EQ(w.outlet("radAlways").state(), 1);
    w.perform("radGroupClicked:", "radWhenHigh");
    EXPECT_EQ(w.outlet("radWhenHigh").state(), 1);
    EXPECT_EQ(w.outlet("radAlways").state(), 0);
}

TEST_F(Preferences, CloseAndARefusedSaveWriteNothing) {
    startEngine();
    SCL::progress = 100;
    sim::SimWindowState& w = open();
    editEverything(w);
    EXPECT_EQ(w.outlet("lblWorkDuration").integerValue(), 25);
    EXPECT_EQ(w.outlet("lblBreakDuration").integerValue(), 5);
    setPasswords(w, "secret", "Secret");
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    w.perform("btnSaveClicked:");
    ASSERT_EQ(sim.dialogs.shown.size(), 1u);
    EXPECT_EQ(sim.dialogs.shown[0].messageText, "");
    EXPECT_EQ(sim.dialogs.shown[0].informativeText,
              "Passwords don't match. Please correct them and try again.");
    EXPECT_FALSE(w.closed);
    EXPECT_EQ(w.outlet("txtConfirmPwd").text(), "Secret");
    w.perform("btnCloseClicked:");
    EXPECT_TRUE(w.closed);
    EXPECT_TRUE(sim.settings.writes.empty());
    EXPECT_EQ(SCL::progress, 100);
    sim::SimWindowState& again = open();
    EXPECT_EQ(again.outlet("stpWorkDurationE").integerValue(), 30);
    EXPECT_EQ(again.outlet("txtNewPwd").text(), "");
}

TEST_F(Preferences, SaveWritesEveryKeyAndTakesEffectAtOnce) {
    const double t0 = sim.now();
    sim.idle.activeBetween(t0, t0 + 100);
    MainWindow& engine = startEngine();
    sim.advance(107);  // the idle tick at 105 only turned the flag
    ASSERT_EQ(SCL::progress, 100);
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
    sim.dialogs.typeAndConfirm("pw");
    EXPECT_TRUE(SCL::isPwdOk()) << "the child lock follows the saved password";

    sim.settings.writes.clear();
    open().perform("btnSaveClicked:");
    EXPECT_EQ(sim.settings.writes.size(), 13u) << "unchanged keys are written too";
    EXPECT_EQ(sim.settings.writes[4], "txtNewPwd=pw");
}

TEST_F(Preferences, SaveDuringABreakChangesTheRunningBreaksLength) {
    const double start = workUntilBreak(1, 2, 45);
    sim.advance(30);
    sim::SimWindowState& w = open();
    setStepper(w, "stpBreakDurationEle", "stpBreakDuration:", 1);
    w.perform("btnSaveClicked:");
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(label().text(), "") << "the paused tick draws nothing";
    sim.advance(30);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_DOUBLE_EQ(sim.now() - start, 60.0);
}

}  // namespace tamsel::test
