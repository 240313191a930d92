#!/bin/sh
# Runs a host and two clients of the multi-process test and compares their checkpoints: every client's
# "N digest" line must equal the host's line N, the game must have a winner, and the events the script
# promises must have happened on some machine ("event NAME" lines). The bytes every process sent and
# received on each connection must digest as in wire.expected, so that a change to the code keeps what
# goes on the wire.
set -u
bin=$1
dist=$2
. "$(dirname "$0")/runs.sh"
limit=100

timeout "$limit" "$bin" host "$dist" "$work/port" "$work/host.txt" 11 2>"$work/host.err" &
hostpid=$!
pids="$hostpid"
await_port
port=$(cat "$work/port")
timeout "$limit" "$bin" ann "$dist" "$port" "$work/ann.txt" 12 2>"$work/ann.err" &
annpid=$!
# Bo joins once Ann has: the order of joining decides the game.
tries=0
until grep -q '^event joined$' "$work/ann.txt" 2>/dev/null; do
    tries=$((tries + 1))
    if [ "$tries" -gt 400 ] || ! kill -0 "$annpid" 2>/dev/null; then
        echo "ann did not join"; cat "$work/ann.err"; exit 1
    fi
    sleep 0.05
done
timeout "$limit" "$bin" bo "$dist" "$port" "$work/bo.txt" 13 2>"$work/bo.err" &
bopid=$!
pids="$hostpid $annpid $bopid"

status=0
wait "$hostpid" || { echo "host failed"; status=1; }
wait "$annpid" || { echo "ann failed"; status=1; }
wait "$bopid" || { echo "bo failed"; status=1; }
pids=""

report() {
    for who in host ann bo; do
        echo "=== $who (stderr, last lines)"; tail -n 40 "$work/$who.err"
        echo "=== $who (checkpoints)"; tail -n 5 "$work/$who.txt" 2>/dev/null
        echo "=== $who (debug log, last lines)"; tail -n 30 "$work/$who.txt.log" 2>/dev/null
    done
}

check() {
    # $1: client file; $2: least number of checkpoints it must have
    awk -v least="$2" -v who="$1" '
        $1 == "event" { next }
        NR == FNR { if ($1 != "winner") host[$1] = $2; else hostwinner = $0; next }
        $1 == "winner" { if ($0 != hostwinner) { print who ": " $0 " but the host says " hostwinner; bad = 1 } next }
        { n++; if (!($1 in host)) { print who ": checkpoint " $1 " unknown to the host"; bad = 1 }
          else if (host[$1] != $2) { print who ": checkpoint " $1 " differs: " $2 " here, " host[$1] " on the host"; bad = 1 } }
        END { if (n < least) { print who ": only " n " checkpoints"; bad = 1 } exit bad }
    ' "$work/host.txt" "$work/$1.txt"
}

grep -q '^winner ' "$work/host.txt" 2>/dev/null || { echo "no winner"; status=1; }
for event in resist winrefused leftinturn upgrade kill; do
    cat "$work/host.txt" "$work/ann.txt" "$work/bo.txt" 2>/dev/null | grep -q "^event $event\$" ||
        { echo "the event \"$event\" did not happen"; status=1; }
done
grep -q '^Acted on ' "$work/host.txt.log" 2>/dev/null || { echo "no guard fought"; status=1; }
check ann 10 || status=1
check bo 3 || status=1
# GORV_UPDATE_WIRE=1 stores this run's wire digests as wire.expected instead of comparing with it.
expected="$(dirname "$0")/wire.expected"
for who in host ann bo; do sed "s/^/$who /" "$work/$who.txt.wire" 2>/dev/null; done >"$work/wire"
if [ "${GORV_UPDATE_WIRE:-}" = 1 ]; then
    cp "$work/wire" "$expected"
elif ! diff "$expected" "$work/wire"; then
    echo "the bytes on the wire differ from $expected"; status=1
fi
if [ "$status" -ne 0 ]; then
    report
    exit 1
fi
echo "checkpoints: host $(grep -c '^[0-9]' "$work/host.txt"), ann $(grep -c '^[0-9]' "$work/ann.txt"), bo $(grep -c '^[0-9]' "$work/bo.txt"); $(grep '^winner' "$work/host.txt"); $(cat "$work"/*.txt | grep '^event' | sort -u | tr '\n' ' ')"
exit 0
