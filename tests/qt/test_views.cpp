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

class IndicatorViewTest : public ::testing::Test {
protected:
    IndicatorViewTest() : window(makeIndicatorView()) {}
    // As the controller sets the window up.
    void setUpLikeController() {
        window->setTitle("Tamsel");
        window->setIgnoresMouseEvents(true);
        window->setOpaque(false);
        window->setBackgroundColor({0.5, 0.5, 0.5, 0.0});
        window->setLevel(WindowLevel::Floating);
        window->setLevel(WindowLevel::Maximum);
    }
    QImage drawn(int segments, Color colour) {
        label().setTextColor(colour);
        label().setText(bar(segments));
        return snapshot(window->view());
    }
    Control& label() { return window->outlet("lblProgress"); }

    std::unique_ptr<QtWindow> window;
};

TEST_F(IndicatorViewTest, IsAClickThroughToolWindowAboveOthersWithoutBackground) {
    setUpLikeController();
    const QWidget* view = window->view();
    const Qt::WindowFlags flags = view->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                Qt::WindowTransparentForInput, Qt::X11BypassWindowManagerHint})
        EXPECT_TRUE(flags.testFlag(flag)) << "flag " << std::hex << flag;
    EXPECT_TRUE(view->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(view->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(view->windowTitle(), "Tamsel");
    EXPECT_EQ(window->title(), "Tamsel");
    EXPECT_NE(widgetOf(*window, "lblProgress"), nullptr);
}

TEST_F(IndicatorViewTest, SizeIsTheViewsOwnAndTheControllerOnlyMovesIt) {
    const Rect before = window->frame();
    ASSERT_GT(before.width, 0);
    ASSERT_GT(before.height, 0);
    window->setFrame({10, 20, before.width + 300, before.height + 50}, true);
    const Rect after = window->frame();
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
    EXPECT_EQ(after.x, 10);
}

TEST_F(IndicatorViewTest, ElevenSquaresFitAsElevenSeparateSquares) {
    const QImage image = drawn(11, {1, 0, 0, 0.7});
    const std::vector<bool> columns = inkedColumns(image);
    EXPECT_EQ(runsOf(columns), 11);
    EXPECT_FALSE(columns.front()) << "the first square is cut off";
    EXPECT_FALSE(columns.back()) << "the last square is cut off";
}

TEST_F(IndicatorViewTest, LabelTakesTheControllersColourAndARimForDarkBackgrounds) {
    QImage image = drawn(1, {1, 0, 0, 0.7});
    const QColor ink = widgetOf(*window, "lblProgress")->palette().color(QPalette::WindowText);
    EXPECT_EQ(ink.red(), 255);
    EXPECT_EQ(ink.green(), 0);
    EXPECT_NEAR(ink.alphaF(), 0.7, 0.01);

    auto count = [](const QImage& img, auto&& test) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += test(QColor::fromRgba(img.pixel(x, y)));
        return n;
    };
    auto red = [](QColor c) {
        return c.red() > 200 && c.green() < 40 && std::abs(c.alpha() - 178) <= 2;
    };
    EXPECT_GT(count(image, red), 40) << "the square is drawn in the controller's red";

    // Black at half alpha: the square itself, and a light rim around it.
    image = drawn(2, {0, 0, 0, 0.5});
    auto black = [](QColor c) { return c.lightness() < 10 && std::abs(c.alpha() - 128) <= 2; };
    auto light = [](QColor c) { return c.alpha() > 0 && c.lightness() > 200; };
    EXPECT_GT(count(image, black), 40);
    EXPECT_GT(count(image, light), 20);

    // Invisible ink leaves nothing, not even the rim.
    image = drawn(5, {0, 0, 0, 0});
    EXPECT_EQ(count(image, [](QColor c) { return c.alpha() > 0; }), 0);
}

