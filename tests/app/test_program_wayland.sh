#!/bin/sh
# The built program in a Wayland session (see with_weston.sh: weston's
# headless backend, without an input seat): it starts and keeps running, its
# window carries the app id of its desktop entry, tells the compositor it
# has one size (a compositor that draws the decorations then offers no
# maximise) and has the program's own title bar; ended as a session ends it
# (SIGTERM), it has saved its settings.
# With "pointer" as third argument (under with_weston.sh --pointer), the
# title bar is clicked instead: where Qt's own bar has its maximise button,
# which asks for nothing and leaves the window as it is, then on close, which
# ends the program as a close of its window does.
set -eu
program=$1 entry=$2 mode=${3:-}
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

# Its title bar is the program's own, which offers no maximise, not Qt's.
decorations=$(grep -o 'wayland-decoration-client/[^ ]*' "/proc/$pid/maps" | sort -u)
[ "$decorations" = "wayland-decoration-client/libferroxspdcalc_decoration.so" ] ||
    fail "the title bar comes from: ${decorations:-no plugin}"

sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended while shown"
if [ "$mode" = pointer ]; then
    # The window's place in the session: "(left, top) -> (right, bottom)".
    place() {
        timeout 2 weston-debug -o scene.txt scene-graph >/dev/null 2>&1 || true
        sed -n "/top-level window 'Ferrox SpdCalc'/{n;s/.*position: //p;}" scene.txt | tail -n 1
    }
    click() { xdotool mousemove "$1" "$2"; sleep 0.3; xdotool click 1; sleep 0.5; }
    before=$(place)
    set -- $(echo "$before" | sed 's/(\(-*[0-9]*\), \(-*[0-9]*\)) -> (\(-*[0-9]*\),.*/\1 \2 \3/')
    left=$1 top=$2 right=$3
    # weston moves its pointer by the X pointer's motion: pushed into the
    # top left corner, both pointers meet there and then go alike.
    xdotool mousemove 1279 719
    sleep 0.2
    xdotool mousemove 0 0
    sleep 0.2
    click $((right - 40)) $((top + 13))
    kill -0 "$pid" 2>/dev/null || fail "a click where Qt's maximise button would be ended the program"
    ! grep -q 'xdg_toplevel@[0-9]*\.set_maximized' program.log || fail "a click on the title bar asked to maximise"
    after=$(place)
    [ "$after" = "$before" ] || fail "a click where Qt's maximise button would be changed the window from $before to $after"
    click $((right - 17)) $((top + 13))
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "a click on the close button left the program running"
    status=0
    wait "$pid" || status=$?
    [ $status -eq 0 ] || fail "closed from its title bar, the program ended with status $status"
    ended="from its title bar's close button"
else
    kill -TERM "$pid"
    wait "$pid" || true
    ended="by SIGTERM"
fi
pid=""
[ -f KDM.cfg ] || fail "no settings file after the end $ended"
printf '[GENERAL SETTINGS]\r\nUnits=M\r\nLeftPosition=' | cmp -s -n 42 - KDM.cfg || fail "unexpected settings: $(cat -v KDM.cfg)"
echo "PASS: the program runs in a Wayland session, with a fixed-size window and its own title bar, and saves when ended $ended"
