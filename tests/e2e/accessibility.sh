#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Runs the program under Xvfb in a private session with the AT-SPI accessibility bus, and
# asks the bus what a screen reader would find:  accessibility.sh path/to/kavro
set -euo pipefail
source "$(dirname "$0")/common.sh"

if in_session "$@"; then
    "$program" > "$work/program.log" 2>&1 &
    pid=$!
    /usr/bin/python3 -B "$e2e_dir/accessibility.py" "$XDG_CONFIG_HOME/RuvU.ini"
    exit
fi

start_work "$1"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
run_session bus || { grep -v XDG_RUNTIME_DIR "$work/program.log" >&2 || true; exit 1; }
