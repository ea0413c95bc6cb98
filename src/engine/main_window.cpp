#include "engine/main_window.h"

#include <array>

#include "common/nibs.h"
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

// Asked in this order; the first active type ends the sample.
constexpr std::array kSampledEvents = {InputEvent::KeyUp, InputEvent::LeftMouseDown,
                                       InputEvent::RightMouseUp, InputEvent::MouseMoved,
                                       InputEvent::ScrollWheel};

std::size_t segmentCount(const std::string& bar, const std::string& block) {
    return block.empty() ? 0 : bar.size() / block.size();
}

}  // namespace

MainWindow::MainWindow() : WindowController(nib::kMainWindow), versionCheck(runVersionCheck) {}

MainWindow::~MainWindow() = default;

void MainWindow::windowDidLoad() {
    Window* w = window();
    w->setTitle(std::string(nib::kMainWindowTitle));
    w->setIgnoresMouseEvents(true);
    w->setOpaque(false);
    w->setBackgroundColor({0.5, 0.5, 0.5, 0.0});
    w->setLevel(WindowLevel::Floating);
    w->setLevel(WindowLevel::Maximum);
    placeWindow();
    SCL::activityTimerDt = SCL::now();
    SCL::activityTimer =
        SCL::platform().timers->schedule(kActivityInterval, true, [this] { activityTimerEvent(); });
    activityTimerEvent();
    SCL::platform().screens->observeChanges([this] { placeWindow(); });
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
}

void MainWindow::activityTimerEvent() {
    if (SCL::activityTimerPause) return;

    bool active = false;
    for (InputEvent type : kSampledEvents) {
        if (SCL::platform().idle->secondsSinceLastEvent(type) < kIdleThreshold) {
            active = true;
            break;
        }
    }

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

    if (SCL::progress >= workDur) startBreak();

    const std::string bar = barText();
    Control& label = lblProgress();
    if (bar != label.text()) {
        const std::size_t segments = segmentCount(bar, charBlock);
        Color colour{0, 0, 0, showOnHigh == 0 ? 0.5 : 0.0};
        if (segments >= 9) colour = {1, 0, 0, 0.7};
        label.setTextColor(colour);
        label.setText(bar);
    }

    if (SCL::platform().random->uniform(kVersionDrawBound) == kVersionDrawHit && versionCheck)
        versionCheck();
}

void MainWindow::startBreak() {
    SCL::activityTimerPause = true;
    Screens& screens = *SCL::platform().screens;
    const std::vector<Rect> list = screens.screens();
    lockScreen.reset();
    lockScreen1.reset();
    if (list.size() <= 1) {
        lockScreen = std::make_unique<LockScreen>();
        // No screen at all: the countdown still runs and ends the break.
        if (std::optional<Rect> main = screens.mainScreen()) lockScreen->screenFrame = *main;
        lockScreen->showWindow();
    } else {
        lockScreen = std::make_unique<LockScreen>();
        lockScreen->screenFrame = list[0];
        lockScreen->showWindow();
        lockScreen1 = std::make_unique<LockScreen>();
        lockScreen1->screenFrame = list[1];
        lockScreen1->isFirst = false;
        lockScreen1->showWindow();
    }
    SCL::lockTicks = 0;
    SCL::lockTimerDt = SCL::now();
    if (SCL::lockTimer) SCL::lockTimer->invalidate();
    SCL::lockTimer =
        SCL::platform().timers->schedule(kLockInterval, true, [this] { lockTimerEvent(); });
    SCL::progress = 0;
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
    if (SCL::lockTicks >= SCL::lockDur) {
        SCL::lockTimer->invalidate();
        SCL::activityTimerPause = false;
        activityTimerEvent();
    }
    if (SCL::isSnoozedCount(SCL::lockTicks)) SCL::progress = workDur - 60;
}

}  // namespace tamsel
