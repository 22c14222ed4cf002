#!/bin/sh
# The built program as a user runs it, in a real X session (see
# with_window_manager.sh): it opens its window, the user switches the units
# from the keyboard and closes the window with the window manager's Alt+F4;
# the program ends and has saved its settings, and a second start in that
# directory comes back in the same units at the same place. Its window carries
# the class that its desktop entry names, so the desktop ties them together.
set -eu
program=$1 entry=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }

window_of() { xdotool search --sync --onlyvisible --name '^Ferrox SpdCalc$' | head -n 1; }

"$program" &
pid=$!
window=$(window_of)
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xdotool search --class "^$wm_class\$" | grep -qx "$window" || fail "the window's class is not StartupWMClass=$wm_class"
xdotool windowactivate --sync "$window"
# Focus starts in "Left Outer Radius": Tab five times reaches the unit mode
# ("Metric"); Up selects "Imperial".
xdotool key --delay 50 Tab Tab Tab Tab Tab Up
xdotool key alt+F4
wait "$pid" || fail "the program did not end cleanly"
[ -f KDM.cfg ] || fail "no settings file after closing"
printf '[GENERAL SETTINGS]\r\nUnits=I\r\n' | cmp -s -n 29 - KDM.cfg || fail "units not saved: $(cat -v KDM.cfg)"
first=$(cat KDM.cfg)

"$program" &
pid=$!
window=$(window_of)
xdotool windowactivate --sync "$window"
xdotool key alt+F4
wait "$pid" || fail "the second run did not end cleanly"
[ "$(cat KDM.cfg)" = "$first" ] || fail "second run moved or changed: $(cat -v KDM.cfg)"
echo "PASS: program opens, closes with the window manager and restores its settings"
