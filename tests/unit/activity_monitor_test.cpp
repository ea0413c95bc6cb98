// The five-second activity monitor: sampling, accrual, the gap rule, the
// break trigger and the bar it draws.

#include <vector>

#include "fixture.h"
#include "lockscreen/lock_screen.h"

namespace tamsel::test {

class ActivityMonitor : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }

    // A tick that only turns the direction flag draws the bar for exactly
    // this progress.
    void drawAt(std::int64_t progress) {
        sim.idle.event(InputEvent::KeyUp, sim.now());
        SCL::mainWindow->didProgressIncreaseLast = false;
        SCL::progress = progress;
        SCL::mainWindow->activityTimerEvent();
    }
};

TEST_F(ActivityMonitor, ActiveTicksAddFiveIdleOnesTakeTenEachChangeCostsATick) {
    const double t0 = sim.now();
    sim.idle.activeBetween(t0, t0 + 55);
    // Then input only at 65, 75, 85, 95: every tick just turns the flag (at
    // 60 the last input is exactly 5.0 s old, which is idle); then idle.
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

TEST_F(ActivityMonitor, ThirtyMinutePeriodBreaksOnThe271stTick) {
    sim.idle.activeFor(10000);
    const double first = sim.now();
    startEngine();
    sim.advance(269 * 5);
    EXPECT_EQ(SCL::progress, 1345);
    EXPECT_FALSE(SCL::activityTimerPause);
    sim.advance(5);  // progress reaches 1350: equal is enough
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(openBreakWindows(), 1u);
    EXPECT_DOUBLE_EQ(*SCL::lockTimerDt - first, 1350.0);
    EXPECT_EQ(SCL::lockTicks, 0);
    EXPECT_TRUE(SCL::lockTimer && SCL::lockTimer->isValid());
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_EQ(label().text(), bar(1)) << "the tick that started the break drew the new period";
}

TEST_F(ActivityMonitor, AsksTheFiveInputTypesInOrderUntilOneWasUsedWithinFiveSeconds) {
    startEngine();
    using E = InputEvent;
    const double t0 = sim.now();
    auto askedAt = [&](double at) {
        sim.idle.asked.clear();
        sim.advance(at - (sim.now() - t0));
        return sim.idle.asked;
    };
    const std::vector all{E::KeyUp, E::LeftMouseDown, E::RightMouseUp, E::MouseMoved,
                          E::ScrollWheel};
    EXPECT_EQ(askedAt(5), all);
    sim.idle.event(E::MouseMoved, t0 + 9.001);
    EXPECT_EQ(askedAt(10), std::vector(all.begin(), all.begin() + 4));
    sim.idle.event(E::ScrollWheel, t0 + 15);
    askedAt(15);
    EXPECT_TRUE(SCL::mainWindow->didProgressIncreaseLast) << "a scroll alone is activity";
    askedAt(20);
    EXPECT_FALSE(SCL::mainWindow->didProgressIncreaseLast) << "exactly 5 s ago is idle";
}

TEST_F(ActivityMonitor, AGapOfTwentySecondsKeepsProgressAndOneJustLongerClearsIt) {
    sim.idle.activeFor(10000);
    startEngine();
    sim.advance(50);
    ASSERT_EQ(SCL::progress, 50);
    sim.block(20);  // the main loop hangs; the 5-s timer fires late, once
    sim.advance(0);
    EXPECT_EQ(SCL::progress, 55);
    sim.block(20.001);
    sim.advance(0);
    EXPECT_EQ(SCL::progress, 0);
}

TEST_F(ActivityMonitor, CoversTheMainScreenOrTheFirstTwoScreens) {
    const Rect a{0, 0, 1440, 900}, b{1440, 0, 1920, 1080}, c{-1280, 0, 1280, 1024};
    for (const std::vector<Rect>& screens : {std::vector{a}, std::vector{a, b, c}}) {
        SCL::reset(sim.platform());
        sim.windows.all.clear();
        sim.screens.list = screens;
        sim.idle.activeFor(10000);
        MainWindow& engine = startEngine();
        runUntilBreak();
        ASSERT_TRUE(engine.lockScreen);
        EXPECT_TRUE(engine.lockScreen->isFirst);
        EXPECT_EQ(engine.lockScreen->screenFrame, a);
        EXPECT_EQ(sim.windows.named("LockScreen").size(), std::min<std::size_t>(screens.size(), 2));
        if (screens.size() == 1) continue;
        ASSERT_TRUE(engine.lockScreen1);
        EXPECT_FALSE(engine.lockScreen1->isFirst);
        EXPECT_EQ(engine.lockScreen1->screenFrame, b);
    }
}

TEST_F(ActivityMonitor, BarHasOneSegmentPerTenthAndTurnsRedAtNine) {
    struct Row {
        long long workMinutes, radWhenHigh;
        std::int64_t progress;
        int segments;
        Color colour;
    };
    const Color grey{0, 0, 0, 0.5}, red{1, 0, 0, 0.7}, none{0, 0, 0, 0};
    MainWindow& engine = startEngine();
    for (Row row : {Row{30, 0, 0, 1, grey}, Row{30, 0, 134, 1, grey}, Row{30, 0, 135, 2, grey},
                    Row{30, 0, 1079, 8, grey}, Row{30, 0, 1080, 9, red}, Row{30, 0, 1345, 10, red},
                    Row{30, 1, 1079, 8, none}, Row{30, 1, 1080, 9, red}, Row{30, 0, -15, 0, grey},
                    Row{1, 0, 40, 11, red}}) {
        sim.settings.setInteger(key::stpWorkDuration, row.workMinutes);
        sim.settings.setInteger(key::radWhenHigh, row.radWhenHigh);
        engine.placeWindow();
        drawAt(row.progress);
        EXPECT_EQ(label().text(), bar(row.segments)) << row.progress;
        if (row.segments > 0) {
            EXPECT_EQ(label().textColor(), row.colour) << row.progress;
        }
    }
}

TEST_F(ActivityMonitor, LabelIsTouchedOnlyWhenTheBarChanges) {
    MainWindow& engine = startEngine();  // an idle user: one segment all along
    sim.advance(300);
    EXPECT_EQ(label().textWrites, 1);
    EXPECT_EQ(label().colorWrites, 1);
    // A new visibility choice shows with the next change of the bar.
    sim.settings.setInteger(key::radWhenHigh, 1);
    engine.placeWindow();
    sim.advance(5);
    EXPECT_EQ(label().textColor(), (Color{0, 0, 0, 0.5}));
    drawAt(135);
    EXPECT_EQ(label().textColor(), (Color{0, 0, 0, 0}));
}

TEST_F(ActivityMonitor, TheVersionCheckRunsOnDrawFortyAndNotDuringABreak) {
    sim.network.serve("2.6");
    sim.random.script = {41, 39, 0, 34559, 40};
    startEngine();  // draws at load, then at 5, 10, 15 s
    sim.advance(15);
    EXPECT_TRUE(sim.network.fetched.empty());
    sim.advance(5);
    EXPECT_EQ(sim.network.fetched.size(), 1u);
    EXPECT_EQ(sim.random.bounds.back(), 34560u);

    // A paused tick does nothing at all.
    SCL::activityTimerPause = true;
    const double lastTick = *SCL::activityTimerDt;
    const std::size_t queries = sim.idle.asked.size();
    const std::size_t draws = sim.random.bounds.size();
    sim.advance(60);
    EXPECT_EQ(*SCL::activityTimerDt, lastTick);
    EXPECT_EQ(sim.idle.asked.size(), queries);
    EXPECT_EQ(sim.random.bounds.size(), draws);
}

}  // namespace tamsel::test
