// Timers of the system on the Qt main loop (held back during modal runs,
// never after invalidate, once when late), modal runs and activation.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/qt/modal_gate.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_timers.h"
#include "platform/qt/views/qt_window.h"
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
    int fired = 0;
    // Intervals far apart from the runs, so a loaded machine cannot blur them.
    auto timer = timers.schedule(0.1, true, [&] { ++fired; });
    modalRunFor(350);  // due three times meanwhile
    EXPECT_EQ(fired, 0);
    runFor(10);
    EXPECT_EQ(fired, 1);
    runFor(250);
    EXPECT_GE(fired, 2) << "and keeps its schedule";
    timer->invalidate();
}

// An alert opened right after a slow fetch, "Incorrect password" right
// after the password box: the firing held in the first run must not run
// inside the second.
TEST(ModalHoldBack, AFiringHeldInOneRunWaitsOutTheRunOpenedRightAfter) {
    QtTimers timers;
    int fired = 0, firedInSecond = -1, firedInOuter = -1;
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
        timers.schedule(0.01, false, [&] { ++fired; });
        modalRunFor(50);
        runFor(30);
        firedInOuter = fired;
    }
    runFor(5);
    EXPECT_EQ(firedInOuter, 1);
    EXPECT_EQ(fired, 2);
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

TEST(Timers, AnInvalidatedTimerNeverFiresNotEvenWhenHeld) {
    QtTimers timers;
    int fired = 0;
    TimerRef self;
    auto once = timers.schedule(0.01, false, [&] { ++fired; });
    auto held = timers.schedule(0.01, true, [&] { ++fired; });
    once->invalidate();
    self = timers.schedule(0.01, true, [&] {
        fired += 100;
        self->invalidate();
        self.reset();  // the last reference, from inside its own callback
    });
    {
        ModalScope modal;
        runFor(40);
        held->invalidate();
    }
    runFor(40);
    EXPECT_EQ(fired, 100);
}

TEST(Timers, ALateRepeatingTimerFiresOnceAndTheLoopKeepsTimersWithoutAReference) {
    QtTimers timers;
    int fired = 0, unreferenced = 0;
    auto timer = timers.schedule(0.02, true, [&] { ++fired; });
    timers.schedule(0.01, false, [&] { ++unreferenced; });
    // The main thread is blocked, as by a long task or a sleeping machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    runFor(5);
    EXPECT_EQ(fired, 1) << "seven missed intervals fire once";
    EXPECT_EQ(unreferenced, 1);
    timer->invalidate();
}

// ---- modal runs and activation in the application ---------------------------

std::unique_ptr<QtWindow> plainWindow(const char* title) {
    auto* view = new ViewWidget;
    view->setWindowTitle(QString::fromLatin1(title));
    view->resize(200, 100);
    return std::make_unique<QtWindow>(view);
}

TEST(RunModal, StopModalEndsTheInnermostRunAndAGoneWindowEndsItsOwn) {
    QtApplication app;
    auto outer = plainWindow("outer");
    auto inner = plainWindow("inner");
    app.stopModal();  // outside a run: nothing
    std::vector<std::string> order;
    bool gated = false;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(20, [&] {
            gated = ModalGate::instance().active();
            app.stopModal();
        });
        app.runModal(*inner);
        order.push_back("inner ended");
        QTimer::singleShot(20, [&] { app.stopModal(); });
    });
    app.runModal(*outer);
    order.push_back("outer ended");
    EXPECT_EQ(order, (std::vector<std::string>{"inner ended", "outer ended"}));
    EXPECT_TRUE(gated) << "timers are held back during the run";
    EXPECT_FALSE(ModalGate::instance().active());

    QTimer::singleShot(20, [&] { outer->close(); });
    app.runModal(*outer);  // would hang without the window's end
    app.runModal(*outer);  // a closed window cannot be run at all
}

TEST(Activate, BringsTheModalWindowElseTheOneLastWorkedInNeverOneWithoutFocus) {
    QtApplication app;
    auto first = plainWindow("first");
    auto second = plainWindow("second");
    auto indicator = plainWindow("indicator");
    indicator->view()->setAttribute(Qt::WA_ShowWithoutActivating);
    indicator->view()->setWindowFlag(Qt::WindowTransparentForInput);
    first->makeKeyAndOrderFront();
    second->makeKeyAndOrderFront();
    runFor(10);
    first->makeKeyAndOrderFront();
    indicator->orderFront();
    // A window that took the focus and went away leaves the app behind.
    auto passing = plainWindow("passing");
    passing->makeKeyAndOrderFront();
    runFor(10);
    passing->close();
    runFor(10);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    app.activateIgnoringOtherApps();
    runFor(10);
    EXPECT_EQ(QApplication::activeWindow(), first->view()) << "not the newer second";

    auto dialog = plainWindow("dialog");
    dialog->view()->setWindowModality(Qt::ApplicationModal);
    dialog->orderFront();
    first->makeKeyAndOrderFront();
    runFor(10);
    app.activateIgnoringOtherApps();
    runFor(10);
    EXPECT_EQ(QApplication::activeWindow(), dialog->view());
}

}  // namespace
}  // namespace tamsel::qt
