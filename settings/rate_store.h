// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace kavro {

// What start-up gets from the store.
struct LoadedRate
{
    QString text;
    // The store holds exactly this text, read cleanly: writing it back would change nothing.
    // False for the default, a repaired value and a file that did not read cleanly.
    bool alreadyStored = false;
};

// The one value the program keeps between runs: the rate field's text, as typed, unchecked.
class RateStore
{
public:
    virtual ~RateStore() = default;

    // The stored text, or "100" when nothing usable is stored.
    virtual LoadedRate load() = 0;
    // One durable write; false when the text could not be stored.
    virtual bool save(const QString &text) = 0;
};

inline QString defaultRate()
{
    return QStringLiteral("100");
}

} // namespace kavro
