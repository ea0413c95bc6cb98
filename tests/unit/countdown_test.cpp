// The one-second break countdown: the end of a break, late ticks, and the
// short reprieve after a snooze.

#include "fixture.h"

namespace tamsel::test {

using Countdown = SimTest;

TEST_F(Countdown, ATickMoreThanThreeSecondsLateEndsTheBreak) {
    for (double late : {3.0, 3.001}) {
        SCOPED_TRACE(late);
        SCL::reset(sim.platform());
        workUntilBreak(1, 2, 45);
        sim.block(late);
        sim.advance(0);
        EXPECT_EQ(SCL::lockTicks, late > 3 ? SCL::lockDur + 1 : 1);
        EXPECT_EQ(SCL::activityTimerPause, late == 3.0);
        EXPECT_GE(SCL::progress, 0) << "a late end is no snooze";
    }
}

// After a snooze the progress restarts 60 below the work period, so the next
// break follows after about one more minute of work.
TEST_F(Countdown, ASnoozeLeavesAboutOneMinuteOfWork) {
    struct Case {
        long long workMinutes;
        bool busy;
        std::int64_t after;
        double nextBreak;  // s after the break began
    };
    // The idle case first: the busy ones leave the user at work.
    for (Case c :
         {Case{30, false, 1290, 185}, Case{30, true, 1290, 180}, Case{1, true, -15, 180}}) {
        SCOPED_TRACE(c.workMinutes);
        SCL::reset(sim.platform());
        const double start = workUntilBreak(c.workMinutes, 5, c.busy ? 100000 : c.workMinutes * 45);
        // An idle user comes back after the snooze: the first active tick
        // only turns the direction flag.
        if (!c.busy) sim.idle.activeBetween(start + 122, start + 10000);
        sim.advance(120);
        breakWindow(sim.windows.named("LockScreen").size() - 1).perform("closeButton:", "closeBtn");
        EXPECT_TRUE(SCL::activityTimerPause) << "the countdown ends the break, not the window";
        sim.advance(1);
        EXPECT_FALSE(SCL::activityTimerPause);
        EXPECT_EQ(SCL::progress, c.after);
        sim.advance(4);
        if (c.after < 0) {
            EXPECT_EQ(label().text(), "") << "negative progress draws no segment";
        }
        EXPECT_DOUBLE_EQ(runUntilBreak() - start, c.nextBreak);
    }
}

}  // namespace tamsel::test
