#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# What Orca says, driven with keys only: the real program and a real Orca under Xvfb with a
# window manager, a session bus and the accessibility bus. Orca speaks to nobody; its debug
# output records every "SPEECH OUTPUT" line, and runs on a terminal so that it is written as
# it happens. Speech goes to speech-dispatcher's dummy output and a null sound device. An Orca
# the user runs is not seen from the test's namespaces, and does not see this one.
#   screen_reader.sh path/to/kavro
set -euo pipefail
source "$(dirname "$0")/common.sh"

if in_session "$@"; then
    # The speech-dispatcher that Orca starts reads its configuration here first: the system's,
    # with its dummy output and the sound sent to ALSA's null device. Nothing is heard, speaking
    # never waits for a sound server (PulseAudio, PipeWire), the user's or one that is not
    # there, and no synthesiser (espeak-ng on a desktop) competes with Orca for the processor.
    if [[ -d /etc/speech-dispatcher ]]; then
        cp -r /etc/speech-dispatcher "$XDG_CONFIG_HOME/"
        printf '%s\n' 'AudioOutputMethod "alsa"' 'AudioALSADevice "null"' \
            'AddModule "dummy" "sd_dummy" ""' 'DefaultModule dummy' \
            >> "$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
    fi
    metacity --replace > "$work/metacity.log" 2>&1 &
    # On a terminal, Orca's debug file (here its standard output) is written line by line.
    script -q -f -c "exec orca -u '$work/orca-settings' --debug-file=/dev/stdout" /dev/null > "$work/orca.out" &
    seen=0
    said() { grep -a -o "SPEECH OUTPUT: '.*'" "$work/orca.out" | sed 's/^SPEECH OUTPUT: //'; }
    # Orca says each extended regular expression, in order, after what earlier checks consumed;
    # each within 10 s. A later one may match the line of the one before it: Orca 48 says in
    # one line what Orca 43 says in two.
    says() {
        local pattern from=$((seen + 1)) found
        for pattern in "$@"; do
            for _ in $(seq 100); do
                found=$(said | tail -n +$from | grep -n -E -m 1 -- "$pattern" | cut -d: -f1) &&
                    [[ -n $found ]] && break
                sleep 0.1
            done
            if [[ -z $found ]]; then
                echo "  no '$pattern'; Orca said: $(said | tail -n +$((seen + 1)) | tr '\n' ' ')"
                seen=$(said | wc -l)
                return 1
            fi
            from=$((from + found - 1))
        done
        seen=$from
    }
    key() { xdotool key --delay 150 "$@"; }

    check "Orca runs" says "Screen reader on"
    "$program" > "$work/out.log" 2>&1 &
    pid=$!
    check "focus at start: the window, then the amount field by its label" says \
        "通貨換算ツール Ver1.0 frame" "^'元の通貨の値段を入力してください。 text"
    xdotool type --delay 150 5
    key Tab
    check "the currency box: what it is, then its item" says "^'元の通貨 (USAドル )?editable combo box" "USAドル\\.'"
    key Tab
    check "the result field by its label" says "^'計算結果の表示 text"
    key Tab Tab Tab Tab
    check "the calculate button" says "^'計算 (push )?button"
    key space
    qt=$(qtpaths6 --qt-version 2> /dev/null || echo 6.4)
    if [[ $(printf '%s\n' 6.8 "$qt" | sort -V | head -n 1) != 6.8 ]]; then
        echo "SKIP   : the result after 計算 (Qt $qt cannot announce it; see docs/accessibility.md)"
    else
        check "the result after 計算" says "^'500\\.?'"
    fi
    key Tab
    check "the rate field and its spinner, named, read whole" says "^'相場 (100 spin button|spin button 100)"
    key Up
    check "Up speaks the new rate" says "^'101\\.?'"
    key Tab
    check "the amount field, read whole" says "^'元の通貨の値段を入力してください。 text" "^'5 selected"
    key alt+h
    within 50 menu_open || true
    key v
    check "the version box, by its caption, and its button" says "alert バージョン情報" "^'OK (push )?button"
    key Return
    check "focus back in the window" says "元の通貨の値段を入力してください。"
    report
fi

start_work "$1"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 GTK_A11Y=atspi NO_AT_BRIDGE=0
run_session orca