TEST_F(IndicatorViewTest, BarStartsAtTheScreenEdgeOfItsCorner) {
    setUpLikeController();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const Rect f = window->frame();
    window->orderFront();

    window->setFrame({0, screen.height() - f.height - 20, f.width, f.height}, true);
    std::vector<bool> columns = inkedColumns(drawn(3, {0, 0, 0, 0.5}));
    EXPECT_TRUE(std::find(columns.begin(), columns.begin() + 8, true) != columns.begin() + 8)
        << "top left: the bar starts at the left";

    window->setFrame({screen.width() - f.width, 0, f.width, f.height}, true);
    columns = inkedColumns(snapshot(window->view()));
    EXPECT_TRUE(std::find(columns.end() - 8, columns.end(), true) != columns.end())
        << "bottom right: the bar ends at the right";
    EXPECT_FALSE(std::find(columns.begin(), columns.begin() + 8, true) != columns.begin() + 8);
}

TEST_F(IndicatorViewTest, OnlyAChangedTextIsRepainted) {
    setUpLikeController();
    window->orderFront();
    QWidget* labelWidget = widgetOf(*window, "lblProgress");
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    label().setTextColor({0, 0, 0, 0.5});
    label().setText(bar(3));
    QApplication::processEvents();
    labelWidget->installEventFilter(&counter);

    label().setText(bar(3));
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);

    label().setText(bar(4));
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(label().text(), bar(4));
}

// ---- break window -------------------------------------------------------------------

