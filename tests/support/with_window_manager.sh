#!/bin/sh
# Runs a test program in a real X session: its own Xvfb on a free display and
# openbox as the window manager, both ended when the test ends.
set -eu
work=$(mktemp -d) wm="" server=""
trap 'kill $wm $server 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM

Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY

# openbox runs its start-up command once it manages the screen.
openbox --sm-disable --startup "touch $work/managing" >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do [ -e "$work/managing" ] && break; sleep 0.1; done
[ -e "$work/managing" ] || { echo "openbox did not start:"; cat "$work/openbox.log"; exit 1; }

QT_QPA_PLATFORM=xcb "$@"
