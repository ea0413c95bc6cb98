// The break windows: set-up, placement, display modes, progress, snooze and
// closing, alone and as the engine drives them.

#include <memory>
#include <optional>
#include <vector>

#include "common/nibs.h"
#include "fixture.h"
#include "lockscreen/lock_screen.h"

namespace tamsel::test {

class BreakWindow : public SimTest {
protected:
    void SetUp() override {
        storeFirstLaunchSettings();
        SCL::lockDur = 120;
    }

    // A break window as the engine makes one, without the engine.
    sim::SimWindowState& show(Rect screen = {0, 0, 1440, 900}, bool first = true) {
        // The engine pauses the monitor before it shows a break window.
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
        storeFirstLaunchSettings(1, minutes);
        sim.screens.list = std::move(screens);
        sim.idle.activeFor(45);
        startEngine();
        return runUntilBreak();
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

// ---- a whole break ----------------------------------------------------------------

TEST_F(BreakWindow, FiveMinuteBreakFromFirstLookToClose) {
    const double start = breakOf(5);
    sim::SimWindowState& w = breakWindow();
    EXPECT_EQ(w.title, "Tamsel break");
    EXPECT_EQ(w.styleMask, 0x4002u);
    EXPECT_FALSE(w.opaque);
    EXPECT_EQ(w.background, (Color{0, 0, 0, 0.1}));
    EXPECT_EQ(w.levels, (std::vector{WindowLevel::Floating, WindowLevel::Maximum}));
    EXPECT_FALSE(w.outlet("closeBtn").isHidden());
    EXPECT_TRUE(w.outlet("closeBtn").isEnabled());
    EXPECT_EQ(w.outlet("closeBtn").text(), nib::kSnoozeTitle);
    // Already where it belongs when it first shows, not at its natural size.
    EXPECT_EQ(w.frame, (Rect{0, 0, 1440, 1000}));

    sim.advance(0.1);
    EXPECT_EQ(w.frame, (Rect{0, 0, 1440, 1000}));
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
    EXPECT_EQ(w.outlet("lockProgress").doubleValue(), 99);
    sim.advance(0.5);
    EXPECT_TRUE(w.closed) << "closed in the focus tick of the break's last second";
    EXPECT_EQ(w.outlet("lockProgress").doubleValue(), 100);
    EXPECT_EQ(SCL::lockTicks, 1001);
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 300 - 6000);
    EXPECT_DOUBLE_EQ(SCL::lastSkipDate(), start + 300 - 6000);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_EQ(sim.timers.validCount(), 1) << "only the activity timer is left";
}

TEST_F(BreakWindow, TwoScreensGetTwoWindowsOnlyTheFirstTakesTheFocus) {
    breakOf(2, {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}});
    sim::SimWindowState& first = breakWindow(0);
    sim::SimWindowState& second = breakWindow(1);
    EXPECT_EQ(first.styleMask, 0x4002u);
    EXPECT_EQ(second.styleMask, 2u);
    EXPECT_EQ(second.levels, first.levels);
    EXPECT_EQ(second.background, first.background);
    sim.advance(10);
    EXPECT_EQ(first.frame, (Rect{0, 0, 1440, 1000}));
    EXPECT_EQ(second.frame, (Rect{1440, 0, 1920, 1180}));
    EXPECT_EQ(first.keyAndFrontCount, 20);
    EXPECT_EQ(second.keyAndFrontCount, 0);
    EXPECT_EQ(second.outlet("lockProgress").doubleValue(), 8);
}

// ---- the snooze button ------------------------------------------------------------

TEST_F(BreakWindow, SnoozeButtonIsHiddenWhenSnoozingIsOff) {
    sim.settings.setInteger("lblSnooze", 0);
    sim::SimWindowState& off = show();
    EXPECT_TRUE(off.outlet("closeBtn").isHidden());
    sim.settings.values.erase("lblSnooze");
    EXPECT_TRUE(show().outlet("closeBtn").isHidden()) << "a missing key reads 0";
    sim.settings.setInteger("lblSnooze", 2);
    EXPECT_FALSE(show().outlet("closeBtn").isHidden());
}

TEST_F(BreakWindow, ASnoozeDisablesTheNextWindowForThreeHundredSeconds) {
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

    sim.advance(1);
    sim::SimWindowState& later = show();
    EXPECT_TRUE(later.outlet("closeBtn").isEnabled());
    EXPECT_EQ(later.outlet("closeBtn").text(), nib::kSnoozeTitle);
}

TEST_F(BreakWindow, AHiddenButtonStillTakesTheSnoozeLimit) {
    sim.settings.setInteger("lblSnooze", 0);
    SCL::lastSnoozeDate() = sim.now() - 10;
    sim::SimWindowState& w = show();
    EXPECT_TRUE(w.outlet("closeBtn").isHidden());
    EXPECT_FALSE(w.outlet("closeBtn").isEnabled());
    EXPECT_EQ(w.outlet("closeBtn").text(), "Snooze disabled due to previous use");
    // Neither display mode gives the button back its title or its use.
    sim.settings.setInteger("lblSnooze", 1);
    sim.advance(0.1);
    w.mouseUp(2);
    w.mouseUp(2);
    EXPECT_FALSE(w.outlet("closeBtn").isHidden());
    EXPECT_FALSE(w.outlet("closeBtn").isEnabled());
}

// ---- display modes ----------------------------------------------------------------

TEST_F(BreakWindow, OnlyLblHideOneStartsSeeThrough) {
    struct Case {
        std::optional<long long> lblHide;
        bool seeThrough;
    };
    for (Case c : {Case{1, true}, Case{0, false}, Case{2, false}, Case{std::nullopt, false}}) {
        if (c.lblHide)
            sim.settings.setInteger("lblHide", *c.lblHide);
        else
            sim.settings.values.erase("lblHide");
        sim::SimWindowState& w = show();
        sim.advance(0.1);
        EXPECT_EQ(seeThrough(w), c.seeThrough) << c.lblHide.value_or(-1);
        EXPECT_EQ(dimmed(w), !c.seeThrough) << c.lblHide.value_or(-1);
    }
}

TEST_F(BreakWindow, OnlyAPrimaryDoubleClickSwitchesTheMode) {
    sim::SimWindowState& w = show();
    sim::SimWindowState& other = show({1440, 0, 1920, 1080}, false);
    sim.advance(0.1);
    ASSERT_TRUE(dimmed(w));
    w.mouseUp(1);
    w.mouseUp(3);
    w.mouseUp(2, 1);
    EXPECT_TRUE(dimmed(w));
    w.mouseUp(2);
    EXPECT_TRUE(seeThrough(w));
    EXPECT_TRUE(dimmed(other)) << "each window switches on its own";
    w.mouseUp(2);
    EXPECT_TRUE(dimmed(w));
    EXPECT_FALSE(w.outlet("closeBtn").isHidden());
}

TEST_F(BreakWindow, SeeThroughKeepsCountingAndDimmingBringsNoButtonWhenSnoozeIsOff) {
    sim.settings.setInteger("lblHide", 1);
    sim.settings.setInteger("lblSnooze", 0);
    sim::SimWindowState& w = show();
    sim.advance(0.1);
    ASSERT_TRUE(seeThrough(w));
    SCL::lockTicks = 60;
    sim.advance(0.5);
    EXPECT_EQ(w.outlet("lockProgress").doubleValue(), 50);
    w.mouseUp(2);
    EXPECT_TRUE(dimmed(w));
    EXPECT_TRUE(w.outlet("closeBtn").isHidden());
}

// ---- progress and the end ---------------------------------------------------------

TEST_F(BreakWindow, ShowsWholePercentsOfTheBreakAndClosesAtItsEnd) {
    sim::SimWindowState& w = show();
    const std::vector<std::pair<std::int64_t, double>> table = {
        {0, 0}, {1, 0}, {2, 1}, {119, 99}, {120, 100}};
    for (auto [ticks, percent] : table) {
        SCL::lockTicks = ticks;
        sim.advance(0.5);
        EXPECT_EQ(w.outlet("lockProgress").doubleValue(), percent) << ticks << " of 120";
        EXPECT_EQ(w.closed, ticks == 120) << ticks << " of 120";
    }
    EXPECT_EQ(SCL::lockTicks, 1001);
}

TEST_F(BreakWindow, ASnoozeOnTheSecondScreenKeepsTheSnoozeAndSkipLimits) {
    breakOf(2, {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}});
    const double skipBefore = SCL::lastSkipDate();
    sim.advance(30);
    breakWindow(1).perform("closeButton:", "closeBtn");
    sim.advance(2);
    ASSERT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::lastSkipDate(), skipBefore);
    // The next break, within 300 s: its snooze is refused.
    sim.idle.activeFor(200);
    sim.advance(120);
    ASSERT_TRUE(SCL::activityTimerPause);
    EXPECT_FALSE(breakWindow(2).outlet("closeBtn").isEnabled());
    EXPECT_EQ(breakWindow(2).outlet("closeBtn").text(), "Snooze disabled due to previous use");
}

