#include "platform/qt/geometry.h"

#include <QGuiApplication>
#include <QScreen>

namespace tamsel::qt {

double primaryScreenHeight() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().height() : 0.0;
}

}  // namespace tamsel::qt
