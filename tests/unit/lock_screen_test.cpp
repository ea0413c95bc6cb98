// The break windows: set-up, placement, display modes, progress, snooze and
// closing, alone and as the engine drives them.

#include <memory>
#include <vector>

#include "common/nibs.h"
#include "fixture.h"
#include "lockscreen/lock_screen.h"

namespace tamsel::test {

const std::vector<Rect> kTwoScreens = {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}};

class BreakWindow : public SimTest {
protected:
    void SetUp() override {
        storeFirstLaunchSettings();
        SCL::lockDur = 120;
    }

    // A break window as the engine makes one, without the engine.
    sim::SimWindowState& show(Rect screen = {0, 0, 1440, 900}, bool first = true) {
        SCL::activityTimerPause = true;
        auto controller = std::make_unique<LockScreen>();
        controller->screenFrame = screen;
        controller->isFirst = first;
        controller->showWindow();
        controllers_.push_back(std::move(controller));
        return *sim.windows.last("LockScreen");
    }

    // The engine's break: work one minute, then a break of this length.
    double breakOf(long long minutes, std::vector<Rect> screens = {{0, 0, 1440, 900}}) {
        sim.screens.list = std::move(screens);
        return workUntilBreak(1, minutes, 45);
    }

    // The next break, after one more minute of work: whether it may be snoozed.
    bool nextBreakOffersSnooze() {
        sim.idle.activeFor(10000);
        runUntilBreak();
        return sim.windows.named("LockScreen").back()->outlet("closeBtn").isEnabled();
    }

    // A stored setting; -1: none stored.
    void store(const char* key, long long value) {
        if (value < 0)
            sim.settings.values.erase(key);
        else
            sim.settings.setInteger(key, value);
    }

    static bool dimmed(sim::SimWindowState& w) {
        return w.background == Color{0, 0, 0, 0.6} && !w.outlet("progressBar").isHidden() &&
               !w.outlet("lblTSText").isHidden();
    }
    static bool seeThrough(sim::SimWindowState& w) {
        return w.background == Color{0, 0, 0, 0.1} && w.outlet("progressBar").isHidden() &&
               w.outlet("closeBtn").isHidden() && w.outlet("lblTSText").isHidden();
    }

    std::vector<std::unique_ptr<LockScreen>> controllers_;
};

TEST_F(BreakWindow, FiveMinuteBreakFromFirstLookToClose) {
    const double start = breakOf(5);
    sim::SimWindowState& w = breakWindow();
    EXPECT_EQ(w.title, "Tamsel break");
    EXPECT_EQ(w.styleMask, 0x4002u);
    EXPECT_FALSE(w.opaque);
    EXPECT_EQ(w.background, (Color{0, 0, 0, 0.1}));
    EXPECT_EQ(w.levels, (std::vector{WindowLevel::Floating, WindowLevel::Maximum}));
    EXPECT_TRUE(w.outlet("closeBtn").isEnabled());
    EXPECT_EQ(w.outlet("closeBtn").text(), nib::kSnoozeTitle);
    EXPECT_EQ(w.frame, (Rect{0, 0, 1440, 1000})) << "in place before it first shows";
    sim.advance(0.1);
    EXPECT_TRUE(dimmed(w));
    // The first window pulls the application and itself to the front twice
    // a second.
    const int activations = sim.app.activations;
    sim.advance(150);
    EXPECT_EQ(w.keyAndFrontCount, 300);
    EXPECT_EQ(sim.app.activations - activations, 300);
    EXPECT_EQ(w.outlet("lockProgress").doubleValue(), 50);
    sim.advance(149.5);
    EXPECT_FALSE(w.closed);
    EXPECT_TRUE(SCL::activityTimerPause);
    sim.advance(0.5);
    EXPECT_TRUE(w.closed) << "closed in the very tick the countdown ends the break";
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 0) << "an undisturbed break is no snooze";
    EXPECT_EQ(SCL::lockTicks, 1001);
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 300 - 6000);
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), start + 300 - 6000);
    EXPECT_EQ(sim.timers.validCount(), 1) << "only the activity timer is left";
    sim.idle.activeFor(100);
    sim.advance(15);
    EXPECT_EQ(SCL::progress, 10) << "the monitor counts the user's return";
}

