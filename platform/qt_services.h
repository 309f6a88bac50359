// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/services.h"

#include <QPointer>
#include <QWidget>

namespace kavro {

// The desktop's own message box, bell and end of program.
class QtServices final : public Services
{
public:
    // The title is the caption of every message box shown without one of its own.
    explicit QtServices(const QString &applicationTitle);

    // Message boxes belong to this window: centred over it, whatever window is active.
    void setWindow(QWidget *window) { m_window = window; }

    void showMessage(const QString &text, MessageStyle style, const QString &caption) override;
    void beep() override;
    void endProgram() override;

private:
    QString m_applicationTitle;
    QPointer<QWidget> m_window;
};

} // namespace kavro
