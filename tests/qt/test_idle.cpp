// Idle sources: one query per tick, a source that stops answering, and the
// fallback when this desktop offers none.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <chrono>
#include <thread>

#include "platform/qt/idle/idle_source.h"

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
    std::optional<double> answer = 7.5;
    int queries = 0;
};

TEST(CombinedSource, OneQueryAnswersAllFiveTypesOfATick) {
    ScriptedSource source;
    for (InputEvent type : kAllTypes) EXPECT_EQ(source.secondsSinceLastEvent(type), 7.5);
    EXPECT_EQ(source.queries, 1);
    // The next tick asks again.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    source.answer = 0.25;
    EXPECT_EQ(source.secondsSinceLastEvent(InputEvent::KeyUp), 0.25);
    EXPECT_EQ(source.queries, 2);
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

TEST(CombinedSource, ANegativeAnswerIsNoIdleTime) {
    ScriptedSource source;
    source.answer = -3.0;
    EXPECT_EQ(source.secondsSinceLastEvent(InputEvent::MouseMoved), 0.0);
}

TEST(IdleFactory, WithoutAnySourceTheUserCountsAsActiveAndIsToldWhy) {
    // Offscreen, with D-Bus switched off: neither X nor the desktop answers.
    ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("offscreen"));
    ::testing::internal::CaptureStderr();
    auto source = makeIdleSource();
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(source, nullptr);
    for (InputEvent type : kAllTypes) EXPECT_EQ(source->secondsSinceLastEvent(type), 0.0);
    const std::string problem = idleProblem();
    EXPECT_NE(problem.find("counts you as active"), std::string::npos) << problem;
    EXPECT_NE(said.find(problem), std::string::npos) << said;
    EXPECT_EQ(said.find("tamsel:"), said.rfind("tamsel:")) << "said once: " << said;
}

// Run by hand against a real X server:
//   QT_QPA_PLATFORM=xcb DISPLAY=:N tamsel_qt_tests --gtest_filter='*X11*'
TEST(IdleFactory, TheX11SourceAnswersOnAnX11Display) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display";
    auto source = makeX11IdleSource();
    ASSERT_NE(source, nullptr);
    const std::optional<double> before = source->query();
    ASSERT_TRUE(before.has_value());
    EXPECT_GE(*before, 0.0);
    // With nobody at the display the idle time grows with the clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    const std::optional<double> after = source->query();
    ASSERT_TRUE(after.has_value());
    EXPECT_NEAR(*after - *before, 0.6, 0.1);
}

}  // namespace
}  // namespace tamsel::qt
