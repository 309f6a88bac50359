#include "ui/up_down_control.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleOptionSpinBox>
#include <QStylePainter>

#include <algorithm>

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

UpDownControl::UpDownControl(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void UpDownControl::setBuddy(QLineEdit *buddy)
{
    if (m_buddy)
        disconnect(m_buddy, nullptr, this, nullptr);
    m_buddy = buddy;
    // The arrows grey out at the ends of the range, which the buddy's text decides.
    if (m_buddy)
        connect(m_buddy, &QLineEdit::textChanged, this, qOverload<>(&QWidget::update));
    update();
}

void UpDownControl::setRange(const SpinnerRange &range)
{
    m_range = range;
    m_value = std::clamp(m_value, m_range.minimum, m_range.maximum);
    update();
}

int UpDownControl::basis() const
{
    return steppedRate(m_buddy ? m_buddy->text() : QString(), m_value, 0, m_range);
}

void UpDownControl::stepBy(int steps)
{
    writeValue(steppedRate(m_buddy ? m_buddy->text() : QString(), m_value, steps, m_range));
}

void UpDownControl::setValueFromUser(int value)
{
    writeValue(std::clamp(value, m_range.minimum, m_range.maximum));
}

void UpDownControl::writeValue(int value)
{
    m_value = value;
    if (m_buddy)
        m_buddy->setText(QString::number(value));
    update();
}

QSize UpDownControl::sizeHint() const
{
    return {16, 25};
}

void UpDownControl::initStyleOption(QStyleOptionSpinBox *option) const
{
    option->initFrom(this);
    option->subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option->buttonSymbols = QAbstractSpinBox::UpDownArrows;
    option->frame = false;
    const int from = basis();
    option->stepEnabled = {};
    if (isEnabled() && from < m_range.maximum)
        option->stepEnabled |= QAbstractSpinBox::StepUpEnabled;
    if (isEnabled() && from > m_range.minimum)
        option->stepEnabled |= QAbstractSpinBox::StepDownEnabled;
    option->activeSubControls = m_pressed;
    if (m_pressed != QStyle::SC_None)
        option->state |= QStyle::State_Sunken;
}

QStyle::SubControl UpDownControl::arrowAt(QPoint position) const
{
    if (!rect().contains(position))
        return QStyle::SC_None;
    return position.y() < height() / 2 ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown;
}

void UpDownControl::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_SpinBox, option);
}

void UpDownControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pointer = event->position().toPoint();
    m_pressed = arrowAt(m_pointer);
    if (m_pressed == QStyle::SC_None)
        return;
    stepBy(m_pressed == QStyle::SC_SpinBoxUp ? 1 : -1);
    m_repeat.start(
        style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this), this);
}

void UpDownControl::mouseMoveEvent(QMouseEvent *event)
{
    m_pointer = event->position().toPoint();
    QWidget::mouseMoveEvent(event);
}

void UpDownControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_repeat.stop();
    m_pressed = QStyle::SC_None;
    update();
}

void UpDownControl::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        stepBy(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    QWidget::keyPressEvent(event);
}

void UpDownControl::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_repeat.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    // Repeats only while the pointer stays on the arrow that was pressed.
    if (arrowAt(m_pointer) == m_pressed)
        stepBy(m_pressed == QStyle::SC_SpinBoxUp ? 1 : -1);
    m_repeat.start(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this), this);
}

void UpDownControl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_repeat.stop();
        m_pressed = QStyle::SC_None;
    }
    QWidget::changeEvent(event);
}

} // namespace kavro
