# Sourced by the multi-process test's scripts. Sets $work, a scratch folder removed at the end with
# every process still listed in $pids (GORV_MP_KEEP=dir keeps a copy of it there for a look), and
# defines await_port: once the caller started the host ($hostpid) with its port file at $work/port and
# its stderr in $work/host.err, waits until the host has written its port; ends the run if it never does.
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    if [ -n "${GORV_MP_KEEP:-}" ]; then rm -rf "$GORV_MP_KEEP"; cp -r "$work" "$GORV_MP_KEEP"; fi
    rm -rf "$work"
}
trap cleanup EXIT

await_port() {
    tries=0
    while [ ! -s "$work/port" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 400 ] || ! kill -0 "$hostpid" 2>/dev/null; then
            echo "the host did not start listening"; cat "$work/host.err"; exit 1
        fi
        sleep 0.05
    done
}
