// Idle sources: one query per tick, a source that stops answering, the
// fallback when this desktop offers none, asking again later, a compositor
// that hangs up, and idled and resumed notifications turned into seconds.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/qt/idle/idle_source.h"
#include "platform/qt/idle/idle_timeline.h"
#include "sim/sim_platform.h"

namespace tamsel::qt {
namespace {

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

void runEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(CombinedSource, OneQueryAnswersAllFiveTypesOfATickAndANegativeOneIsNoIdleTime) {
    ScriptedSource source;
    for (InputEvent type : kAllTypes) EXPECT_EQ(source.secondsSinceLastEvent(type), 7.5);
    EXPECT_EQ(source.queries, 1);
    // The next tick asks again.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    source.answer = 0.25;
    EXPECT_EQ(source.secondsSinceLastEvent(InputEvent::KeyUp), 0.25);
    EXPECT_EQ(source.queries, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    source.answer = -3.0;
    EXPECT_EQ(source.secondsSinceLastEvent(InputEvent::MouseMoved), 0.0) << "no idle time";
}

TEST(CombinedSource, ASourceThatStopsAnsweringCountsTheUserActiveAndSaysSoOnce) {
    ScriptedSource source;
    source.answer = std::nullopt;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(source.secondsSinceLastEvent(InputEvent::KeyUp), 0.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_EQ(source.secondsSinceLastEvent(InputEvent::KeyUp), 0.0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(source.queries, 2);
    EXPECT_NE(said.find("the scripted source"), std::string::npos) << said;
    EXPECT_EQ(said.find("tamsel:"), said.rfind("tamsel:")) << "said once: " << said;
}

TEST(IdleFactory, WithoutAnySourceTheUserCountsAsActiveAndIsToldWhy) {
    // Offscreen, with D-Bus switched off: neither X nor the desktop answers,
    // even when the tests run inside a Wayland session.
    ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("offscreen"));
    qputenv("XDG_SESSION_TYPE", "x11");
    ::testing::internal::CaptureStderr();
    sim::SimClock clock;
    auto source = makeIdleSource(clock);
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(source, nullptr);
    for (InputEvent type : kAllTypes) EXPECT_EQ(source->secondsSinceLastEvent(type), 0.0);
    const std::string problem = idleProblem();
    EXPECT_NE(problem.find("counts you as active"), std::string::npos) << problem;
    EXPECT_NE(said.find(problem), std::string::npos) << said;
    EXPECT_EQ(said.find("tamsel:"), said.rfind("tamsel:")) << "said once: " << said;
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
    ASSERT_EQ(source->state(), CombinedIdleSource::State::Asking) << source->whyNot();
    int changes = 0;
    source->onStateChange([&changes] { ++changes; });
    ASSERT_TRUE(compositor.waitForNewConnection(2000));
    compositor.nextPendingConnection()->abort();

    const double before = cpuSeconds();
    runEventLoop(400);
    EXPECT_LT(cpuSeconds() - before, 0.06) << "the dead socket keeps the loop busy";
    EXPECT_EQ(source->state(), CombinedIdleSource::State::Failed);
    EXPECT_EQ(changes, 1);
    EXPECT_NE(source->whyNot().find("broke"), std::string::npos) << source->whyNot();
    EXPECT_EQ(source->query(), std::nullopt);
}

enum class Said { Nothing, Idled, Resumed, Seed };

struct Step {
    double at;  // virtual seconds
    Said said;
    double expected;    // seconds since input, right after
    double seed = 0.0;  // for Said::Seed
};

struct Story {
    const char* name;
    std::vector<Step> steps;
};

TEST(IdleTimeline, NotificationsBecomeSecondsSinceTheLastInput) {
    const Story stories[] = {
        // Idle time from before we asked is unknown: active just now.
        {"a compositor that never sends anything",
         {{0, Said::Nothing, 0}, {60, Said::Nothing, 0}, {86400, Said::Nothing, 0}}},
        {"the first idled counts from one timeout back",
         {{0, Said::Nothing, 0}, {5, Said::Idled, 5}, {12, Said::Nothing, 12}}},
        {"resumed right after idled",
         {{5, Said::Idled, 5}, {5.001, Said::Resumed, 0}, {9.9, Said::Nothing, 0}}},
        // Exactly the tick's threshold as the notification arrives: idle.
        {"a timeout at the boundary",
         {{9.999, Said::Nothing, 0}, {10, Said::Idled, 5}, {10.5, Said::Nothing, 5.5}}},
        {"idle again after a resume",
         {{5, Said::Idled, 5},
          {7, Said::Resumed, 0},
          {15, Said::Idled, 5},
          {20, Said::Nothing, 10}}},
        // GNOME tells the idle time once at start.
        {"a seed beyond the timeout, then one below it",
         {{100, Said::Seed, 30, 30},
          {105, Said::Nothing, 35},
          {200, Said::Seed, 0, 2},
          {204, Said::Nothing, 0}}},
    };
    for (const Story& story : stories) {
        double now = 0;
        IdleTimeline timeline([&now] { return now; }, 5.0);
        for (const Step& step : story.steps) {
            now = step.at;
            if (step.said == Said::Idled) timeline.idled();
            if (step.said == Said::Resumed) timeline.resumed();
            if (step.said == Said::Seed) timeline.seed(step.seed);
            EXPECT_DOUBLE_EQ(timeline.secondsSinceInput(), step.expected)
                << story.name << ", at " << step.at << " s";
        }
    }
}

}  // namespace
}  // namespace tamsel::qt
