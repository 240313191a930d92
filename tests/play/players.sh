# Shared by the tests that play real Gorvanel programs without a window, each driven through its
# screens by its control folder (game/screens/control.h). Sourced; the caller sets $dist (the game
# directory, absolute), $work (a scratch folder) and $pids, and gets, for a player named WHO:
#   setup WHO      his own game folder in $work/WHO: links to the shipped files, his own preferences
#                  (music off) and log, an empty commands file in ctl/
#   start WHO      starts his program in the background there (its output in stdout.txt and
#                  stderr.txt); its process id is in $pid_WHO
setup() {
    mkdir -p "$work/$1/ctl"
    for f in "$dist"/*; do
        case $(basename "$f") in debug.txt|gorvanel.ini) ;; *) ln -s "$f" "$work/$1/" ;; esac
    done
    printf '[Gorvanel Preferences]\n\nmusic=0\nsound=1\ngrid=0\nminimap=1\n' > "$work/$1/gorvanel.ini"
    : > "$work/$1/ctl/commands"
}

start() {
    (cd "$work/$1" && GORVANEL_HEADLESS=1 GORVANEL_CONTROL="$work/$1/ctl" exec ./Gorvanel >stdout.txt 2>stderr.txt) &
    eval "pid_$1=$!"
    pids="$pids $!"
}
