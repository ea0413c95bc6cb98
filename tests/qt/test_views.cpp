// The views: frames between the controllers' coordinates and Qt's, where a
// corner window is anchored on a layer surface, what the window system sees
// of the indicator and what it draws, and the preferences' outlets.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/qt/geometry.h"
#include "platform/qt/views/overlay_presenter.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {
namespace {

TEST(Conversion, FramesMapBothWays) {
    const std::pair<Rect, QRectF> cases[] = {
        {{856, 1034, 208, 26}, {856, 20, 208, 26}},          // the indicator at the top centre
        {{0, 1080, 1440, 900}, {0, -900, 1440, 900}},        // a screen above the primary
        {{1920, 56, 1280, 1124}, {1920, -100, 1280, 1124}},  // a break window 100 above
        {{12.5, 1016.25, 200.5, 30.75}, {12.5, 33, 200.5, 30.75}},
    };
    for (const auto& [controllers, qt] : cases) {
        EXPECT_EQ(toQt(controllers, 1080), qt);
        EXPECT_EQ(fromQt(qt, 1080), controllers);
    }
}

TEST(CornerPlacement, AnchorsTheNearerEdgesAtTheFramesDistance) {
    const QRect screen(0, 0, 1920, 1080), panelOnTop(0, 30, 1920, 1050);
    const auto top = Qt::TopEdge, left = Qt::LeftEdge, right = Qt::RightEdge;
    const struct {
        QRect frame, area;
        Qt::Edges anchors;
        int topMargin;  // the only one not 0 here
    } cases[] = {
        {{856, 20, 208, 26}, screen, top, 20},
        {{857, 20, 207, 26}, screen, top, 20},  // half a pixel off the middle
        {{1712, 1054, 208, 26}, screen, Qt::BottomEdge | right, 0},
        {{0, 50, 208, 26}, panelOnTop, top | left, 20},  // placed from a work area
        {{0, 20, 208, 26}, panelOnTop, top | left, 0},   // from the screen, under a panel
        {{3632, 20, 208, 26}, {1920, 0, 1920, 1080}, top | right, 20},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cornerPlacement(c.frame, c.area),
                  (EdgePlacement{c.anchors, QMargins(0, c.topMargin, 0, 0), c.frame.size()}))
            << c.frame.x() << "," << c.frame.y();
}

// The image columns holding a visible pixel: their runs (the squares drawn),
// their count, and whether one is at an edge (cut off).
std::tuple<int, int, bool> inkOf(QWidget* widget) {
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    int runs = 0, columns = 0;
    bool cutOff = false, inside = false;
    for (int x = 0; x < image.width(); ++x) {
        bool column = false;
        for (int y = 0; y < image.height() && !column; ++y) column = qAlpha(image.pixel(x, y)) > 0;
        runs += column && !inside;
        columns += column;
        cutOff |= column && (x == 0 || x == image.width() - 1);
        inside = column;
    }
    return {runs, columns, cutOff};
}

TEST(IndicatorView, IsAClickThroughToolWindowWhoseSquaresAndLongestReasonFit) {
    std::unique_ptr<QtWindow> window = makeIndicatorView();
    window->setIgnoresMouseEvents(true);
    const Qt::WindowFlags flags = window->view()->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                Qt::WindowTransparentForInput, Qt::X11BypassWindowManagerHint})
        EXPECT_TRUE(flags.testFlag(flag)) << "flag " << std::hex << flag;
    Control& label = window->outlet("lblProgress");
    label.setTextColor({1, 0, 0, 0.7});
    std::string squares;
    for (int i = 0; i < 11; ++i) squares += "\u25FC\uFE0E";
    label.setText(squares);
    auto [runs, columns, cutOff] = inkOf(window->view());
    EXPECT_EQ(runs, 11) << "eleven squares, each apart";
    EXPECT_FALSE(cutOff);
    label.setText("\u25F7 do not disturb");  // the longest reason a break waits for
    std::tie(runs, columns, cutOff) = inkOf(window->view());
    EXPECT_FALSE(cutOff);
    EXPECT_GT(columns, window->view()->width() / 2) << "hardly anything drawn";
}

TEST(PreferencesView, HasEveryOutletOfItsDefinition) {
    std::unique_ptr<QtWindow> window = makePreferencesView();
    int actions = 0;
    window->setActionHandler([&](std::string_view, std::string_view) { ++actions; });
    for (const nib::Outlet& o : nib::kPrefWindowOutlets)
        EXPECT_NE(
            window->view()->findChild<QWidget*>(QString::fromUtf8(o.name.data(), o.name.size())),
            nullptr)
            << o.name;
    EXPECT_EQ(window->view()->findChild<QLineEdit*>("txtNewPwd")->echoMode(), QLineEdit::Password);
    window->outlet("stpWorkDurationE").setIntegerValue(45);
    window->outlet("txtNewPwd").setText("secret");
    EXPECT_EQ(actions, 0) << "setting controls from code reports no action";
}

}  // namespace
}  // namespace tamsel::qt
