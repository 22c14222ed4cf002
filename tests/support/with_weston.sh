#!/bin/sh
# Runs a test program in a Wayland session: weston with its headless backend,
# which has no input seat, in a private runtime directory, ended when the test
# ends. Exits 77 (skipped) only when weston cannot start at all.
set -eu
work=$(mktemp -d) compositor=""
trap 'kill $compositor 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
WAYLAND_DISPLAY=wayland-test
export WAYLAND_DISPLAY

# --debug lets the tests take screenshots and read weston's scene graph.
weston --no-config --backend=headless-backend.so --use-pixman --width=1280 --height=720 --idle-time=0 \
    --socket="$WAYLAND_DISPLAY" --debug >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 100); do
    grep -q "launching '.*weston-desktop-shell'" "$work/weston.log" && [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
    kill -0 $compositor 2>/dev/null || break
    sleep 0.1
done
if ! [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || ! kill -0 $compositor 2>/dev/null; then
    echo "SKIP: weston did not start:"
    cat "$work/weston.log"
    exit 77
fi

# In the instrumented build: full stacks, so that leak reports from Mesa's
# unloaded driver can be told apart (see tests/sanitizers/lsan.supp).
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"
export ASAN_OPTIONS
QT_QPA_PLATFORM=wayland "$@"
