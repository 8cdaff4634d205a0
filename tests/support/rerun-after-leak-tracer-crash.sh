#!/usr/bin/env bash
# Runs a test command, and runs it once more when its only fault was LeakSanitizer's own end-of-run
# crash ("Tracer caught signal 11"): every assertion passed, and the leak checker died while it
# suspended the threads GStreamer's media player was still tearing down, a fault of the checker, not a
# finding. The second run checks for leaks in full; any other failure is reported as it is.
set -u
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" > >(tee "$log") 2>&1
status=$?
wait
if [ "$status" -ne 0 ] && grep -q 'Tracer caught signal' "$log" && grep -q '^\[  PASSED  \]' "$log" &&
    ! grep -q '^\[  FAILED  \]' "$log"; then
    echo "-- the leak checker crashed after the test passed; running the test once more"
    "$@"
    status=$?
fi
exit "$status"
