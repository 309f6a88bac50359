// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/conversion.h"
#include "conversion/input_rules.h"
#include "conversion/number_text.h"
#include "conversion/texts.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using namespace kavro;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kavro::Outcome)

class tst_Conversion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Before any number is read: the reader may keep the locale it first sees.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void parsesNumbers_data();
    void parsesNumbers();
    void refusesWhatIsNotANumber_data();
    void refusesWhatIsNotANumber();
    void parsingIgnoresTheUserLocale();
    void formatsResults_data();
    void formatsResults();
    void typedCharacters_data();
    void typedCharacters();
    void digitFieldsKeepDigitsAndBackspace_data();
    void digitFieldsKeepDigitsAndBackspace();
    void stepsCountFromTheShownRate_data();
    void stepsCountFromTheShownRate();
    void noStepLeavesTheRange();

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

void tst_Conversion::parsesNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("plain digits") << u"120"_s << 120.0;
    QTest::newRow("leading zeros") << u"000120"_s << 120.0;
    QTest::newRow("fraction") << u"0.5"_s << 0.5;
    QTest::newRow("fraction without integer part") << u".5"_s << 0.5;
    QTest::newRow("point without fraction") << u"5."_s << 5.0;
    QTest::newRow("plus sign") << u"+7"_s << 7.0;
    QTest::newRow("minus sign") << u"-7.25"_s << -7.25;
    QTest::newRow("blanks around") << u" \t42 \t"_s << 42.0;
    QTest::newRow("exponent") << u"1e3"_s << 1000.0;
    QTest::newRow("signed capital exponent") << u"2.5E-2"_s << 0.025;
    QTest::newRow("dollar bound") << u"9345797392523"_s << 9345797392523.0;
    QTest::newRow("largest finite double")
        << u"1.7976931348623157e308"_s << std::numeric_limits<double>::max();
    QTest::newRow("subnormal") << u"4.9e-324"_s << std::numeric_limits<double>::denorm_min();
    QTest::newRow("any white space around") << u"\u300012\n"_s << 12.0;
    QTest::newRow("a hundred thousand digits of zero") << QString(100000, u'0') << 0.0;
}

void tst_Conversion::parsesNumbers()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const std::optional<double> value = parseNumber(text);
    QVERIFY(value.has_value());
    QCOMPARE(*value, expected);
}

void tst_Conversion::refusesWhatIsNotANumber_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString();
    QTest::newRow("blanks only") << u"   "_s;
    QTest::newRow("sign only") << u"-"_s;
    QTest::newRow("point only") << u"."_s;
    QTest::newRow("infinity") << u"inf"_s;
    QTest::newRow("spelled infinity") << u"Infinity"_s;
    QTest::newRow("not a number") << u"nan"_s;
    QTest::newRow("overflow") << u"1e400"_s;
    QTest::newRow("overflow by digits") << QString(401, u'9');
    QTest::newRow("too small for a double") << u"1e-400"_s;
    QTest::newRow("hexadecimal") << u"0x10"_s;
    QTest::newRow("thousands separator") << u"1,000"_s;
    QTest::newRow("decimal comma") << u"1,5"_s;
    QTest::newRow("full-width digits") << u"１２０"_s;
    QTest::newRow("two signs") << u"+-1"_s;
    QTest::newRow("exponent without digits") << u"1e"_s;
    QTest::newRow("exponent without mantissa") << u"e5"_s;
    QTest::newRow("trailing letter") << u"12a"_s;
    QTest::newRow("inner blank") << u"1 2"_s;
    QTest::newRow("two points") << u"1.2.3"_s;
    QTest::newRow("control character") << u"1\u00012"_s;
}

void tst_Conversion::refusesWhatIsNotANumber()
{
    QFETCH(QString, text);
    QCOMPARE(parseNumber(text), std::nullopt);
}

// ctest runs this test in a German locale (LC_ALL=de_DE.UTF-8), which QLocale::system()
// follows; Qt's default locale is German too. Both write and read 1,5 for one and a half.
void tst_Conversion::parsingIgnoresTheUserLocale()
{
    QCOMPARE(QLocale::system().decimalPoint(), u","_s);
    QCOMPARE(QLocale().decimalPoint(), u","_s);
    QCOMPARE(parseNumber(u"1.5"), 1.5);
    QCOMPARE(parseNumber(u"1,5"), std::nullopt);
    QCOMPARE(formatNumber(1.5), u"1.5"_s);
}

void tst_Conversion::formatsResults_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole number") << 600.0 << u"600"_s;
    QTest::newRow("one over one hundred twenty") << 100.0 / 120.0 << u"0.833333333333333"_s;
    QTest::newRow("negative zero is zero") << -0.0 << u"0"_s;
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative fraction") << -2.5 << u"-2.5"_s;
    QTest::newRow("smallest plain magnitude") << 0.0001 << u"0.0001"_s;
    QTest::newRow("below plain magnitudes") << 0.000001 << u"1e-06"_s;
    QTest::newRow("largest plain magnitude") << 999999999999999.0 << u"999999999999999"_s;
    QTest::newRow("rounds up into scientific") << 999999999999999.9 << u"1e+15"_s;
    QTest::newRow("dollar bound times five hundred")
        << 9345797392523.0 * 500 << u"4.6728986962615e+15"_s;
    QTest::newRow("yen bound over ten") << 1.04e18 / 10 << u"1.04e+17"_s;
    QTest::newRow("three-digit exponent") << 1.5e300 << u"1.5e+300"_s;
    QTest::newRow("subnormal") << 5e-324 << u"4.94065645841247e-324"_s;
    QTest::newRow("fifteen digits kept") << 1234567.891234567 << u"1234567.89123457"_s;
    QTest::newRow("trailing zeros dropped") << 12.5000 << u"12.5"_s;
    QTest::newRow("zeros after a small fraction") << 0.0012 << u"0.0012"_s;
    QTest::newRow("a third") << 1.0 / 3.0 << u"0.333333333333333"_s;
    QTest::newRow("rounded to fifteen digits") << 123456789012345.6 << u"123456789012346"_s;
    QTest::newRow("tiny and negative") << -3.14159e-250 << u"-3.14159e-250"_s;
    QTest::newRow("huge") << 1.79769313486231e308 << u"1.79769313486231e+308"_s;
    QTest::newRow("just below a plain magnitude")
        << 9.99999999999999e-7 << u"9.99999999999999e-07"_s;
}

