#!/bin/sh
# A host and two clients, each a real Gorvanel program without a window in its own copy of the game
# directory, played through their screens by the driver (wholegame_driver): from the intro, hosting and
# joining, the set-up, warlords, shopping and deployment through the days' turns, two players leaving
# by the in-game menu, to the host's victory screen. Every program then ends cleanly.
#
#   run_wholegame.sh <Gorvanel> <driver> <folder for the screenshots>
set -u
game=$1
driver=$2
shots=$3
dist=$(dirname "$game")
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
    # GORV_WHOLEGAME_KEEP=dir keeps the three folders (logs, commands, replies) for a look.
    if [ -n "${GORV_WHOLEGAME_KEEP:-}" ]; then rm -rf "$GORV_WHOLEGAME_KEEP"; cp -r "$work" "$GORV_WHOLEGAME_KEEP"; fi
    rm -rf "$work"
}
trap cleanup EXIT

# A player's own game folder: links to the shipped files, its own preferences (music off) and log.
setup() {
    mkdir -p "$work/$1/ctl"
    for f in "$dist"/*; do
        case $(basename "$f") in debug.txt|gorvanel.ini) ;; *) ln -s "$f" "$work/$1/" ;; esac
    done
    printf '[Gorvanel Preferences]\n\nmusic=0\nsound=1\ngrid=0\nminimap=1\n' > "$work/$1/gorvanel.ini"
    : > "$work/$1/ctl/commands"
}

start() {
    (cd "$work/$1" && GORVANEL_HEADLESS=1 GORVANEL_CONTROL="$work/$1/ctl" exec ./Gorvanel 2>stderr.txt) &
    eval "pid_$1=$!"
    pids="$pids $!"
}

port=$((20000 + $$ % 30000))
for who in host ann bo; do
    setup $who
    echo "port $port" >> "$work/$who/ctl/commands"
    start $who
done

"$driver" "$shots" "$work/host" "$work/ann" "$work/bo"
status=$?

for who in host ann bo; do
    eval "pid=\$pid_$who"
    if [ $status -ne 0 ]; then
        kill -9 "$pid" 2>/dev/null
        echo "=== $who: stderr"; cat "$work/$who/stderr.txt" 2>/dev/null
        echo "=== $who: debug log (last lines)"; tail -n 60 "$work/$who/debug.txt" 2>/dev/null
        continue
    fi
    wait "$pid"
    rc=$?
    [ "$rc" -eq 0 ] || { echo "$who ended with $rc"; status=1; }
    [ ! -e "$work/$who/debug.txt" ] || { echo "$who left its debug log"; tail -n 20 "$work/$who/debug.txt"; status=1; }
    [ ! -s "$work/$who/stderr.txt" ] || { echo "$who wrote to stderr:"; cat "$work/$who/stderr.txt"; status=1; }
done
pids=""
exit $status
