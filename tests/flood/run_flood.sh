#!/bin/sh
# A real Gorvanel program hosts, driven into its lobby through its control folder; the driver
# (flood_driver) then joins three wire-level players, floods from one of them and times another's chat.
# The host must end cleanly afterwards.
#
#   run_flood.sh <Gorvanel> <driver>
set -u
game=$1
driver=$2
dist=$(cd "$(dirname "$game")" && pwd)
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../play/players.sh"

port=$((20000 + $$ % 30000))
setup host
echo "port $port" >> "$work/host/ctl/commands"
start host

"$driver" game "$work/host" "$port"
status=$?
if [ $status -ne 0 ]; then
    kill -9 "$pid_host" 2>/dev/null
    echo "=== host: stderr"; cat "$work/host/stderr.txt" 2>/dev/null
    echo "=== host: debug log (last lines)"; tail -n 40 "$work/host/debug.txt" 2>/dev/null
    exit 1
fi
wait "$pid_host"
rc=$?
[ "$rc" -eq 0 ] || { echo "the host ended with $rc"; status=1; }
[ ! -s "$work/host/stderr.txt" ] || { echo "the host wrote to stderr:"; cat "$work/host/stderr.txt"; status=1; }
pids=""
exit $status
