// The break window: covers one screen with translucent black and shows what
// to do, how much of the break has passed, and the snooze button.

#include <QBasicTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <cmath>
#include <memory>
#include <numbers>

#include "platform/qt/desktop/desktop_picture.h"
#include "platform/qt/text.h"
#include "platform/qt/views/accessible.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {

namespace {

// A ring of dots with one lit, moving on once a second: something calm to
// rest the eyes on. One small repaint a second, and none while hidden.
class BreakPulse : public QWidget {
public:
    explicit BreakPulse(QWidget* parent) : QWidget(parent) {
        setFixedSize(64, 64);
        setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void showEvent(QShowEvent*) override { timer_.start(kStepMs, this); }
    void hideEvent(QHideEvent*) override { timer_.stop(); }

    void timerEvent(QTimerEvent* event) override {
        if (event->timerId() != timer_.timerId()) return QWidget::timerEvent(event);
        step_ = (step_ + 1) % kDots;
        update();
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const QPointF centre = QRectF(rect()).center();
        const qreal radius = width() / 2.0 - kDotRadius - 1;
        for (int i = 0; i < kDots; ++i) {
            // The lit dot and a short fading trail behind it.
            const int behind = (step_ - i + kDots) % kDots;
            const int alpha = behind == 0 ? 235 : behind == 1 ? 150 : behind == 2 ? 100 : 55;
            const qreal angle = 2 * std::numbers::pi * i / kDots - std::numbers::pi / 2;
            painter.setBrush(QColor(255, 255, 255, alpha));
            painter.drawEllipse(
                centre + QPointF(radius * std::cos(angle), radius * std::sin(angle)), kDotRadius,
                kDotRadius);
        }
    }

private:
    static constexpr int kDots = 12;
    static constexpr int kStepMs = 1000;
    static constexpr qreal kDotRadius = 3.5;
    QBasicTimer timer_;
    int step_ = 0;
};

class BreakView : public ViewWidget {
public:
    BreakView() {
        setWindowTitle(translated(nib::kLockScreenTitle));
        // X11BypassWindowManagerHint: a window manager clamps a window taller
        // than its work area, and this one reaches above the screen.
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                       Qt::X11BypassWindowManagerHint);
        setAttribute(Qt::WA_TranslucentBackground);
        setBackground(QColor(0, 0, 0, 26));
        // The window itself takes the keys when it is activated, so a space
        // typed as the break appears does not press the snooze button; Tab
        // reaches the button.
        setFocusPolicy(Qt::StrongFocus);

        text = new QLabel(
            QStringLiteral("<div style='font-size: 34px;'>%1</div>"
                           "<div style='font-size: 20px; margin-top: 12px;'>%2</div>")
                .arg(QCoreApplication::translate("Tamsel", "Time for a break").toHtmlEscaped(),
                     QCoreApplication::translate("Tamsel",
                                                 "Look into the distance, stretch, breathe.")
                         .toHtmlEscaped()),
            this);
        text->setTextFormat(Qt::RichText);
        text->setAlignment(Qt::AlignCenter);
        text->setStyleSheet(QStringLiteral("color: rgba(255, 255, 255, 235);"));

        pulse = new BreakPulse(this);

        progress = new QProgressBar(this);
        progress->setRange(0, 100);
        progress->setValue(0);
        progress->setTextVisible(false);
        progress->setFixedSize(360, 8);
        // Dark groove, light bar: legible over any desktop in see-through mode.
        progress->setStyleSheet(QStringLiteral(
            "QProgressBar { background: rgba(0, 0, 0, 110); border: 1px solid rgba(255, 255, 255, "
            "110); border-radius: 4px; }"
            "QProgressBar::chunk { background: rgba(255, 255, 255, 225); border-radius: 3px; }"));

