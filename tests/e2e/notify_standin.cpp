// A stand-in notification server for the end-to-end stories: owns
// org.freedesktop.Notifications on the session bus it is given and prints
// one line per Notify call ("Notify<TAB>app<TAB>summary<TAB>body").

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        std::printf("Notify\t%s\t%s\t%s\n", qPrintable(app), qPrintable(summary), qPrintable(body));
        std::fflush(stdout);
        return ++last_;
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }

private:
    uint last_ = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Notifications server;
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "stand-in: cannot own org.freedesktop.Notifications\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "notify_standin.moc"
