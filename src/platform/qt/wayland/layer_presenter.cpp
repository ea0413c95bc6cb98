// Shows a view (the indicator or a break window) through a layer surface:
// the view keeps painting itself in a scene of its own (ViewScene), which
// paints into the surface's buffers whenever it changed and takes the
// surface's pointer and keyboard.

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include "platform/qt/views/overlay_presenter.h"
#include "platform/qt/views/qt_window.h"
#include "platform/qt/views/view_scene.h"
#include "platform/qt/wayland/layer_shell.h"

namespace tamsel::qt {

namespace {

// The screen that holds most of the frame, else the primary one.
const QScreen* screenFor(const QRect& frame) {
    const QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestArea = 0;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->geometry() & frame;
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = s;
            bestArea = area;
        }
    }
    return best;
}

class LayerPresenter final : public QObject, public OverlayPresenter {
public:
    LayerPresenter(LayerShell& shell, ViewWidget& view, OverlayKind kind)
        : shell_(shell), view_(&view), kind_(kind), scene_(view) {
        scene_.onChanged = [this] { render(); };
    }

    ~LayerPresenter() override {
        holdKeyboard(this, false);
        // The surface goes first: nothing is painted into it any more.
        surface_.reset();
    }

    void place(const QRect& frame) override {
        spec_ = specFor(frame);
        if (!view_) return;
        // A break's view takes its output's size once the compositor tells it.
        if (kind_ == OverlayKind::Indicator || !surface_ || surface_->size().isEmpty())
            view_->setGeometry(viewRect_);
        else
            view_->setGeometry(QRect(viewRect_.topLeft(), surface_->size()));
        closedByCompositor_ = false;
        if (!shown_) return;
        if (surface_ && !surface_->isClosed() && surface_->spec().outputName == spec_.outputName) {
            surface_->reconfigure(spec_);
            return;
        }
        surface_.reset();
        createSurface();
    }

    void show() override {
        if (!view_) return;
        if (!shown_) {
            shown_ = true;
            scene_.show();
        }
        // Once its output went, a surface comes back only with a new place().
        if (!surface_ && !closedByCompositor_) createSurface();
    }

    bool isShown() const override { return shown_; }

private:
    LayerShell::Spec specFor(const QRect& frame) {
        const QScreen* screen = screenFor(frame);
        const QRect screenRect = screen ? screen->geometry() : frame;
        const LayerShell::Output* output = shell_.outputFor(screenRect);
        LayerShell::Spec spec;
        spec.outputName = output ? output->name : 0;
        if (kind_ == OverlayKind::Break) {
            // The whole output, whatever part of the frame reaches past it;
            // above panels, and nothing else gets the keyboard.
            spec.anchors = Qt::TopEdge | Qt::BottomEdge | Qt::LeftEdge | Qt::RightEdge;
            spec.exclusiveZone = -1;
            spec.keyboard = true;
            viewRect_ = screenRect;
        } else {
            // Measured from the part panels leave free; the compositor keeps
            // it clear of the panels' zones (exclusive zone 0).
            const EdgePlacement p =
                cornerPlacement(frame, screen ? screen->availableGeometry() : frame);
            spec.anchors = p.anchors;
            spec.margins = p.margins;
            spec.size = p.size;
            spec.clickThrough = true;
            viewRect_ = frame;
        }
        return spec;
    }

    void createSurface() {
        surface_ = shell_.createSurface(spec_);
        holdKeyboard(this, surface_ && spec_.keyboard);
        if (!surface_) return;
        surface_->onConfigured = [this](QSize size) {
            if (view_ && kind_ == OverlayKind::Break)
                view_->setGeometry(QRect(viewRect_.topLeft(), size));
            render();
        };
        surface_->onClosed = [this] {
            closedByCompositor_ = true;
            holdKeyboard(this, false);
            // Not inside the surface's own event.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (surface_ && surface_->isClosed()) surface_.reset();
                },
                Qt::QueuedConnection);
        };
        surface_->onBufferFree = [this] { render(); };
        surface_->onPointer = [this](QEvent::Type type, QPointF position, Qt::MouseButton button,
                                     Qt::MouseButtons buttons, std::uint32_t time) {
            scene_.pointer(type, position, button, buttons, time);
        };
        surface_->onKeyboardFocus = [this](bool focused) { scene_.keyboardFocus(focused); };
        surface_->onKey = [this](QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                                 const QString& text) { scene_.key(type, key, modifiers, text); };
    }

    void render() {
        if (!surface_ || surface_->size().isEmpty() || !view_) return;
        const QSizeF target(surface_->size());
        surface_->present([&](QImage& image) {
            QPainter painter(&image);
            scene_.render(painter, target);
        });
    }

    LayerShell& shell_;
    QPointer<ViewWidget> view_;
    OverlayKind kind_;
    ViewScene scene_;
    std::unique_ptr<LayerSurface> surface_;
    LayerShell::Spec spec_;
    QRect viewRect_;
    bool shown_ = false;
    bool closedByCompositor_ = false;
};

}  // namespace

std::unique_ptr<OverlayPresenter> makeLayerPresenter(LayerShell& shell, ViewWidget& view,
                                                     OverlayKind kind) {
    return std::make_unique<LayerPresenter>(shell, view, kind);
}

}  // namespace tamsel::qt
