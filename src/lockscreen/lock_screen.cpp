#include "lockscreen/lock_screen.h"

#include "common/nibs.h"
#include "engine/scl.h"

namespace tamsel {

namespace {
constexpr double kMoveDelay = 0.1;
constexpr double kFocusInterval = 0.5;
constexpr double kSnoozeLimit = 300.0;
constexpr double kSeeThroughAlpha = 0.1;
constexpr double kDimmedAlpha = 0.6;
}  // namespace

LockScreen::LockScreen() : WindowController(nib::kLockScreen) {}

LockScreen::~LockScreen() {
    // The timers call back into this controller.
    if (winFocusTimer) winFocusTimer->invalidate();
    if (moveWinTimer) moveWinTimer->invalidate();
}

void LockScreen::windowDidLoad() {
    Window* w = window();
    w->setTitle(translate("Tamsel", nib::kLockScreenTitle.data()));
    w->setStyleMask(isFirst ? (StyleMask::FullScreen | StyleMask::Closable) : StyleMask::Closable);
    w->setOpaque(false);
    w->setBackgroundColor({0, 0, 0, kSeeThroughAlpha});
    // Twice on purpose, in the order the window definition gives: the last one stays.
    w->setLevel(WindowLevel::Floating);
    w->setLevel(WindowLevel::Maximum);
    // Where the placement timer will put it, so it never flashes up at its
    // natural size in a corner first.
    w->setFrame(coverFrame(), false);
    w->setActionHandler([this](std::string_view action, std::string_view) {
        if (action == "closeButton:") snooze();
    });
    w->setMouseUpHandler([this](const MouseEvent& event) { mouseUp(event); });

    Timers& timers = *SCL::platform().timers;
    moveWinTimer = timers.schedule(kMoveDelay, false, [this] { moveWinTimerEvent(); });
    winFocusTimer = timers.schedule(kFocusInterval, true, [this] { winFocusTimerEvent(); });

    closeBtn().setHidden(!settings::snoozeAllowed());
    if (SCL::timeIntervalSinceNow(SCL::lastSnoozeDate()) > -kSnoozeLimit) {
        closeBtn().setText(translate("Tamsel", "Snooze disabled due to previous use"));
        closeBtn().setEnabled(false);
    }
}

Rect LockScreen::coverFrame() const {
    return {screenFrame.x, screenFrame.y, screenFrame.width, screenFrame.height + 100.0};
}

void LockScreen::moveWinTimerEvent() {
    Window* w = window();
    w->setFrame(coverFrame(), true);
    if (settings::startsSeeThrough())
        setSeeThrough();
    else
        w->setBackgroundColor({0, 0, 0, kDimmedAlpha});
}

void LockScreen::winFocusTimerEvent() {
    if (isFirst) {
        SCL::platform().app->activateIgnoringOtherApps();
        window()->makeKeyAndOrderFront();
    }
    // A zero length would divide by zero; such a break is over at once.
    const std::int64_t percent = SCL::lockDur > 0 ? SCL::lockTicks * 100 / SCL::lockDur : 100;
    lockProgress().setDoubleValue(static_cast<double>(percent));
    // The count may stop short of a break length saved after the countdown
    // ended; a window must not outlive its break for that.
    if (SCL::lockTicks >= SCL::lockDur || !SCL::activityTimerPause) {
        closeButton();
        // A snooze on the other screen's window is no completed break: the
        // snooze and skip limits stay.
        if (!SCL::breakSnoozed) {
            SCL::lastSnoozeDate() = SCL::longAgo();
            SCL::lastSkipDate() = SCL::longAgo();
        }
    }
}

void LockScreen::snooze() {
    SCL::breakSnoozed = true;
    closeButton();
}

void LockScreen::closeButton() {
    if (winFocusTimer) winFocusTimer->invalidate();
    SCL::lockTicks = SCL::snoozeMarker();
    SCL::lastSnoozeDate() = SCL::now();
    Window* w = window();
    w->setStyleMask(StyleMask::FullScreen | StyleMask::Closable);
    w->close();
}

void LockScreen::withdraw() {
    if (winFocusTimer) winFocusTimer->invalidate();
    if (moveWinTimer) moveWinTimer->invalidate();
    if (Window* w = window()) w->close();
}

void LockScreen::mouseUp(const MouseEvent& event) {
    if (event.clickCount != 2 || event.buttonNumber != 0) return;
    if (progressBar().isHidden())
        setDimmed();
    else
        setSeeThrough();
}

void LockScreen::setSeeThrough() {
    window()->setBackgroundColor({0, 0, 0, kSeeThroughAlpha});
    progressBar().setHidden(true);
    closeBtn().setHidden(true);
    lblTSText().setHidden(true);
}

void LockScreen::setDimmed() {
    window()->setBackgroundColor({0, 0, 0, kDimmedAlpha});
    progressBar().setHidden(false);
    closeBtn().setHidden(!settings::snoozeAllowed());
    lblTSText().setHidden(false);
}

}  // namespace tamsel
