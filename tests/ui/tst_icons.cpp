// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

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
    void renderingsHaveTheirSizeAndATransparentBackground();
    void smallIconHasAtMost256Colours();
    void windowShowsTheRenderingsAtEverySize();
};

namespace {

QString rendering(int size)
{
    return u"%1/hicolor/%2x%2/apps/net.kavro.Kavro.png"_s.arg(QStringLiteral(ICON_DIR)).arg(size);
}

} // namespace

void tst_Icons::renderingsHaveTheirSizeAndATransparentBackground()
{
    for (const int size : {32, 64, 128}) {
        const QImage image(rendering(size));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(image.hasAlphaChannel());
        const int last = size - 1;
        for (const QPoint corner :
            {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        // Something is drawn: at least a quarter of the pixels are opaque.
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0;
        QVERIFY2(opaque > size * size / 4, qPrintable(QString::number(size)));
    }
}

void tst_Icons::smallIconHasAtMost256Colours()
{
    const QImage image(rendering(32));
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

void tst_Icons::windowShowsTheRenderingsAtEverySize()
{
    test::WindowFixture m;
    m.open();
    const QIcon icon = m.window->windowIcon();
    for (int size : {32, 64}) {
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        // The pixels compiled into the program are those of the committed rendering.
        const QImage shown = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
            QImage(rendering(size)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

QTEST_MAIN(tst_Icons)
#include "tst_icons.moc"
