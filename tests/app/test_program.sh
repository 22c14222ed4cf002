#!/bin/sh
# The built program as a user runs it in a Wayland session that also runs an X
# server (see with_weston.sh and with_window_manager.sh): started with no
# platform chosen, it opens its window on X11; the user moves the window,
# switches the units from the keyboard and closes the window with the window
# manager's Alt+F4; the program ends and has saved its settings, and a second
# start in that directory comes back in the same units at the place the window
# was moved to. Its window carries the class that its desktop entry names, so
# the desktop ties them together.
# Ended by a signal instead, it saves as a close does; asked for its version
# or help, it answers without a display.
set -eu
program=$1 entry=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }

# As a desktop session starts it: both displays there, no platform chosen.
[ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] || fail "needs both a Wayland and an X display"
unset QT_QPA_PLATFORM
XDG_SESSION_TYPE=wayland
export XDG_SESSION_TYPE

window_of() {
    found=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || true
    [ -n "$found" ] || { echo "FAIL: no window '$1' on the X display" >&2; exit 1; }
    echo "$found"
}

# The window's place on the screen, as "x,y".
place_of() { xdotool getwindowgeometry "$1" | sed -n 's/^ *Position: \([^ ]*\) .*/\1/p'; }

# Focus starts in "Left Outer Radius": Tab five times reaches the unit mode
# ("Metric"); Up selects "Imperial".
choose_imperial() { xdotool key --delay 50 Tab Tab Tab Tab Tab Up; }

saved_imperial() { printf '[GENERAL SETTINGS]\r\nUnits=I\r\n' | cmp -s -n 29 - KDM.cfg; }

"$program" &
pid=$!
window=$(window_of 'Ferrox SpdCalc')
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xdotool search --class "^$wm_class\$" | grep -qx "$window" || fail "the window's class is not StartupWMClass=$wm_class"
xdotool windowactivate --sync "$window"
centred=$(place_of "$window")
xdotool windowmove --sync "$window" 200 150
moved=$(place_of "$window")
[ "$moved" != "$centred" ] || fail "the window did not move from $centred"
choose_imperial
xdotool key alt+F4
wait "$pid" || fail "the program did not end cleanly"
[ -f KDM.cfg ] || fail "no settings file after closing"
saved_imperial || fail "units not saved: $(cat -v KDM.cfg)"
first=$(cat KDM.cfg)

"$program" &
pid=$!
window=$(window_of 'Ferrox SpdCalc')
[ "$(place_of "$window")" = "$moved" ] || fail "the second run shows the window at $(place_of "$window"), not where it was moved to ($moved)"
xdotool windowactivate --sync "$window"
xdotool key alt+F4
wait "$pid" || fail "the second run did not end cleanly"
[ "$(cat KDM.cfg)" = "$first" ] || fail "second run moved or changed: $(cat -v KDM.cfg)"

# SIGTERM (a shutdown), SIGHUP (a closed terminal) and SIGINT (Ctrl+C) save
# the settings, also while the About window is open, and the program then
# ends by that signal. A shell starts background programs with SIGINT
# ignored; a signal ignored from the start stays ignored.
# signal, its number, the window open when it comes, what is expected
while read -r signal number open expected; do
    rm -f KDM.cfg
    if [ "$expected" = ignored ]; then
        "$program" &
    else
        env --default-signal="$signal" "$program" &
    fi
    pid=$!
    xdotool windowactivate --sync "$(window_of 'Ferrox SpdCalc')"
    choose_imperial
    # The keys reach the program through the X server, the signal directly:
    # a moment lets the keys arrive first.
    sleep 0.5
    if [ "$open" = About ]; then
        xdotool key alt+a
        window_of 'About Ferrox SpdCalc' >/dev/null
    fi
    kill -s "$signal" "$pid"
    if [ "$expected" = ignored ]; then
        sleep 1
        kill -0 "$pid" 2>/dev/null || fail "SIG$signal ignored at start ended the program"
        [ ! -e KDM.cfg ] || fail "SIG$signal ignored at start wrote the settings"
        kill -s TERM "$pid"
        number=15
    fi
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq $((128 + number)) ] || fail "SIG$signal ($open): ended with status $status, not $((128 + number))"
    saved_imperial || fail "SIG$signal ($open): units not saved: $(cat -v KDM.cfg 2>/dev/null)"
done <<'ROWS'
TERM 15 main saved
HUP 1 main saved
INT 2 main saved
TERM 15 About saved
INT 2 main ignored
ROWS

# --version and --help answer without a display and open no window.
rm -f KDM.cfg
name=$(sed -n 's/^Name=//p' "$entry")
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$program" --version) || fail "--version failed"
echo "$answer" | grep -Eqx "$name [0-9]{4}\.[0-9]{4}\.[0-9]{4}" || fail "--version said: $answer"
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$program" --help) || fail "--help failed"
echo "$answer" | grep -q "^Usage: $(basename "$program") " || fail "--help gave no usage: $answer"
echo "$answer" | grep -q 'KDM.cfg' || fail "--help does not say where the settings file lives: $answer"
for option in --version --help; do
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$program" $option >/dev/full || status=$?
    [ "$status" -eq 1 ] || fail "$option written to a full device ended with $status, not 1"
done
[ ! -e KDM.cfg ] || fail "--help or --version wrote a settings file"
echo "PASS: program opens, closes with the window manager or a signal, restores its settings, answers --help and --version"
