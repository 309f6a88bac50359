#include "ui/accessibility.h"

#include "ui/up_down_control.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace kavro {

namespace {

// Presents the control as a spin box whose value is the rate it steps from, with
// increase and decrease actions, so a screen reader can read and change the rate.
class UpDownAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit UpDownAccessible(UpDownControl *control)
        : QAccessibleWidget(control, QAccessible::SpinBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return control()->basis(); }
    void setCurrentValue(const QVariant &value) override
    {
        control()->setValueFromUser(value.toInt());
    }
    QVariant maximumValue() const override { return control()->range().maximum; }
    QVariant minimumValue() const override { return control()->range().minimum; }
    QVariant minimumStepSize() const override { return control()->range().increment; }

    QStringList actionNames() const override { return {increaseAction(), decreaseAction()}; }
    void doAction(const QString &actionName) override
    {
        if (actionName == increaseAction())
            control()->stepBy(1);
        else if (actionName == decreaseAction())
            control()->stepBy(-1);
    }

private:
    UpDownControl *control() const { return static_cast<UpDownControl *>(widget()); }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(UpDownControl::staticMetaObject.className())
        && object->isWidgetType())
        return new UpDownAccessible(static_cast<UpDownControl *>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(accessibleFactory); // a second call adds nothing
}

} // namespace kavro
