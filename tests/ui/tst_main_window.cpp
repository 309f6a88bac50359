// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/texts.h"
#include "support/window_fixture.h"
#include "ui/application.h"
#include "ui/fields.h"

#include <QAccessible>
#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QStyleOptionSpinBox>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

using namespace kavro;
using namespace kavro::test;
using namespace Qt::StringLiterals;

namespace {

// The program's icon as the desktop gets it, rendered at one size.
QString rendering(int size)
{
    return u"%1/hicolor/%2x%2/apps/net.kavro.Kavro.png"_s.arg(QStringLiteral(ICON_DIR)).arg(size);
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init() { m.open(); }
    void cleanup() { m.window.reset(); }

    void windowHasItsTitleFrameAndClientArea();
    void controlsSitWhereDesigned_data();
    void controlsSitWhereDesigned();
    void menusHaveAccessKeysAndNoShortcuts();
    void menusFollowTheDesktopsTextSizeButtonsKeepTheirs();
    void fieldsHaveNoLengthLimit();
    void screenReadersReadFieldsWholeAndTheBoxByItsLabel();
    void enterAndEscapePressNoButton();

    void startShowsTheStoredRateAndWritesItBack_data();
    void startShowsTheStoredRateAndWritesItBack();

    void calculates_data();
    void calculates();
    void previousResultStaysUntilReplaced();
    void commandsFromButtonAndMenu_data();
    void commandsFromButtonAndMenu();
    void closingTheWindowEndsTheProgram();

    void renderingsHaveTheirSizeAndATransparentBackground();
    void smallIconHasAtMost256Colours();
    void windowShowsTheRenderingsAtEverySize();

private:
    void trigger(const char *name);
    WindowFixture m;
};

void tst_MainWindow::trigger(const char *name)
{
    if (auto *button = m.child<QPushButton>(name))
        QTest::mouseClick(button, Qt::LeftButton);
    else if (auto *action = m.window->findChild<QAction *>(QLatin1String(name)))
        action->trigger();
    else
        QFAIL(name);
}

void tst_MainWindow::windowHasItsTitleFrameAndClientArea()
{
    QCOMPARE(m.window->windowTitle(), u"$ to \u00a5 通貨換算ツール Ver1.0"_s);
    const Qt::WindowFlags flags = m.window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::Tool)); // a tool window would outlive its closing
    QVERIFY(m.show());
    // Geometry is logical: a scaled screen draws the same layout with more pixels.
    const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
        ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
        : 1.0;
    QCOMPARE(m.window->devicePixelRatio(), scale);
    QCOMPARE(m.window->centralWidget()->size(), QSize(350, 152));
    QCOMPARE(m.window->centralWidget()->y(), m.window->menuBar()->height());
    QCOMPARE(m.window->minimumSize(), m.window->maximumSize());
    QCOMPARE(m.window->height(), 152 + m.window->menuBar()->height());
}

void tst_MainWindow::controlsSitWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<qreal>("pointSize"); // buttons: the desktop's face at 9 points

    const auto row = [](const char *name, QRect geometry, const QString &caption, qreal size) {
        QTest::newRow(name) << QString::fromLatin1(name) << geometry << caption << size;
    };
    row("Label1", {8, 8, 233, 25}, u"元の通貨の値段を入力してください。"_s, 11.25);
    row("Textmoto", {56, 32, 193, 25}, {}, 12);
    row("Combo1", {256, 32, 89, 24}, u"USAドル"_s, 12);
    row("Textkekka", {56, 96, 193, 25}, {}, 12);
    row("Label2", {8, 72, 113, 25}, u"計算結果の表示"_s, 11.25);
    row("Command1", {272, 96, 65, 17}, u"クリアー"_s, 9);
    row("Command3", {272, 112, 65, 17}, u"バージョン"_s, 9);
    row("Command2", {272, 128, 65, 17}, u"終了"_s, 9);
    row("Command5", {272, 64, 65, 25}, u"計算"_s, 9);
    row("Text1", {280, 0, 64, 25}, u"100"_s, 11.25); // with its spinner
    row("Label7", {240, 0, 41, 25}, u"相場"_s, 14.25);
}