        snooze = new QPushButton(translated(nib::kSnoozeTitle), this);
        snooze->setCursor(Qt::PointingHandCursor);
        snooze->setStyleSheet(QStringLiteral(
            "QPushButton { color: white; background: rgba(255, 255, 255, 36);"
            " border: 1px solid rgba(255, 255, 255, 120); border-radius: 6px; padding: 8px 20px;"
            " font-size: 15px; }"
            "QPushButton:hover { background: rgba(255, 255, 255, 64); }"
            "QPushButton:pressed { background: rgba(255, 255, 255, 96); }"
            "QPushButton:focus { border: 2px solid rgba(255, 255, 255, 230); }"
            "QPushButton:disabled { color: rgba(255, 255, 255, 120);"
            " border-color: rgba(255, 255, 255, 50); background: rgba(255, 255, 255, 16); }"));
        // Reached with Tab, Space or Return presses it.
        snooze->setAutoDefault(true);
        snooze->setAccessibleDescription(
            A11y::tr("Ends this break now; the next one comes in a minute."));
        describe(progress, A11y::tr("Break progress"),
                 A11y::tr("How much of the break has passed."));
        QObject::connect(snooze, &QPushButton::clicked, this,
                         [this] { emitAction("closeButton:", "closeBtn"); });

        auto* layout = new QVBoxLayout(this);
        layout->setSpacing(0);
        layout->addStretch(1);
        layout->addWidget(text, 0, Qt::AlignHCenter);
        layout->addSpacing(36);
        layout->addWidget(pulse, 0, Qt::AlignHCenter);
        layout->addSpacing(36);
        layout->addWidget(progress, 0, Qt::AlignHCenter);
        layout->addSpacing(28);
        layout->addWidget(snooze, 0, Qt::AlignHCenter);
        layout->addStretch(1);
        // Clicks on the text (a rich-text label takes them), the ring and the
        // progress belong to the window: a double click there switches modes.
        for (QWidget* w : {static_cast<QWidget*>(text), static_cast<QWidget*>(pulse),
                           static_cast<QWidget*>(progress)})
            w->setAttribute(Qt::WA_TransparentForMouseEvents);
        // Hidden controls keep their place: switching modes moves nothing.
        for (QWidget* w : {static_cast<QWidget*>(text), static_cast<QWidget*>(pulse),
                           static_cast<QWidget*>(snooze)}) {
            QSizePolicy policy = w->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            w->setSizePolicy(policy);
        }
        layout_ = layout;
        setFocus(Qt::OtherFocusReason);
    }

    QLabel* text = nullptr;
    BreakPulse* pulse = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* snooze = nullptr;

protected:
    // Without a compositor the translucent black would show as solid black:
    // the desktop as it was when the break began is painted under it.
    void showEvent(QShowEvent* event) override {
        picture_ = DesktopPicture::take();
        ViewWidget::showEvent(event);
    }
    void hideEvent(QHideEvent* event) override {
        picture_.reset();
        ViewWidget::hideEvent(event);
    }
    void paintEvent(QPaintEvent* event) override {
        if (!picture_) return ViewWidget::paintEvent(event);
        QPainter painter(this);
        picture_->paint(painter, geometry());
        painter.fillRect(rect(), background());
    }

    void moveEvent(QMoveEvent* event) override {
        ViewWidget::moveEvent(event);
        centreOnScreen();
    }
    void resizeEvent(QResizeEvent* event) override {
        ViewWidget::resizeEvent(event);
        centreOnScreen();
    }

private:
    // The window reaches above its screen; centre the content on the part
    // that is on a screen (the one it covers most).
    void centreOnScreen() {
        const QRect g = geometry();
        QRect shown;
        for (const QScreen* s : QGuiApplication::screens()) {
            const QRect part = g & s->geometry();
            if (part.width() * qint64(part.height()) > shown.width() * qint64(shown.height()))
                shown = part;
        }
        if (shown.isEmpty()) shown = g;
        layout_->setContentsMargins(shown.left() - g.left(), shown.top() - g.top(),
                                    g.right() - shown.right(), g.bottom() - shown.bottom());
    }

    QVBoxLayout* layout_ = nullptr;
    std::shared_ptr<const DesktopPicture> picture_;
};

}  // namespace

std::unique_ptr<QtWindow> makeBreakView() {
    auto* view = new BreakView;
    auto window = std::make_unique<QtWindow>(view);
    window->addOutlet("lblTSText", view->text, nib::Kind::Label);
    window->addOutlet("progressBar", view->pulse, nib::Kind::Progress);
    window->addOutlet("lockProgress", view->progress, nib::Kind::Progress);
    window->addOutlet("closeBtn", view->snooze, nib::Kind::Button);
    return window;
}

}  // namespace tamsel::qt
