#!/bin/sh
# A host and a client, each a real Gorvanel program without a window in its own copy of the game
# directory, played through their screens by scripted keys and clicks: the intro, the name, the main
# menu, hosting and joining by address, the lobby with a chat line each way, the start money, the map's
# making and transfer, and on to both players' warlord selection. Both then end cleanly.
#
#   run_frontend.sh <Gorvanel> <folder for the screenshots>
set -u
game=$1
mkdir -p "$2"; shots=$(cd "$2" && pwd)
dist=$(cd "$(dirname "$game")" && pwd)
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
    # GORV_FRONTEND_KEEP=dir keeps the two folders (logs, commands, replies) for a look.
    if [ -n "${GORV_FRONTEND_KEEP:-}" ]; then rm -rf "$GORV_FRONTEND_KEEP"; cp -r "$work" "$GORV_FRONTEND_KEEP"; fi
    rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../play/players.sh"

send() {
    who=$1
    shift
    echo "$*" >> "$work/$who/ctl/commands"
}

fail() {
    echo "FAILED: $*"
    for who in host client; do
        echo "=== $who: replies"; cat "$work/$who/ctl/replies" 2>/dev/null
        echo "=== $who: stderr"; cat "$work/$who/stderr.txt" 2>/dev/null
        echo "=== $who: debug log (last lines)"; tail -n 40 "$work/$who/debug.txt" 2>/dev/null
    done
    exit 1
}

# Waits until the player's replies hold the line.
expect() {
    who=$1
    shift
    i=0
    until grep -qxF "$*" "$work/$who/ctl/replies" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt 1500 ] && fail "$who never answered \"$*\""
        eval "pid=\$pid_$who"
        kill -0 "$pid" 2>/dev/null || fail "$who ended before answering \"$*\""
        sleep 0.1
    done
}

# Sends a wait and expects its answer.
await() {
    who=$1
    shift
    send "$who" wait "$@"
    expect "$who" "$*"
}

setup host
setup client
start host
start client

port=$((20000 + $$ % 30000))
# The intro ends at a key (Space, held for a few reads), or by itself after a while: each program is
# told at once, and runs the wait and the key in its own order however long the other takes.
for who in host client; do
    send $who port $port
    send $who wait gs 60
    send $who keys 57 x5
done
for who in host client; do
    expect $who gs 60
    await $who gs 7
    send $who shot "$shots/frontend-$who-name.png"
done
send host type Hal
send client type Ann
for who in host client; do
    send $who say typed
    expect $who typed
    send $who click 695 570
    await $who gs 3
done

# The host hosts; the client joins by address.
send host click 400 100
await host gs 1
send client click 256 156
await client gs 8
send client type 127.0.0.1
send client say address
expect client address
send client keys 28
await client gs 1
await host players 2
await client players 2

# A chat line each way: typed, then sent with Enter once every character is in.
chat() {
    who=$1
    shift
    send "$who" type "$*"
    send "$who" say "typed: $*"
    expect "$who" "typed: $*"
    send "$who" keys 28
}
chat client Hello from Ann
await host feed Ann: Hello from Ann
chat host Welcome, Ann
await client feed Hal: Welcome, Ann
await host feed Hal: Welcome, Ann
send host shot "$shots/frontend-host-lobby.png"
send client shot "$shots/frontend-client-lobby.png"
expect client "shot $shots/frontend-client-lobby.png"

# The host starts the game and chooses the start money; the map is made, sent and guarded.
send host click 695 570
await host gs 50
send host click 400 125
await host gs 15
await client gs 15
send host say warlords
send client say warlords
expect host warlords
expect client warlords
send host shot "$shots/frontend-host-warlords.png"
send client shot "$shots/frontend-client-warlords.png"

# Both end through their shutdown: exit code 0, the log deleted.
send client quit
send host quit
status=0
for who in client host; do
    eval "pid=\$pid_$who"
    wait "$pid"
    rc=$?
    [ "$rc" -eq 0 ] || { echo "$who ended with $rc"; status=1; }
    [ ! -e "$work/$who/debug.txt" ] || { echo "$who left its debug log"; tail -n 20 "$work/$who/debug.txt"; status=1; }
done
pids=""
[ $status -eq 0 ] && echo "host and client went from the intro to the warlord selection"
exit $status
