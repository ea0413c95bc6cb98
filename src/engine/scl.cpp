#include "engine/scl.h"

#include <cassert>

#include "app/access_window.h"
#include "engine/main_window.h"

namespace tamsel {

Platform SCL::platform_;
std::unique_ptr<MainWindow> SCL::mainWindow;
std::unique_ptr<AccessWindow> SCL::accessWindow;
TimerRef SCL::activityTimer;
bool SCL::activityTimerPause = false;
std::optional<double> SCL::activityTimerDt;
std::int64_t SCL::progress = 0;
TimerRef SCL::lockTimer;
std::optional<double> SCL::lockTimerDt;
std::int64_t SCL::lockTicks = 0;
std::int64_t SCL::lockDur = 0;
std::int64_t SCL::uid = 0;
bool SCL::breakSnoozed = false;
std::optional<double> SCL::lastSkipDate_;
std::optional<double> SCL::lastSnoozeDate_;

void SCL::reset(const Platform& platform) {
    // Timers first: their callbacks point into the controllers released below.
    if (activityTimer) activityTimer->invalidate();
    if (lockTimer) lockTimer->invalidate();
    activityTimer.reset();
    lockTimer.reset();
    mainWindow.reset();
    accessWindow.reset();
    platform_ = platform;
    activityTimerPause = false;
    activityTimerDt.reset();
    progress = 0;
    lockTimerDt.reset();
    lockTicks = 0;
    lockDur = 0;
    uid = 0;
    breakSnoozed = false;
    lastSkipDate_.reset();
    lastSnoozeDate_.reset();
}

const Platform& SCL::platform() {
    assert(platform_.clock && "SCL::reset() installs the platform first");
    return platform_;
}

double& SCL::lastSkipDate() {
    if (!lastSkipDate_) lastSkipDate_ = longAgo();
    return *lastSkipDate_;
}

double& SCL::lastSnoozeDate() {
    if (!lastSnoozeDate_) lastSnoozeDate_ = longAgo();
    return *lastSnoozeDate_;
}

std::int64_t SCL::snoozeMarker() {
    return lockDur < 1000 ? kSnoozeMarker : lockDur + kSnoozeMarker;
}

}  // namespace tamsel
