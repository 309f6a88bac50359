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

// The amount and result fields: typed digits and backspace pass, every other typed or
// input-method character is dropped and reported, one signal per character.
class DigitField : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

Q_SIGNALS:
    void characterRejected();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};

// The rate field: nothing typed gets in, backspace included; the rate changes through the
// spinner, which Up and Down drive from here too.
class RateField : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

Q_SIGNALS:
    void stepRequested(int steps);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};

// The currency box: an item is chosen from the list; typing changes nothing and never
// adds an item.
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
