#include "platform/qt/desktop/os_services.h"

#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QGuiApplication>

#include "platform/qt/busy/busy_sources.h"
#include "platform/qt/desktop/autostart.h"
#include "platform/qt/desktop/notifications.h"
#include "platform/qt/desktop/shell_extension.h"
#include "platform/qt/idle/idle_source.h"
#if defined(Q_OS_LINUX)
#include "platform/qt/wayland/layer_shell.h"
#endif

namespace tamsel::qt {

std::unique_ptr<Notifier> makeNotifier() {
#if defined(Q_OS_MACOS)
    return nullptr;  // no freedesktop notification service there
#else
    return std::make_unique<FreedesktopNotifier>();
#endif
}

std::unique_ptr<Sounds> makeSounds() {
#if defined(Q_OS_LINUX)
    return makeCanberraSounds();
#else
    return nullptr;
#endif
}

std::unique_ptr<LoginItems> makeLoginItems() {
#if defined(Q_OS_MACOS)
    return makeMacLoginItems();
#else
    return std::make_unique<XdgAutostart>();
#endif
}

std::unique_ptr<ShellExtensionWatch> makeShellExtensionWatch() {
#if defined(Q_OS_MACOS)
    return nullptr;
#else
    // Only a Wayland compositor can vouch for it (X11 windows are
    // click-through there anyway).
    const pid_t compositor =
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? 0 : waylandCompositorPid();
    if (compositor <= 0) return nullptr;
    return std::make_unique<ShellExtensionWatch>(QDBusConnection::sessionBus(), compositor);
#endif
}

std::unique_ptr<QObject> startOverlaySurfaces() {
#if defined(Q_OS_LINUX)
    return LayerShell::start();
#else
    return nullptr;
#endif
}

// On paper for macOS: CoreMediaIO's "device is running somewhere" for the
// camera, the default input device's "running somewhere" for the microphone.
std::unique_ptr<BusySource> makeCameraSource() {
#if defined(Q_OS_LINUX)
    return makeInotifyCamera(QStringLiteral("/dev"));
#else
    return nullptr;
#endif
}

std::unique_ptr<BusySource> makeMicrophoneSource([[maybe_unused]] Clock& clock) {
#if defined(Q_OS_LINUX)
    return makePulseMicrophone(clock, {});
#else
    return nullptr;
#endif
}

std::unique_ptr<BusySource> makeFullScreenSource() {
#if defined(Q_OS_LINUX)
    const QString session = qEnvironmentVariable("XDG_SESSION_TYPE");
    const bool wayland = session.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
                         (session.isEmpty() && qEnvironmentVariableIsSet("WAYLAND_DISPLAY"));
    // XWayland sees only X11 windows: a full-screen Wayland program would
    // look like none at all.
    if (wayland)
        return makeBlindSource("full screen",
                               "a Wayland desktop does not tell which program is full screen");
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return makeBlindSource("full screen", "Tamsel does not run on an X display");
    return makeX11FullScreen();
#else
    return nullptr;
#endif
}

std::unique_ptr<BusySource> makeDoNotDisturbSource() {
#if defined(Q_OS_LINUX)
    return makeDoNotDisturb(QDBusConnection::sessionBus());
#else
    return nullptr;
#endif
}

std::optional<unsigned> peerUserId(qintptr socketDescriptor) {
    const int fd = static_cast<int>(socketDescriptor);
#if defined(Q_OS_LINUX)
    ucred cred{};
    socklen_t length = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0) return std::nullopt;
    return cred.uid;
#elif defined(Q_OS_MACOS) || defined(Q_OS_FREEBSD)
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(fd, &uid, &gid) != 0) return std::nullopt;
    return uid;
#else
    (void)fd;
    return std::nullopt;
#endif
}

}  // namespace tamsel::qt
