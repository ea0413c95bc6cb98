#include "platform/qt/views/view_scene.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleHints>

#include "platform/qt/views/qt_window.h"

namespace tamsel::qt {

ViewScene::ViewScene(ViewWidget& view) : view_(&view) {
    scene_.setItemIndexMethod(QGraphicsScene::NoIndex);
    // Hidden until shown here: its timers (the break's ring) wait too.
    view.hide();
    proxy_ = scene_.addWidget(&view);
    connect(&scene_, &QGraphicsScene::changed, this, [this](const QList<QRectF>& rects) {
        if (!rects.isEmpty() && onChanged) onChanged();
    });
}

ViewScene::~ViewScene() {
    // The scene must not take the view along when it goes.
    if (view_ && proxy_) {
        view_->hide();
        proxy_->setWidget(nullptr);
    }
}

void ViewScene::show() {
    if (view_) view_->show();
}

void ViewScene::render(QPainter& painter, const QSizeF& target) {
    if (!proxy_) return;
    const QRectF area(QPointF(0, 0), target);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(area, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    scene_.render(&painter, area, proxy_->sceneBoundingRect(), Qt::IgnoreAspectRatio);
    painter.restore();
}

void ViewScene::pointer(QEvent::Type type, QPointF position, Qt::MouseButton button,
                        Qt::MouseButtons buttons, std::uint32_t time) {
    if (!proxy_) return;
    if (type == QEvent::Leave) {
        // Hover ends where no item is.
        send(QEvent::GraphicsSceneMouseMove, QPointF(-1e6, -1e6), Qt::NoButton, {});
        return;
    }
    const QPointF scenePos = proxy_->mapToScene(position);
    if (type == QEvent::MouseMove)
        return send(QEvent::GraphicsSceneMouseMove, scenePos, Qt::NoButton, buttons);
    if (type == QEvent::MouseButtonRelease)
        return send(QEvent::GraphicsSceneMouseRelease, scenePos, button, buttons);
    if (type != QEvent::MouseButtonPress) return;
    downAt_[button] = scenePos;
    send(QEvent::GraphicsSceneMousePress, scenePos, button, buttons);
    // The second press of a double click is also a double click, as Qt's
    // own windows report it; a third starts over.
    const auto* hints = QGuiApplication::styleHints();
    const bool twice =
        lastButton_ == button &&
        time - lastPressTime_ <= static_cast<std::uint32_t>(hints->mouseDoubleClickInterval()) &&
        (scenePos - lastPressAt_).manhattanLength() <= hints->startDragDistance();
    if (twice) {
        send(QEvent::GraphicsSceneMouseDoubleClick, scenePos, button, buttons);
        lastButton_ = Qt::NoButton;
    } else {
        lastButton_ = button;
        lastPressTime_ = time;
        lastPressAt_ = scenePos;
    }
}

void ViewScene::send(QEvent::Type type, QPointF scenePos, Qt::MouseButton button,
                     Qt::MouseButtons buttons) {
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(scenePos);
    event.setScreenPos(scenePos.toPoint());
    event.setLastScenePos(lastAt_);
    event.setLastScreenPos(lastAt_.toPoint());
    for (const auto& [b, at] : downAt_) {
        event.setButtonDownScenePos(b, at);
        event.setButtonDownScreenPos(b, at.toPoint());
    }
    event.setButton(button);
    event.setButtons(buttons);
    event.setAccepted(false);
    QApplication::sendEvent(&scene_, &event);
    lastAt_ = scenePos;
}

void ViewScene::keyboardFocus(bool focused) {
    QEvent change(focused ? QEvent::WindowActivate : QEvent::WindowDeactivate);
    QApplication::sendEvent(&scene_, &change);
    if (focused && proxy_) scene_.setFocusItem(proxy_, Qt::ActiveWindowFocusReason);
}

void ViewScene::key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                    const QString& text) {
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(&scene_, &event);
}

}  // namespace tamsel::qt
