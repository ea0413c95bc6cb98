#pragma once

// Desktops that only notify "no input for T seconds" (idled) and "input
// again" (resumed) answer no idle time by themselves: this turns their
// notifications into the seconds since the last input, on the uptime clock.
// Plain C++, so it is tested over virtual time.

#include <functional>
#include <optional>

namespace tamsel::qt {

class IdleTimeline {
public:
    // `uptime` reads the clock the notifications are timed on; `timeout` is
    // the T the desktop was asked to notify after, in seconds.
    IdleTimeline(std::function<double()> uptime, double timeout);

    // No input for `timeout` seconds, as of now.
    void idled();
    // Input, now.
    void resumed();
    // The desktop said how long it has been idle (a query, not an event).
    void seed(double idleSeconds);

    // 0 while input came within the timeout, and before any notification:
    // the idle time from before we asked is unknown, so the user counts as
    // active just now.
    double secondsSinceInput() const;

private:
    std::function<double()> uptime_;
    double timeout_;
    std::optional<double> lastInput_;  // set only while idle
};

}  // namespace tamsel::qt
