#include "platform/qt/desktop/notifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace tamsel::qt {

void FreedesktopNotifier::notify(const std::string& summary, const std::string& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("tamsel")}};
    call << QStringLiteral("Tamsel") << 0u << QStringLiteral("tamsel")
         << QString::fromStdString(summary) << QString::fromStdString(body) << QStringList()
         << hints << -1;
    // Sent without waiting: the answer, or the error of a missing server, is
    // dropped. The bus may start a server that is installed but not running.
    bus.send(call);
}

}  // namespace tamsel::qt
