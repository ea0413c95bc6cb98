// The break windows: placement, display modes, progress, snooze and closing.

#include "lockscreen/lock_screen.h"
#include "fixture.h"

namespace tamsel::test {

const std::vector<Rect> kTwoScreens = {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}};

class BreakWindow : public SimTest {
protected:
    // A break window as the engine makes one, without the engine.
    sim::SimWindowState& show(Rect screen = {0, 0, 1440, 900}, bool first = true) {
        SCL::activityTimerPause = true;
        SCL::lockDur = 120;
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
        return sim.windows.last("LockScreen")->outlet("closeBtn").isEnabled();
    }
    static bool dimmed(sim::SimWindowState& w) {
        return w.background == Color{0, 0, 0, 0.6} && !w.outlet("progressBar").isHidden();
    }
    static bool seeThrough(sim::SimWindowState& w) {
        return w.background == Color{0, 0, 0, 0.1} && w.outlet("progressBar").isHidden() &&
               w.outlet("closeBtn").isHidden() && w.outlet("lblTSText").isHidden();
    }

    std::vector<std::unique_ptr<LockScreen>> controllers_;
};

TEST_F(BreakWindow, TheSnoozeButtonFollowsTheSettingAndTheThreeHundredSecondLimit) {
    storeFirstLaunchSettings();
    for (auto [stored, hidden] : {std::pair{0, true}, std::pair{2, false}}) {
        sim.settings.setInteger("lblSnooze", stored);
        EXPECT_EQ(show().outlet("closeBtn").isHidden(), hidden) << stored;
    }
    sim::SimWindowState& snoozed = show();
    snoozed.perform("closeButton:", "closeBtn");
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), sim.now());
    SCL::lockTicks = 0;  // as the next break starts
    sim.advance(299);
    sim::SimWindowState& soon = show();
    EXPECT_FALSE(soon.outlet("closeBtn").isEnabled());
    EXPECT_EQ(soon.outlet("closeBtn").text(), "Snooze disabled due to previous use");
    sim.advance(1);
    EXPECT_TRUE(show().outlet("closeBtn").isEnabled());
}

TEST_F(BreakWindow, OnlyLblHideOneStartsSeeThroughAndOnlyAPrimaryDoubleClickSwitches) {
    storeFirstLaunchSettings();
    sim.settings.setInteger("lblHide", 2);
    sim::SimWindowState& w = show();
    sim::SimWindowState& other = show(kTwoScreens[1], false);
    sim.advance(0.1);
    w.mouseUp(1);
    w.mouseUp(3);
    w.mouseUp(2, 1);
    EXPECT_TRUE(dimmed(w));
    w.mouseUp(2);
    EXPECT_TRUE(seeThrough(w));
    EXPECT_TRUE(dimmed(other)) << "each window switches on its own";
    sim.settings.setInteger("lblHide", 1);
    sim::SimWindowState& hidden = show();
    sim.advance(0.1);
    EXPECT_TRUE(seeThrough(hidden));
}

// The first window to close writes the marker that the other must not take
// for a snooze.
TEST_F(BreakWindow, ABreakRunToItsEndOnTwoScreensLiftsTheLimits) {
    const double start = breakOf(2, kTwoScreens);
    sim::SimWindowState& first = breakWindow(0);
    sim::SimWindowState& second = breakWindow(1);
    sim.advance(60);
    EXPECT_TRUE(dimmed(first));
    EXPECT_EQ(first.keyAndFrontCount, 120) << "pulled to the front twice a second";
    EXPECT_EQ(second.keyAndFrontCount, 0) << "only the first window takes the focus";
    EXPECT_EQ(second.outlet("lockProgress").doubleValue(), 50);
    sim.advance(60.5);
    ASSERT_EQ(openBreakWindows(), 0u);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 0) << "an undisturbed break is no snooze";
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), start + 120 - 6000);
    EXPECT_EQ(sim.timers.validCount(), 1) << "only the activity timer is left";
    EXPECT_TRUE(nextBreakOffersSnooze());
}

TEST_F(BreakWindow, ASnoozeOnEitherScreenClosesBothAndKeepsTheLimits) {
    const double start = breakOf(2, kTwoScreens);
    const double skipBefore = SCL::lastSkipDate();
    sim.advance(30);
    breakWindow(1).perform("closeButton:", "closeBtn");
    sim.advance(0.5);
    EXPECT_TRUE(breakWindow(0).closed) << "at its next focus tick";
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 30.5);
    EXPECT_EQ(SCL::lastSkipDate(), skipBefore);
    sim.advance(0.5);
    EXPECT_EQ(SCL::progress, 45 - 60) << "about a minute of work to the next break";
    EXPECT_FALSE(nextBreakOffersSnooze());
}

// From 17 minutes on the count passes the plain marker: the marker moves up.
TEST_F(BreakWindow, ALongBreakRunsOutUnsnoozedAndItsSnoozeEndsItAtOnce) {
    const double start = breakOf(17);
    sim.advance(1020);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 1020 - 6000);
    sim.idle.activeFor(10000);
    runUntilBreak();
    sim.advance(500);
    breakWindow(1).perform("closeButton:", "closeBtn");
    sim.advance(1);
    EXPECT_EQ(SCL::progress, 45 - 60);
}

}  // namespace tamsel::test
