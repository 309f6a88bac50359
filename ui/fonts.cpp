// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/fonts.h"

#include "platform/font_offer.h"

#include <QGuiApplication>
#include <QStringList>

#include <utility>

namespace kavro {

namespace {

const QStringList &fieldFaces()
{
    static const QStringList faces {
        QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")};
    return faces;
}

const QStringList &allJapaneseFallbacks()
{
    static const QStringList fallbacks {QStringLiteral("IPAPGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
        QStringLiteral("TakaoPGothic"), QStringLiteral("IPAGothic")};
    return fallbacks;
}

// Of the faces above, those installed, once offerWindowFonts() has found any; otherwise all.
// A family that is not installed would send Qt searching every face for a substitute.
QStringList &installedFaces()
{
    static QStringList faces;
    return faces;
}

QStringList onlyInstalled(const QStringList &families)
{
    if (installedFaces().isEmpty())
        return families;
    QStringList kept;
    for (const QString &family : families) {
        if (installedFaces().contains(family))
            kept << family;
    }
    return kept;
}

QStringList japaneseFallbacks()
{
    return onlyInstalled(allJapaneseFallbacks());
}

constexpr qreal kButtonPointSize = 9;

} // namespace

void offerWindowFonts()
{
    static bool offered = false;
    if (std::exchange(offered, true))
        return;
    installedFaces()
        = offerOnlyFonts(fieldFaces() + allJapaneseFallbacks(), QGuiApplication::font().family());
}

QFont fieldFont(qreal pointSize)
{
    QFont font;
    font.setFamilies(onlyInstalled(fieldFaces()) + japaneseFallbacks());
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QFont desktopFont()
{
    QFont font = QGuiApplication::font();
    font.setFamilies(QStringList {font.family()} + japaneseFallbacks());
    return font;
}

QFont buttonFont()
{
    QFont font = desktopFont();
    font.setPointSizeF(kButtonPointSize);
    return font;
}

} // namespace kavro
