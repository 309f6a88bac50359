// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// Every Japanese text the user sees, in one place.
namespace kavro::texts {

inline QString applicationTitle()
{
    return QStringLiteral("KAVRO");
}

inline QString windowTitle()
{
    return QStringLiteral("$ to \u00a5 通貨換算ツール Ver1.0");
}

inline QString currencyDollar()
{
    return QStringLiteral("USAドル");
}
inline QString currencyYen()
{
    return QStringLiteral("日本円");
}

inline QString yenAboveBound()
{
    return QStringLiteral("桁が大きすぎます。よって、計算できません。");
}
inline QString dollarAboveBound()
{
    return QStringLiteral("エラーです。計算できません。桁数が大きすぎるかもしれません。");
}
// The opening parenthesis has no closing one, on purpose: the message is kept to the letter.
inline QString conversionFailed()
{
    return QStringLiteral("エラーです。正しい数字を入力してください。または、数字が大きすぎて、"
                          "計算できない可能性もあります。（円相場の設定で不正な文字・数字が"
                          "入力されている場合も計算できません。");
}

inline QString versionCaption()
{
    return QStringLiteral("バージョン情報");
}
inline QString versionText()
{
    return applicationTitle()
        + QStringLiteral(" バージョン\u30001.0\r\n"
                         "\r\n"
                         "作成：KAVRO 開発チーム\r\n"
                         "製作日\u3000\u3000\u30002000/7/13");
}

inline QString menuFile()
{
    return QStringLiteral("ファイル(&F)");
}
inline QString menuEnd()
{
    return QStringLiteral("終了(&X)");
}
inline QString menuVisual()
{
    return QStringLiteral("表示(&V)");
}
inline QString menuClear()
{
    return QStringLiteral("すべてクリア(&C)");
}
inline QString menuHelp()
{
    return QStringLiteral("ヘルプ(&H)");
}
inline QString menuVersion()
{
    return QStringLiteral("バージョン情報(&V)");
}

inline QString amountLabel()
{
    return QStringLiteral("元の通貨の値段を入力してください。");
}
inline QString resultLabel()
{
    return QStringLiteral("計算結果の表示");
}
inline QString rateLabel()
{
    return QStringLiteral("相場");
}
inline QString currencyDescription()
{
    return QStringLiteral("元の通貨");
}

inline QString clearButton()
{
    return QStringLiteral("クリアー");
}
inline QString versionButton()
{
    return QStringLiteral("バージョン");
}
inline QString endButton()
{
    return QStringLiteral("終了");
}
inline QString calculateButton()
{
    return QStringLiteral("計算");
}

} // namespace kavro::texts
