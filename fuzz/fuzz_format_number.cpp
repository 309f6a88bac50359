// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// Any finite double formats without "inf", "nan" or "-0", in at most 15 significant digits,
// and reads back unless it rounds past the largest double.
#include "conversion/number_text.h"
#include "fuzz_support.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    double value = 0;
    if (size < sizeof value)
        return 0;
    std::memcpy(&value, data, sizeof value);
    if (!std::isfinite(value))
        return 0;
    const QString text = kavro::formatNumber(value);
    FUZZ_ASSERT(!text.isEmpty(), text);
    FUZZ_ASSERT(!text.contains(u"inf") && !text.contains(u"nan"), text);
    FUZZ_ASSERT(text != u"-0" && !text.startsWith(u"-0e"), text);
    FUZZ_ASSERT(significantDigits(text) <= 15, text);
    if (std::abs(value) > kLargestReadBack)
        return 0;
    const std::optional<double> back = kavro::parseNumber(text);
    FUZZ_ASSERT(back.has_value(), text);
    FUZZ_ASSERT(std::abs(*back - value) <= std::abs(value) * 1e-14, text);
    return 0;
}
