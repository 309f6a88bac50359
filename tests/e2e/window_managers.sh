#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# The real program under real window managers, each in its own Xvfb and session bus, driven
# with real keys and checked from outside: keyboard focus at start, typed digits landing in
# the amount field (read over the accessibility bus), focus back after a message box, what
# the manager offers (no maximize; no minimize, or a minimized window kept on the taskbar),
# the taskbar hint, exit status.
#   window_managers.sh path/to/kavro [manager ...]
# Managers: openbox xfwm4 metacity mutter kwin_x11; by default every one that is installed.
set -euo pipefail
source "$(dirname "$0")/common.sh"

if in_session "$@"; then
    # Inside dbus-run-session, on the display: one window manager, one program.
    manager=$kind check_prefix=$kind
    case $manager in
    openbox) command=(openbox) ;;
    xfwm4) command=(xfwm4 --replace) ;;
    metacity) command=(metacity --replace) ;;
    mutter) command=(mutter --x11 --replace) ;;
    kwin_x11) command=(kwin_x11 --replace) ;;
    esac
    "${command[@]}" > "$work/$manager.log" 2>&1 &
    managed() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
    amount=元の通貨の値段を入力してください。
    focused() { [[ $(xdotool getwindowfocus) == "$window" ]]; }
    box_gone() { ! xdotool search --name '^バージョン情報$' > /dev/null; }
    # Mapped and holding the keyboard: only then does a key meant for the box reach it.
    box_focused() {
        local box
        box=$(xdotool search --onlyvisible --name '^バージョン情報$' | head -n 1)
        [[ -n $box && $(xdotool getwindowfocus) == "$box" ]]
    }

    check "the window manager runs" within 300 managed
    "$program" > "$work/$manager.out" 2>&1 &
    pid=$!
    check "the window opens" within 100 window_shown
    check "the window has keyboard focus at start" within 50 focused
    xdotool type --delay 30 123
    check "typed digits land in the amount field" within 30 field_is "$amount" 123

    check "no maximize is offered" \
        bash -c "xprop -id $window _NET_WM_ALLOWED_ACTIONS | grep -q _NET_WM_ACTION_CLOSE &&
                 ! xprop -id $window _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE"
    off_taskbar() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
    check "no taskbar button" off_taskbar
    case $manager in
    openbox | kwin_x11)
        # These offer a minimize box whatever the window asks for: once minimized, the window
        # must still be found, on the taskbar, and leave it again when restored.
        xdotool windowminimize "$window"
        check "minimized, the window is on the taskbar" within 50 bash -c \
            "xprop -id $window WM_STATE | grep -q Iconic &&
             ! xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR"
        xdotool windowactivate "$window"
        check "restored, it leaves the taskbar again" within 50 bash -c \
            "! xprop -id $window WM_STATE | grep -q Iconic &&
             xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR"
        check "and has the keyboard" within 50 focused
        ;;
    *) check "no minimize is offered" bash -c "! xprop -id $window _NET_WM_ALLOWED_ACTIONS | grep -q MINIMIZE" ;;
    esac

    # The version box from the Help menu, answered with Return.
    xdotool key alt+h
    check "Alt+H opens the Help menu" within 50 menu_open
    xdotool key v
    check "the version box opens with keyboard focus" within 50 box_focused
    xdotool key Return
    check "the version box closes" within 50 box_gone
    check "focus comes back to the window after the box" within 50 focused
    xdotool type --delay 30 4
    check "typing goes on in the amount field" within 30 field_is "$amount" 1234

    # From the amount field to 終了: currency, result, クリアー, バージョン, 終了. Keys, not the
    # menu: a key pressed before a slow menu opens would land in the field instead.
    xdotool key --delay 50 Tab Tab Tab Tab Tab space
    check "終了 ends the program with status 0" exited_with_zero
    report
fi

start_work "$1"
shift
managers=("$@")
if [[ ${#managers[@]} -eq 0 ]]; then
    for manager in openbox xfwm4 metacity mutter kwin_x11; do
        command -v "$manager" > /dev/null && managers+=("$manager")
    done
fi
[[ ${#managers[@]} -gt 0 ]] || { echo "no window manager installed" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
run_sessions "window managers" "$work/%s.log" "${managers[@]}"
