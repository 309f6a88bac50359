// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "settings/rate_store.h"

#include <QSettings>

#include <memory>

namespace kavro {

// The rate in an INI file, [ensouba] saisin=..., written through QSettings so that a write is
// a locked, atomic replace of the file. A store that cannot be written never stops the
// program: the failure is reported once per run on standard error.
class IniRateStore final : public RateStore
{
public:
    explicit IniRateStore(const QString &filePath);

    // $XDG_CONFIG_HOME/RuvU.ini, or ~/.config/RuvU.ini.
    static QString userFilePath();

    QString load() override;
    bool save(const QString &text) override;

private:
    void openSettings();
    void breakAbandonedLock() const;
    void reportFailure();

    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
    bool m_failureReported = false;
};

} // namespace kavro
