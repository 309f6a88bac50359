// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "settings/ini_rate_store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using kavro::IniRateStore;
using namespace Qt::StringLiterals;

class tst_IniRateStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void firstRunGivesTheDefaultAndTheFirstSaveCreatesTheEntry();
    void savedTextComesBackExactly_data();
    void savedTextComesBackExactly();
    void aSaveReplacesTheFileWholeNeverWritesIntoIt();
    void handEditedOrCorruptFilesStillStart_data();
    void handEditedOrCorruptFilesStillStart();
    void unwritableStoreWarnsOnceAndLaterWritesAreSilent();
    void eachSaveIsOnDiskWhenItReturnsWhicheverStoreMadeIt();
    void userFileFollowsXdgConfigHome();

private:
    QString storedText() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    mutable int m_reads = 0;
};

void tst_IniRateStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"RuvU.ini"_s);
}

// Read through a copy: QSettings keeps each file it parsed in a per-process cache, which a
// rewrite of the same size within the same millisecond does not invalidate.
QString tst_IniRateStore::storedText() const
{
    const QString copy = m_dir->filePath(u"copy-%1.ini"_s.arg(++m_reads));
    if (!QFile::copy(m_path, copy))
        return u"(no file)"_s;
    return QSettings(copy, QSettings::IniFormat).value(u"ensouba/saisin"_s).toString();
}

void tst_IniRateStore::firstRunGivesTheDefaultAndTheFirstSaveCreatesTheEntry()
{
    IniRateStore store(m_path);
    QCOMPARE(store.load(), u"100"_s);
    QVERIFY(!QFile::exists(m_path));
    QVERIFY(store.save(u"100"_s));
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().trimmed(), "[ensouba]\nsaisin=100"_ba);
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
    QCOMPARE(
        QSettings(oldFile, QSettings::IniFormat).value(u"ensouba/saisin"_s).toString(), u"250"_s);
}

void tst_IniRateStore::handEditedOrCorruptFilesStillStart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("loaded");

    QByteArray noise(4096, '\0');
    QRandomGenerator generator(20000713);
    for (char &byte : noise)
        byte = static_cast<char>(generator.bounded(256));

    QTest::newRow("hand-written entry") << "[ensouba]\nsaisin=250\n"_ba << u"250"_s;
    QTest::newRow("byte-order mark") << "\xef\xbb\xbf[ensouba]\nsaisin=250\n"_ba << u"250"_s;
    QTest::newRow("CR LF line ends") << "[ensouba]\r\nsaisin=260\r\n"_ba << u"260"_s;
    QTest::newRow("a comma reads as a list") << "[ensouba]\nsaisin=1,2\n"_ba << u"1,2"_s;
    QTest::newRow("a value of another type") << "[ensouba]\nsaisin=@Rect(1 2 3 4)\n"_ba << u"100"_s;
    QTest::newRow("other sections only") << "[other]\nsaisin=5\n"_ba << u"100"_s;
    QTest::newRow("random bytes") << noise << u"100"_s;
    QTest::newRow("empty file") << QByteArray() << u"100"_s;
}

void tst_IniRateStore::handEditedOrCorruptFilesStillStart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, loaded);
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    IniRateStore store(m_path);
    QCOMPARE(store.load(), loaded);

    // The next change writes a valid file.
    QVERIFY(store.save(u"321"_s));
    QCOMPARE(storedText(), u"321"_s);
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

void tst_IniRateStore::userFileFollowsXdgConfigHome()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path()));
    QCOMPARE(IniRateStore::userFilePath(), m_path);
}

QTEST_GUILESS_MAIN(tst_IniRateStore)
#include "tst_ini_rate_store.moc"
