#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# The real program in Wayland sessions: weston nested in Xvfb, driven with xdotool through
# the Xvfb display. Two kinds of session:
#   xwayland  an X display (Xwayland) next to Wayland, as in every GNOME and KDE session: the
#             program must choose X11 by itself
#   wayland   no X display at all: the program runs natively on Wayland and must survive the
#             compositor maximizing it
# Checks: which platform it chose, title, size, no GL driver, typing, a conversion (read over
# the accessibility bus), exit status 0 and a quiet standard error.   wayland_sessions.sh path/to/kavro [kind ...]
set -euo pipefail
source "$(dirname "$0")/common.sh"

if in_session "$@"; then
    outer=$DISPLAY check_prefix=$kind
    ended() { exited_with_zero || { grep -v '^\[' "$work/$kind.wayland" | head -n 20; return 1; }; }
    key() { DISPLAY=$outer xdotool key --delay 60 "$@"; }

    xwayland=()
    [[ $kind == xwayland ]] && xwayland=(--xwayland)
    weston --backend=x11-backend.so --use-pixman --socket=kavro-wayland --width=800 \
        --height=600 "${xwayland[@]}" > "$work/weston.log" 2>&1 &
    socket_up() { [[ -S $XDG_RUNTIME_DIR/kavro-wayland ]]; }
    check "weston runs" within 300 socket_up
    export WAYLAND_DISPLAY=kavro-wayland XDG_SESSION_TYPE=wayland
    unset DISPLAY
    if [[ $kind == xwayland ]]; then
        xserver() { grep -q 'xserver listening on display' "$work/weston.log"; }
        within 100 xserver || true
        DISPLAY=$(grep -o 'xserver listening on display :[0-9]*' "$work/weston.log" | grep -o ':[0-9]*$')
        export DISPLAY
    fi

    WAYLAND_DEBUG=client "$program" > "$work/$kind.out" 2> "$work/$kind.wayland" &
    pid=$!
    if [[ $kind == xwayland ]]; then
        check "the program chose X11 (its window is on Xwayland)" within 100 window_shown
        check "and said nothing to the compositor itself" bash -c "! grep -q xdg_toplevel '$work/$kind.wayland'"
        check "title" [ "$(xdotool getwindowname "$window")" = '$ to ¥ 通貨換算ツール Ver1.0' ]
        hint() { xprop -id "$window" WM_NORMAL_HINTS | sed -n "s/.*program specified $1 size: //p"; }
        fixed() { [[ $(hint minimum) == "$(hint maximum)" && $(hint minimum) == "350 by "* ]]; }
        check "a fixed size: minimum equals maximum, 350 wide" fixed
        # (weston's X11 window manager keeps only the states it knows, so the taskbar hint is
        # not visible here; mutter, GNOME's, keeps it: window_managers.sh.)
    else
        titled() { grep -q 'set_title("\$ to ¥ 通貨換算ツール Ver1.0")' "$work/$kind.wayland"; }
        check "the program runs natively on Wayland, with its title" within 100 titled
        check "its minimum size is the window's" grep -q 'set_min_size(350, ' "$work/$kind.wayland"
    fi

    # (libwayland's debug lines name objects wl_foo@N up to 1.22, wl_foo#N after.)
    if [[ $kind == xwayland ]]; then
        focused() { [[ $(xdotool getwindowfocus) == "$window" ]]; }
    else
        focused() { grep -q 'wl_keyboard[@#][0-9]*\.enter(' "$work/$kind.wayland"; }
    fi
    check "the compositor gives the window the keyboard" within 50 focused
    # The program paints with QPainter alone: no GL driver (Mesa's, with LLVM) nor Vulkan.
    check "no GL or Vulkan driver is mapped" bash -c \
        "! grep -E '/dri/|libLLVM|libvulkan' /proc/$pid/maps | awk '{print \$6}' | sort -u | grep ."
    DISPLAY=$outer xdotool type --delay 60 5
    check "typed digits land in the amount field" within 50 field_is '元の通貨の値段を入力してください。' 5
    # Tab to 計算 (amount, currency, result, three buttons, 計算) and press it.
    key Tab Tab Tab Tab Tab Tab space
    check "a conversion: 5 dollars at 100 yen" within 50 field_is '計算結果の表示' 500

    if [[ $kind == wayland ]]; then
        # Back to the amount field, whose text Tab selects.
        key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
        # weston's own maximize and full-screen keys, as its frame button would ask. Each makes
        # weston send a configure with a size of its own; the window must answer with its own
        # geometry and live on: a key typed after the answer reaches it only if weston did
        # not end the connection over that answer.
        log=$work/$kind.wayland
        geometry() { grep -o 'set_window_geometry([0-9, ]*)' | tail -n 1; }
        own=$(geometry < "$log")
        asked() { tail -n +$((from + 1)) "$log" | grep -q 'xdg_toplevel[@#][0-9]*\.configure([1-9]'; }
        answered() { [[ $(tail -n +$((from + 1)) "$log" | geometry) == "$own" ]]; }
        survives() { # what weston is asked for, its key, a digit to type, the field's text after
            from=$(wc -l < "$log")
            key "$2"
            check "weston asks for a $1 window" within 50 asked
            check "the window answers with its own size after $1" within 50 answered
            DISPLAY=$outer xdotool type --delay 60 "$3"
            check "and goes on taking typed digits after $1" \
                within 50 field_is '元の通貨の値段を入力してください。' "$4"
        }
        survives maximized super+shift+m 7 7
        survives full-screen super+shift+f 8 78
    fi

    # To 終了, just before 計算 in the tab order (the wayland run went back to the amount field):
    # keys, not the menu, which a key pressed before it opens would miss.
    if [[ $kind == wayland ]]; then key Tab Tab Tab Tab Tab space; else key shift+Tab space; fi
    check "終了 ends the program with status 0" ended
    # Apart from libwayland's debug lines, asked for above.
    check "nothing on standard error" bash -c "! grep -v '^\\[' '$work/$kind.wayland'"
    report
fi

start_work "$1"
shift
kinds=("$@")
[[ ${#kinds[@]} -gt 0 ]] || kinds=(xwayland wayland)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
run_sessions "Wayland sessions" "$work/weston.log $work/%s.wayland" "${kinds[@]}"
