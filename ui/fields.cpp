// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/fields.h"

#include "conversion/input_rules.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

namespace kavro {

namespace {

// Delivers the same input-method event with another commit string; the preedit text is kept
// so that composing still shows.
template <typename Deliver>
void withCommitString(const QInputMethodEvent &event, const QString &commit, Deliver deliver)
{
    QInputMethodEvent copy(event.preeditString(), event.attributes());
    copy.setCommitString(commit, event.replacementStart(), event.replacementLength());
    deliver(&copy);
}

QString withoutBackspace(QString text)
{
    return text.remove(u'\b');
}

// A field that takes no typed characters has nothing for an input method to compose: left on,
// the preedit and the candidate window would be drawn in it and then vanish.
void refuseInputMethods(QWidget *widget)
{
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
}

} // namespace

void showFromStart(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setCursorPosition(0);
}

QVariant FieldEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled && !testAttribute(Qt::WA_InputMethodEnabled))
        return false;
    return QLineEdit::inputMethodQuery(query);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // Qt writes each shortcut into the entry's text, after a tab.
    for (QAction *action : menu->actions())
        action->setText(action->text().section(u'\t', 0, 0));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

DigitField::DigitField(QWidget *parent)
    : FieldEdit(parent)
{
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhLatinOnly);
}

void DigitField::keyPressEvent(QKeyEvent *event)
{
    if (!isTypedCharacter(event->text())) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const FilteredText filtered = filterDigitFieldText(event->text());
    if (filtered.dropped == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (const QString digits = withoutBackspace(filtered.kept); !digits.isEmpty())
        insert(digits);
    for (int i = 0; i < filtered.dropped; ++i)
        Q_EMIT characterRejected();
}

void DigitField::inputMethodEvent(QInputMethodEvent *event)
{
    const FilteredText filtered = filterDigitFieldText(event->commitString());
    if (filtered.dropped == 0) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    withCommitString(*event, withoutBackspace(filtered.kept),
        [this](QInputMethodEvent *digitsOnly) { QLineEdit::inputMethodEvent(digitsOnly); });
    for (int i = 0; i < filtered.dropped; ++i)
        Q_EMIT characterRejected();
}

RateField::RateField(QWidget *parent)
    : FieldEdit(parent)
{
    refuseInputMethods(this);
}

void RateField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        event->accept();
        Q_EMIT stepRequested(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    if (isTypedCharacter(event->text())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void RateField::inputMethodEvent(QInputMethodEvent *event)
{
    withCommitString(
        *event, {}, [this](QInputMethodEvent *none) { QLineEdit::inputMethodEvent(none); });
}

CurrencyBox::CurrencyBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setLineEdit(new FieldEdit(this));
    setInsertPolicy(QComboBox::NoInsert);
    // Key and input-method events reach the box itself, not its line edit.
    refuseInputMethods(this);
    refuseInputMethods(lineEdit());
}

void CurrencyBox::setCurrency(const QString &text)
{
    if (const int index = findText(text, Qt::MatchExactly); index >= 0)
        setCurrentIndex(index);
    setEditText(text); // which tells screen readers, as the line edit alone would not
    lineEdit()->setCursorPosition(0);
}

void CurrencyBox::keyPressEvent(QKeyEvent *event)
{
    if (isTypedCharacter(event->text())) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CurrencyBox::inputMethodEvent(QInputMethodEvent *event)
{
    withCommitString(
        *event, {}, [this](QInputMethodEvent *none) { QComboBox::inputMethodEvent(none); });
}

} // namespace kavro
