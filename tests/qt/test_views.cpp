// The views: what the window system sees of the indicator and what it draws;
// the preferences' outlets that keep what the controllers put in them; a
// welcome window only Done ends.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <limits>
#include <string>
#include <vector>

#include "platform/qt/views/stepper.h"
#include "platform/qt/views/views.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

using test::press;

// The image columns of the view holding a visible pixel: their runs (the
// squares drawn), their count, and whether one is at an edge (cut off).
struct Ink {
    int runs = 0, columns = 0;
    bool cutOff = false;
};

Ink inkOf(QWidget* widget) {
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    Ink ink;
    bool inside = false;
    for (int x = 0; x < image.width(); ++x) {
        bool column = false;
        for (int y = 0; y < image.height() && !column; ++y) column = qAlpha(image.pixel(x, y)) > 0;
        ink.runs += column && !inside;
        ink.columns += column;
        ink.cutOff |= column && (x == 0 || x == image.width() - 1);
        inside = column;
    }
    return ink;
}

TEST(IndicatorView, IsAClickThroughToolWindowWhoseSquaresAndLongestReasonFit) {
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
    std::string squares;
    for (int i = 0; i < 11; ++i) squares += "\u25FC\uFE0E";
    label.setText(squares);
    Ink ink = inkOf(window->view());
    EXPECT_EQ(ink.runs, 11) << "eleven squares, each apart";
    EXPECT_FALSE(ink.cutOff);
    label.setText("\u25F7 do not disturb");  // the longest reason a break waits for
    ink = inkOf(window->view());
    EXPECT_FALSE(ink.cutOff);
    EXPECT_GT(ink.columns, window->view()->width() / 2) << "hardly anything drawn";
    label.setTextColor({0, 0, 0, 0});  // invisible ink leaves not even the rim
    EXPECT_EQ(inkOf(window->view()).columns, 0);
}

TEST(PreferencesView, HasEveryOutletOfItsDefinitionAndItsSteppersKeepTheirRanges) {
    std::unique_ptr<QtWindow> window = makePreferencesView();
    int actions = 0;
    window->setActionHandler([&](std::string_view, std::string_view) { ++actions; });
    QWidget* view = window->view();
    EXPECT_EQ(window->title(), "Tamsel Preferences");
    for (const nib::Outlet& o : nib::kPrefWindowOutlets)
        EXPECT_NE(view->findChild<QWidget*>(QString::fromUtf8(o.name.data(), o.name.size())), nullptr) << o.name;
    EXPECT_FALSE(view->findChild<QRadioButton*>("radAlways")->autoExclusive())
        << "the controller's job";
    EXPECT_EQ(view->findChild<QLineEdit*>("txtNewPwd")->echoMode(), QLineEdit::Password);
    Window& w = *window;
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
    EXPECT_EQ(actions, 0) << "setting controls from code reports no action";
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
