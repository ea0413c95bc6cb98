#include "platform/qt/desktop/desktop_picture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "platform/qt/desktop/compositor.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tamsel::qt {

namespace {

// A screen's picture and the copies made while taking it are megabytes each.
// glibc would keep such blocks once freed, for the next large allocation, and
// the next break is half an hour away: have blocks of a megabyte or more
// mapped on their own, so they go back to the system when freed.
void returnLargeBlocksWhenFreed() {
#ifdef __GLIBC__
    static const bool set = mallopt(M_MMAP_THRESHOLD, 1 << 20) != 0;
    (void)set;
#endif
}

}  // namespace

std::shared_ptr<const DesktopPicture> DesktopPicture::take() {
    static std::weak_ptr<const DesktopPicture> held;
    if (auto picture = held.lock()) return picture;
    // Under XWayland the X root holds no picture of the desktop.
    if (compositorActive() || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) return nullptr;
    returnLargeBlocksWhenFreed();
    auto picture = std::make_shared<DesktopPicture>();
    // Every screen at once, before any of the windows maps: a window reaching
    // onto a neighbouring screen must not see another one of ours.
    for (QScreen* screen : QGuiApplication::screens()) {
        QPixmap pixels = screen->grabWindow(0);
        if (!pixels.isNull()) picture->shots_.push_back({screen->geometry(), std::move(pixels)});
    }
    held = picture;
    return picture;
}

void DesktopPicture::paint(QPainter& painter, const QRect& area) const {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(), area.size()), Qt::black);
    for (const Shot& shot : shots_)
        if (shot.geometry.intersects(area))
            painter.drawPixmap(shot.geometry.topLeft() - area.topLeft(), shot.pixels);
    painter.restore();
}

}  // namespace tamsel::qt
