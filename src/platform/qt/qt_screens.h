#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "common/platform.h"

class QScreen;

namespace tamsel::qt {

// The desktop's screens in the controllers' coordinates, primary first.
class QtScreens : public Screens {
public:
    QtScreens();
    std::vector<Rect> screens() override;
    std::optional<Rect> mainScreen() override;
    // QScreen::availableGeometry: on X11 the screen within _NET_WORKAREA.
    Rect workArea(const Rect& screen) override;
    // One call per burst of changes (a monitor plugged in changes several
    // screens at once; a panel moved changes work areas), posted to the main
    // loop.
    void observeChanges(std::function<void()> changed) override;

private:
    void watch(QScreen* screen);
    void changed();

    QObject context_;
    QTimer settle_;
    std::vector<std::function<void()>> observers_;
};

}  // namespace tamsel::qt
