// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "settings/ini_rate_store.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using kavro::IniRateStore;
using namespace Qt::StringLiterals;

// The rate store, in this process and in real processes: killed mid-write, writing at the
// same time, or denied the file.
class tst_IniRateStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void firstRunGivesTheDefaultAndTheFirstSaveCreatesTheEntry();
    void savedTextComesBackExactly_data();
    void savedTextComesBackExactly();
    void aSaveReplacesTheFileWholeNeverWritesIntoIt();
    void aSaveKeepsTheStoreAsTheUserKeepsIt_data();
    void aSaveKeepsTheStoreAsTheUserKeepsIt();
    void handEditedOrCorruptFilesStillStart_data();
    void handEditedOrCorruptFilesStillStart();
    void unwritableStoreWarnsOnceAndLaterWritesAreSilent();
    void eachSaveIsOnDiskWhenItReturnsWhicheverStoreMadeIt();

    void killedWhileWritingLeavesAWholeFileAndNoStall();
    void aLockHeldByAnotherInstanceHoldsNoWriteUp();
    void concurrentWritersNeverTearTheFile();
    void unwritableStoreReportsOnceAndExitsNormally_data();
    void unwritableStoreReportsOnceAndExitsNormally();

private:
    QString storedText(const QString &path = {}) const;

    QString m_writer = QStringLiteral(STORE_WRITER);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void tst_IniRateStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"RuvU.ini"_s);
}

// The stored rate, read raw; "(not whole)" when the file is missing, holds no entry or is cut
// short. Not through QSettings, which keeps each file it parsed in a per-process cache that a
// rewrite of the same size within the same millisecond does not invalidate.
QString tst_IniRateStore::storedText(const QString &path) const
{
    QFile file(path.isEmpty() ? m_path : path);
    const QString text
        = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    static const QRegularExpression entry(u"(?:^|\\n)\\[ensouba\\]\\nsaisin=(.*)\\n"_s);
    const QRegularExpressionMatch match = entry.match(text);
    return match.hasMatch() && text.endsWith(u'\n') ? match.captured(1) : u"(not whole)"_s;
}

void tst_IniRateStore::firstRunGivesTheDefaultAndTheFirstSaveCreatesTheEntry()
{
    IniRateStore store(m_path);
    QCOMPARE(store.load(), u"100"_s);
    QVERIFY(!QFile::exists(m_path));
    QVERIFY(store.save(u"100"_s));
    QCOMPARE(storedText(), u"100"_s);
}

void tst_IniRateStore::savedTextComesBackExactly_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("a rate") << u"250"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks kept") << u"  12 "_s;
    QTest::newRow("comma") << u"1,2"_s;
    QTest::newRow("INI syntax") << u"a=b;#c [d]"_s;
    QTest::newRow("quotes and backslashes") << u"\"\\x\\\""_s;
    QTest::newRow("newline and tab") << u"1\n2\t3"_s;
    QTest::newRow("at sign") << u"@Variant(x)"_s;
    QTest::newRow("Japanese") << u"百二十円"_s;
    QTest::newRow("ten thousand characters") << QString(10000, u'7');
}

void tst_IniRateStore::savedTextComesBackExactly()
{
    QFETCH(QString, text);
    {
        IniRateStore store(m_path);
        store.load();
        QVERIFY(store.save(text));
    }
    IniRateStore next(m_path);
    QCOMPARE(next.load(), text);
}

void tst_IniRateStore::aSaveReplacesTheFileWholeNeverWritesIntoIt()
{
    IniRateStore store(m_path);
    store.load();
    QVERIFY(store.save(u"250"_s));
    // A second name for the old file: a write into the file would show through it, a new
    // file renamed into place leaves it as it was.
    const QString oldFile = m_dir->filePath(u"old.ini"_s);
    QVERIFY(
        ::link(QFile::encodeName(m_path).constData(), QFile::encodeName(oldFile).constData()) == 0);
    QVERIFY(store.save(u"251"_s));
    QCOMPARE(storedText(), u"251"_s);
    QCOMPARE(storedText(oldFile), u"250"_s);
}

