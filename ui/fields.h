// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "conversion/input_rules.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>

namespace kavro {

// Puts a text into a field with the caret before its first character. QLineEdit::setText
// leaves the caret after the last one and scrolls to it, so that a text longer than the field
// would be shown by its end and read as another number.
void showFromStart(QLineEdit *field, const QString &text);

// A line edit whose context menu shows no shortcuts: every one Qt lists there (Ctrl+Z, Ctrl+A,
// the clipboard keys) is a control character that the program's fields drop. The entries
// themselves work as in any line edit.
class FieldEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::inputMethodQuery;
    using QLineEdit::QLineEdit;

    // QLineEdit (Qt 6.4 to 6.8) tells input methods it takes them whenever it is editable,
    // whatever Qt::WA_InputMethodEnabled says; this one answers from the attribute, so that a
    // field can turn them off, and then drops whatever one commits all the same. It can go
    // once QLineEdit answers from the attribute itself.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};

// The amount and result fields: typed digits and backspace pass, every other typed or
// input-method character is dropped and reported, one signal per character. No input method
// composes in them: a Japanese one in kana mode would turn digits into full-width ones.
class DigitField : public FieldEdit
{
    Q_OBJECT
public:
    explicit DigitField(QWidget *parent = nullptr);

Q_SIGNALS:
    void characterRejected();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};

// The rate field and its spinner, on Qt's spin box: the text is the stored rate as it is,
// number or not, and nothing typed gets in, backspace included. The arrows, Up and Down (Page
// Up and Down: ten steps) and the mouse wheel write the next whole number, counted from the
// number shown; when it shows none, from the spinner's own value. The wheel steps it only while
// it has the focus. No input method composes in it.
class RateField : public QAbstractSpinBox
{
    Q_OBJECT
    // What screen readers read and set, as on any Qt spin box.
    Q_PROPERTY(int value READ value WRITE setValue)
    Q_PROPERTY(int minimum READ minimum)
    Q_PROPERTY(int maximum READ maximum)
    Q_PROPERTY(int stepSize READ stepSize)
public:
    explicit RateField(QWidget *parent = nullptr);

    void setRange(const SpinnerRange &range);
    int minimum() const { return m_range.minimum; }
    int maximum() const { return m_range.maximum; }
    int stepSize() const { return m_range.increment; }

    // Shows a text from its start; every change emits textChanged.
    void setText(const QString &text);
    // The text as set or typed. The spin box's own text() is what it displays, in which Qt
    // turns control characters into blanks: the stored rate would change at every start.
    QString text() const { return lineEdit()->text(); }
    // Where the next step counts from.
    int value() const;
    // Writes a chosen number, clamped into the range.
    void setValue(int value);
    void stepBy(int steps) override;

Q_SIGNALS:
    void textChanged(const QString &text);

protected:
    StepEnabled stepEnabled() const override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void write(int value);

    SpinnerRange m_range;
    int m_value = m_range.minimum; // the spinner's own value: the last one written
};

// The currency box: an item is chosen from the list; typing changes nothing and never
// adds an item, and no input method composes in it.
class CurrencyBox : public QComboBox
{
    Q_OBJECT
public:
    explicit CurrencyBox(QWidget *parent = nullptr);

    // Sets the shown text, selecting the matching item so that the arrow keys move on from it.
    void setCurrency(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace kavro
