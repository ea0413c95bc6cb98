#pragma once

// Where the idle time comes from: the compositor's Wayland protocols, the
// desktop over D-Bus, the X server, or the macOS event system.
// makeIdleSource() tries them in order and keeps the first that works.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/platform.h"

class QDBusConnection;
class QObject;

namespace tamsel::qt {

// The source this desktop offers. Until one works, and while none does, the
// user counts as active (so reminders keep coming); a session where none
// worked tries again, at most once a minute, when the activity tick asks.
// Prints the choice once on stderr. `clock` (its uptime) times the
// desktop's notifications and must outlive the source.
std::unique_ptr<IdleSource> makeIdleSource(Clock& clock);

// Empty while idle time works; else one plain sentence saying why it does not.
std::string idleProblem();

// Which source answers and why the others do not, e.g. for a setup check.
struct IdleSourceStatus {
    std::string inUse;                 // e.g. "ext-idle-notify-v1"; empty: none
    std::vector<std::string> notUsed;  // "org_kde_kwin_idle: not needed, …"
};
IdleSourceStatus idleSourceStatus();

// A desktop that reports one idle time for all input answers it for every
// event type. A tick asks up to five times in a row: one query serves them.
class CombinedIdleSource : public IdleSource {
public:
    double secondsSinceLastEvent(InputEvent type) override;

    // Seconds since the last input of any kind; empty when the desktop did
    // not answer. Never waits for the desktop.
    virtual std::optional<double> query() = 0;
    // Names the source in messages, e.g. "ext-idle-notify-v1".
    virtual std::string name() const = 0;

    // A source that must ask the desktop first is Asking until it knows;
    // one that stops for good (its connection broke) turns Failed.
    enum class State { Asking, Working, Failed };
    State state() const { return state_; }
    // Why it is Failed, in a few plain words.
    const std::string& whyNot() const { return whyNot_; }
    // Told every change of state, on the event loop.
    void onStateChange(std::function<void()> changed) { changed_ = std::move(changed); }

protected:
    void settle(State state, std::string whyNot = {});

private:
    std::chrono::steady_clock::time_point queriedAt_{};
    bool hasAnswer_ = false;
    double answer_ = 0;
    bool failureReported_ = false;
    State state_ = State::Working;
    std::string whyNot_;
    std::function<void()> changed_;
};

// One source to try: its name for messages, and how to make it.
struct IdleCandidate {
    std::string name;
    std::function<std::unique_ptr<CombinedIdleSource>()> make;
};

// The chain behind makeIdleSource(), over any candidates: asks them in order
// without waiting, and answers from the first that works.
class IdleChain : public IdleSource {
public:
    IdleChain(std::vector<IdleCandidate> order, Clock& clock);
    ~IdleChain() override;
    double secondsSinceLastEvent(InputEvent type) override;
    // Tries every candidate again, from the first.
    void start();
    bool asking() const;
    // Told once each time the chain settles, on a source or on none.
    void onSettled(std::function<void()> settled) { settled_ = std::move(settled); }

private:
    void tryNext();
    void changed();
    void settleOn(bool found);

    std::vector<IdleCandidate> order_;
    Clock& clock_;
    std::size_t next_ = 0;
    std::unique_ptr<CombinedIdleSource> current_;
    std::vector<std::string> notUsed_;
    std::optional<double> startedAt_;
    bool asking_ = false;
    bool everFound_ = false;
    std::string lastInUse_;
    std::function<void()> settled_;
    std::unique_ptr<QObject> context_;  // queued calls die with the chain
};

// The sources. A source that cannot work here is Failed from the start.
std::unique_ptr<CombinedIdleSource> failedIdleSource(std::string name, std::string whyNot);
std::unique_ptr<CombinedIdleSource> makeX11IdleSource();
std::unique_ptr<CombinedIdleSource> makeWaylandIdleSource(Clock& clock);
// GNOME's idle monitor, asked only when its bus name belongs to the process
// `compositorPid` (0: unknown, refused).
std::unique_ptr<CombinedIdleSource> makeMutterIdleSource(const QDBusConnection& bus,
                                                         pid_t compositorPid, Clock& clock);
std::unique_ptr<CombinedIdleSource> makeScreenSaverIdleSource(const QDBusConnection& bus,
                                                              Clock& clock);
std::unique_ptr<IdleSource> makeMacIdleSource();
// The compositor's process behind $WAYLAND_DISPLAY; 0 when there is none.
pid_t waylandCompositorPid();

// Idle times longer than the machine has been up are lies or garbage.
bool plausibleIdleSeconds(double seconds, Clock& clock);

}  // namespace tamsel::qt
