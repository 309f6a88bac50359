// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/texts.h"
#include "ui/application.h"
#include "ui/fields.h"
#include "support/window_fixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>

using namespace kavro;
using namespace kavro::test;
using namespace Qt::StringLiterals;

class tst_WindowInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init();
    void cleanup() { m.window.reset(); }

    void digitFieldsTakeOnlyDigits_data();
    void digitFieldsTakeOnlyDigits();
    void inputMethodTextIsFilteredPerCharacter();
    void editingKeysKeepTheirEffect();
    void tabFollowsTheDesignFromTheAmount();
    void rateFieldIgnoresEveryTypedCharacter();
    void currencyBoxIgnoresTypingButItemsCanBeChosen();
    void noInputMethodComposesInAnyField();
    void contextMenusShowNoShortcutTheFieldsDrop();

    void pastedTextIsReportedNeverShownAsInfOrNan_data();
    void pastedTextIsReportedNeverShownAsInfOrNan();

    void spinnerStepsFromTheShownRateWithinItsRange_data();
    void spinnerStepsFromTheShownRateWithinItsRange();
    void holdingAnArrowRepeats();
    void wheelStepsOnlyAFocusedRateField();
    void spinnerShowsItsFocus();
    void screenReaderCanStepTheRate();

private:
    static void press(QWidget *target, const QString &keys);
    QMenu *openContextMenu(const char *field);
    static QString fieldText(QWidget *field);
    QPoint arrow(bool up) const;
    WindowFixture m;
};

void tst_WindowInput::init()
{
    m.open();
    QVERIFY(m.show());
}

// Each character as one key press carrying it as its text, as X11 sends them: control
// characters with their own keys (DEL is Delete's text), any other character as a keyboard
// layout with kana or full-width digits on its keys would.
void tst_WindowInput::press(QWidget *target, const QString &keys)
{
    static const QHash<char16_t, Qt::Key> named {{0x1b, Qt::Key_Escape}, {u'\r', Qt::Key_Return},
        {u'\b', Qt::Key_Backspace}, {0x7f, Qt::Key_Delete}};
    for (const QChar c : keys) {
        const bool ctrl = c.unicode() < 0x20 && !named.contains(c.unicode()); // Ctrl+A is 0x01
        const Qt::Key key = ctrl ? Qt::Key(Qt::Key_A + c.unicode() - 1)
                                 : named.value(c.unicode(), Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::KeyAction::Click, target, key, QString(c),
            ctrl ? Qt::ControlModifier : Qt::NoModifier);
    }
}

void tst_WindowInput::digitFieldsTakeOnlyDigits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");

    // Which characters pass is tst_conversion's table; here, that each key is filtered.
    for (const char *f : {"Textmoto", "Textkekka"}) {
        QTest::addRow("%s: a letter between digits", f)
            << QString::fromLatin1(f) << u"1a2"_s << u"12"_s << 1;
        QTest::addRow("%s: kana and a full-width digit", f)
            << QString::fromLatin1(f) << u"円１9"_s << u"9"_s << 2;
    }
    // The clipboard holds digits, so a paste that got through would show.
    const struct
    {
        const char *name;
        char16_t key;
    } controls[] = {{"Escape", 0x1b}, {"Ctrl+A", 0x01}, {"Ctrl+C", 0x03}, {"Ctrl+V", 0x16},
        {"Ctrl+X", 0x18}, {"Ctrl+Z", 0x1a}, {"Enter, which does not calculate", u'\r'}};
    for (const auto &control : controls)
        QTest::addRow("%s", control.name)
            << u"Textmoto"_s << u"12"_s + QChar(control.key) << u"12"_s << 1;
}

void tst_WindowInput::digitFieldsTakeOnlyDigits()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);

    QGuiApplication::clipboard()->setText(u"999"_s);
    auto *edit = m.child<QLineEdit>(qPrintable(field));
    edit->setFocus();
    press(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(m.services.beeps, beeps);
    QVERIFY(m.services.messages.isEmpty());
    if (field == u"Textmoto"_s)
        QVERIFY(m.child<QLineEdit>("Textkekka")->text().isEmpty());
}

void tst_WindowInput::inputMethodTextIsFilteredPerCharacter()
{
    auto *edit = m.child<QLineEdit>("Textmoto");
    edit->setFocus();
    QInputMethodEvent composing(u"１２"_s, {});
    QApplication::sendEvent(edit, &composing);
    QCOMPARE(m.services.beeps, 0); // nothing is typed while composing

    QInputMethodEvent commit;
    commit.setCommitString(u"１２3"_s);
    QApplication::sendEvent(edit, &commit);
    QCOMPARE(edit->text(), u"3"_s);
    QCOMPARE(m.services.beeps, 2);
}

