// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "settings/ini_rate_store.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <cstdio>
#include <utility>

#include <unistd.h>

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
    const QString file = linkedFile();
    if (!std::exchange(m_scratchSwept, true))
        removeAbandonedScratch(file);
    const bool saved = write(file, text);
    if (!saved)
        reportFailure();
    return saved;
}

// The file at the end of the store's chain of symbolic links, which need not exist yet: a
// rename over the link itself would replace it with a plain file. A relative link is read
// from the folder it really is in, as the kernel reads it.
QString IniRateStore::linkedFile() const
{
    QString file = m_filePath;
    for (int links = 0; links < 40; ++links) { // the kernel's own limit
        QByteArray linked(4096, Qt::Uninitialized);
        const ssize_t size
            = ::readlink(QFile::encodeName(file).constData(), linked.data(), size_t(linked.size()));
        if (size < 0 || size == linked.size())
            break;
        const QString target = QFile::decodeName(linked.left(size));
        const QFileInfo link(file);
        const QString folder = QDir(link.absolutePath()).canonicalPath();
        file = QDir(folder.isEmpty() ? link.absolutePath() : folder).absoluteFilePath(target);
    }
    return file;
}

// QSettings writes the store itself under "<file>.lock", and waits as long as a live process
// holds that lock: one instance stopped or hung mid-write would freeze every other. Here
// QSettings writes a scratch file that no one else knows of (flushed to disk and complete,
// through its own atomic save), and rename(2) puts it in place in one step.
bool IniRateStore::write(const QString &file, const QString &text) const
{
    const QFileInfo store(file);
    // A read-only store is the user's say: it is not replaced behind their back.
    if (store.isDir() || (store.exists() && !store.isWritable()))
        return false;
    if (!QDir().mkpath(store.absolutePath()))
        return false;

    const QString scratch = scratchPath(file);
    {
        const QSettings current(file, QSettings::IniFormat);
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
    // A store the user made private stays private.
    if (store.exists())
        QFile::setPermissions(scratch, QFile::permissions(file));
    if (std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(file).constData())
        != 0) {
        QFile::remove(scratch);
        return false;
    }
    return true;
}

// What writers ended mid-write left beside the store: their scratch files, and QSettings' lock
// and temporary file for them. A write lasts milliseconds, so a day-old one has no writer left.
// The process number in the name cannot tell: a live writer may run in another PID namespace
// (a toolbox container) or on another machine that shares the home.
void IniRateStore::removeAbandonedScratch(const QString &file)
{
    const QFileInfo store(file);
    const QDateTime abandoned = QDateTime::currentDateTimeUtc().addDays(-1);
    QDir folder = store.absoluteDir();
    for (const QFileInfo &scratch : folder.entryInfoList(
             {store.fileName() + QStringLiteral(".*-*.tmp*")}, QDir::Files | QDir::Hidden)) {
        if (scratch.lastModified() < abandoned)
            folder.remove(scratch.fileName());
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
