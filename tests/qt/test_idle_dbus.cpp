// The desktop's D-Bus idle services, played by stand-ins on a private bus:
// honest, stalled, lying, and an impostor owning GNOME's name.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <atomic>
#include <mutex>

#include "platform/qt/idle/idle_source.h"
#include "sim/sim_platform.h"

namespace tamsel::qt {
namespace {

using State = CombinedIdleSource::State;

// What a stand-in answers: the truth, nothing (held until the test lets it
// answer, long after the caller gave up), a reply of another type, or an
// idle time longer than the machine has been up.
enum class Answer { Truth, Stall, WrongType, Absurd };

class StandIn : public QObject, protected QDBusContext {
    Q_OBJECT  // so QtDBus finds the context in the stand-ins below
        public : std::atomic<Answer>
                     answer{Answer::Truth};
    void answerLate() {
        std::lock_guard lock(mutex_);
        for (const QDBusMessage& call : held_) bus_->send(call.createReply(uint(1)));
        held_.clear();
    }
    QDBusConnection* bus_ = nullptr;

protected:
    template <typename T>
    T respond(T truth, T absurd) {
        if (answer == Answer::Absurd) return absurd;
        if (answer == Answer::Truth) return truth;
        setDelayedReply(true);
        if (answer == Answer::WrongType)
            connection().send(message().createReply(QStringLiteral("forever")));
        std::lock_guard lock(mutex_);
        if (answer == Answer::Stall) held_.push_back(message());
        return T{};
    }

private:
    std::mutex mutex_;
    std::vector<QDBusMessage> held_;
};

class FakeMutter : public StandIn {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")
public:
    std::atomic<uint> idleWatch{0}, activeWatch{0}, nextId{1};
public slots:
    uint AddIdleWatch(quint64) { return idleWatch = nextId++; }
    uint AddUserActiveWatch() { return activeWatch = nextId++; }
    quint64 GetIdletime() { return respond<quint64>(12345, 0xFFFFFFFFFFFFull); }
};

class FakeScreenSaver : public StandIn {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint GetSessionIdleTime() { return respond<uint>(42, 0xFFFFFFFFu); }
};

// A session bus of our own; the stand-ins answer from a thread of their own.
class DBusIdle : public ::testing::Test {
protected:
    void SetUp() override {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
        clock_.uptime_ = 1000;  // small enough to keep milliseconds exact
        daemon_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                               QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon_.waitForStarted(5000));
        ASSERT_TRUE(daemon_.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
        provider_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("provider")));
        client_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("client")));
        ASSERT_TRUE(provider_->isConnected() && client_->isConnected());
        mutter_.bus_ = screenSaver_.bus_ = provider_.get();
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
    void offer(QObject* standIn, const char* path, const char* name) {
        ASSERT_TRUE(provider_->registerObject(QLatin1String(path), standIn,
                                              QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(provider_->registerService(QLatin1String(name)));
    }
    void offerMutter() {
        offer(&mutter_, "/org/gnome/Mutter/IdleMonitor/Core", "org.gnome.Mutter.IdleMonitor");
    }
    void offerScreenSaver() {
        offer(&screenSaver_, "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver");
    }
    std::unique_ptr<CombinedIdleSource> mutter(pid_t compositor) {
        return settled(makeMutterIdleSource(*client_, compositor, clock_));
    }
    std::unique_ptr<CombinedIdleSource> screenSaver() {
        return settled(makeScreenSaverIdleSource(*client_, clock_));
    }
    // Runs the event loop until the source knows, the call time-out included.
    static std::unique_ptr<CombinedIdleSource> settled(std::unique_ptr<CombinedIdleSource> s) {
        QElapsedTimer waited;
        waited.start();
        while (s->state() == State::Asking && waited.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return s;
    }
    void fire(QVariant id) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
            QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("WatchFired"));
        signal << id;
        provider_->send(signal);
    }
    // One activity tick (its five queries), once the last answer expired.
    double tick(CombinedIdleSource& source) {
        QElapsedTimer took;
        took.start();
        while (took.elapsed() < 120) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        took.restart();
        const double answer = source.secondsSinceLastEvent(InputEvent::KeyUp);
        for (int i = 0; i < 4; ++i) source.secondsSinceLastEvent(InputEvent::MouseMoved);
        tickMs_ = took.elapsed();
        return answer;
    }

    QProcess daemon_;
    std::unique_ptr<QDBusConnection> provider_, client_;
    QThread thread_;
    FakeMutter mutter_;
    FakeScreenSaver screenSaver_;
    sim::SimClock clock_;
    qint64 tickMs_ = 0;
};

