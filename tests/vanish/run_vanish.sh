#!/bin/sh
# A host and a joined peer, each in its own network namespace, joined by a veth pair; then the peer's
# end of the pair goes down, as when a machine loses its power or its cable, and the peer says nothing
# more. The host must see the connection end (timed out) within about a minute.
#
# It runs as any user: it first enters a user namespace of its own (unshare -Urn), where it may make
# network namespaces and links without being root on the machine. Where that is not allowed it fails:
# a check that cannot run must not pass.
#
#   run_vanish.sh <vanish_peer>
set -u
peer=$1
PATH=$PATH:/usr/sbin:/sbin
export PATH

fail() {
    echo "$*"
    exit 1
}

if [ -z "${GORV_VANISH_INSIDE:-}" ]; then
    command -v unshare >/dev/null 2>&1 || fail "needs unshare(1) (util-linux) to make the namespaces"
    command -v ip >/dev/null 2>&1 || fail "needs ip(8) (iproute2) to make the virtual cable"
    GORV_VANISH_INSIDE=1 exec unshare -Urn "$0" "$@"
    fail "cannot make a user and network namespace (unshare -Urn): the test cannot run here"
fi

# Inside: root of a user namespace, in the host's new network namespace. The peer gets one more,
# held open by a process that only sleeps.
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

unshare -n sleep 600 &
holder=$!
pids="$holder"
own=$(readlink /proc/self/ns/net)
i=0
while [ "$(readlink /proc/$holder/ns/net 2>/dev/null)" = "$own" ] || [ ! -e /proc/$holder/ns/net ]; do
    i=$((i + 1))
    [ $i -le 100 ] || fail "the peer's network namespace was not made"
    sleep 0.05
done
inpeer() {
    nsenter -t "$holder" -n "$@"
}

ip link add vhost type veth peer name vpeer || fail "cannot make a veth pair here"
ip link set vpeer netns "$holder" || fail "cannot move the cable's end to the peer's namespace"
ip addr add 10.231.0.1/24 dev vhost && ip link set vhost up || fail "cannot set up the host's end"
inpeer ip addr add 10.231.0.2/24 dev vpeer && inpeer ip link set vpeer up || fail "cannot set up the peer's end"

# Waits up to $2 seconds for the file $1 to hold a line starting with $3.
await() {
    i=0
    while ! grep -q "^$3" "$1" 2>/dev/null; do
        i=$((i + 1))
        [ $i -le $(($2 * 10)) ] || return 1
        sleep 0.1
    done
}

"$peer" host 4417 > "$work/host.txt" 2>&1 &
pids="$pids $!"
await "$work/host.txt" 10 listening || { echo "the host did not listen"; cat "$work/host.txt"; exit 1; }
inpeer "$peer" join 10.231.0.1 4417 > "$work/peer.txt" 2>&1 &
pids="$pids $!"
await "$work/host.txt" 10 accepted || { echo "the host took no connection"; cat "$work/host.txt" "$work/peer.txt"; exit 1; }
await "$work/peer.txt" 10 connected || { echo "the peer did not connect"; cat "$work/peer.txt"; exit 1; }

# The peer's machine vanishes: its cable is cut; it neither answers nor closes.
inpeer ip link set vpeer down || fail "cannot cut the cable"
if ! await "$work/host.txt" 100 closed; then
    echo "the host never noticed the vanished peer"
    exit 1
fi
line=$(grep '^closed' "$work/host.txt")
echo "host: $line"
ms=${line##* }
case "$line" in
"closed timed out "*) ;;
*) echo "expected the connection to time out"; exit 1 ;;
esac
[ "$ms" -le 75000 ] || { echo "noticed after $ms ms: more than about a minute"; exit 1; }
exit 0
