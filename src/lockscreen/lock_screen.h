#pragma once

#include <cstdint>

#include "common/window_controller.h"

namespace tamsel {

// One break window: covers its screen for the break, shows how much of the
// break has passed, offers the snooze and closes itself at the end.
class LockScreen : public WindowController {
public:
    LockScreen();
    ~LockScreen() override;

    void moveWinTimerEvent();
    void winFocusTimerEvent();
    void closeButton();
    void mouseUp(const MouseEvent& event);
    // Takes the window away without ending the break: its screen is gone.
    void withdraw();

    bool isFirst = true;
    Rect screenFrame;
    TimerRef winFocusTimer;
    TimerRef moveWinTimer;
    // Presentation options a kiosk-style lock would use; no break applies
    // them, so the Dock, menu bar and session keys stay the user's.
    static constexpr std::uint64_t lockOptions = 0xFA;
    static constexpr std::uint64_t unlockOptions = 0;

    Control& progressBar() { return outlet("progressBar"); }
    Control& closeBtn() { return outlet("closeBtn"); }
    Control& lblTSText() { return outlet("lblTSText"); }
    Control& lockProgress() { return outlet("lockProgress"); }

protected:
    void windowDidLoad() override;

private:
    Rect coverFrame() const;
    void setSeeThrough();
    void setDimmed();
};

}  // namespace tamsel
