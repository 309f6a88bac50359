// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace kavro {

// The one value the program keeps between runs: the rate field's text, as typed, unchecked.
class RateStore
{
public:
    virtual ~RateStore() = default;

    // The stored text, or "100" when nothing usable is stored.
    virtual QString load() = 0;
    // One durable write; false when the text could not be stored.
    virtual bool save(const QString &text) = 0;
};

inline QString defaultRate()
{
    return QStringLiteral("100");
}

} // namespace kavro
