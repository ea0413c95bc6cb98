#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/window_controller.h"
#include "engine/status.h"

namespace tamsel {

class LockScreen;

// The progress indicator window, and the engine it carries: the five-second
// activity monitor, the one-second break countdown and the indicator's place.
class MainWindow : public WindowController {
public:
    MainWindow();
    ~MainWindow() override;

    void placeWindow();
    void activityTimerEvent();
    void lockTimerEvent();

    // A break at once, as when the work period is complete; false during a
    // break.
    bool breakNow();
    // No work counts and no break starts until this wall-clock second; a
    // break running now runs on.
    void pauseUntil(double wallSeconds);
    // Ends a pause early; the work period starts from zero.
    void resume();

    Control& lblProgress() { return outlet("lblProgress"); }

    // A source of "not now" may have changed its answer.
    void followSources();
    // Counted work still to do, or the seconds left before a break that
    // waited starts; 0 while the break waits.
    std::int64_t secondsToBreak() const;

    bool didProgressIncreaseLast = false;
    // U+25FC with the text-presentation selector: one square per segment.
    const std::string charBlock = "\u25FC\uFE0E";
    std::unique_ptr<LockScreen> lockScreen;
    std::unique_ptr<LockScreen> lockScreen1;
    // The third screen's and later ones' when every screen is covered.
    std::vector<std::unique_ptr<LockScreen>> moreLockScreens;
    // The heads-up of this work period has gone out.
    bool headsUpSent = false;
    std::int64_t workDur = 0;
    std::int64_t showOnHigh = 1;
    // What the due break waits for; None when it does not wait.
    WaitReason waitingFor = WaitReason::None;

    // Runs on the rare draw of a tick; the version check by default.
    std::function<void()> versionCheck;

protected:
    void windowDidLoad() override;

private:
    void startBreak(BreakCause cause);
    void coverScreens();
    void followScreens();
    void endPause(bool early);
    void sendHeadsUpWhenNear();
    void drawIndicator();
    std::string barText() const;
    void endTick();

    void watchSources();
    WaitReason busyReason();
    double idleSeconds() const;
    // The break is due and waits, or starts shortly after a wait.
    bool held() const { return waitingFor != WaitReason::None || waitEndTimer_ != nullptr; }
    void heldTick();
    void endHold();
    void waitEnded();
    void takenAway();

    bool waitCall_ = false;
    bool waitFullScreen_ = false;
    bool waitDnd_ = false;
    // Runs out when a wait has been over for 30 s: the break then starts.
    TimerRef waitEndTimer_;
    double breakAt_ = 0;
};

}  // namespace tamsel
