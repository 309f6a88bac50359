// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/conversion.h"

#include "conversion/number_text.h"
#include "conversion/texts.h"

#include <cmath>

namespace kavro {

Direction directionFor(QStringView currencyText)
{
    return currencyText == texts::currencyYen() ? Direction::YenToDollars : Direction::DollarsToYen;
}

Conversion convert(QStringView currencyText, QStringView amountText, QStringView rateText)
{
    const Direction direction = directionFor(currencyText);
    const std::optional<double> amount = parseNumber(amountText);
    if (!amount)
        return {};

    if (direction == Direction::YenToDollars && *amount > kYenBound)
        return {Outcome::AboveYenBound, {}};
    if (direction == Direction::DollarsToYen && *amount > kDollarBound)
        return {Outcome::AboveDollarBound, {}};

    const std::optional<double> rate = parseNumber(rateText);
    if (!rate)
        return {};

    const double result = direction == Direction::YenToDollars ? *amount / *rate : *amount * *rate;
    if (!std::isfinite(result))
        return {}; // a division by zero included

    return {Outcome::Converted, formatNumber(result)};
}

QString messageFor(Outcome outcome)
{
    switch (outcome) {
    case Outcome::AboveDollarBound:
        return texts::dollarAboveBound();
    case Outcome::AboveYenBound:
        return texts::yenAboveBound();
    case Outcome::Converted:
    case Outcome::Failed:
        break;
    }
    return texts::conversionFailed();
}

} // namespace kavro
