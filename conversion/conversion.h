// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace kavro {

enum class Direction { DollarsToYen, YenToDollars };

// Only the exact text "日本円" means yen; anything else, empty included, means dollars.
Direction directionFor(QStringView currencyText);

// Largest amounts accepted, compared as doubles with "strictly greater": an amount whose
// digits round onto the bound as a double still converts.
inline constexpr double kDollarBound = 9345797392523.0;
inline constexpr double kYenBound = 1040000000000000000.0;

enum class Outcome { Converted, AboveDollarBound, AboveYenBound, Failed };

struct Conversion
{
    Outcome outcome = Outcome::Failed;
    QString resultText; // set when converted
};

// The calculate command without its window: the rate text is not looked at when the amount
// is above its bound, and every failure, a non-finite input or result included, is Failed.
Conversion convert(QStringView currencyText, QStringView amountText, QStringView rateText);

// The message shown for an outcome other than Converted.
QString messageFor(Outcome outcome);

} // namespace kavro
