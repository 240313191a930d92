#!/bin/sh
# The multi-process test's lobby host serves three wire-level players (flood_driver): one floods it with
# 24 MB of chat lines, once reading what it sends him and once not, while another's chat lines are timed
# on their way to the third. The host must end cleanly once they have all left.
#
#   run_flood.sh <gorvanel_mp> <flood_driver> <game dir>
set -u
bin=$1
driver=$2
dist=$3
. "$(dirname "$0")/runs.sh"

timeout 200 "$bin" lobby "$dist" "$work/port" "$work/passes" 11 2>"$work/host.err" &
hostpid=$!
pids="$hostpid"
await_port

status=0
"$driver" lobby "$work/passes" "$(cat "$work/port")" || status=1
wait "$hostpid" || { echo "the host did not end cleanly"; status=1; }
pids=""
if [ "$status" -ne 0 ]; then
    echo "=== host (stderr, last lines)"; tail -n 20 "$work/host.err"
    echo "=== host (debug log, last lines)"; tail -n 30 "$work/passes.log"
fi
exit $status
