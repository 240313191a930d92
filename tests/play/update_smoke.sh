#!/bin/sh
# The real updater under Xvfb against a local web server: a game directory at version 1.0.0.0, a click
# on Update, the "Update complete!" box answered, and the directory at version 1.0.1.0 with nothing of
# the updater's own left in it. Screenshots of the window before and after, and of the box, go to <out>.
#
#   update_smoke.sh <game directory built> <gorvpack> <out folder>
set -u
. "$(dirname "$0")/webserver.sh"
dist=$1
gorvpack=$2
out=$3
work=$(mktemp -d)
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$out" "$work/game" "$work/site/download/files/gorvanel" "$work/b"
site=$work/site/download/files/gorvanel

# A string module carrying a version, packed by our packer.
version_module() {
    printf '63210\t%s\n63211\t%s\n63212\t%s\n63213\t%s\n' "$2" "$3" "$4" "$5" > "$work/v.txt"
    echo "strings v.txt" > "$work/v.manifest"
    "$gorvpack" "$work/v.manifest" "$1" || exit 2
}

# Version A: the updater, its font, the string module and a stand-in for the game.
cp "$dist/update" "$dist/Font.ttf" "$work/game/"
version_module "$work/game/Tessarine.dll" 1 0 0 0
printf '#!/bin/sh\necho "game A"\n' > "$work/game/Gorvanel"
chmod 755 "$work/game/Gorvanel"

# Version B on the server: the manifest and the two files.
version_module "$work/b/Tessarine.dll" 1 0 1 0
printf '#!/bin/sh\necho "game B"\n' > "$work/b/Gorvanel"
cp "$work/b/Gorvanel" "$site/PKG.000"
cp "$work/b/Tessarine.dll" "$site/PKG.001"
printf 'GORV_MRV_DATA\nGorvanel\nVersion B\n1\n0\n1\n0\n2\nGorvanel\n%s\ntessarine.dll\n%s\n' \
    "$(wc -c < "$site/PKG.000")" "$(wc -c < "$site/PKG.001")" > "$site/__download.txt"

python3 -u -m http.server --bind 127.0.0.1 --directory "$work/site" 0 > "$work/server.log" 2>&1 &
server=$!
use_server "$work/server.log"
xvfb-run -a -s "-screen 0 800x600x24" sh -c '
    out=$1
    cd "$2" || exit 2
    ./update > ../update.log 2>&1 &
    pid=$!
    # The ids of the top-level windows named "Gorvanel Update" (the window and the box), one a line.
    windows() { xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) \"Gorvanel Update\".*/\1/p"; }
    wait_for() {   # wait_for <count>: until that many windows are up
        i=0
        while [ "$(windows | wc -l)" -ne "$1" ]; do
            i=$((i + 1))
            if [ $i -gt 300 ] || ! kill -0 $pid 2>/dev/null; then
                echo "waited in vain for $1 window(s)"; kill $pid 2>/dev/null; exit 1
            fi
            sleep 0.1
        done
        sleep 0.5
    }
    wait_for 1
    win=$(windows)
    xwininfo -id "$win" | grep -E "Absolute|Width|Height"
    import -window "$win" "$out/update_before.png"
    xdotool mousemove --window "$win" 200 167 click 1
    wait_for 2
    box=$(windows | grep -v "^$win\$")
    echo "the box: $box"
    import -window root "$out/update_box.png"
    # The box opens whole on the screen and centred across it, with no window manager to put it there.
    eval "$(xwininfo -id "$box" | sed -n -e "s/^ *Absolute upper-left X: *\(-*[0-9]*\)$/x=\1/p" \
        -e "s/^ *Absolute upper-left Y: *\(-*[0-9]*\)$/y=\1/p" -e "s/^ *Width: *\([0-9]*\)$/w=\1/p" \
        -e "s/^ *Height: *\([0-9]*\)$/h=\1/p")"
    if [ $x -lt 0 ] || [ $y -lt 0 ] || [ $((x + w)) -gt 800 ] || [ $((y + h)) -gt 600 ] ||
       [ $((2 * x + w - 800)) -gt 2 ] || [ $((2 * x + w - 800)) -lt -2 ]; then
        echo "the box is at $x,$y, $w x $h: not whole and centred on the 800 x 600 screen"; kill $pid; exit 1
    fi
    xdotool windowfocus "$box" key Return
    wait_for 1
    import -window "$win" "$out/update_after.png"
    xdotool mousemove --window "$win" 200 267 click 1
    wait $pid
    rc=$?
    echo "update ended with $rc"
    exit $rc
' sh "$out" "$work/game"
rc=$?
cat "$work/update.log"
[ $rc -eq 0 ] || exit $rc

cmp "$work/game/Gorvanel" "$work/b/Gorvanel" || { echo "the game was not updated"; exit 1; }
cmp "$work/game/Tessarine.dll" "$work/b/Tessarine.dll" || { echo "the string module was not updated"; exit 1; }
[ -x "$work/game/Gorvanel" ] || { echo "the game lost its run bit"; exit 1; }
left=$(ls "$work/game" | grep -E "^(ftplist\.txt|PKG\.)")
[ -z "$left" ] || { echo "work files left: $left"; exit 1; }
grep -q "GET /download/files/gorvanel/PKG.001" "$work/server.log" || { cat "$work/server.log"; exit 1; }
echo "updated from 1.0.0.0 to 1.0.1.0"
