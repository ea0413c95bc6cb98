// Input for end-to-end stories on headless mutter, through its RemoteDesktop
// D-Bus API. The session belongs to the connection that made it, so this
// stays running: one command a line on stdin, "ok" or "error" on stdout.
//   move X Y | click X Y [BUTTON] | key KEYCODE
// Buttons 1 left, 2 middle, 3 right; keys are evdev codes.

#include <linux/input-event-codes.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString service = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusInterface desktop(service, QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), service,
                           bus);
    const QDBusReply<QDBusObjectPath> path = desktop.call(QStringLiteral("CreateSession"));
    if (!path.isValid()) {
        std::fprintf(stderr, "rdinput: %s\n", qPrintable(path.error().message()));
        return 1;
    }
    QDBusInterface session(service, path.value().path(), service + QStringLiteral(".Session"), bus);
    auto ok = [](const QDBusMessage& reply) { return reply.type() == QDBusMessage::ReplyMessage; };
    if (!ok(session.call(QStringLiteral("Start")))) return 1;
    const QString motion = QStringLiteral("NotifyPointerMotionRelative");
    const QString button = QStringLiteral("NotifyPointerButton");
    const QString key = QStringLiteral("NotifyKeyboardKeycode");
    const int buttons[] = {BTN_LEFT, BTN_MIDDLE, BTN_RIGHT};
    // Mutter 43 loses the first key after its virtual keyboard appears:
    // make it appear now, with a Shift.
    session.call(key, uint(KEY_LEFTSHIFT), true);
    session.call(key, uint(KEY_LEFTSHIFT), false);
    std::puts("ready");
    std::fflush(stdout);

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string what;
        int x = 0, y = 0, b = 1;
        words >> what >> x >> y >> b;
        bool done = false;
        if (what == "move" || what == "click") {
            // Absolute motion needs a screen-cast stream: to the corner, then there.
            done = ok(session.call(motion, -5000.0, -5000.0)) &&
                   ok(session.call(motion, double(x), double(y)));
            if (done && what == "click" && b >= 1 && b <= 3)
                done = ok(session.call(button, buttons[b - 1], true)) &&
                       ok(session.call(button, buttons[b - 1], false));
        } else if (what == "key") {
            done = ok(session.call(key, uint(x), true)) && ok(session.call(key, uint(x), false));
        }
        std::puts(done ? "ok" : "error");
        std::fflush(stdout);
    }
    session.call(QStringLiteral("Stop"));
    return 0;
}
