// The five-second activity monitor: accrual and the bar; the one-second
// break countdown, where a tick more than 3 s late ends the break.

#include "fixture.h"

namespace tamsel::test {

using ActivityMonitor = SimTest;

TEST_F(ActivityMonitor, ActiveTicksAddFiveIdleOnesTakeTenEachChangeCostsATick) {
    storeFirstLaunchSettings();
    const double t0 = sim.now();
    sim.idle.activeBetween(t0, t0 + 55);
    // At 60 the last input is exactly 5.0 s old, which is idle.
    for (double at : {65, 75, 85, 95}) sim.idle.event(InputEvent::KeyUp, t0 + at);
    startEngine();
    std::vector<std::int64_t> seen;
    for (int tick = 1; tick <= 27; ++tick) {
        sim.advance(5);
        seen.push_back(SCL::progress);
    }
    EXPECT_EQ(seen,
              (std::vector<std::int64_t>{5,  10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 55, 55, 55,
                                         55, 55, 55, 55, 55, 55, 45, 35, 25, 15, 5,  0,  0}));
}

TEST_F(ActivityMonitor, BarHasOneSegmentPerTenthAndTurnsRedAtNine) {
    storeFirstLaunchSettings();
    const Color grey{0, 0, 0, 0.5}, red{1, 0, 0, 0.7}, none{0, 0, 0, 0};
    const struct {  // a stored 0 runs as the first-launch 30
        long long workMinutes, whenHigh;
        std::int64_t progress;
        int segments;
        Color colour;
    } rows[] = {{0, 0, 134, 1, grey},  {30, 0, 135, 2, grey},  {30, 0, 1079, 8, grey},
                {30, 0, 1080, 9, red}, {30, 1, 1079, 8, none}, {30, 1, 1080, 9, red},
                {30, 0, -15, 0, grey}, {1, 0, 40, 11, red}};
    MainWindow& engine = startEngine();
    for (const auto& r : rows) {
        sim.settings.setInteger(key::stpWorkDuration, r.workMinutes);
        sim.settings.setInteger(key::radWhenHigh, r.whenHigh);
        engine.placeWindow();
        // A tick that only turns the direction flag draws exactly this progress.
        sim.idle.event(InputEvent::KeyUp, sim.now());
        engine.didProgressIncreaseLast = false;
        SCL::progress = r.progress;
        engine.activityTimerEvent();
        EXPECT_EQ(label().text(), bar(r.segments)) << r.progress;
        if (r.segments > 0) {
            EXPECT_EQ(label().textColor(), r.colour) << r.progress;
        }
    }
}

TEST_F(ActivityMonitor, ATickMoreThanThreeSecondsLateEndsTheBreak) {
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
