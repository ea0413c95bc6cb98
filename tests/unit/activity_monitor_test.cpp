// The five-second activity monitor: accrual, the break trigger and the bar.

#include <vector>

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

// A stored 0 runs as the first-launch length.
TEST_F(ActivityMonitor, ThirtyMinutePeriodBreaksOnThe271stTick) {
    storeFirstLaunchSettings(0);
    sim.idle.activeFor(10000);
    const double first = sim.now();
    startEngine();
    sim.advance(269 * 5);
    EXPECT_FALSE(SCL::activityTimerPause);
    sim.advance(5);
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_DOUBLE_EQ(*SCL::lockTimerDt - first, 1350.0);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_EQ(label().text(), bar(1)) << "the tick that started the break drew the new period";
}

TEST_F(ActivityMonitor, BarHasOneSegmentPerTenthAndTurnsRedAtNine) {
    storeFirstLaunchSettings();
    const Color grey{0, 0, 0, 0.5}, red{1, 0, 0, 0.7}, none{0, 0, 0, 0};
    const struct {
        long long workMinutes, whenHigh;
        std::int64_t progress;
        int segments;
        Color colour;
    } rows[] = {{30, 0, 134, 1, grey}, {30, 0, 135, 2, grey},  {30, 0, 1079, 8, grey},
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

}  // namespace tamsel::test
