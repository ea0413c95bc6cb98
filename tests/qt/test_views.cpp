// The views: what the window system sees of the indicator and the break
// window and what reaches the controllers from them; the preferences' outlets
// that keep what the controllers put in them; a welcome window only Done ends.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <limits>
#include <string>
#include <vector>

#include "platform/qt/views/stepper.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {
namespace {

std::string bar(int segments) {
    std::string text;
    for (int i = 0; i < segments; ++i) text += "\u25FC\uFE0E";
    return text;
}

// Runs of image columns holding a visible pixel: the squares drawn.
int squaresIn(QWidget* widget) {
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    int runs = 0;
    bool inside = false, first = false, last = false;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y) ink = qAlpha(image.pixel(x, y)) > 0;
        runs += ink && !inside;
        inside = ink;
        first |= ink && x == 0;
        last = ink;
    }
    return first || last ? -runs : runs;  // negative: a square is cut off
}

TEST(IndicatorView, IsAClickThroughToolWindowWhoseElevenSquaresStaySeparate) {
    std::unique_ptr<QtWindow> window = makeIndicatorView();
    window->setIgnoresMouseEvents(true);
    const Qt::WindowFlags flags = window->view()->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                Qt::WindowTransparentForInput, Qt::X11BypassWindowManagerHint})
        EXPECT_TRUE(flags.testFlag(flag)) << "flag " << std::hex << flag;
    const Rect before = window->frame();
    window->setFrame({10, 20, before.width + 300, before.height + 50}, true);
    EXPECT_EQ(window->frame().width, before.width) << "its size is its own";
    Control& label = window->outlet("lblProgress");
    label.setTextColor({1, 0, 0, 0.7});
    label.setText(bar(11));
    EXPECT_EQ(squaresIn(window->view()), 11);
    label.setTextColor({0, 0, 0, 0});  // invisible ink leaves not even the rim
    label.setText(bar(5));
    EXPECT_EQ(squaresIn(window->view()), 0);
}

// Double clicks come as press, release, press, double-click, release.
TEST(BreakView, ADoubleClickReachesTheControllerAndAClosedViewSaysNothing) {
    std::unique_ptr<QtWindow> window = makeBreakView();
    std::vector<std::string> actions;
    std::vector<std::pair<int, int>> ups;
    window->setActionHandler(
        [&](std::string_view action, std::string_view) { actions.emplace_back(action); });
    window->setMouseUpHandler(
        [&](const MouseEvent& e) { ups.emplace_back(e.clickCount, e.buttonNumber); });
    window->setFrame({0, 0, 640, 480}, true);
    window->makeKeyAndOrderFront();
    QApplication::processEvents();
    QWidget* view = window->view();
    EXPECT_EQ(view->focusWidget(), view) << "a space typed as the break appears snoozes nothing";
    using E = QEvent;
    const std::pair<QEvent::Type, Qt::MouseButton> clicks[] = {
        {E::MouseButtonPress, Qt::LeftButton},   {E::MouseButtonRelease, Qt::LeftButton},
        {E::MouseButtonPress, Qt::LeftButton},   {E::MouseButtonDblClick, Qt::LeftButton},
        {E::MouseButtonRelease, Qt::LeftButton}, {E::MouseButtonPress, Qt::RightButton},
        {E::MouseButtonRelease, Qt::RightButton}};
    for (auto [type, button] : clicks) {
        const QPointF at(200, 200);
        QMouseEvent event(type, at, view->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QApplication::sendEvent(view->windowHandle(), &event);
    }
    EXPECT_EQ(ups, (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {1, 1}}));

    QPointer<QPushButton> snooze = view->findChild<QPushButton*>();
    snooze->click();
    window->close();
    snooze->click();  // closed, the view waits for deletion; its button reaches no one
    EXPECT_EQ(actions, (std::vector<std::string>{"closeButton:"}));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(snooze.isNull()) << "its memory is given back";
}

using Actions = std::vector<std::pair<std::string, std::string>>;

struct RecordedView {
    std::unique_ptr<QtWindow> window = makePreferencesView();
    Actions actions;
    RecordedView() {
        window->setActionHandler([this](std::string_view action, std::string_view sender) {
            actions.emplace_back(action, sender);
        });
    }
    template <class W>
    W* widget(const char* name) {
        return window->view()->findChild<W*>(QString::fromLatin1(name));
    }
};

void press(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

TEST(PreferencesView, HasEveryOutletOfItsDefinitionAndItsSteppersKeepTheirRanges) {
    RecordedView v;
    EXPECT_EQ(v.window->title(), "Tamsel Preferences");
    for (const nib::Outlet& o : nib::kPrefWindowOutlets)
        EXPECT_NE(v.widget<QWidget>(std::string(o.name).c_str()), nullptr) << o.name;
    EXPECT_FALSE(v.widget<QRadioButton>("radAlways")->autoExclusive()) << "the controller's job";
    EXPECT_EQ(v.widget<QLineEdit>("txtNewPwd")->echoMode(), QLineEdit::Password);
    Window& w = *v.window;
    const std::tuple<const char*, long long, long long> steps[] = {
        {"stpWorkDurationE", 45, 45},
        {"stpWorkDurationE", 0, nib::kWorkMinutesMin},
        {"stpBreakDurationEle", 61, nib::kBreakMinutesMax},
        // Beyond int: the nearest end, not a wrapped value.
        {"stpBreakDurationEle", std::numeric_limits<long long>::max(), nib::kBreakMinutesMax},
        {"stpWorkDurationE", 4'294'967'297LL, nib::kWorkMinutesMax},
        {"stpWorkDurationE", std::numeric_limits<long long>::min(), nib::kWorkMinutesMin},
    };
    for (auto [name, set, expected] : steps) {
        w.outlet(name).setIntegerValue(set);
        EXPECT_EQ(w.outlet(name).integerValue(), expected) << name << " set to " << set;
    }
    w.outlet("radAlways").setState(1);
    w.outlet("radWhenHigh").setState(1);
    EXPECT_EQ(w.outlet("radAlways").state(), 1) << "radios do not switch each other off";
    const std::string password = " P\u00e4 ss;=#@\\ ";
    w.outlet("txtNewPwd").setText(password);
    EXPECT_EQ(w.outlet("txtNewPwd").text(), password);
    EXPECT_TRUE(v.actions.empty()) << "setting controls from code reports no action";
}

TEST(WelcomeView, OnlyDoneEndsIt) {
    std::unique_ptr<QtWindow> window = makeWelcomeView();
    QWidget* view = window->view();
    int done = 0;
    window->setActionHandler(
        [&](std::string_view action, std::string_view) { done += action == "btnDone:"; });
    EXPECT_EQ(view->windowModality(), Qt::ApplicationModal);
    window->orderFront();
    EXPECT_FALSE(view->close()) << "not by the window manager's close";
    press(view, Qt::Key_Escape);
    EXPECT_EQ(done, 0);
    press(view, Qt::Key_Return);
    EXPECT_EQ(done, 1);
    EXPECT_TRUE(view->close()) << "after Done it may close";
}

}  // namespace
}  // namespace tamsel::qt
