// The progress indicator and break window views: what the window system
// sees of them, and what reaches the controllers from them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <vector>

#include "platform/qt/geometry.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {
namespace {

const std::string kSegment = "\u25FC\uFE0E";

std::string bar(int segments) {
    std::string text;
    for (int i = 0; i < segments; ++i) text += kSegment;
    return text;
}

QWidget* widgetOf(Window& window, std::string_view outlet) {
    auto* control = dynamic_cast<QtControl*>(&window.outlet(outlet));
    return control ? control->widget() : nullptr;
}

QImage snapshot(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Columns of the image that hold any visible pixel.
std::vector<bool> inkedColumns(const QImage& image) {
    std::vector<bool> columns(image.width(), false);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) columns[x] = true;
    return columns;
}

int runsOf(const std::vector<bool>& columns) {
    int runs = 0;
    for (std::size_t x = 0; x < columns.size(); ++x)
        if (columns[x] && (x == 0 || !columns[x - 1])) ++runs;
    return runs;
}

// Delivered to the top-level window at the centre of the target, as the
// window system delivers it: the window finds the widget under the pointer.
void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button) {
    QWidget* top = target->window();
    const QPointF pos = target->mapTo(top, QPointF(target->width() / 2.0, target->height() / 2.0));
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, pos, top->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(top->windowHandle(), &event);
}

// What the window system delivers for a double click: the second press
// arrives as a press followed by a double-click event.
void doubleClick(QWidget* target, Qt::MouseButton button) {
    sendMouse(target, QEvent::MouseButtonPress, button);
    sendMouse(target, QEvent::MouseButtonRelease, button);
    sendMouse(target, QEvent::MouseButtonPress, button);
    sendMouse(target, QEvent::MouseButtonDblClick, button);
    sendMouse(target, QEvent::MouseButtonRelease, button);
}

// ---- progress indicator -------------------------------------------------------------

TEST(IndicatorView, IsAClickThroughToolWindowWhoseElevenSquaresStaySeparate) {
    std::unique_ptr<QtWindow> window = makeIndicatorView();
    window->setIgnoresMouseEvents(true);
    const QWidget* view = window->view();
    const Qt::WindowFlags flags = view->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                Qt::WindowTransparentForInput, Qt::X11BypassWindowManagerHint})
        EXPECT_TRUE(flags.testFlag(flag)) << "flag " << std::hex << flag;
    EXPECT_TRUE(view->testAttribute(Qt::WA_ShowWithoutActivating));
    // The controllers move it; its size is its own.
    const Rect before = window->frame();
    window->setFrame({10, 20, before.width + 300, before.height + 50}, true);
    EXPECT_EQ(window->frame().width, before.width);

    Control& label = window->outlet("lblProgress");
    label.setTextColor({1, 0, 0, 0.7});
    label.setText(bar(11));
    const std::vector<bool> columns = inkedColumns(snapshot(window->view()));
    EXPECT_EQ(runsOf(columns), 11);
    EXPECT_FALSE(columns.front() || columns.back()) << "a square is cut off";
    // Invisible ink leaves nothing, not even the rim.
    label.setTextColor({0, 0, 0, 0});
    label.setText(bar(5));
    EXPECT_EQ(runsOf(inkedColumns(snapshot(window->view()))), 0);
}

// ---- break window -------------------------------------------------------------------

TEST(BreakView, DoubleClicksReachTheControllerWithCountAndButtonAndAClosedViewSaysNothing) {
    std::unique_ptr<QtWindow> window = makeBreakView();
    std::vector<std::string> actions;
    std::vector<MouseEvent> ups;
    window->setActionHandler([&](std::string_view action, std::string_view sender) {
        actions.emplace_back(std::string(action) + " " + std::string(sender));
    });
    window->setMouseUpHandler([&](const MouseEvent& e) { ups.push_back(e); });
    const Qt::WindowFlags flags = window->view()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::X11BypassWindowManagerHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowTransparentForInput));
    window->setFrame({0, 0, 640, 480}, true);
    window->makeKeyAndOrderFront();
    QApplication::processEvents();
    QWidget* view = window->view();
    EXPECT_EQ(view->focusWidget(), view) << "a space typed as the break appears snoozes nothing";

    // Left, right at once (a new run, not a third click), a left triple, and
    // double clicks on the text and the bar, which belong to the window.
    doubleClick(view, Qt::LeftButton);
    doubleClick(view, Qt::RightButton);
    doubleClick(view, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton);
    doubleClick(widgetOf(*window, "lblTSText"), Qt::RightButton);
    doubleClick(widgetOf(*window, "lockProgress"), Qt::LeftButton);
    std::vector<std::pair<int, int>> seen;
    for (const MouseEvent& e : ups) seen.emplace_back(e.clickCount, e.buttonNumber);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 0},
                                                      {2, 0},
                                                      {1, 1},
                                                      {2, 1},
                                                      {1, 0},
                                                      {2, 0},
                                                      {3, 0},
                                                      {1, 1},
                                                      {2, 1},
                                                      {1, 0},
                                                      {2, 0}}));

    QPointer<QPushButton> snooze = qobject_cast<QPushButton*>(widgetOf(*window, "closeBtn"));
    snooze->click();
    window->close();
    snooze->click();  // closed, the view waits for deletion; its button reaches no one
    EXPECT_EQ(actions, (std::vector<std::string>{"closeButton: closeBtn"}));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(snooze.isNull()) << "its memory is given back";
}

TEST(BreakView, TheFrameReachesAboveTheScreenAndTheBackgroundAlphaIsPainted) {
    std::unique_ptr<QtWindow> window = makeBreakView();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const Rect frame{0, 0, double(screen.width()), double(screen.height()) + 100};
    window->setFrame(frame, true);
    EXPECT_EQ(window->view()->geometry(), QRect(0, -100, screen.width(), screen.height() + 100));
    EXPECT_EQ(window->frame(), frame);
    for (double alpha : {0.1, 0.6}) {
        window->setBackgroundColor({0, 0, 0, alpha});
        const QColor corner = snapshot(window->view()).pixelColor(5, 5);
        EXPECT_NEAR(corner.alphaF(), alpha, 0.01);
    }
}

}  // namespace
}  // namespace tamsel::qt
