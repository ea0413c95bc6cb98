// The five-second activity monitor: sampling, accrual, the gap rule, the
// break trigger and the bar it draws.

#include <vector>

#include "common/server.h"
#include "fixture.h"
#include "lockscreen/lock_screen.h"

namespace tamsel::test {

using sim::SimNetwork;

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
        if (!SCL::activityTimerPause) {
            ASSERT_EQ(SCL::progress, progress);
        }
    }
};

// ---- accrual ----------------------------------------------------------------------

TEST_F(ActivityMonitor, UnbrokenActivityAddsFivePerTickAfterTheFirst) {
    sim.idle.activeFor(10000);
    startEngine();  // tick 1 runs at load
    EXPECT_EQ(SCL::progress, 0);
    for (int n = 2; n <= 30; ++n) {
        sim.advance(5);
        ASSERT_EQ(SCL::progress, 5 * (n - 1)) << "after tick " << n;
    }
}

TEST_F(ActivityMonitor, ThirtyMinutePeriodBreaksOnThe271stTick) {
    sim.idle.activeFor(10000);
    const double first = sim.now();
    startEngine();
    sim.advance(269 * 5);  // tick 270
    EXPECT_EQ(SCL::progress, 1345);
    EXPECT_FALSE(SCL::activityTimerPause);
    EXPECT_TRUE(sim.windows.named("LockScreen").empty());

    sim.advance(5);  // tick 271: progress reaches 1350, equal is enough
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(sim.windows.named("LockScreen").size(), 1u);
    EXPECT_DOUBLE_EQ(*SCL::lockTimerDt - first, 1350.0);
    EXPECT_EQ(SCL::lockTicks, 0);
    ASSERT_TRUE(SCL::lockTimer);
    EXPECT_TRUE(SCL::lockTimer->isValid());
    EXPECT_EQ(SCL::progress, 0);
    // The tick that started the break drew the restarted period.
    EXPECT_EQ(label().text(), bar(1));
}

TEST_F(ActivityMonitor, DirectionChangesCostOneTickOfGraceThenIdleDrainsToZero) {
    const double t0 = sim.now();
    sim.idle.activeBetween(t0, t0 + 55);  // ticks 0..55 active
    startEngine();
    sim.advance(55);
    ASSERT_EQ(SCL::progress, 55);

    // Input at 65, 75, 85, 95 only: ticks alternate idle, active, ... and
    // every one of them just turns the flag. At 60 the last input is exactly
    // 5.0 s old, which is idle.
    for (double at : {65, 75, 85, 95}) sim.idle.event(InputEvent::KeyUp, t0 + at);
    for (int tick = 0; tick < 8; ++tick) {
        sim.advance(5);
        EXPECT_EQ(SCL::progress, 55);
        EXPECT_EQ(SCL::mainWindow->didProgressIncreaseLast, tick % 2 == 1);
    }

    // Idle from here: one tick of grace, then 10 per tick, floored at 0.
    const std::vector<std::int64_t> drain = {55, 45, 35, 25, 15, 5, 0, 0};
    for (std::int64_t expected : drain) {
        sim.advance(5);
        EXPECT_EQ(SCL::progress, expected);
    }
}

// ---- sampling ---------------------------------------------------------------------

TEST_F(ActivityMonitor, AsksTheFiveInputTypesInOrderAndStopsAtTheFirstActiveOne) {
    startEngine();
    using E = InputEvent;
    const double t0 = sim.now();
    auto askedAt = [&](double at) {
        sim.idle.asked.clear();
        sim.advance(at - (sim.now() - t0));
        return sim.idle.asked;
    };
    EXPECT_EQ(askedAt(5), (std::vector{E::KeyUp, E::LeftMouseDown, E::RightMouseUp, E::MouseMoved,
                                       E::ScrollWheel}));
    sim.idle.event(E::KeyUp, t0 + 9);
    EXPECT_EQ(askedAt(10), (std::vector{E::KeyUp}));
    sim.idle.event(E::MouseMoved, t0 + 14);
    EXPECT_EQ(askedAt(15),
              (std::vector{E::KeyUp, E::LeftMouseDown, E::RightMouseUp, E::MouseMoved}));
    sim.idle.event(E::ScrollWheel, t0 + 19);
    EXPECT_EQ(askedAt(20).size(), 5u);
    EXPECT_TRUE(SCL::mainWindow->didProgressIncreaseLast) << "a scroll alone counts as active";
}

