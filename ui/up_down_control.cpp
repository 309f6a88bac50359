// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/up_down_control.h"

#include "ui/fields.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleOptionSpinBox>
#include <QStylePainter>

#include <algorithm>

namespace kavro {

UpDownControl::UpDownControl(QWidget *parent)
    : QWidget(parent)
{
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
        showFromStart(m_buddy, QString::number(value));
    update();
    // Screen readers speak the new rate, whether the arrows or the field has focus.
    QAccessibleValueChangeEvent changed(this, value);
    QAccessible::updateAccessibility(&changed);
    if (m_buddy) {
        QAccessibleValueChangeEvent buddyChanged(m_buddy, value);
        QAccessible::updateAccessibility(&buddyChanged);
    }
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
    // The arrows have no frame of their own to show focus in: the style's focus frame does.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.backgroundColor = palette().color(backgroundRole());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
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