class BreakViewTest : public ::testing::Test {
protected:
    BreakViewTest() : window(makeBreakView()) {
        window->setActionHandler([this](std::string_view action, std::string_view sender) {
            actions.emplace_back(std::string(action) + " " + std::string(sender));
        });
        window->setMouseUpHandler([this](const MouseEvent& e) { mouseUps.push_back(e); });
    }
    ~BreakViewTest() override {
        window.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<QtWindow> window;
    std::vector<std::string> actions;
    std::vector<MouseEvent> mouseUps;
};

TEST_F(BreakViewTest, IsAFramelessWindowAboveOthersThatTheWindowManagerLeavesAlone) {
    const QWidget* view = window->view();
    const Qt::WindowFlags flags = view->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);
    for (Qt::WindowType flag :
         {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint, Qt::X11BypassWindowManagerHint})
        EXPECT_TRUE(flags.testFlag(flag)) << "flag " << std::hex << flag;
    EXPECT_FALSE(flags.testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(view->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(view->windowTitle(), "Tamsel break");
    EXPECT_EQ(window->title(), "Tamsel break");
}

TEST_F(BreakViewTest, HasItsFourOutlets) {
    auto* text = qobject_cast<QLabel*>(widgetOf(*window, "lblTSText"));
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(text->text().isEmpty());
    EXPECT_NE(widgetOf(*window, "progressBar"), nullptr);

    auto* snooze = qobject_cast<QPushButton*>(widgetOf(*window, "closeBtn"));
    ASSERT_NE(snooze, nullptr);
    EXPECT_EQ(window->outlet("closeBtn").text(), "Snooze for a minute");

    auto* progress = qobject_cast<QProgressBar*>(widgetOf(*window, "lockProgress"));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 100);
    window->outlet("lockProgress").setDoubleValue(42);
    EXPECT_EQ(progress->value(), 42);
    EXPECT_EQ(window->outlet("lockProgress").doubleValue(), 42);
}

TEST_F(BreakViewTest, FrameReachesAboveTheScreenAndContentIsCentredOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double h = screen.height();
    const Rect frame{0, 0, double(screen.width()), h + 100};
    window->setFrame(frame, true);
    EXPECT_EQ(window->view()->geometry(), QRect(0, -100, screen.width(), screen.height() + 100));
    EXPECT_EQ(window->frame(), frame);

    // The converted frame of a smaller screen area.
    window->setFrame({100, 50, 400, 300}, true);
    EXPECT_EQ(window->view()->geometry(), QRect(100, int(h) - 350, 400, 300));

    window->setFrame(frame, true);
    window->orderFront();
    QApplication::processEvents();
    const QWidget* top = widgetOf(*window, "lblTSText");
    const QWidget* bottom = widgetOf(*window, "closeBtn");
    const double contentMiddle = (top->geometry().top() + bottom->geometry().bottom()) / 2.0;
    // The top 100 rows lie above the screen.
    EXPECT_NEAR(contentMiddle, 100 + h / 2, 2.0);
}

TEST_F(BreakViewTest, DoubleClicksReachTheControllerWithCountAndButton) {
    window->setFrame({0, 0, 640, 480}, true);
    window->orderFront();
    QApplication::processEvents();
    QWidget* view = window->view();
    ASSERT_NE(view->windowHandle(), nullptr);
    doubleClick(view, Qt::LeftButton);
    ASSERT_EQ(mouseUps.size(), 2u);
    EXPECT_EQ(mouseUps[0].clickCount, 1);
    EXPECT_EQ(mouseUps[1].clickCount, 2);
    EXPECT_EQ(mouseUps[1].buttonNumber, 0);

    // Straight after, with the other button: a new run, not a third click.
    mouseUps.clear();
    doubleClick(view, Qt::RightButton);
    ASSERT_EQ(mouseUps.size(), 2u);
    EXPECT_EQ(mouseUps[1].clickCount, 2);
    EXPECT_EQ(mouseUps[1].buttonNumber, 1);

    // A third press in the run counts three.
    mouseUps.clear();
    doubleClick(view, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton);
    ASSERT_EQ(mouseUps.size(), 3u);
    EXPECT_EQ(mouseUps[2].clickCount, 3);

    // Neither the text nor the progress swallows clicks on them.
    for (const char* outlet : {"lblTSText", "lockProgress"}) {
        mouseUps.clear();
        doubleClick(widgetOf(*window, outlet), Qt::RightButton);
        doubleClick(widgetOf(*window, outlet), Qt::LeftButton);
        ASSERT_EQ(mouseUps.size(), 4u) << outlet;
        EXPECT_EQ(mouseUps[3].clickCount, 2) << outlet;
        EXPECT_EQ(mouseUps[3].buttonNumber, 0) << outlet;
    }
}

TEST_F(BreakViewTest, SnoozeButtonSendsCloseButtonOnlyWhileTheWindowIsOpen) {
    QPointer<QPushButton> snooze = qobject_cast<QPushButton*>(widgetOf(*window, "closeBtn"));
    ASSERT_TRUE(snooze);
    snooze->click();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0], "closeButton: closeBtn");

    // Closed, the view waits for deletion; its button reaches no one.
    QPointer<QWidget> view = window->view();
    window->close();
    ASSERT_TRUE(snooze);
    snooze->click();
    EXPECT_EQ(actions.size(), 1u);
    EXPECT_FALSE(window->isVisible());

    // And its memory is given back.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
}

TEST_F(BreakViewTest, KeysTypedAsTheBreakAppearsDoNotSnooze) {
    window->makeKeyAndOrderFront();
    QWidget* view = window->view();
    EXPECT_EQ(view->focusWidget(), view);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(view, &press);
    QApplication::sendEvent(view, &release);
    EXPECT_TRUE(actions.empty());
}

TEST_F(BreakViewTest, BackgroundAlphaIsPaintedAndReadBack) {
    window->setFrame({0, 0, 400, 400}, true);
    for (double alpha : {0.1, 0.6}) {
        window->setBackgroundColor({0, 0, 0, alpha});
        EXPECT_EQ(window->backgroundColor(), (Color{0, 0, 0, alpha}));
        const QColor corner = snapshot(window->view()).pixelColor(5, 5);
        EXPECT_NEAR(corner.alphaF(), alpha, 0.01);
        EXPECT_EQ(corner.red(), 0);
    }
}

}  // namespace
}  // namespace tamsel::qt
