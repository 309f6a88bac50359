// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

class QWidget;

namespace kavro {

// Keeps a top-level window off the taskbar under X11 (_NET_WM_STATE_SKIP_TASKBAR), which no
// Qt window flag does. Call once the native window exists and before it is mapped (from the
// first show event); does nothing on other platforms.
void keepOffTaskbar(QWidget *window);

} // namespace kavro
