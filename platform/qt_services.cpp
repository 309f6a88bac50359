// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/qt_services.h"

#include "platform/client_frame.h"

#include <QApplication>
#include <QMessageBox>

namespace kavro {

QtServices::QtServices(const QString &applicationTitle)
    : m_applicationTitle(applicationTitle)
{
}

void QtServices::showMessage(const QString &text, MessageStyle style, const QString &caption)
{
    const QMessageBox::Icon icon
        = style == MessageStyle::Information ? QMessageBox::Information : QMessageBox::NoIcon;
    QMessageBox box(
        icon, caption.isEmpty() ? m_applicationTitle : caption, text, QMessageBox::Ok, m_window);
    addClientFrame(&box);
    box.exec();
    // Window managers that keep taskbar-less windows out of their own focus choices (openbox)
    // would leave the keyboard nowhere once the box is gone: ask for it back.
    if (m_window)
        m_window->activateWindow();
}

void QtServices::beep()
{
    QApplication::beep();
}

void QtServices::endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace kavro
