// The benchmark's time lapse: clock, timers and idle time all move at the
// same faster pace, so the engine sees ordinary minutes.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "platform/qt/qt_timers.h"
#include "platform/qt/time_lapse.h"

namespace tamsel::qt {
namespace {

class FixedIdle : public IdleSource {
public:
    double secondsSinceLastEvent(InputEvent) override { return 0.25; }
};

TEST(TimeLapse, ClockTimersAndIdleTimeKeepOnePace) {
    constexpr double kScale = 60;
    auto clock = timeLapsed(std::make_unique<QtClock>(), kScale);
    auto timers = timeLapsed(std::make_unique<QtTimers>(), kScale);
    auto idle = timeLapsed(std::make_unique<FixedIdle>(), kScale);
    EXPECT_DOUBLE_EQ(idle->secondsSinceLastEvent(InputEvent::KeyUp), 15.0);

    // A 6 s timer of the engine fires after a tenth of a real second, when
    // the lapsed clock says about 6 s have passed.
    const double start = clock->now();
    QElapsedTimer real;
    real.start();
    double firedAt = -1;
    QEventLoop loop;
    auto timer = timers->schedule(6.0, false, [&] {
        firedAt = clock->now() - start;
        loop.quit();
    });
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_GE(real.elapsed(), 90);
    EXPECT_LT(real.elapsed(), 1000);
    EXPECT_GE(firedAt, 5.4);  // a coarse timer may fire 5 % early
    EXPECT_LT(firedAt, 60.0);
}

}  // namespace
}  // namespace tamsel::qt
