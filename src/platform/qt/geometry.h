#pragma once

#include <QRect>
#include <QRectF>

#include "common/platform.h"

namespace tamsel::qt {

// The controllers' frames have their origin at the bottom left of the
// primary screen with y up; Qt's at the top left with y down. Converted here
// only: y_qt = primaryHeight - (y + height).
inline QRectF toQt(const Rect& r, double primaryHeight) {
    return QRectF(r.x, primaryHeight - (r.y + r.height), r.width, r.height);
}

inline Rect fromQt(const QRectF& r, double primaryHeight) {
    return Rect{r.x(), primaryHeight - (r.y() + r.height()), r.width(), r.height()};
}

// Height of the primary screen, the reference of both systems; 0 without one.
double primaryScreenHeight();

}  // namespace tamsel::qt
