#include "platform/qt/desktop/shell_extension.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/qt/views/overlay_route.h"

namespace tamsel::qt {

namespace {

constexpr int kCallTimeoutMs = 2000;

void say(const std::string& line) {
    std::fprintf(stderr, "tamsel: %s\n", line.c_str());
    std::fflush(stderr);
}

void askBus(const QDBusConnection& bus, const QString& method, const QString& argument,
            QObject* context, std::function<void(const QDBusMessage&)> then) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    call << argument;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, then = std::move(then)] {
                         watcher->deleteLater();
                         then(watcher->reply());
                     });
}

// The reply's only argument as text, or empty for an error or any other shape.
QString onlyArgument(const QDBusMessage& reply, const char* signature) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String(signature))
        return {};
    return reply.arguments().constFirst().toString();
}

}  // namespace

bool gnomeDesktop() {
    const QStringList names =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return names.contains(QLatin1String("GNOME"), Qt::CaseInsensitive);
}

ShellExtensionWatch::ShellExtensionWatch(QDBusConnection bus, pid_t compositorPid)
    : bus_(std::move(bus)), compositorPid_(compositorPid) {
    if (!bus_.isConnected() || compositorPid_ <= 0) {
        settled_ = true;
        return;
    }
    const QString service = QLatin1String(kShellExtensionService);
    auto* watcher =
        new QDBusServiceWatcher(service, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) { check(owner); });
    const unsigned asked = ++generation_;
    askBus(bus_, QStringLiteral("GetNameOwner"), service, this,
           [this, asked](const QDBusMessage& reply) {
               // A change seen meanwhile is newer than this answer.
               if (asked == generation_) check(onlyArgument(reply, "s"));
           });
}

ShellExtensionWatch::~ShellExtensionWatch() {
    setGnomeExtensionActive(false);
}

void ShellExtensionWatch::settle(int ms) {
    if (settled_) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
        if (settled_) loop.quit();
    });
    poll.start(10);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void ShellExtensionWatch::check(const QString& owner) {
    const unsigned asked = ++generation_;
    if (owner.isEmpty()) return setActive(false);
    askBus(bus_, QStringLiteral("GetConnectionUnixProcessID"), owner, this,
           [this, asked](const QDBusMessage& reply) {
               if (asked != generation_) return;
               const pid_t pid = static_cast<pid_t>(reply.type() == QDBusMessage::ReplyMessage &&
                                                            reply.signature() == QLatin1String("u")
                                                        ? reply.arguments().constFirst().toUInt()
                                                        : 0);
               if (pid != compositorPid_ && pid != refusedPid_) {
                   refusedPid_ = pid;
                   say(std::string(kShellExtensionService) + " is owned by process " +
                       std::to_string(pid) + ", not by the compositor (process " +
                       std::to_string(compositorPid_) + "); Tamsel shows its own indicator.");
               }
               setActive(pid == compositorPid_);
           });
}

void ShellExtensionWatch::setActive(bool active) {
    settled_ = true;
    if (active == active_) return;
    active_ = active;
    say(active ? "the GNOME Shell extension shows the indicator and the menu"
               : "the GNOME Shell extension is gone; Tamsel shows its own indicator again");
    setGnomeExtensionActive(active);
}

}  // namespace tamsel::qt
