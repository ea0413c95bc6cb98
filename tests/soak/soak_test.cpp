// Months of use in a few minutes: the whole application, launch included,
// on the simulated platform through thousands of randomised days, with the
// invariants checked after every timer firing and every user action.
//
//   TAMSEL_SOAK_SEED=<n>  replays one run
//   TAMSEL_SOAK_DAYS=<n>  how many days (default 10000)

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "common/nibs.h"
#include "app/app_delegate.h"
#include "engine/main_window.h"
#include "engine/scl.h"
#include "lockscreen/lock_screen.h"
#include "prefs/pref_window.h"
#include "sim/sim_platform.h"

namespace tamsel::test {

namespace {

using sim::SimPlatform;

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

constexpr std::string_view kPrefKeys[] = {
    "stpWorkDuration", "stpBreakDuration", "lblSnooze",          "lblHide",
    "txtNewPwd",       "radWhenHigh",      "dropdownOsdLocation"};

class Soak {
public:
    explicit Soak(std::uint32_t seed) : rng_(seed) {
        fresh();
        launch();
    }
    ~Soak() { SCL::reset(sim_->platform()); }

    void runDay() {
        const double dayEnd = sim_->now() + 86400.0;
        while (sim_->now() < dayEnd && !::testing::Test::HasFailure()) {
            step();
            ++events;
            checkSettings();
        }
        ++days;
        tidy();
    }

    std::uint64_t days = 0, events = 0, checks = 0, breaks = 0, snoozes = 0, skips = 0, saves = 0,
                  versionChecks = 0, launches = 0, exits = 0, timerFirings = 0;

private:
    // ---- the world -------------------------------------------------------------

    // A new process on the same settings store.
    void fresh() {
        std::map<std::string, sim::SimSettings::Value, std::less<>> kept;
        if (sim_) kept = sim_->settings.values;
        if (sim_) {
            SCL::reset(sim_->platform());
            delegate_.reset();
        }
        auto next = std::make_unique<SimPlatform>();
        if (sim_) {
            next->clock.uptime_ = sim_->now();
            timerFirings += sim_->timers.firings;
        }
        sim_ = std::move(next);
        sim_->settings.values = std::move(kept);
        sim_->random.seed(static_cast<std::uint32_t>(rng_()));
        sim_->screens.list = {{0, 0, 1920, 1080}};
        sim_->dialogs.responder = [this](const AlertRequest& r) { return answer(r); };
        sim_->network.server = [this](const std::string&) { return serverReply(); };
        sim_->timers.afterFire = [this] { checkTimers(); };
        SCL::reset(sim_->platform());
        pauseSince_.reset();
        breakEnd_.reset();
    }

    void launch() {
        ++launches;
        const bool first = sim_->settings.integerForKey("uid") == 0;
        // The welcome window's Done button ends its modal run.
        sim_->app.modalScript["Welcome to Tamsel"] = [this](Window&) {
            if (auto w = sim_->windows.last("AccessWindow")) w->perform("btnDone:");
        };
        passwordIntent_ = Intent::Right;
        delegate_ = std::make_unique<AppDelegate>();
        try {
            delegate_->applicationDidFinishLaunching();
        } catch (const sim::ExitCalled&) {
            ADD_FAILURE() << "launch ended although the right password was given";
        }
        if (first) {
            expected_.clear();
            expected_["stpWorkDuration"] = "30";
            expected_["stpBreakDuration"] = "2";
            expected_["lblSnooze"] = "1";
            expected_["lblHide"] = "0";
            expected_["txtNewPwd"] = "";
            expected_["radWhenHigh"] = "0";
            expected_["dropdownOsdLocation"] = "1";
            password_.clear();
            // The first launch opens the preferences; leave them.
            closePreferences();
        }
        EXPECT_NE(sim_->settings.integerForKey("uid"), 0);
    }

    // ---- the user -----------------------------------------------------------------

    enum class Intent { Right, WrongThenRight, Cancel };