void tst_WindowInput::editingKeysKeepTheirEffect()
{
    auto *edit = m.child<QLineEdit>("Textmoto");
    edit->setFocus();
    QTest::keyClicks(edit, u"12345"_s);
    QTest::keyClick(edit, Qt::Key_Home);
    QCOMPARE(edit->cursorPosition(), 0);
    press(edit, u"\x7f"_s); // Delete, which must not beep
    QCOMPARE(edit->text(), u"2345"_s);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Left);
    press(edit, u"\b"_s);
    QCOMPARE(edit->text(), u"235"_s);
    QTest::keyClick(edit, Qt::Key_Right);
    QCOMPARE(edit->cursorPosition(), 3);
    QCOMPARE(m.services.beeps, 0);
}

// Tab takes the focus through the controls in the window's order, from the amount where it
// starts and round again, and is no typed character.
void tst_WindowInput::tabFollowsTheDesignFromTheAmount()
{
    const QStringList order {u"Textmoto"_s, u"Combo1"_s, u"Textkekka"_s, u"Command1"_s,
        u"Command3"_s, u"Command2"_s, u"Command5"_s, u"Text1"_s, u"Textmoto"_s};
    QStringList visited {QApplication::focusWidget()->objectName()};
    while (visited.size() < order.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), m.child("Text1"));
    QCOMPARE(m.services.beeps, 0);
}

void tst_WindowInput::rateFieldIgnoresEveryTypedCharacter()
{
    auto *rate = m.child<RateField>("Text1");
    rate->setFocus();
    QTest::keyClick(rate, Qt::Key_End);
    press(rate, u"5a.\b\x16"_s); // and Backspace, Ctrl+V
    QInputMethodEvent commit;
    commit.setCommitString(u"２"_s);
    QApplication::sendEvent(rate, &commit);
    QCOMPARE(rate->text(), u"100"_s);
    QCOMPARE(m.services.beeps, 0);
    QCOMPARE(m.store->writes, QStringList {u"100"_s});

    // Delete is not a typed character: the edit goes through and is saved.
    QTest::keyClick(rate, Qt::Key_Home);
    press(rate, u"\x7f"_s);
    QCOMPARE(rate->text(), u"00"_s);
    QCOMPARE(m.store->writes, QStringList({u"100"_s, u"00"_s}));
    // Down to nothing: an empty rate is a rate like any other, and is saved.
    press(rate, u"\x7f\x7f"_s);
    QCOMPARE(rate->text(), QString());
    QCOMPARE(m.store->writes, QStringList({u"100"_s, u"00"_s, u"0"_s, QString()}));
}

void tst_WindowInput::currencyBoxIgnoresTypingButItemsCanBeChosen()
{
    auto *combo = m.child<QComboBox>("Combo1");
    combo->setFocus();
    press(combo, u"EUR\r\b"_s);
    QInputMethodEvent commit;
    commit.setCommitString(u"日本円"_s);
    QApplication::sendEvent(combo, &commit);
    QCOMPARE(combo->currentText(), u"USAドル"_s);
    QCOMPARE(combo->count(), 2);
    QCOMPARE(m.services.beeps, 0);

    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), u"日本円"_s);
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(combo->currentText(), u"USAドル"_s);
    QCOMPARE(combo->count(), 2);
}

// What an input method (ibus, fcitx) asks the focused field before it composes: a Japanese
// one in kana mode would turn the digits typed into the amount into full-width ones.
void tst_WindowInput::noInputMethodComposesInAnyField()
{
    for (const char *field : {"Textmoto", "Textkekka", "Text1", "Combo1"}) {
        m.child(field)->setFocus();
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(QGuiApplication::focusObject(), &query);
        QVERIFY2(!query.value(Qt::ImEnabled).toBool(), field);
    }
}

// Ctrl+Z, Ctrl+A and the clipboard keys are control characters that every field drops: the
// menu offers its entries without them.
void tst_WindowInput::contextMenusShowNoShortcutTheFieldsDrop()
{
    for (const char *field : {"Textmoto", "Textkekka", "Text1", "Combo1"}) {
        QMenu *menu = openContextMenu(field);
        QVERIFY2(menu, field);
        QStringList entries;
        for (const QAction *action : menu->actions())
            if (!action->isSeparator())
                entries << action->text();
        menu->close();
        QVERIFY2(entries.size() >= 7, qPrintable(entries.join(u", "_s))); // undo to select all
        QVERIFY2(!entries.join(u' ').contains(u'\t'), qPrintable(entries.join(u", "_s)));
    }
}

