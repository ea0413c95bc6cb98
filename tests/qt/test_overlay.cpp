// Frames between the controllers' coordinates and Qt's, and the overlay route:
// where a corner window is anchored on a layer surface, a view shown through a
// scene (what it paints, what reaches the controller from the pointer and
// keyboard), and the way back to a Qt window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/geometry.h"
#include "platform/qt/views/overlay_presenter.h"
#include "platform/qt/views/overlay_route.h"
#include "platform/qt/views/view_scene.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {
namespace {

TEST(CornerPlacement, AnchorsTheNearerEdgesAtTheFramesDistance) {
    const QRect screen(0, 0, 1920, 1080), panelOnTop(0, 30, 1920, 1050);
    const QRect second(1920, 0, 1920, 1080);
    const auto top = Qt::TopEdge, left = Qt::LeftEdge, right = Qt::RightEdge;
    const auto bottom = Qt::BottomEdge;
    const struct {
        const char* name;
        QRect frame, area;
        Qt::Edges anchors;
        int topMargin;  // the only one not 0 here
    } cases[] = {
        {"top left", {0, 20, 208, 26}, screen, top | left, 20},
        {"top centre", {856, 20, 208, 26}, screen, top, 20},
        {"top right", {1712, 20, 208, 26}, screen, top | right, 20},
        {"bottom left", {0, 1054, 208, 26}, screen, bottom | left, 0},
        {"bottom centre", {856, 1054, 208, 26}, screen, bottom, 0},
        {"bottom right", {1712, 1054, 208, 26}, screen, bottom | right, 0},
        {"half a pixel off the middle", {857, 20, 207, 26}, screen, top, 20},
        {"placed from a work area", {0, 50, 208, 26}, panelOnTop, top | left, 20},
        {"placed from the screen, under a panel", {0, 20, 208, 26}, panelOnTop, top | left, 0},
        {"second screen, top right", {3632, 20, 208, 26}, second, top | right, 20},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cornerPlacement(c.frame, c.area),
                  (EdgePlacement{c.anchors, QMargins(0, c.topMargin, 0, 0), c.frame.size()}))
            << c.name;
}

// ---- a break view in a scene ------------------------------------------------------

// A break view in a scene of its own, with what reaches its controller.
struct BreakInScene {
    BreakInScene() : window(makeBreakView()) {
        window->setActionHandler(
            [this](std::string_view action, std::string_view) { actions.emplace_back(action); });
        window->setMouseUpHandler(
            [this](const MouseEvent& e) { ups.emplace_back(e.clickCount, e.buttonNumber); });
        window->view()->setGeometry(0, 0, 800, 600);
        scene = std::make_unique<ViewScene>(*window->view());
        scene->show();
    }

    QPointF buttonCentre() const {
        auto* button = window->view()->findChild<QPushButton*>();
        return QPointF(button->mapTo(window->view(), button->rect().center()));
    }

    void click(QPointF at, std::uint32_t time, Qt::MouseButton button = Qt::LeftButton) {
        scene->pointer(QEvent::MouseMove, at, Qt::NoButton, {}, time);
        scene->pointer(QEvent::MouseButtonPress, at, button, button, time);
        scene->pointer(QEvent::MouseButtonRelease, at, button, {}, time + 20);
    }

    void type(int key, const QString& text) {
        scene->key(QEvent::KeyPress, key, Qt::NoModifier, text);
        scene->key(QEvent::KeyRelease, key, Qt::NoModifier, text);
    }

