// Idle sources: one query per tick, a source that stops answering, the
// fallback when this desktop offers none, asking again later, a compositor
// that hangs up, and idled and resumed notifications turned into seconds;
// the desktop's D-Bus idle services, played by stand-ins on a private bus:
// honest, stalled, lying, and an impostor owning GNOME's name.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/qt/idle/idle_source.h"
#include "platform/qt/idle/idle_timeline.h"
#include "qt_test.h"
#include "sim/sim_platform.h"

namespace tamsel::qt {
namespace {

using State = CombinedIdleSource::State;

constexpr InputEvent kAllTypes[] = {InputEvent::KeyUp, InputEvent::LeftMouseDown,
                                    InputEvent::RightMouseUp, InputEvent::MouseMoved,
                                    InputEvent::ScrollWheel};

class ScriptedSource : public CombinedIdleSource {
public:
    std::optional<double> query() override {
        ++queries;
        return answer;
    }
    std::string name() const override { return "the scripted source"; }
    void breakDown() { settle(State::Failed, "it broke"); }
    std::optional<double> answer = 7.5;
    int queries = 0;
};

// A negative answer is no idle time; no answer counts the user active, said once.
TEST(CombinedSource, OneQueryAnswersAllFiveTypesOfATickAndOddAnswersMeanActive) {
    ScriptedSource source;
    for (InputEvent type : kAllTypes) EXPECT_EQ(source.secondsSinceLastEvent(type), 7.5);
    EXPECT_EQ(source.queries, 1);
    const std::pair<std::optional<double>, double> ticks[] = {
        {0.25, 0.25}, {-3.0, 0.0}, {std::nullopt, 0.0}, {std::nullopt, 0.0}};
    const std::string said = test::stderrOf([&] {
        for (auto [answer, expected] : ticks) {
            std::this_thread::sleep_for(std::chrono::milliseconds(120));  // the next tick
            source.answer = answer;
            EXPECT_EQ(source.secondsSinceLastEvent(InputEvent::MouseMoved), expected);
        }
    });
    EXPECT_EQ(source.queries, 5);
    EXPECT_NE(said.find("the scripted source"), std::string::npos) << said;
    EXPECT_TRUE(test::saidOnce(said, "tamsel:"));
}

TEST(IdleFactory, WithoutAnySourceTheUserCountsAsActiveAndIsToldWhy) {
    // Offscreen, with D-Bus switched off: neither X nor the desktop answers,
    // even when the tests run inside a Wayland session.
    ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("offscreen"));
    qputenv("XDG_SESSION_TYPE", "x11");
    sim::SimClock clock;
    std::unique_ptr<IdleSource> source;
    const std::string said = test::stderrOf([&] { source = makeIdleSource(clock); });
    ASSERT_NE(source, nullptr);
    for (InputEvent type : kAllTypes) EXPECT_EQ(source->secondsSinceLastEvent(type), 0.0);
    const std::string problem = idleProblem();
    EXPECT_NE(problem.find("counts you as active"), std::string::npos) << problem;
    EXPECT_NE(said.find(problem), std::string::npos) << said;
    EXPECT_TRUE(test::saidOnce(said, "tamsel:"));
}

TEST(IdleChain, WithoutAWorkingSourceItAsksAgainAtMostOnceAMinute) {
    sim::SimClock clock;
    bool offered = false;
    ScriptedSource* made = nullptr;
    IdleChain chain({{"the scripted source",
                      [&]() -> std::unique_ptr<CombinedIdleSource> {
                          if (!offered) return failedIdleSource("the scripted source", "absent");
                          auto source = std::make_unique<ScriptedSource>();
                          made = source.get();
                          return source;
                      }}},
                    clock);
    ::testing::internal::CaptureStderr();
    chain.start();
    offered = true;
    clock.uptime_ += 59;
    EXPECT_EQ(chain.secondsSinceLastEvent(InputEvent::KeyUp), 0.0);
    EXPECT_EQ(made, nullptr) << "asked again within the minute";
    clock.uptime_ += 1;
    EXPECT_EQ(chain.secondsSinceLastEvent(InputEvent::KeyUp), 7.5);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(idleSourceStatus().inUse, "the scripted source");

    // The source breaks for good: said once, the user counts as active, and
    // a minute later the chain asks the desktop again.
    made->breakDown();
    QCoreApplication::processEvents();
    EXPECT_EQ(chain.secondsSinceLastEvent(InputEvent::KeyUp), 0.0);
    made = nullptr;
    clock.uptime_ += 60;
    EXPECT_EQ(chain.secondsSinceLastEvent(InputEvent::KeyUp), 7.5);
    EXPECT_NE(made, nullptr);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("absent"), std::string::npos) << said;
    EXPECT_NE(said.find("tamsel: the scripted source stopped telling the idle time (it broke)"),
              std::string::npos)
        << said;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST(WaylandIdle, ACompositorThatHangsUpIsNoticedOnceAndNotSpunOn) {
    QTemporaryDir dir;
    QLocalServer compositor;
    ASSERT_TRUE(compositor.listen(dir.filePath(QStringLiteral("wayland-test"))));
    qputenv("WAYLAND_DISPLAY", QFile::encodeName(compositor.fullServerName()));
    sim::SimClock clock;
    auto source = makeWaylandIdleSource(clock);
    qunsetenv("WAYLAND_DISPLAY");
    ASSERT_EQ(source->state(), State::Asking) << source->whyNot();
    int changes = 0;
    source->onStateChange([&changes] { ++changes; });
    ASSERT_TRUE(compositor.waitForNewConnection(2000));
    compositor.nextPendingConnection()->abort();

    const double before = cpuSeconds();
    test::runFor(400);
    EXPECT_LT(cpuSeconds() - before, 0.06) << "the dead socket keeps the loop busy";
    EXPECT_EQ(source->state(), State::Failed);
    EXPECT_EQ(changes, 1);
    EXPECT_NE(source->whyNot().find("broke"), std::string::npos) << source->whyNot();
    EXPECT_EQ(source->query(), std::nullopt);
}

TEST(IdleTimeline, NotificationsBecomeSecondsSinceTheLastInput) {
    enum Said { Nothing, Idled, Resumed, Seed };
    struct Step {
        double at;  // virtual seconds
        Said said;
        double expected;    // seconds since input, right after
        double seed = 0.0;  // for Seed
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
    } stories[] = {
        // Idle time from before we asked is unknown: active just now.
        {"a compositor that never sends anything",
         {{0, Nothing, 0}, {60, Nothing, 0}, {86400, Nothing, 0}}},
        {"the first idled counts from one timeout back",
         {{0, Nothing, 0}, {5, Idled, 5}, {12, Nothing, 12}}},
        {"resumed right after idled", {{5, Idled, 5}, {5.001, Resumed, 0}, {9.9, Nothing, 0}}},
        // Exactly the tick's threshold as the notification arrives: idle.
        {"a timeout at the boundary", {{9.999, Nothing, 0}, {10, Idled, 5}, {10.5, Nothing, 5.5}}},
        {"idle again after a resume",
         {{5, Idled, 5}, {7, Resumed, 0}, {15, Idled, 5}, {20, Nothing, 10}}},
        // GNOME tells the idle time once at start.
        {"a seed beyond the timeout, then one below it",
         {{100, Seed, 30, 30}, {105, Nothing, 35}, {200, Seed, 0, 2}, {204, Nothing, 0}}},
    };
    for (const auto& story : stories) {
        double now = 0;
        IdleTimeline timeline([&now] { return now; }, 5.0);
        for (const Step& step : story.steps) {
            now = step.at;
            if (step.said == Idled) timeline.idled();
            if (step.said == Resumed) timeline.resumed();
            if (step.said == Seed) timeline.seed(step.seed);
            EXPECT_DOUBLE_EQ(timeline.secondsSinceInput(), step.expected)
                << story.name << ", at " << step.at << " s";
        }
    }
}

// ---- the D-Bus services ------------------------------------------------------------

// What a stand-in answers: the truth, nothing (held until the test lets it
// answer, long after the caller gave up), a reply of another type, or an
// idle time longer than the machine has been up.
enum class Answer { Truth, Stall, WrongType, Absurd };

// A QObject of its own, so QtDBus finds the context in the stand-ins below.
class StandIn : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    std::atomic<Answer> answer{Answer::Truth};
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
        daemon_.kill();
        daemon_.waitForFinished(5000);
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
        test::waitFor([&s] { return s->state() != State::Asking; }, 3000);
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
        test::runFor(120);
        QElapsedTimer took;
        took.start();
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

// KDE's screen saver, under its own name too, answers in milliseconds.
TEST_F(DBusIdle, AStalledServiceNeverHoldsUpTheTick) {
    offerScreenSaver();
    ASSERT_TRUE(provider_->registerService(QStringLiteral("org.kde.screensaver")));
    auto source = screenSaver();
    ASSERT_EQ(source->state(), State::Working) << source->whyNot();
    screenSaver_.answer = Answer::Stall;
    ::testing::internal::CaptureStderr();
    for (double expected : {0.042, 0.042, 0.042, 0.0}) {
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

}  // namespace
}  // namespace tamsel::qt

#include "test_idle.moc"
