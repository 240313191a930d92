#!/bin/sh
# The real installer under Xvfb, as a user meets it: the installer's folder packed from the built game
# (as `make package` packs it) and copied; a directory typed, the licence accepted, the install; Play
# starts the installed game, headless (GORVANEL_HEADLESS=1), which reaches its intro; the installer
# opened again uninstalls, and nothing of the install is left. Screenshots go to <out>.
#
#   install_smoke.sh <out> <cmake> <package.cmake> <game directory> <head manifest> <gorvpackage> <gorvpack>
set -u
out=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/home/.config"
"$2" -DGAMEDIR="$4" -DHEAD="$5" -DOUT="$work/setup" -DWORK="$work/manifests" -DGORVPACKAGE="$6" \
    -DGORVPACK="$7" -P "$3" || exit 2
ls -l "$work/setup"

export HOME="$work/home"
unset XDG_CONFIG_HOME
export GORVANEL_HEADLESS=1
(cd "$HOME" && find . | sort) > "$work/before.txt"
typed='$HOME/Games/My Gorvanel'
dir="$HOME/Games/My Gorvanel"

xvfb-run -a -s "-screen 0 800x600x24" sh -c '
    out=$1; typed=$2; dir=$3
    cd "$4" || exit 2
    # The ids of the top-level windows with that name, one a line.
    windows() { xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) \"$1\".*/\1/p"; }
    wait_for() {   # wait_for <name>: until a window of that name is up; prints its id
        i=0
        while [ -z "$(windows "$1")" ]; do
            i=$((i + 1))
            if [ $i -gt 1200 ] || ! kill -0 $pid 2>/dev/null; then
                echo "waited in vain for the window \"$1\"" >&2; kill $pid 2>/dev/null; exit 1
            fi
            sleep 0.1
        done
        sleep 0.5
        windows "$1" | head -n 1
    }
    wait_gone() {  # wait_gone <name>
        while [ -n "$(windows "$1")" ]; do sleep 0.1; done
        sleep 0.3
    }
    # The place and size of a window on the screen: x, y, w, h.
    place() {
        eval "$(xwininfo -id "$1" | sed -n -e "s/^ *Absolute upper-left X: *\(-*[0-9]*\)$/x=\1/p" \
            -e "s/^ *Absolute upper-left Y: *\(-*[0-9]*\)$/y=\1/p" -e "s/^ *Width: *\([0-9]*\)$/w=\1/p" \
            -e "s/^ *Height: *\([0-9]*\)$/h=\1/p")"
    }
    # A window shows only what it drew, whatever lay over it before: the installer window around a box,
    # pixel for pixel as pictured before the box opened, but for the button clicked (pressed now).
    only_own() {   # only_own <box> <picture of the window before> <the button clicked: x0,y0 x1,y1>
        place "$win"; wx=$x; wy=$y; ww=$w; wh=$h
        place "$1"
        mask="rectangle $((x - wx)),$((y - wy)) $((x - wx + w - 1)),$((y - wy + h - 1)) rectangle $3"
        import -window root "$out/screen.png"
        convert "$out/screen.png" -crop "${ww}x${wh}+${wx}+${wy}" +repage -fill black -draw "$mask" "$out/around.png"
        convert "$out/$2" -fill black -draw "$mask" "$out/around-before.png"
        differ=$(compare -metric AE "$out/around.png" "$out/around-before.png" null: 2>&1)
        [ "$differ" = 0 ] || { echo "$differ pixels of the window around the box \"$1\" are not its own" >&2; kill $pid; exit 1; }
    }
    answer() {     # answer <box name> <picture>: the box, pictured, answered with Return (Yes or OK)
        box=$(wait_for "$1") || exit 1
        import -window root "$out/$2"
        # A message box opens whole on the screen and centred across it, with no window manager to put
        # it there.
        place "$box"
        if [ $x -lt 0 ] || [ $y -lt 0 ] || [ $((x + w)) -gt 800 ] || [ $((y + h)) -gt 600 ] ||
           [ $((2 * x + w - 800)) -gt 2 ] || [ $((2 * x + w - 800)) -lt -2 ]; then
            echo "the box \"$1\" is at $x,$y, $w x $h: not whole and centred on the 800 x 600 screen" >&2
            kill $pid; exit 1
        fi
        xdotool windowfocus "$box" key Return
        wait_gone "$1"
    }
    click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.4; }

    ./installer > ../installer1.log 2>&1 &
    pid=$!
    win=$(wait_for "Gorvanel Setup") || exit 1
    xwininfo -id "$win" | grep -E "Width|Height"
    import -window "$win" "$out/install_screen0.png"
    click 200 220                                   # Install
    import -window "$win" "$out/install_screen2.png"
    xdotool windowfocus "$win"
    click 360 227                                   # into the edit box, after the text
    xdotool key End
    for i in $(seq 17); do xdotool key BackSpace; done
    xdotool type --delay 20 "$typed"
    sleep 0.5
    import -window "$win" "$out/install_typed.png"
    click 300 295                                   # Install
    answer "License Agreement" install_licence.png
    answer "Success!" install_success.png
    import -window "$win" "$out/install_screen1.png"
    click 200 220                                   # Play: the installer closes
    wait $pid || exit 1

    # The game, started from its directory, reaches its intro.
    i=0
    until grep -q "Start-up finished." "$dir/debug.txt" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt 600 ] && { echo "the installed game did not reach its intro"; exit 1; }
        sleep 0.2
    done
    echo "the installed game reached its intro:"
    tail -n 3 "$dir/debug.txt"
    game=
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/cwd" 2>/dev/null)" = "$dir" ] && [ "$(readlink "$p/exe")" = "$dir/Gorvanel" ] && game=${p#/proc/}
    done
    [ -n "$game" ] || { echo "the game is not running from its directory"; exit 1; }
    kill -TERM "$game"
    while kill -0 "$game" 2>/dev/null; do sleep 0.1; done

    ./installer > ../installer2.log 2>&1 &
    pid=$!
    win=$(wait_for "Gorvanel Setup") || exit 1
    import -window "$win" "$out/uninstall_screen1.png"
    xdotool mousemove --window "$win" 200 270; sleep 0.4
    import -window "$win" "$out/uninstall_pointed.png"
    xdotool click 1                                 # Uninstall
    answer "Confirm uninstall" uninstall_confirm.png
    box=$(wait_for "Success") || exit 1
    only_own "$box" uninstall_pointed.png "120,245 280,295"
    answer "Success" uninstall_success.png
    import -window "$win" "$out/uninstall_screen0.png"
    click 200 320                                   # Quit
    wait $pid
' sh "$out" "$typed" "$dir" "$work/setup"
rc=$?
cat "$work/installer1.log" "$work/installer2.log" 2>/dev/null
[ $rc -eq 0 ] || exit $rc

# Nothing of the install is left: the record is gone, and so is every file and directory it made; the
# game's own preferences, written while it ran, are all that stays.
(cd "$HOME" && find . | sort) > "$work/after.txt"
left=$(diff "$work/before.txt" "$work/after.txt" | sed -n 's/^> //p')
echo "left after the uninstall:"; echo "$left"
[ "$left" = "$(printf './Games\n./Games/My Gorvanel\n./Games/My Gorvanel/gorvanel.ini')" ] || exit 1
[ ! -e "$HOME/.config/gorvanel" ] || { echo "the record is still there"; exit 1; }
echo "installed, played and uninstalled"
