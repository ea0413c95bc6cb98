#include "platform/qt/idle/idle_timeline.h"

#include <algorithm>

namespace tamsel::qt {

IdleTimeline::IdleTimeline(std::function<double()> uptime, double timeout)
    : uptime_(std::move(uptime)), timeout_(timeout) {}

void IdleTimeline::idled() {
    lastInput_ = uptime_() - timeout_;
}

void IdleTimeline::resumed() {
    lastInput_.reset();
}

void IdleTimeline::seed(double idleSeconds) {
    // Below the timeout the idled notification comes when it is reached.
    if (idleSeconds >= timeout_)
        lastInput_ = uptime_() - idleSeconds;
    else
        lastInput_.reset();
}

double IdleTimeline::secondsSinceInput() const {
    return lastInput_ ? std::max(0.0, uptime_() - *lastInput_) : 0.0;
}

}  // namespace tamsel::qt
