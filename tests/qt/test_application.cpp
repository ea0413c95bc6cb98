// Modal runs and activation in the Qt application.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "platform/qt/modal_gate.h"
#include "platform/qt/qt_application.h"
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
