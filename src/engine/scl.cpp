#include "engine/scl.h"

#include <algorithm>
#include <cassert>

#include "app/access_window.h"
#include "engine/history.h"
#include "engine/main_window.h"

namespace tamsel {

Platform SCL::platform_;
std::unique_ptr<MainWindow> SCL::mainWindow;
std::unique_ptr<AccessWindow> SCL::accessWindow;
std::unique_ptr<HistoryRecorder> SCL::history;
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
double SCL::pausedUntil = 0;
std::vector<EngineObserver*> SCL::observers_;

void SCL::reset(const Platform& platform) {
    // Timers first: their callbacks point into the controllers released below.
    if (activityTimer) activityTimer->invalidate();
    if (lockTimer) lockTimer->invalidate();
    activityTimer.reset();
    lockTimer.reset();
    mainWindow.reset();
    accessWindow.reset();
    // Writes its last seconds into the store it came with.
    history.reset();
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
    pausedUntil = 0;
    observers_.clear();
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

Status SCL::status() {
    Status s;
    s.pausedUntil = pausedUntil;
    if (mainWindow && mainWindow->isWindowLoaded()) {
        s.indicatorText = mainWindow->lblProgress().text();
        s.indicatorColor = mainWindow->lblProgress().textColor();
    }
    if (history) {
        s.todayActiveSeconds = history->todayActiveSeconds();
        s.todayBreaksTaken = history->todayBreaksTaken();
    }
    if (activityTimerPause) {
        s.state = State::Break;
        // A snoozed break is over as far as anyone can see.
        if (!breakSnoozed)
            s.breakSecondsLeft = std::max<std::int64_t>(lockDur - lockTicks, 0);
        return s;
    }
    if (pausedUntil > 0) {
        s.state = State::Paused;
    } else if (mainWindow && mainWindow->waitingFor != WaitReason::None) {
        s.state = State::Waiting;
        s.waitingFor = mainWindow->waitingFor;
    }
    if (mainWindow) s.secondsToBreak = mainWindow->secondsToBreak();
    return s;
}

void SCL::observe(EngineObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void SCL::forget(EngineObserver* observer) {
    std::erase(observers_, observer);
}

namespace {
// Over a copy, since an observer may come or go meanwhile; one that went
// (a window released by an earlier observer) is not called.
template <class Call>
void tell(const std::vector<EngineObserver*>& live, Call call) {
    const auto observers = live;
    for (EngineObserver* o : observers)
        if (std::find(live.begin(), live.end(), o) != live.end()) call(*o);
}
}  // namespace

void SCL::announce(const EngineEvent& event) {
    tell(observers_, [&](EngineObserver& o) { o.happened(event); });
}

void SCL::statusChanged() {
    const Status now = status();
    tell(observers_, [&](EngineObserver& o) { o.statusChanged(now); });
}

}  // namespace tamsel
