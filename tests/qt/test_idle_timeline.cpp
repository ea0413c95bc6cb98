// "Idled" and "resumed" notifications for a 5 s timeout turned into the
// seconds since the last input, over virtual time.

#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/idle/idle_timeline.h"

namespace tamsel::qt {
namespace {

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
