// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace kavro {

// A key's text is a typed character unless it is empty (arrows, Home, End) or the DEL that
// X11 attaches to the Delete key, which edits like any other non-character key.
bool isTypedCharacter(QStringView keyText);

// The amount and result fields take backspace and the ASCII digits; nothing else.
bool isDigitFieldCharacter(char32_t c);

struct FilteredText
{
    QString kept;
    int dropped = 0; // characters, not UTF-16 units: one beep each
};

FilteredText filterDigitFieldText(QStringView text);

struct SpinnerRange
{
    int minimum = 10;
    int maximum = 500;
    int increment = 1;
};

// A press counts from the rate the field shows, rounded and clamped into the range, so the
// stored rate is where stepping starts; from the spinner's own value when the field holds no
// number. The answer always lies inside the range.
int steppedRate(QStringView rateText, int spinnerValue, int steps, const SpinnerRange &range);

} // namespace kavro
