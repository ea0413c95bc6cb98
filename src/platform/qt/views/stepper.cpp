#include "platform/qt/views/stepper.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/views/accessible.h"

namespace tamsel::qt {

namespace {
constexpr int kPageStep = 10;
}

Stepper::Stepper(int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      value_(minimum),
      down_(new QToolButton(this)),
      up_(new QToolButton(this)) {
    setFocusPolicy(Qt::StrongFocus);
    down_->setText(QString::fromUtf8("\u2212"));
    up_->setText(QStringLiteral("+"));
    describe(down_, A11y::tr("Less"), A11y::tr("Lowers the value by one."));
    describe(up_, A11y::tr("More"), A11y::tr("Raises the value by one."));
    exposeValue(this, QAccessible::SpinBox);
    for (QToolButton* b : {down_, up_}) {
        // Held down, a button keeps stepping, so long ranges stay quick.
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(60);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(26, 24);
    }
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(down_);
    row->addWidget(up_);
    updateButtons();
}

void Stepper::setValue(int value) {
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_) return;
    value_ = value;
    updateButtons();
    emit valueChanged(value_);
    announceValue(this);
}

void Stepper::stepBy(int steps) {
    const int before = value_;
    // Wide enough for any step count without overflow.
    const long long wanted = static_cast<long long>(value_) + steps;
    setValue(static_cast<int>(std::clamp<long long>(wanted, minimum_, maximum_)));
    if (value_ != before) emit stepped();
}

void Stepper::updateButtons() {
    down_->setEnabled(value_ > minimum_);
    up_->setEnabled(value_ < maximum_);
}

void Stepper::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Plus: stepBy(1); break;
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Minus: stepBy(-1); break;
        case Qt::Key_PageUp: stepBy(kPageStep); break;
        case Qt::Key_PageDown: stepBy(-kPageStep); break;
        case Qt::Key_Home: stepBy(minimum_ - value_); break;
        case Qt::Key_End: stepBy(maximum_ - value_); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void Stepper::wheelEvent(QWheelEvent* event) {
    // One step per notch; touchpads send fractions of a notch.
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / 120;
    wheelRemainder_ -= steps * 120;
    if (steps != 0) stepBy(steps);
    event->accept();
}

}  // namespace tamsel::qt
