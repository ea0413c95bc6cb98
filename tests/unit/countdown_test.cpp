// The one-second break countdown: the end of a break, late ticks, and the
// short reprieve after a snooze.

#include "fixture.h"

namespace tamsel::test {

class Countdown : public SimTest {
protected:
    // Starts the engine with the user at work until the break falls due
    // (t0 + workDur under unbroken activity); returns the break's start.
    double workUntilBreak(long long workMinutes, long long breakMinutes) {
        storeFirstLaunchSettings(workMinutes, breakMinutes);
        const double t0 = sim.now(), workDur = static_cast<double>(workMinutes * 45);
        sim.idle.activeBetween(t0, t0 + workDur);
        startEngine();
        const double start = runUntilBreak();
        EXPECT_DOUBLE_EQ(start - t0, workDur);
        return start;
    }

    // A countdown tick that comes `late` seconds after the break began.
    void firstTickAfter(double late) {
        workUntilBreak(1, 2);
        sim.block(late);
        sim.advance(0);
    }
};

TEST_F(Countdown, FiveMinuteBreakEndsOnItsThreeHundredthTick) {
    const double start = workUntilBreak(30, 5);
    ASSERT_EQ(SCL::lockDur, 300);
    sim.advance(299.5);
    EXPECT_EQ(SCL::lockTicks, 299);
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(openBreakWindows(), 1u);

    sim.advance(0.5);
    EXPECT_DOUBLE_EQ(sim.now() - start, 300.0);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_FALSE(SCL::lockTimer->isValid());
    EXPECT_EQ(SCL::progress, 0) << "an undisturbed break is not a snooze";
    EXPECT_EQ(openBreakWindows(), 0u) << "the window saw the end in the same instant";

    // The monitor runs again and counts the user's return.
    sim.idle.activeFor(100);
    sim.advance(15);
    EXPECT_EQ(SCL::progress, 10);
}

TEST_F(Countdown, ATickMoreThanThreeSecondsLateEndsTheBreakAtCountOne) {
    firstTickAfter(3.001);
    EXPECT_EQ(SCL::lockTicks, SCL::lockDur + 1);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_GE(SCL::progress, 0) << "a late end is not a snooze";
    sim.advance(0.5);
    EXPECT_EQ(openBreakWindows(), 0u);
}

TEST_F(Countdown, ATickExactlyThreeSecondsLateIsStillOnTime) {
    firstTickAfter(3.0);
    EXPECT_EQ(SCL::lockTicks, 1);
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(openBreakWindows(), 1u);
}

TEST_F(Countdown, AMachineAsleepMidBreakWakesToOneLateFiringPerTimer) {
    workUntilBreak(1, 2);
    sim.advance(30);
    ASSERT_EQ(SCL::lockTicks, 30);
    const auto firings = sim.timers.firings;

    sim.block(600);
    sim.advance(0);
    // Focus, countdown and activity timer each fire once, not once per
    // interval missed.
    EXPECT_EQ(sim.timers.firings - firings, 3u);
    EXPECT_EQ(SCL::lockTicks, 121);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 0);
    sim.advance(0.5);
    EXPECT_EQ(openBreakWindows(), 0u);
}

TEST_F(Countdown, SnoozeAtCount120LeavesOneMinuteOfWorkToDo) {
    storeFirstLaunchSettings(30, 5);
    sim.idle.activeFor(100000);  // the user works straight through
    startEngine();
    const double start = runUntilBreak();
    sim.advance(120);
    ASSERT_EQ(SCL::lockTicks, 120);

    breakWindow().perform("closeButton:", "closeBtn");
    EXPECT_EQ(SCL::lockTicks, 1001);
    EXPECT_TRUE(SCL::activityTimerPause) << "the countdown ends the break, not the window";
    sim.advance(1);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::progress, 1290);

    // Twelve counting ticks, at 125 .. 180 s into the break.
    sim.advance(58);
    EXPECT_EQ(SCL::progress, 1345);
    EXPECT_FALSE(SCL::activityTimerPause);
    sim.advance(1);
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_DOUBLE_EQ(*SCL::lockTimerDt - start, 180.0);
}

TEST_F(Countdown, AfterAnIdleSnoozeTheFirstActiveTickOnlyTurnsTheFlag) {
    const double start = workUntilBreak(30, 5);
    sim.idle.activeBetween(start + 122, start + 10000);  // back at work after the snooze
    sim.advance(120);
    breakWindow().perform("closeButton:", "closeBtn");
    sim.advance(1);
    ASSERT_EQ(SCL::progress, 1290);
    sim.advance(63);  // 125 only turns the flag; 130 .. 180 add 55
    EXPECT_EQ(SCL::progress, 1345);
    EXPECT_FALSE(SCL::activityTimerPause);
    sim.advance(1);
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_DOUBLE_EQ(*SCL::lockTimerDt - start, 185.0);
}

TEST_F(Countdown, OneMinutePeriodSnoozedGoesBelowZeroAndAnIdleTickLiftsIt) {
    const double start = workUntilBreak(1, 2);
    sim.advance(10);
    breakWindow().perform("closeButton:", "closeBtn");
    sim.advance(1);
    EXPECT_EQ(SCL::progress, -15);
    sim.advance(4);  // an idle tick after the flag turned: -25, floored at 0
    EXPECT_DOUBLE_EQ(*SCL::activityTimerDt - start, 15.0);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_EQ(label().text(), bar(1));
}

TEST_F(Countdown, OneMinutePeriodSnoozedCountsUpFromMinusFifteen) {
    storeFirstLaunchSettings(1, 2);
    sim.idle.activeFor(100000);
    startEngine();
    const double start = runUntilBreak();
    sim.advance(10);
    breakWindow().perform("closeButton:", "closeBtn");
    sim.advance(1);
    ASSERT_EQ(SCL::progress, -15);
    sim.advance(4);
    EXPECT_EQ(SCL::progress, -10);
    EXPECT_EQ(label().text(), "") << "negative progress draws no segment";
    sim.advance(50);  // ticks at 20 .. 65 s
    EXPECT_EQ(SCL::progress, 40);
    sim.advance(5);
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_DOUBLE_EQ(*SCL::lockTimerDt - start, 70.0);
}

}  // namespace tamsel::test
