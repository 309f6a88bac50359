#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Takes the README's picture of the real window under Xvfb, after converting 5 dollars at
# the first-run rate of 100:
#   screenshot.sh [OUTPUT.png] [SCALE]
# Needs a build (make build) and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/common.sh # start_xvfb
output=${1:-docs/screenshot.png}
scale=${2:-1}
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale
mkdir -m 700 "$XDG_RUNTIME_DIR"
program=
start_xvfb "$work/display" 1024x768x24
trap 'kill $program 2> /dev/null || true; stop_xvfb; rm -rf "$work"' EXIT

build/app/kavro &
program=$!
window=$(xdotool search --sync --onlyvisible --name 'Ver1\.0' | head -n 1)
height=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p')
menu=$(awk -v h="$height" -v s="$scale" 'BEGIN { print h - 152 * s }')
at() { xdotool mousemove --window "$window" "$(awk -v v="$1" -v s="$scale" 'BEGIN { print int(v * s) }')" \
    "$(awk -v v="$2" -v m="$menu" -v s="$scale" 'BEGIN { print int(v * s + m) }')" click 1; }
at 120 44 # the amount field
xdotool type --delay 30 5
at 300 76 # 計算
sleep 0.3
mkdir -p "$(dirname "$output")"
import -window "$window" -strip -define png:exclude-chunks=date,time "$output"
echo "$output"
