// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace kavro {

enum class MessageStyle {
    Plain = 0, // OK button, no icon
    Information = 64, // information icon, OK button
};

// What the window needs of the desktop that a test must be able to intercept.
class Services
{
public:
    virtual ~Services() = default;

    // Modal; returns when the user presses OK. An empty caption means the application title.
    virtual void showMessage(
        const QString &text, MessageStyle style = MessageStyle::Plain, const QString &caption = {})
        = 0;
    virtual void beep() = 0;
    // Ends the program at once with exit status 0; no further handler runs.
    virtual void endProgram() = 0;
};

} // namespace kavro
