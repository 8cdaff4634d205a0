#!/usr/bin/env bash
# Runs every benchmark of a build folder; each prints its "bench <name>: <ratio> (target <= t)" lines.
set -euo pipefail
build=${1:-build/bench}
status=0
for program in "$build"/bench/bench_*; do
    [[ -x "$program" ]] || continue
    echo "== $(basename "$program")"
    # The file system writes back what the last benchmark left (100,000 files made and deleted)
    # before this one starts, so that no benchmark pays for its predecessor.
    sync
    "$program" || status=1
done
exit $status
