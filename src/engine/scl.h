#pragma once

// Process-wide state and the shared services. Everything here is touched on
// the main loop only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform.h"
#include "common/translate.h"
#include "common/version.h"
#include "engine/settings.h"
#include "engine/status.h"

namespace tamsel {

class MainWindow;
class AccessWindow;
class HistoryRecorder;

// The value a closing break window writes into lockTicks for breaks shorter
// than 1000 s: at least the break's length, so the countdown stops at its
// next tick.
inline constexpr std::int64_t kSnoozeMarker = 1001;

class SCL {
public:
    SCL() = delete;

    // Installs the platform and puts every static back to its initial value.
    // The composition root calls it once; every test fixture calls it first.
    static void reset(const Platform& platform);
    static const Platform& platform();
    // The installed translator, if any: texts may be built before the rest
    // of the platform is there (none: English).
    static Translator* translator() { return platform_.translator; }
    static SettingsStore& defaults() { return *platform().settings; }
    // The engine's instants (tick times, the last skip and snooze) are on
    // the uptime clock, so setting the system clock moves no interval.
    static double now() { return platform().clock->uptime(); }
    static double timeIntervalSinceNow(double date) { return date - now(); }
    // The wall clock: only for what a person reads or what outlives a
    // reboot (the end of a pause).
    static double wallClock() { return platform().clock->now(); }

    static std::unique_ptr<MainWindow> mainWindow;
    static std::unique_ptr<AccessWindow> accessWindow;
    // What the history keeps; none until the launch has passed the gate.
    static std::unique_ptr<HistoryRecorder> history;
    static TimerRef activityTimer;
    static bool activityTimerPause;
    static std::optional<double> activityTimerDt;
    static std::int64_t progress;
    static TimerRef lockTimer;
    static std::optional<double> lockTimerDt;
    static std::int64_t lockTicks;
    static std::int64_t lockDur;
    static std::int64_t uid;
    // Set by the snooze button only, cleared when a break starts. The count
    // cannot tell a snooze from the end of a break: every closing window
    // writes the marker, and a length saved during the break moves any
    // threshold. Every screen's window and the countdown ask this instead.
    static bool breakSnoozed;
    // Both start 6000 s before their first read, so the first skip and the
    // first snooze of a run are always allowed.
    static double& lastSkipDate();
    static double& lastSnoozeDate();
    // Wall-clock second the pause ends; 0: not paused (settings::pausedUntil).
    static double pausedUntil;

    // Where things stand, derived from the statics and the engine.
    static Status status();
    // The one place the engine's moments and changes are heard from.
    static void observe(EngineObserver* observer);
    static void forget(EngineObserver* observer);
    static void announce(const EngineEvent& event);
    static void statusChanged();

    // An instant far enough back to lift the snooze and skip limits.
    static double longAgo() { return now() - 6000.0; }

    // What a closing break window writes into lockTicks: the plain marker,
    // or above the length of a break of 1000 s or more.
    static std::int64_t snoozeMarker();

    // Dialogs and the child-lock gate.
    static void showAlert(const std::string& message, const std::string& title = "");
    static std::string showInputBox(const std::string& message, const std::string& question);
    static bool isPwdOk(
        const std::string& prompt = QT_TRANSLATE_NOOP("Tamsel", "Please enter your password"));

    // Open the manual, or a web address, in the user's application for it.
    // Where none can, an alert says where it is, so the user can open it.
    static void openManual();
    static void openWebAddress(const std::string& url);

    // Reports a usage event to the maker's server, fire and forget.
    static void logFunc(const std::string& evtname, const std::string& evtval,
                        const std::string& notes);

private:
    static Platform platform_;
    static std::optional<double> lastSkipDate_;
    static std::optional<double> lastSnoozeDate_;
    static std::vector<EngineObserver*> observers_;
};

}  // namespace tamsel
