#include "platform/qt/desktop/remote.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

#include "platform/qt/modal_gate.h"

namespace tamsel::qt {

namespace {

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

struct Method {
    const char* name;
    const char* signature;
    Request request;
};
constexpr Method kMethods[] = {
    {"BreakNow", "", Request::BreakNow},
    {"Pause", "u", Request::Pause},
    {"Resume", "", Request::Resume},
    {"Skip", "", Request::Skip},
    {"ShowPreferences", "", Request::ShowPreferences},
    {"ChooseMenuItem", "s", Request::ChooseMenuItem},
};

const char* argumentName(Request request) {
    return request == Request::Pause ? "seconds" : "action";
}

}  // namespace

// The composite values as D-Bus knows them: a colour (dddd), a menu
// a(ssba(ssb)) of title, action, enabled and the submenu's items.
struct BusColor {
    double red = 0, green = 0, blue = 0, alpha = 0;
};
struct BusSubItem {
    QString title, action;
    bool enabled = true;
};
struct BusMenuItem {
    QString title, action;
    bool enabled = true;
    QList<BusSubItem> submenu;  // one level: the inner items' own are dropped
};

QDBusArgument& operator<<(QDBusArgument& arg, const BusColor& c) {
    arg.beginStructure();
    arg << c.red << c.green << c.blue << c.alpha;
    arg.endStructure();
    return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, BusColor& c) {
    arg.beginStructure();
    arg >> c.red >> c.green >> c.blue >> c.alpha;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const BusSubItem& item) {
    arg.beginStructure();
    arg << item.title << item.action << item.enabled;
    arg.endStructure();
    return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, BusSubItem& item) {
    arg.beginStructure();
    arg >> item.title >> item.action >> item.enabled;
    arg.endStructure();
    return arg;
}
QDBusArgument& operator<<(QDBusArgument& arg, const BusMenuItem& item) {
    arg.beginStructure();
    arg << item.title << item.action << item.enabled << item.submenu;
    arg.endStructure();
    return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, BusMenuItem& item) {
    arg.beginStructure();
    arg >> item.title >> item.action >> item.enabled >> item.submenu;
    arg.endStructure();
    return arg;
}

}  // namespace tamsel::qt

Q_DECLARE_METATYPE(tamsel::qt::BusColor)
Q_DECLARE_METATYPE(tamsel::qt::BusMenuItem)
Q_DECLARE_METATYPE(tamsel::qt::BusSubItem)

namespace tamsel::qt {

namespace {

QList<BusMenuItem> toBus(const std::vector<MenuItem>& items) {
    QList<BusMenuItem> list;
    for (const MenuItem& item : items) {
        QList<BusSubItem> submenu;
        for (const MenuItem& sub : item.submenu)
            submenu.append({QString::fromStdString(sub.title), QString::fromStdString(sub.action),
                            sub.enabled});
        list.append({QString::fromStdString(item.title), QString::fromStdString(item.action),
                     item.enabled, submenu});
    }
    return list;
}

QVariant toQVariant(const RemoteProperty& p) {
    return std::visit(
        [](const auto& v) -> QVariant {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
                return QString::fromStdString(v);
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return QVariant::fromValue<int>(v);
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return QVariant::fromValue<qlonglong>(v);
            else if constexpr (std::is_same_v<T, std::uint32_t>)
                return QVariant::fromValue<uint>(v);
            else if constexpr (std::is_same_v<T, Color>)
                return QVariant::fromValue(BusColor{v.red, v.green, v.blue, v.alpha});
            else
                return QVariant::fromValue(toBus(v));
        },
        p.value);
}

const char* typeOf(const RemoteProperty& p) {
    static const char* types[] = {"s", "i", "x", "(dddd)", "a(ssba(ssb))", "u"};
    return types[p.value.index()];
}

void say(const char* text) {
    std::fprintf(stderr, "tamsel: %s\n", text);
    std::fflush(stderr);
}

}  // namespace

class QtRemote::BusObject : public QDBusVirtualObject {
public:
    explicit BusObject(QtRemote& remote) : remote_(remote) {}

