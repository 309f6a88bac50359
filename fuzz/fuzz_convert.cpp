// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// The conversion as a function of direction, amount text and rate text has exactly one
// outcome: a finite result, or the message its inputs call for.
#include "conversion/conversion.h"
#include "conversion/number_text.h"
#include "conversion/texts.h"
#include "fuzz_support.h"

#include <cmath>

using namespace kavro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // First byte: the currency text; the rest: amount and rate, split at the first NUL.
    const QString currencies[]
        = {texts::currencyDollar(), texts::currencyYen(), QString(), QStringLiteral("日本円 ")};
    const QString currency = currencies[data[0] % 4];
    const QString rest = utf8Text(data + 1, size - 1);
    const qsizetype split = rest.indexOf(QChar(0));
    const QString amountText = split < 0 ? rest : rest.left(split);
    const QString rateText = split < 0 ? QString() : rest.mid(split + 1);

    const Conversion conversion = convert(currency, amountText, rateText);
    const bool yen = directionFor(currency) == Direction::YenToDollars;
    const std::optional<double> amount = parseNumber(amountText);
    const std::optional<double> rate = parseNumber(rateText);

    switch (conversion.outcome) {
    case Outcome::Converted: {
        FUZZ_ASSERT(amount && rate, amountText);
        FUZZ_ASSERT(*amount <= (yen ? kYenBound : kDollarBound), amountText);
        const double exact = yen ? *amount / *rate : *amount * *rate;
        FUZZ_ASSERT(std::isfinite(exact), conversion.resultText);
        if (std::abs(exact) > kLargestReadBack)
            break;
        const std::optional<double> shown = parseNumber(conversion.resultText);
        FUZZ_ASSERT(shown, conversion.resultText);
        FUZZ_ASSERT(std::abs(*shown - exact) <= std::abs(exact) * 1e-14, conversion.resultText);
        break;
    }
    case Outcome::AboveDollarBound:
        FUZZ_ASSERT(!yen && amount && *amount > kDollarBound, amountText);
        FUZZ_ASSERT(conversion.resultText.isEmpty(), conversion.resultText);
        break;
    case Outcome::AboveYenBound:
        FUZZ_ASSERT(yen && amount && *amount > kYenBound, amountText);
        FUZZ_ASSERT(conversion.resultText.isEmpty(), conversion.resultText);
        break;
    case Outcome::Failed: {
        FUZZ_ASSERT(conversion.resultText.isEmpty(), conversion.resultText);
        if (amount && rate && !(yen && *rate == 0)) {
            const double exact = yen ? *amount / *rate : *amount * *rate;
            FUZZ_ASSERT(!std::isfinite(exact), amountText + QStringLiteral(" / ") + rateText);
        }
        FUZZ_ASSERT(messageFor(conversion.outcome) == texts::conversionFailed(), amountText);
        break;
    }
    }
    return 0;
}