TEST_F(ActivityMonitor, InputExactlyFiveSecondsOldIsIdle) {
    startEngine();
    const double t0 = sim.now();
    const std::vector types = {InputEvent::KeyUp, InputEvent::LeftMouseDown,
                               InputEvent::RightMouseUp, InputEvent::MouseMoved,
                               InputEvent::ScrollWheel};
    for (InputEvent type : types) sim.idle.event(type, t0);
    sim.advance(5);
    EXPECT_FALSE(SCL::mainWindow->didProgressIncreaseLast);
    for (InputEvent type : types) sim.idle.event(type, t0 + 5.001);
    sim.advance(5);
    EXPECT_TRUE(SCL::mainWindow->didProgressIncreaseLast);
}

// ---- the gap rule -----------------------------------------------------------------

TEST_F(ActivityMonitor, AGapOfTwentySecondsKeepsProgressAndOneJustLongerClearsIt) {
    sim.idle.activeFor(10000);
    startEngine();
    sim.advance(50);
    ASSERT_EQ(SCL::progress, 50);

    sim.block(20);   // the main loop hangs; the 5-s timer comes due late
    sim.advance(0);  // and fires once, 20 s after its predecessor
    EXPECT_EQ(SCL::progress, 55);

    sim.block(20.001);
    sim.advance(0);
    EXPECT_EQ(SCL::progress, 0) << "active, but more than 20 s since the previous tick";
    sim.advance(5);
    EXPECT_EQ(SCL::progress, 5);
}

// ---- the break trigger ------------------------------------------------------------

TEST_F(ActivityMonitor, CoversTheMainScreenOrTheFirstTwoScreens) {
    const Rect a{0, 0, 1440, 900}, b{1440, 0, 1920, 1080}, c{-1280, 0, 1280, 1024};
    for (const std::vector<Rect>& screens :
         {std::vector{a}, std::vector{a, b}, std::vector{a, b, c}}) {
        SCOPED_TRACE(screens.size());
        SCL::reset(sim.platform());
        sim.windows.all.clear();
        sim.screens.list = screens;
        sim.idle.activeFor(10000);
        MainWindow& engine = startEngine();
        runUntilBreak();

        ASSERT_TRUE(engine.lockScreen);
        EXPECT_TRUE(engine.lockScreen->isFirst);
        EXPECT_EQ(engine.lockScreen->screenFrame, a);
        auto windows = sim.windows.named("LockScreen");
        if (screens.size() == 1) {
            EXPECT_FALSE(engine.lockScreen1);
            EXPECT_EQ(windows.size(), 1u);
        } else {
            ASSERT_TRUE(engine.lockScreen1);
            EXPECT_FALSE(engine.lockScreen1->isFirst);
            EXPECT_EQ(engine.lockScreen1->screenFrame, b);
            EXPECT_EQ(windows.size(), 2u) << "a third screen stays uncovered";
        }
    }
}

// ---- the bar ----------------------------------------------------------------------

TEST_F(ActivityMonitor, BarHasOneSegmentPerTenthOfThePeriodAndTurnsRedAtNine) {
    MainWindow& engine = startEngine();
    ASSERT_EQ(engine.workDur, 1350);
    const Color normal{0, 0, 0, 0.5}, red{1, 0, 0, 0.7};
    struct Row {
        std::int64_t progress;
        int segments;
        Color colour;
    };
    for (Row row : {Row{0, 1, normal}, Row{134, 1, normal}, Row{135, 2, normal},
                    Row{1079, 8, normal}, Row{1080, 9, red}, Row{1345, 10, red}}) {
        drawAt(row.progress);
        EXPECT_EQ(label().text(), bar(row.segments)) << "progress " << row.progress;
        EXPECT_EQ(label().textColor(), row.colour) << "progress " << row.progress;
    }
}

