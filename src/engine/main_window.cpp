#include "engine/main_window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "common/nibs.h"
#include "common/translate.h"
#include "engine/history.h"
#include "engine/local_clock.h"
#include "engine/scl.h"
#include "engine/version_check.h"
#include "lockscreen/lock_screen.h"

namespace tamsel {

namespace {

constexpr double kActivityInterval = 5.0;
constexpr double kLockInterval = 1.0;
constexpr double kIdleThreshold = 5.0;
constexpr double kActivityGap = 20.0;
constexpr double kLockGap = 3.0;
constexpr std::uint32_t kVersionDrawBound = 34560;
constexpr std::uint32_t kVersionDrawHit = 40;
// The heads-up goes out a minute of work before the break, and only for
// work periods of 3 minutes (135 progress units) or more.
constexpr std::int64_t kHeadsUpLead = 60;
constexpr std::int64_t kHeadsUpShortestPeriod = 3 * 45;
// A pause sign every font of ours has (U+2016, double vertical line), then
// when the pause ends.
constexpr const char* kPauseSign = "\u2016 ";
// A break that waited starts this long after the last reason to wait ends.
constexpr double kAfterWait = 30.0;
// A clock-like sign every font of ours has (U+25F7), then what the break
// waits for.
constexpr const char* kWaitSign = "\u25F7 ";

// Asked in this order; the first active type ends the sample.
constexpr std::array kSampledEvents = {InputEvent::KeyUp, InputEvent::LeftMouseDown,
                                       InputEvent::RightMouseUp, InputEvent::MouseMoved,
                                       InputEvent::ScrollWheel};

}  // namespace

MainWindow::MainWindow() : WindowController(nib::kMainWindow), versionCheck(runVersionCheck) {}

MainWindow::~MainWindow() {
    if (waitEndTimer_) waitEndTimer_->invalidate();
}

void MainWindow::windowDidLoad() {
    Window* w = window();
    w->setTitle(std::string(nib::kMainWindowTitle));
    w->setIgnoresMouseEvents(true);
    w->setOpaque(false);
    w->setBackgroundColor({0.5, 0.5, 0.5, 0.0});
    // Twice on purpose, in the order the window definition gives: the last one stays.
    w->setLevel(WindowLevel::Floating);
    w->setLevel(WindowLevel::Maximum);
    placeWindow();
    // A pause stored by an earlier run holds until its time.
    SCL::pausedUntil = settings::pausedUntil(SCL::wallClock());
    SCL::activityTimerDt = SCL::now();
    SCL::activityTimer =
        SCL::platform().timers->schedule(kActivityInterval, true, [this] { activityTimerEvent(); });
    activityTimerEvent();
    SCL::platform().screens->observeChanges([this] {
        placeWindow();
        followScreens();
    });
    const Platform& p = SCL::platform();
    for (BusySource* source : {p.camera, p.microphone, p.fullScreen, p.doNotDisturb})
        if (source)
            source->observe([] {
                if (SCL::mainWindow) SCL::mainWindow->followSources();
            });
}

void MainWindow::placeWindow() {
    Window* w = window();
    Screens& screens = *SCL::platform().screens;
    std::optional<Rect> main = screens.mainScreen();
    if (w && main) {
        // Clear of the panels: the corners of the desktop's work area.
        const Rect s = screens.workArea(*main);
        const Rect f = w->frame();
        const double top = s.y + s.height - f.height - 20;
        const double centre = s.x + (s.width - f.width) / 2;
        const double right = s.x + s.width - f.width;
        double x = right, y = s.y;
        switch (settings::corner()) {
            case Corner::TopLeft: x = s.x, y = top; break;
            case Corner::TopCentre: x = centre, y = top; break;
            case Corner::TopRight: x = right, y = top; break;
            case Corner::BottomLeft: x = s.x; break;
            case Corner::BottomCentre: x = centre; break;
            case Corner::BottomRight: break;
        }
        w->setFrame({x, y, f.width, f.height}, true);
    }
    // Minutes × 60 × 0.75, truncated toward zero.
    workDur = static_cast<std::int64_t>(static_cast<double>(settings::workMinutes()) * 60.0 * 0.75);
    SCL::lockDur = settings::breakMinutes() * 60;
    showOnHigh = settings::onlyWhenNear() ? 1 : 0;
    watchSources();
}

void MainWindow::activityTimerEvent() {
    if (SCL::activityTimerPause) return;
    if (SCL::pausedUntil > 0) {
        // No sampling, no stored tick time: the end works as after sleep.
        if (SCL::wallClock() < SCL::pausedUntil) {
            drawIndicator();
            SCL::statusChanged();
            return;
        }
        endPause(false);
    }
    // The period started again (a skip, saved preferences): nothing waits.
    if (held() && SCL::progress < workDur) endHold();
    if (held()) {
        heldTick();
        endTick();
        return;
    }
    // Asked every tick, also when no break is near: a source may use the
    // tick for a cheap look of its own.
    const WaitReason busyNow = busyReason();

    bool active = false;
    for (InputEvent type : kSampledEvents) {
        if (SCL::platform().idle->secondsSinceLastEvent(type) < kIdleThreshold) {
            active = true;
            break;
        }
    }
    if (SCL::history) SCL::history->sample(active, kActivityInterval);

    if (active) {
        if (didProgressIncreaseLast) SCL::progress += 5;
        didProgressIncreaseLast = true;
    } else {
        if (!didProgressIncreaseLast) SCL::progress = std::max<std::int64_t>(SCL::progress - 10, 0);
        didProgressIncreaseLast = false;
    }

    if (!SCL::activityTimerDt || SCL::timeIntervalSinceNow(*SCL::activityTimerDt) < -kActivityGap)
        SCL::progress = 0;
    SCL::activityTimerDt = SCL::now();

    // A period that starts from nothing gets its own heads-up.
    if (SCL::progress <= 0) headsUpSent = false;
    if (SCL::progress >= workDur && busyNow != WaitReason::None) {
        // Not now: the break waits, and is never lost.
        SCL::progress = workDur;
        waitingFor = busyNow;
        SCL::announce({EngineEvent::Kind::Waiting, BreakCause::Due, 0, false, busyNow});
    } else if (SCL::progress >= workDur) {
        startBreak(BreakCause::Due);
    } else if (busyNow == WaitReason::None) {
        sendHeadsUpWhenNear();
    }
    endTick();
}

void MainWindow::endTick() {
    drawIndicator();
    SCL::statusChanged();

    if (SCL::platform().random->uniform(kVersionDrawBound) == kVersionDrawHit && versionCheck)
        versionCheck();
}

void MainWindow::drawIndicator() {
    Control& label = lblProgress();
    std::string text;
    Color colour{0, 0, 0, showOnHigh == 0 ? 0.5 : 0.0};
    if (SCL::pausedUntil > 0 && !SCL::activityTimerPause) {
        // Shown whatever the visibility choice: a pause is easily forgotten.
        text = kPauseSign + localClockText(SCL::pausedUntil, SCL::wallClock());
        colour = {0, 0, 0, 0.5};
    } else if (waitingFor != WaitReason::None && !SCL::activityTimerPause) {
        text = kWaitSign + translate("Tamsel", waitReasonName(waitingFor));
        colour = {1, 0, 0, 0.7};
    } else {
        text = barText();
        if (text.size() / charBlock.size() >= 9) colour = {1, 0, 0, 0.7};
    }
    if (text != label.text()) {
        label.setTextColor(colour);
        label.setText(text);
    }
}

void MainWindow::sendHeadsUpWhenNear() {
    if (headsUpSent || workDur < kHeadsUpShortestPeriod || SCL::progress < workDur - kHeadsUpLead)
        return;
    headsUpSent = true;
    if (!settings::headsUp()) return;
    if (Notifier* notifier = SCL::platform().notifier)
        notifier->notify("Tamsel", translate("Tamsel", "A break in about a minute"));
    SCL::announce({EngineEvent::Kind::HeadsUp});
}

bool MainWindow::breakNow() {
    if (SCL::activityTimerPause) return false;
    // The path a complete work period takes.
    startBreak(BreakCause::TakenNow);
    drawIndicator();
    SCL::statusChanged();
    return true;
}

void MainWindow::pauseUntil(double wallSeconds) {
    const double now = SCL::wallClock();
    const long long until = std::llround(std::min(wallSeconds, now + kLongestPause));
    SCL::pausedUntil = static_cast<double>(until);
    SCL::defaults().setInteger(key::pausedUntil, until);
    SCL::progress = 0;
    headsUpSent = false;
    endHold();
    SCL::announce({EngineEvent::Kind::Paused, BreakCause::Due, SCL::pausedUntil - now});
    drawIndicator();
    SCL::statusChanged();
}

void MainWindow::resume() {
    if (SCL::pausedUntil > 0) endPause(true);
    activityTimerEvent();
    SCL::statusChanged();
}

void MainWindow::endPause(bool early) {
    SCL::pausedUntil = 0;
    SCL::defaults().setInteger(key::pausedUntil, 0);
    SCL::progress = 0;
    SCL::announce({EngineEvent::Kind::Resumed, BreakCause::Due, 0, early});
}

void MainWindow::startBreak(BreakCause cause) {
    endHold();
    SCL::activityTimerPause = true;
    coverScreens();
    SCL::lockTicks = 0;
    SCL::breakSnoozed = false;
    SCL::lockTimerDt = SCL::now();
    if (SCL::lockTimer) SCL::lockTimer->invalidate();
    SCL::lockTimer =
        SCL::platform().timers->schedule(kLockInterval, true, [this] { lockTimerEvent(); });
    SCL::progress = 0;
    SCL::announce({EngineEvent::Kind::BreakStarted, cause});
    if (Sounds* sounds = SCL::platform().sounds; sounds && settings::sound()) sounds->play("bell");
}

void MainWindow::coverScreens() {
    Screens& screens = *SCL::platform().screens;
    const std::vector<Rect> list = screens.screens();
    lockScreen.reset();
    lockScreen1.reset();
    moreLockScreens.clear();
    if (list.size() <= 1) {
        lockScreen = std::make_unique<LockScreen>();
        // No screen at all: the countdown still runs and ends the break.
        if (std::optional<Rect> main = screens.mainScreen()) lockScreen->screenFrame = *main;
        lockScreen->showWindow();
        return;
    }
    lockScreen = std::make_unique<LockScreen>();
    lockScreen->screenFrame = list[0];
    lockScreen->showWindow();
    lockScreen1 = std::make_unique<LockScreen>();
    lockScreen1->screenFrame = list[1];
    lockScreen1->isFirst = false;
    lockScreen1->showWindow();
    // Screens after the second get no break window unless the user asked.
    if (!settings::allScreens()) return;
    for (std::size_t i = 2; i < list.size(); ++i) {
        auto more = std::make_unique<LockScreen>();
        more->screenFrame = list[i];
        more->isFirst = false;
        more->showWindow();
        moreLockScreens.push_back(std::move(more));
    }
}

// With every screen covered, the break windows follow the screens while the
// break runs: a screen that goes takes its window along, one that comes is
// covered at once.
void MainWindow::followScreens() {
    if (!SCL::activityTimerPause || !settings::allScreens()) return;
    // Ending anyway: the windows close themselves.
    if (SCL::lockTicks >= SCL::lockDur || SCL::breakSnoozed) return;
    const std::vector<Rect> list = SCL::platform().screens->screens();
    std::vector<std::unique_ptr<LockScreen>> windows;
    for (auto* slot : {&lockScreen, &lockScreen1})
        if (*slot) windows.push_back(std::move(*slot));
    for (auto& more : moreLockScreens) windows.push_back(std::move(more));
    moreLockScreens.clear();

    auto covers = [](const auto& w, const Rect& frame) { return w->screenFrame == frame; };
    std::erase_if(windows, [&](const auto& w) {
        if (std::any_of(list.begin(), list.end(), [&](const Rect& f) { return covers(w, f); }))
            return false;
        w->withdraw();
        return true;
    });
    // The first window's role stays with it; when its screen went, the
    // window of the first screen left takes it.
    if (!windows.empty() &&
        std::none_of(windows.begin(), windows.end(), [](const auto& w) { return w->isFirst; })) {
        auto first = std::find_if(windows.begin(), windows.end(),
                                  [&](const auto& w) { return covers(w, list.front()); });
        if (first == windows.end()) first = windows.begin();
        (*first)->isFirst = true;
        std::rotate(windows.begin(), first, first + 1);
    }
    for (const Rect& frame : list) {
        if (std::any_of(windows.begin(), windows.end(),
                        [&](const auto& w) { return covers(w, frame); }))
            continue;
        auto added = std::make_unique<LockScreen>();
        added->screenFrame = frame;
        added->isFirst = windows.empty();
        added->showWindow();
        windows.push_back(std::move(added));
    }
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (i == 0)
            lockScreen = std::move(windows[i]);
        else if (i == 1)
            lockScreen1 = std::move(windows[i]);
        else
            moreLockScreens.push_back(std::move(windows[i]));
    }
}

