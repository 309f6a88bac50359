// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kavro {

// Text to number, the same under every locale: Qt's C-locale reading (blanks around, an
// optional sign, ASCII digits with an optional fraction and exponent), without group
// separators. Only finite values convert, so "inf", "nan" and "1e400" never reach a bound
// check or the arithmetic.
std::optional<double> parseNumber(QStringView text);

// At most 15 significant digits, as printf's %.15g writes them (plain decimal from 1e-4 up to
// 1e15, scientific outside); zero is always "0". Not defined for values that are not finite.
QString formatNumber(double value);

} // namespace kavro
