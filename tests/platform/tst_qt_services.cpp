#include "platform/qt_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace kavro;
using namespace Qt::StringLiterals;

// The desktop's own message box, found and answered while it is up, never left blocking.
class tst_QtServices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void messageBoxHasItsIconCaptionAndWindow_data();
    void messageBoxHasItsIconCaptionAndWindow();
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

    struct
    {
        bool seen = false;
        QMessageBox::Icon icon {};
        QString caption;
        QString text;
        QWidget *parent = nullptr;
        QPoint centre;
        qreal pointSize = 0;
    } shown;
    QTimer answer;
    answer.setInterval(10);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown = {true, box->icon(), box->windowTitle(), box->text(), box->parentWidget(),
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

    QVERIFY(shown.seen);
    QCOMPARE(shown.icon, icon);
    QCOMPARE(shown.caption, shownCaption);
    QCOMPARE(shown.text, u"計算できません。"_s);
    QCOMPARE(shown.parent, &window);
    QVERIFY2((shown.centre - window.frameGeometry().center()).manhattanLength() <= 4,
        qPrintable(u"box centred at %1,%2"_s.arg(shown.centre.x()).arg(shown.centre.y())));
    QCOMPARE(shown.pointSize, 15.0);
}

QTEST_MAIN(tst_QtServices)
#include "tst_qt_services.moc"
