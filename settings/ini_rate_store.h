// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "settings/rate_store.h"

namespace kavro {

// The rate in an INI file, [ensouba] saisin=..., in QSettings' format. Each write goes to a
// file of its own beside the store and is renamed over it: readers only ever see a whole file,
// the last rename stands, and no instance waits on another's lock. A store that cannot be
// written never stops the program: the failure is reported once per run on standard error.
class IniRateStore final : public RateStore
{
public:
    explicit IniRateStore(const QString &filePath);

    // $XDG_CONFIG_HOME/RuvU.ini, or ~/.config/RuvU.ini.
    static QString userFilePath();

    QString load() override;
    bool save(const QString &text) override;

private:
    bool write(const QString &text) const;
    void removeAbandonedScratch() const;
    void reportFailure();

    QString m_filePath;
    bool m_scratchSwept = false;
    bool m_failureReported = false;
};

} // namespace kavro
