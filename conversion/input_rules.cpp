// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/input_rules.h"

#include "conversion/number_text.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace kavro {

bool isTypedCharacter(QStringView keyText)
{
    return !keyText.isEmpty() && keyText != u"\x7f";
}

bool isDigitFieldCharacter(char32_t c)
{
    return c == U'\b' || (c >= U'0' && c <= U'9');
}

FilteredText filterDigitFieldText(QStringView text)
{
    FilteredText filtered;
    // Per code point: a character outside the BMP is one character, so one beep.
    for (const char32_t c : text.toUcs4()) {
        if (isDigitFieldCharacter(c))
            filtered.kept.append(QChar(static_cast<char16_t>(c)));
        else
            ++filtered.dropped;
    }
    return filtered;
}

int steppedRate(QStringView rateText, int spinnerValue, int steps, const SpinnerRange &range)
{
    const auto clamp = [&](double v) {
        return static_cast<int>(std::clamp(v, double(range.minimum), double(range.maximum)));
    };
    const std::optional<double> shown = parseNumber(rateText);
    const int basis = shown ? clamp(std::round(*shown)) : clamp(spinnerValue);
    return clamp(double(basis) + double(steps) * range.increment);
}

} // namespace kavro
