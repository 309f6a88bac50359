// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Stops the run with the input saved by libFuzzer when a property does not hold.
#define FUZZ_ASSERT(condition, text)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s [%s]\n", #condition, qUtf8Printable(text));  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Above this, 15 significant digits round up past the largest double, and the text no longer
// reads back; such a value is shown all the same.
inline constexpr double kLargestReadBack = 1.79769313486231e308;

inline QString utf16Text(const uint8_t *data, size_t size)
{
    return QString(reinterpret_cast<const QChar *>(data), static_cast<qsizetype>(size / 2));
}

inline QString utf8Text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// Significant digits of a formatted number: digits of the mantissa without leading zeros.
inline int significantDigits(const QString &text)
{
    int count = 0;
    bool started = false;
    for (QChar c : text) {
        if (c == u'e')
            break;
        if (c.isDigit() && (started || c != u'0')) {
            started = true;
            ++count;
        }
    }
    return count;
}
