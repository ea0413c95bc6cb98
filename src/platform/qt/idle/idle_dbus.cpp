// Idle time from the desktop over D-Bus: GNOME's Mutter idle monitor (event
// driven, through its watches), then the org.freedesktop.ScreenSaver
// service (asked once a tick). Every call is asynchronous with a time-out:
// a stalled desktop service never holds up the activity tick. Any program
// of the user can own a name on the session bus, so answers are checked.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QObject>

#include "platform/qt/idle/idle_source.h"
#include "platform/qt/idle/idle_timeline.h"

namespace tamsel::qt {

namespace {

// Well below the 5 s tick, so at most one call is ever in flight.
constexpr int kCallTimeoutMs = 2000;

const QString kMutterService = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kMutterPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");

// Sends `call` and hands its reply, error or time-out to `then` on the event
// loop; never if `context` is gone first.
void callAsync(const QDBusConnection& bus, QDBusMessage call, QObject* context,
               std::function<void(const QDBusMessage&)> then) {
    // Never start a desktop service just to ask it the time.
    call.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, then = std::move(then)] {
                         watcher->deleteLater();
                         then(watcher->reply());
                     });
}

QDBusMessage busMethod(const QString& method, const QString& argument) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    call << argument;
    return call;
}

// The message's only argument when it has exactly this D-Bus signature;
// empty for errors and for answers of any other shape.
std::optional<QVariant> onlyArgument(const QDBusMessage& message, const char* signature) {
    if (message.type() != QDBusMessage::ReplyMessage &&
        message.type() != QDBusMessage::SignalMessage)
        return std::nullopt;
    if (message.signature() != QLatin1String(signature)) return std::nullopt;
    return message.arguments().constFirst();
}

std::string failure(const QDBusMessage& reply, const char* signature) {
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QString error = reply.errorName();
        if (error == QLatin1String("org.freedesktop.DBus.Error.NoReply"))
            return "no answer within " + std::to_string(kCallTimeoutMs / 1000) + " s";
        if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
            return "not on the session bus";
        return "it answered " + error.toStdString();
    }
    return "it answered \"" + reply.signature().toStdString() + "\" where \"" + signature +
           "\" was due";
}

// ---- GNOME ----------------------------------------------------------------------

// Its watches notify "idle for 5 s" and "active again", as the Wayland
// protocols do; GetIdletime tells the idle time once, at start.
class MutterIdleSource : public QObject, public CombinedIdleSource {
    Q_OBJECT
public:
    MutterIdleSource(QDBusConnection bus, pid_t compositorPid, Clock& clock)
        : bus_(std::move(bus)),
          compositorPid_(compositorPid),
          clock_(clock),
          timeline_([&clock] { return clock.uptime(); }, kIdleWatchMs / 1000.0) {
        // Only the compositor sees all input; another owner could answer
        // "idle forever" and no break would ever come.
        if (!bus_.isConnected())
            settle(State::Failed, "no session bus");
        else if (compositorPid_ <= 0)
            settle(State::Failed, "no Wayland compositor to check its owner against");
        if (state() == State::Failed) return;
        settle(State::Asking);
        callAsync(bus_, busMethod(QStringLiteral("GetNameOwner"), kMutterService), this,
                  [this](const QDBusMessage& reply) { checkOwner(reply); });
    }

    std::optional<double> query() override {
        if (state() != State::Working) return std::nullopt;
        return timeline_.secondsSinceInput();
    }
    std::string name() const override { return kMutterService.toStdString(); }

private slots:
    void watchFired(const QDBusMessage& signal) {
        // Also while the first GetIdletime is on its way: its answer comes
        // after this, and a one-shot watch that fired must be known as gone.
        const std::optional<QVariant> id = onlyArgument(signal, "u");
        if (!id || state() == State::Failed || id->toUInt() == 0) return;
        if (id->toUInt() == idleWatch_) {
            timeline_.idled();
            watchForActivity();
        } else if (id->toUInt() == activeWatch_) {
            activeWatch_ = 0;  // one-shot: added again at the next idle
            timeline_.resumed();
        }
    }

private:
    static constexpr quint64 kIdleWatchMs = 5000;

    QDBusMessage monitorMethod(const QString& method) const {
        return QDBusMessage::createMethodCall(owner_, kMutterPath, kMutterService, method);
    }

    void checkOwner(const QDBusMessage& reply) {
        const std::optional<QVariant> owner = onlyArgument(reply, "s");
        if (!owner) return settle(State::Failed, "not on the session bus");
        owner_ = owner->toString();
        callAsync(bus_, busMethod(QStringLiteral("GetConnectionUnixProcessID"), owner_), this,
                  [this](const QDBusMessage& pidReply) {
                      const std::optional<QVariant> pid = onlyArgument(pidReply, "u");
                      if (!pid) return settle(State::Failed, "the bus did not say who owns it");
                      if (static_cast<pid_t>(pid->toUInt()) != compositorPid_)
                          return settle(State::Failed, "owned by process " +
                                                           std::to_string(pid->toUInt()) +
                                                           ", not by the compositor (process " +
                                                           std::to_string(compositorPid_) + ")");
                      addWatches();
                  });
    }

