#include "platform/qt/views/qt_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStyleHints>
#include <QTimer>
#include <QVariant>
#include <algorithm>
#include <cmath>

#include "platform/qt/geometry.h"
#include "platform/qt/views/bar_chart.h"
#include "platform/qt/views/overlay_route.h"

namespace tamsel::qt {

QColor toQColor(const Color& c) {
    QColor color;
    color.setRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                  static_cast<float>(c.blue), static_cast<float>(c.alpha));
    return color;
}

// ---- ViewWidget -------------------------------------------------------------------

ViewWidget::ViewWidget(QWidget* parent) : QWidget(parent) {}

void ViewWidget::setBackground(const QColor& color) {
    if (color == background_) return;
    background_ = color;
    update();
}

void ViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Source, not SourceOver: the alpha must replace what is there.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), background_);
}

namespace {
int buttonNumber(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return 0;
        case Qt::RightButton: return 1;
        case Qt::MiddleButton: return 2;
        default: return 3;
    }
}
}  // namespace

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    // A press of the same button soon after a double click is the third
    // click of a run; another button starts a new run.
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const bool inRun = event->button() == lastButton_ && nowMs - lastPressMs_ <= interval;
    clickCount_ = (inRun && clickCount_ >= 2) ? clickCount_ + 1 : 1;
    lastPressMs_ = nowMs;
    lastButton_ = event->button();
    event->accept();
}

void ViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    clickCount_ = 2;
    lastPressMs_ = QDateTime::currentMSecsSinceEpoch();
    lastButton_ = event->button();
    event->accept();
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    // A copy: the handler may close the window, which drops onMouseUp.
    if (auto handler = onMouseUp) handler(MouseEvent{clickCount_, buttonNumber(event->button())});
    event->accept();
}

void ViewWidget::emitAction(std::string_view action, std::string_view sender) {
    if (owner_) owner_->emitAction(action, sender);
}

// ---- QtControl ----------------------------------------------------------------------

QtControl::QtControl(QWidget* widget, nib::Kind kind) : widget_(widget), kind_(kind) {
    if (widget) {
        hidden_ = widget->isHidden();
        enabled_ = widget->isEnabled();
        QVariant t = widget->property("text");
        if (t.isValid()) text_ = t.toString().toStdString();
    }
}

std::string QtControl::text() const {
    if (widget_) {
        QVariant t = widget_->property("text");
        // Passwords are compared as texts: canonically equal entries (a
        // precomposed or a combined accent) must give the same bytes.
        if (t.isValid() && kind_ == nib::Kind::SecureField)
            return t.toString().normalized(QString::NormalizationForm_C).toStdString();
        if (t.isValid()) return t.toString().toStdString();
    }
    return text_;
}

void QtControl::setText(const std::string& text) {
    text_ = text;
    if (widget_) widget_->setProperty("text", QString::fromStdString(text));
}

void QtControl::setTextColor(const Color& color) {
    color_ = color;
    if (!widget_) return;
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::WindowText, toQColor(color));
    palette.setColor(QPalette::ButtonText, toQColor(color));
    palette.setColor(QPalette::Text, toQColor(color));
    widget_->setPalette(palette);
}

bool QtControl::isHidden() const {
    return widget_ ? widget_->isHidden() : hidden_;
}

void QtControl::setHidden(bool hidden) {
    hidden_ = hidden;
    if (widget_) widget_->setHidden(hidden);
}

bool QtControl::isEnabled() const {
    return widget_ ? widget_->isEnabled() : enabled_;
}

void QtControl::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (widget_) widget_->setEnabled(enabled);
}

double QtControl::doubleValue() const {
    if (kind_ == nib::Kind::Label) return std::strtod(text().c_str(), nullptr);
    if (widget_) {
        QVariant v = widget_->property("value");
        if (v.isValid()) return v.toDouble();
    }
    return value_;
}

void QtControl::setDoubleValue(double value) {
    if (kind_ == nib::Kind::Label) {
        setText(std::to_string(static_cast<long long>(value)));
        return;
    }
    value_ = value;
    if (!widget_) return;
    // Integer widgets (steppers, progress bars) keep their own range.
    QVariant current = widget_->property("value");
    if (current.typeId() == QMetaType::Int) {
        // Clamped first: a huge value cast to int would wrap to the minimum.
        const double whole = std::isnan(value) ? 0.0 : std::round(value);
        widget_->setProperty("value",
                             static_cast<int>(std::clamp(whole, -2147483648.0, 2147483647.0)));
    } else {
        widget_->setProperty("value", value);
    }
    value_ = doubleValue();
}

