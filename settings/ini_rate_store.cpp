#include "settings/ini_rate_store.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

namespace kavro {

namespace {

QString rateKey()
{
    return QStringLiteral("ensouba/saisin");
}

// A live writer fills in its lock file the moment it creates it; an empty one older than
// this was left by a process that died in between.
constexpr int kAbandonedLockAgeMs = 50;
constexpr int kLockWaitMs = 250;

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

// QSettings locks "<file>.lock" around each write, and QLockFile counts an empty lock as
// stale only after 30 s. A writer killed between creating and filling it would otherwise
// make every later write, and so the next start-up, wait that long.
void IniRateStore::breakAbandonedLock() const
{
    const QString lockPath = m_filePath + QStringLiteral(".lock");
    if (!QFileInfo::exists(lockPath))
        return;
    QLockFile probe(lockPath);
    probe.setStaleLockTime(kAbandonedLockAgeMs);
    if (probe.tryLock(kLockWaitMs))
        probe.unlock();
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
