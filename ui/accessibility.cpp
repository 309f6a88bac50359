// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/accessibility.h"

#include "ui/fields.h"
#include "ui/up_down_control.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

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

// Qt's own interface for a line edit, with one difference: its text attributes cover the
// whole text as one run. Qt 6.4 reports a run of length zero at every offset, and Orca,
// joining such runs, read each field one character short ("10" for 100, nothing for "5").
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit *edit)
        : QAccessibleWidget(edit, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return edit()->text();
        return QAccessibleWidget::text(type); // the name: the buddy label's text
    }
    void setText(QAccessible::Text type, const QString &text) override
    {
        if (type == QAccessible::Value)
            edit()->setText(text);
        else
            QAccessibleWidget::setText(type, text);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        Q_UNUSED(offset);
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    QString text(int startOffset, int endOffset) const override
    {
        return startOffset < endOffset ? edit()->text().mid(startOffset, endOffset - startOffset)
                                       : QString();
    }
    int characterCount() const override { return int(edit()->text().size()); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QRect characterRect(int offset) const override
    {
        // Where the text starts, advanced by what comes before the offset; Qt keeps the
        // exact scroll position to itself.
        const QRect contents = edit()->contentsRect().marginsRemoved(edit()->textMargins());
        const QFontMetrics metrics = edit()->fontMetrics();
        const QString shown = edit()->text();
        const int x = contents.x() + 2 + metrics.horizontalAdvance(shown.left(offset));
        const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
        const QRect local(x, contents.y() + (contents.height() - metrics.height()) / 2, width,
            metrics.height());
        return QRect(edit()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *startOffset = edit()->selectionStart();
            *endOffset = edit()->selectionEnd();
        }
    }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index == 0)
            edit()->setSelection(startOffset, endOffset - startOffset);
    }
    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        edit()->setCursorPosition(endIndex);
        edit()->setCursorPosition(startIndex);
    }

    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, {});
    }
    void insertText(int offset, const QString &text) override
    {
        replaceText(offset, offset, text);
    }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        edit()->setText(edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }
};

// The rate field is stepped by Up and Down like a spin box: its value is the number it shows,
// so that a screen reader speaks each step while the field has focus.
class RateFieldAccessible : public LineEditAccessible, public QAccessibleValueInterface
{
public:
    using LineEditAccessible::LineEditAccessible;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return LineEditAccessible::interface_cast(type);
    }

    QVariant currentValue() const override
    {
        bool isNumber = false;
        const int value = text(QAccessible::Value).toInt(&isNumber);
        return isNumber ? QVariant(value) : QVariant();
    }
    void setCurrentValue(const QVariant &) override { } // the spinner beside it takes values
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(RateField::staticMetaObject.className())
        && object->isWidgetType())
        return new RateFieldAccessible(static_cast<QLineEdit *>(object));
    // Every line edit, the program's fields and the currency box's editor alike.
    if (className == QLatin1String("QLineEdit") && object->isWidgetType())
        return new LineEditAccessible(static_cast<QLineEdit *>(object));
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
