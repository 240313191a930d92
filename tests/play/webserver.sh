# Shared by the updater's smoke tests (sourced): points the updater at a local web server once the
# server has written its port into its log.
#
#   use_server <server log>
use_server() {
    port=
    for i in $(seq 100); do
        port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$1" | head -n 1)
        [ -n "$port" ] && break
        sleep 0.1
    done
    [ -n "$port" ] || { echo "the web server did not start"; exit 2; }
    export GORVANEL_UPDATE_URL="http://127.0.0.1:$port/download/files/gorvanel/"
    export no_proxy=127.0.0.1
}