void tst_WindowInput::pastedTextIsReportedNeverShownAsInfOrNan_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");

    const QString amount = u"Textmoto"_s;
    const QString rate = u"Text1"_s;
    // How each field takes a paste; which texts convert is the conversion's to test.
    QTest::newRow("a hundred thousand digits as the amount") << amount << QString(100000, u'9');
    QTest::newRow("control characters as the amount") << amount << u"1\x01\x1b2\r"_s;
    QTest::newRow("inf as the amount") << amount << u"inf"_s;
    QTest::newRow("nan as the rate") << rate << u"nan"_s;
    // Stored and read as the field holds it, not as shown (a blank for the line break).
    QTest::newRow("a rate with a line break") << rate << u"1\n2"_s;
    QTest::newRow("a rate that overflows the product") << rate << u"1e308"_s;
}

void tst_WindowInput::pastedTextIsReportedNeverShownAsInfOrNan()
{
    QFETCH(QString, field);
    QFETCH(QString, pasted);

    m.child<QLineEdit>("Textmoto")->setText(u"9000000000000"_s);
    QWidget *widget = m.child(qPrintable(field));
    QGuiApplication::clipboard()->setText(pasted);
    widget->setFocus();
    if (auto *spinBox = qobject_cast<QAbstractSpinBox *>(widget))
        spinBox->selectAll();
    else
        qobject_cast<QLineEdit *>(widget)->selectAll();
    // Paste as the user would, through the field's own context menu, which speaks Japanese
    // like the rest of the window.
    QMenu *menu = openContextMenu(qPrintable(field));
    QVERIFY(menu);
    QAction *paste = nullptr;
    QStringList entries;
    for (QAction *action : menu->actions()) {
        entries << action->text();
        if (action->text().startsWith(u"貼り付け(&P)"_s)) // Qt 6.4 gives these no object names
            paste = action;
    }
    QVERIFY2(paste && paste->isEnabled(), qPrintable(entries.join(u", "_s)));
    paste->trigger();
    menu->close();
    QCOMPARE(fieldText(widget), pasted);
    QCOMPARE(m.services.beeps, 0); // pasting is not typing

    QTest::mouseClick(m.child("Command5"), Qt::LeftButton);
    QCOMPARE(m.services.messages.size(), 1);
    QCOMPARE(m.services.messages.first().text, texts::conversionFailed());
    QVERIFY(m.child<QLineEdit>("Textkekka")->text().isEmpty());
    QVERIFY(m.child<QLineEdit>("Textmoto")->text().isEmpty());
    if (field == u"Text1"_s)
        QCOMPARE(m.store->writes.last(), pasted); // a pasted rate is saved like any other
}

QMenu *tst_WindowInput::openContextMenu(const char *field)
{
    QWidget *widget = m.child(field);
    auto *combo = qobject_cast<QComboBox *>(widget);
    QWidget *target = combo ? combo->lineEdit() : widget;
    const QPoint centre = target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, centre, target->mapToGlobal(centre));
    QApplication::sendEvent(target, &event);
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

QString tst_WindowInput::fieldText(QWidget *field)
{
    if (auto *rate = qobject_cast<RateField *>(field))
        return rate->text();
    return qobject_cast<QLineEdit *>(field)->text();
}

// Where the arrows are drawn: against the rate field's right edge, the upper and lower half.
QPoint tst_WindowInput::arrow(bool up) const
{
    const QWidget *rate = m.child("Text1");
    return {rate->width() - 6, up ? 4 : rate->height() - 5};
}

void tst_WindowInput::spinnerStepsFromTheShownRateWithinItsRange_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("steps"); // arrows clicked (u, d), keys in the field (U, D)
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("writes"); // the first is start-up's

    QTest::newRow("arrows from the shown 100")
        << u"100"_s << u"uuud"_s << u"102"_s
        << QStringList({u"100"_s, u"101"_s, u"102"_s, u"103"_s, u"102"_s});
    QTest::newRow("Up and Down in the field")
        << u"100"_s << u"UUD"_s << u"101"_s
        << QStringList({u"100"_s, u"101"_s, u"102"_s, u"101"_s});
    // Further presses at the end of the range write nothing new.
    QTest::newRow("up from 499") << u"499"_s << u"uuu"_s << u"500"_s
                                 << QStringList({u"499"_s, u"500"_s});
    QTest::newRow("down from 11") << u"11"_s << u"ddd"_s << u"10"_s
                                  << QStringList({u"11"_s, u"10"_s});
    QTest::newRow("no number: from the spinner's value")
        << u"abc"_s << u"u"_s << u"11"_s << QStringList({u"abc"_s, u"11"_s});
}

