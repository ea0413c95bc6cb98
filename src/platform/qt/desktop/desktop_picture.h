#pragma once

#include <QPixmap>
#include <QRect>
#include <memory>
#include <vector>

class QPainter;

namespace tamsel::qt {

// A still of every screen, for windows that must look translucent where no
// compositor blends them: X11 without one shows their see-through pixels as
// black. Taken when the first such window shows, shared by the windows that
// show while it is held, and freed with the last of them.
class DesktopPicture {
public:
    // The picture held now, else a new one; null where a compositor runs.
    static std::shared_ptr<const DesktopPicture> take();

    // Paints, opaque, what the screens showed under `area` (global
    // device-independent pixels) at the painter's origin; black where no
    // screen lay.
    void paint(QPainter& painter, const QRect& area) const;

private:
    struct Shot {
        QRect geometry;
        QPixmap pixels;  // in device pixels, with the screen's pixel ratio
    };
    std::vector<Shot> shots_;
};

}  // namespace tamsel::qt
