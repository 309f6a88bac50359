// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/line_edit_accessible.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace kavro {

namespace {

// Qt's own interface for a line edit, with one difference: its text attributes cover the
// whole text as one run. `widget` is the line edit or the spin box around it.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    LineEditAccessible(QWidget *widget, QLineEdit *edit, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
        , m_edit(edit)
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
        const QRect local(
            x, contents.y() + (contents.height() - metrics.height()) / 2, width, metrics.height());
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
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        edit()->setText(edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit *edit() const { return m_edit; }

    QLineEdit *m_edit;
};

// A spin box reads and sets its value through its properties, as Qt's own interface does.
class SpinBoxAccessible : public LineEditAccessible, public QAccessibleValueInterface
{
public:
    explicit SpinBoxAccessible(QAbstractSpinBox *spinBox)
        : LineEditAccessible(spinBox, spinBox->findChild<QLineEdit *>(), QAccessible::SpinBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return LineEditAccessible::interface_cast(type);
    }

    QVariant currentValue() const override { return object()->property("value"); }
    void setCurrentValue(const QVariant &value) override { object()->setProperty("value", value); }
    QVariant maximumValue() const override { return object()->property("maximum"); }
    QVariant minimumValue() const override { return object()->property("minimum"); }
    QVariant minimumStepSize() const override { return object()->property("stepSize"); }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (!object->isWidgetType())
        return nullptr;
    // Every line edit, the program's fields and the currency box's editor alike.
    if (className == QLatin1String("QLineEdit")) {
        auto *edit = static_cast<QLineEdit *>(object);
        return new LineEditAccessible(edit, edit, QAccessible::EditableText);
    }
    if (className == QLatin1String("QAbstractSpinBox"))
        return new SpinBoxAccessible(static_cast<QAbstractSpinBox *>(object));
    return nullptr;
}

} // namespace

void fixLineEditAccessibility()
{
    QAccessible::installFactory(accessibleFactory); // a second call adds nothing
}

} // namespace kavro
