// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// Draws the window, each of its menus and both message boxes into PNG files in a folder, and
// writes the face the amount field is drawn with to field-face.txt and the number of faces Qt
// knows to faces.txt:
//   window_snapshots FOLDER [--offer-window-fonts] [--desktop-font FAMILY] [--pasted TEXT]
// A desktop font is given as a platform theme gives it (GTK's gtk-font-name, KDE's font).
// tst_window_fonts compares a start that offers Qt only the window's fonts with one that
// offers every installed face.
#include "support/recorders.h"
#include "conversion/texts.h"
#include "platform/qt_services.h"
#include "ui/application.h"
#include "ui/fonts.h"
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QStringList arguments = QApplication::arguments();
    const QDir folder(arguments.value(1));
    const qsizetype desktopFont = arguments.indexOf(QStringLiteral("--desktop-font"));
    if (desktopFont > 0)
        QApplication::setFont(QFont(arguments.value(desktopFont + 1), 10));
    if (arguments.contains(QStringLiteral("--offer-window-fonts")))
        kavro::offerWindowFonts(kavro::OfferWhen::Always);
    kavro::setUpApplication();

    kavro::QtServices services(kavro::texts::applicationTitle());
    kavro::test::MemoryRateStore store;
    kavro::FormMain window(services, store);
    services.setWindow(&window);
    // Text pasted into the amount and result fields, in scripts the window has no text in: the
    // amount shows its start, the result its end.
    const qsizetype pasted = arguments.indexOf(QStringLiteral("--pasted"));
    if (pasted > 0) {
        for (const char *name : {"Textkekka", "Textmoto"}) {
            auto *field = window.findChild<QLineEdit *>(QLatin1String(name));
            field->setText(arguments.value(pasted + 1));
            field->setCursorPosition(
                qstrcmp(name, "Textmoto") == 0 ? 0 : int(field->text().size()));
        }
    }
    window.show();
    window.grab().save(folder.filePath(QStringLiteral("window.png")));

    QFile face(folder.filePath(QStringLiteral("field-face.txt")));
    if (!face.open(QIODevice::WriteOnly))
        return 1;
    const QFont amountFont = window.findChild<QLineEdit *>(QStringLiteral("Textmoto"))->font();
    face.write(QFontInfo(amountFont).family().toUtf8());
    QFile faces(folder.filePath(QStringLiteral("faces.txt")));
    if (!faces.open(QIODevice::WriteOnly))
        return 1;
    qsizetype known = 0;
    for (const QString &family : QFontDatabase::families())
        known += QFontDatabase::styles(family).size();
    faces.write(QByteArray::number(known));

    for (QAction *entry : window.menuBar()->actions()) {
        QMenu *menu = entry->menu();
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        menu->grab().save(folder.filePath(menu->objectName() + QStringLiteral(".png")));
        menu->hide();
    }

    // Each box is drawn once it is up, then closed, which returns from its exec().
    QString box;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *shown = QApplication::activeModalWidget()) {
            shown->grab().save(folder.filePath(box + QStringLiteral(".png")));
            shown->close();
        }
    });
    poll.start(10);
    box = QStringLiteral("version-box");
    window.findChild<QAction *>(QStringLiteral("mnuVer"))->trigger();
    box = QStringLiteral("error-box"); // 計算 with no amount
    window.findChild<QPushButton *>(QStringLiteral("Command5"))->click();
    return 0;
}
