// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/fonts.h"

#include <QGuiApplication>
#include <QStringList>

namespace kavro {

namespace {

QStringList japaneseFallbacks()
{
    return {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic"), QStringLiteral("IPAGothic")};
}

constexpr qreal kButtonPointSize = 9;

} // namespace

QFont fieldFont(qreal pointSize)
{
    QFont font;
    font.setFamilies(QStringList {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")}
        + japaneseFallbacks());
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