int QtControl::state() const {
    if (auto* b = qobject_cast<QAbstractButton*>(widget_.data())) return b->isChecked() ? 1 : 0;
    return state_;
}

void QtControl::setState(int state) {
    state_ = state;
    if (auto* b = qobject_cast<QAbstractButton*>(widget_.data())) {
        // A radio button in an exclusive group cannot be unchecked directly.
        const bool exclusive = b->autoExclusive();
        b->setAutoExclusive(false);
        b->setChecked(state != 0);
        b->setAutoExclusive(exclusive);
    }
}

std::vector<std::string> QtControl::items() const {
    if (auto* c = qobject_cast<QComboBox*>(widget_.data())) {
        std::vector<std::string> titles;
        for (int i = 0; i < c->count(); ++i) titles.push_back(c->itemText(i).toStdString());
        return titles;
    }
    return items_;
}

void QtControl::setItems(const std::vector<std::string>& titles) {
    items_ = titles;
    selected_ = titles.empty() ? -1 : 0;
    if (auto* c = qobject_cast<QComboBox*>(widget_.data())) {
        c->clear();
        for (const auto& t : titles) c->addItem(QString::fromStdString(t));
    }
}

int QtControl::selectedIndex() const {
    if (auto* c = qobject_cast<QComboBox*>(widget_.data())) return c->currentIndex();
    return selected_;
}

void QtControl::selectItem(int index) {
    if (index < 0 || index >= static_cast<int>(items().size())) return;
    selected_ = index;
    if (auto* c = qobject_cast<QComboBox*>(widget_.data())) c->setCurrentIndex(index);
}

void QtControl::setBars(const std::vector<ChartBar>& bars) {
    bars_ = bars;
    if (auto* chart = qobject_cast<BarChart*>(widget_.data())) chart->setBars(bars);
}

// ---- QtWindow -----------------------------------------------------------------------

QtWindow::QtWindow(ViewWidget* view) : view_(view) {
    if (view_) {
        title_ = view_->windowTitle().toStdString();
        view_->owner_ = this;
        // The view's own size until the controller places it.
        frame_ = fromQt(QRectF(view_->geometry()), primaryScreenHeight());
    }
}

namespace {
// The windows that follow the overlay route, told when it changes.
std::vector<QtWindow*>& overlayWindows() {
    static std::vector<QtWindow*> list;
    return list;
}
}  // namespace

void QtWindow::presentAsOverlay(OverlayKind kind) {
    static bool observing = false;
    if (!observing) onOverlayRouteChanged(&QtWindow::routeChanged);
    observing = true;
    overlayKind_ = kind;
    if (!overlay_) overlayWindows().push_back(this);
    overlay_ = true;
    followRoute();
}

void QtWindow::routeChanged() {
    // A copy: the list may change while the windows follow.
    const auto list = overlayWindows();
    for (QtWindow* w : list) w->followRoute();
}

void QtWindow::followRoute() {
    if (!overlay_ || !view_) return;
    const bool layered = overlayRoute() == OverlayRoute::LayerShell;
    if (layered && !presenter_) {
        presenter_ = makeOverlayPresenter(*view_, overlayKind_);
        if (!presenter_) return;
        applyFrame();
        if (shown_) presenter_->show();
    } else if (!layered && presenter_) {
        // Back to a Qt window, where it was and as visible as it was.
        presenter_.reset();
        // What the controller asked for while the presenter showed it.
        if (levelSet_) setLevel(level_);
        if (ignoresMouse_) setIgnoresMouseEvents(true);
        applyFrame();
        if (shown_) {
            view_->show();
            view_->raise();
        }
    }
}

QtWindow::~QtWindow() {
    std::erase(overlayWindows(), this);
    // The presenter lets go of the view before anything else does.
    presenter_.reset();
    // Outlets point into the view; drop them first.
    outlets_.clear();
    if (view_) {
        // The handlers reach into controllers that may be gone before the
        // view is deleted.
        view_->owner_ = nullptr;
        view_->onMouseUp = nullptr;
        view_->hide();
        view_->deleteLater();
    }
}

