// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "settings/ini_rate_store.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <QVariant>

namespace kavro {

namespace {

QString rateKey()
{
    return QStringLiteral("ensouba/saisin");
}

// How long a lock may stay empty before it counts as abandoned.
constexpr int kAbandonedLockAgeMs = 200;

} // namespace

IniRateStore::IniRateStore(const QString &filePath)
    : m_filePath(filePath)
{
}

QString IniRateStore::userFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/RuvU.ini");
}

void IniRateStore::openSettings()
{
    m_settings = std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
}

QString IniRateStore::load()
{
    openSettings();
    const QVariant stored = m_settings->value(rateKey());
    if (!stored.isValid())
        return defaultRate();
    // A hand-edited "saisin=1,2" reads back as a list; its text is still the rate.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(u',');
    if (stored.canConvert<QString>())
        return stored.toString();
    return defaultRate();
}

bool IniRateStore::save(const QString &text)
{
    if (!m_settings)
        openSettings();
    breakAbandonedLock();
    m_settings->setValue(rateKey(), text);
    m_settings->sync();

    bool saved = m_settings->status() == QSettings::NoError;
    if (!saved) {
        // A status, once set by a corrupt read or an earlier failure, sticks and hides how
        // this write went: read the file back afresh.
        openSettings();
        saved = m_settings->status() == QSettings::NoError
            && m_settings->value(rateKey()).toString() == text;
    }
    if (!saved)
        reportFailure();
    return saved;
}

// QSettings locks "<file>.lock" around each write with a QLockFile, which waits for a lock
// naming a live process and takes over one whose process is gone. An empty lock names no
// one: its writer died between creating and filling it, and QLockFile would wait 30 s for it
// to turn stale, stalling the next start. A live writer fills its lock the moment it creates
// it, so a lock that stays empty for a short while is abandoned; nothing else is broken here.
void IniRateStore::breakAbandonedLock() const
{
    const QString lockPath = m_filePath + QStringLiteral(".lock");
    // Bounded even when the file's time is off (a clock set back, a network disk).
    const QDeadlineTimer deadline(kAbandonedLockAgeMs);
    for (;;) {
        const QFileInfo lock(lockPath);
        if (!lock.exists() || lock.size() > 0)
            return;
        const qint64 age = lock.lastModified().msecsTo(QDateTime::currentDateTime());
        if (age >= kAbandonedLockAgeMs || deadline.hasExpired()) {
            QFile::remove(lockPath);
            return;
        }
        QThread::msleep(5);
    }
}

void IniRateStore::reportFailure()
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    qWarning("kavro: cannot save the rate to %s; it is kept in the window for this run only",
        qUtf8Printable(QDir::toNativeSeparators(m_filePath)));
}

} // namespace kavro
