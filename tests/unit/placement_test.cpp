// The progress indicator window: its set-up, its corner, and the durations
// it loads whenever it is placed.

#include <limits>
#include <string>

#include "fixture.h"

namespace tamsel::test {

class Placement : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }
    Rect placedAt(long long corner) {
        sim.settings.setInteger("dropdownOsdLocation", corner);
        SCL::mainWindow->placeWindow();
        return indicator().frame;
    }
};

TEST_F(Placement, LoadingMakesAClickThroughTransparentTopmostWindowAndDrawsAtOnce) {
    startEngine();
    sim::SimWindowState& w = indicator();
    EXPECT_EQ(w.title, "Tamsel");
    EXPECT_TRUE(w.ignoresMouse);
    EXPECT_FALSE(w.opaque);
    EXPECT_EQ(w.background.alpha, 0.0);
    EXPECT_EQ(w.levels, (std::vector{WindowLevel::Floating, WindowLevel::Maximum}));
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(label().text(), bar(1)) << "the first bar comes with the window";
    EXPECT_TRUE(SCL::activityTimer && SCL::activityTimer->isValid());
}

TEST_F(Placement, EveryCornerOfTheMainScreen) {
    startEngine();
    EXPECT_EQ(indicator().frame, (Rect{620, 850, 200, 30})) << "top centre after the first launch";
    const Rect placed[] = {{0, 850, 200, 30}, {620, 850, 200, 30}, {1240, 850, 200, 30},
                           {0, 0, 200, 30},   {620, 0, 200, 30},   {1240, 0, 200, 30}};
    for (long long corner = -1; corner <= 9; ++corner)
        EXPECT_EQ(placedAt(corner), placed[corner >= 0 && corner <= 5 ? corner : 5]) << corner;
    sim.screens.list = {{1440, 0, 1920, 1080}};
    EXPECT_EQ(placedAt(2), (Rect{3160, 1030, 200, 30}));
    sim.screens.list = {{0, 0, 150, 900}};
    EXPECT_EQ(placedAt(4), (Rect{-25, 0, 200, 30}));
}

TEST_F(Placement, AScreenChangeMovesTheWindowAndReloadsTheLengths) {
    MainWindow& engine = startEngine();
    struct Row {
        long long workMinutes, workDur, breakMinutes, lockDur;
    };
    for (Row row : {Row{25, 1125, 5, 300}, Row{1, 45, 1, 60}, Row{240, 10800, 60, 3600}}) {
        sim.settings.setInteger("stpWorkDuration", row.workMinutes);
        sim.settings.setInteger("stpBreakDuration", row.breakMinutes);
        sim.settings.setInteger("radWhenHigh", 1);
        sim.screens.set({{1440, 0, 1920, 1080}, {0, 0, 1440, 900}});
        EXPECT_EQ(indicator().frame, (Rect{2300, 1030, 200, 30}));
        EXPECT_EQ(engine.workDur, row.workDur) << row.workMinutes << " min";
        EXPECT_EQ(SCL::lockDur, row.lockDur) << row.breakMinutes << " min";
        EXPECT_EQ(engine.showOnHigh, 1);
    }
}

// Stored minutes the preferences never write: a damaged or hand-edited store.
// 0 (also what text reads as) is the first-launch length; the rest of what
// lies outside the range the preferences offer runs as its nearest end.
TEST_F(Placement, DurationsOutsideTheOfferedRangeRunAsTheirNearestEnd) {
    struct Row {
        long long stored, work, brk;
    };
    for (Row row : {Row{0, 30, 2}, Row{-5, 1, 1}, Row{1, 1, 1}, Row{241, 240, 60},
                    Row{std::numeric_limits<long long>::max(), 240, 60},
                    Row{std::numeric_limits<long long>::min(), 1, 1}}) {
        EXPECT_EQ(settings::minutesIn(kWorkMinutes, row.stored), row.work) << row.stored;
        EXPECT_EQ(settings::minutesIn(kBreakMinutes, row.stored), row.brk) << row.stored;
    }

    sim.settings.setString("stpWorkDuration", "abc");
    sim.settings.setInteger("stpBreakDuration", 999);
    MainWindow& engine = startEngine();
    EXPECT_EQ(engine.workDur, 1350);
    EXPECT_EQ(SCL::lockDur, 3600);

    // An engine on such a store still ticks, draws and breaks.
    sim.idle.activeFor(100000);
    runUntilBreak(300);
    EXPECT_EQ(segments(), 1);
}

}  // namespace tamsel::test
