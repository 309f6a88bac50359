# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Helpers shared by the end-to-end scripts, which source this file. Each check prints a line
# in Qt Test's style and is counted; `check_prefix` names the run (a manager, a session kind).
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The suite is run from a desktop's terminal too: nothing of that session reaches a test
# (../desktop-variables), nor a platform or scale of its own. Each script sets what it needs
# after this, and its sessions (below) inherit only that.
if [[ ${1:-} != --in-session ]]; then
    # shellcheck disable=SC2046 # one name a line
    unset QT_QPA_PLATFORM QT_SCALE_FACTOR $(grep '^[A-Z]' "$e2e_dir/../desktop-variables")
    export LC_ALL=C.UTF-8
fi
# ctest's own limit kills only the script; the sessions end a little before it, so that what
# they started is still found and ended (run_session).
deadline=$((SECONDS + ${KAVRO_TEST_TIMEOUT:-600} - 20))
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
    # and libadwaita (zenity on Debian 13) the desktop portals; gvfs and the document portal
    # mount FUSE file systems in the runtime folder that outlive them.
    export GIO_USE_VFS=local GIO_USE_VOLUME_MONITOR=unix GVFS_DISABLE_FUSE=1
    export GDK_DEBUG=no-portals GTK_USE_PORTAL=0 ADW_DISABLE_PORTAL=1
}

# Live processes whose runtime folder is this one or under it, one number a line. The test's
# own shells are not among them: bash keeps its exports out of its own /proc environment.
processes_of() { # runtime folder
    local environ variable stat process
    for environ in /proc/[0-9]*/environ; do
        # A zombie has ended; only its parent's wait is missing.
        read -r stat 2> /dev/null < "${environ%/environ}/stat" || continue
        [[ ${stat##*) } == Z* ]] && continue
        process=${environ#/proc/}
        process=${process%/environ}
        # Nor is the subshell this runs in, a copy of a session's shell.
        [[ $process == "$BASHPID" ]] && continue
        while IFS= read -r -d '' variable; do
            if [[ $variable == "XDG_RUNTIME_DIR=$1" || $variable == "XDG_RUNTIME_DIR=$1/"* ]]; then
                echo "$process"
                break
            fi
        done 2> /dev/null < "$environ" || true
    done
}

# Processes still running with a runtime folder under this one: started by a session and
# outliving it (one that ignores SIGTERM, or that the session lost track of), and file systems
# still mounted in it. Each is listed and ended; the status says whether there was one.
end_leftovers() { # runtime folder, or a folder holding them
    local found mounts mount status=0
    mapfile -t found < <(processes_of "$1")
    if ((${#found[@]} > 0)); then
        echo "left running, now killed:" >&2
        ps -o pid=,args= -p "${found[@]}" >&2 || true
        kill -9 "${found[@]}" 2> /dev/null || true
        status=1
    fi
    # File systems mounted there (FUSE daemons' mounts outlive them) are found the same way.
    mapfile -t mounts < <(awk -v d="$1" '$2 == d || index($2, d "/") == 1 { print $2 }' /proc/mounts)
    for mount in "${mounts[@]}"; do
        echo "left mounted, now unmounted: $mount" >&2
        fusermount3 -u -z "$mount" 2> /dev/null || fusermount -u -z "$mount" 2> /dev/null ||
            umount -l "$mount" || true
        status=1
    done
    return $status
}

# In a session's EXIT trap, after it has ended what it started: ends, with SIGTERM, what got
# away from it (helpers that a window manager starts detached, in a session of their own) and
# waits a few seconds for them. Spared: this shell and those it runs under, and the session bus.
end_strays() {
    local spared strays process=$$ stat fields
    spared=" $(pgrep -P "$PPID" | tr '\n' ' ') "
    while ((process > 1)); do
        spared+="$process "
        read -r stat < "/proc/$process/stat" || break
        read -r -a fields <<< "${stat##*) }"
        process=${fields[1]}
    done
    for _ in $(seq 50); do
        strays=()
        for process in $(processes_of "$XDG_RUNTIME_DIR"); do
            [[ $spared == *" $process "* ]] || strays+=("$process")
        done
        ((${#strays[@]} == 0)) && return 0
        kill "${strays[@]}" 2> /dev/null || true
        sleep 0.1
    done
}

# The EXIT trap of every script: however it ends (a failure, Ctrl+C), nothing it started
# stays, and its folder goes (KEEP_WORK=1 keeps it for a look).
end_work() {
    end_leftovers "$work" 2> /dev/null || true
    [[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"
}

# Runs this script again, as `$0 --in-session ARGUMENTS...`, in a session of its own: a private
# Xvfb, a session bus, the private folders above. What the session wrote to standard error is
# shown if it fails; the status is the session's, and a failure if it outlived the test's
# time or left anything running.
run_session() { # name, then the arguments that follow --in-session
    local name=$1 status=0
    shift
    # The X server is the driver's, not the session's: it starts before the session's folders.
    unset XDG_RUNTIME_DIR
    start_xvfb "$work/$name.display" 1024x768x24
    private_folders "$name"
    timeout --foreground -k 5 $((deadline > SECONDS ? deadline - SECONDS : 1)) \
        dbus-run-session -- bash "$0" --in-session "$@" 2> "$work/$name.err" || status=$?
    ((status == 124)) && echo "the session outlived the test's time" >&2
    stop_xvfb
    end_leftovers "$XDG_RUNTIME_DIR" || status=1
    if ((status != 0)); then
        grep -v -E 'fd limit|Activating|activated|SpiRegistry|xfconfd|ALSA' "$work/$name.err" >&2 || true
    fi
    return $status
}

# In a session: the accessibility bus, which screen readers and field_is talk to; `bus` is its
# process.
start_accessibility_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
    bus=$!
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

# The program ($pid) ends within 10 s with status 0; one that does not is killed.
exited_with_zero() {
    for _ in $(seq 200); do kill -0 "$pid" 2> /dev/null || break; sleep 0.05; done
    if kill -0 "$pid" 2> /dev/null; then
        echo "  still running"
        kill -9 "$pid"
        pid=
        return 1
    fi
    local status=0
    wait "$pid" || status=$?
    pid=
    [[ $status -eq 0 ]] || { echo "  exit status $status"; return 1; }
}
