#!/bin/sh
# A host and a joined peer, each in its own network namespace, joined by a veth pair; then the peer's
# end of the pair goes down, as when a machine loses its power or its cable, and the peer says nothing
# more. The host must see the connection end (timed out) within about a minute.
#
#   run_vanish.sh <vanish_peer>
set -u
peer=$1
if [ "$(id -u)" != 0 ] || ! command -v ip >/dev/null 2>&1; then
    echo "needs root and ip(8) for network namespaces: skipped"
    exit 77
fi
tag=gv$$
hostns=${tag}h
peerns=${tag}p
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
    ip netns del "$hostns" 2>/dev/null
    ip netns del "$peerns" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ip netns add "$hostns" && ip netns add "$peerns" || { echo "no network namespaces here: skipped"; exit 77; }
ip link add "${tag}a" type veth peer name "${tag}b" || { echo "no veth here: skipped"; exit 77; }
ip link set "${tag}a" netns "$hostns"
ip link set "${tag}b" netns "$peerns"
ip -n "$hostns" addr add 10.231.0.1/24 dev "${tag}a"
ip -n "$peerns" addr add 10.231.0.2/24 dev "${tag}b"
ip -n "$hostns" link set "${tag}a" up
ip -n "$peerns" link set "${tag}b" up

# Waits up to $2 seconds for the file $1 to hold a line starting with $3.
await() {
    i=0
    while ! grep -q "^$3" "$1" 2>/dev/null; do
        i=$((i + 1))
        [ $i -le $(($2 * 10)) ] || return 1
        sleep 0.1
    done
}

ip netns exec "$hostns" "$peer" host 4417 > "$work/host.txt" 2>&1 &
pids="$pids $!"
await "$work/host.txt" 10 listening || { echo "the host did not listen"; cat "$work/host.txt"; exit 1; }
ip netns exec "$peerns" "$peer" join 10.231.0.1 4417 > "$work/peer.txt" 2>&1 &
pids="$pids $!"
await "$work/host.txt" 10 accepted || { echo "the host took no connection"; cat "$work/host.txt" "$work/peer.txt"; exit 1; }
await "$work/peer.txt" 10 connected || { echo "the peer did not connect"; cat "$work/peer.txt"; exit 1; }

# The peer's machine vanishes: its cable is cut; it neither answers nor closes.
ip -n "$peerns" link set "${tag}b" down
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
