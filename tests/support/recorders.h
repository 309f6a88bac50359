// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/services.h"
#include "settings/rate_store.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace kavro::test {

// Records what the window asks of the desktop instead of showing it.
class RecordingServices final : public Services
{
public:
    struct Message
    {
        QString text;
        MessageStyle style;
        QString caption;
    };

    void showMessage(const QString &text, MessageStyle style, const QString &caption) override
    {
        messages.append({text, style, caption});
        if (whileShown)
            whileShown();
    }
    void beep() override { ++beeps; }
    void endProgram() override { ++endRequests; }

    QList<Message> messages;
    // Runs while a message is up, as the user would see the window behind it.
    std::function<void()> whileShown;
    int beeps = 0;
    int endRequests = 0;
};

// The rate store in memory, with every write kept in order.
class MemoryRateStore final : public RateStore
{
public:
    explicit MemoryRateStore(const QString &stored = {}, bool hasValue = false)
        : m_stored(stored)
        , m_hasValue(hasValue)
    {
    }

    static MemoryRateStore holding(const QString &text) { return MemoryRateStore(text, true); }

    QString load() override { return m_hasValue ? m_stored : defaultRate(); }
    bool save(const QString &text) override
    {
        writes.append(text);
        m_stored = text;
        m_hasValue = true;
        return true;
    }

    QStringList writes;

private:
    QString m_stored;
    bool m_hasValue;
};

} // namespace kavro::test
