// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace kavro {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The text of a number given as its significant digits, d.ddd, and a decimal exponent.
QString composeDecimal(bool negative, std::string digits, int exponent)
{
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent >= -6 && exponent < 15) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const auto integerDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                out += digits;
                out.append(integerDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, integerDigits);
                out += '.';
                out += digits.substr(integerDigits);
            }
        }
    } else {
        out += digits.front();
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += exponent < 0 ? "e-" : "e+";
        const int absExponent = std::abs(exponent);
        if (absExponent < 10)
            out += '0';
        out += std::to_string(absExponent);
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace

std::optional<double> parseNumber(QStringView text)
{
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;

    // The grammar is checked here; from_chars alone would take "inf", "nan" and stop early.
    std::string ascii;
    ascii.reserve(static_cast<size_t>(end - i));
    const auto take = [&](QChar c) {
        ascii.push_back(static_cast<char>(c.unicode()));
        ++i;
    };
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        if (negative)
            take(text[i]);
        else
            ++i;
    }

    // Decimal magnitude of the leading digit, kept to tell an underflow from an overflow.
    long long magnitude = 0;
    bool seenNonZero = false;
    qsizetype digits = 0;
    while (i < end && isDigit(text[i])) {
        if (seenNonZero || text[i] != u'0') {
            seenNonZero = true;
            ++magnitude;
        }
        take(text[i]);
        ++digits;
    }
    if (seenNonZero)
        --magnitude;
    if (i < end && text[i] == u'.') {
        take(text[i]);
        while (i < end && isDigit(text[i])) {
            if (!seenNonZero) {
                --magnitude;
                seenNonZero = text[i] != u'0';
            }
            take(text[i]);
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;

    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        take(text[i]);
        bool negativeExponent = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            take(text[i]);
        }
        long long exponent = 0;
        const qsizetype exponentStart = i;
        while (i < end && isDigit(text[i])) {
            exponent = std::min(exponent * 10 + (text[i].unicode() - u'0'), 1'000'000'000LL);
            take(text[i]);
        }
        if (i == exponentStart)
            return std::nullopt;
        magnitude += negativeExponent ? -exponent : exponent;
    }
    if (i != end)
        return std::nullopt;

    double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range && magnitude < 0)
        return negative ? -0.0 : 0.0; // too small for a double: as near to zero as it gets
    if (ec != std::errc() || ptr != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // never "-0"

    // Round once to 15 significant digits, then place the point ourselves: printf's %g
    // switches to an exponent at 1e-5 and is bound to the C locale's decimal separator.
    char buffer[48];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view scientific(buffer, static_cast<size_t>(result.ptr - buffer));
    const size_t ePos = scientific.find('e');
    const bool negative = scientific.front() == '-';

    std::string digits;
    for (char c : scientific.substr(0, ePos))
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    int exponent = 0;
    const std::string_view exponentText = scientific.substr(ePos + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
        exponentText.data() + exponentText.size(), exponent);

    QString text = composeDecimal(negative, digits, exponent);
    if (!parseNumber(text)) {
        // Only next to the largest double does rounding up leave the range; round down there.
        size_t last = digits.size() - 1;
        while (digits[last] == '0')
            digits[last--] = '9';
        --digits[last];
        text = composeDecimal(negative, digits, exponent);
    }
    return text;
}

} // namespace kavro
