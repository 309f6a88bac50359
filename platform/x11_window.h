#pragma once

class QWidget;

namespace kavro {

// Keeps a top-level window off the taskbar under X11 (_NET_WM_STATE_SKIP_TASKBAR), which no
// Qt window flag does. Call before the window is first shown; does nothing on other platforms.
void keepOffTaskbar(QWidget *window);

} // namespace kavro
