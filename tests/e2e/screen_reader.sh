#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# What Orca says, driven with keys only: the real program and a real Orca under Xvfb with a
# window manager, a session bus and the accessibility bus. Orca speaks to nobody; its debug
# output records every "SPEECH OUTPUT" line, and runs on a terminal so that it is written as
# it happens.   screen_reader.sh path/to/kavro
set -euo pipefail
source "$(dirname "$0")/common.sh"

if [[ ${1:-} == --in-session ]]; then
    program=$2 work=$3
    /usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
    bus=$!
    metacity --replace > "$work/metacity.log" 2>&1 &
    wm=$!
    speech=$work/speech.log
    : > "$speech"
    # On a terminal, Orca's debug file (here its standard output) is written line by line.
    script -q -f -c "orca -u '$work/orca' --debug-file=/dev/stdout" /dev/null |
        grep --line-buffered -o "SPEECH OUTPUT: '.*'" > "$speech" &
    orca=$!
    pid=
    # No other Orca of this user ran when the test began (checked below): every one is ours.
    trap 'kill $pid 2> /dev/null; pkill -u "$(id -u)" -x orca; kill $orca $wm $bus 2> /dev/null || true' EXIT

    skips=0 seen=0
    said() { sed 's/^SPEECH OUTPUT: //' "$speech"; }
    # Unlike the other scripts' check: waits until Orca has said each pattern, in order, after what earlier checks consumed.
    check() { # description, then extended regular expressions
        local what=$1
        shift
        # A later pattern may match the line of the one before it: Orca 48 says in one line
        # what Orca 43 says in two.
        local pattern at=$seen from=$((seen + 1)) ok=1
        for pattern in "$@"; do
            local found=
            for _ in $(seq 100); do
                found=$(said | tail -n +$from | grep -n -E -m 1 -- "$pattern" | cut -d: -f1) || true
                [[ -n $found ]] && break
                sleep 0.1
            done
            if [[ -z $found ]]; then ok=0; break; fi
            at=$((from + found - 1))
            from=$at
        done
        if ((ok)); then
            echo "PASS   : $what"
            passes=$((passes + 1))
            seen=$at
        else
            echo "FAIL!  : $what (no '$pattern'; Orca said: $(said | tail -n +$((seen + 1)) | tr '\n' ' '))"
            failures=$((failures + 1))
            seen=$(said | wc -l)
        fi
    }
    key() { xdotool key --delay 150 "$@"; }

    check "Orca runs" "Screen reader on"
    "$program" > "$work/out.log" 2>&1 &
    pid=$!
    check "focus at start: the window, then the amount field by its label" \
        "通貨換算ツール Ver1.0 frame" "^'元の通貨の値段を入力してください。 text"
    xdotool type --delay 150 5
    key Tab
    check "the currency box: what it is, then its item" "^'元の通貨 (USAドル )?editable combo box" "USAドル\\.'"
    key Tab
    check "the result field by its label" "^'計算結果の表示 text"
    key Tab Tab Tab Tab
    check "the calculate button" "^'計算 (push )?button"
    key space
    qt=$(qtpaths6 --qt-version 2> /dev/null || echo 6.4)
    if [[ $(printf '%s\n' 6.8 "$qt" | sort -V | head -n 1) != 6.8 ]]; then
        echo "SKIP   : the result after 計算 (Qt $qt cannot announce it; see docs/accessibility.md)"
        skips=$((skips + 1))
    else
        check "the result after 計算" "^'500\\.?'"
    fi
    key Tab
    check "the rate field and its spinner, named, read whole" "^'相場 (100 spin button|spin button 100)"
    key Up
    check "Up speaks the new rate" "^'101\\.?'"
    key Tab
    check "the amount field, read whole" "^'元の通貨の値段を入力してください。 text" "^'5 selected"
    key alt+h
    within 50 menu_open || true
    key v
    check "the version box, by its caption, and its button" "alert バージョン情報" "^'OK (push )?button"
    key Return
    check "focus back in the window" "元の通貨の値段を入力してください。"
    echo "$passes passed, $failures failed, $skips skipped"
    [[ $failures -eq 0 ]]
    exit
fi

program=$1
# Orca runs once per user: one already running (the user's own) is left alone.
if pgrep -u "$(id -u)" -x orca > /dev/null; then
    echo "SKIP   : Orca is already running for this user"
    echo "0 passed, 0 failed, 1 skipped"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/data
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 GTK_A11Y=atspi NO_AT_BRIDGE=0
unset QT_SCALE_FACTOR WAYLAND_DISPLAY XDG_SESSION_TYPE
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb "$work/display" 1024x768x24
trap 'stop_xvfb; rm -rf "$work"' EXIT
dbus-run-session -- bash "$0" --in-session "$program" "$work" 2> "$work/session.err" ||
    { grep -v -E 'fd limit|Activating|activated|SpiRegistry|ALSA' "$work/session.err" >&2 || true; exit 1; }
