#!/bin/sh
# Runs a test program as the unprivileged user "nobody" when started as root,
# so that file permission bits apply to it; otherwise runs it as it is.
set -eu
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
runtime=$(mktemp -d)
chown nobody "$runtime"
trap 'rm -rf "$runtime"' EXIT
HOME="$runtime" XDG_RUNTIME_DIR="$runtime" setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