TEST_F(BreakWindow, ShowsWholePercentsOfTheBreakAndClosesAtItsEnd) {
    sim::SimWindowState& w = show();
    const std::pair<int, double> table[] = {{0, 0}, {1, 0}, {2, 1}, {119, 99}, {120, 100}};
    for (auto [ticks, percent] : table) {
        SCL::lockTicks = ticks;
        sim.advance(0.5);
        EXPECT_EQ(w.outlet("lockProgress").doubleValue(), percent) << ticks << " of 120";
        EXPECT_EQ(w.closed, ticks == 120) << ticks << " of 120";
    }
}

TEST_F(BreakWindow, TheSnoozeButtonFollowsTheSettingAndTheThreeHundredSecondLimit) {
    const std::pair<long long, bool> table[] = {{0, true}, {-1, true}, {2, false}};
    for (auto [stored, hidden] : table) {
        store("lblSnooze", stored);
        EXPECT_EQ(show().outlet("closeBtn").isHidden(), hidden) << stored;
    }
    sim::SimWindowState& snoozed = show();
    snoozed.perform("closeButton:", "closeBtn");
    EXPECT_TRUE(snoozed.closed);
    EXPECT_EQ(SCL::lockTicks, 1001);
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), sim.now());
    SCL::lockTicks = 0;  // as the next break starts
    sim.advance(299);
    sim::SimWindowState& soon = show();
    EXPECT_FALSE(soon.outlet("closeBtn").isEnabled());
    EXPECT_EQ(soon.outlet("closeBtn").text(), "Snooze disabled due to previous use");
    // Neither display mode gives the button back its use.
    sim.advance(0.1);
    soon.mouseUp(2);
    soon.mouseUp(2);
    EXPECT_FALSE(soon.outlet("closeBtn").isEnabled());
    sim.advance(0.9);
    EXPECT_TRUE(show().outlet("closeBtn").isEnabled());
}

TEST_F(BreakWindow, OnlyLblHideOneStartsSeeThroughAndOnlyAPrimaryDoubleClickSwitches) {
    for (long long lblHide : {1, 0, 2, -1}) {
        store("lblHide", lblHide);
        sim::SimWindowState& w = show();
        sim.advance(0.1);
        EXPECT_EQ(seeThrough(w), lblHide == 1) << lblHide;
        EXPECT_EQ(dimmed(w), lblHide != 1) << lblHide;
    }
    sim::SimWindowState& w = show();
    sim::SimWindowState& other = show({1440, 0, 1920, 1080}, false);
    sim.advance(0.1);
    w.mouseUp(1);
    w.mouseUp(3);
    w.mouseUp(2, 1);
    EXPECT_TRUE(dimmed(w));
    w.mouseUp(2);
    EXPECT_TRUE(seeThrough(w));
    EXPECT_TRUE(dimmed(other)) << "each window switches on its own";
    // Dimmed again with snoozing off: the bar and text come back, the button not.
    sim.settings.setInteger("lblSnooze", 0);
    w.mouseUp(2);
    EXPECT_TRUE(dimmed(w));
    EXPECT_TRUE(w.outlet("closeBtn").isHidden());
}

// A break that ran to its end lifts both limits, whichever window closes
// last: the first to close writes the marker that the other must not take
// for a snooze.
TEST_F(BreakWindow, ABreakRunToItsEndOnTwoScreensLiftsTheLimits) {
    breakOf(2, kTwoScreens);
    sim::SimWindowState& first = breakWindow(0);
    sim::SimWindowState& second = breakWindow(1);
    EXPECT_EQ(second.styleMask, 2u);
    sim.advance(10);
    EXPECT_EQ(second.frame, (Rect{1440, 0, 1920, 1180}));
    EXPECT_EQ(first.keyAndFrontCount, 20);
    EXPECT_EQ(second.keyAndFrontCount, 0) << "only the first window takes the focus";
    EXPECT_EQ(second.outlet("lockProgress").doubleValue(), 8);
    sim.advance(110.5);
    ASSERT_EQ(openBreakWindows(), 0u);
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), sim.now() - 0.5 - 6000);
    EXPECT_TRUE(nextBreakOffersSnooze());
}

