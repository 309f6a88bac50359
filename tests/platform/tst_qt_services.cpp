// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/qt_services.h"

#include "platform/client_frame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <tuple>

using namespace kavro;
using namespace Qt::StringLiterals;

// The desktop's own message box, found and answered while it is up, never left blocking.
class tst_QtServices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void messageBoxHasItsIconCaptionAndWindow_data();
    void messageBoxHasItsIconCaptionAndWindow();
    void titleBarClosesOnlyFromItsCloseBox_data();
    void titleBarClosesOnlyFromItsCloseBox();
};

void tst_QtServices::messageBoxHasItsIconCaptionAndWindow_data()
{
    QTest::addColumn<MessageStyle>("style");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QString>("shownCaption");

    QTest::newRow("style 0 without a caption: no icon, the application title")
        << MessageStyle::Plain << QString() << QMessageBox::NoIcon << u"KAVRO"_s;
    QTest::newRow("style 64 with a caption of its own: the information icon")
        << MessageStyle::Information << u"バージョン情報"_s << QMessageBox::Information
        << u"バージョン情報"_s;
}

void tst_QtServices::messageBoxHasItsIconCaptionAndWindow()
{
    QFETCH(MessageStyle, style);
    QFETCH(QString, caption);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QString, shownCaption);

    // The desktop's text size, which message boxes follow.
    const QFont saved = QApplication::font();
    QFont desktop = saved;
    desktop.setPointSizeF(15);
    QApplication::setFont(desktop);

    QWidget window;
    window.setGeometry(40, 40, 360, 180);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Another window is the active one: the box still belongs to the program's window.
    QWidget other;
    other.setGeometry(420, 300, 200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));

    QtServices services(u"KAVRO"_s);
    services.setWindow(&window);

    // What the box showed, read while it is up.
    std::optional<std::tuple<QMessageBox::Icon, QString, QString, QWidget *, QPoint, qreal>> shown;
    QTimer answer;
    answer.setInterval(10);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown = {box->icon(), box->windowTitle(), box->text(), box->parentWidget(),
            box->frameGeometry().center(), box->font().pointSizeF()};
        answer.stop();
        box->button(QMessageBox::Ok)->click();
    });
    answer.start();
    // Instead of hanging if the box never shows up where the test looks for it.
    QTimer::singleShot(10000, this, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });

    services.showMessage(u"計算できません。"_s, style, caption);
    QApplication::setFont(saved);

    QVERIFY(shown);
    const auto [shownIcon, shownTitle, text, parent, centre, pointSize] = *shown;
    QCOMPARE(shownIcon, icon);
    QCOMPARE(shownTitle, shownCaption);
    QCOMPARE(text, u"計算できません。"_s);
    QCOMPARE(parent, &window);
    QVERIFY2((centre - window.frameGeometry().center()).manhattanLength() <= 4,
        qPrintable(u"box centred at %1,%2"_s.arg(centre.x()).arg(centre.y())));
    QCOMPARE(pointSize, 15.0);
}

void tst_QtServices::titleBarClosesOnlyFromItsCloseBox_data()
{
    QTest::addColumn<QStyle::SubControl>("pressedOn");
    QTest::addColumn<QStyle::SubControl>("releasedOn");
    QTest::addColumn<bool>("closes");

    QTest::newRow("a click on the close box closes the window")
        << QStyle::SC_TitleBarCloseButton << QStyle::SC_TitleBarCloseButton << true;
    QTest::newRow("a click on the title leaves it open")
        << QStyle::SC_TitleBarLabel << QStyle::SC_TitleBarLabel << false;
    QTest::newRow("a press on the close box released on the title leaves it open")
        << QStyle::SC_TitleBarCloseButton << QStyle::SC_TitleBarLabel << false;
}

// The frame the program draws where the compositor draws none: above the window's own layout,
// which keeps its size.
void tst_QtServices::titleBarClosesOnlyFromItsCloseBox()
{
    QFETCH(QStyle::SubControl, pressedOn);
    QFETCH(QStyle::SubControl, releasedOn);
    QFETCH(bool, closes);

    QWidget window;
    window.setWindowTitle(u"$ to ¥ 通貨換算ツール Ver1.0"_s);
    auto *content = new QWidget;
    content->setFixedSize(350, 152);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins({});
    layout->addWidget(content);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QWidget *bar = addTitleBar(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(bar->geometry(), QRect(0, 0, 350, bar->height()));
    QVERIFY(bar->height() > 0);
    QCOMPARE(content->geometry(), QRect(0, bar->height(), 350, 152));
    QCOMPARE(window.size(), QSize(350, bar->height() + 152));

    QStyleOptionTitleBar option;
    option.initFrom(bar);
    option.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    option.subControls
        = QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarSysMenu | QStyle::SC_TitleBarCloseButton;
    const auto centreOf = [&](QStyle::SubControl control) {
        return bar->style()->subControlRect(QStyle::CC_TitleBar, &option, control, bar).center();
    };
    QTest::mousePress(bar, Qt::LeftButton, {}, centreOf(pressedOn));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, centreOf(releasedOn));
    QCOMPARE(window.isVisible(), !closes);
}

QTEST_MAIN(tst_QtServices)
#include "tst_qt_services.moc"
