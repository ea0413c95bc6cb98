// The history: what a day leaves, and on which local day each second counts.

#include <map>

#include "engine/history.h"
#include "fixture.h"

namespace tamsel::test {
namespace {

constexpr double kMar10 = 1773100800;  // 2026-03-10 00:00 UTC, a Tuesday

class Diary : public SimTest {
protected:
    // The engine with its history from a wall-clock second on (UTC is the
    // local clock here).
    void start(double wall, double activeFor, long long workMinutes = 30) {
        setWall(wall);
        sim.idle.activeFor(activeFor);
        storeFirstLaunchSettings(workMinutes, 2);
        SCL::history = std::make_unique<HistoryRecorder>(sim.history);
        startEngine();
    }
};

TEST_F(Diary, ADayWithTwoBreaksASnoozeASkipAndAPauseReadsBackAsItWent) {
    start(kMar10 + 9 * 3600, 6300);  // at work until 10:45
    AppDelegate app;
    runUntilBreak();
    sim.advance(120);  // taken
    runUntilBreak();
    sim.advance(30);
    breakWindow(1).perform("closeButton:", "closeBtn");
    sim.advance(1);  // snoozed: the next break a minute of work later
    runUntilBreak();
    sim.advance(120);  // taken
    sim.advance(kMar10 + 10 * 3600 - sim.clock.now());
    ASSERT_TRUE(app.skipBtn());
    sim.advance(600);
    SCL::mainWindow->pauseUntil(sim.clock.now() + 1800);
    sim.advance(900);
    SCL::mainWindow->resume();
    sim.advance(3600);

    const DayTotals today = SCL::history->lastDays(1).back();
    EXPECT_EQ(today.taken, 2);
    EXPECT_EQ(today.snoozed, 1);
    EXPECT_EQ(today.skipped, 1);
    EXPECT_EQ(today.pausedSeconds, 900);
    EXPECT_EQ(SCL::status().todayBreaksTaken, 2);
    EXPECT_EQ(SCL::status().todayActiveSeconds, 5154);
}

TEST_F(Diary, EachSecondCountsOnceOnTheLocalDayItWasWorked) {
    using Days = std::map<std::string, std::int64_t, std::less<>>;
    const std::string mon = "2026-03-09", tue = "2026-03-10";
    struct Case {
        double start, activeFor, jumpAfter, jumpBy;
        Days days;
    } cases[] = {
        {kMar10 - 600, 1200, 0, 0, {{mon, 600}, {tue, 605}}},           // midnight splits it
        {kMar10 + 10 * 3600, 7200, 3600, -3600, {{tue, 7205}}},         // set back an hour
        {kMar10 - 2700, 3600, 1800, 3600, {{mon, 1805}, {tue, 1800}}},  // forward over midnight
    };
    for (const Case& c : cases) {
        SCL::reset(sim.platform());
        sim.history.active.clear();
        start(c.start, c.activeFor, 240);
        sim.advance(c.jumpAfter);
        sim.clock.jumpWall(c.jumpBy);
        sim.advance(c.activeFor - c.jumpAfter + 60);
        SCL::history->flush();
        EXPECT_EQ(sim.history.active, c.days) << c.start;
    }
}

}  // namespace
}  // namespace tamsel::test