    std::unique_ptr<QtWindow> window;
    std::unique_ptr<ViewScene> scene;
    std::vector<std::string> actions;
    std::vector<std::pair<int, int>> ups;  // click count and button, on the background
};

TEST(ViewScene, PointerAndKeysReachTheControlsAsInAWindow) {
    const QPointF background(20, 20);
    struct Case {
        const char* name;
        std::function<void(BreakInScene&)> act;
        std::vector<std::string> actions;
        std::vector<std::pair<int, int>> ups;
    } cases[] = {
        {"a click on the snooze button",
         [](BreakInScene& b) { b.click(b.buttonCentre(), 1000); },
         {"closeButton:"},
         {}},
        {"a double click on the background, then a right click",
         [&](BreakInScene& b) {
             b.click(background, 1000);
             b.click(background, 1100);
             b.click(background, 1200, Qt::RightButton);
         },
         {},
         {{1, 0}, {2, 0}, {1, 1}}},
        {"two clicks too far apart in time",
         [&](BreakInScene& b) {
             b.click(background, 1000);
             b.click(background, 5000);
         },
         {},
         {{1, 0}, {1, 0}}},
        {"Tab to the snooze button, then Space",
         [](BreakInScene& b) {
             b.scene->keyboardFocus(true);
             b.type(Qt::Key_Tab, QStringLiteral("\t"));
             b.type(Qt::Key_Space, QStringLiteral(" "));
         },
         {"closeButton:"},
         {}},
        {"Space alone, as the break appears",
         [](BreakInScene& b) {
             b.scene->keyboardFocus(true);
             b.type(Qt::Key_Space, QStringLiteral(" "));
         },
         {},
         {}},
    };
    for (const Case& c : cases) {
        BreakInScene b;
        c.act(b);
        EXPECT_EQ(b.actions, c.actions) << c.name;
        EXPECT_EQ(b.ups, c.ups) << c.name;
    }
}

TEST(ViewScene, PaintsTheViewAndSaysWhenItChanged) {
    BreakInScene b;
    auto& scene = b.scene;
    auto& window = b.window;
    int changes = 0;
    scene->onChanged = [&] { ++changes; };
    auto alphaAt = [&scene](QPoint p) {
        QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::red);
        QPainter painter(&image);
        scene->render(painter, QSizeF(800, 600));
        painter.end();
        return qAlpha(image.pixel(p));
    };
    EXPECT_NEAR(alphaAt({5, 5}), 26, 1);  // see-through until placed
    QCoreApplication::processEvents();
    changes = 0;
    window->setBackgroundColor({0, 0, 0, 0.6});
    QCoreApplication::processEvents();
    EXPECT_GE(changes, 1);
    EXPECT_NEAR(alphaAt({5, 5}), 153, 1);
    // The scene gives the view back, hidden, when it goes.
    scene.reset();
    EXPECT_EQ(window->view()->parent(), nullptr);
    EXPECT_FALSE(window->view()->isVisible());
}

// ---- the way back to Qt windows ---------------------------------------------------

class FakePresenter : public OverlayPresenter {
public:
    explicit FakePresenter(std::vector<QRect>& places) : places_(places) {}
    void place(const QRect& frame) override { places_.push_back(frame); }
    void show() override { shown_ = true; }
    bool isShown() const override { return shown_; }

private:
    std::vector<QRect>& places_;
    bool shown_ = false;
};

TEST(OverlayRoute, AWindowShownByAPresenterBecomesAQtWindowWhenItGoes) {
    std::vector<QRect> places;
    setOverlayPresenters(
        [&places](ViewWidget&, OverlayKind) { return std::make_unique<FakePresenter>(places); });
    EXPECT_EQ(overlayRoute(), OverlayRoute::LayerShell);
    auto window = makeBreakView();
    window->presentAsOverlay(OverlayKind::Break);
    const Rect frame{0, 0, 900, 700};
    window->setFrame(frame, true);
    window->makeKeyAndOrderFront();
    const QRect expected = toQt(frame, primaryScreenHeight()).toRect();
    ASSERT_FALSE(places.empty());
    EXPECT_EQ(places.back(), expected);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->view()->isVisible());

    setOverlayPresenters(nullptr);
    EXPECT_EQ(overlayRoute(), OverlayRoute::QtWindows);
    EXPECT_TRUE(window->view()->isVisible());
    EXPECT_EQ(window->view()->geometry(), expected);
    EXPECT_EQ(window->frame(), frame);
    window->close();
    EXPECT_FALSE(window->isVisible());
}

constexpr double kPrimaryHeight = 1080;

TEST(Conversion, FramesMapBothWays) {
    struct Case {
        const char* what;
        Rect controllers;
        QRectF qt;
    };
    const Case cases[] = {
        {"the primary screen", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
        {"indicator at the top centre", {856, 1034, 208, 26}, {856, 20, 208, 26}},
        {"indicator at the bottom right", {1712, 0, 208, 26}, {1712, 1054, 208, 26}},
        {"a taller screen to the right", {1920, -120, 1280, 1200}, {1920, 0, 1280, 1200}},
        {"a smaller screen to the right", {1920, 56, 1280, 1024}, {1920, 0, 1280, 1024}},
        {"a screen above the primary", {0, 1080, 1440, 900}, {0, -900, 1440, 900}},
        {"a screen left of the primary", {-1440, 180, 1440, 900}, {-1440, 0, 1440, 900}},
        {"a break window 100 above the screen", {0, 0, 1920, 1180}, {0, -100, 1920, 1180}},
        {"a break window on the second screen", {1920, 56, 1280, 1124}, {1920, -100, 1280, 1124}},
        {"half points", {12.5, 1016.25, 200.5, 30.75}, {12.5, 33, 200.5, 30.75}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toQt(c.controllers, kPrimaryHeight), c.qt) << c.what;
        EXPECT_EQ(fromQt(c.qt, kPrimaryHeight), c.controllers) << c.what;
    }
}

}  // namespace
}  // namespace tamsel::qt
