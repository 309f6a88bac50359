// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/number_text.h"

#include <QLocale>

#include <cmath>

namespace kavro {

std::optional<double> parseNumber(QStringView text)
{
    // The C locale whatever the user's, and "1,000" is not a thousand.
    static const QLocale locale = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    // QLocale takes "inf" and "nan"; neither may reach a bound check or the arithmetic.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // never "-0"
    return QString::number(value, 'g', 15);
}

} // namespace kavro
