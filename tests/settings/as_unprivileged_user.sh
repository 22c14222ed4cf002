#!/bin/sh
# Runs a test program as the unprivileged user "nobody" when started as root,
# so that file permission bits apply to it; otherwise runs it as it is. The
# program runs from a copy in a folder of its own, since the build tree may
# lie where "nobody" cannot reach.
set -eu
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
program=$1
shift
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cp "$program" "$home/"
chown -R nobody "$home"
cd "$home"
HOME="$home" XDG_RUNTIME_DIR="$home" setpriv --reuid=nobody --regid=nogroup --clear-groups "./$(basename "$program")" "$@"
