// Modal runs, activation and the immediate exit of the Qt application.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>

#include "platform/qt/modal_gate.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_timers.h"
#include "platform/qt/views/qt_window.h"

namespace tamsel::qt {
namespace {

std::unique_ptr<QtWindow> plainWindow(const char* title) {
    auto* view = new ViewWidget;
    view->setWindowTitle(QString::fromLatin1(title));
    view->resize(200, 100);
    return std::make_unique<QtWindow>(view);
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(RunModal, BlocksUntilStopModalWithTimersHeldBack) {
    QtApplication app;
    QtTimers timers;
    auto window = plainWindow("modal");
    int fired = 0;
    int depthInside = -1;
    auto timer = timers.schedule(0.01, false, [&] { ++fired; });
    QTimer::singleShot(80, [&] {
        depthInside = ModalGate::instance().depth();
        app.stopModal();
    });
    app.runModal(*window);
    EXPECT_EQ(depthInside, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(ModalGate::instance().depth(), 0);
    runFor(5);
    EXPECT_EQ(fired, 1);
}

TEST(RunModal, StopModalOutsideARunDoesNothing) {
    QtApplication app;
    auto window = plainWindow("modal");
    app.stopModal();
    bool stoppedByTimer = false;
    QTimer::singleShot(30, [&] {
        stoppedByTimer = true;
        app.stopModal();
    });
    app.runModal(*window);
    EXPECT_TRUE(stoppedByTimer);
}

TEST(RunModal, StopModalEndsTheInnermostRunOnly) {
    QtApplication app;
    auto outer = plainWindow("outer");
    auto inner = plainWindow("inner");
    std::vector<std::string> order;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(20, [&] { app.stopModal(); });
        app.runModal(*inner);
        order.push_back("inner ended");
        QTimer::singleShot(20, [&] { app.stopModal(); });
    });
    app.runModal(*outer);
    order.push_back("outer ended");
    EXPECT_EQ(order, (std::vector<std::string>{"inner ended", "outer ended"}));
}

TEST(RunModal, AWindowThatGoesAwayEndsItsRun) {
    QtApplication app;
    auto window = plainWindow("modal");
    QTimer::singleShot(20, [&] { window->close(); });
    app.runModal(*window);  // would hang without the window's end
    EXPECT_FALSE(window->isVisible());
    // A closed window cannot be run at all.
    app.runModal(*window);
}

TEST(Activate, BringsTheModalWindowToTheFront) {
    QtApplication app;
    auto window = plainWindow("window");
    auto dialog = plainWindow("dialog");
    dialog->view()->setWindowModality(Qt::ApplicationModal);
    dialog->orderFront();
    window->makeKeyAndOrderFront();
    runFor(10);
    ASSERT_EQ(QApplication::activeModalWidget(), dialog->view());
    ASSERT_EQ(QApplication::activeWindow(), window->view());
    app.activateIgnoringOtherApps();
    runFor(10);
    EXPECT_EQ(QApplication::activeWindow(), dialog->view());
}

TEST(Activate, BringsBackTheWindowLastWorkedIn) {
    QtApplication app;
    auto first = plainWindow("first");
    auto second = plainWindow("second");
    first->makeKeyAndOrderFront();
    second->makeKeyAndOrderFront();
    runFor(10);
    first->makeKeyAndOrderFront();
    runFor(10);
    // Already in front: nothing moves.
    app.activateIgnoringOtherApps();
    runFor(10);
    EXPECT_EQ(QApplication::activeWindow(), first->view());

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
}

TEST(Activate, NeverPicksAWindowThatTakesNoFocus) {
    QtApplication app;
    auto window = plainWindow("window");
    window->makeKeyAndOrderFront();
    auto indicator = plainWindow("indicator");
    indicator->view()->setAttribute(Qt::WA_ShowWithoutActivating);
    indicator->view()->setWindowFlag(Qt::WindowTransparentForInput);
    indicator->orderFront();
    // The app loses the front.
    auto passing = plainWindow("passing");
    passing->makeKeyAndOrderFront();
    runFor(10);
    passing->close();
    runFor(10);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    app.activateIgnoringOtherApps();
    runFor(10);
    EXPECT_EQ(QApplication::activeWindow(), window->view());
}

TEST(Exit, FlushesOutputAndEndsWithTheStatusAtOnce) {
    // Forked: the child only writes, flushes and ends.
    QTemporaryFile out;
    ASSERT_TRUE(out.open());
    const QByteArray path = out.fileName().toLocal8Bit();
    QtApplication app;
    EXPECT_EXIT(
        {
            std::freopen(path.constData(), "w", stdout);
            std::printf("last words");  // buffered, no newline
            app.exit(3);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(out.readAll(), "last words");
}

}  // namespace
}  // namespace tamsel::qt
