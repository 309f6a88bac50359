// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/number_text.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using kavro::formatNumber;
using kavro::parseNumber;
using namespace Qt::StringLiterals;

class tst_NumberText : public QObject
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
};

void tst_NumberText::parsesNumbers_data()
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

void tst_NumberText::parsesNumbers()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const std::optional<double> value = parseNumber(text);
    QVERIFY(value.has_value());
    QCOMPARE(*value, expected);
}

void tst_NumberText::refusesWhatIsNotANumber_data()
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

void tst_NumberText::refusesWhatIsNotANumber()
{
    QFETCH(QString, text);
    QCOMPARE(parseNumber(text), std::nullopt);
}

// ctest runs this test in a German locale (LC_ALL=de_DE.UTF-8), which QLocale::system()
// follows; Qt's default locale is German too. Both write and read 1,5 for one and a half.
void tst_NumberText::parsingIgnoresTheUserLocale()
{
    QCOMPARE(QLocale::system().decimalPoint(), u","_s);
    QCOMPARE(QLocale().decimalPoint(), u","_s);
    QCOMPARE(parseNumber(u"1.5"), 1.5);
    QCOMPARE(parseNumber(u"1,5"), std::nullopt);
    QCOMPARE(formatNumber(1.5), u"1.5"_s);
}

void tst_NumberText::formatsResults_data()
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

void tst_NumberText::formatsResults()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatNumber(value), expected);
    // What is shown reads back as the value, to fifteen digits.
    const std::optional<double> back = parseNumber(expected);
    QVERIFY(back.has_value());
    QVERIFY(std::abs(*back - value) <= std::abs(value) * 1e-14);
}

QTEST_GUILESS_MAIN(tst_NumberText)
#include "tst_number_text.moc"
