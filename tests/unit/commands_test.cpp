// Pause and Resume, Take a break now, the heads-up and every screen covered,
// from the menu and from scripts.

#include "fixture.h"
#include "lockscreen/lock_screen.h"

namespace tamsel::test {

class Running : public SimTest {
protected:
    void launch(long long workMinutes = 3, long long breakMinutes = 1) {
        if (!sim.settings.stringForKey("uid")) storeFirstLaunchSettings(workMinutes, breakMinutes);
        launchApp();
    }
    // The machine goes on, the process starts again on the same store.
    void restart() {
        app.reset();
        SCL::reset(sim.platform());
        launch();
    }
    std::int64_t stored() { return sim.settings.integerForKey("pausedUntil"); }
};

constexpr double kJan15 = 1'800'000'000;  // 2027-01-15 08:00:00 UTC

TEST_F(Running, APauseCountsNoWorkStartsNoBreakAndEndsAtItsTimeFromZero) {
    launch();
    setWall(kJan15);
    sim.idle.activeFor(6 * 3600);
    sim.advance(60);
    ASSERT_GT(SCL::progress, 0);
    sim.statusBar.choose("pause30Btn:");
    EXPECT_EQ(stored(), std::llround(kJan15 + 60 + 1800));
    EXPECT_EQ(label().text(), "\u2016 08:31");

    sim.advance(1795);
    EXPECT_EQ(SCL::progress, 0);
    sim.advance(5);
    EXPECT_EQ(stored(), 0);
    const double resumed = sim.now();
    EXPECT_NEAR(runUntilBreak() - resumed, 135, 5) << "a whole work period after the pause";
}

TEST_F(Running, APauseOutlivesARestartAndResumeEndsItEarly) {
    launch();
    setWall(kJan15);
    sim.statusBar.choose("pause120Btn:");
    sim.advance(600);
    restart();
    sim.idle.activeFor(3600);
    sim.advance(600);
    EXPECT_EQ(SCL::progress, 0);
    sim.statusBar.choose("resumeBtn:");
    EXPECT_EQ(stored(), 0);
    sim.advance(30);
    EXPECT_GT(SCL::progress, 0);
}

// "Until tomorrow": the next 06:00 on the local clock, also on the nights
// the clocks change.
TEST_F(Running, UntilTomorrowEndsAtTheNextSixOClock) {
    constexpr double kMar27 = 1'806'105'600;  // 2027-03-27 00:00 UTC
    constexpr double kOct30 = 1'824'854'400;  // 2027-10-30 00:00 UTC
    const std::pair<double, double> winter{-1e18, 3600}, summer{kMar27 + 86400 + 3600, 7200};
    const struct {
        std::vector<std::pair<double, double>> zone;  // UTC offsets, from when
        double start, hours;                          // UTC; until the pause ends
    } rows[] = {
        {{winter}, kJan15 + 14.5 * 3600, 6.5},  // across midnight
        {{winter, summer}, kMar27 + 21 * 3600, 7},
        {{{-1e18, 7200}, {kOct30 + 86400 + 3600, 3600}}, kOct30 + 20 * 3600, 9},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.start);
        sim.localTime.offsets = r.zone;
        restart();
        setWall(r.start);
        sim.statusBar.choose("pauseTomorrowBtn:");
        EXPECT_EQ(stored(), std::llround(r.start + r.hours * 3600));
        sim.advance(r.hours * 3600 - 30);
        EXPECT_EQ(SCL::status().state, State::Paused);
        EXPECT_EQ(sim.statusBar.item->toolTip, "Paused until 06:00") << "on the day it ends";
        sim.advance(35);
        EXPECT_EQ(SCL::status().state, State::Working);
    }
}

