// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/fonts.h"

#include "conversion/texts.h"
#include "platform/font_offer.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLineEdit>

#include <memory>

namespace kavro {

namespace {

QStringList fieldFaces()
{
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")};
}

QStringList japaneseFallbacks()
{
    return {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic"), QStringLiteral("IPAGothic")};
}

// The process's one offer, once made.
std::unique_ptr<FontOffer> &theOffer()
{
    static std::unique_ptr<FontOffer> offer;
    return offer;
}

// A family that is not installed would send Qt searching every face for a substitute.
QStringList installed(const QStringList &families)
{
    return theOffer() ? theOffer()->installed(families) : families;
}

constexpr qreal kButtonPointSize = 9;

// Below this many installed faces, building a selection costs about what Qt saves by listing
// fewer (measured by make bench).
constexpr int kFacesWorthSelecting = 200;

// Every character the window, its menus and its boxes show, and what can be typed or shown in
// the fields: printable ASCII.
QString windowText()
{
    QString text = texts::windowTitle() + texts::currencyDollar() + texts::currencyYen()
        + texts::yenAboveBound() + texts::dollarAboveBound() + texts::conversionFailed()
        + texts::versionCaption() + texts::versionText() + texts::menuFile() + texts::menuEnd()
        + texts::menuVisual() + texts::menuClear() + texts::menuHelp() + texts::menuVersion()
        + texts::amountLabel() + texts::resultLabel() + texts::rateLabel() + texts::clearButton()
        + texts::versionButton() + texts::endButton() + texts::calculateButton();
    for (char16_t character = u' '; character <= u'~'; ++character)
        text += QChar(character);
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

} // namespace

void offerWindowFonts(OfferWhen when)
{
    if (theOffer())
        return;
    // The faces of the desktop's fonts for the widgets the window and its boxes are made of.
    QStringList desktopFamilies {QGuiApplication::font().family()};
    for (const char *widget : {"QMenuBar", "QMenu", "QMessageBox", "QPushButton", "QLabel"})
        desktopFamilies << QApplication::font(widget).family();
    theOffer() = std::make_unique<FontOffer>(fieldFaces(), japaneseFallbacks(), desktopFamilies,
        windowText(), when == OfferWhen::Always ? 0 : kFacesWorthSelecting);
}

void drawPastedCharacters(QWidget *window)
{
    if (!theOffer())
        return;
    // Every field's text is drawn by a line edit: the spin box's and the currency box's too.
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        QObject::connect(field, &QLineEdit::textChanged, field, [field](const QString &text) {
            const QStringList files = theOffer()->filesForNewCharacters(text);
            if (files.isEmpty())
                return;
            for (const QString &file : files)
                QFontDatabase::addApplicationFont(file);
            // Adding a font flushes Qt's font cache but not the fallback families it keeps for
            // each family and script (Qt 6.4 to 6.8); removing one flushes both.
            QFontDatabase::removeApplicationFont(QFontDatabase::addApplicationFont(files.first()));
            QEvent change(QEvent::FontChange);
            QCoreApplication::sendEvent(field, &change);
        });
    }
}

QFont fieldFont(qreal pointSize)
{
    QFont font;
    font.setFamilies(installed(fieldFaces() + japaneseFallbacks()));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QFont desktopFont()
{
    QFont font = QGuiApplication::font();
    font.setFamilies(QStringList {font.family()} + installed(japaneseFallbacks()));
    return font;
}

QFont buttonFont()
{
    QFont font = desktopFont();
    font.setPointSizeF(kButtonPointSize);
    return font;
}

} // namespace kavro
