// Timers of the system on the Qt main loop: held back during modal runs,
// never after invalidate, once when late.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

#include "platform/qt/modal_gate.h"
#include "platform/qt/qt_timers.h"

namespace tamsel::qt {
namespace {

// Runs the main loop for this long.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A modal run as a dialog makes one: a nested loop inside a ModalScope.
void modalRunFor(int ms) {
    ModalScope modal;
    runFor(ms);
}

TEST(ModalHoldBack, ARepeatingTimerDueDuringAModalRunFiresOnceAfterIt) {
    QtTimers timers;
    int fired = 0;
    auto timer = timers.schedule(0.02, true, [&] { ++fired; });
    modalRunFor(150);  // due about seven times meanwhile
    EXPECT_EQ(fired, 0);
    runFor(5);
    EXPECT_EQ(fired, 1);
    // And keeps its schedule afterwards.
    runFor(100);
    EXPECT_GE(fired, 3);
    EXPECT_LE(fired, 7);
    timer->invalidate();
}

TEST(ModalHoldBack, NestedRunsHoldUntilTheLastEnds) {
    QtTimers timers;
    int fired = 0;
    auto timer = timers.schedule(0.01, false, [&] { ++fired; });
    {
        ModalScope outer;
        modalRunFor(50);
        EXPECT_EQ(fired, 0);
        runFor(30);  // the inner run is over, the outer not
        EXPECT_EQ(fired, 0);
    }
    runFor(5);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->isValid());
}

TEST(ModalHoldBack, ACallbackThatOpensAModalRunIsNotReentered) {
    QtTimers timers;
    int depth = 0, maxDepth = 0, fired = 0;
    auto timer = timers.schedule(0.01, true, [&] {
        ++fired;
        maxDepth = std::max(maxDepth, ++depth);
        if (fired == 1) modalRunFor(80);  // as an alert inside a tick
        --depth;
    });
    runFor(150);
    timer->invalidate();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(fired, 2);
}

TEST(Invalidate, AnInvalidatedTimerNeverFires) {
    QtTimers timers;
    int fired = 0;
    auto once = timers.schedule(0.01, false, [&] { ++fired; });
    auto repeating = timers.schedule(0.01, true, [&] { ++fired; });
    once->invalidate();
    repeating->invalidate();
    EXPECT_FALSE(once->isValid());
    runFor(50);
    EXPECT_EQ(fired, 0);
}

TEST(Invalidate, ATimerInvalidatedWhileHeldNeverFires) {
    QtTimers timers;
    int fired = 0;
    auto timer = timers.schedule(0.01, true, [&] { ++fired; });
    {
        ModalScope modal;
        runFor(40);
        timer->invalidate();
    }
    runFor(30);
    EXPECT_EQ(fired, 0);
}

TEST(Invalidate, ACallbackMayInvalidateItsOwnTimer) {
    QtTimers timers;
    int fired = 0;
    TimerRef timer;
    timer = timers.schedule(0.01, true, [&] {
        ++fired;
        timer->invalidate();
        timer.reset();  // the last reference, from inside its own callback
    });
    runFor(60);
    EXPECT_EQ(fired, 1);
}

TEST(Schedule, TheMainLoopKeepsAScheduledTimerWithoutAReference) {
    QtTimers timers;
    int fired = 0;
    timers.schedule(0.01, false, [&] { ++fired; });
    runFor(40);
    EXPECT_EQ(fired, 1);
}

TEST(Schedule, ALateRepeatingTimerFiresOnceAndGoesOnFromNow) {
    QtTimers timers;
    int fired = 0;
    auto timer = timers.schedule(0.02, true, [&] { ++fired; });
    // The main thread is blocked, as by a long task or a sleeping machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    runFor(5);
    EXPECT_EQ(fired, 1) << "seven missed intervals fire once";
    runFor(30);
    EXPECT_LE(fired, 3);
    timer->invalidate();
}

}  // namespace
}  // namespace tamsel::qt
