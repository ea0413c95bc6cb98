// The floor: the least a Qt 6 program doing Tamsel's everyday job can cost.
// A tray icon with a menu, a click-through frameless label in a corner like
// the indicator, and a 5-second timer that asks the X server for the idle
// time and redraws the label only when its text changes. The benchmark
// measures Tamsel against it.

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>

// After Qt: Xlib's macros (None, Bool, Status) would break Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace {

const QString kSegment = QStringLiteral(u"\u25FC\uFE0E");

QIcon plainIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x21, 0x7c, 0x6c));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(1, 1, 30, 30, 7, 7);
    return QIcon(pm);
}

bool compositing(Display* display) {
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    return XGetSelectionOwner(display, XInternAtom(display, name.constData(), False)) != None;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    int eventBase = 0, errorBase = 0;
    const bool haveIdle = display && XScreenSaverQueryExtension(display, &eventBase, &errorBase);
    XScreenSaverInfo* info = haveIdle ? XScreenSaverAllocInfo() : nullptr;

    QMenu menu;
    menu.addAction(QStringLiteral("Quit"), &app, &QCoreApplication::quit);
    QSystemTrayIcon tray(plainIcon());
    tray.setContextMenu(&menu);
    tray.show();

    QLabel label;
    label.setWindowTitle(QStringLiteral("floor"));
    label.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint);
    label.setAttribute(Qt::WA_TranslucentBackground);
    label.setAttribute(Qt::WA_ShowWithoutActivating);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(17);
    label.setFont(font);
    label.setFixedSize(240, 30);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    label.move(screen.x() + (screen.width() - label.width()) / 2, screen.y() + 20);

    // Work counted in the same units as Tamsel: +5 a busy tick, -10 a quiet one.
    int progress = 0;
    auto tick = [&] {
        bool active = true;
        if (info && XScreenSaverQueryInfo(display, DefaultRootWindow(display), info))
            active = info->idle < 5000;
        progress = active ? progress + 5 : std::max(0, progress - 10);
        const QString bar = kSegment.repeated(progress / 135 + 1);
        if (bar == label.text()) return;
        label.setText(bar);
        if (display && !compositing(display)) label.setMask(label.grab().mask());
    };
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, tick);
    timer.start(5000);
    tick();
    label.show();

    const int status = app.exec();
    if (info) XFree(info);
    return status;
}