// The child lock guards Pause from the menu and Pause, Skip and
// ShowPreferences from scripts; a cancelled box refuses the call.
TEST_F(Running, TheChildLockGuardsPauseAndTheScriptedCallsThatNeedIt) {
    sim.dialogs.typeAndConfirm("pw");  // at start
    storeFirstLaunchSettings(3, 1);
    sim.settings.setString("txtNewPwd", "pw");
    launch();
    sim.dialogs.cancel();
    sim.statusBar.choose("pause60Btn:");
    EXPECT_EQ(stored(), 0);

    struct Call {
        Request request;
        std::uint32_t seconds;
        bool guarded;
    };
    for (const Call& c : {Call{Request::Pause, 100'000, true}, Call{Request::Resume, 0, false},
                          Call{Request::Skip, 0, true}, Call{Request::ShowPreferences, 0, true},
                          Call{Request::BreakNow, 0, false}}) {
        if (c.guarded) {
            sim.dialogs.cancel();
            EXPECT_EQ(sim.remote.call(c.request, c.seconds),
                      "The child lock's password box was cancelled");
            sim.dialogs.typeAndConfirm("pw");
        }
        EXPECT_EQ(sim.remote.call(c.request, c.seconds), "") << static_cast<int>(c.request);
    }
    EXPECT_EQ(sim.remote.call(Request::BreakNow), "A break is running already");

    // A shell's menu chooses only what the menu offers now, through the same lock.
    sim.dialogs.cancel();
    for (auto [action, refusal] : std::initializer_list<std::pair<const char*, const char*>>{
             {"setupCheckBtn:", ""},
             {"pause60Btn:", "\"For an hour\" was not carried out"},
             {"breakNowBtn:", "\"Take a break now\" is not available now"},
             {"resumeBtn:", "The menu has no item \"resumeBtn:\" now"},
             {"", "The menu has no item \"\" now"}})
        EXPECT_EQ(sim.remote.call(Request::ChooseMenuItem, 0, action), refusal) << action;
    EXPECT_EQ(stored(), 0);
}

TEST_F(Running, ABreakTakenNowRunsAsADueOneAndLiftsTheLimitsAtItsEnd) {
    launch(30, 1);
    sim.idle.activeFor(3600);
    sim.advance(100);
    sim.statusBar.choose("skipBtn:");
    sim.statusBar.choose("breakNowBtn:");
    EXPECT_EQ(openBreakWindows(), 1u);
    sim.advance(61);
    EXPECT_EQ(openBreakWindows(), 0u);
    sim.statusBar.choose("skipBtn:");
    EXPECT_TRUE(sim.dialogs.shown.empty()) << "the skip limit was lifted";
}

// One heads-up per work period, a minute of work before the break.
TEST_F(Running, TheHeadsUpComesOncePerPeriodAndOnlyForPeriodsOfThreeMinutes) {
    struct Case {
        long long workMinutes;
        const char* stored;  // lblHeadsUp; null: absent
        std::size_t perPeriod;
    } cases[] = {{3, nullptr, 1}, {30, "1", 1}, {2, nullptr, 0}, {30, "0", 0}};
    for (const Case& c : cases) {
        SCL::reset(sim.platform());
        sim.settings.values.clear();
        sim.notifier.sent.clear();
        storeFirstLaunchSettings(c.workMinutes, 1);
        if (c.stored) sim.settings.setString("lblHeadsUp", c.stored);
        launch();
        sim.idle.activeFor(10 * 3600);
        for (int period = 1; period <= 2; ++period) {
            runUntilBreak();
            EXPECT_EQ(sim.notifier.sent.size(), c.perPeriod * period) << c.workMinutes;
            sim.advance(61);
        }
    }
}

TEST_F(Running, EveryScreenGetsItsWindowAndTheWindowsFollowTheScreensMidBreak) {
    const Rect a{0, 0, 1920, 1080}, b{1920, 0, 1280, 1024}, c{-1440, 0, 1440, 900};
    sim.screens.list = {a, b, c};
    storeFirstLaunchSettings(1, 1);
    sim.settings.setInteger("lblAllScreens", 1);
    launch();
    sim.idle.activeFor(3600);
    runUntilBreak();
    auto frames = [this] {
        std::vector<Rect> list;
        for (const auto& w : sim.windows.open("LockScreen"))
            list.push_back({w->frame.x, w->frame.y, w->frame.width, w->frame.height - 100});
        return list;
    };
    EXPECT_EQ(frames(), (std::vector<Rect>{a, b, c}));
    EXPECT_EQ(breakWindow(2).styleMask, 2u);

    const Rect d{3200, 0, 800, 600};
    sim.screens.set({b, c, d});  // the main screen unplugged, another plugged in
    EXPECT_EQ(frames(), (std::vector<Rect>{b, c, d}));
    EXPECT_EQ(SCL::mainWindow->lockScreen->screenFrame, b);
    sim.advance(65);
    EXPECT_EQ(openBreakWindows(), 0u);
}

}  // namespace tamsel::test