    QString introspect(const QString&) const override { return remote_.interfaceXml(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.type() != QDBusMessage::MethodCallMessage) return false;
        if (message.interface() == kProperties) return properties(message, connection);
        if (!message.interface().isEmpty() && message.interface() != QLatin1String(kInterface))
            return false;
        for (const Method& m : kMethods) {
            if (message.member() != QLatin1String(m.name)) continue;
            if (message.signature() != QLatin1String(m.signature)) {
                connection.send(message.createErrorReply(
                    QDBusError::InvalidArgs,
                    QStringLiteral("%1 takes (%2)").arg(m.name, m.signature)));
                return true;
            }
            RemoteRequest request{m.request};
            if (m.request == Request::Pause)
                request.seconds = message.arguments().constFirst().toUInt();
            else if (*m.signature)
                request.action = message.arguments().constFirst().toString().toStdString();
            // Answered later, once the command has run (and the password box,
            // if any, was answered).
            QDBusConnection bus = connection;
            remote_.request(std::move(request), [message, bus](const std::string& refusal) {
                if (!message.isReplyRequired()) return;
                bus.send(refusal.empty()
                             ? message.createReply()
                             : message.createErrorReply(kRefused, QString::fromStdString(refusal)));
            });
            return true;
        }
        connection.send(message.createErrorReply(
            QDBusError::UnknownMethod, QStringLiteral("%1 has no method %2")
                                           .arg(QLatin1String(kInterface), message.member())));
        return true;
    }

private:
    bool properties(const QDBusMessage& message, const QDBusConnection& connection) {
        const QList<QVariant> args = message.arguments();
        const QString member = message.member();
        auto wrongInterface = [&] {
            return args.isEmpty() || (!args[0].toString().isEmpty() &&
                                      args[0].toString() != QLatin1String(kInterface));
        };
        if (member == QLatin1String("GetAll") && message.signature() == QLatin1String("s")) {
            QVariantMap all;
            if (!wrongInterface())
                for (const RemoteProperty& p : remote_.properties())
                    all.insert(QString::fromStdString(p.name), toQVariant(p));
            connection.send(message.createReply(QVariant::fromValue(all)));
            return true;
        }
        if (member == QLatin1String("Get") && message.signature() == QLatin1String("ss")) {
            for (const RemoteProperty& p : remote_.properties()) {
                if (wrongInterface() || args[1].toString() != QString::fromStdString(p.name))
                    continue;
                connection.send(
                    message.createReply(QVariant::fromValue(QDBusVariant(toQVariant(p)))));
                return true;
            }
            connection.send(message.createErrorReply(QDBusError::UnknownProperty,
                                                     QStringLiteral("No such property")));
            return true;
        }
        if (member == QLatin1String("Set")) {
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                QStringLiteral("Every property of Tamsel is read-only")));
            return true;
        }
        return false;
    }

    QtRemote& remote_;
};

QtRemote::QtRemote() : object_(std::make_unique<BusObject>(*this)) {
    qDBusRegisterMetaType<BusColor>();
    qDBusRegisterMetaType<BusSubItem>();
    qDBusRegisterMetaType<QList<BusSubItem>>();
    qDBusRegisterMetaType<BusMenuItem>();
    qDBusRegisterMetaType<QList<BusMenuItem>>();
}

QtRemote::~QtRemote() {
    if (onBus_) QDBusConnection::sessionBus().unregisterObject(QLatin1String(kPath));
}

QString QtRemote::interfaceXml() const {
    QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(kInterface));
    for (const Method& m : kMethods) {
        if (*m.signature)
            xml += QStringLiteral(
                       "    <method name=\"%1\">\n      <arg name=\"%3\" type=\"%2\" "
                       "direction=\"in\"/>\n    </method>\n")
                       .arg(QLatin1String(m.name), QLatin1String(m.signature),
                            QLatin1String(argumentName(m.request)));
        else
            xml += QStringLiteral("    <method name=\"%1\"/>\n").arg(QLatin1String(m.name));
    }
    for (const RemoteProperty& p : properties_)
        xml += QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"read\"/>\n")
                   .arg(QString::fromStdString(p.name), QLatin1String(typeOf(p)));
    return xml + QStringLiteral("  </interface>\n");
}

void QtRemote::serve(Handler handler) {
    handler_ = std::move(handler);
    for (auto& run : std::exchange(early_, {})) whenNoModal(std::move(run));

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return;
    if (!bus.registerVirtualObject(QLatin1String(kPath), object_.get())) {
        say("could not put org.tamsel.Tamsel on the session bus; scripts cannot reach Tamsel.");
        return;
    }
    const auto reply = bus.interface()->registerService(
        QLatin1String(kService), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QLatin1String(kPath));
        say("another program owns the name org.tamsel.Tamsel on the session bus, so scripts "
            "reach that one and not this Tamsel; it runs on without the scripting interface.");
        return;
    }
    onBus_ = true;
}

void QtRemote::publish(const std::vector<RemoteProperty>& properties) {
    QVariantMap changed;
    for (const RemoteProperty& p : properties) {
        auto before = std::find_if(properties_.begin(), properties_.end(),
                                   [&](const RemoteProperty& q) { return q.name == p.name; });
        if (before == properties_.end() || !(before->value == p.value))
            changed.insert(QString::fromStdString(p.name), toQVariant(p));
    }
    properties_ = properties;
    if (!onBus_ || changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(kPath), kProperties,
                                                     QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(kInterface) << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void QtRemote::request(RemoteRequest request, Answer answer) {
    auto run = [this, request = std::move(request), answer] {
        if (handler_) handler_(request, answer);
    };
    if (!handler_) {
        early_.push_back(std::move(run));
        return;
    }
    whenNoModal(std::move(run));
}

void QtRemote::whenNoModal(std::function<void()> run) {
    QPointer<QObject> alive(&context_);
    QTimer::singleShot(0, &context_, [this, alive, run] {
        if (ModalGate::instance().active()) {
            // After the last modal run ends, and checked again then.
            ModalGate::instance().hold([this, alive, run] {
                if (alive) whenNoModal(run);
            });
            return;
        }
        run();
    });
}

}  // namespace tamsel::qt
