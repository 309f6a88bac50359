// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/client_frame.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTitleBar>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace kavro {

namespace {

// Drawn by the style as it draws the title bar of a window inside a window (CC_TitleBar), so it
// looks like the rest of the program; a press on it moves the window, the close box closes it.
class TitleBar final : public QWidget
{
public:
    explicit TitleBar(QWidget *window)
        : QWidget(window)
    {
        setObjectName(QStringLiteral("ClientTitleBar"));
        // The menus and the controls keep the keyboard; the frame never takes it.
        setFocusPolicy(Qt::NoFocus);
        window->installEventFilter(this);
    }

    int barHeight() const { return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
            setGeometry(0, 0, window()->width(), barHeight());
            break;
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
        case QEvent::ActivationChange:
            update();
            break;
        default:
            break;
        }
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent *) override
    {
        const QStyleOptionTitleBar option = styleOption();
        QPainter painter(this);
        style()->drawComplexControl(QStyle::CC_TitleBar, &option, &painter, this);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        if (onCloseBox(event->position().toPoint())) {
            m_closePressed = true;
            update();
        } else if (QWindow *handle = window()->windowHandle()) {
            handle->startSystemMove();
        }
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (!std::exchange(m_closePressed, false))
            return;
        update();
        if (event->button() == Qt::LeftButton && onCloseBox(event->position().toPoint()))
            window()->close();
    }

private:
    QStyleOptionTitleBar styleOption() const
    {
        QStyleOptionTitleBar option;
        option.initFrom(this);
        option.text = window()->windowTitle();
        option.icon = window()->windowIcon();
        option.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
        option.subControls = QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarSysMenu
            | QStyle::SC_TitleBarCloseButton;
        if (m_closePressed) {
            option.activeSubControls = QStyle::SC_TitleBarCloseButton;
            option.state |= QStyle::State_Sunken;
        }
        if (window()->isActiveWindow()) {
            // Styles read the window's activity from the title bar's own state word.
            option.state |= QStyle::State_Active;
            option.titleBarState = QStyle::State_Active;
            option.palette.setCurrentColorGroup(QPalette::Active);
        } else {
            option.state &= ~QStyle::State_Active;
            option.palette.setCurrentColorGroup(QPalette::Inactive);
        }
        return option;
    }

    bool onCloseBox(QPoint position) const
    {
        const QStyleOptionTitleBar option = styleOption();
        return style()->hitTestComplexControl(QStyle::CC_TitleBar, &option, position, this)
            == QStyle::SC_TitleBarCloseButton;
    }

    bool m_closePressed = false;
};

} // namespace

bool clientDrawsItsFrame()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void prepareClientFrames()
{
    // Read by Qt's Wayland plugin alone, when it starts; other platforms never look.
    qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
}

void addClientFrame(QWidget *window)
{
    if (clientDrawsItsFrame())
        addTitleBar(window);
}

QWidget *addTitleBar(QWidget *window)
{
    // Nothing of the compositor's either: a compositor that offers to draw frames is not asked.
    window->setWindowFlag(Qt::FramelessWindowHint);
    auto *bar = new TitleBar(window);
    // The window's layout keeps to the space below the bar, and its size hints grow by it.
    window->setContentsMargins(0, bar->barHeight(), 0, 0);
    bar->setGeometry(0, 0, window->width(), bar->barHeight());
    return bar;
}

} // namespace kavro