TEST_F(BreakWindow, ASnoozeOnEitherScreenClosesBothAndKeepsTheLimits) {
    const double start = breakOf(2, kTwoScreens);
    const double skipBefore = SCL::lastSkipDate();
    sim.advance(30);
    breakWindow(1).perform("closeButton:", "closeBtn");
    EXPECT_FALSE(breakWindow(0).closed);
    sim.advance(0.5);
    EXPECT_TRUE(breakWindow(0).closed) << "at its next focus tick";
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 30.5);
    EXPECT_EQ(SCL::lastSkipDate(), skipBefore);
    sim.advance(0.5);
    EXPECT_EQ(SCL::progress, 45 - 60);
    EXPECT_FALSE(nextBreakOffersSnooze());
}

// From 17 minutes on the count passes the plain marker: the marker moves up.
TEST_F(BreakWindow, ALongBreakRunsOutUnsnoozedAndItsSnoozeEndsItAtOnce) {
    const double start = breakOf(17, kTwoScreens);
    sim.advance(1019);
    EXPECT_TRUE(SCL::activityTimerPause);
    sim.advance(1);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 1020 - 6000);

    sim.idle.activeFor(10000);
    runUntilBreak();
    sim.advance(500);
    breakWindow(2).perform("closeButton:", "closeBtn");
    EXPECT_EQ(SCL::lockTicks, 1020 + 1001);
    sim.advance(0.5);
    EXPECT_TRUE(breakWindow(3).closed);
    sim.advance(0.5);
    EXPECT_EQ(SCL::progress, 45 - 60);
}

// Whether a break was snoozed is decided by the user, not by the length in
// force when it ends.
TEST_F(BreakWindow, AShorterBreakSavedLateInALongOneEndsItUnsnoozed) {
    breakOf(20);
    sim.advance(1100);
    sim.settings.setInteger("stpBreakDuration", 2);
    SCL::mainWindow->placeWindow();
    sim.advance(1);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 0) << "a completed break, not a snooze";
    EXPECT_TRUE(nextBreakOffersSnooze());
}

TEST_F(BreakWindow, ALongerBreakSavedAfterTheCountdownEndedDoesNotKeepTheWindowsUp) {
    breakOf(16, kTwoScreens);
    sim.advance(100);
    // Back from a sleep: the focus ticks come first, then the late
    // countdown tick ends the break at count 961.
    sim.block(3600);
    sim.advance(0);
    ASSERT_EQ(openBreakWindows(), 2u);
    sim.settings.setInteger("stpBreakDuration", 55);
    SCL::mainWindow->placeWindow();
    sim.advance(0.5);
    EXPECT_EQ(openBreakWindows(), 0u);
}

TEST_F(BreakWindow, BreaksOutsideTheContractStillEnd) {
    breakOf(2);
    SCL::lockDur = 0;
    sim.advance(0.5);
    EXPECT_TRUE(breakWindow().closed);
    EXPECT_EQ(breakWindow().outlet("lockProgress").doubleValue(), 100) << "no division by zero";
    sim.advance(0.5);
    EXPECT_FALSE(SCL::activityTimerPause);

    sim.advance(4);  // back on the activity ticks' beat
    sim.screens.list = {};
    SCL::mainWindow->placeWindow();
    sim.idle.activeFor(10000);
    runUntilBreak();
    EXPECT_EQ(sim.windows.named("LockScreen").size(), 2u) << "a window even with no screen";
    sim.advance(119);
    EXPECT_TRUE(SCL::activityTimerPause);
    sim.advance(1);
    EXPECT_FALSE(SCL::activityTimerPause);
}

}  // namespace tamsel::test
