// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// The typed-character rules over any UTF-16 input: only backspace and ASCII digits are kept,
// in order, and every other character is counted once; a spinner step stays in its range.
#include "conversion/input_rules.h"
#include "fuzz_support.h"

#include <QList>

using namespace kavro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = utf16Text(data, size);
    const FilteredText filtered = filterDigitFieldText(text);
    const QList<uint> characters = text.toUcs4();

    QString expected;
    int dropped = 0;
    for (uint c : characters) {
        if (c == 8 || (c >= '0' && c <= '9'))
            expected.append(QChar(static_cast<char16_t>(c)));
        else
            ++dropped;
    }
    FUZZ_ASSERT(filtered.kept == expected, text);
    FUZZ_ASSERT(filtered.dropped == dropped, text);
    FUZZ_ASSERT(isTypedCharacter(text) == (!text.isEmpty() && text != u"\x7f"), text);

    const int spinnerValue = size > 0 ? 10 + data[0] * 2 : 10;
    const int steps = size > 1 ? static_cast<int8_t>(data[1]) : 1;
    const int rate = steppedRate(text, spinnerValue, steps, SpinnerRange {});
    FUZZ_ASSERT(rate >= 10 && rate <= 500, text);
    return 0;
}
