// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "settings/rate_store.h"

namespace kavro {

// The rate in an INI file, [ensouba] saisin=..., in QSettings' format. Each write goes to a
// file of its own beside the store and is renamed over it: readers only ever see a whole file,
// the last rename stands, and no instance waits on another's lock. A store that is a symbolic
// link (dotfiles kept elsewhere) stays one: the file it points to is replaced. A store that
// cannot be written never stops the program: the failure is reported once per run on standard
// error.
class IniRateStore final : public RateStore
{
public:
    explicit IniRateStore(const QString &filePath);

    // $XDG_CONFIG_HOME/RuvU.ini, or ~/.config/RuvU.ini.
    static QString userFilePath();

    QString load() override;
    bool save(const QString &text) override;

private:
    QString linkedFile() const;
    bool write(const QString &file, const QString &text) const;
    static void removeAbandonedScratch(const QString &file);
    void reportFailure();

    QString m_filePath;
    bool m_scratchSwept = false;
    bool m_failureReported = false;
};

} // namespace kavro
