#include "support/window_fixture.h"

#include <QIcon>
#include <QImage>

#include <algorithm>
#include <cstdlib>

using namespace kavro;
using namespace Qt::StringLiterals;

// The program's icon as the window and the desktop get it.
class tst_Icons : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void renderingsHaveTheirSizeAndATransparentBackground_data();
    void renderingsHaveTheirSizeAndATransparentBackground();
    void classicIconHasAtMost256Colours();
    void windowOffersEverySize();
};

void tst_Icons::renderingsHaveTheirSizeAndATransparentBackground_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("32") << 32;
    QTest::newRow("64") << 64;
    QTest::newRow("128") << 128;
}

void tst_Icons::renderingsHaveTheirSizeAndATransparentBackground()
{
    QFETCH(int, size);
    const QImage image(u":/icons/kavro-%1.png"_s.arg(size));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    const int last = size - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);
    // Something is drawn: at least a quarter of the pixels are opaque.
    int opaque = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            opaque += qAlpha(image.pixel(x, y)) > 0;
    QVERIFY(opaque > size * size / 4);
}

void tst_Icons::classicIconHasAtMost256Colours()
{
    const QImage image(u":/icons/kavro-32.png"_s);
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() <= 256);
    // Yellow, magenta and cyan are all there, give or take the palette's rounding.
    const auto present = [&](QRgb wanted) {
        const QList<QRgb> table = image.colorTable();
        return std::any_of(table.begin(), table.end(), [wanted](QRgb c) {
            return qAlpha(c) == 255 && std::abs(qRed(c) - qRed(wanted)) < 40
                && std::abs(qGreen(c) - qGreen(wanted)) < 40
                && std::abs(qBlue(c) - qBlue(wanted)) < 40;
        });
    };
    QVERIFY(present(qRgb(255, 255, 0)));
    QVERIFY(present(qRgb(255, 0, 255)));
    QVERIFY(present(qRgb(0, 255, 255)));
}

void tst_Icons::windowOffersEverySize()
{
    test::WindowFixture m;
    m.open();
    const QList<QSize> sizes = m.window->windowIcon().availableSizes();
    for (int size : {32, 64, 128})
        QVERIFY(sizes.contains(QSize(size, size)));
}

QTEST_MAIN(tst_Icons)
#include "tst_icons.moc"
