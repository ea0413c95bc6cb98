#pragma once

// What screen readers learn about our controls beyond their visible text.

#include <QAccessible>
#include <QCoreApplication>
#include <QString>
#include <vector>

class QWidget;

namespace tamsel::qt {

// The translation context of every accessible name and description:
// A11y::tr("...") is found by lupdate like any other tr().
struct A11y {
    Q_DECLARE_TR_FUNCTIONS(Accessibility)
};

// Sets a control's accessible name and what it does.
void describe(QWidget* widget, const QString& name, const QString& description);

// Tab moves through the widgets in the order given.
void chainTabOrder(const std::vector<QWidget*>& widgets);

// Shows a widget with the int properties value, minimum and maximum to
// assistive technology as a value of the given role; its "valueText"
// property, where set, is what a screen reader reads for the value. A
// widget that can move by steps as the user would (an invokable
// stepBy(int)) also takes new values from it.
void exposeValue(QWidget* widget, QAccessible::Role role);
// Tells assistive technology that such a widget's value changed.
void announceValue(QWidget* widget);

}  // namespace tamsel::qt
