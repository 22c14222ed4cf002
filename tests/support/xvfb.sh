# Sourced by the scripts that run tests in an X session of their own:
# start_xvfb WORK starts Xvfb on a free display, keeps its pid in `server`
# and exports DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
    server=$!
    for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.1; done
    [ -s "$1/display" ] || { echo "Xvfb did not start:"; cat "$1/xvfb.log"; exit 1; }
    DISPLAY=":$(cat "$1/display")"
    export DISPLAY
}
