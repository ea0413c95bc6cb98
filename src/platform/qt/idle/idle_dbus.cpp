// Idle time from the desktop over D-Bus: GNOME's Mutter idle monitor, then
// the org.freedesktop.ScreenSaver service. Used on Wayland, where the X
// server (XWayland) sees only input to X11 windows.

#include <QDBusConnection>
#include <QDBusMessage>

#include "platform/qt/idle/idle_source.h"

namespace tamsel::qt {

namespace {

// Each tick may wait for one call: keep it short, even when the service hangs.
constexpr int kCallTimeoutMs = 500;

class DBusIdleSource : public CombinedIdleSource {
public:
    DBusIdleSource(QDBusConnection bus, QString service, QString path, QString interface,
                   QString method, double secondsPerUnit, std::string name)
        : bus_(std::move(bus)),
          service_(std::move(service)),
          path_(std::move(path)),
          interface_(std::move(interface)),
          method_(std::move(method)),
          secondsPerUnit_(secondsPerUnit),
          name_(std::move(name)) {}

    std::optional<double> query() override {
        if (!bus_.isConnected()) return std::nullopt;
        QDBusMessage call = QDBusMessage::createMethodCall(service_, path_, interface_, method_);
        // Never start a desktop service just to ask it the time.
        call.setAutoStartService(false);
        const QDBusMessage reply = bus_.call(call, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return std::nullopt;
        bool ok = false;
        const qulonglong value = reply.arguments().constFirst().toULongLong(&ok);
        if (!ok) return std::nullopt;
        return static_cast<double>(value) * secondsPerUnit_;
    }
    std::string name() const override { return name_; }

private:
    QDBusConnection bus_;
    QString service_, path_, interface_, method_;
    double secondsPerUnit_;
    std::string name_;
};

bool serviceRunning(const QDBusConnection& bus, const QString& service) {
    if (!bus.isConnected()) return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << service;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

std::unique_ptr<CombinedIdleSource> probe(std::unique_ptr<DBusIdleSource> source) {
    if (!source->query()) return nullptr;
    return source;
}

}  // namespace

std::unique_ptr<CombinedIdleSource> makeMutterIdleSource(const QDBusConnection& bus) {
    const QString service = QStringLiteral("org.gnome.Mutter.IdleMonitor");
    if (!serviceRunning(bus, service)) return nullptr;
    return probe(std::make_unique<DBusIdleSource>(
        bus, service, QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"), service,
        QStringLiteral("GetIdletime"), 0.001, "GNOME's idle monitor"));
}

std::unique_ptr<CombinedIdleSource> makeScreenSaverIdleSource(const QDBusConnection& bus) {
    const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
    if (!serviceRunning(bus, service)) return nullptr;
    // The interface promises seconds, but KDE's screen locker (the one that
    // also owns org.kde.screensaver) answers in milliseconds.
    const double secondsPerUnit =
        serviceRunning(bus, QStringLiteral("org.kde.screensaver")) ? 0.001 : 1.0;
    return probe(std::make_unique<DBusIdleSource>(
        bus, service, QStringLiteral("/org/freedesktop/ScreenSaver"), service,
        QStringLiteral("GetSessionIdleTime"), secondsPerUnit,
        "the desktop's screen saver service"));
}

}  // namespace tamsel::qt
