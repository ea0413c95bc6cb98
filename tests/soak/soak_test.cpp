// The whole application, launch included, through thousands of randomised
// simulated days, with the invariants checked after every timer firing and
// every user action. TAMSEL_SOAK_SEED=<n> replays a run; TAMSEL_SOAK_DAYS=<n>
// sets its length.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "app/app_delegate.h"
#include "common/nibs.h"
#include "engine/main_window.h"
#include "engine/scl.h"
#include "sim/sim_platform.h"

namespace tamsel::test {
namespace {

constexpr std::string_view kPrefKeys[] = {
    key::stpWorkDuration, key::stpBreakDuration, key::lblSnooze,          key::lblHide,
    key::txtNewPwd,       key::radWhenHigh,      key::dropdownOsdLocation};

class Soak {
public:
    explicit Soak(std::uint32_t seed) : rng_(seed) { restart(); }
    ~Soak() { SCL::reset(sim_->platform()); }

    void runDay() {
        const double dayEnd = sim_->now() + 86400.0;
        while (sim_->now() < dayEnd && !::testing::Test::HasFailure()) {
            step();
            for (const auto& [key, value] : expected_) ASSERT_EQ(read(key), value) << key;
        }
        sim_->windows.forgetClosed();
        sim_->idle.forgetBefore(sim_->now() - 3600);
        sim_->settings.writes.clear(), sim_->dialogs.shown.clear(), sim_->network.requested.clear();
    }

    std::uint64_t breaks = 0;

private:
    // A new process on the same settings store, launched.
    void restart() {
        auto next = std::make_unique<sim::SimPlatform>();
        if (sim_) {
            SCL::reset(sim_->platform());
            delegate_.reset();
            next->clock.uptime_ = sim_->now();
            next->settings.values = sim_->settings.values;
        }
        sim_ = std::move(next);
        sim_->random.seed(static_cast<std::uint32_t>(rng_()));
        sim_->dialogs.responder = [this](const AlertRequest& r) { return answer(r); };
        sim_->network.server = [this](const std::string&) { return serverReply(); };
        sim_->timers.afterFire = [this] { checkTimers(); };
        sim_->app.modalScript["Welcome to Tamsel"] = [this](Window&) {
            sim_->windows.last("AccessWindow")->perform("btnDone:");
        };
        SCL::reset(sim_->platform());
        inBreak_ = false, breakEnd_.reset();
        const bool first = settings::uid() == 0;
        delegate_ = std::make_unique<AppDelegate>();
        try {
            delegate_->applicationDidFinishLaunching();
        } catch (const sim::ExitCalled&) {  // the child lock's box cancelled
            return restart();
        }
        if (first)  // the defaults must hold from now on
            for (std::string_view key : kPrefKeys) expected_[std::string(key)] = read(key);
        closePreferences();  // a first launch opens them
    }

    void step() {
        const Rect a{0, 0, 1920, 1080}, b{-1440, 0, 1440, 900}, c{1920, 0, 1080, 1920};
        const std::vector<Rect> layouts[] = {{a}, {a, b}, {c, b, a}, {}};
        const int roll = pick(0, 999);
        auto breakWindows = sim_->windows.open("LockScreen");
        if (roll < 380) {
            work(pick(10, 2400));
        } else if (roll < 700) {
            sim_->advance(pick(5, 1800));
        } else if (roll < 760) {  // seconds to hours asleep: no timer runs meanwhile
            sim_->block(pick(0, 3) == 0 ? pick(3600, 36000) : pick(1, 900));
            sim_->advance(0);
        } else if (roll < 790) {
            sim_->screens.set(layouts[pick(0, 3)]);
        } else if (roll < 820) {
            preferences();
        } else if (roll < 880) {
            for (auto& w : breakWindows)
                if (auto& button = w->outlet("closeBtn"); !button.isHidden() && button.isEnabled())
                    return w->perform("closeButton:", "closeBtn");
        } else if (roll < 930) {
            sim_->statusBar.choose("skipBtn:");
        } else if (roll < 950) {
            if (!breakWindows.empty())
                breakWindows[pick(0, int(breakWindows.size()) - 1)]->mouseUp(pick(1, 3),
                                                                             pick(0, 1));
        } else if (roll < 960) {
            try {
                sim_->statusBar.choose("quitBtn:");
            } catch (const sim::ExitCalled& exit) {
                EXPECT_EQ(exit.status, 0);
                restart();
            }
        } else if (roll < 965) {
            restart();
        } else {
            sim_->advance(pick(1, 120));
        }
    }

    void work(int seconds) {
        using enum InputEvent;
        const InputEvent type =
            std::array{KeyUp, LeftMouseDown, RightMouseUp, MouseMoved, ScrollWheel}[pick(0, 4)];
        // Typing comes as separate key releases, the mouse as a stream.
        if (type == InputEvent::KeyUp)
            for (int t = 0; t < seconds; t += pick(1, 4)) sim_->idle.event(type, sim_->now() + t);
        else
            sim_->idle.activeFor(seconds, type);
        sim_->advance(seconds);
    }

