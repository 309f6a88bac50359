// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

// What both start-up watchers share: their clock, the child's peak RSS, and how they give up.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/types.h>

namespace watcher {

using Clock = std::chrono::steady_clock;

inline long peakRssKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

[[noreturn]] inline void fail(const char *name, const char *what)
{
    std::fprintf(stderr, "%s: %s\n", name, what);
    std::exit(2);
}

} // namespace watcher
