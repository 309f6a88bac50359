// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Offering Qt only the window's fonts leaves it fewer to list and changes no pixel of the
// window, its menus or its message boxes: under the system's font rules and a user's own, on
// machines whose one Japanese face no list names, and with a Latin face as the desktop's.
class tst_WindowFonts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void drawnAsWithEveryFace_data();
    void drawnAsWithEveryFace();
};

namespace {

const QString kSerif = u"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"_s;

// A fontconfig file with these elements.
bool writeConfig(const QString &path, const QString &elements)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const QString text = u"<?xml version=\"1.0\"?>\n<fontconfig>%1</fontconfig>\n"_s.arg(elements);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
}

// Runs the snapshot helper in a folder of its own; returns the folder, or nothing if it failed.
QString snapshots(const QTemporaryDir &home, const QString &name, bool offer,
    const QString &fontSet, const QString &desktopFace, const QString &pasted)
{
    const QString folder = home.filePath(name);
    QDir().mkpath(folder);
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    if (!fontSet.isEmpty())
        environment.insert(u"FONTCONFIG_FILE"_s, fontSet);
    helper.setProcessEnvironment(environment);
    QStringList arguments {folder};
    if (offer)
        arguments << u"--offer-window-fonts"_s;
    if (!desktopFace.isEmpty())
        arguments << u"--desktop-font"_s << desktopFace;
    if (!pasted.isEmpty())
        arguments << u"--pasted"_s << pasted;
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
    QTest::addColumn<QString>("japaneseFolder"); // empty: every installed face
    QTest::addColumn<QString>("desktopFace"); // empty: Qt's generic one
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("fieldFace"); // empty: whichever the system picks
    QTest::addColumn<QString>("pasted"); // into the amount and result fields
    QTest::addColumn<bool>("installedLater"); // the Japanese folder, after a start

    // Latin desktop faces bind strongly: fontconfig's best match for Japanese text in them is
    // the Latin face itself (GNOME's gtk-font-name, KDE's Noto Sans).
    const QStringList desktopFaces {QString(), u"DejaVu Sans"_s, u"Noto Sans"_s};
    const struct
    {
        const char *name;
        QString folder;
    } fontSets[] = {
        {"every installed face", QString()},
        {"IPAexGothic, no listed face", u"/usr/share/fonts/opentype/ipaexfont-gothic"_s},
        {"Droid Sans Fallback, no listed face", u"/usr/share/fonts/truetype/droid"_s},
        {"IPAPGothic, a listed face", u"/usr/share/fonts/opentype/ipafont-gothic"_s},
    };
    for (const auto &fontSet : fontSets) {
        for (const QString &desktopFace : desktopFaces) {
            if (desktopFace == u"Noto Sans"_s && !fontSet.folder.isEmpty())
                continue; // not on those machines
            QTest::addRow("%s, desktop face %s", fontSet.name,
                desktopFace.isEmpty() ? "Qt's generic" : qPrintable(desktopFace))
                << fontSet.folder << desktopFace << QString() << QString() << QString() << false;
        }
    }
    QTest::newRow("a user's sans-serif")
        << QString() << QString()
        << u"<alias binding=\"strong\"><family>sans-serif</family>"
           "<prefer><family>DejaVu Serif</family></prefer></alias>"_s
        << QString() << QString() << false;
    // A face installed under the name the window asks for first is the one it gets.
    QTest::newRow("ＭＳ Ｐゴシック installed")
        << QString() << QString()
        << u"<dir>%1</dir><match target=\"scan\"><test name=\"family\"><string>DejaVu Serif"
           "</string></test><edit name=\"family\" mode=\"assign_replace\"><string>ＭＳ Ｐゴシック"
           "</string></edit></match>"_s
        << u"ＭＳ Ｐゴシック"_s << QString() << false;
    // Drawn by the faces that add characters no face before them has, where the machine has one.
    QTest::newRow("text pasted in other scripts")
        << QString() << QString() << QString() << QString()
        << u"한글 ไทย عربي Ελλ Кир हिन्दी ᚠᛇ ☃ 😀 中文 ㄅ"_s << false;
    // The user's fonts change between two starts: the second draws with the face installed.
    QTest::newRow("IPAexGothic installed after a start")
        << fontSets[1].folder << QString() << QString() << QString() << QString() << true;
}

