// The views: frames between the controllers' coordinates and Qt's, where a
// corner window is anchored on a layer surface, what the window system sees
// of the indicator and what it draws, and the preferences' outlets.

#include <QAccessible>
#include <QLineEdit>

#include "platform/qt/geometry.h"
#include "platform/qt/views/overlay_presenter.h"
#include "platform/qt/views/view_scene.h"
#include "platform/qt/views/views.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

TEST(Conversion, FramesMapBothWays) {
    const std::pair<Rect, QRectF> cases[] = {
        {{856, 1034, 208, 26}, {856, 20, 208, 26}},    // the indicator at the top centre
        {{0, 1080, 1440, 900}, {0, -900, 1440, 900}},  // a screen above the primary
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

// Its squares apart, its longest reason whole, and what a screen reader
// hears of each.
TEST(IndicatorView, IsAClickThroughToolWindowThatDrawsAndReadsItsProgress) {
    std::unique_ptr<QtWindow> window = makeIndicatorView();
    window->setIgnoresMouseEvents(true);
    QWidget* view = window->view();
    const Qt::WindowFlags flags = view->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                Qt::WindowTransparentForInput, Qt::X11BypassWindowManagerHint})
        EXPECT_TRUE(flags.testFlag(flag)) << "flag " << std::hex << flag;
    Control& label = window->outlet("lblProgress");
    label.setTextColor({1, 0, 0, 0.7});
    // 11 squares: the square of a period just ended.
    const std::pair<int, const char*> cases[] = {
        {4, "4 of 10"}, {11, "10 of 10"}, {0, "\u2016 15:30"}, {0, "\u25F7 do not disturb"}};
    for (const auto& [squares, read] : cases) {
        std::string text = squares ? "" : read;
        for (int i = 0; i < squares; ++i) text += "\u25FC\uFE0E";
        label.setText(text);
        QAccessibleInterface* a11y =
            QAccessible::queryAccessibleInterface(view->findChild<QWidget*>());
        EXPECT_EQ(a11y->text(QAccessible::Name), "Tamsel");
        EXPECT_EQ(a11y->text(QAccessible::Value), QString::fromUtf8(read));
        EXPECT_EQ(a11y->valueInterface()->currentValue(), std::min(squares, 10));
        const QImage image = view->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        int runs = 0, columns = 0;
        for (int x = 0, was = 0; x < image.width(); ++x) {
            int ink = 0;
            for (int y = 0; y < image.height(); ++y) ink |= qAlpha(image.pixel(x, y)) > 0;
            EXPECT_FALSE(ink && (x == 0 || x == image.width() - 1)) << text << ": cut off";
            runs += ink && !was;
            columns += was = ink;
        }
        EXPECT_TRUE(squares ? runs == squares : columns > view->width() / 4) << text;
    }
}

// A break on a layer surface gets its keys and clicks through a scene: Tab
// then Space presses Snooze, as a click does; Space alone, as the break
// appears, presses nothing.
TEST(ViewScene, TabThenSpaceOrAClickPressesSnoozeButSpaceAloneNothing) {
    for (const QString story : {"\t ", " ", "click"}) {
        std::unique_ptr<QtWindow> window = makeBreakView();
        std::vector<std::string> actions;
        window->setActionHandler([&](std::string_view a, auto) { actions.emplace_back(a); });
        window->view()->setGeometry(0, 0, 800, 600);
        ViewScene scene(*window->view());
        scene.show();
        scene.keyboardFocus(true);
        auto* snooze = window->view()->findChild<QPushButton*>();
        const QPointF at = snooze->mapTo(window->view(), snooze->rect().center());
        if (story == "click") {
            scene.pointer(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, 1000);
            scene.pointer(QEvent::MouseButtonRelease, at, Qt::LeftButton, {}, 1020);
        } else
            for (const QChar c : story)
                for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                    scene.key(type, c == '\t' ? Qt::Key_Tab : Qt::Key_Space, {}, c);
        EXPECT_EQ(actions, std::vector<std::string>(story != " ", "closeButton:"))
            << story.toStdString();
    }
}

TEST(PreferencesView, HasEveryOutletOfItsDefinitionAndReportsNoActionSetFromCode) {
    std::unique_ptr<QtWindow> window = makePreferencesView();
    int actions = 0;
    window->setActionHandler([&](std::string_view, std::string_view) { ++actions; });
    for (const nib::Outlet& o : nib::kPrefWindowOutlets)
        EXPECT_TRUE(window->view()->findChild<QWidget*>(QString::fromUtf8(o.name))) << o.name;
    EXPECT_EQ(window->view()->findChild<QLineEdit*>("txtNewPwd")->echoMode(), QLineEdit::Password);
    window->outlet("stpWorkDurationE").setIntegerValue(45);
    window->outlet("txtNewPwd").setText("secret");
    EXPECT_EQ(actions, 0);
}

}  // namespace
}  // namespace tamsel::qt