std::string MainWindow::barText() const {
    // A step of at least 1 keeps the loop finite whatever workDur holds.
    const std::int64_t step = std::max<std::int64_t>(workDur / 10, 1);
    std::string bar;
    for (std::int64_t counter = 0; counter <= SCL::progress; counter += step) bar += charBlock;
    return bar;
}

void MainWindow::lockTimerEvent() {
    SCL::lockTicks += 1;
    if (!SCL::lockTimerDt || SCL::timeIntervalSinceNow(*SCL::lockTimerDt) < -kLockGap)
        SCL::lockTicks = SCL::lockDur + 1;
    SCL::lockTimerDt = SCL::now();
    // A snooze ends the break whatever length was saved since.
    const bool snoozed = SCL::breakSnoozed;
    if (SCL::lockTicks >= SCL::lockDur || snoozed) {
        SCL::lockTimer->invalidate();
        SCL::activityTimerPause = false;
        SCL::announce(
            {snoozed ? EngineEvent::Kind::BreakSnoozed : EngineEvent::Kind::BreakCompleted});
        if (Sounds* sounds = SCL::platform().sounds; sounds && !snoozed && settings::sound())
            sounds->play("complete");
        activityTimerEvent();
    }
    if (snoozed) {
        SCL::progress = workDur - 60;
        // The user just chose one more minute: no heads-up for it.
        headsUpSent = true;
    }
    SCL::statusChanged();
}

}  // namespace tamsel