void tst_WindowFonts::drawnAsWithEveryFace()
{
    QFETCH(QString, japaneseFolder);
    QFETCH(QString, desktopFace);
    QFETCH(QString, rules);
    QFETCH(QString, fieldFace);
    QFETCH(QString, pasted);
    QFETCH(bool, installedLater);
    // The test set-up installs these.
    QVERIFY(QFile::exists(kSerif));
    QVERIFY(japaneseFolder.isEmpty() || QDir(japaneseFolder).exists());
    QTemporaryDir home;
    QVERIFY(home.isValid());
    // A machine with DejaVu and one Japanese font folder, under the system's rules.
    const QString folder = installedLater ? home.filePath(u"late"_s) : japaneseFolder;
    const QString fontSet = folder.isEmpty() ? QString() : home.filePath(u"fonts.conf"_s);
    QVERIFY(fontSet.isEmpty()
        || writeConfig(fontSet,
            u"<dir>/usr/share/fonts/truetype/dejavu</dir><dir>%1</dir><cachedir>%2</cachedir>"
            "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>"_s.arg(
                folder, home.filePath(u"cache/fontconfig"_s))));
    if (installedLater) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!snapshots(home, u"before"_s, true, fontSet, desktopFace, pasted).isEmpty());
        for (const QString &name : QDir(japaneseFolder).entryList(QDir::Files))
            QVERIFY(QFile::copy(japaneseFolder + u'/' + name, folder + u'/' + name));
    }
    if (rules.contains(u"<dir>"_s)) {
        // A private copy, so that the renaming touches no face the system offers.
        QVERIFY(QDir().mkpath(home.filePath(u"fonts"_s)));
        QVERIFY(QFile::copy(kSerif, home.filePath(u"fonts/private.ttf"_s)));
        rules = rules.arg(home.filePath(u"fonts"_s));
    }
    // A user's own rules, which the system's include.
    QVERIFY(
        rules.isEmpty() || writeConfig(home.filePath(u"config/fontconfig/fonts.conf"_s), rules));

    const QString everyFace = snapshots(home, u"every"_s, false, fontSet, desktopFace, pasted);
    const QString onlyOffered = snapshots(home, u"offered"_s, true, fontSet, desktopFace, pasted);
    QVERIFY(!everyFace.isEmpty() && !onlyOffered.isEmpty());
    const QDir every(everyFace);
    const QDir offered(onlyOffered);
    const QStringList drawn = every.entryList({u"*.png"_s}, QDir::Files, QDir::Name);
    QCOMPARE(drawn.size(), 6); // the window, three menus, two boxes
    QCOMPARE(offered.entryList({u"*.png"_s}, QDir::Files, QDir::Name), drawn);
    for (const QString &name : drawn) {
        const QImage expected(every.filePath(name));
        QVERIFY2(
            !expected.isNull() && QImage(offered.filePath(name)) == expected, qPrintable(name));
    }
    // Fewer faces, or the start pays for every face again.
    const int offeredFaces = text(offered.filePath(u"faces.txt"_s)).toInt();
    const int installedFaces = text(every.filePath(u"faces.txt"_s)).toInt();
    qInfo("%d of %d faces offered", offeredFaces, installedFaces);
    if (japaneseFolder.isEmpty())
        QVERIFY2(offeredFaces < installedFaces, qPrintable(QString::number(offeredFaces)));
    const QString face = text(offered.filePath(u"field-face.txt"_s));
    QCOMPARE(face, text(every.filePath(u"field-face.txt"_s)));
    if (!fieldFace.isEmpty())
        QCOMPARE(face, fieldFace);
}

QTEST_GUILESS_MAIN(tst_WindowFonts)
#include "tst_window_fonts.moc"
