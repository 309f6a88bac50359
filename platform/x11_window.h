// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

class QWidget;

namespace kavro {

// Keeps a top-level window off the taskbar under X11 (_NET_WM_STATE_SKIP_TASKBAR), which no
// Qt window flag does. Call once the native window exists and before it is mapped (from the
// first show event); does nothing on other platforms.
void keepOffTaskbar(QWidget *window);

// Where a window manager minimizes the window all the same (openbox's frame always has the box;
// KWin offers it to every window that takes the keyboard), the window shows on the taskbar
// while it is minimized, so that it can be found again, and leaves it once restored. For a
// mapped window; does nothing on other platforms.
void showOnTaskbarWhileMinimized(QWidget *window, bool minimized);

} // namespace kavro
