// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/x11_window.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>

namespace kavro {

namespace {

// Both atoms are asked for before either answer is awaited: one round trip, not two.
std::array<xcb_atom_t, 2> internAtoms(
    xcb_connection_t *connection, const char *first, const char *second)
{
    const char *names[] = {first, second};
    xcb_intern_atom_cookie_t cookies[2];
    for (int i = 0; i < 2; ++i)
        cookies[i] = xcb_intern_atom(
            connection, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    std::array<xcb_atom_t, 2> atoms {};
    for (int i = 0; i < 2; ++i) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        atoms[static_cast<size_t>(i)] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
    }
    return atoms;
}

// The connection and the two atoms, or no connection where the window is not on X11.
struct TaskbarHint
{
    xcb_connection_t *connection = nullptr;
    xcb_atom_t state = XCB_ATOM_NONE;
    xcb_atom_t skipTaskbar = XCB_ATOM_NONE;
};

TaskbarHint taskbarHint(QWidget *window)
{
    // The offscreen platform may offer the X11 interface too, for GL, without a connection.
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return {};
    const auto [state, skipTaskbar]
        = internAtoms(connection, "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return {};
    return {connection, state, skipTaskbar};
}

} // namespace

void keepOffTaskbar(QWidget *window)
{
    const TaskbarHint hint = taskbarHint(window);
    if (!hint.connection)
        return;
    // Qt keeps atoms it does not manage itself when it sets _NET_WM_STATE at map time.
    xcb_change_property(hint.connection, XCB_PROP_MODE_APPEND,
        static_cast<xcb_window_t>(window->winId()), hint.state, XCB_ATOM_ATOM, 32, 1,
        &hint.skipTaskbar);
    xcb_flush(hint.connection);
}

void showOnTaskbarWhileMinimized(QWidget *window, bool minimized)
{
    const TaskbarHint hint = taskbarHint(window);
    if (!hint.connection)
        return;
    // A managed window's state is changed by asking the window manager (EWMH).
    enum : uint32_t { kRemove = 0, kAdd = 1, kFromApplication = 1 };
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window->winId());
    event.type = hint.state;
    event.data.data32[0] = minimized ? kRemove : kAdd;
    event.data.data32[1] = hint.skipTaskbar;
    event.data.data32[3] = kFromApplication;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(hint.connection)).data->root;
    xcb_send_event(hint.connection, 0, root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&event));
    xcb_flush(hint.connection);
}

} // namespace kavro