TEST_F(DBusIdle, GnomesIdleMonitorIsAskedOnlyWhenTheCompositorOwnsItsName) {
    offerMutter();
    // The stand-in is this process: an impostor for any other compositor.
    EXPECT_EQ(mutter(0)->state(), State::Failed);
    auto impostor = mutter(getpid() + 1);
    EXPECT_EQ(impostor->state(), State::Failed);
    EXPECT_NE(impostor->whyNot().find("not by the compositor"), std::string::npos)
        << impostor->whyNot();

    auto source = mutter(getpid());
    ASSERT_EQ(source->state(), State::Working) << source->whyNot();
    EXPECT_NEAR(tick(*source), 12.345, 1e-9);  // GetIdletime, at start
    fire(mutter_.activeWatch.load());
    EXPECT_EQ(tick(*source), 0.0);
    fire(QStringLiteral("lie"));  // a watch id of the wrong type
    fire(mutter_.idleWatch.load());
    EXPECT_DOUBLE_EQ(tick(*source), 5.0);
}

TEST_F(DBusIdle, AStalledServiceNeverHoldsUpTheTick) {
    offerScreenSaver();
    auto source = screenSaver();
    ASSERT_EQ(source->state(), State::Working) << source->whyNot();
    screenSaver_.answer = Answer::Stall;
    ::testing::internal::CaptureStderr();
    for (double expected : {42.0, 42.0, 42.0, 0.0}) {
        // The last answer serves two more ticks, then the user is active.
        EXPECT_EQ(tick(*source), expected);
        EXPECT_LT(tickMs_, 20) << "the tick waited for the service";
        clock_.uptime_ += 5.0;
    }
    screenSaver_.answerLate();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("stopped telling"), std::string::npos);

    // GNOME's monitor stalled at start: the source does not wait for it.
    mutter_.answer = Answer::Stall;
    offerMutter();
    QElapsedTimer took;
    took.start();
    auto stalled = makeMutterIdleSource(*client_, getpid(), clock_);
    EXPECT_LT(took.elapsed(), 50);
    stalled = settled(std::move(stalled));
    EXPECT_EQ(stalled->state(), State::Failed);
    EXPECT_NE(stalled->whyNot().find("no answer"), std::string::npos) << stalled->whyNot();
    mutter_.answerLate();
}

TEST_F(DBusIdle, LiesAreIgnored) {
    offerScreenSaver();
    offerMutter();
    for (Answer lie : {Answer::WrongType, Answer::Absurd}) {
        SCOPED_TRACE(lie == Answer::WrongType ? "wrong type" : "longer than the uptime");
        screenSaver_.answer = mutter_.answer = lie;
        EXPECT_EQ(screenSaver()->state(), State::Failed);
        EXPECT_EQ(mutter(getpid())->state(), State::Failed);

        // A lie after honest answers changes nothing.
        screenSaver_.answer = Answer::Truth;
        auto source = screenSaver();
        ASSERT_EQ(source->state(), State::Working);
        screenSaver_.answer = lie;
        EXPECT_EQ(tick(*source), 42.0);
        EXPECT_EQ(tick(*source), 42.0);
    }
}

TEST_F(DBusIdle, KdesScreenSaverAnswersInMilliseconds) {
    offerScreenSaver();
    ASSERT_TRUE(provider_->registerService(QStringLiteral("org.kde.screensaver")));
    auto source = screenSaver();
    ASSERT_EQ(source->state(), State::Working);
    EXPECT_DOUBLE_EQ(tick(*source), 0.042);
}

}  // namespace
}  // namespace tamsel::qt

#include "test_idle_dbus.moc"
