#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Runs the program under Xvfb in a private session with the AT-SPI accessibility bus, and
# asks the bus what a screen reader would find:  accessibility.sh path/to/kavro
set -euo pipefail
source "$(dirname "$0")/common.sh"
program=$1
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_SCALE_FACTOR
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb "$work/display" 800x600x24
trap 'stop_xvfb; rm -rf "$work"' EXIT

dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
    "$1" > "$4" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$2" "$3" || status=$?
    kill $program
    exit $status' bash "$program" "$e2e_dir/accessibility.py" "$XDG_CONFIG_HOME/RuvU.ini" "$work/program.log" \
    2> "$work/bus.log" || {
    grep -v -E 'fd limit|Activating|activated|SpiRegistry' "$work/bus.log" >&2 || true
    grep -v XDG_RUNTIME_DIR "$work/program.log" >&2 || true
    exit 1
}
