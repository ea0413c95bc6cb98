// Idle time from the desktop over D-Bus: GNOME's Mutter idle monitor, then
// the org.freedesktop.ScreenSaver service. Used on Wayland, where the X
// server (XWayland) sees only input to X11 windows.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "platform/qt/idle_source.h"

namespace tamsel::qt {

namespace {

// Each tick may wait for one call: keep it short, even when the service hangs.
constexpr int kCallTimeoutMs = 500;

class DBusIdleSource : public CombinedIdleSource {
  public:
    DBusIdleSource(QString service, QString path, QString interface, QString method,
                   double secondsPerUnit, std::string name)
        : service_(std::move(service)),
          path_(std::move(path)),
          interface_(std::move(interface)),
          method_(std::move(method)),
          secondsPerUnit_(secondsPerUnit),
          name_(std::move(name)) {}

    std::optional<double> query() override {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) return std::nullopt;
        QDBusMessage call = QDBusMessage::createMethodCall(service_, path_, interface_, method_);
        // Never start a desktop service just to ask it the time.
        call.setAutoStartService(false);
        const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return std::nullopt;
        bool ok = false;
        const qulonglong value = reply.arguments().constFirst().toULongLong(&ok);
        if (!ok) return std::nullopt;
        return static_cast<double>(value) * secondsPerUnit_;
    }
    std::string name() const override { return name_; }

  private:
    QString service_, path_, interface_, method_;
    double secondsPerUnit_;
    std::string name_;
};

bool serviceRunning(const QString& service) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    return bus.interface()->isServiceRegistered(service).value();
}

std::unique_ptr<CombinedIdleSource> probe(std::unique_ptr<DBusIdleSource> source) {
    if (!source->query()) return nullptr;
    return source;
}

}  // namespace

std::unique_ptr<CombinedIdleSource> makeMutterIdleSource() {
    const QString service = QStringLiteral("org.gnome.Mutter.IdleMonitor");
    if (!serviceRunning(service)) return nullptr;
    return probe(std::make_unique<DBusIdleSource>(
        service, QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"), service,
        QStringLiteral("GetIdletime"), 0.001, "GNOME's idle monitor"));
}

std::unique_ptr<CombinedIdleSource> makeScreenSaverIdleSource() {
    const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
    if (!serviceRunning(service)) return nullptr;
    // The interface promises seconds, but KDE's screen locker (the one that
    // also owns org.kde.screensaver) answers in milliseconds.
    const double secondsPerUnit =
        serviceRunning(QStringLiteral("org.kde.screensaver")) ? 0.001 : 1.0;
    return probe(
        std::make_unique<DBusIdleSource>(service, QStringLiteral("/org/freedesktop/ScreenSaver"),
                                         service, QStringLiteral("GetSessionIdleTime"),
                                         secondsPerUnit, "the desktop's screen saver service"));
}

}  // namespace tamsel::qt
