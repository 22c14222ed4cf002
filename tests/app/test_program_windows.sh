#!/bin/sh
# The Windows program as a user runs it, under Wine with Qt's windows
# platform in a real X session (see with_window_manager.sh): it opens its
# window with the focus in "Left Outer Radius"; the user tabs to "Single
# Radius", types 1000 and Enter, and the result box reads 80 (copied through
# the clipboard, not read from pixels); Alt+F4 closes it, and it has saved
# its settings as four lines ending in CR LF.
# test_program_windows.sh WINE_DIR PROGRAM.exe
set -eu
wine_dir=$1 program=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }

QT_QPA_PLATFORM=windows
export QT_QPA_PLATFORM
. "$(dirname "$0")/../support/wine_prefix.sh"
use_wine_prefix "$wine_dir"
# Windows programs of the prefix that ran before, without this X session,
# hold a Wine session of their own: this program starts a new one.
timeout 60 "$wineserver" -w

"$wine" "$program" >/dev/null 2>&1 &
pid=$!
# Asked again each second: Wine's own short-lived windows can vanish while
# xdotool walks the window tree, and that ends its search with an X error.
window=
for _ in $(seq 60); do
    window=$(xdotool search --onlyvisible --name '^Ferrox SpdCalc$' 2>/dev/null | head -n 1) || true
    [ -z "$window" ] || break
    sleep 1
done
[ -n "$window" ] || fail "no window"
xdotool windowactivate --sync "$window"
sleep 1
xdotool key --delay 100 Tab Tab Tab
xdotool type --delay 100 1000
xdotool key Return
sleep 1
# The result box: 164, 177 pixels into the window's client area (from its
# twips), below a menu bar of about 20 pixels.
xdotool mousemove --window "$window" 164 197 click 1
xdotool key --delay 100 ctrl+a ctrl+c
sleep 1
result=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$result" = 80 ] || fail "the result box reads '$result', not 80"

xdotool key alt+F4
status=0
timeout 30 sh -c "while kill -0 $pid 2>/dev/null; do sleep 0.2; done" || status=$?
[ "$status" -eq 0 ] || fail "the program did not end after Alt+F4"
wait "$pid" || fail "the program did not end cleanly"
[ -f KDM.cfg ] || fail "no settings file after closing"
[ "$(wc -l <KDM.cfg)" -eq 4 ] && [ "$(grep -c "$(printf '\r')\$" KDM.cfg)" -eq 4 ] \
    || fail "KDM.cfg is not four lines ending in CR LF: $(od -c KDM.cfg | head -n 8)"
printf '[GENERAL SETTINGS]\r\nUnits=M\r\nLeftPosition=' | cmp -s -n 42 - KDM.cfg || fail "KDM.cfg: $(cat -v KDM.cfg)"
echo "PASS: the Windows program calculates, closes with Alt+F4 and saves KDM.cfg with CR LF"
