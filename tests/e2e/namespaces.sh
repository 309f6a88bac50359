#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# A process that ignores SIGTERM and detaches into a session of its own outlives a command run
# without namespaces, and is gone the moment one run with them ends; so is what it and an X
# server left in their private /tmp. What keeps each end-to-end test from leaving anything
# running or lying in /tmp.
#   namespaces.sh path/to/isolated
set -euo pipefail
isolated=$1
# Not in /tmp, which the namespaces below have one of their own of.
work=$(mktemp -d -p "$HOME")
# The stray holds a lock on this file while it runs: a question that holds in any namespace,
# and /proc/locks names its process as this one sees it.
lock=$work/stray.lock
marker=kavro-left-$$-$RANDOM
running() { ! flock -n "$lock" true; }
end_stray() {
    local inode pids
    inode=$(stat -c %i "$lock" 2> /dev/null) || return 0
    pids=$(awk -v inode="$inode" '{ split($6, id, ":") } id[3] == inode { print $5 }' /proc/locks)
    [[ -z $pids ]] || kill -9 $pids 2> /dev/null || true
}
trap 'end_stray; rm -rf "$work" "/tmp/$marker"' EXIT
# The stray leaves a file in /tmp; an X server, where there is one, its lock and socket.
stray='setsid bash -c "trap \"\" TERM HUP; touch /tmp/'$marker'; exec flock --no-fork '$lock' sleep 300" < /dev/null &> /dev/null &'
server='! command -v Xvfb > /dev/null || Xvfb -displayfd 3 -nolisten tcp 3> '$work'/display &> /dev/null &'
# Returns once the stray runs and the X server, if one was started, took a display.
ready='for _ in $(seq 100); do
    if ! flock -n '$lock' true && [[ ! -e '$work'/display || -s '$work'/display ]]; then exit 0; fi
    sleep 0.05
done
exit 1'
entries() { ls -A /tmp /tmp/.X11-unix 2> /dev/null || true; }

"$isolated" --keep-environment bash -c "$stray
$ready"
if ! running; then
    echo "FAIL!  : without namespaces the stray did not outlive its command, so this proves nothing"
    exit 1
fi
end_stray
for _ in $(seq 100); do running || break; sleep 0.05; done
rm -f "/tmp/$marker"

before=$(entries)
status=0
"$isolated" --namespaces --private-tmp --keep-environment bash -c "$stray
$server
$ready" || status=$?
((status == 77)) && exit 77
((status == 0)) || { echo "FAIL!  : the stray did not start in the namespaces"; exit 1; }
if running; then
    echo "FAIL!  : still running after its command ended"
    exit 1
fi
echo "PASS   : a detached process that ignores SIGTERM ended with its command"
left=$(comm -13 <(sort <<< "$before") <(entries | sort))
if [[ -n $left ]]; then
    echo "FAIL!  : left in /tmp: $left"
    exit 1
fi
echo "PASS   : nothing it or an X server made in /tmp is left"
