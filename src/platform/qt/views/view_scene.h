#pragma once

// A view shown somewhere other than in a Qt window of its own (a layer
// surface): it lives in a QGraphicsScene that is never shown, keeps painting
// itself and running its timers as on screen, says when what it shows
// changed, and takes the pointer and keyboard the way Qt's own windows hand
// them to widgets (clicks, double clicks, hover, Tab and Space).

#include <QEvent>
#include <QGraphicsScene>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <map>

class QGraphicsProxyWidget;
class QPainter;

namespace tamsel::qt {

class ViewWidget;

class ViewScene : public QObject {
public:
    // Takes the view in, hidden until show().
    explicit ViewScene(ViewWidget& view);
    // Gives the view back to its window, hidden.
    ~ViewScene() override;

    void show();
    // Paints the view, scaled to `target` (logical pixels of the painter).
    void render(QPainter& painter, const QSizeF& target);
    // After every change of what the view shows, once per turn of the loop.
    std::function<void()> onChanged;

    // A pointer move, press or release at a position in the view, or it
    // left (QEvent::Leave); `time` in milliseconds, for double clicks.
    void pointer(QEvent::Type type, QPointF position, Qt::MouseButton button,
                 Qt::MouseButtons buttons, std::uint32_t time);
    void keyboardFocus(bool focused);
    void key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text);

private:
    void send(QEvent::Type type, QPointF scenePos, Qt::MouseButton button,
              Qt::MouseButtons buttons);

    QPointer<ViewWidget> view_;
    QGraphicsScene scene_;
    QPointer<QGraphicsProxyWidget> proxy_;
    QPointF lastAt_;
    std::map<Qt::MouseButton, QPointF> downAt_;
    Qt::MouseButton lastButton_ = Qt::NoButton;
    std::uint32_t lastPressTime_ = 0;
    QPointF lastPressAt_;
};

}  // namespace tamsel::qt
