#!/bin/sh
# Runs a test program where a screen reader would listen: a private D-Bus
# session with the accessibility bus on it, and Qt's bridge to that bus on,
# so that the program's accessibility events are sent, as under a desktop
# with Orca running. Qt passes them on only on a real window system: run it
# inside with_window_manager.sh.
set -eu
if [ -z "${WITH_SCREEN_READER_BUS:-}" ]; then
    WITH_SCREEN_READER_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
work=$(mktemp -d)
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus=$!
trap 'kill $bus 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
done
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
