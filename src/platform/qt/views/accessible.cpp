#include "platform/qt/views/accessible.h"

#include <QAccessibleWidget>
#include <QMetaObject>
#include <QWidget>

namespace tamsel::qt {

namespace {

constexpr const char* kRoleProperty = "tamselAccessibleRole";

class ValueAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    ValueAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Value) return QAccessibleWidget::text(t);
        const QVariant shown = widget()->property("valueText");
        return shown.isValid() ? shown.toString() : currentValue().toString();
    }

    QVariant currentValue() const override { return widget()->property("value"); }
    QVariant maximumValue() const override { return widget()->property("maximum"); }
    QVariant minimumValue() const override { return widget()->property("minimum"); }
    QVariant minimumStepSize() const override { return 1; }
    void setCurrentValue(const QVariant& value) override {
        // As the user would: the window hears of it.
        const int steps = value.toInt() - currentValue().toInt();
        QMetaObject::invokeMethod(widget(), "stepBy", Q_ARG(int, steps));
    }
};

QAccessibleInterface* valueFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    const QVariant role = widget->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    return new ValueAccessible(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void describe(QWidget* widget, const QString& name, const QString& description) {
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

void chainTabOrder(const std::vector<QWidget*>& widgets) {
    QWidget* before = nullptr;
    for (QWidget* w : widgets) {
        if (before) QWidget::setTabOrder(before, w);
        before = w;
    }
}

void exposeValue(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(valueFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void announceValue(QWidget* widget) {
    QAccessibleValueChangeEvent event(widget, widget->property("value"));
    QAccessible::updateAccessibility(&event);
}

}  // namespace tamsel::qt