    void step() {
        const int roll = pick(0, 999);
        lastEvent_ = roll;
        char line[160];
        std::snprintf(line, sizeof line, "t=%.1f roll=%d pause=%d ticks=%lld dur=%lld open=%zu",
                      sim_->now(), roll, int(SCL::activityTimerPause), (long long)SCL::lockTicks,
                      (long long)SCL::lockDur, sim_->windows.open("LockScreen").size());
        trace_.push_back(line);
        if (trace_.size() > 12) trace_.erase(trace_.begin());
        if (roll < 380) {
            work(pick(10, 2400));
        } else if (roll < 700) {
            idle(pick(5, 1800));
        } else if (roll < 760) {
            sleep();
        } else if (roll < 790) {
            changeScreens();
        } else if (roll < 820) {
            preferences();
        } else if (roll < 880) {
            snooze();
        } else if (roll < 930) {
            skip();
        } else if (roll < 950) {
            doubleClick();
        } else if (roll < 960) {
            quit();
        } else if (roll < 965) {
            restart();
        } else {
            advance(pick(1, 120));
        }
    }

    void work(int seconds) {
        static constexpr InputEvent kTypes[] = {InputEvent::KeyUp, InputEvent::LeftMouseDown,
                                                InputEvent::RightMouseUp, InputEvent::MouseMoved,
                                                InputEvent::ScrollWheel};
        const InputEvent type = kTypes[pick(0, 4)];
        // Typing comes as separate key releases, the mouse as a stream.
        if (type == InputEvent::KeyUp) {
            for (int t = 0; t < seconds; t += pick(1, 4)) sim_->idle.event(type, sim_->now() + t);
        } else {
            sim_->idle.activeFor(seconds, type);
        }
        advance(seconds);
    }

    void idle(int seconds) { advance(seconds); }

    void sleep() {
        // Seconds to hours with the machine asleep: no timer runs meanwhile.
        const double seconds = pick(0, 3) == 0 ? pick(3600, 36000) : pick(1, 900);
        sim_->block(seconds);
        advance(0);
    }

    void changeScreens() {
        static const std::vector<std::vector<Rect>> layouts = {
            {{0, 0, 1920, 1080}},
            {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}},
            {{0, 0, 2560, 1440}, {-1920, 0, 1920, 1080}, {2560, 0, 1080, 1920}},
            {},
        };
        sim_->screens.set(layouts[pick(0, static_cast<int>(layouts.size()) - 1)]);
        advance(0);
    }

    void preferences() {
        passwordIntent_ = static_cast<Intent>(pick(0, 2));
        sim_->statusBar.choose("prefMenuBtn:");
        auto w = openWindow("PrefWindow");
        if (!w) return;  // the password box was cancelled
        w->outlet("stpWorkDurationE").setIntegerValue(pick(nib::kWorkMinutesMin, nib::kWorkMinutesMax));
        w->perform("stpWorkDuration:", "stpWorkDurationE");
        w->outlet("stpBreakDurationEle").setIntegerValue(pick(nib::kBreakMinutesMin, nib::kBreakMinutesMax));
        w->perform("stpBreakDuration:", "stpBreakDurationEle");
        w->outlet("lblSnooze").setState(pick(0, 1));
        w->outlet("lblHide").setState(pick(0, 1));
        w->perform("radGroupClicked:", pick(0, 1) ? "radAlways" : "radWhenHigh");
        w->outlet("dropdownOsdLocation").selectItem(pick(0, 5));
        const int passwordChoice = pick(0, 9);
        std::string newPassword = password_;
        if (passwordChoice == 0) newPassword.clear();
        if (passwordChoice == 1) newPassword = "pw" + std::to_string(pick(0, 99));
        w->outlet("txtNewPwd").setText(newPassword);
        const bool mismatch = pick(0, 9) == 0;
        w->outlet("txtConfirmPwd").setText(mismatch ? newPassword + "x" : newPassword);
        if (pick(0, 4) == 0) {
            w->perform("btnCloseClicked:");
            return;
        }
        w->perform("btnSaveClicked:");
        if (mismatch) {
            EXPECT_FALSE(w->closed) << "a refused save closed the window";
            closePreferences();
            return;
        }
        ++saves;
        EXPECT_TRUE(w->closed);
        EXPECT_FALSE(SCL::activityTimerPause && SCL::progress != 0);
        for (std::string_view key : kPrefKeys) expected_[std::string(key)] = read(key);
        expected_["txtNewPwd"] = newPassword;
        password_ = newPassword;
    }