TEST_F(BreakWindow, ALongerBreakSavedAfterTheCountdownEndedDoesNotKeepTheWindowsUp) {
    breakOf(16, {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}});
    sim.advance(100);
    // Back from a sleep: the windows' focus ticks come first, then the late
    // countdown tick ends the break at count 961.
    sim.block(3600);
    sim.advance(0);
    ASSERT_FALSE(SCL::activityTimerPause);
    ASSERT_EQ(openBreakWindows(), 2u);
    // A break length saved before the windows' next focus tick.
    sim.settings.setInteger("stpBreakDuration", 55);
    SCL::mainWindow->placeWindow();
    ASSERT_GT(SCL::lockDur, SCL::lockTicks);
    sim.advance(0.5);
    EXPECT_EQ(openBreakWindows(), 0u);
}

TEST_F(BreakWindow, ASnoozeOnOneOfTwoWindowsClosesTheOtherAtItsNextFocusTick) {
    const double start = breakOf(2, {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}});
    sim.advance(30);
    breakWindow(1).perform("closeButton:", "closeBtn");
    EXPECT_TRUE(breakWindow(1).closed);
    EXPECT_FALSE(breakWindow(0).closed);
    sim.advance(0.5);
    EXPECT_TRUE(breakWindow(0).closed);
    // A snooze on either screen is a snooze: the limits are not lifted.
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 30.5);
    sim.advance(0.5);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 45 - 60);
}

