// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Offering Qt only the window's fonts leaves it fewer to list and changes no pixel of the
// window, its menus or its message boxes, under the system's font rules and under a user's own.
class tst_WindowFonts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void drawnAsWithEveryFace_data();
    void drawnAsWithEveryFace();
};

namespace {

const QString kSerif = u"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"_s;

// A user's fontconfig file under XDG_CONFIG_HOME, which the system's rules include.
void writeUserRules(const QDir &config, const QString &rules)
{
    QVERIFY(config.mkpath(u"fontconfig"_s));
    QFile file(config.filePath(u"fontconfig/fonts.conf"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"<?xml version=\"1.0\"?>\n<fontconfig>\n%1\n</fontconfig>\n"_s.arg(rules).toUtf8());
}

// Runs the snapshot helper in a folder of its own; returns the folder, or nothing if it failed.
QString snapshots(const QTemporaryDir &home, const QString &name, bool offer)
{
    const QString folder = home.filePath(name);
    QDir().mkpath(folder);
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    environment.insert(u"XDG_CACHE_HOME"_s, home.filePath(u"cache"_s));
    helper.setProcessEnvironment(environment);
    QStringList arguments {folder};
    if (offer)
        arguments << u"--offer-window-fonts"_s;
    helper.start(QStringLiteral(SNAPSHOT_HELPER), arguments);
    if (helper.waitForFinished(60'000) && helper.exitStatus() == QProcess::NormalExit
        && helper.exitCode() == 0)
        return folder;
    qWarning() << "the snapshot helper failed:" << helper.readAllStandardError();
    return {};
}

QString text(const QString &file)
{
    QFile read(file);
    return read.open(QIODevice::ReadOnly) ? QString::fromUtf8(read.readAll()) : QString();
}

} // namespace

void tst_WindowFonts::drawnAsWithEveryFace_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("fieldFace"); // empty: whichever the system picks
    QTest::newRow("the system's rules") << QString() << QString();
    QTest::newRow("a user's sans-serif")
        << u"<alias binding=\"strong\"><family>sans-serif</family>"
           "<prefer><family>DejaVu Serif</family></prefer></alias>"_s
        << QString();
    // A face installed under the name the window asks for first is the one it gets.
    QTest::newRow("ＭＳ Ｐゴシック installed")
        << u"<dir>%1</dir><match target=\"scan\"><test name=\"family\"><string>DejaVu Serif"
           "</string></test><edit name=\"family\" mode=\"assign_replace\"><string>ＭＳ Ｐゴシック"
           "</string></edit></match>"_s
        << u"ＭＳ Ｐゴシック"_s;
}

void tst_WindowFonts::drawnAsWithEveryFace()
{
    QFETCH(QString, rules);
    QFETCH(QString, fieldFace);
    if (!QFile::exists(kSerif))
        QSKIP("DejaVu Serif is not installed");
    QTemporaryDir home;
    QVERIFY(home.isValid());
    if (rules.contains(u"<dir>"_s)) {
        // A private copy, so that the renaming touches no face the system offers.
        QVERIFY(QDir().mkpath(home.filePath(u"fonts"_s)));
        QVERIFY(QFile::copy(kSerif, home.filePath(u"fonts/private.ttf"_s)));
        rules = rules.arg(home.filePath(u"fonts"_s));
    }
    if (!rules.isEmpty())
        writeUserRules(QDir(home.filePath(u"config"_s)), rules);

    const QString everyFace = snapshots(home, u"every"_s, false);
    const QString onlyOffered = snapshots(home, u"offered"_s, true);
    QVERIFY(!everyFace.isEmpty() && !onlyOffered.isEmpty());
    const QDir every(everyFace);
    const QDir offered(onlyOffered);
    const QStringList drawn = every.entryList({u"*.png"_s}, QDir::Files, QDir::Name);
    QCOMPARE(drawn.size(), 6); // the window, three menus, two boxes
    QCOMPARE(offered.entryList({u"*.png"_s}, QDir::Files, QDir::Name), drawn);
    for (const QString &name : drawn) {
        const QImage expected(every.filePath(name));
        const QImage actual(offered.filePath(name));
        QVERIFY2(!expected.isNull() && actual == expected, qPrintable(name));
    }
    // Fewer families, or the start pays for every face again.
    QVERIFY2(text(offered.filePath(u"families.txt"_s)).toInt()
            < text(every.filePath(u"families.txt"_s)).toInt(),
        qPrintable(text(offered.filePath(u"families.txt"_s))));
    const QString face = text(offered.filePath(u"field-face.txt"_s));
    QCOMPARE(face, text(every.filePath(u"field-face.txt"_s)));
    if (!fieldFace.isEmpty())
        QCOMPARE(face, fieldFace);
}

QTEST_GUILESS_MAIN(tst_WindowFonts)
#include "tst_window_fonts.moc"
