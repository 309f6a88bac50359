# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Helpers shared by the end-to-end scripts, which source this file. Each check prints a line
# in Qt Test's style and is counted; `check_prefix` names the run (a manager, a session kind).
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Each script runs from an allow-listed environment in namespaces of its own (../isolated),
# and each of its sessions in namespaces of their own again: whatever a session starts ends
# with it, and whatever the script starts ends with the test.
passes=0 failures=0
check_prefix=

check() { # description, then a command that must succeed
    local what="${check_prefix:+$check_prefix: }$1"
    shift
    if "$@"; then
        echo "PASS   : $what"
        passes=$((passes + 1))
    else
        echo "FAIL!  : $what"
        failures=$((failures + 1))
    fi
}

within() { # tenths of a second, then a command to retry until it succeeds
    local tries=$1 try
    shift
    # Only the last try says why it failed.
    for ((try = 1; try < tries; try++)); do "$@" > /dev/null 2>&1 && return 0; sleep 0.1; done
    "$@" 2> /dev/null
}

# A private Xvfb on a free display; returns once it answers, with DISPLAY naming it. Without
# -noreset the server resets when its last client leaves, as the probe below does, and a
# client connecting during that reset is refused.
start_xvfb() { # file for the display number, screen size[, command to run Xvfb under]
    local file=$1 size=$2
    shift 2
    exec 3> "$file"
    "$@" Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset > "$file.log" 2>&1 &
    xvfb=$!
    exec 3>&-
    for _ in $(seq 100); do [[ -s $file ]] && break; sleep 0.05; done
    DISPLAY=:$(cat "$file")
    export DISPLAY
    # The number is written once the server listens; it answers a moment later.
    for _ in $(seq 100); do xprop -root > /dev/null 2>&1 && return 0; sleep 0.05; done
    echo "Xvfb on $DISPLAY does not answer:" >&2
    cat "$file.log" >&2
    return 1
}

stop_xvfb() {
    kill "$xvfb" 2> /dev/null || true
    wait "$xvfb" 2> /dev/null || true
}

# A session's own folders: home, XDG folders and a runtime folder under $work/NAME; a sound
# server that cannot be reached and ALSA's null device as the default, so that nothing a test
# starts plays through the user's speakers.
private_folders() { # name
    export HOME=$work/$1/home XDG_CONFIG_HOME=$work/$1/config XDG_DATA_HOME=$work/$1/data
    export XDG_CACHE_HOME=$work/$1/cache XDG_RUNTIME_DIR=$work/$1/runtime
    mkdir -p "$HOME" "$XDG_CONFIG_HOME/pulse" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    printf 'autospawn = no\ndefault-server = unix:%s/no-sound-server\n' "$XDG_RUNTIME_DIR" \
        > "$XDG_CONFIG_HOME/pulse/client.conf"
    echo 'pcm.!default { type null }' > "$HOME/.asoundrc"
    # GIO (GTK, Python's gi) would start GNOME's gvfs daemons on the session bus, and GTK 4
    # and libadwaita (zenity on Debian 13) the desktop portals: slow to start, and of no use.
    export GIO_USE_VFS=local GIO_USE_VOLUME_MONITOR=unix GVFS_DISABLE_FUSE=1
    export GDK_DEBUG=no-portals GTK_USE_PORTAL=0 ADW_DISABLE_PORTAL=1
}

# Outside a session: the program, and a folder for the script that goes when it ends
# (KEEP_WORK=1 keeps it for a look).
start_work() { # program
    program=$1 work=$(mktemp -d)
    trap '[[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"' EXIT
}

# Runs this script again, as `$0 --in-session PROGRAM NAME WORK`, in a session of its own: a
# private Xvfb, a session bus, the private folders above, new PID and mount namespaces. What
# the session wrote to standard error is shown if it fails; the status is the session's.
run_session() { # name
    local name=$1 status=0
    start_xvfb "$work/$name.display" 1024x768x24
    private_folders "$name"
    "$e2e_dir/../isolated" --namespaces --keep-environment \
        dbus-run-session -- bash "$0" --in-session "$program" "$name" "$work" 2> "$work/$name.err" ||
        status=$?
    stop_xvfb
    if ((status != 0)); then
        grep -v -E 'fd limit|Activating|activated|SpiRegistry|xfconfd|ALSA' "$work/$name.err" >&2 || true
    fi
    return $status
}

# Runs a session per kind (a window manager, a Wayland session) and reports how many passed;
# a failed one shows the tail of its logs.
run_sessions() { # label, logs as a printf pattern for the kind, kinds...
    local label=$1 logs=$2 kind passed=0 failed=0
    shift 2
    for kind in "$@"; do
        if run_session "$kind"; then
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
            # shellcheck disable=SC2046,SC2059 # one log name a word
            tail -n 5 $(printf "$logs" "$kind") >&2 || true
        fi
    done
    echo "$label: $passed passed, $failed failed"
    ((failed == 0))
}

# True in a session that run_session started: sets program, kind and work, and starts the
# accessibility bus, which screen readers and field_is talk to.
in_session() { # the script's arguments
    [[ ${1:-} == --in-session ]] || return 1
    program=$2 kind=$3 work=$4 pid=
    /usr/libexec/at-spi-bus-launcher --launch-immediately &> /dev/null &
}

# The end of a session: how many checks passed, and its status.
report() {
    echo "${check_prefix:+$check_prefix: }$passes passed, $failures failed"
    exit $((failures > 0))
}

# The text of the program's field with this accessible name, read over the AT-SPI bus.
field_is() { # accessible name, expected text
    local shown
    # Asking the bus about a program that has died can hang: ask only a live one, and bounded.
    if [[ -n ${pid:-} ]] && ! kill -0 "$pid" 2> /dev/null; then
        echo "  $1: the program has ended"
        return 1
    fi
    shown=$(timeout 12 /usr/bin/python3 "$e2e_dir/field_text.py" "$1")
    [[ $shown == "$2" ]] || { echo "  $1: '$shown', expected '$2'"; return 1; }
}

# The program's main window is on screen; `window` names it.
window_shown() {
    window=$(xdotool search --onlyvisible --name 'Ver1\.0' | head -n 1)
    [[ -n $window ]]
}

# The window id of the program's popup menu on screen, if one is.
popup_menu() {
    local popup
    for popup in $(xdotool search --onlyvisible --class '^kavro$'); do
        xprop -id "$popup" _NET_WM_WINDOW_TYPE | grep -q POPUP_MENU && { echo "$popup"; return 0; }
    done
    return 1
}

# One of the program's popup menus is on screen: keys meant for it reach it from now on.
menu_open() { popup_menu > /dev/null; }

# The program ($pid) ends within 10 s with status 0.
exited_with_zero() {
    local status=0
    within 100 eval '! kill -0 "$pid"' || { echo "  still running"; return 1; }
    wait "$pid" || status=$?
    [[ $status -eq 0 ]] || { echo "  exit status $status"; return 1; }
}
