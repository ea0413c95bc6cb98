#pragma once

// The Qt side of a window and its outlets. A view builds its widget tree,
// registers each outlet's widget by name, and reports the user's actions;
// QtWindow turns the controllers' calls into widget calls.

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "common/nibs.h"
#include "common/platform.h"
#include "platform/qt/views/overlay_presenter.h"

namespace tamsel::qt {

class QtWindow;

// Base of every top-level view: paints its background colour itself (with
// alpha, so controls stay opaque) and reports mouse releases with a click
// count the way the controllers expect.
class ViewWidget : public QWidget {
    Q_OBJECT
public:
    explicit ViewWidget(QWidget* parent = nullptr);
    void setBackground(const QColor& color);
    QColor background() const { return background_; }

    std::function<void(const MouseEvent&)> onMouseUp;
    // For the view's controls: reports an action to the window that owns this
    // view, or does nothing once that window has let go of it (closed, or
    // destroyed while the view waits for deleteLater).
    void emitAction(std::string_view action, std::string_view sender = "");

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class QtWindow;
    QtWindow* owner_ = nullptr;
    QColor background_{255, 255, 255, 255};
    int clickCount_ = 0;
    qint64 lastPressMs_ = 0;
    Qt::MouseButton lastButton_ = Qt::NoButton;
};

// One outlet. Reads and writes the widget while it exists and keeps every
// value itself, so a controller may still touch outlets of a closed window.
class QtControl : public Control {
public:
    QtControl(QWidget* widget, nib::Kind kind);
    std::string text() const override;
    void setText(const std::string& text) override;
    Color textColor() const override { return color_; }
    void setTextColor(const Color& color) override;
    bool isHidden() const override;
    void setHidden(bool hidden) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    double doubleValue() const override;
    void setDoubleValue(double value) override;
    int state() const override;
    void setState(int state) override;
    std::vector<std::string> items() const override;
    void setItems(const std::vector<std::string>& titles) override;
    int selectedIndex() const override;
    void selectItem(int index) override;
    std::vector<ChartBar> bars() const override { return bars_; }
    void setBars(const std::vector<ChartBar>& bars) override;

    QWidget* widget() const { return widget_; }

private:
    QPointer<QWidget> widget_;
    nib::Kind kind_;
    std::string text_;
    Color color_{0, 0, 0, 1};
    bool hidden_ = false;
    bool enabled_ = true;
    double value_ = 0;
    int state_ = 0;
    std::vector<std::string> items_;
    int selected_ = -1;
    std::vector<ChartBar> bars_;
};

class QtWindow : public Window {
public:
    // Takes ownership of the view; every outlet its definition lists must be
    // registered before the controller sees the window.
    explicit QtWindow(ViewWidget* view);
    ~QtWindow() override;

    // The indicator and the break windows: shown by a presenter of their
    // own where the desktop's overlay route has one, else as Qt windows.
    void presentAsOverlay(OverlayKind kind);

    void addOutlet(std::string_view name, QWidget* widget, nib::Kind kind);
    // Called by the view when the user works a control.
    void emitAction(std::string_view action, std::string_view sender = "");
    ViewWidget* view() const { return view_; }

    Control& outlet(std::string_view name) override;
    void setActionHandler(ActionHandler handler) override { onAction_ = std::move(handler); }
    void setMouseUpHandler(std::function<void(const MouseEvent&)> handler) override;
    std::string title() const override { return title_; }
    void setTitle(const std::string& title) override;
    Rect frame() const override;
    void setFrame(const Rect& frame, bool display) override;
    void setLevel(WindowLevel level) override;
    void setOpaque(bool opaque) override { opaque_ = opaque; }
    Color backgroundColor() const override { return background_; }
    void setBackgroundColor(const Color& color) override;
    void setIgnoresMouseEvents(bool ignores) override;
    unsigned styleMask() const override { return styleMask_; }
    void setStyleMask(unsigned mask) override { styleMask_ = mask; }
    void orderFront() override;
    void makeKeyAndOrderFront() override;
    void close() override;
    bool isVisible() const override;

    WindowLevel level() const { return level_; }

private:
    // Follows the overlay route: a presenter while one is offered, the Qt
    // window otherwise, the shown state kept across the change.
    void followRoute();
    void applyFrame();
    static void routeChanged();

    QPointer<ViewWidget> view_;
    std::map<std::string, std::unique_ptr<QtControl>, std::less<>> outlets_;
    ActionHandler onAction_;
    std::string title_;
    Rect frame_;
    WindowLevel level_ = WindowLevel::Normal;
    bool opaque_ = true;
    Color background_{1, 1, 1, 1};
    unsigned styleMask_ = StyleMask::Titled | StyleMask::Closable;
    bool ignoresMouse_ = false;
    bool levelSet_ = false;
    bool overlay_ = false;
    OverlayKind overlayKind_ = OverlayKind::Indicator;
    std::unique_ptr<OverlayPresenter> presenter_;
    bool shown_ = false;  // shown by the controller and not closed since
};

QColor toQColor(const Color& c);

}  // namespace tamsel::qt
