#pragma once

class QWidget;

namespace kavro {

// Keeps a top-level window off the taskbar under X11 (_NET_WM_STATE_SKIP_TASKBAR), which no
// Qt window flag does. Call once the native window exists and before it is mapped (from the
// first show event); does nothing on other platforms.
void keepOffTaskbar(QWidget *window);

// True where the window system leaves the frame to the program (Qt's own title bar under
// Wayland), so that no window flag decides which boxes it offers.
bool clientDrawsItsFrame();

} // namespace kavro
