// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kavro {

// Text to number, the same under every locale: optional blanks around, an optional sign,
// ASCII digits with an optional fraction and exponent, nothing else. Only finite values
// convert, so "inf", "nan" and "1e400" never reach a bound check or the arithmetic.
std::optional<double> parseNumber(QStringView text);

// At most 15 significant digits, plain decimal from 1e-6 up to 1e15, scientific outside;
// zero is always "0". Not defined for values that are not finite.
QString formatNumber(double value);

} // namespace kavro
