#!/bin/sh
# Starts the game where no display can be reached and no video driver was asked for: it must say so on
# stderr and end with exit code 0 at once, not run unseen.
set -u
game=$1
dir=$(dirname "$game")
err=$(mktemp)
trap 'rm -f "$err"' EXIT
cd "$dir" || exit 2
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=/nonexistent timeout 30 ./Gorvanel 2>"$err"
rc=$?
cat "$err"
if [ "$rc" -ne 0 ]; then
    echo "exit code $rc (124: it kept running)"
    exit 1
fi
grep -q "no display" "$err" || { echo "nothing said on stderr"; exit 1; }
exit 0