void tst_WindowInput::spinnerStepsFromTheShownRateWithinItsRange()
{
    QFETCH(QString, stored);
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    QFETCH(QStringList, writes);

    m.open(std::make_unique<MemoryRateStore>(MemoryRateStore::holding(stored)));
    QVERIFY(m.show());
    auto *rate = m.child<RateField>("Text1");
    for (const QChar step : steps) {
        if (step.isUpper()) {
            rate->setFocus();
            QTest::keyClick(rate, step == u'U' ? Qt::Key_Up : Qt::Key_Down);
        } else
            QTest::mouseClick(rate, Qt::LeftButton, {}, arrow(step == u'u'));
    }
    QCOMPARE(rate->text(), shown);
    QCOMPARE(rate->value(), shown.toInt());
    QCOMPARE(m.store->writes, writes);
    QCOMPARE(m.services.beeps, 0);
}

void tst_WindowInput::holdingAnArrowRepeats()
{
    QWidget *spinner = m.child("Text1");
    QTest::mousePress(spinner, Qt::LeftButton, {}, arrow(true));
    QVERIFY(QTest::qWaitFor([this] { return m.child<RateField>("Text1")->text().toInt() >= 104; }));
    QTest::mouseRelease(spinner, Qt::LeftButton, {}, arrow(true));
    const QString afterRelease = m.child<RateField>("Text1")->text();
    // Long enough for two more repeats, had the release not stopped them.
    const int twoRepeats = 2 * spinner->style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate);
    QTest::qWait(twoRepeats);
    QCOMPARE(m.child<RateField>("Text1")->text(), afterRelease);

    // The button still down but the pointer off the arrow: the repeats stop as well.
    const int repeatingFrom = afterRelease.toInt() + 3;
    QTest::mousePress(spinner, Qt::LeftButton, {}, arrow(true));
    QVERIFY(QTest::qWaitFor(
        [&] { return m.child<RateField>("Text1")->text().toInt() >= repeatingFrom; }));
    const QPoint onTheText(4, spinner->height() / 2);
    QTest::mouseMove(spinner, onTheText);
    const QString afterLeaving = m.child<RateField>("Text1")->text();
    QTest::qWait(twoRepeats);
    QCOMPARE(m.child<RateField>("Text1")->text(), afterLeaving);
    QTest::mouseRelease(spinner, Qt::LeftButton, {}, onTheText);
}

void tst_WindowInput::wheelStepsOnlyAFocusedRateField()
{
    auto *rate = m.child<RateField>("Text1");
    const auto wheelUp = [rate] {
        const QPointF at = QRectF(rate->rect()).center();
        QWheelEvent wheel(at, rate->mapToGlobal(at), {}, {0, QWheelEvent::DefaultDeltasPerStep},
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel); // as from the window system, focus rules and all
        QApplication::sendEvent(rate, &wheel);
    };
    // Passing over the window on the way elsewhere.
    QVERIFY(!rate->hasFocus());
    wheelUp();
    QVERIFY(!rate->hasFocus());
    QCOMPARE(rate->text(), u"100"_s);
    QCOMPARE(m.store->writes, QStringList {u"100"_s});

    rate->setFocus();
    wheelUp();
    QCOMPARE(rate->text(), u"101"_s);
    QCOMPARE(m.store->writes, QStringList({u"100"_s, u"101"_s}));
}

void tst_WindowInput::spinnerShowsItsFocus()
{
    QWidget *spinner = m.child("Text1");
    const QImage unfocused = spinner->grab().toImage();
    m.child("Command5")->setFocus();
    QTest::keyClick(m.child("Command5"), Qt::Key_Tab);
    QVERIFY(spinner->hasFocus());
    QVERIFY(QAccessible::queryAccessibleInterface(spinner)->state().focused);
    QVERIFY(spinner->grab().toImage() != unfocused);
}

void tst_WindowInput::screenReaderCanStepTheRate()
{
    QAccessibleInterface *spinner = QAccessible::queryAccessibleInterface(m.child("Text1"));
    QVERIFY(spinner && spinner->valueInterface());
    QTest::keyClick(m.child("Text1"), Qt::Key_Up);
    QCOMPARE(spinner->valueInterface()->currentValue().toInt(), 101);
    spinner->valueInterface()->setCurrentValue(300);
    QCOMPARE(m.child<RateField>("Text1")->text(), u"300"_s);
    spinner->valueInterface()->setCurrentValue(9999);
    QCOMPARE(m.child<RateField>("Text1")->text(), u"500"_s);
    QCOMPARE(spinner->valueInterface()->minimumValue().toInt(), 10);
    QCOMPARE(spinner->valueInterface()->maximumValue().toInt(), 500);
}

QTEST_MAIN(tst_WindowInput)
#include "tst_window_input.moc"
