// What a screen reader and a keyboard user find in each window.

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include "platform/qt/desktop/qt_status_bar.h"
#include "platform/qt/desktop/setup_check.h"
#include "platform/qt/desktop/user_notice.h"
#include "platform/qt/views/qt_dialogs.h"
#include "platform/qt/views/views.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

void press(QWidget* target, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier),
        up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

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
    const auto prefs = makePreferencesView(), welcome = makeWelcomeView(), pause = makeBreakView();
    const std::tuple<const char*, QWidget*, int> windows[] = {
        {"preferences", prefs->view(), 17},
        {"welcome", welcome->view(), 2},
        {"break", pause->view(), 1},
        {"setup check", showSetupCheck(&nothingFound), 5},
        {"user notice", test::findWindow("userNotice"), 1},
        {"no-tray notice", test::findWindow("noTrayNotice"), 3}};
    for (const auto& [name, top, controls] : windows) checkWindow(name, top, controls);
    // The alerts' buttons: Escape is no answer where none means Cancel, and
    // Return presses the button Tab reached.
    const std::pair<AlertRequest, std::vector<int>> alerts[] = {
        {{"Tamsel update", "", {"Yes", "No, skip this version"}},
         {Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Return}},
        {{"Child lock enabled", "Please enter your password", {"OK", "Cancel"}, true},
         {Qt::Key_Escape}},
    };
    for (const auto& [request, keys] : alerts) {
        QTimer::singleShot(0, [&request = request, &keys = keys] {
            QWidget* alert = QApplication::activeModalWidget();
            checkWindow("alert", alert, request.secureField ? 3 : 2);
            if (request.secureField) {
                EXPECT_EQ(alert->findChild<QLineEdit*>()->echoMode(), QLineEdit::Password);
            }
            for (int key : keys) {
                ASSERT_TRUE(alert && alert->isVisible()) << "closed before its last key";
                press(alert->focusWidget(), key);
            }
        });
        EXPECT_EQ(QtDialogs().runAlert(request).button, kAlertFirstButtonReturn + 1);
    }
}

// Closed, a window's buttons reach no one, and its widgets go.
TEST(Accessibility, TabReachesTheButtonsAndReturnPressesThemUntilTheWindowCloses) {
    // Each window's maker, its Tabs from the first control to the button, what that presses.
    const std::tuple<std::unique_ptr<QtWindow> (*)(), int, const char*> windows[] = {
        {makePreferencesView, 18, "btnCloseClicked:"}, {makeBreakView, 0, "closeButton:"}};
    for (const auto& [make, tabs, action] : windows) {
        std::unique_ptr<QtWindow> window = make();
        std::vector<std::string> actions;
        window->setActionHandler([&](std::string_view a, auto) { actions.emplace_back(a); });
        QPointer<QWidget> view = window->view();
        window->makeKeyAndOrderFront();
        QApplication::processEvents();
        // A space typed as the window appears presses nothing.
        press(view->focusWidget(), Qt::Key_Space);
        view->setFocus();
        for (int i = 0; i <= tabs; ++i) press(view->focusWidget(), Qt::Key_Tab);
        QWidget* button = view->focusWidget();
        press(button, Qt::Key_Return);
        window->close();
        press(button, Qt::Key_Return);
        EXPECT_EQ(actions, std::vector<std::string>{action});
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(view.isNull());
    }
}

}  // namespace
}  // namespace tamsel::qt