void tst_IniRateStore::aSaveKeepsTheStoreAsTheUserKeepsIt_data()
{
    QTest::addColumn<QString>("store"); // these paths are under the test's folder
    QTest::addColumn<QStringList>("links"); // "name>target", made in this order
    QTest::addColumn<QString>("file"); // where the rate is stored
    QTest::addColumn<int>("mode"); // of the file made beforehand; 0: none is
    const QStringList toDotfiles {u"RuvU.ini>dotfiles/RuvU.ini"_s};
    QTest::newRow("a private store stays private")
        << u"RuvU.ini"_s << QStringList() << u"RuvU.ini"_s << 0600;
    QTest::newRow("a linked store stays a link")
        << u"RuvU.ini"_s << toDotfiles << u"dotfiles/RuvU.ini"_s << 0600;
    QTest::newRow("a chain of links ends at its last target")
        << u"RuvU.ini"_s << QStringList {u"RuvU.ini>a.ini"_s, u"a.ini>dotfiles/RuvU.ini"_s}
        << u"dotfiles/RuvU.ini"_s << 0644;
    QTest::newRow("a link to a file not made yet makes it")
        << u"RuvU.ini"_s << QStringList {u"RuvU.ini>dotfiles/new/RuvU.ini"_s}
        << u"dotfiles/new/RuvU.ini"_s << 0;
    // As the kernel reads it: from the folder the link is in, not from the link's name.
    QTest::newRow("a relative link in a linked folder")
        << u"config/RuvU.ini"_s
        << QStringList {u"config>real/config"_s, u"real/config/RuvU.ini>../dotfiles/RuvU.ini"_s}
        << u"real/dotfiles/RuvU.ini"_s << 0644;
}

void tst_IniRateStore::aSaveKeepsTheStoreAsTheUserKeepsIt()
{
    QFETCH(QString, store);
    QFETCH(QStringList, links);
    QFETCH(QString, file);
    QFETCH(int, mode);
    const QDir dir(m_dir->path());
    QVERIFY(dir.mkpath(u"real/config"_s) && dir.mkpath(u"real/dotfiles"_s)
        && dir.mkpath(u"dotfiles"_s));
    for (const QString &link : std::as_const(links))
        QVERIFY(QFile::link(link.section(u'>', 1), dir.filePath(link.section(u'>', 0, 0))));
    const QByteArray path = QFile::encodeName(dir.filePath(file));
    if (mode) {
        QFile stored(dir.filePath(file));
        QVERIFY(stored.open(QIODevice::WriteOnly) && stored.write("[ensouba]\nsaisin=250\n") > 0);
        QVERIFY(::chmod(path.constData(), mode_t(mode)) == 0);
    }
    IniRateStore rates(dir.filePath(store));
    QCOMPARE(rates.load(), mode ? u"250"_s : u"100"_s);
    QVERIFY(rates.save(u"321"_s));
    QCOMPARE(storedText(dir.filePath(file)), u"321"_s);
    for (const QString &link : std::as_const(links))
        QVERIFY2(QFileInfo(dir.filePath(link.section(u'>', 0, 0))).isSymLink(), qPrintable(link));
    struct stat info = {};
    QVERIFY(::stat(path.constData(), &info) == 0 && (!mode || int(info.st_mode & 07777) == mode));
    QCOMPARE(QFileInfo(dir.filePath(file)).dir().entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void tst_IniRateStore::handEditedOrCorruptFilesStillStart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QByteArray>("kept"); // still in the file after a save

    QByteArray noise(4096, '\0');
    QRandomGenerator generator(20000713);
    for (char &byte : noise)
        byte = static_cast<char>(generator.bounded(256));

    QTest::newRow("hand-written entry") << "[ensouba]\nsaisin=250\n"_ba << u"250"_s << QByteArray();
    QTest::newRow("byte-order mark")
        << "\xef\xbb\xbf[ensouba]\nsaisin=250\n"_ba << u"250"_s << QByteArray();
    QTest::newRow("CR LF line ends")
        << "[ensouba]\r\nsaisin=260\r\n"_ba << u"260"_s << QByteArray();
    QTest::newRow("a comma reads as a list")
        << "[ensouba]\nsaisin=1,2\n"_ba << u"1,2"_s << QByteArray();
    QTest::newRow("a value of another type")
        << "[ensouba]\nsaisin=@Rect(1 2 3 4)\n"_ba << u"100"_s << QByteArray();
    QTest::newRow("other sections only")
        << "[other]\nsaisin=5\n"_ba << u"100"_s << "[other]\nsaisin=5\n"_ba;
    QTest::newRow("other entries of the user's")
        << "[ensouba]\nsaisin=250\ntsuika=mine\n"_ba << u"250"_s << "tsuika=mine\n"_ba;
    QTest::newRow("random bytes") << noise << u"100"_s << QByteArray();
    QTest::newRow("empty file") << QByteArray() << u"100"_s << QByteArray();
}

void tst_IniRateStore::handEditedOrCorruptFilesStillStart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, loaded);
    QFETCH(QByteArray, kept);
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    IniRateStore store(m_path);
    QCOMPARE(store.load(), loaded);

    // The next change writes a valid file, and keeps what else the user wrote.
    QVERIFY(store.save(u"321"_s));
    QCOMPARE(storedText(), u"321"_s);
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().contains(kept));
}