void tst_MainWindow::controlsSitWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(qreal, pointSize);

    QVERIFY(m.show());
    QWidget *widget = m.child(qPrintable(name));
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), m.window->centralWidget());
    QCOMPARE(widget->geometry(), geometry);
    const QFont font = widget->font();
    QCOMPARE(font.pointSizeF(), pointSize);
    QVERIFY(!QFontInfo(font).fixedPitch());
    QVERIFY(QFontMetrics(font).inFontUcs4(U'ゴ')); // Japanese glyphs, not boxes
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), caption);
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect contents
            = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics(font);
        QVERIFY(metrics.horizontalAdvance(caption) <= contents.width()); // the caption fits
        QVERIFY(metrics.ascent() + metrics.descent() <= button->height());
        return;
    }
    QCOMPARE(font.families().value(0), u"ＭＳ Ｐゴシック"_s);
    QCOMPARE(font.weight(), QFont::Normal); // regular, neither bold nor light
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->foregroundRole(),
            name == u"Label7"_s ? QPalette::WindowText : QPalette::Highlight);
    } else if (auto *field = qobject_cast<QLineEdit *>(widget)) {
        QCOMPARE(field->text(), caption);
    } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
        QCOMPARE(box->currentText(), caption);
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(1), u"日本円"_s);
    } else if (auto *spinBox = qobject_cast<QAbstractSpinBox *>(widget)) {
        QCOMPARE(spinBox->text(), caption);
        // The arrows take the right edge, where the separate spinner was (x 328 to 344).
        QStyleOptionSpinBox option;
        option.initFrom(spinBox);
        option.frame = spinBox->hasFrame();
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
        const QRect up = spinBox->style()->subControlRect(
            QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, spinBox);
        QVERIFY2(up.left() + geometry.left() >= 324 && up.right() < geometry.width(),
            qPrintable(u"up arrow at x %1"_s.arg(up.left() + geometry.left())));
    }
}

void tst_MainWindow::menusHaveAccessKeysAndNoShortcuts()
{
    const QList<QAction *> menus = m.window->menuBar()->actions();
    const QStringList expected = {u"ファイル(&F)"_s, u"終了(&X)"_s, u"表示(&V)"_s,
        u"すべてクリア(&C)"_s, u"ヘルプ(&H)"_s, u"バージョン情報(&V)"_s};
    QStringList captions;
    QStringList names;
    for (QAction *menuAction : menus) {
        captions << menuAction->text();
        names << menuAction->menu()->objectName();
        const QList<QAction *> items = menuAction->menu()->actions();
        QCOMPARE(items.size(), 1);
        captions << items.first()->text();
        names << items.first()->objectName();
        QVERIFY(items.first()->shortcut().isEmpty());
    }
    QCOMPARE(captions, expected);
    QCOMPARE(names,
        QStringList(
            {u"mnuFile"_s, u"mnuEnd"_s, u"mnuVisual"_s, u"mnuClar"_s, u"mnuHelp"_s, u"mnuVer"_s}));
}

void tst_MainWindow::menusFollowTheDesktopsTextSizeButtonsKeepTheirs()
{
    // A desktop set to larger text, as the program finds it at start-up.
    const QFont saved = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(saved); });
    QFont large = saved;
    large.setPointSizeF(16);
    QApplication::setFont(large);
    setUpApplication();
    m.open();
    QVERIFY(m.show());

    for (QWidget *menu : {static_cast<QWidget *>(m.window->menuBar()),
             static_cast<QWidget *>(m.window->findChild<QMenu *>(u"mnuHelp"_s))}) {
        QCOMPARE(menu->font().pointSizeF(), 16.0);
        QVERIFY(QFontMetrics(menu->font()).inFontUcs4(U'ヘ')); // Japanese fallbacks kept
    }
    QCOMPARE(m.child("Command3")->font().pointSizeF(), 9.0);
    QCOMPARE(m.child("Textmoto")->font().pointSizeF(), 12.0);
    // The taller menu bar grows the window; the client area keeps its size.
    QCOMPARE(m.window->centralWidget()->size(), QSize(350, 152));
    QCOMPARE(m.window->height(), 152 + m.window->menuBar()->height());
}

void tst_MainWindow::fieldsHaveNoLengthLimit()
{
    const QString pasted(100000, u'9');
    for (const char *name : {"Textmoto", "Textkekka"}) {
        auto *field = m.child<QLineEdit>(name);
        field->setText(pasted);
        QCOMPARE(field->text().size(), pasted.size());
    }
    m.child<RateField>("Text1")->setText(pasted);
    QCOMPARE(m.child<RateField>("Text1")->text().size(), pasted.size());
}

