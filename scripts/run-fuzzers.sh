#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Runs each libFuzzer target for a fixed number of inputs from its seed corpus:
#   run-fuzzers.sh RUNS TARGET...
# New inputs go to a scratch folder, so the committed seeds stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "$@"; do
    mkdir -p "$scratch/$target"
    log=$scratch/$target.log
    if ! build-fuzz/fuzz/"$target" -runs="$runs" -max_len=512 -print_final_stats=1 \
            "$scratch/$target" "fuzz/corpus/$target" > "$log" 2>&1; then
        cat "$log"
        echo "$target: FAILED" >&2
        exit 1
    fi
    echo "$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
done