// ---- a due break that waits for the right moment ----------------------------

namespace tamsel {

void MainWindow::watchSources() {
    waitCall_ = settings::waitForCall();
    waitFullScreen_ = settings::waitForFullScreen();
    waitDnd_ = settings::waitForDnd();
    const Platform& p = SCL::platform();
    const std::pair<BusySource*, bool> wanted[] = {{p.camera, waitCall_},
                                                   {p.microphone, waitCall_},
                                                   {p.fullScreen, waitFullScreen_},
                                                   {p.doNotDisturb, waitDnd_}};
    for (const auto& [source, on] : wanted)
        if (source) source->watch(on);
}

WaitReason MainWindow::busyReason() {
    const Platform& p = SCL::platform();
    auto busy = [](BusySource* source) { return source && source->busy() == Busy::Yes; };
    // Both asked: each source may use the tick.
    if (waitCall_ && (busy(p.camera) | busy(p.microphone))) return WaitReason::Call;
    if (waitFullScreen_ && busy(p.fullScreen)) return WaitReason::FullScreen;
    if (waitDnd_ && busy(p.doNotDisturb)) return WaitReason::DoNotDisturb;
    return WaitReason::None;
}

// A tick while the due break is held back: the progress stays at the work
// period, and a user away for a whole break length has had the break.
void MainWindow::heldTick() {
    const double now = SCL::now();
    double away = idleSeconds();
    // A machine that slept (or a blocked loop) was away for the whole gap.
    if (SCL::activityTimerDt && now - *SCL::activityTimerDt > kActivityGap)
        away = std::max(away, now - *SCL::activityTimerDt);
    SCL::activityTimerDt = now;
    if (away >= static_cast<double>(SCL::lockDur))
        takenAway();
    else
        followSources();
}

void MainWindow::followSources() {
    if (!held() || SCL::activityTimerPause || SCL::pausedUntil > 0) return;
    const WaitReason reason = busyReason();
    if (reason == waitingFor) return;
    if (reason == WaitReason::None) {
        // Nothing holds the break back any more: it comes in 30 s, and says so.
        waitingFor = WaitReason::None;
        breakAt_ = SCL::now() + kAfterWait;
        waitEndTimer_ =
            SCL::platform().timers->schedule(kAfterWait, false, [this] { waitEnded(); });
        if (Notifier* notifier = SCL::platform().notifier; notifier && settings::headsUp())
            notifier->notify("Tamsel", translate("Tamsel", "A break in 30 seconds"));
        SCL::announce({EngineEvent::Kind::HeadsUp});
    } else {
        // Busy again before the 30 s ran out, or busy for another reason.
        if (waitEndTimer_) waitEndTimer_->invalidate();
        waitEndTimer_.reset();
        waitingFor = reason;
        SCL::announce({EngineEvent::Kind::Waiting, BreakCause::Due, 0, false, reason});
    }
    drawIndicator();
    SCL::statusChanged();
}

void MainWindow::waitEnded() {
    waitEndTimer_.reset();
    if (idleSeconds() >= static_cast<double>(SCL::lockDur)) {
        takenAway();
    } else if (const WaitReason reason = busyReason(); reason != WaitReason::None) {
        // A source that turned busy without a word.
        waitingFor = reason;
        SCL::announce({EngineEvent::Kind::Waiting, BreakCause::Due, 0, false, reason});
    } else {
        startBreak(BreakCause::AfterWaiting);
    }
    drawIndicator();
    SCL::statusChanged();
}

void MainWindow::takenAway() {
    endHold();
    SCL::progress = 0;
    headsUpSent = false;
    // As after a break that ran to its end: the snooze and skip limits lift.
    SCL::lastSnoozeDate() = SCL::now() - 6000.0;
    SCL::lastSkipDate() = SCL::now() - 6000.0;
    SCL::announce({EngineEvent::Kind::BreakTakenAway});
}

void MainWindow::endHold() {
    waitingFor = WaitReason::None;
    if (waitEndTimer_) waitEndTimer_->invalidate();
    waitEndTimer_.reset();
}

double MainWindow::idleSeconds() const {
    double least = std::numeric_limits<double>::infinity();
    for (InputEvent type : kSampledEvents)
        least = std::min(least, SCL::platform().idle->secondsSinceLastEvent(type));
    return least;
}

std::int64_t MainWindow::secondsToBreak() const {
    if (waitEndTimer_)
        return std::max<std::int64_t>(std::llround(std::ceil(breakAt_ - SCL::now())), 0);
    return std::max<std::int64_t>(workDur - SCL::progress, 0);
}

}  // namespace tamsel