void tst_MainWindow::screenReadersReadFieldsWholeAndTheBoxByItsLabel()
{
    const auto accessible
        = [this](const char *name) { return QAccessible::queryAccessibleInterface(m.child(name)); };
    // (Names, roles and the description as the bus shows them: tests/e2e/accessibility.py.)
    // The currency box is named by a label, hidden, before its item.
    const auto labels = accessible("Combo1")->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->text(QAccessible::Name), texts::currencyDescription());

    // Each field's text attributes are one run over the whole text: a screen reader that
    // joins runs reads the field whole.
    m.child<QLineEdit>("Textkekka")->setText(u"50000"_s);
    for (const char *name : {"Textmoto", "Textkekka", "Text1"}) {
        QAccessibleTextInterface *text = accessible(name)->textInterface();
        QVERIFY2(text, name);
        for (int offset = 0; offset < text->characterCount(); ++offset) {
            int start = -1;
            int end = -1;
            text->attributes(offset, &start, &end);
            QCOMPARE(start, 0);
            QCOMPARE(end, text->characterCount());
        }
        QCOMPARE(text->text(0, text->characterCount()), accessible(name)->text(QAccessible::Value));
    }
}

void tst_MainWindow::enterAndEscapePressNoButton()
{
    QVERIFY(m.show());
    for (const char *name : {"Command5", "Command3", "Command2", "Command1"}) {
        auto *button = m.child<QPushButton>(name);
        QVERIFY(!button->isDefault() && !button->autoDefault());
        button->setFocus();
        QSignalSpy clicks(button, &QPushButton::clicked);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Enter);
        QTest::keyClick(button, Qt::Key_Escape);
        QCOMPARE(clicks.size(), 0);
    }
    QVERIFY(m.window->isVisible());
    QVERIFY(m.services.messages.isEmpty());
    QCOMPARE(m.services.endRequests, 0);
}

void tst_MainWindow::startShowsTheStoredRateAndWritesItBack_data()
{
    QTest::addColumn<QString>("stored"); // null: nothing stored yet
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("converts");
    QTest::newRow("first run: the default") << QString() << u"100"_s << true;
    QTest::newRow("a rate") << u"250"_s << u"250"_s << true;
    // Shown with blanks for the control characters; stored and read as they are.
    QTest::newRow("a line break and a tab") << u"1\n2\t3"_s << u"1\n2\t3"_s << false;
    QTest::newRow("letters") << u"abc"_s << u"abc"_s << false;
    QTest::newRow("a fraction") << u"120.5"_s << u"120.5"_s << true;
    QTest::newRow("beyond 16 bits") << u"70000"_s << u"70000"_s << true;
    QTest::newRow("ten thousand nines, too large for a double")
        << QString(10000, u'9') << QString(10000, u'9') << false;
}

// Showing the stored rate is a change of the field like any other: it is written back once.
void tst_MainWindow::startShowsTheStoredRateAndWritesItBack()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(bool, converts);
    m.open(stored.isNull() ? std::make_unique<MemoryRateStore>()
                           : std::make_unique<MemoryRateStore>(MemoryRateStore::holding(stored)));
    QCOMPARE(m.child<RateField>("Text1")->text(), shown);
    QCOMPARE(m.store->writes, QStringList {shown});
    m.child<QLineEdit>("Textmoto")->setText(u"5"_s);
    trigger("Command5");
    QCOMPARE(m.services.messages.size(), converts ? 0 : 1);
    if (!converts)
        QCOMPARE(m.services.messages.first().text, texts::conversionFailed());
}

void tst_MainWindow::calculates_data()
{
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("result"); // empty when a message is expected
    QTest::addColumn<QString>("message");

    const QString dollar = texts::currencyDollar();
    const QString failed = texts::conversionFailed();

    // One row per way the window answers; the arithmetic and bounds are the conversion's.
    QTest::newRow("dollars to yen") << dollar << u"5"_s << u"120"_s << u"600"_s << QString();
    QTest::newRow("dollar amount just above the bound")
        << dollar << u"9345797392524"_s << u"120"_s << QString() << texts::dollarAboveBound();
    QTest::newRow("non-numeric rate") << dollar << u"5"_s << u"abc"_s << QString() << failed;
}

void tst_MainWindow::calculates()
{
    QFETCH(QString, currency);
    QFETCH(QString, amount);
    QFETCH(QString, rate);
    QFETCH(QString, result);
    QFETCH(QString, message);

    auto *combo = m.child<QComboBox>("Combo1");
    auto *textmoto = m.child<QLineEdit>("Textmoto");
    auto *textkekka = m.child<QLineEdit>("Textkekka");
    auto *text1 = m.child<RateField>("Text1");
    combo->setEditText(currency);
    textmoto->setText(amount);
    text1->setText(rate);
    textkekka->setText(u"old"_s);
    const QStringList writesBefore = m.store->writes;
    QStringList shownBehindTheMessage;
    m.services.whileShown = [&] { shownBehindTheMessage << textmoto->text() << textkekka->text(); };

    trigger("Command5");

    if (message.isEmpty()) {
        QVERIFY(m.services.messages.isEmpty());
        QCOMPARE(textkekka->text(), result);
        QCOMPARE(textmoto->text(), amount);
    } else {
        QCOMPARE(m.services.messages.size(), 1);
        QCOMPARE(m.services.messages.first().text, message);
        QCOMPARE(m.services.messages.first().style, MessageStyle::Plain);
        QVERIFY(m.services.messages.first().caption.isEmpty()); // the application title
        // The fields are emptied once the message has been read, not before.
        QCOMPARE(shownBehindTheMessage, QStringList({amount, u"old"_s}));
        QVERIFY(textmoto->text().isEmpty());
        QVERIFY(textkekka->text().isEmpty());
    }
    QCOMPARE(combo->currentText(), currency);
    QCOMPARE(text1->text(), rate);
    QCOMPARE(m.store->writes, writesBefore);
    QVERIFY(!textkekka->text().contains(u"inf"_s) && !textkekka->text().contains(u"nan"_s));
}

