// The one-second break countdown: a tick more than 3 s late ends the break.

#include "fixture.h"

namespace tamsel::test {

using Countdown = SimTest;

TEST_F(Countdown, ATickMoreThanThreeSecondsLateEndsTheBreak) {
    for (double late : {3.0, 3.001}) {
        SCL::reset(sim.platform());
        workUntilBreak(1, 2, 45);
        sim.block(late);
        sim.advance(0);
        EXPECT_EQ(SCL::lockTicks, late > 3 ? SCL::lockDur + 1 : 1) << late;
        EXPECT_EQ(SCL::activityTimerPause, late == 3.0) << late;
        EXPECT_GE(SCL::progress, 0) << "a late end is no snooze";
    }
}

}  // namespace tamsel::test
