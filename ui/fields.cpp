// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/fields.h"

#include "conversion/input_rules.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>
#include <limits>

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

// A field that takes no typed characters, or digits only, has nothing for an input method to
// compose: left on, a Japanese input method in kana mode turns digits into a preedit of
// full-width ones that the field then drops, and the candidate window is drawn over it. Off,
// keys arrive as plain key presses, as a numeric field under a Windows input method is set to
// direct input. (Input-method hints cannot do this: Qt 6.4's ibus plugin forwards none.)
void refuseInputMethods(QWidget *widget)
{
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
}

// Qt writes each shortcut into the entry's text, after a tab.
void popUpWithoutShortcuts(QMenu *menu, QPoint at)
{
    for (QAction *action : menu->actions())
        action->setText(action->text().section(u'\t', 0, 0));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
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

void FieldEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (testAttribute(Qt::WA_InputMethodEnabled)) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    withCommitString(
        *event, {}, [this](QInputMethodEvent *none) { QLineEdit::inputMethodEvent(none); });
}

void FieldEdit::contextMenuEvent(QContextMenuEvent *event)
{
    popUpWithoutShortcuts(createStandardContextMenu(), event->globalPos());
}

DigitField::DigitField(QWidget *parent)
    : FieldEdit(parent)
{
    refuseInputMethods(this);
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
    : QAbstractSpinBox(parent)
{
    auto *edit = new FieldEdit(this);
    edit->setMaxLength(std::numeric_limits<int>::max()); // the store may hold any text
    setLineEdit(edit);
    setFocusPolicy(Qt::StrongFocus);
    refuseInputMethods(this);
    refuseInputMethods(edit);
    connect(edit, &QLineEdit::textChanged, this, &RateField::textChanged);
    // Which arrows are enabled depends on the number shown.
    connect(edit, &QLineEdit::textChanged, this, qOverload<>(&QWidget::update));
}

void RateField::setRange(const SpinnerRange &range)
{
    m_range = range;
    m_value = std::clamp(m_value, m_range.minimum, m_range.maximum);
    update();
}

void RateField::setText(const QString &text)
{
    showFromStart(lineEdit(), text);
}

int RateField::value() const
{
    return steppedRate(text(), m_value, 0, m_range);
}

void RateField::setValue(int value)
{
    write(std::clamp(value, m_range.minimum, m_range.maximum));
}

void RateField::stepBy(int steps)
{
    write(steppedRate(text(), m_value, steps, m_range));
}

void RateField::write(int value)
{
    m_value = value;
    setText(QString::number(value));
    // Screen readers speak the new rate; the text change alone is spoken only when they
    // follow the text.
    QAccessibleValueChangeEvent changed(this, value);
    QAccessible::updateAccessibility(&changed);
}

QAbstractSpinBox::StepEnabled RateField::stepEnabled() const
{
    const int from = value();
    StepEnabled enabled;
    if (from < m_range.maximum)
        enabled |= StepUpEnabled;
    if (from > m_range.minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

// The wheel over the window on its way elsewhere must not change the stored rate: it steps
// only a focused field, and never gives it the focus (the spin box's default WheelFocus).
void RateField::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QAbstractSpinBox::wheelEvent(event);
    else
        event->ignore();
}

void RateField::keyPressEvent(QKeyEvent *event)
{
    if (isTypedCharacter(event->text())) {
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

// The line edit's own menu: a spin box adds Qt's step entries, which the arrows already are.
void RateField::contextMenuEvent(QContextMenuEvent *event)
{
    popUpWithoutShortcuts(lineEdit()->createStandardContextMenu(), event->globalPos());
}

CurrencyBox::CurrencyBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setLineEdit(new FieldEdit(this));
    setInsertPolicy(QComboBox::NoInsert);
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

} // namespace kavro