void QtWindow::addOutlet(std::string_view name, QWidget* widget, nib::Kind kind) {
    outlets_.insert_or_assign(std::string(name), std::make_unique<QtControl>(widget, kind));
}

void QtWindow::emitAction(std::string_view action, std::string_view sender) {
    // A copy: the handler may replace or drop itself.
    if (auto handler = onAction_) handler(action, sender);
}

Control& QtWindow::outlet(std::string_view name) {
    auto it = outlets_.find(name);
    if (it == outlets_.end()) {
        // A definition without a listed outlet is a programming error; keep
        // running on a detached control rather than crash a user's session.
        qWarning("tamsel: window has no outlet %.*s", int(name.size()), name.data());
        it = outlets_
                 .emplace(std::string(name), std::make_unique<QtControl>(nullptr, nib::Kind::Label))
                 .first;
    }
    return *it->second;
}

void QtWindow::setMouseUpHandler(std::function<void(const MouseEvent&)> handler) {
    if (view_) view_->onMouseUp = std::move(handler);
}

void QtWindow::setTitle(const std::string& title) {
    title_ = title;
    if (view_) view_->setWindowTitle(QString::fromStdString(title));
}

Rect QtWindow::frame() const {
    // A presenter may size the view to its output, not to the frame.
    if (!view_ || presenter_) return frame_;
    return fromQt(QRectF(view_->geometry()), primaryScreenHeight());
}

void QtWindow::setFrame(const Rect& frame, bool display) {
    frame_ = frame;
    if (!view_) return;
    applyFrame();
    if (display && !presenter_) view_->update();
}

void QtWindow::applyFrame() {
    const QRectF r = toQt(frame_, primaryScreenHeight());
    const QRect rounded(static_cast<int>(std::lround(r.x())), static_cast<int>(std::lround(r.y())),
                        static_cast<int>(std::lround(r.width())),
                        static_cast<int>(std::lround(r.height())));
    if (presenter_)
        presenter_->place(rounded);
    else
        view_->setGeometry(rounded);
}

void QtWindow::setLevel(WindowLevel level) {
    level_ = level;
    levelSet_ = true;
    // A presenter's view is no window: its flags wait for the Qt route.
    if (!view_ || presenter_) return;
    const bool onTop = level != WindowLevel::Normal;
    // Changing flags of a shown window re-creates it; only set them before.
    if (!view_->isVisible())
        view_->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    else if (onTop)
        view_->raise();
}

void QtWindow::setBackgroundColor(const Color& color) {
    background_ = color;
    if (view_) view_->setBackground(toQColor(color));
}

void QtWindow::setIgnoresMouseEvents(bool ignores) {
    ignoresMouse_ = ignores;
    if (!view_ || presenter_) return;
    if (!view_->isVisible()) view_->setWindowFlag(Qt::WindowTransparentForInput, ignores);
    view_->setAttribute(Qt::WA_TransparentForMouseEvents, ignores);
}

void QtWindow::orderFront() {
    if (!view_) return;
    shown_ = true;
    if (presenter_) return presenter_->show();
    view_->show();
    view_->raise();
}

void QtWindow::makeKeyAndOrderFront() {
    if (!view_) return;
    shown_ = true;
    // A break's surface holds the keyboard for as long as it is shown.
    if (presenter_) return presenter_->show();
    view_->show();
    view_->raise();
    view_->activateWindow();
}

void QtWindow::close() {
    if (!view_) return;
    shown_ = false;
    std::erase(overlayWindows(), this);
    overlay_ = false;
    if (presenter_) {
        // Later, as the view: this may run inside the presenter's own input
        // handling (the snooze button).
        // The call holds it: it goes then, or with the call if that never runs.
        QTimer::singleShot(0, [gone = std::shared_ptr<OverlayPresenter>(std::move(presenter_))] {});
    }
    // Later: this may run inside one of the view's own signal handlers.
    view_->owner_ = nullptr;
    view_->onMouseUp = nullptr;
    view_->hide();
    view_->deleteLater();
    view_ = nullptr;
}

bool QtWindow::isVisible() const {
    if (presenter_) return presenter_->isShown();
    return view_ && view_->isVisible();
}

}  // namespace tamsel::qt
