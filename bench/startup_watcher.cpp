// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// Starts a program on the current X display and reports, in microseconds from exec, when its
// first top-level window was mapped and first painted (a DAMAGE report), then its peak RSS,
// and ends it. One line: "map_us paint_us hwm_kb".
//   startup_watcher PROGRAM [ARG...]
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include "watcher.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using watcher::Clock;
using watcher::peakRssKb;

[[noreturn]] void fail(const char *what)
{
    watcher::fail("startup_watcher", what);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        fail("usage: startup_watcher PROGRAM [ARG...]");
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        fail("cannot open the display");
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;

    const xcb_query_extension_reply_t *damageExtension
        = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damageExtension || !damageExtension->present)
        fail("no DAMAGE extension");
    free(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, 1, 1), nullptr));

    // New top-level windows are children of the root window (there is no window manager).
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    const auto micros = [&] {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    };
    long mapped = -1;
    long painted = -1;
    xcb_window_t shown = XCB_NONE;
    const int fd = xcb_get_file_descriptor(connection);
    while (painted < 0) {
        if (micros() > 30'000'000)
            fail("no window painted within 30 s");
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                // Watched from creation, so a paint right after mapping is not missed.
                const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
                xcb_damage_create(connection, xcb_generate_id(connection), created->window,
                    XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(connection);
            } else if (type == XCB_MAP_NOTIFY && mapped < 0) {
                mapped = micros();
                shown = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
            } else if (type == damageExtension->first_event + XCB_DAMAGE_NOTIFY && mapped >= 0) {
                const auto *damage = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                if (damage->drawable == shown)
                    painted = micros();
            }
            free(event);
        }
        pollfd waiting {fd, POLLIN, 0};
        poll(&waiting, 1, 100);
    }

    // Let the first frame settle before reading the peak.
    usleep(300'000);
    const long hwm = peakRssKb(child);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    std::printf("%ld %ld %ld\n", mapped, painted, hwm);
    xcb_disconnect(connection);
    return 0;
}
