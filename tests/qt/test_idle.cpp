// Idle time: the idled and resumed notifications turned into seconds, and
// the desktop's D-Bus idle services played by stand-ins on a private bus.

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QThread>
#include <atomic>
#include <sstream>
#include <vector>

#include "platform/qt/idle/idle_source.h"
#include "platform/qt/idle/idle_timeline.h"
#include "qt_test.h"
#include "sim/sim_platform.h"

namespace tamsel::qt {
namespace {

// Each story in steps of three: the time, what was said (idled, resumed,
// seed=seconds, or -), the seconds since input right after.
TEST(IdleTimeline, NotificationsBecomeSecondsSinceTheLastInput) {
    const char* stories[] = {
        "0 - 0   86400 - 0",            // idle time from before we asked is unknown
        "0 - 0   5 idled 5   12 - 12",  // counted from one timeout back
        "9.999 - 0   10 idled 5   10.5 - 5.5",
        "5 idled 5   7 resumed 0   15 idled 5   20 - 10",
        // GNOME tells the idle time once at start, beyond the timeout or below it.
        "100 seed=30 30   105 - 35   200 seed=2 0   204 - 0",
    };
    for (const char* story : stories) {
        double now = 0, expected = 0;
        IdleTimeline timeline([&now] { return now; }, 5.0);
        std::istringstream steps(story);
        for (std::string said; steps >> now >> said >> expected;) {
            if (said == "idled") timeline.idled();
            if (said == "resumed") timeline.resumed();
            if (said.starts_with("seed=")) timeline.seed(std::stod(said.substr(5)));
            EXPECT_DOUBLE_EQ(timeline.secondsSinceInput(), expected) << story << ", at " << now;
        }
    }
}

// The stand-ins answer from a thread of their own; a stalled one holds it
// until the test lets it go, long after the caller gave up.
std::atomic<bool> stall{false};
void answerWhenLetGo() {
    while (stall) QThread::msleep(5);
}

class FakeMutter : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")
public:
    std::atomic<uint> idleWatch{0}, activeWatch{0}, nextId{1};
public slots:
    uint AddIdleWatch(quint64) { return idleWatch = nextId++; }
    uint AddUserActiveWatch() { return activeWatch = nextId++; }
    quint64 GetIdletime() { return answerWhenLetGo(), 12345; }
};

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint GetSessionIdleTime() { return answerWhenLetGo(), 42; }
};

// A session bus of our own.
class DBusIdle : public ::testing::Test {
protected:
    void SetUp() override {
        clock_.uptime_ = 1000;  // small enough to keep milliseconds exact
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        ASSERT_TRUE(daemon_.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
        provider_ = QDBusConnection::connectToBus(address, QStringLiteral("provider"));
        client_ = QDBusConnection::connectToBus(address, QStringLiteral("client"));
        mutter_.moveToThread(&thread_);
        screenSaver_.moveToThread(&thread_);
        thread_.start();
    }
    void TearDown() override {
        stall = false;
        thread_.quit();
        thread_.wait();
        for (const char* name : {"provider", "client"}) QDBusConnection::disconnectFromBus(name);
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    void offer(QObject* standIn, const char* path, const char* name) {
        ASSERT_TRUE(provider_.registerObject(path, standIn, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(provider_.registerService(name));
    }
    // Runs the event loop until the source knows, the call time-out included.
    static std::unique_ptr<CombinedIdleSource> settled(std::unique_ptr<CombinedIdleSource> s) {
        test::waitFor([&s] { return s->state() != CombinedIdleSource::State::Asking; }, 3000);
        return s;
    }
    std::unique_ptr<CombinedIdleSource> mutter(pid_t compositor) {
        return settled(makeMutterIdleSource(client_, compositor, clock_));
    }
    void fire(QVariant id) {
        provider_.send(QDBusMessage::createSignal(kMutterPath, kMutter, "WatchFired") << id);
    }
    // One activity tick (its five queries), once the last answer expired.
    double tick(CombinedIdleSource& source) {
        test::runFor(120);
        QElapsedTimer took;
        took.start();
        const double answer = source.secondsSinceLastEvent(InputEvent::KeyUp);
        for (int i = 0; i < 4; ++i) source.secondsSinceLastEvent(InputEvent::MouseMoved);
        tickMs_ = took.elapsed();
        return answer;
    }

    static constexpr const char *kMutterPath = "/org/gnome/Mutter/IdleMonitor/Core",
                                *kMutter = "org.gnome.Mutter.IdleMonitor";
    QProcess daemon_;
    QDBusConnection provider_{QString()}, client_{QString()};
    QThread thread_;
    FakeMutter mutter_;
    FakeScreenSaver screenSaver_;
    sim::SimClock clock_;
    qint64 tickMs_ = 0;
};

TEST_F(DBusIdle, GnomesIdleMonitorIsAskedOnlyWhenTheCompositorOwnsItsName) {
    offer(&mutter_, kMutterPath, kMutter);
    // The stand-in is this process: an impostor for any other compositor.
    const std::pair<pid_t, const char*> others[] = {{0, "no Wayland compositor"},
                                                    {getpid() + 1, "not by the compositor"}};
    for (auto [pid, why] : others) EXPECT_NE(mutter(pid)->whyNot().find(why), std::string::npos);

    auto source = mutter(getpid());
    ASSERT_EQ(source->state(), CombinedIdleSource::State::Working) << source->whyNot();
    EXPECT_NEAR(tick(*source), 12.345, 1e-9);  // GetIdletime, at start
    fire(mutter_.activeWatch.load());
    EXPECT_EQ(tick(*source), 0.0);
    fire(QStringLiteral("lie"));  // a watch id of the wrong type
    fire(mutter_.idleWatch.load());
    EXPECT_DOUBLE_EQ(tick(*source), 5.0);
}

// KDE's screen saver, under its own name too, answers in milliseconds.
TEST_F(DBusIdle, AStalledServiceNeverHoldsUpTheTick) {
    offer(&screenSaver_, "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver");
    ASSERT_TRUE(provider_.registerService(QStringLiteral("org.kde.screensaver")));
    auto source = settled(makeScreenSaverIdleSource(client_, clock_));
    ASSERT_EQ(source->state(), CombinedIdleSource::State::Working) << source->whyNot();
    stall = true;
    for (double expected : {0.042, 0.042, 0.042, 0.0}) {
        // The last answer serves two more ticks, then the user is active.
        EXPECT_EQ(tick(*source), expected);
        EXPECT_LT(tickMs_, 20) << "the tick waited for the service";
        clock_.uptime_ += 5.0;
    }

    // GNOME's monitor stalled at start: the source does not wait for it.
    offer(&mutter_, kMutterPath, kMutter);
    QElapsedTimer took;
    took.start();
    auto stalled = makeMutterIdleSource(client_, getpid(), clock_);
    EXPECT_LT(took.elapsed(), 50);
    stalled = settled(std::move(stalled));
    EXPECT_NE(stalled->whyNot().find("no answer"), std::string::npos) << stalled->whyNot();
}

}  // namespace
}  // namespace tamsel::qt

#include "test_idle.moc"
