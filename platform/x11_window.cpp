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

} // namespace

void keepOffTaskbar(QWidget *window)
{
    // The offscreen platform may offer the X11 interface too, for GL, without a connection.
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto [state, skipTaskbar]
        = internAtoms(connection, "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    // Qt keeps atoms it does not manage itself when it sets _NET_WM_STATE at map time.
    xcb_change_property(connection, XCB_PROP_MODE_APPEND,
        static_cast<xcb_window_t>(window->winId()), state, XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
}

} // namespace kavro
