// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/main_window.h"

#include "conversion/conversion.h"
#include "conversion/texts.h"
#include "platform/client_frame.h"
#include "platform/services.h"
#include "platform/x11_window.h"
#include "settings/rate_store.h"
#include "ui/fields.h"
#include "ui/fonts.h"
#include "ui/program_icon.h"

#include <QAccessible>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <limits>
#include <type_traits>

namespace kavro {

namespace {

// The layout is designed in twips; 15 twips make one logical pixel.
constexpr QRect fromTwips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

constexpr QSize kClientArea = fromTwips(0, 0, 5250, 2280).size();

// A title bar with the system menu and a close box; no minimize or maximize box.
constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
    | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

QLabel *makeLabel(
    QWidget *parent, const char *name, const QString &text, QRect geometry, qreal pointSize)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(fieldFont(pointSize));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFont(buttonFont());
    button->setAutoDefault(false);
    return button;
}

template <typename Field>
Field *makeField(QWidget *parent, const char *name, QRect geometry, qreal pointSize)
{
    auto *field = new Field(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(geometry);
    field->setFont(fieldFont(pointSize));
    if constexpr (std::is_base_of_v<QLineEdit, Field>)
        field->setMaxLength(std::numeric_limits<int>::max()); // Qt's default stops at 32767
    return field;
}

} // namespace

FormMain::FormMain(Services &services, RateStore &store, QWidget *parent)
    : QMainWindow(parent, kWindowFlags)
    , m_services(services)
    , m_store(store)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(texts::windowTitle());
    setWindowIcon(programIcon());
    buildMenus();
    buildControls();
    addClientFrame(this);
    // Under Wayland the compositor may still maximize the window (weston has keys for it), and
    // a window whose minimum and maximum size are equal cannot follow: the compositor ends the
    // program for it. There the window may grow, and leaves any maximized or full-screen
    // state at once (changeEvent).
    layout()->setSizeConstraint(
        clientDrawsItsFrame() ? QLayout::SetMinimumSize : QLayout::SetFixedSize);
    drawPastedCharacters(this); // a stored rate too
    load();
    m_textmoto->setFocus();
}

void FormMain::buildMenus()
{
    struct MenuEntry
    {
        const char *menuName;
        QString menuText;
        const char *itemName;
        QString itemText;
        void (FormMain::*handler)();
    };
    const MenuEntry entries[] = {
        {"mnuFile", texts::menuFile(), "mnuEnd", texts::menuEnd(), &FormMain::endProgram},
        {"mnuVisual", texts::menuVisual(), "mnuClar", texts::menuClear(), &FormMain::GoClar},
        {"mnuHelp", texts::menuHelp(), "mnuVer", texts::menuVersion(), &FormMain::ShowVersion},
    };
    for (const MenuEntry &entry : entries) {
        QMenu *menu = menuBar()->addMenu(entry.menuText);
        menu->setObjectName(QLatin1String(entry.menuName));
        QAction *item = menu->addAction(entry.itemText);
        item->setObjectName(QLatin1String(entry.itemName));
        connect(item, &QAction::triggered, this, entry.handler);
    }
}

