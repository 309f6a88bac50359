// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// Text to number never accepts a non-finite value, and what it accepts formats and reads
// back within 15 significant digits.
#include "conversion/number_text.h"
#include "fuzz_support.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = utf8Text(data, size);
    const std::optional<double> value = kavro::parseNumber(text);
    if (!value)
        return 0;
    FUZZ_ASSERT(std::isfinite(*value), text);
    if (std::abs(*value) > kLargestReadBack)
        return 0;
    const QString formatted = kavro::formatNumber(*value);
    const std::optional<double> back = kavro::parseNumber(formatted);
    FUZZ_ASSERT(back.has_value(), formatted);
    FUZZ_ASSERT(std::abs(*back - *value) <= std::abs(*value) * 1e-14, formatted);
    return 0;
}
