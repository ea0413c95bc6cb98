// The history on the simulated platform: what a day leaves, on which local
// day each second counts, when it writes, and the statistics window as the
// menu opens it, follows the engine and lets it go.

#include <map>
#include <numeric>

#include "app/stats_window.h"
#include "engine/history.h"
#include "fixture.h"

namespace tamsel::test {
namespace {

constexpr double kMar10 = 1773100800;  // 2026-03-10 00:00 UTC, a Tuesday

class Diary : public SimTest {
protected:
    std::int64_t written() {
        return std::accumulate(sim.history.active.begin(), sim.history.active.end(), 0LL,
                               [](long long sum, const auto& day) { return sum + day.second; });
    }
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

    EXPECT_EQ(SCL::history->csv(),
              "date,time,record,seconds\n"
              "2026-03-10,,active,5154\n"
              "2026-03-10,09:22:30,break_started_due,\n"
              "2026-03-10,09:24:30,break_completed,\n"
              "2026-03-10,09:47:00,break_started_due,\n"
              "2026-03-10,09:47:31,break_snoozed,\n"
              "2026-03-10,09:48:30,break_started_due,\n"
              "2026-03-10,09:50:30,break_completed,\n"
              "2026-03-10,10:00:00,skipped,\n"
              "2026-03-10,10:10:00,paused,1800\n"
              "2026-03-10,10:25:00,resumed,\n");
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
        EXPECT_FALSE(SCL::activityTimerPause) << c.start << ": no break meant";
    }
}

TEST_F(Diary, WritesRideOnActiveTicksAtMostOnceAMinuteAndAtQuit) {
    storeFirstLaunchSettings(240);
    launchApp();
    sim.advance(1);  // the history opens after the first windows
    ASSERT_TRUE(SCL::history);
    sim.advance(600);
    EXPECT_EQ(sim.history.writes, 0) << "idle ticks write nothing";
    sim.idle.activeFor(600);
    sim.advance(600);
    EXPECT_EQ(sim.history.writes, 10) << "ten minutes of work, one write a minute";
    EXPECT_EQ(written(), 545) << "the last 55 s are not written yet";
    sim.idle.activeFor(30);
    sim.advance(30);
    EXPECT_THROW(app->quitBtn(), sim::ExitCalled);
    EXPECT_EQ(written(), 630) << "Quit writes them before the process ends";
}

TEST_F(Diary, StatisticsOpenWithoutThePasswordFollowTheEngineAndAreLetGoOnceClosed) {
    storeFirstLaunchSettings(30, 1);
    sim.settings.setString("txtNewPwd", "secret");
    sim.dialogs.typeAndConfirm("secret");
    launchApp();
    sim.advance(1);
    sim.statusBar.choose("statsMenuBtn:");
    auto window = sim.windows.last("StatsWindow");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title, "Tamsel Statistics");
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(window->outlet("lblTakenToday").text(), "0");
    EXPECT_EQ(window->outlet("chartDays").bars().size(), 14u);

    ASSERT_TRUE(app->breakNowBtn());
    sim.advance(61);
    EXPECT_EQ(window->outlet("lblTakenToday").text(), "1") << "a completed break shows at once";
    EXPECT_EQ(sim.remote.property("TodayBreaksTaken")->value,
              (RemoteProperty{"", std::uint32_t{1}}.value));

    window->perform("windowWillClose:");
    EXPECT_TRUE(window->closed);
    sim.advance(5);
    EXPECT_FALSE(app->statsWindow);
    EXPECT_TRUE(window->destroyed);
}

}  // namespace
}  // namespace tamsel::test