    void closePreferences() {
        if (auto w = openWindow("PrefWindow")) w->perform("btnCloseClicked:");
    }

    void snooze() {
        for (auto& w : sim_->windows.open("LockScreen")) {
            sim::SimControl& button = w->outlet("closeBtn");
            if (button.isHidden() || !button.isEnabled()) continue;
            w->perform("closeButton:", "closeBtn");
            ++snoozes;
            return;
        }
    }

    void skip() {
        passwordIntent_ = static_cast<Intent>(pick(0, 2));
        const auto before = SCL::lastSkipDate();
        sim_->statusBar.choose("skipBtn:");
        if (SCL::lastSkipDate() != before) ++skips;
    }

    void doubleClick() {
        auto open = sim_->windows.open("LockScreen");
        if (!open.empty())
            open[pick(0, static_cast<int>(open.size()) - 1)]->mouseUp(pick(1, 3), pick(0, 1));
    }

    void quit() {
        passwordIntent_ = static_cast<Intent>(pick(0, 2));
        try {
            sim_->statusBar.choose("quitBtn:");
        } catch (const sim::ExitCalled& exit) {
            EXPECT_EQ(exit.status, 0);
            ++exits;
            restart();
        }
    }

    void restart() {
        fresh();
        launch();
    }

    void advance(double seconds) { sim_->advance(seconds); }

    // ---- what the world answers ------------------------------------------------------

    AlertResponse answer(const AlertRequest& r) {
        // Now and then the user takes a while: time passes, no timer fires.
        if (pick(0, 19) == 0) sim_->advance(pick(1, 40));
        if (r.secureField) {
            switch (passwordIntent_) {
                case Intent::Right: return {kAlertFirstButtonReturn, password_};
                case Intent::Cancel: return {kAlertFirstButtonReturn + 1, ""};
                case Intent::WrongThenRight:
                    passwordIntent_ = Intent::Right;
                    return {kAlertFirstButtonReturn, password_ + "?"};
            }
        }
        if (r.messageText == "Tamsel update") return {kAlertFirstButtonReturn + pick(0, 1), ""};
        return {kAlertFirstButtonReturn, ""};
    }

    sim::SimNetwork::Reply serverReply() {
        ++versionChecks;
        switch (pick(0, 4)) {
            case 0: return {{true, "2.6", ""}, 0.2};
            case 1: return {{true, pick(0, 1) ? "2.7" : "3", ""}, 0.3};
            case 2: return {{false, "", "Connection refused"}, 0.01};
            case 3: return {{true, "<html>not found</html>", ""}, 0.5};
            default: return {{true, "2.7", ""}, 60.0};  // never in time
        }
    }

    // ---- invariants ------------------------------------------------------------------