    void addWatches() {
        // Signals from the checked owner only, and none once it leaves.
        bus_.connect(owner_, kMutterPath, kMutterService, QStringLiteral("WatchFired"), this,
                     SLOT(watchFired(QDBusMessage)));
        auto* leaving = new QDBusServiceWatcher(kMutterService, bus_,
                                                QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(leaving, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& newOwner) {
                    if (newOwner != owner_) settle(State::Failed, "it left the session bus");
                });
        QDBusMessage idle = monitorMethod(QStringLiteral("AddIdleWatch"));
        idle << kIdleWatchMs;
        callAsync(bus_, idle, this, [this](const QDBusMessage& reply) {
            const std::optional<QVariant> id = onlyArgument(reply, "u");
            if (!id) return settle(State::Failed, failure(reply, "u"));
            idleWatch_ = id->toUInt();
            watchForActivity();
            callAsync(bus_, monitorMethod(QStringLiteral("GetIdletime")), this,
                      [this](const QDBusMessage& time) { seed(time); });
        });
    }

    void seed(const QDBusMessage& reply) {
        const std::optional<QVariant> ms = onlyArgument(reply, "t");
        if (!ms) return settle(State::Failed, failure(reply, "t"));
        const double seconds = static_cast<double>(ms->toULongLong()) / 1000.0;
        if (!plausibleIdleSeconds(seconds, clock_))
            return settle(State::Failed, "it answered an idle time longer than the uptime");
        timeline_.seed(seconds);
        settle(State::Working);
    }

    // One-shot watch: asked for after each idle notification only, so typing
    // costs no D-Bus traffic.
    void watchForActivity() {
        if (activeWatch_ || addingActiveWatch_) return;
        addingActiveWatch_ = true;
        callAsync(bus_, monitorMethod(QStringLiteral("AddUserActiveWatch")), this,
                  [this](const QDBusMessage& reply) {
                      addingActiveWatch_ = false;
                      const std::optional<QVariant> id = onlyArgument(reply, "u");
                      // Without it the user's return would go unseen: idle
                      // for ever, never a break. Better to stop.
                      if (!id) return settle(State::Failed, failure(reply, "u"));
                      activeWatch_ = id->toUInt();
                  });
    }

    QDBusConnection bus_;
    pid_t compositorPid_;
    Clock& clock_;
    IdleTimeline timeline_;
    QString owner_;
    uint idleWatch_ = 0, activeWatch_ = 0;
    bool addingActiveWatch_ = false;
};

// ---- org.freedesktop.ScreenSaver ---------------------------------------------------

// Polled: each tick sends one call and answers with the last reply, which
// the service measured at about the previous tick.
class ScreenSaverIdleSource : public QObject, public CombinedIdleSource {
public:
    ScreenSaverIdleSource(QDBusConnection bus, Clock& clock) : bus_(std::move(bus)), clock_(clock) {
        if (!bus_.isConnected()) {
            settle(State::Failed, "no session bus");
            return;
        }
        settle(State::Asking);
        // The interface promises seconds, but KDE's screen locker (the one
        // that also owns org.kde.screensaver) answers in milliseconds.
        callAsync(bus_,
                  busMethod(QStringLiteral("NameHasOwner"), QStringLiteral("org.kde.screensaver")),
                  this, [this](const QDBusMessage& reply) {
                      const std::optional<QVariant> kde = onlyArgument(reply, "b");
                      secondsPerUnit_ = kde && kde->toBool() ? 0.001 : 1.0;
                      ask();
                  });
    }

    std::optional<double> query() override {
        if (state() != State::Working) return std::nullopt;
        if (!asking_) ask();
        if (!answer_ || clock_.uptime() - answeredAt_ > kStaleSeconds) return std::nullopt;
        return answer_;
    }
    std::string name() const override { return kScreenSaverService.toStdString(); }

private:
    // One tick interval, two when a reply came late; older counts as none.
    static constexpr double kStaleSeconds = 12.0;

    void ask() {
        asking_ = true;
        const QDBusMessage call = QDBusMessage::createMethodCall(
            kScreenSaverService, QStringLiteral("/org/freedesktop/ScreenSaver"),
            kScreenSaverService, QStringLiteral("GetSessionIdleTime"));
        callAsync(bus_, call, this, [this](const QDBusMessage& reply) {
            asking_ = false;
            const std::optional<QVariant> value = onlyArgument(reply, "u");
            const double seconds = value ? value->toUInt() * secondsPerUnit_ : -1;
            if (!value || !plausibleIdleSeconds(seconds, clock_)) {
                // Lies and garbage are dropped; the last answer ages out.
                if (state() == State::Asking)
                    settle(State::Failed, value ? "it answered an idle time longer than the uptime"
                                                : failure(reply, "u"));
                return;
            }
            answer_ = seconds;
            answeredAt_ = clock_.uptime();
            settle(State::Working);
        });
    }

    QDBusConnection bus_;
    Clock& clock_;
    double secondsPerUnit_ = 1.0;
    bool asking_ = false;
    std::optional<double> answer_;
    double answeredAt_ = 0;
};

}  // namespace

std::unique_ptr<CombinedIdleSource> makeMutterIdleSource(const QDBusConnection& bus,
                                                         pid_t compositorPid, Clock& clock) {
    return std::make_unique<MutterIdleSource>(bus, compositorPid, clock);
}

std::unique_ptr<CombinedIdleSource> makeScreenSaverIdleSource(const QDBusConnection& bus,
                                                              Clock& clock) {
    return std::make_unique<ScreenSaverIdleSource>(bus, clock);
}

}  // namespace tamsel::qt

#include "idle_dbus.moc"
