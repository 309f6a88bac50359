#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# A Japanese user with the input method on: ibus with the Anthy engine in hiragana mode, in a
# private Xvfb and session bus. A GTK entry (zenity) shows that the engine composes; then
# digits typed into the amount field arrive as digits, and a letter is dropped with one bell at
# the keystroke and none later. Skipped when the control does not compose.
#   input_method.sh path/to/kavro
set -euo pipefail
source "$(dirname "$0")/common.sh"

if in_session "$@"; then
    /usr/bin/python3 "$e2e_dir/bell_count.py" > "$work/bells" &
    ibus-daemon --xim --replace --panel=disable > "$work/ibus.log" 2>&1 &
    # Asked again until the daemon answers; `ibus engine NAME` fails even when it succeeds.
    anthy_set() { ibus engine anthy || true; [[ $(ibus engine) == anthy ]]; }
    within 100 anthy_set || { echo "SKIP   : ibus does not start the Anthy engine"; exit 77; }
    grep -q ready "$work/bells" || within 50 grep -q ready "$work/bells"

    # Types a-i-u into a GTK entry and prints what the entry returns.
    control() { # keys to press first
        zenity --entry --text "" > "$work/control" 2> /dev/null &
        local zenity=$! window
        window=$(xdotool search --sync --onlyvisible --class zenity | head -n 1)
        # No window manager gives it the keyboard, and the pointer may be elsewhere.
        xdotool windowfocus --sync "$window"
        sleep 0.5 # the entry's input context reaches ibus after it maps
        [[ $# -gt 0 ]] && xdotool key "$@"
        xdotool type --delay 60 aiu
        xdotool key --delay 200 Return Return # commit, then close
        # One that does not close is ended, and gave nothing.
        for _ in $(seq 100); do kill -0 "$zenity" 2> /dev/null || break; sleep 0.05; done
        kill "$zenity" 2> /dev/null || true
        wait "$zenity" || true
        cat "$work/control"
    }
    # 半角/全角 turns Japanese mode on; it is the engine's, not the window's. The first keys
    # can reach ibus before the entry's input context does: up to three tries, pressing
    # 半角/全角 again while no kana come out.
    toggle=Zenkaku_Hankaku
    for _ in 1 2 3; do
        composed=$(control $toggle)
        [[ $composed == あいう ]] && break
        if [[ $composed == *[ぁ-ん]* ]]; then toggle=; else toggle=Zenkaku_Hankaku; fi
    done
    [[ $composed == あいう ]] ||
        { echo "SKIP   : the engine does not compose (a-i-u gave '$composed')"; exit 77; }
    echo "PASS   : the control composes: a-i-u gives $composed"

    "$program" > "$work/program.log" 2>&1 &
    pid=$!
    check "the window opens" within 100 window_shown
    amount=元の通貨の値段を入力してください。
    result=計算結果の表示
    rung() { grep -c bell "$work/bells" || true; }
    rung_is() { [[ $(rung) == "$1" ]] || { echo "  $(rung) bells, expected $1"; return 1; }; }
    xdotool type --delay 60 123
    check "1 2 3 arrive as 123 at once, with no bell" within 30 field_is "$amount" 123
    check "  and no bell" rung_is 0
    xdotool type --delay 60 a
    check "a letter rings one bell at the keystroke" within 30 rung_is 1
    xdotool type --delay 60 4
    check "  and is not in the field" within 30 field_is "$amount" 1234
    xdotool key Tab Tab # the currency box, then the result field
    xdotool type --delay 60 56
    check "digits arrive in the result field too" within 30 field_is "$result" 56
    xdotool key shift+Tab shift+Tab
    check "no bell later, on focus changes" rung_is 1
    check "the amount is as typed" field_is "$amount" 1234
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    pid=

    # The engine was in Japanese mode all along: the same keys compose again.
    composed=$(control)
    check "the engine still composes after the program: a-i-u gives あいう" \
        [ "$composed" = あいう ]
    report
fi

start_work "$1"
# The engine is a Python program: Debian's Python, with its gi module, not one earlier on PATH.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_IM_MODULE=ibus GTK_IM_MODULE=ibus XMODIFIERS=@im=ibus
status=0
run_session ime || status=$?
[[ $status -eq 0 || $status -eq 77 ]] || grep -v XDG_RUNTIME_DIR "$work/program.log" >&2 || true
exit $status