    void checkTimers() {
        if (::testing::Test::HasFailure()) return;
        ++checks;
        const bool pause = SCL::activityTimerPause;
        const bool countdown = SCL::lockTimer && SCL::lockTimer->isValid();
        ASSERT_EQ(pause, countdown) << "the monitor is paused exactly while a countdown runs";
        const double now = sim_->now();
        if (pause && !pauseSince_) {
            pauseSince_ = now;
            ++breaks;
        }
        if (!pause && pauseSince_) {
            pauseSince_.reset();
            breakEnd_ = now;
            blockedAtEnd_ = sim_->timers.blockedSeconds;
        }
        MainWindow* engine = SCL::mainWindow.get();
        if (!engine) return;
        if (!pause) {
            ASSERT_LT(SCL::progress, engine->workDur)
                << "progress reached the work period outside a break";
            // Time the main loop spent blocked (a dialog, a fetch, a sleep)
            // does not count against the window: no timer could run then.
            const double running =
                !breakEnd_ ? 0 : now - *breakEnd_ - (sim_->timers.blockedSeconds - blockedAtEnd_);
            if (breakEnd_ && running > 0.5 + 1e-6) {
                ASSERT_TRUE(sim_->windows.open("LockScreen").empty())
                    << "a break window outlived its break by more than a focus tick: ended at "
                    << *breakEnd_ << ", now " << now << ", lockTicks " << SCL::lockTicks
                    << ", lockDur " << SCL::lockDur << ", open "
                    << sim_->windows.open("LockScreen").size() << ", last event " << lastEvent_
                    << "\n"
                    << [this] {
                           std::string all;
                           for (auto& l : trace_) all += l + "\n";
                           return all;
                       }();
                breakEnd_.reset();
            }
        }
        // The activity timer, one countdown, two break windows' two timers and
        // the odd mail timer: anything beyond is a leaked timer.
        ASSERT_LE(sim_->timers.validCount(), 8);
    }

    void checkSettings() {
        ++checks;
        for (const auto& [key, value] : expected_)
            ASSERT_EQ(read(key), value) << "setting " << key << " is not what was saved";
    }

    std::string read(std::string_view key) {
        return sim_->settings.stringForKey(key).value_or("<absent>");
    }

    std::shared_ptr<sim::SimWindowState> openWindow(std::string_view nibName) {
        auto open = sim_->windows.open(nibName);
        return open.empty() ? nullptr : open.back();
    }

    void tidy() {
        sim_->windows.forgetClosed();
        sim_->idle.forgetBefore(sim_->now() - 3600);
        sim_->settings.writes.clear();
        sim_->dialogs.shown.clear();
        sim_->network.fetched.clear();
        sim_->network.requested.clear();
        sim_->console.lines.clear();
        sim_->idle.asked.clear();
        sim_->random.bounds.clear();
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    std::mt19937 rng_;
    std::unique_ptr<SimPlatform> sim_;
    std::unique_ptr<AppDelegate> delegate_;
    std::map<std::string, std::string> expected_;
    std::string password_;
    Intent passwordIntent_ = Intent::Right;
    std::optional<double> pauseSince_;
    std::optional<double> breakEnd_;
    double blockedAtEnd_ = 0;
    int lastEvent_ = 0;
    std::vector<std::string> trace_;
};

}  // namespace

TEST(Soak, TenThousandDaysKeepEveryInvariant) {
    const auto seed = static_cast<std::uint32_t>(
        envNumber("TAMSEL_SOAK_SEED", static_cast<std::uint64_t>(std::random_device{}())));
    const std::uint64_t days = envNumber("TAMSEL_SOAK_DAYS", 10000);
    std::printf("soak seed %u (replay with TAMSEL_SOAK_SEED=%u)\n", seed, seed);
    const auto started = std::chrono::steady_clock::now();
    Soak soak(seed);
    for (std::uint64_t d = 0; d < days && !HasFailure(); ++d) soak.runDay();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "soak: %llu days, %llu events, %llu invariant checks, %llu breaks, %llu snoozes, %llu "
        "skips,"
        " %llu saves, %llu version checks, %llu launches (%llu by Quit), %.1f s\n",
        (unsigned long long)soak.days, (unsigned long long)soak.events,
        (unsigned long long)soak.checks, (unsigned long long)soak.breaks,
        (unsigned long long)soak.snoozes, (unsigned long long)soak.skips,
        (unsigned long long)soak.saves, (unsigned long long)soak.versionChecks,
        (unsigned long long)soak.launches, (unsigned long long)soak.exits, seconds);
    if (HasFailure()) std::printf("FAILED with seed %u\n", seed);
    EXPECT_EQ(soak.days, days);
    EXPECT_GT(soak.breaks, days);  // the run did exercise breaks
}

}  // namespace tamsel::test