void tst_IniRateStore::unwritableStoreWarnsOnceAndLaterWritesAreSilent()
{
    // A folder where the file should be fails a write even for root.
    QVERIFY(QDir().mkpath(m_path));
    IniRateStore store(m_path);
    QCOMPARE(store.load(), u"100"_s);

    const QRegularExpression warning(u"cannot save the rate to .*RuvU\\.ini"_s);
    QTest::ignoreMessage(QtWarningMsg, warning); // the first failure is reported...
    QTest::failOnWarning(warning); // ...and no other
    QVERIFY(!store.save(u"150"_s));
    QVERIFY(!store.save(u"151"_s));

    QVERIFY(QDir(m_path).removeRecursively());
    QVERIFY(store.save(u"152"_s));
    QCOMPARE(storedText(), u"152"_s);
}

void tst_IniRateStore::eachSaveIsOnDiskWhenItReturnsWhicheverStoreMadeIt()
{
    IniRateStore first(m_path);
    IniRateStore second(m_path);
    first.load();
    second.load();
    for (int i = 0; i < 20; ++i) {
        IniRateStore &writer = i % 2 ? second : first;
        QVERIFY(writer.save(QString::number(100 + i)));
        QCOMPARE(storedText(), QString::number(100 + i));
    }
}

void tst_IniRateStore::killedWhileWritingLeavesAWholeFileAndNoStall()
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
            const int stored = storedText().toInt(); // 0 if not whole
            QVERIFY2(stored >= first && stored < first + 1000,
                qPrintable(u"round %1: '%2' was never written"_s.arg(round).arg(storedText())));
        }

        // The next start writes the rate back at once, whatever the killed writer left.
        kavro::IniRateStore next(m_path);
        next.load();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(next.save(u"77"_s));
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(storedText(), u"77"_s);
        // What the killed writer left beside the store is all scratch.
        const QStringList left = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : left)
            QVERIFY2(name == u"RuvU.ini"_s || name.contains(u".tmp"_s), qPrintable(name));
    }
    // A scratch file goes once a day old. Until then it may be a live writer's in another PID
    // namespace or on another machine, whose process number is unknown here.
    QDir folder(m_dir->path());
    QVERIFY(QFile(folder.filePath(u"RuvU.ini.7-1a.tmp.lock"_s)).open(QIODevice::WriteOnly));
    const QDateTime dayOld = QDateTime::currentDateTime().addSecs(-25 * 3600);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::Append)
            && file.setFileTime(dayOld, QFileDevice::FileModificationTime));
    }
    for (const QString &name : {u"RuvU.ini.4194303-1a2b.tmp"_s, u"RuvU.ini.bak"_s})
        QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
    kavro::IniRateStore next(m_path);
    QVERIFY(next.save(u"78"_s));
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden),
        QStringList({u"RuvU.ini"_s, u"RuvU.ini.4194303-1a2b.tmp"_s, u"RuvU.ini.bak"_s}));
}

// QSettings' own lock, held by a live process for a minute (an instance stopped mid-write):
// QSettings would wait for it until it turned stale after 30 s.
void tst_IniRateStore::aLockHeldByAnotherInstanceHoldsNoWriteUp()
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
    QCOMPARE(storedText(), u"333"_s);
    QCOMPARE(lockHolder.state(), QProcess::Running);
}

void tst_IniRateStore::concurrentWritersNeverTearTheFile()
{
    QProcess first;
    QProcess second;
    first.start(m_writer, {m_path, u"10000"_s, u"300"_s});
    second.start(m_writer, {m_path, u"20000"_s, u"300"_s});
    QVERIFY(first.waitForStarted() && second.waitForStarted());
    int reads = 0;
    while (first.state() != QProcess::NotRunning || second.state() != QProcess::NotRunning) {
        if (QFile::exists(m_path)) {
            const int stored = storedText().toInt(); // 0 if torn or empty
            QVERIFY2((stored >= 10000 && stored < 10300) || (stored >= 20000 && stored < 20300),
                qPrintable(storedText()));
            ++reads;
        }
        first.waitForFinished(1);
        second.waitForFinished(1);
    }
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    // Whichever writer finished last, its last write stands.
    QVERIFY(storedText() == u"10299"_s || storedText() == u"20299"_s);
    qInfo("%d reads while two processes wrote", reads);
}

void tst_IniRateStore::unwritableStoreReportsOnceAndExitsNormally_data()
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

void tst_IniRateStore::unwritableStoreReportsOnceAndExitsNormally()
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

QTEST_GUILESS_MAIN(tst_IniRateStore)
#include "tst_ini_rate_store.moc"
