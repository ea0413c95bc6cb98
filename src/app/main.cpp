// The program: a Qt application around the launch sequence.

#include <QApplication>
#include <QTimer>

#include "app/app_delegate.h"
#include "common/version.h"
#include "engine/scl.h"
#include "platform/qt/desktop/single_instance.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/translations.h"

// The benchmark's tamsel-timelapse sets a faster pace; the program runs at 1.
#ifndef TAMSEL_TIME_SCALE
#define TAMSEL_TIME_SCALE 1
#endif
// The benchmark's tamsel-nohistory keeps no history, to show what keeping it costs.
#ifndef TAMSEL_WITHOUT_HISTORY
#define TAMSEL_WITHOUT_HISTORY 0
#endif

int main(int argc, char** argv) {
    // Native Wayland windows cannot be placed in a corner, kept on top or
    // made click-through: where the session also offers an X display, use it.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // With several monitors Qt on X11 reports no work area at start (yet
    // passes one on when _NET_WORKAREA changes): read it always, so the
    // indicator keeps clear of the panels from the first placement.
    if (!qEnvironmentVariableIsSet("QT_RELY_ON_NET_WORKAREA_ATOM"))
        qputenv("QT_RELY_ON_NET_WORKAREA_ATOM", "1");

    QApplication app(argc, argv);
    // A tray program: closing its last window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setOrganizationName(QStringLiteral("tamsel"));
    QApplication::setApplicationName(QStringLiteral("tamsel"));
    QApplication::setApplicationVersion(
        QString::fromUtf8(tamsel::kVersion.data(), tamsel::kVersion.size()));
    // The user's language, before the first text is shown.
    tamsel::qt::installTranslations();

    // Before anything opens the settings: a second launch only asks the
    // running Tamsel to show its preferences, and ends.
    tamsel::qt::SingleInstance instance;
    if (!instance.claim()) return 0;

    tamsel::qt::QtPlatform platform(TAMSEL_TIME_SCALE);
    platform.hearSecondLaunches(instance);
    tamsel::Platform services = platform.platform();
    if (TAMSEL_WITHOUT_HISTORY) services.history = nullptr;
    tamsel::SCL::reset(services);
    tamsel::AppDelegate delegate;
    QTimer::singleShot(0, [&delegate] { delegate.applicationDidFinishLaunching(); });
    const int status = app.exec();
    // Only the desktop ends the loop (the Quit command ends the process at
    // once): release the windows while their QApplication still exists.
    tamsel::SCL::reset(services);
    return status;
}
