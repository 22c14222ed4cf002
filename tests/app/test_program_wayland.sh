#!/bin/sh
# The built program on Qt's native Wayland platform (see with_weston.sh:
# weston's headless backend, without an input seat): it starts and keeps
# running, its window carries the app id of its desktop entry and tells the
# compositor it has one size (a compositor that draws the decorations then
# offers no maximise); ended as a session ends it (SIGTERM), it has saved its
# settings.
set -eu
program=$1 entry=$2
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
pid=""

fail() { echo "FAIL: $*"; cat program.log; exit 1; }

WAYLAND_DEBUG=client "$program" >program.log 2>&1 &
pid=$!
app_id=$(basename "$entry" .desktop)
shown=""
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended at start"
    timeout 2 weston-debug -o scene.txt scene-graph >/dev/null 2>&1 || true
    if grep -q "top-level window 'Ferrox SpdCalc' of $app_id" scene.txt; then shown=yes; break; fi
    sleep 0.2
done
[ -n "$shown" ] || fail "no window 'Ferrox SpdCalc' of $app_id in weston's scene graph"

min=$(sed -n 's/.*xdg_toplevel@[0-9]*\.set_min_size(\(.*\))$/\1/p' program.log | tail -n 1)
max=$(sed -n 's/.*xdg_toplevel@[0-9]*\.set_max_size(\(.*\))$/\1/p' program.log | tail -n 1)
[ -n "$min" ] && [ "$min" = "$max" ] || fail "the window does not tell a fixed size: min ($min), max ($max)"

sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended while shown"
kill -TERM "$pid"
wait "$pid" || true
pid=""
[ -f KDM.cfg ] || fail "no settings file after SIGTERM"
printf '[GENERAL SETTINGS]\r\nUnits=M\r\nLeftPosition=' | cmp -s -n 42 - KDM.cfg || fail "unexpected settings: $(cat -v KDM.cfg)"
echo "PASS: the program runs on Wayland without a seat, with a fixed-size window, and saves when ended"
