// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/input_rules.h"

#include <QTest>

using namespace kavro;
using namespace Qt::StringLiterals;

class tst_InputRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typedCharacters_data();
    void typedCharacters();
    void digitFieldsKeepDigitsAndBackspace_data();
    void digitFieldsKeepDigitsAndBackspace();
    void stepsCountFromTheShownRate_data();
    void stepsCountFromTheShownRate();
    void noStepLeavesTheRange();
};

void tst_InputRules::typedCharacters_data()
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

void tst_InputRules::typedCharacters()
{
    QFETCH(QString, keyText);
    QFETCH(bool, typed);
    QCOMPARE(isTypedCharacter(keyText), typed);
}

void tst_InputRules::digitFieldsKeepDigitsAndBackspace_data()
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

void tst_InputRules::digitFieldsKeepDigitsAndBackspace()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(int, dropped);
    const FilteredText filtered = filterDigitFieldText(text);
    QCOMPARE(filtered.kept, kept);
    QCOMPARE(filtered.dropped, dropped);
}

void tst_InputRules::stepsCountFromTheShownRate_data()
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

void tst_InputRules::stepsCountFromTheShownRate()
{
    QFETCH(QString, shown);
    QFETCH(int, spinnerValue);
    QFETCH(int, steps);
    QFETCH(int, expected);
    QCOMPARE(steppedRate(shown, spinnerValue, steps, SpinnerRange {}), expected);
}

void tst_InputRules::noStepLeavesTheRange()
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

QTEST_GUILESS_MAIN(tst_InputRules)
#include "tst_input_rules.moc"
