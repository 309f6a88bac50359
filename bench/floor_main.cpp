// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// The floor for start-up measurements: the same widgets, fonts and menus as the program's
// window, with no logic, no store and no services. Nothing can start faster than this and
// still look the same; it sets up the application as the program does (the fonts it offers and
// uses, Qt's texts in Japanese) and writes one setting, as the program writes its rate back.
#include "ui/application.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kavro::offerWindowFonts();
    kavro::setUpApplication();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("$ to \u00a5 通貨換算ツール Ver1.0"));
    for (const char *menu : {"ファイル(&F)", "表示(&V)", "ヘルプ(&H)"})
        window.menuBar()->addMenu(QString::fromUtf8(menu))->addAction(QStringLiteral("item"));
    auto *client = new QWidget(&window);
    client->setFixedSize(350, 152);
    window.setCentralWidget(client);

    const auto place = [](QWidget *widget, QRect geometry, qreal pointSize) {
        widget->setGeometry(geometry);
        widget->setFont(pointSize > 0 ? kavro::fieldFont(pointSize) : kavro::buttonFont());
    };
    place(new QLabel(QStringLiteral("元の通貨の値段を入力してください。"), client), {8, 8, 233, 25},
        11.25);
    place(new QLineEdit(client), {56, 32, 193, 25}, 12);
    auto *combo = new QComboBox(client);
    combo->setEditable(true);
    combo->addItems({QStringLiteral("USAドル"), QStringLiteral("日本円")});
    place(combo, {256, 32, 89, 24}, 12);
    place(new QLineEdit(client), {56, 96, 193, 25}, 12);
    place(new QLabel(QStringLiteral("計算結果の表示"), client), {8, 72, 113, 25}, 11.25);
    place(new QPushButton(QStringLiteral("クリアー"), client), {272, 96, 65, 17}, 0);
    place(new QPushButton(QStringLiteral("バージョン"), client), {272, 112, 65, 17}, 0);
    place(new QPushButton(QStringLiteral("終了"), client), {272, 128, 65, 17}, 0);
    place(new QPushButton(QStringLiteral("計算"), client), {272, 64, 65, 25}, 0);
    auto *rate = new QSpinBox(client);
    rate->setRange(10, 500);
    rate->setValue(100);
    place(rate, {280, 0, 64, 25}, 11.25);
    place(new QLabel(QStringLiteral("相場"), client), {240, 0, 41, 25}, 14.25);
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("kavro-floor"));
    settings.setValue(QStringLiteral("ensouba/saisin"), rate->text());
    settings.sync();
    window.show();
    return QApplication::exec();
}
