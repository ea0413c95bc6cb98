#include "platform/qt/desktop/os_services.h"

#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

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
