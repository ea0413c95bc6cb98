#pragma once

#include <QWidget>

class QToolButton;

namespace tamsel::qt {

// A pair of − / + buttons over a whole number that keeps itself inside its
// range: the Qt face of a stepper outlet. It shows no number of its own; the
// window puts a label beside it. stepped() reports changes the user made
// (buttons, arrow and page keys, the wheel), not those set from code.
class Stepper : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged USER true)
    Q_PROPERTY(int minimum READ minimum)
    Q_PROPERTY(int maximum READ maximum)

public:
    Stepper(int minimum, int maximum, QWidget* parent = nullptr);

    int value() const { return value_; }
    void setValue(int value);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // As the user would: moves by steps and reports it.
    Q_INVOKABLE void stepBy(int steps);

signals:
    void valueChanged(int value);
    void stepped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateButtons();

    int minimum_;
    int maximum_;
    int value_;
    int wheelRemainder_ = 0;
    QToolButton* down_;
    QToolButton* up_;
};

}  // namespace tamsel::qt
