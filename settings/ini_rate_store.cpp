// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "settings/ini_rate_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <utility>

namespace kavro {

namespace {

QString rateKey()
{
    return QStringLiteral("ensouba/saisin");
}

// A name beside the store that no other write, in this process or another, uses.
QString scratchPath(const QString &filePath)
{
    return QStringLiteral("%1.%2-%3.tmp")
        .arg(filePath)
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate64(), 0, 36);
}

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

QString IniRateStore::load()
{
    // Reading takes no lock: every write renames a whole file into place.
    const QVariant stored = QSettings(m_filePath, QSettings::IniFormat).value(rateKey());
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
    if (!std::exchange(m_scratchSwept, true))
        removeAbandonedScratch();
    const bool saved = write(text);
    if (!saved)
        reportFailure();
    return saved;
}

// QSettings writes the store itself under "<file>.lock", and waits as long as a live process
// holds that lock: one instance stopped or hung mid-write would freeze every other. Here
// QSettings writes a scratch file that no one else knows of (flushed to disk and complete,
// through its own atomic save), and rename(2) puts it in place in one step.
bool IniRateStore::write(const QString &text) const
{
    const QFileInfo store(m_filePath);
    // A read-only store is the user's say: it is not replaced behind their back.
    if (store.isDir() || (store.exists() && !store.isWritable()))
        return false;
    if (!QDir().mkpath(store.absolutePath()))
        return false;

    const QString scratch = scratchPath(m_filePath);
    {
        const QSettings current(m_filePath, QSettings::IniFormat);
        QSettings next(scratch, QSettings::IniFormat);
        // Whatever else a hand-edited file holds stays, as QSettings itself would keep it.
        for (const QString &key : current.allKeys()) {
            if (!key.isEmpty()) // what QSettings makes of a line of noise
                next.setValue(key, current.value(key));
        }
        next.setValue(rateKey(), text);
        next.sync();
        if (next.status() != QSettings::NoError) {
            QFile::remove(scratch);
            return false;
        }
    }
    if (store.exists())
        QFile::setPermissions(scratch, QFile::permissions(m_filePath));
    if (std::rename(
            QFile::encodeName(scratch).constData(), QFile::encodeName(m_filePath).constData())
        != 0) {
        QFile::remove(scratch);
        return false;
    }
    return true;
}

// What a writer killed mid-write left beside the store: its scratch file, QSettings' lock and
// temporary file for it. The writer's process number is in the name; only a gone one's go.
void IniRateStore::removeAbandonedScratch() const
{
    const QFileInfo store(m_filePath);
    const QString prefix = store.fileName() + u'.';
    QDir folder = store.absoluteDir();
    for (const QString &name :
        folder.entryList({prefix + QStringLiteral("*-*.tmp*")}, QDir::Files | QDir::Hidden)) {
        bool isNumber = false;
        const long pid = name.mid(prefix.size()).section(u'-', 0, 0).toLong(&isNumber);
        if (isNumber && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            folder.remove(name);
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