void tst_MainWindow::previousResultStaysUntilReplaced()
{
    auto *textmoto = m.child<QLineEdit>("Textmoto");
    auto *textkekka = m.child<QLineEdit>("Textkekka");
    textmoto->setText(u"5"_s);
    trigger("Command5");
    QCOMPARE(textkekka->text(), u"500"_s);
    textmoto->setText(u"6"_s);
    QCOMPARE(textkekka->text(), u"500"_s); // editing the amount does not touch it
    m.child<RateField>("Text1")->setText(u"110"_s);
    QCOMPARE(textkekka->text(), u"500"_s);
    trigger("Command5");
    QCOMPARE(textkekka->text(), u"660"_s);
}

void tst_MainWindow::commandsFromButtonAndMenu_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("does"); // clear, version or end
    for (const auto &[button, item, does] :
        {std::tuple {"Command1", "mnuClar", "clear"}, std::tuple {"Command3", "mnuVer", "version"},
            std::tuple {"Command2", "mnuEnd", "end"}}) {
        QTest::addRow("%s button", does)
            << QString::fromLatin1(button) << QString::fromLatin1(does);
        QTest::addRow("%s menu item", does)
            << QString::fromLatin1(item) << QString::fromLatin1(does);
    }
}

// Clear resets the fields and the currency but not the rate; the version box is style 64 with
// its own caption; end asks the runtime to end. None writes the store.
void tst_MainWindow::commandsFromButtonAndMenu()
{
    QFETCH(QString, command);
    QFETCH(QString, does);
    auto *combo = m.child<QComboBox>("Combo1");
    combo->setCurrentIndex(1);
    m.child<QLineEdit>("Textmoto")->setText(u"100"_s);
    trigger("Command5");
    QCOMPARE(m.child<QLineEdit>("Textkekka")->text(), u"1"_s);

    trigger(qPrintable(command));
    const bool clear = does == u"clear"_s;
    QCOMPARE(m.child<QLineEdit>("Textmoto")->text().isEmpty(), clear);
    QCOMPARE(m.child<QLineEdit>("Textkekka")->text().isEmpty(), clear);
    QCOMPARE(combo->currentIndex(), clear ? 0 : 1);
    QCOMPARE(combo->currentText(), clear ? u"USAドル"_s : u"日本円"_s);
    QCOMPARE(m.services.endRequests, does == u"end"_s ? 1 : 0);
    QCOMPARE(m.services.messages.size(), does == u"version"_s ? 1 : 0);
    if (does == u"version"_s) {
        const RecordingServices::Message shown = m.services.messages.first();
        QCOMPARE(shown.caption, u"バージョン情報"_s);
        QCOMPARE(shown.style, MessageStyle::Information);
        QCOMPARE(shown.text, texts::versionText());
    }
    QCOMPARE(m.child<RateField>("Text1")->text(), u"100"_s);
    QCOMPARE(m.store->writes, QStringList {u"100"_s});
}

void tst_MainWindow::closingTheWindowEndsTheProgram()
{
    QVERIFY(m.show());
    QTimer::singleShot(0, m.window.get(), &QWidget::close);
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); }); // instead of hanging
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m.window->isVisible());
}

void tst_MainWindow::renderingsHaveTheirSizeAndATransparentBackground()
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

void tst_MainWindow::smallIconHasAtMost256Colours()
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

void tst_MainWindow::windowShowsTheRenderingsAtEverySize()
{
    const QIcon icon = m.window->windowIcon();
    for (int size : {32, 64}) {
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        // The pixels compiled into the program are those of the committed rendering.
        const QImage shown = icon.pixmap(QSize(size, size), 1.0).toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
            QImage(rendering(size)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

QTEST_MAIN(tst_MainWindow)
#include "tst_main_window.moc"
