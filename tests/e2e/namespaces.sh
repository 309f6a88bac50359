#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# A process that ignores SIGTERM and detaches into a session of its own outlives a command run
# without namespaces, and is gone the moment one run with them ends: what keeps each
# end-to-end test from leaving anything running.
#   namespaces.sh path/to/isolated
set -euo pipefail
isolated=$1
marker=kavro-stray-$$-$RANDOM
strays() { pgrep -f "^$marker"; }
# Starts the stray and returns once it runs.
start_stray='setsid bash -c "trap \"\" TERM HUP; exec -a '$marker' sleep 300" < /dev/null &> /dev/null &
for _ in $(seq 100); do pgrep -f "^'$marker'" > /dev/null && exit 0; sleep 0.05; done
exit 1'
trap 'pkill -9 -f "^$marker" || true' EXIT

"$isolated" --keep-environment bash -c "$start_stray"
if ! strays > /dev/null; then
    echo "FAIL!  : without namespaces the stray did not outlive its command, so this proves nothing"
    exit 1
fi
pkill -9 -f "^$marker"

status=0
"$isolated" --namespaces --keep-environment bash -c "$start_stray" || status=$?
((status == 77)) && exit 77
((status == 0)) || { echo "FAIL!  : the stray did not start in the namespaces"; exit 1; }
if left=$(strays); then
    echo "FAIL!  : still running after its command ended: $left"
    exit 1
fi
echo "PASS   : a detached process that ignores SIGTERM ended with its command"