void FormMain::buildControls()
{
    auto *client = new QWidget(this);
    client->setFixedSize(kClientArea);
    setCentralWidget(client);

    QLabel *label1
        = makeLabel(client, "Label1", texts::amountLabel(), fromTwips(120, 120, 3495, 375), 11.25);
    m_textmoto = makeField<DigitField>(client, "Textmoto", fromTwips(840, 480, 2895, 375), 12);
    m_combo1 = makeField<CurrencyBox>(client, "Combo1", fromTwips(3840, 480, 1335, 360), 12);
    m_textkekka = makeField<DigitField>(client, "Textkekka", fromTwips(840, 1440, 2895, 375), 12);
    QLabel *label2
        = makeLabel(client, "Label2", texts::resultLabel(), fromTwips(120, 1080, 1695, 375), 11.25);
    QPushButton *command1
        = makeButton(client, "Command1", texts::clearButton(), fromTwips(4080, 1440, 975, 255));
    QPushButton *command3
        = makeButton(client, "Command3", texts::versionButton(), fromTwips(4080, 1680, 975, 255));
    QPushButton *command2
        = makeButton(client, "Command2", texts::endButton(), fromTwips(4080, 1920, 975, 255));
    QPushButton *command5
        = makeButton(client, "Command5", texts::calculateButton(), fromTwips(4080, 960, 975, 375));
    // The field and the spinner against its right edge, as one spin box over both.
    m_text1 = makeField<RateField>(client, "Text1", fromTwips(4200, 0, 960, 375), 11.25);
    QLabel *label7
        = makeLabel(client, "Label7", texts::rateLabel(), fromTwips(3600, 0, 615, 375), 14.25);

    label1->setForegroundRole(QPalette::Highlight);
    label2->setForegroundRole(QPalette::Highlight);

    // Each field is named by the label in front of it, for screen readers.
    label1->setBuddy(m_textmoto);
    label2->setBuddy(m_textkekka);
    label7->setBuddy(m_text1);
    // The currency box has no label on screen; a hidden one names it, so that a screen reader
    // says what the box is before the item it shows.
    auto *currencyLabel = new QLabel(texts::currencyDescription(), client);
    currencyLabel->setObjectName(QStringLiteral("Combo1Label"));
    currencyLabel->setBuddy(m_combo1);
    currencyLabel->hide();
    m_combo1->setAccessibleDescription(texts::currencyDescription());
    m_combo1->lineEdit()->setAccessibleName(texts::currencyDescription());

    m_text1->setRange({.minimum = 10, .maximum = 500, .increment = 1});

    QWidget *tabOrder[]
        = {m_textmoto, m_combo1, m_textkekka, command1, command3, command2, command5, m_text1};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(command5, &QPushButton::clicked, this, &FormMain::command5Click);
    connect(command1, &QPushButton::clicked, this, &FormMain::GoClar);
    connect(command3, &QPushButton::clicked, this, &FormMain::ShowVersion);
    connect(command2, &QPushButton::clicked, this, &FormMain::endProgram);
    connect(m_text1, &RateField::textChanged, this, &FormMain::text1Change);
    for (DigitField *field : {m_textmoto, m_textkekka})
        connect(field, &DigitField::characterRejected, this, [this] { m_services.beep(); });
}

// The native window exists by now and is not yet mapped: the moment window-manager hints
// take effect, without creating the window early.
void FormMain::showEvent(QShowEvent *event)
{
    if (!m_windowHintsSet) {
        keepOffTaskbar(this);
        // Asked for, not left to the window manager: openbox gives a taskbar-less window no
        // focus of its own accord, and typing at start would go nowhere.
        activateWindow();
        m_windowHintsSet = true;
    }
    QMainWindow::showEvent(event);
}

void FormMain::changeEvent(QEvent *event)
{
    static constexpr Qt::WindowStates kSizedByOthers = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange) {
        if (windowState() & kSizedByOthers)
            QTimer::singleShot(
                0, this, [this] { setWindowState(windowState() & ~kSizedByOthers); });
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        const bool wasMinimized = change->oldState().testFlag(Qt::WindowMinimized);
        if (isMinimized() != wasMinimized)
            showOnTaskbarWhileMinimized(this, isMinimized());
    }
    QMainWindow::changeEvent(event);
}

void FormMain::load()
{
    m_combo1->addItem(texts::currencyDollar());
    m_combo1->addItem(texts::currencyYen());
    m_combo1->setCurrency(texts::currencyDollar());
    // Whatever comes back is shown as it is, number or not; the calculation reports a bad rate.
    // Showing it is a change of the rate field and so one write, which also repairs a file
    // that did not read cleanly.
    m_text1->setText(m_store.load());
}

void FormMain::command5Click()
{
    const Conversion conversion
        = convert(m_combo1->currentText(), m_textmoto->text(), m_text1->text());
    if (conversion.outcome == Outcome::Converted) {
        showFromStart(m_textkekka, conversion.resultText);
        announceResult();
        return;
    }
    m_services.showMessage(messageFor(conversion.outcome));
    m_textmoto->clear();
    m_textkekka->clear();
}

// A screen reader speaks the result without focus leaving 計算 and without a message the
// window does not show. Before Qt 6.8 no event does that: a text change is spoken only in
// the focused field, and Qt 6.4 sends name and description changes without their text.
void FormMain::announceResult()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(m_textkekka, m_textkekka->text());
    QAccessible::updateAccessibility(&announcement);
#endif
}

void FormMain::text1Change()
{
    m_store.save(m_text1->text());
}

void FormMain::GoClar()
{
    m_textmoto->clear();
    m_textkekka->clear();
    m_combo1->setCurrency(texts::currencyDollar());
}

void FormMain::ShowVersion()
{
    m_services.showMessage(
        texts::versionText(), MessageStyle::Information, texts::versionCaption());
}

void FormMain::endProgram()
{
    m_services.endProgram();
}

} // namespace kavro