// ---- long breaks ------------------------------------------------------------------

TEST_F(BreakWindow, ABreakOfSeventeenMinutesThatRunsOutIsNotASnooze) {
    const double start = breakOf(17);
    ASSERT_EQ(SCL::lockDur, 1020);
    sim.advance(1019);
    EXPECT_TRUE(SCL::activityTimerPause) << "counts past 1000 without ending";
    EXPECT_FALSE(breakWindow().closed);
    sim.advance(1);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_TRUE(breakWindow().closed);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_DOUBLE_EQ(SCL::lastSnoozeDate(), start + 1020 - 6000);
    sim.advance(1);
    EXPECT_EQ(SCL::progress, 0);
}

TEST_F(BreakWindow, ASnoozeOfALongBreakEndsItAtOnceOnEveryWindow) {
    breakOf(17, {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}});
    sim.advance(500);
    breakWindow(0).perform("closeButton:", "closeBtn");
    EXPECT_EQ(SCL::lockTicks, 1020 + 1001);
    sim.advance(0.5);
    EXPECT_TRUE(breakWindow(1).closed);
    sim.advance(0.5);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 45 - 60) << "the long break counts as snoozed";
}

TEST_F(BreakWindow, ASixteenMinuteBreakKeepsThePlainMarker) {
    breakOf(16);
    ASSERT_EQ(SCL::lockDur, 960);
    sim.advance(900);
    breakWindow().perform("closeButton:", "closeBtn");
    EXPECT_EQ(SCL::lockTicks, 1001);
    sim.advance(1);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 45 - 60);
}

// ---- breaks outside the contract --------------------------------------------------

TEST_F(BreakWindow, AZeroLengthBreakEndsAtOnceWithoutDividingByZero) {
    breakOf(2);
    SCL::lockDur = 0;
    sim.advance(0.5);
    EXPECT_TRUE(breakWindow().closed);
    EXPECT_EQ(breakWindow().outlet("lockProgress").doubleValue(), 100);
    sim.advance(0.5);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_FALSE(SCL::lockTimer->isValid());
}

TEST_F(BreakWindow, ABreakWithNoScreenStillCountsDownAndEnds) {
    breakOf(2, {});
    EXPECT_EQ(sim.windows.named("LockScreen").size(), 1u);
    sim.advance(119);
    EXPECT_TRUE(SCL::activityTimerPause);
    sim.advance(1);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_TRUE(breakWindow().closed);
    EXPECT_EQ(SCL::progress, 0);
}

}  // namespace tamsel::test
