// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/conversion.h"
#include "conversion/texts.h"

#include <QTest>

using namespace kavro;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kavro::Outcome)

class tst_Conversion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void converts_data();
    void converts();
    void onlyTheExactYenTextSelectsYen_data();
    void onlyTheExactYenTextSelectsYen();
    void messagesAreTheProgramsOwn();
};

void tst_Conversion::converts_data()
{
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("result");

    const QString dollar = texts::currencyDollar();
    const QString yen = texts::currencyYen();
    const Outcome converted = Outcome::Converted;
    const Outcome failed = Outcome::Failed;

    QTest::newRow("five dollars at 120 are 600 yen")
        << dollar << u"5"_s << u"120"_s << converted << u"600"_s;
    QTest::newRow("100 yen at 120 are a fraction of a dollar")
        << yen << u"100"_s << u"120"_s << converted << u"0.833333333333333"_s;
    QTest::newRow("dollar amount equal to the bound converts")
        << dollar << u"9345797392523"_s << u"500"_s << converted << u"4.6728986962615e+15"_s;
    QTest::newRow("dollar amount just above the bound is refused")
        << dollar << u"9345797392524"_s << u"100"_s << Outcome::AboveDollarBound << QString();
    QTest::newRow("yen amount equal to the bound converts")
        << yen << u"1040000000000000000"_s << u"100"_s << converted << u"1.04e+16"_s;
    QTest::newRow("yen amount that rounds onto the bound as a double converts")
        << yen << u"1040000000000000063"_s << u"100"_s << converted << u"1.04e+16"_s;
    QTest::newRow("yen amount that is greater as a double is refused")
        << yen << u"1040000000000000065"_s << u"100"_s << Outcome::AboveYenBound << QString();
    QTest::newRow("empty amount fails") << dollar << QString() << u"120"_s << failed << QString();
    QTest::newRow("yen at rate zero fails as a division by zero")
        << yen << u"100"_s << u"0"_s << failed << QString();
    QTest::newRow("dollars at rate zero are zero yen")
        << dollar << u"100"_s << u"0"_s << converted << u"0"_s;
    QTest::newRow("empty rate fails") << dollar << u"5"_s << QString() << failed << QString();
    QTest::newRow("non-numeric rate fails") << yen << u"5"_s << u"abc"_s << failed << QString();
    QTest::newRow("non-numeric rate above the bound reports the bound")
        << dollar << u"9345797392524"_s << u"abc"_s << Outcome::AboveDollarBound << QString();
    QTest::newRow("empty rate above the yen bound reports the bound")
        << yen << u"2e18"_s << QString() << Outcome::AboveYenBound << QString();
    QTest::newRow("infinite amount fails") << dollar << u"inf"_s << u"120"_s << failed << QString();
    QTest::newRow("amount that is not a number fails, never passes a bound")
        << yen << u"nan"_s << u"120"_s << failed << QString();
    QTest::newRow("overflowing amount text fails")
        << dollar << u"1e400"_s << u"120"_s << failed << QString();
    QTest::newRow("product too large for a double fails")
        << dollar << u"9345797392523"_s << u"1e300"_s << failed << QString();
    QTest::newRow("quotient too large for a double fails")
        << yen << u"1e18"_s << u"1e-300"_s << failed << QString();
    QTest::newRow("pasted negative amount converts")
        << dollar << u"-5"_s << u"120"_s << converted << u"-600"_s;
    QTest::newRow("zero times a negative rate is zero, not minus zero")
        << dollar << u"0"_s << u"-3"_s << converted << u"0"_s;
}

void tst_Conversion::converts()
{
    QFETCH(QString, currency);
    QFETCH(QString, amount);
    QFETCH(QString, rate);
    QFETCH(Outcome, outcome);
    QFETCH(QString, result);

    const Conversion conversion = convert(currency, amount, rate);
    QCOMPARE(conversion.outcome, outcome);
    QCOMPARE(conversion.resultText, result);
}

void tst_Conversion::onlyTheExactYenTextSelectsYen_data()
{
    QTest::addColumn<QString>("currency");
    QTest::addColumn<bool>("yen");

    QTest::newRow("yen") << u"日本円"_s << true;
    QTest::newRow("dollar") << u"USAドル"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("yen with a trailing blank") << u"日本円 "_s << false;
    QTest::newRow("yen alone") << u"円"_s << false;
    // Only the exact text: no Unicode folding makes a look-alike yen.
    QTest::newRow("yen spelled with the Kangxi radical sun") << u"\u2F47本円"_s << false;
    QTest::newRow("yen spelled with the circled ideograph sun") << u"\u3290本円"_s << false;
    QTest::newRow("anything else") << u"EUR"_s << false;
}

void tst_Conversion::onlyTheExactYenTextSelectsYen()
{
    QFETCH(QString, currency);
    QFETCH(bool, yen);
    QCOMPARE(directionFor(currency) == Direction::YenToDollars, yen);
}

void tst_Conversion::messagesAreTheProgramsOwn()
{
    QCOMPARE(messageFor(Outcome::AboveYenBound), u"桁が大きすぎます。よって、計算できません。"_s);
    QCOMPARE(messageFor(Outcome::AboveDollarBound),
        u"エラーです。計算できません。桁数が大きすぎるかもしれません。"_s);
    QCOMPARE(messageFor(Outcome::Failed),
        u"エラーです。正しい数字を入力してください。または、数字が大きすぎて、計算できない"
        u"可能性もあります。\uff08円相場の設定で不正な文字・数字が入力されている場合も計算"
        u"できません。"_s);
    QCOMPARE(texts::applicationTitle(), u"KAVRO"_s);
    QCOMPARE(texts::windowTitle(), u"$ to \u00a5 通貨換算ツール Ver1.0"_s);
    const QStringList version = texts::versionText().split(u"\r\n"_s);
    QCOMPARE(version.size(), 4);
    QCOMPARE(version[0], u"KAVRO バージョン\u30001.0"_s);
    QVERIFY(version[1].isEmpty());
    QVERIFY(!version[2].isEmpty());
    QCOMPARE(version[3], u"製作日\u3000\u3000\u30002000/7/13"_s);
    QCOMPARE(texts::versionCaption(), u"バージョン情報"_s);
}

QTEST_GUILESS_MAIN(tst_Conversion)
#include "tst_conversion.moc"
