// The history on the simulated platform: when it writes, and the
// statistics window as the menu opens it, follows the engine and lets it go.

#include <numeric>

#include "app/app_delegate.h"
#include "app/stats_window.h"
#include "engine/history.h"
#include "fixture.h"

namespace tamsel::test {
namespace {

class Diary : public SimTest {
protected:
    std::int64_t written() {
        return std::accumulate(sim.history.active.begin(), sim.history.active.end(), 0LL,
                               [](long long sum, const auto& day) { return sum + day.second; });
    }
};

TEST_F(Diary, WritesRideOnActiveTicksAtMostOnceAMinuteAndAtQuit) {
    storeFirstLaunchSettings(240);
    AppDelegate app;
    app.applicationDidFinishLaunching();
    ASSERT_TRUE(SCL::history);
    sim.advance(600);
    EXPECT_EQ(sim.history.writes, 0) << "idle ticks write nothing";
    sim.idle.activeFor(600);
    sim.advance(600);
    EXPECT_EQ(sim.history.writes, 10) << "ten minutes of work, one write a minute";
    EXPECT_EQ(written(), 545) << "the last 55 s are not written yet";
    sim.idle.activeFor(30);
    sim.advance(30);
    EXPECT_THROW(app.quitBtn(), sim::ExitCalled);
    EXPECT_EQ(written(), 630) << "Quit writes them before the process ends";
}

TEST_F(Diary, StatisticsOpenWithoutThePasswordFollowTheEngineAndAreLetGoOnceClosed) {
    storeFirstLaunchSettings(30, 1);
    sim.settings.setString("txtNewPwd", "secret");
    AppDelegate app;
    sim.dialogs.typeAndConfirm("secret");
    app.applicationDidFinishLaunching();
    sim.statusBar.choose("statsMenuBtn:");
    auto window = sim.windows.last("StatsWindow");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title, "Tamsel Statistics");
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(window->outlet("lblTakenToday").text(), "0");
    EXPECT_EQ(window->outlet("chartDays").bars().size(), 14u);

    ASSERT_TRUE(app.breakNowBtn());
    sim.advance(61);
    EXPECT_EQ(window->outlet("lblTakenToday").text(), "1") << "a completed break shows at once";
    EXPECT_EQ(sim.remote.property("TodayBreaksTaken")->value,
              (RemoteProperty{"", std::uint32_t{1}}.value));

    window->perform("windowWillClose:");
    EXPECT_TRUE(window->closed);
    sim.advance(5);
    EXPECT_FALSE(app.statsWindow);
    EXPECT_TRUE(window->destroyed);
}

}  // namespace
}  // namespace tamsel::test
