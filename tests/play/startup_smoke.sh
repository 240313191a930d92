#!/bin/sh
# The game program without a window, from a copy of the game directory: start-up runs to its end and
# the screens' loop turns; a request to end it (SIGTERM, as a closed window is) shuts it down cleanly:
# exit code 0, the preferences saved, the debug log deleted, nothing on stderr.
set -u
game=$1
dist=$(dirname "$game")
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
for f in "$dist"/*; do
    case $(basename "$f") in debug.txt|gorvanel.ini) ;; *) ln -s "$f" "$work/" ;; esac
done
cd "$work" || exit 2

GORVANEL_HEADLESS=1 ./Gorvanel 2>stderr.txt &
pid=$!
i=0
until grep -q '^Start-up finished\.$' debug.txt 2>/dev/null; do
    i=$((i + 1))
    if [ $i -gt 600 ] || ! kill -0 "$pid" 2>/dev/null; then
        echo "start-up did not finish"
        cat stderr.txt
        [ -f debug.txt ] && tail -n 30 debug.txt
        exit 1
    fi
    sleep 0.1
done
# Let the screens run some frames, then ask the program to end.
sleep 0.3
kill -TERM "$pid"
wait "$pid"
rc=$?
pid=""
status=0
[ "$rc" -eq 0 ] || { echo "exit code $rc"; status=1; }
[ ! -e debug.txt ] || { echo "debug.txt was not deleted"; tail -n 30 debug.txt; status=1; }
head -n 3 gorvanel.ini 2>/dev/null | grep -q '^sound = ' || { echo "the preferences were not saved"; status=1; }
[ ! -s stderr.txt ] || { echo "stderr:"; cat stderr.txt; status=1; }
[ $status -eq 0 ] && echo "started, ran and shut down cleanly"
exit $status
