// A due break that waits for the end of a call, of full screen, of
// do-not-disturb; never lost, and the plain behaviour when not wanted.

#include "fixture.h"

namespace tamsel::test {
namespace {

using sim::SimPlatform;

class Waiting : public SimTest {
protected:
    // 3 minutes of work (due after 135 s of input), 1-minute breaks.
    void launch(double activeSeconds = 6 * 3600.0) {
        storeFirstLaunchSettings(3, 1);
        sim.idle.activeFor(activeSeconds);
        launchApp();
        for (int i = 0; i < 30 && SCL::status().state != State::Waiting; ++i) sim.advance(5);
    }
};

TEST_F(Waiting, ABreakDueDuringACallWaitsHoursAndStarts30SecondsAfterTheCallEnds) {
    sim.microphone.answer = Busy::Yes;
    launch();
    EXPECT_EQ(SCL::status().waitingFor, WaitReason::Call);
    sim.advance(4 * 3600);
    EXPECT_EQ(openBreakWindows(), 0u);

    sim.microphone.set(Busy::No);
    EXPECT_EQ(sim.notifier.sent, std::vector<std::string>{"Tamsel: A break in 30 seconds"});
    const double ended = sim.now();
    sim.advance(29.5);
    EXPECT_EQ(openBreakWindows(), 0u);
    sim.advance(0.5);
    EXPECT_EQ(openBreakWindows(), 1u);
    EXPECT_EQ(SCL::lockTimerDt, ended + 30);
}

TEST_F(Waiting, ACallEndingAfterTheUserWasAwayAWholeBreakCountsTheBreakAsTaken) {
    sim.camera.answer = Busy::Yes;
    launch(150);
    SCL::lastSkipDate() = sim.now();  // just skipped: no skip for 50 minutes
    sim.advance(80);                  // away from 150 s to 215 s: more than a whole break
    EXPECT_EQ(SCL::status().state, State::Working);
    EXPECT_EQ(SCL::progress, 0);
    EXPECT_LE(SCL::timeIntervalSinceNow(SCL::lastSkipDate()), -3000) << "skip limit lifted";

    sim.camera.set(Busy::No);
    sim.advance(120);
    EXPECT_TRUE(sim.windows.named("LockScreen").empty());
}

TEST_F(Waiting, TakeABreakNowIgnoresTheWaitAndACallDuringABreakChangesNothing) {
    sim.fullScreen.answer = Busy::Yes;
    launch();
    EXPECT_EQ(sim.statusBar.item->toolTip, "Break waiting for full screen to end");
    sim.statusBar.choose("breakNowBtn:");
    EXPECT_EQ(openBreakWindows(), 1u);
    sim.camera.set(Busy::Yes);
    sim.advance(59);
    EXPECT_EQ(openBreakWindows(), 1u);
    sim.advance(2);
    EXPECT_EQ(openBreakWindows(), 0u);
}

// Forty minutes of a working day as seen from outside: every change of the
// indicator, the break windows, the tooltip and the notifications.
std::vector<std::string> dayWith(const std::function<void(SimPlatform&)>& setUp) {
    SimPlatform world;
    SCL::reset(world.platform());
    world.settings.values = {{"uid", "1"}, {"stpWorkDuration", "3"}, {"stpBreakDuration", "1"}};
    setUp(world);
    world.idle.activeFor(2400);
    std::vector<std::string> log;
    AppDelegate app;
    app.applicationDidFinishLaunching();
    world.timers.afterFire = [&] {
        const std::string now = world.windows.last("MainWindow")->outlet("lblProgress").text() +
                                std::to_string(world.windows.open("LockScreen").size()) + "|" +
                                world.statusBar.item->toolTip + "|" +
                                std::to_string(world.notifier.sent.size());
        if (log.empty() || now != log.back().substr(log.back().find(' ') + 1))
            log.push_back(std::to_string(world.now()) + " " + now);
    };
    world.advance(2400);
    SCL::reset(world.platform());
    return log;
}

TEST(WaitingPreferences, EachOneOffRestoresTheWrittenBehaviourExactly) {
    const struct {
        const char* key;
        int stored;  // -1: absent
        sim::SimBusy SimPlatform::*source;
        Busy answer;
        bool waits;
    } rows[] = {
        {"lblWaitCall", 0, &SimPlatform::camera, Busy::Yes, false},
        {"lblWaitFullScreen", 0, &SimPlatform::fullScreen, Busy::Yes, false},
        {"lblWaitDnd", -1, &SimPlatform::doNotDisturb, Busy::Yes, false},
        {"lblWaitCall", -1, &SimPlatform::camera, Busy::Yes, true},
        {"lblWaitFullScreen", 7, &SimPlatform::fullScreen, Busy::Yes, true},
        {"lblWaitDnd", 1, &SimPlatform::doNotDisturb, Busy::Yes, true},
    };
    const std::vector<std::string> written = dayWith([](SimPlatform&) {});
    for (const auto& row : rows) {
        const std::vector<std::string> day = dayWith([&](SimPlatform& world) {
            if (row.stored >= 0) world.settings.setInteger(row.key, row.stored);
            (world.*row.source).answer = row.answer;
        });
        const bool waited = std::any_of(day.begin(), day.end(), [](const std::string& line) {
            return line.find("|Break waiting for ") != std::string::npos;
        });
        EXPECT_EQ(waited, row.waits) << row.key << "=" << row.stored;
        if (!row.waits) {
            EXPECT_EQ(day, written) << row.key << "=" << row.stored;
        }
    }
}

}  // namespace
}  // namespace tamsel::test
