// Timers of the system on the Qt main loop, held back during modal runs.

#include "platform/qt/modal_gate.h"
#include "platform/qt/qt_timers.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

using test::runFor;

// A modal run as a dialog makes one: a nested loop inside a ModalScope.
void modalRunFor(int ms) {
    ModalScope modal;
    runFor(ms);
}

TEST(ModalHoldBack, ARepeatingTimerDueDuringAModalRunFiresOnceAfterIt) {
    QtTimers timers;
    int fired = 0, invalidated = 0;
    // Intervals far apart from the runs, so a loaded machine cannot blur them.
    auto timer = timers.schedule(0.1, true, [&] { ++fired; });
    auto held = timers.schedule(0.1, true, [&] { ++invalidated; });
    QTimer::singleShot(200, [&] { held->invalidate(); });
    modalRunFor(350);  // due three times meanwhile
    EXPECT_EQ(fired, 0);
    runFor(10);
    EXPECT_EQ(fired, 1);
    runFor(250);
    EXPECT_GE(fired, 2) << "and keeps its schedule";
    EXPECT_EQ(invalidated, 0) << "held, then invalidated: never";
    timer->invalidate();
}

// An alert opened right after a slow fetch, "Incorrect password" right
// after the password box: the firing held in the first run must not run
// inside the second.
TEST(ModalHoldBack, AFiringHeldInOneRunWaitsOutTheRunOpenedRightAfter) {
    QtTimers timers;
    int fired = 0, firedInSecond = -1;
    auto timer = timers.schedule(0.01, false, [&] { ++fired; });
    QTimer::singleShot(0, [&] {
        modalRunFor(50);
        ModalScope second;
        runFor(50);
        firedInSecond = fired;
    });
    runFor(150);
    EXPECT_EQ(firedInSecond, 0);
    EXPECT_EQ(fired, 1);
    {
        ModalScope outer;  // nested runs: held until the last one ends
        timers.schedule(0.01, false, [&] { ++fired; });  // the loop keeps it without a reference
        modalRunFor(50);
        runFor(30);
        EXPECT_EQ(fired, 1);
    }
    runFor(5);
    EXPECT_EQ(fired, 2);
}

}  // namespace
}  // namespace tamsel::qt
