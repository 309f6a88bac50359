// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

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

    // QLineEdit tells input methods it takes them whenever it is editable; this one answers
    // from Qt::WA_InputMethodEnabled, so that a field can turn them off.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
};

// The amount and result fields: typed digits and backspace pass, every other typed or
// input-method character is dropped and reported, one signal per character. Input methods are
// told that the field takes Latin digits only.
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

// The rate field: nothing typed gets in, backspace included; the rate changes through the
// spinner, which Up and Down drive from here too. No input method composes in it.
class RateField : public FieldEdit
{
    Q_OBJECT
public:
    explicit RateField(QWidget *parent = nullptr);

Q_SIGNALS:
    void stepRequested(int steps);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
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
    void inputMethodEvent(QInputMethodEvent *event) override;
};

} // namespace kavro