TEST_F(ActivityMonitor, OneMinutePeriodHasStepFourAndBreaksAtFortyFive) {
    sim.settings.setInteger("stpWorkDuration", 1);
    MainWindow& engine = startEngine();
    ASSERT_EQ(engine.workDur, 45);
    drawAt(40);
    EXPECT_EQ(label().text(), bar(11));
    EXPECT_FALSE(SCL::activityTimerPause);
    drawAt(45);
    EXPECT_TRUE(SCL::activityTimerPause);
}

TEST_F(ActivityMonitor, WhenHighTheBarIsInvisibleUpToEightSegments) {
    sim.settings.setInteger("radWhenHigh", 1);
    startEngine();
    drawAt(1079);
    EXPECT_EQ(label().textColor(), (Color{0, 0, 0, 0}));
    drawAt(1080);
    EXPECT_EQ(label().textColor(), (Color{1, 0, 0, 0.7}));
}

TEST_F(ActivityMonitor, NegativeProgressDrawsAnEmptyBar) {
    startEngine();
    drawAt(-15);
    EXPECT_EQ(label().text(), "");
}

TEST_F(ActivityMonitor, LabelIsTouchedOnlyWhenTheBarChanges) {
    MainWindow& engine = startEngine();  // idle user: the bar stays at one segment
    EXPECT_EQ(label().text(), bar(1));
    EXPECT_EQ(label().textWrites, 1);
    EXPECT_EQ(label().colorWrites, 1);
    sim.advance(300);
    EXPECT_EQ(label().textWrites, 1);
    EXPECT_EQ(label().colorWrites, 1);

    // A new visibility choice shows only with the next change of the bar.
    sim.settings.setInteger("radWhenHigh", 1);
    engine.placeWindow();
    sim.advance(5);
    EXPECT_EQ(label().textColor(), (Color{0, 0, 0, 0.5}));
    drawAt(135);
    EXPECT_EQ(label().textColor(), (Color{0, 0, 0, 0}));
    EXPECT_EQ(label().textWrites, 2);
}

// ---- the rare draw and the paused tick --------------------------------------------

TEST_F(ActivityMonitor, VersionCheckRunsOnlyWhenTheDrawIsForty) {
    ASSERT_TRUE(hasServer());
    sim.network.server = [](const std::string&) {
        return SimNetwork::Reply{{true, "2.6", ""}, 0.1};
    };
    startEngine();
    sim.random.bounds.clear();
    sim.random.script = {39, 41, 0, 34559, 40};
    sim.advance(20);
    EXPECT_TRUE(sim.network.fetched.empty());
    EXPECT_EQ(sim.random.bounds, std::vector<std::uint32_t>(4, 34560));
    sim.advance(5);
    EXPECT_EQ(sim.network.fetched.size(), 1u);
}

TEST_F(ActivityMonitor, PausedTickDoesNothingAtAll) {
    sim.idle.activeFor(10000);
    startEngine();
    sim.advance(50);
    SCL::activityTimerPause = true;
    const double lastTick = *SCL::activityTimerDt;
    const int queries = sim.idle.queries, writes = label().textWrites;
    const std::size_t draws = sim.random.bounds.size();
    sim.random.script = {40, 40, 40};

    sim.advance(60);
    SCL::mainWindow->activityTimerEvent();
    EXPECT_EQ(SCL::progress, 50);
    EXPECT_EQ(*SCL::activityTimerDt, lastTick);
    EXPECT_EQ(sim.idle.queries, queries);
    EXPECT_EQ(label().textWrites, writes);
    EXPECT_EQ(sim.random.bounds.size(), draws);
    EXPECT_TRUE(sim.network.fetched.empty());
    sim.random.script.clear();
}

}  // namespace tamsel::test
