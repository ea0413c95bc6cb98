// The desktop's D-Bus idle services, served by stand-ins on a private bus.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <chrono>
#include <thread>

#include "platform/qt/idle/idle_source.h"

namespace tamsel::qt {
namespace {

class FakeMutter : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")
public:
    std::atomic<quint64> idleMs{12345};
public slots:
    quint64 GetIdletime() { return idleMs; }
};

class FakeScreenSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    std::atomic<uint> idle{42};
    std::atomic<bool> refuse{false};
public slots:
    uint GetSessionIdleTime() {
        // What KDE's locker answers on Wayland.
        if (refuse)
            sendErrorReply(QDBusError::NotSupported, QStringLiteral("not on this platform"));
        return idle;
    }
};

// A session bus of our own, and a thread that answers for the stand-ins:
// the sources block the calling thread while they wait.
class DBusIdle : public ::testing::Test {
protected:
    void SetUp() override {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
        daemon_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                               QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon_.waitForStarted(5000));
        ASSERT_TRUE(daemon_.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
        provider_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("provider")));
        client_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("client")));
        ASSERT_TRUE(provider_->isConnected());
        ASSERT_TRUE(client_->isConnected());
        mutter_.moveToThread(&thread_);
        screenSaver_.moveToThread(&thread_);
        thread_.start();
    }
    void TearDown() override {
        thread_.quit();
        thread_.wait();
        provider_.reset();
        client_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("provider"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.kill();
            daemon_.waitForFinished(5000);
        }
    }
    void offerMutter() {
        ASSERT_TRUE(provider_->registerObject(QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                                              &mutter_, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(provider_->registerService(QStringLiteral("org.gnome.Mutter.IdleMonitor")));
    }
    void offerScreenSaver() {
        ASSERT_TRUE(provider_->registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"),
                                              &screenSaver_, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(provider_->registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    }

    QProcess daemon_;
    std::unique_ptr<QDBusConnection> provider_, client_;
    QThread thread_;
    FakeMutter mutter_;
    FakeScreenSaver screenSaver_;
};

TEST_F(DBusIdle, GnomesIdleMonitorAnswersInMilliseconds) {
    offerMutter();
    auto source = makeMutterIdleSource(*client_);
    ASSERT_NE(source, nullptr);
    EXPECT_DOUBLE_EQ(source->secondsSinceLastEvent(InputEvent::KeyUp), 12.345);
    EXPECT_DOUBLE_EQ(source->secondsSinceLastEvent(InputEvent::ScrollWheel), 12.345);
}

TEST_F(DBusIdle, TheScreenSaverServiceAnswersInSecondsButKdesInMilliseconds) {
    offerScreenSaver();
    auto source = makeScreenSaverIdleSource(*client_);
    ASSERT_NE(source, nullptr);
    EXPECT_DOUBLE_EQ(source->secondsSinceLastEvent(InputEvent::MouseMoved), 42.0);

    ASSERT_TRUE(provider_->registerService(QStringLiteral("org.kde.screensaver")));
    screenSaver_.idle = 42000;
    auto kde = makeScreenSaverIdleSource(*client_);
    ASSERT_NE(kde, nullptr);
    EXPECT_DOUBLE_EQ(kde->secondsSinceLastEvent(InputEvent::MouseMoved), 42.0);
}

TEST_F(DBusIdle, AServiceThatIsMissingOrRefusesIsNoSource) {
    EXPECT_EQ(makeMutterIdleSource(*client_), nullptr);
    EXPECT_EQ(makeScreenSaverIdleSource(*client_), nullptr);
    screenSaver_.refuse = true;
    offerScreenSaver();
    EXPECT_EQ(makeScreenSaverIdleSource(*client_), nullptr);
}

TEST_F(DBusIdle, AServiceThatGoesAwayLeavesTheUserActive) {
    offerMutter();
    auto source = makeMutterIdleSource(*client_);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(provider_->unregisterService(QStringLiteral("org.gnome.Mutter.IdleMonitor")));
    std::this_thread::sleep_for(std::chrono::milliseconds(120));  // past the cached answer
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(source->secondsSinceLastEvent(InputEvent::KeyUp), 0.0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("GNOME's idle monitor"), std::string::npos) << said;
}

}  // namespace
}  // namespace tamsel::qt

#include "test_idle_dbus.moc"
