#!/usr/bin/env bash
# Runs every benchmark of a build folder; each prints its "bench <name>: <ratio> (target <= t)" lines.
set -euo pipefail
build=${1:-build/bench}
status=0
for program in "$build"/bench/bench_*; do
    [[ -x "$program" ]] || continue
    echo "== $(basename "$program")"
    "$program" || status=1
done
exit $status
