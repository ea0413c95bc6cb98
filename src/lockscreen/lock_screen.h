#pragma once

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
    // The snooze button: a user's snooze, then closeButton.
    void snooze();
    void closeButton();
    void mouseUp(const MouseEvent& event);
    // Takes the window away without ending the break: its screen is gone.
    void withdraw();

    bool isFirst = true;
    Rect screenFrame;
    TimerRef winFocusTimer;
    TimerRef moveWinTimer;

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
