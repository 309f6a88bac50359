#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Prints the CPU time and wakeups (context switches, all threads) of a running process over
# a span of seconds:  idle.sh PID SECONDS
set -euo pipefail
pid=$1
seconds=$2
switches() { cat /proc/"$pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
ticks() { awk '{ print $14 + $15 }' /proc/"$pid"/stat; }
s0=$(switches); t0=$(ticks)
sleep "$seconds"
s1=$(switches); t1=$(ticks)
hz=$(getconf CLK_TCK)
echo "$((s1 - s0)) $(((t1 - t0) * 1000 / hz))"
