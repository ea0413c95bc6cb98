// Do-not-disturb: the notification server's Inhibited property (KDE's, on
// org.freedesktop.Notifications), followed through PropertiesChanged and
// the server coming and going; on GNOME the show-banners setting. Either
// one inhibiting is enough.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QObject>
#include <QVariantMap>
#include <optional>

#include "platform/qt/busy/busy_sources.h"
#include "platform/qt/busy/gnome_banners.h"

namespace tamsel::qt {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kCallTimeoutMs = 2000;

// Receives the server's PropertiesChanged (QtDBus wants a slot).
class InhibitedSignal : public QObject {
    Q_OBJECT
public:
    std::function<void(const QVariantMap&)> heard;
public slots:
    void changed(const QString& interface, const QVariantMap& values, const QStringList&) {
        if (interface == kService && heard) heard(values);
    }
};

class DoNotDisturb : public QtBusySource {
public:
    explicit DoNotDisturb(const QDBusConnection& bus) : QtBusySource("do not disturb"), bus_(bus) {}
    ~DoNotDisturb() override { stop(); }

    void start() override {
        if (qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("GNOME")))
            banners_ = GnomeBanners::open([this] { recount(); });
        if (bus_.isConnected()) {
            signal_ = std::make_unique<InhibitedSignal>();
            signal_->heard = [this](const QVariantMap& values) {
                const auto it = values.find(QStringLiteral("Inhibited"));
                if (it != values.end() && it->metaType() == QMetaType::fromType<bool>()) {
                    inhibited_ = it->toBool();
                    recount();
                }
            };
            bus_.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"),
                         signal_.get(), SLOT(changed(QString, QVariantMap, QStringList)));
            owner_ = std::make_unique<QDBusServiceWatcher>(
                kService, bus_, QDBusServiceWatcher::WatchForOwnerChange);
            QObject::connect(owner_.get(), &QDBusServiceWatcher::serviceOwnerChanged, &context_,
                             [this] { ask(); });
            ask();
        } else {
            asked_ = true;
            recount();
        }
    }

    void stop() override {
        if (signal_)
            bus_.disconnect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"),
                            signal_.get(), SLOT(changed(QString, QVariantMap, QStringList)));
        signal_.reset();
        owner_.reset();
        banners_.reset();
        inhibited_.reset();
        asked_ = false;
        ++generation_;
    }

private:
    void ask() {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Get"));
        call << kService << QStringLiteral("Inhibited");
        // Never start a notification server just to ask it.
        call.setAutoStartService(false);
        auto* watcher =
            new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), &context_);
        QObject::connect(
            watcher, &QDBusPendingCallWatcher::finished, &context_,
            [this, watcher, generation = generation_] {
                watcher->deleteLater();
                if (generation != generation_) return;
                const QDBusMessage reply = watcher->reply();
                const QVariant value =
                    reply.type() == QDBusMessage::ReplyMessage &&
                            reply.signature() == QLatin1String("v")
                        ? reply.arguments().constFirst().value<QDBusVariant>().variant()
                        : QVariant();
                // A server without the property (GNOME's, most others).
                inhibited_.reset();
                if (value.metaType() == QMetaType::fromType<bool>()) inhibited_ = value.toBool();
                asked_ = true;
                recount();
            });
    }

    void recount() {
        if (!inhibited_ && !banners_) {
            if (asked_)
                cannot(
                    "this desktop does not tell (no Inhibited property on "
                    "org.freedesktop.Notifications, no GNOME show-banners setting)");
            return;
        }
        const bool on = inhibited_.value_or(false) || (banners_ && !banners_->shown());
        tell(on ? Busy::Yes : Busy::No);
    }

    QDBusConnection bus_;
    std::unique_ptr<InhibitedSignal> signal_;
    std::unique_ptr<QDBusServiceWatcher> owner_;
    std::unique_ptr<GnomeBanners> banners_;
    std::optional<bool> inhibited_;
    bool asked_ = false;
    std::uint64_t generation_ = 0;
};

}  // namespace

std::unique_ptr<QtBusySource> makeDoNotDisturb(const QDBusConnection& bus) {
    return std::make_unique<DoNotDisturb>(bus);
}

}  // namespace tamsel::qt

#include "dnd_linux.moc"
