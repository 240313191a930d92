#!/bin/sh
# The real updater under Xvfb, stopped part-way: a server that trickles the game's new program a byte
# a second, a click on Update, then SIGTERM (as a logout or `kill` sends it). The updater must end
# within seconds, leave the game directory as it was with no work file, and say in update.log that the
# update was cancelled. Then the same with the window's close box (the window manager's message).
#
#   update_cancel_smoke.sh <game directory built> <gorvpack>
set -u
. "$(dirname "$0")/webserver.sh"
dist=$1
gorvpack=$2
work=$(mktemp -d)
server=
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/game"

printf '63210\t1\n63211\t0\n63212\t0\n63213\t0\n' > "$work/v.txt"
echo "strings v.txt" > "$work/v.manifest"
"$gorvpack" "$work/v.manifest" "$work/game/Tessarine.dll" || exit 2
cp "$dist/update" "$dist/Font.ttf" "$work/game/"
printf '#!/bin/sh\necho "game A"\n' > "$work/game/Gorvanel"
chmod 755 "$work/game/Gorvanel"
(cd "$work/game" && ls -la --time-style=+ | sort) > "$work/before.txt"

# The list offers a new game program of 1000 bytes, which then comes a byte a second.
cat > "$work/server.py" <<'PY'
import http.server, sys, time
class Trickle(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        sys.stdout.write("GET " + self.path + "\n"); sys.stdout.flush()
        if self.path.endswith("__download.txt"):
            body = b"GORV_MRV_DATA\nGorvanel\nB\n1\n0\n0\n1\n1\nGorvanel\n1000\n"
            self.send_response(200); self.send_header("Content-Length", str(len(body))); self.end_headers()
            self.wfile.write(body)
            return
        self.send_response(200); self.send_header("Content-Length", "1000"); self.end_headers()
        try:
            for i in range(1000):
                self.wfile.write(b"x"); self.wfile.flush(); time.sleep(1)
        except OSError:
            pass
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Trickle)
print("port", server.server_address[1], flush=True)
server.serve_forever()
PY
# What a window manager sends when the user clicks a window's close box: WM_DELETE_WINDOW.
cat > "$work/close.py" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 24)]
display = x.XOpenDisplay(None)
window = int(sys.argv[1], 16)
event = ClientMessage(type=33, window=window, format=32)
event.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x.XFlush(display)
PY
python3 -u "$work/server.py" > "$work/server.log" 2>&1 &
server=$!
use_server "$work/server.log"

for how in SIGTERM close; do
    xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
        how=$1; serverlog=$2; closer=$4
        cd "$3" || exit 2
        ./update > ../update.out 2>&1 &
        pid=$!
        i=0
        while [ -z "$(xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) \"Gorvanel Update\".*/\1/p")" ]; do
            i=$((i + 1)); [ $i -gt 300 ] && { echo "no window"; kill $pid; exit 1; }
            sleep 0.1
        done
        sleep 0.5
        win=$(xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) \"Gorvanel Update\".*/\1/p" | head -n 1)
        before=$(grep -c PKG.000 "$serverlog")
        xdotool mousemove --window "$win" 200 167 click 1
        i=0
        while [ "$(grep -c PKG.000 "$serverlog")" -le "$before" ]; do
            i=$((i + 1)); [ $i -gt 300 ] && { echo "the download never began"; kill $pid; exit 1; }
            sleep 0.1
        done
        sleep 1.5    # part of the file has come
        start=$(date +%s)
        if [ "$how" = SIGTERM ]; then kill -TERM $pid; else python3 "$closer" "$win"; fi
        wait $pid
        rc=$?
        took=$(( $(date +%s) - start ))
        echo "$how: the updater ended with $rc after ${took}s"
        [ $took -le 5 ] || { echo "too slow to stop"; exit 1; }
        exit $rc
    ' sh "$how" "$work/server.log" "$work/game" "$work/close.py" || { cat "$work/update.out"; exit 1; }
    grep -q "The update was cancelled" "$work/game/update.log" || { cat "$work/game/update.log"; exit 1; }
    rm "$work/game/update.log"
    (cd "$work/game" && ls -la --time-style=+ | sort) > "$work/after.txt"
    diff "$work/before.txt" "$work/after.txt" || { echo "$how: the game directory changed"; exit 1; }
    grep -q '"game A"' "$work/game/Gorvanel" || { echo "$how: the game was changed"; exit 1; }
done
echo "stopped part-way twice, nothing changed"