    void preferences() {
        sim_->statusBar.choose("prefMenuBtn:");
        auto open = sim_->windows.open("PrefWindow");
        if (open.empty()) return;  // the password box was cancelled
        sim::SimWindowState& w = *open.back();
        w.outlet("stpWorkDurationE")
            .setIntegerValue(pick(nib::kWorkMinutesMin, nib::kWorkMinutesMax));
        w.perform("stpWorkDuration:", "stpWorkDurationE");
        w.outlet("stpBreakDurationEle")
            .setIntegerValue(pick(nib::kBreakMinutesMin, nib::kBreakMinutesMax));
        w.perform("stpBreakDuration:", "stpBreakDurationEle");
        w.outlet("lblSnooze").setState(pick(0, 1));
        w.outlet("lblHide").setState(pick(0, 1));
        w.perform("radGroupClicked:", pick(0, 1) ? "radAlways" : "radWhenHigh");
        w.outlet("dropdownOsdLocation").selectItem(pick(0, 5));
        const std::string typed = pick(0, 4) ? password_ : pick(0, 1) ? "" : "pw";
        const bool mismatch = pick(0, 9) == 0;
        w.outlet("txtNewPwd").setText(typed);
        w.outlet("txtConfirmPwd").setText(mismatch ? typed + "x" : typed);
        if (mismatch || pick(0, 4) == 0) {
            if (mismatch) w.perform("btnSaveClicked:");
            EXPECT_FALSE(w.closed) << "a refused save closed the window";
            return closePreferences();
        }
        w.perform("btnSaveClicked:");
        EXPECT_TRUE(w.closed);
        for (std::string_view key : kPrefKeys) expected_[std::string(key)] = read(key);
        expected_["txtNewPwd"] = password_ = typed;
    }

    void closePreferences() {
        auto open = sim_->windows.open("PrefWindow");
        if (!open.empty()) open.back()->perform("btnCloseClicked:");
    }

    AlertResponse answer(const AlertRequest& r) {
        if (pick(0, 19) == 0) sim_->advance(pick(1, 40));  // the user takes a while
        if (r.secureField) {
            const int roll = pick(0, 5);  // now and then Cancel, or a typo first
            return {kAlertFirstButtonReturn + (roll == 0), roll == 1 ? password_ + "?" : password_};
        }
        if (r.messageText == "Tamsel update") return {kAlertFirstButtonReturn + pick(0, 1), ""};
        return {kAlertFirstButtonReturn, ""};
    }

    sim::SimNetwork::Reply serverReply() {  // the last never in time
        const char* said[] = {"2.6", "2.7", "3", "<html>not found</html>", "", "2.7"};
        const int i = pick(0, 5);
        return {{i != 4, said[i], i == 4 ? "Connection refused" : ""}, i == 5 ? 60.0 : 0.2};
    }

    void checkTimers() {
        if (::testing::Test::HasFailure()) return;
        ASSERT_EQ(sim_->app.modalDepth, 0) << "a timer fired inside a modal dialog";
        // The monitor is paused exactly while a countdown runs.
        const bool pause = SCL::activityTimerPause;
        ASSERT_EQ(pause, SCL::lockTimer && SCL::lockTimer->isValid());
        breaks += pause && !inBreak_;
        // Time the main loop spent blocked (a dialog, a fetch, a sleep) does
        // not count: no timer could run then.
        const double running = sim_->now() - sim_->timers.blockedSeconds;
        if (!pause && inBreak_) breakEnd_ = running;
        inBreak_ = pause;
        if (!SCL::mainWindow || pause) return;
        // The work period is never full outside a break, and no break window
        // outlives its break by more than a focus tick.
        ASSERT_LT(SCL::progress, SCL::mainWindow->workDur);
        if (breakEnd_ && running - *breakEnd_ > 0.5 + 1e-6) {
            ASSERT_TRUE(sim_->windows.open("LockScreen").empty());
            breakEnd_.reset();
        }
        // The activity timer, a countdown, two break windows' two timers and
        // the odd mail timer: anything beyond is a leaked timer.
        ASSERT_LE(sim_->timers.validCount(), 8);
    }

    std::string read(std::string_view key) {
        return sim_->settings.stringForKey(key).value_or("<absent>");
    }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    std::mt19937 rng_;
    std::unique_ptr<sim::SimPlatform> sim_;
    std::unique_ptr<AppDelegate> delegate_;
    std::map<std::string, std::string> expected_;
    std::string password_;
    bool inBreak_ = false;
    std::optional<double> breakEnd_;
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

}  // namespace

TEST(Soak, RandomisedDaysKeepEveryInvariant) {
    const auto seed =
        static_cast<std::uint32_t>(envNumber("TAMSEL_SOAK_SEED", std::random_device{}()));
    const std::uint64_t days = envNumber("TAMSEL_SOAK_DAYS", 3000);
    std::printf("soak seed %u (replay with TAMSEL_SOAK_SEED=%u)\n", seed, seed);
    Soak soak(seed);
    for (std::uint64_t day = 0; day < days && !HasFailure(); ++day) soak.runDay();
    EXPECT_GT(soak.breaks, days) << "the run did exercise breaks";
}

}  // namespace tamsel::test
