// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// Starts a program natively on the current Wayland display and reports, in microseconds from
// exec, when it sent its first frame to the compositor (the first commit of a surface with a
// buffer attached), then its peak RSS, and ends it. One line: "frame_us hwm_kb".
// It reads the program's requests from libwayland's own log (WAYLAND_DEBUG=client).
//   wayland_watcher PROGRAM [ARG...]
#include "watcher.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using watcher::Clock;
using watcher::peakRssKb;

[[noreturn]] void fail(const char *what)
{
    watcher::fail("wayland_watcher", what);
}

// "wl_surface@12" out of " -> wl_surface@12.attach(...)" (libwayland 1.22 writes '#').
std::string surfaceOf(const std::string &line, const std::string &request)
{
    const size_t at = line.find(request);
    const size_t name = line.rfind("wl_surface", at);
    return at == std::string::npos || name == std::string::npos ? std::string()
                                                                : line.substr(name, at - name);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        fail("usage: wayland_watcher PROGRAM [ARG...]");
    int log[2];
    if (pipe(log) != 0)
        fail("no pipe");

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(log[1], STDERR_FILENO);
        close(log[0]);
        close(log[1]);
        setenv("WAYLAND_DEBUG", "client", 1);
        // As in a session with no X server: the program finds Wayland by itself.
        unsetenv("DISPLAY");
        unsetenv("QT_QPA_PLATFORM");
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    close(log[1]);

    const auto micros = [&] {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    };
    std::set<std::string> withBuffer;
    std::string pending;
    long frame = -1;
    while (frame < 0) {
        if (micros() > 30'000'000)
            fail("no frame within 30 s");
        pollfd waiting {log[0], POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        char chunk[65536];
        const ssize_t got = read(log[0], chunk, sizeof chunk);
        if (got <= 0)
            fail("the program ended before its first frame");
        pending.append(chunk, static_cast<size_t>(got));
        size_t end;
        while (frame < 0 && (end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line.find(" -> ") == std::string::npos)
                continue;
            if (line.find(".attach(wl_buffer") != std::string::npos)
                withBuffer.insert(surfaceOf(line, ".attach("));
            else if (line.find(".commit()") != std::string::npos
                && withBuffer.count(surfaceOf(line, ".commit(")))
                frame = micros();
        }
    }

    // Let the first frame settle before reading the peak, as under X11, reading on so that the
    // program never waits for a full pipe.
    const long settled = micros() + 300'000;
    while (micros() < settled) {
        pollfd waiting {log[0], POLLIN, 0};
        char chunk[65536];
        if (poll(&waiting, 1, 10) > 0 && read(log[0], chunk, sizeof chunk) <= 0)
            break;
    }
    const long hwm = peakRssKb(child);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    std::printf("%ld %ld\n", frame, hwm);
    return 0;
}