void tst_Conversion::formatsResults()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatNumber(value), expected);
    // What is shown reads back as the value, to fifteen digits.
    const std::optional<double> back = parseNumber(expected);
    QVERIFY(back.has_value());
    QVERIFY(std::abs(*back - value) <= std::abs(value) * 1e-14);
}

void tst_Conversion::typedCharacters_data()
{
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<bool>("typed");

    QTest::newRow("arrow keys carry no text") << QString() << false;
    QTest::newRow("Delete carries DEL on X11") << u"\x7f"_s << false;
    QTest::newRow("a digit") << u"7"_s << true;
    QTest::newRow("backspace") << u"\b"_s << true;
    QTest::newRow("Enter") << u"\r"_s << true;
    QTest::newRow("Ctrl+V") << u"\x16"_s << true;
}

void tst_Conversion::typedCharacters()
{
    QFETCH(QString, keyText);
    QFETCH(bool, typed);
    QCOMPARE(isTypedCharacter(keyText), typed);
}

void tst_Conversion::digitFieldsKeepDigitsAndBackspace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("dropped");

    QTest::newRow("digits pass") << u"0123456789"_s << u"0123456789"_s << 0;
    QTest::newRow("backspace passes") << u"\b"_s << u"\b"_s << 0;
    QTest::newRow("a letter between digits") << u"1a2"_s << u"12"_s << 1;
    QTest::newRow("point, minus and blank") << u".- "_s << QString() << 3;
    QTest::newRow("Enter, Escape and clipboard keys") << u"\r\x1b\x03\x16\x18"_s << QString() << 5;
    QTest::newRow("full-width digits from an input method") << u"１２3"_s << u"3"_s << 2;
    QTest::newRow("kana") << u"えん"_s << QString() << 2;
    QTest::newRow("a character beyond the BMP is one character")
        << u"1\U0001F4B42"_s << u"12"_s << 1;
    QTest::newRow("a lone surrogate") << QString(QChar(0xD800)) << QString() << 1;
    QTest::newRow("DEL") << u"\x7f"_s << QString() << 1;
}

void tst_Conversion::digitFieldsKeepDigitsAndBackspace()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(int, dropped);
    const FilteredText filtered = filterDigitFieldText(text);
    QCOMPARE(filtered.kept, kept);
    QCOMPARE(filtered.dropped, dropped);
}

void tst_Conversion::stepsCountFromTheShownRate_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("spinnerValue");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("expected");

    QTest::newRow("up from the stored 100, not from the spinner's 10")
        << u"100"_s << 10 << 1 << 101;
    QTest::newRow("down from the shown rate") << u"250"_s << 10 << -1 << 249;
    QTest::newRow("a fraction rounds to the nearest whole") << u"120.6"_s << 10 << 1 << 122;
    QTest::newRow("half rounds away from zero") << u"120.5"_s << 10 << 0 << 121;
    QTest::newRow("above the range counts from the maximum") << u"900"_s << 10 << -1 << 499;
    QTest::newRow("below the range counts from the minimum") << u"3"_s << 10 << 1 << 11;
    QTest::newRow("a huge number counts from the maximum") << u"1e300"_s << 10 << -1 << 499;
    QTest::newRow("a negative number counts from the minimum") << u"-50"_s << 10 << 1 << 11;
    QTest::newRow("no number: the spinner's own value") << u"abc"_s << 57 << 1 << 58;
    QTest::newRow("empty: the spinner's own value") << QString() << 10 << 1 << 11;
    QTest::newRow("not finite: the spinner's own value") << u"inf"_s << 42 << -1 << 41;
}

void tst_Conversion::stepsCountFromTheShownRate()
{
    QFETCH(QString, shown);
    QFETCH(int, spinnerValue);
    QFETCH(int, steps);
    QFETCH(int, expected);
    QCOMPARE(steppedRate(shown, spinnerValue, steps, SpinnerRange {}), expected);
}

void tst_Conversion::noStepLeavesTheRange()
{
    const SpinnerRange range;
    for (const QString &shown : {u"500"_s, u"499.7"_s, u"10"_s, u"10.2"_s, u"x"_s}) {
        for (int spinnerValue : {range.minimum, range.maximum}) {
            for (int steps : {-1000, -1, 1, 1000}) {
                const int rate = steppedRate(shown, spinnerValue, steps, range);
                QVERIFY2(rate >= range.minimum && rate <= range.maximum,
                    qPrintable(
                        u"%1 %2 %3 -> %4"_s.arg(shown).arg(spinnerValue).arg(steps).arg(rate)));
            }
        }
    }
    QCOMPARE(steppedRate(u"500", 10, 1, range), 500);
    QCOMPARE(steppedRate(u"10", 10, -1, range), 10);
}

QTEST_GUILESS_MAIN(tst_Conversion)
#include "tst_conversion.moc"
