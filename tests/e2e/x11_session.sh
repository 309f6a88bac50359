#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Drives the real program under Xvfb with real pointer clicks and key presses and checks what
# is visible from outside the process: the window, its X properties, the store file on disk,
# the exit status. Usage: x11_session.sh path/to/kavro
set -euo pipefail
source "$(dirname "$0")/common.sh"

if in_session "$@"; then
    store=$XDG_CONFIG_HOME/RuvU.ini
    stored() { sed -n 's/^saisin=//p' "$store" 2> /dev/null; }
    stored_is() { [[ "$(stored)" == "$1" ]] || { echo "  stored: '$(stored)', expected '$1'"; return 1; }; }
    wait_stored() { within 100 stored_is "$1"; }
    # The store keeps this text, and its file stays untouched, for a whole second: a write that
    # comes late is still seen.
    keeps() {
        local before
        before=$(stat -c %y "$store")
        for _ in $(seq 20); do
            sleep 0.05
            [[ $(stat -c %y "$store") == "$before" ]] || { echo "  the store was written"; return 1; }
        done
        stored_is "$1"
    }

    window=
    menu_height=
    start() {
        "$program" > "$work/out.log" 2>&1 &
        pid=$!
        window=$(xdotool search --sync --onlyvisible --name 'Ver1\.0' | head -n 1)
    }
    geometry() { xdotool getwindowgeometry --shell "$1" | sed -n "s/^$2=//p"; }
    # The menu bar's height, from outside: the File menu opens right below it.
    measure_menu_bar() {
        xdotool mousemove --window "$window" 20 8 click 1
        within 50 menu_open || return 1
        menu_height=$(($(geometry "$(popup_menu)" Y) - $(geometry "$window" Y)))
        xdotool key Escape
    }
    click() { # x y inside the client area below the menu bar
        xdotool mousemove --window "$window" "$1" $(($2 + menu_height)) click 1
        sleep 0.1
    }

    # First run: the default rate is shown and stored at once.
    start
    check "first start stores the default rate" wait_stored 100
    check "window title" [ "$(xdotool getwindowname "$window")" = '$ to ¥ 通貨換算ツール Ver1.0' ]
    check "the File menu opens below the menu bar" measure_menu_bar
    check "client area 350x152 below the menu bar" \
        [ "$(geometry "$window" WIDTH)x$(($(geometry "$window" HEIGHT) - menu_height))" = 350x152 ]
    check "no taskbar button" \
        bash -c "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR"

    # The wheel passing over the rate field, which does not have the focus, changes nothing.
    xdotool mousemove --window "$window" 300 $((12 + menu_height)) click 4 click 4
    check "the wheel over the unfocused rate field writes nothing" keeps 100

    # Three clicks on the spinner's up arrow: three writes, counted from the shown 100.
    for _ in 1 2 3; do click 336 3; done
    check "three spinner steps from 100 store 103" wait_stored 103

    # Typing into the rate field changes nothing; Up in it steps.
    click 300 12
    xdotool type --delay 20 '9x'
    xdotool key BackSpace
    check "typing into the rate field changes nothing" keeps 103
    xdotool key Up
    check "Up in the rate field steps the rate" wait_stored 104

    # Typing into the amount, then calculating, leaves the store alone.
    click 120 44
    xdotool type --delay 20 '5a'
    click 300 76
    check "calculating writes nothing" keeps 104

    # The end button ends the program with status 0.
    click 300 136
    check "end button ends the program with status 0" exited_with_zero

    # The rate is there on the next start; the menu's end item ends the program too.
    start # the menu bar as measured at the first start
    check "the rate survives a restart" wait_stored 104
    click 336 20 # the spinner's lower half
    check "the down arrow steps down" wait_stored 103
    # 計算 with no amount: the error box is titled with the application's title.
    click 300 76
    error_box() { box=$(xdotool search --onlyvisible --name '^KAVRO$' | head -n 1); [[ -n $box ]]; }
    check "the error box is titled KAVRO" within 50 error_box
    xdotool windowfocus "$box" key Return
    check "Return closes it" within 50 bash -c "! xdotool search --onlyvisible --name '^KAVRO$'"
    xdotool mousemove --window "$window" 20 8 click 1
    check "the File menu opens" within 50 menu_open
    xdotool key x
    check "File > End ends the program with status 0" exited_with_zero
    check "nothing was reported on standard error" \
        bash -c "! grep -v XDG_RUNTIME_DIR '$work/out.log' | grep -q ."

    # A result longer than its field is shown from its first character: the field looks as it
    # does once Home has been pressed in it and the focus has moved on. (Over the accessibility bus
    # the text is whole either way; only the screen shows the scroll.)
    printf '[ensouba]\nsaisin=120\n' > "$store"
    start
    result_field() { import -window "$window" -crop 193x25+56+$((96 + menu_height)) +repage "$1"; }
    same() { [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]; }
    # The field's look changes from the first (a reference) once this step has taken effect.
    changed_from() { result_field "$work/now.png" && ! same "$work/now.png" "$1"; }
    click 120 44
    xdotool type --delay 20 9345797392523
    result_field "$work/empty.png"
    click 300 76 # 計算: 1.12149568710276e+15, wider than the field
    within 30 changed_from "$work/empty.png" && cp "$work/now.png" "$work/shown.png"
    # From 計算 back to the result field (終了, バージョン, クリアー, result), which selects it all.
    xdotool key --delay 60 shift+Tab shift+Tab shift+Tab shift+Tab
    within 30 changed_from "$work/shown.png" && cp "$work/now.png" "$work/selected.png"
    xdotool key --delay 60 Home Tab # on to クリアー
    shown_from_home() { changed_from "$work/selected.png" && same "$work/now.png" "$work/shown.png"; }
    check "a long result is shown from its first character" within 30 shown_from_home
    xdotool key --delay 60 Tab Tab space # バージョン, 終了
    check "and the program ends with status 0" exited_with_zero

    # A first start in an empty home with no XDG folders named: stepping the rate and ending
    # write the store and nothing else (fontconfig's own cache is fontconfig's business).
    bare=$work/bare-home store=$work/bare-home/.config/RuvU.ini
    mkdir "$bare"
    env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$bare" "$program" &> /dev/null &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name 'Ver1\.0' | head -n 1)
    wait_stored 100 && click 300 12 && xdotool key Up
    check "a step in a bare home is stored" wait_stored 101
    click 300 136 # 終了
    check "which ends with status 0" exited_with_zero
    written() { find "$bare" -mindepth 1 -not -path "$bare/.cache" -not -path "$bare/.cache/fontconfig*" | sort | xargs; }
    check "and nothing but the store is written" [ "$(written)" = "$bare/.config $store" ]

    report
fi

start_work "$1"
export QT_QPA_PLATFORM=xcb
run_session x11
