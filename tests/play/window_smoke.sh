#!/bin/sh
# Starts the game under Xvfb, waits for its window, asks it to close (the window manager's close
# request arrives as a quit event, as SIGTERM does), and expects exit code 0.
set -u
game=$1
dir=$(dirname "$game")
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    cd "$1" || exit 2
    ./Gorvanel &
    pid=$!
    i=0
    while ! xwininfo -name Gorvanel >/dev/null 2>&1; do
        i=$((i + 1))
        if [ $i -gt 200 ] || ! kill -0 $pid 2>/dev/null; then
            echo "the window did not appear"
            kill $pid 2>/dev/null
            exit 1
        fi
        sleep 0.1
    done
    xwininfo -name Gorvanel | grep -E "Width|Height"
    kill -TERM $pid
    wait $pid
    rc=$?
    echo "exit code $rc"
    exit $rc
' sh "$dir"
