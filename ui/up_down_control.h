// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "conversion/input_rules.h"

#include <QBasicTimer>
#include <QPointer>
#include <QStyle>
#include <QWidget>

class QLineEdit;
class QStyleOptionSpinBox;

namespace kavro {

// A bare pair of spin arrows bound to a buddy field, as the classic up-down control: each
// step writes the new whole number into the buddy's text. Holding an arrow repeats.
class UpDownControl : public QWidget
{
    Q_OBJECT
public:
    explicit UpDownControl(QWidget *parent = nullptr);

    void setBuddy(QLineEdit *buddy);

    void setRange(const SpinnerRange &range);
    SpinnerRange range() const { return m_range; }

    int value() const { return m_value; }
    // Where the next step counts from: the buddy's number in range, else value().
    int basis() const;

    void stepBy(int steps);
    // Writes a chosen number (clamped into the range), as a screen reader may ask.
    void setValueFromUser(int value);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initStyleOption(QStyleOptionSpinBox *option) const;
    QStyle::SubControl arrowAt(QPoint position) const;
    void writeValue(int value);

    QPointer<QLineEdit> m_buddy;
    SpinnerRange m_range;
    int m_value = 10;
    QStyle::SubControl m_pressed = QStyle::SC_None;
    QPoint m_pointer; // while pressed
    QBasicTimer m_repeat;
};

} // namespace kavro
