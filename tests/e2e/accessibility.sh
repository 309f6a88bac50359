#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Runs the program under Xvfb in a private session with the AT-SPI accessibility bus, and
# asks the bus what a screen reader would find:  accessibility.sh path/to/kavro
set -euo pipefail
source "$(dirname "$0")/common.sh"

if [[ ${1:-} == --in-session ]]; then
    program=$2 work=$3
    start_accessibility_bus
    "$program" > "$work/program.log" 2>&1 &
    pid=$!
    /usr/bin/python3 "$e2e_dir/accessibility.py" "$XDG_CONFIG_HOME/RuvU.ini"
    exit
fi

program=$1
work=$(mktemp -d)
trap end_work EXIT
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
run_session bus "$program" "$work/bus" ||
    { grep -v XDG_RUNTIME_DIR "$work/bus/program.log" >&2 || true; exit 1; }
