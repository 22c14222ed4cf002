#!/bin/bash
# The settings file survives the program being killed (SIGKILL) at any moment
# while it closes and saves: in a real X session (see with_window_manager.sh)
# the program is started on an old settings file, closed with the window
# manager's Alt+F4 and killed after a random delay, 100 times. Every time the
# file must be either the whole old one or the whole new one. The delays are
# spread over twice the time from the key to the save, measured first. Files
# left beside it are counted, and a last ordinary run shows whether it clears
# them. (Qt writes the new file unnamed, O_TMPFILE, names it KDM.cfg.XXXXXX at
# commit and renames that over KDM.cfg: only a kill between those two calls
# leaves the whole new content beside the old file, and nothing removes it.)
set -eu
program=$1
rounds=${2:-100}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/run"
cd "$work/run"

fail() { echo "FAIL: $*"; exit 1; }

# Only the old file has a fifth line: a save writes exactly four.
printf '[GENERAL SETTINGS]\r\nUnits=I\r\nLeftPosition=1500\r\nTopPosition=900\r\nOld=only here\r\n' >"$work/old"
cr=$'\r'
number='-?[0-9]+(\.[0-9]+)?(E[-+][0-9]+)?'
new="^\[GENERAL SETTINGS\]$cr
Units=I$cr
LeftPosition=$number$cr
TopPosition=$number$cr
\$"

# A sleep of a fraction of a millisecond without starting a process: a read
# with a time limit from a pipe that never gets anything.
mkfifo "$work/never"
exec 9<>"$work/never"
pause() { read -r -t "$1" -u 9 || true; }
microseconds() { local now=${EPOCHREALTIME/./}; echo "${now#0}"; }

# Starts the program on the old file. A run that is killed may have been
# killed while writing to standard error (an instrumented build's exit
# checks): what it wrote is kept apart as meaningless.
start() {
    cp "$work/old" KDM.cfg
    if [ "${1:-}" = killed ]; then
        "$program" 2>>"$work/killed.log" &
    else
        "$program" &
    fi
    pid=$!
    window=""
    for _ in $(seq 400); do
        window=$(xdotool search --onlyvisible --name '^Ferrox SpdCalc$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        pause 0.01
    done
    [ -n "$window" ] || fail "the program showed no window"
    xdotool windowactivate --sync "$window"
}
close_window() { xdotool key --delay 0 alt+F4; }

# Sets kind to "old" or "new", or fails when the file is neither.
check_file() {
    if cmp -s KDM.cfg "$work/old"; then
        kind=old
        return
    fi
    [ -f KDM.cfg ] || fail "round $1 left no settings file"
    local content
    content=$(cat KDM.cfg; echo .)
    [[ ${content%.} =~ $new ]] || fail "round $1 left a broken settings file: $(cat -v KDM.cfg)"
    kind=new
}

# When the save happens, from the key on: the file's replacement is watched
# with shell built-ins only, every 0.2 ms, so that the watching takes no time
# from the program.
times=()
for _ in 1 2 3; do
    start
    touch "$work/stamp"
    close_window
    before=$(microseconds)
    until [ KDM.cfg -nt "$work/stamp" ] || ! kill -0 "$pid" 2>/dev/null; do pause 0.0002; done
    took=$(($(microseconds) - before))
    times+=("$took")
    wait "$pid" || fail "the program did not end cleanly"
    check_file calibration
    [ "$kind" = new ] || fail "a close without a kill did not save"
done
# Kills fall before and after the usual moment of the save alike.
typical=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)
span=$((typical * 2))

old=0
saved=0
ended=0
for round in $(seq "$rounds"); do
    start killed
    micro=$((RANDOM * span / 32767))
    printf -v delay '%d.%06d' $((micro / 1000000)) $((micro % 1000000))
    close_window
    pause "$delay"
    kill -KILL "$pid" 2>/dev/null || ended=$((ended + 1))
    wait "$pid" 2>/dev/null || true
    check_file "$round"
    if [ "$kind" = old ]; then old=$((old + 1)); else saved=$((saved + 1)); fi
done
leftovers=$(ls -A | grep -vx 'KDM.cfg' || true)
echo "saves came ${times[*]} us after the key; kills within ${span} us of the key: $old left the old file," \
     "$saved the new one ($ended of these had already ended)"
echo "left beside the settings file: ${leftovers:-nothing}"

if [ -n "$leftovers" ]; then
    start
    close_window
    wait "$pid" || fail "the last run did not end cleanly"
    after=$(ls -A | grep -vx 'KDM.cfg' || true)
    echo "after an ordinary run: ${after:-nothing left}"
fi
echo "PASS: $rounds kills while closing, every one left a whole settings file"
