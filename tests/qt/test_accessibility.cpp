// What a screen reader and a keyboard user find in each window.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPointer>
#include <memory>

#include "platform/qt/desktop/qt_status_bar.h"
#include "platform/qt/desktop/setup_check.h"
#include "platform/qt/desktop/user_notice.h"
#include "platform/qt/views/qt_dialogs.h"
#include "platform/qt/views/views.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

using test::press;

// The accessible tree's controls that Tab can reach, each with the name and
// the description it must have.
void walk(QAccessibleInterface* iface, QWidget* top, QList<QWidget*>& controls) {
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        auto* w = qobject_cast<QWidget*>(child->object());
        if (w && w->window() != top) continue;  // a combo box's own list
        if (w && (w->focusPolicy() & Qt::TabFocus)) {
            controls << w;
            EXPECT_FALSE(child->text(QAccessible::Name).isEmpty() ||
                         child->text(QAccessible::Description).isEmpty())
                << w->metaObject()->className() << " " << w->objectName().toStdString();
        }
        walk(child, top, controls);
    }
}

// Tab reaches every control, never going back up or to the left.
void checkWindow(const char* window, QWidget* top, int atLeast) {
    SCOPED_TRACE(window);
    ASSERT_NE(top, nullptr);
    top->adjustSize();
    QList<QWidget*> controls;
    walk(QAccessible::queryAccessibleInterface(top), top, controls);
    EXPECT_GE(controls.size(), atLeast);
    QRect was;
    for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain()) {
        if (!controls.removeOne(w)) continue;
        const QRect is(w->mapTo(top, QPoint()), w->size());
        const bool above = is.bottom() <= was.top(), beside = !above && is.top() < was.bottom();
        EXPECT_FALSE((above && is.left() <= was.left()) || (beside && is.left() < was.left()))
            << w->objectName().toStdString() << " comes back";
        was = is;
    }
    EXPECT_TRUE(controls.isEmpty()) << "out of Tab's reach";
}

TEST(Accessibility, EveryWindowNamesAndDescribesItsControlsInReadingOrder) {
    const DesktopFacts nothingFound;  // every row a ✗ with its fix
    QtStatusBar bar;                  // no tray here: its notice offers the commands
    bar.statusItem()->setMenu({{"Help", "helpBtn:"}, {"Quit", "quitBtn:"}}, [](auto) {});
    tellUser(QStringLiteral("Something to say"));
    const struct {
        const char* window;
        std::function<std::unique_ptr<QtWindow>()> make;
        QWidget* top;
        int controls;
    } windows[] = {
        {"preferences", makePreferencesView, nullptr, 17},
        {"welcome", makeWelcomeView, nullptr, 2},
        {"break", makeBreakView, nullptr, 1},
        {"setup check", nullptr, showSetupCheck(&nothingFound), 5},
        {"user notice", nullptr, test::findWindow("userNotice"), 1},
        {"no-tray notice", nullptr, test::findWindow("noTrayNotice"), 3},
    };
    for (const auto& w : windows) {
        std::unique_ptr<QtWindow> window = w.make ? w.make() : nullptr;
        checkWindow(w.window, window ? window->view() : w.top, w.controls);
    }
    for (bool passwordBox : {false, true}) {
        QTimer::singleShot(0, [passwordBox] {
            QWidget* alert = QApplication::activeModalWidget();
            checkWindow("alert", alert, passwordBox ? 3 : 2);
            if (alert) press(alert, Qt::Key_Escape);
        });
        QtDialogs().runAlert(
            {"Child lock enabled", "Please enter your password", {"OK", "Cancel"}, passwordBox});
    }
}

TEST(Accessibility, TheIndicatorAndTheSteppersReadTheirValues) {
    std::unique_ptr<QtWindow> window = makeIndicatorView();
    const struct {
        int squares;
        const char* pause;
        const char* read;
    } cases[] = {
        {4, "", "4 of 10"},
        {0, "", "0 of 10"},
        {11, "", "10 of 10"},  // the square of a period just ended
        {0, "\u2016 15:30", "\u2016 15:30"},
    };
    for (const auto& c : cases) {
        std::string text = c.pause;
        for (int i = 0; i < c.squares; ++i) text += "\u25FC\uFE0E";
        window->outlet("lblProgress").setText(text);
        QAccessibleInterface* iface =
            QAccessible::queryAccessibleInterface(window->view()->findChild<QWidget*>());
        EXPECT_EQ(iface->text(QAccessible::Name), "Tamsel");
        EXPECT_EQ(iface->text(QAccessible::Value), QString::fromUtf8(c.read));
        ASSERT_NE(iface->valueInterface(), nullptr);
        EXPECT_EQ(iface->valueInterface()->currentValue(), std::min(c.squares, 10));
    }
    // A stepper's minutes sit in a label beside it; a screen reader hears them on it.
    window = makePreferencesView();
    window->outlet("stpWorkDurationE").setDoubleValue(25);
    auto* stepper = window->view()->findChild<QWidget*>("stpWorkDurationE");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(stepper)->text(QAccessible::Value),
              "25 minutes");
}

// Closed, a window's buttons reach no one, and its widgets go.
TEST(Accessibility, TabReachesTheButtonsAndReturnPressesThemUntilTheWindowCloses) {
    const struct {
        std::function<std::unique_ptr<QtWindow>()> make;
        int tabs;  // from the window's first control
        const char* action;
    } windows[] = {
        {makePreferencesView, 18, "btnCloseClicked:"},
        {makeBreakView, 0, "closeButton:"},
    };
    for (const auto& w : windows) {
        std::unique_ptr<QtWindow> window = w.make();
        std::vector<std::string> actions;
        window->setActionHandler([&](std::string_view a, auto) { actions.emplace_back(a); });
        QPointer<QWidget> view = window->view();
        window->makeKeyAndOrderFront();
        QApplication::processEvents();
        // A space typed as the window appears presses nothing.
        press(view->focusWidget(), Qt::Key_Space);
        view->setFocus();
        for (int i = 0; i <= w.tabs; ++i) press(view->focusWidget(), Qt::Key_Tab);
        QWidget* button = view->focusWidget();
        press(button, Qt::Key_Return);
        window->close();
        press(button, Qt::Key_Return);
        EXPECT_EQ(actions, std::vector<std::string>{w.action});
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(view.isNull());
    }
}

}  // namespace
}  // namespace tamsel::qt
