// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "settings/ini_rate_store.h"

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The rate store used by real processes: killed mid-write, writing at the same time, or
// denied the file.
class tst_StoreProcesses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void killedWhileWritingLeavesAWholeFileAndNoStall();
    void aLockHeldByAnotherInstanceHoldsNoWriteUp();
    void concurrentWritersNeverTearTheFile();
    void unwritableStoreReportsOnceAndExitsNormally_data();
    void unwritableStoreReportsOnceAndExitsNormally();

private:
    std::optional<int> storedNumber() const;
    QString m_writer = QStringLiteral(STORE_WRITER);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void tst_StoreProcesses::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"RuvU.ini"_s);
}

// The stored value as a number; nullopt when the file is missing or not whole. Read raw:
// QSettings keeps parsed files in a per-process cache that a same-size rewrite within the
// same millisecond does not invalidate, so a second reader in this process could see old data.
std::optional<int> tst_StoreProcesses::storedNumber() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    static const QRegularExpression whole(u"\\A\\[ensouba\\]\\nsaisin=(\\d+)\\n\\z"_s);
    const QRegularExpressionMatch match = whole.match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? std::optional(match.captured(1).toInt()) : std::nullopt;
}

void tst_StoreProcesses::killedWhileWritingLeavesAWholeFileAndNoStall()
{
    constexpr int kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        const int first = 1000 * (round + 1);
        QProcess writer;
        writer.start(m_writer, {m_path, QString::number(first), u"1000"_s});
        // Killed once it has written 1 to 4 times, wherever it is in the next write by then.
        for (int written = 0; written <= round % 4;) {
            QVERIFY(writer.waitForReadyRead(10000));
            written += int(writer.readAllStandardOutput().count('\n'));
        }
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

        if (QFile::exists(m_path)) {
            const std::optional<int> stored = storedNumber();
            QVERIFY2(stored, qPrintable(u"round %1: the file does not parse"_s.arg(round)));
            QVERIFY2(*stored >= first && *stored < first + 1000,
                qPrintable(u"round %1: %2 was never written"_s.arg(round).arg(*stored)));
        }

        // The next start writes the rate back at once, whatever the killed writer left.
        kavro::IniRateStore next(m_path);
        next.load();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(next.save(u"77"_s));
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(storedNumber(), 77);
        // Nor is anything the killed writer left beside the store kept.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), {u"RuvU.ini"_s});
    }
}

// QSettings' own lock, held by a live process for a minute (an instance stopped mid-write):
// QSettings would wait for it until it turned stale after 30 s.
void tst_StoreProcesses::aLockHeldByAnotherInstanceHoldsNoWriteUp()
{
    QProcess lockHolder;
    lockHolder.start(m_writer, {u"--hold"_s, m_path, u"60000"_s});
    QVERIFY(lockHolder.waitForReadyRead(10000));
    QCOMPARE(lockHolder.readAllStandardOutput().trimmed(), "locked"_ba);
    const auto killHolder = qScopeGuard([&] {
        lockHolder.kill();
        lockHolder.waitForFinished();
    });

    kavro::IniRateStore store(m_path);
    store.load();
    QElapsedTimer timer;
    timer.start();
    QVERIFY(store.save(u"333"_s));
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(storedNumber(), 333);
    QCOMPARE(lockHolder.state(), QProcess::Running);
}

void tst_StoreProcesses::concurrentWritersNeverTearTheFile()
{
    QProcess first;
    QProcess second;
    first.start(m_writer, {m_path, u"10000"_s, u"300"_s});
    second.start(m_writer, {m_path, u"20000"_s, u"300"_s});
    QVERIFY(first.waitForStarted() && second.waitForStarted());
    int reads = 0;
    while (first.state() != QProcess::NotRunning || second.state() != QProcess::NotRunning) {
        if (QFile::exists(m_path)) {
            const std::optional<int> stored = storedNumber();
            QVERIFY2(stored, "a reader saw a torn or empty file");
            QVERIFY((*stored >= 10000 && *stored < 10300) || (*stored >= 20000 && *stored < 20300));
            ++reads;
        }
        first.waitForFinished(1);
        second.waitForFinished(1);
    }
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    // Whichever writer finished last, its last write stands.
    const std::optional<int> last = storedNumber();
    QVERIFY(last == 10299 || last == 20299);
    qInfo("%d reads while two processes wrote", reads);
}

void tst_StoreProcesses::unwritableStoreReportsOnceAndExitsNormally_data()
{
    // Modes of the folder and of a file already in it (0: none).
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::newRow("read-only folder") << 0555 << 0;
    QTest::newRow("read-only file in a writable folder") << 0777 << 0444;
    // Only writing into the file itself would succeed here, and that is never done: a write
    // cut short would leave the rate half written.
    QTest::newRow("writable file in a read-only folder") << 0555 << 0666;
}

void tst_StoreProcesses::unwritableStoreReportsOnceAndExitsNormally()
{
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    // As root, permissions do not stop a write: the writer runs as nobody instead.
    const bool root = ::geteuid() == 0;
    QString program = m_writer;
    if (root) {
        program = m_dir->filePath(u"store_writer"_s);
        QVERIFY(QFile::copy(m_writer, program));
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
    }
    const QString storeDir = m_dir->filePath(u"store"_s);
    QVERIFY(QDir().mkpath(storeDir));
    const QString path = storeDir + u"/RuvU.ini"_s;
    const QByteArray before = "[ensouba]\nsaisin=250\n";
    if (fileMode) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(fileMode)) == 0);
    }
    QVERIFY(::chmod(QFile::encodeName(storeDir).constData(), mode_t(folderMode)) == 0);

    QProcess writer;
    QStringList arguments = {path, u"100"_s, u"5"_s};
    if (root) {
        arguments
            = QStringList {u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, program}
            + arguments;
        program = u"setpriv"_s;
    }
    writer.start(program, arguments);
    QVERIFY(writer.waitForFinished(30000));
    const QString errors = QString::fromUtf8(writer.readAllStandardError());
    QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(writer.exitCode(), 1);
    QCOMPARE(errors.count(u"cannot save the rate"_s), 1);
    QVERIFY(errors.contains(path));
    if (fileMode) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before); // untouched
    } else {
        QVERIFY(!QFile::exists(path));
    }
    ::chmod(QFile::encodeName(storeDir).constData(), 0755);
}

QTEST_GUILESS_MAIN(tst_StoreProcesses)
#include "tst_store_processes.moc"
