#!/bin/sh
# Runs a Windows test program of the Windows build under Wine (Debian's
# wine64): run_under_wine.sh WINE_DIR PROGRAM.exe [ARGUMENTS...], where
# WINE_DIR holds the list of folders with the DLLs the program needs
# (dll-folders, written by tests/CMakeLists.txt) and the build's own Wine
# prefix, made on first use. A Qt Test program's output reaches no pipe under
# Wine, so it writes it to a file that is printed here; the program's exit
# status is the test's.
set -eu
wine_dir=$1
program=$2
shift 2
. "$(dirname "$0")/wine_prefix.sh"
use_wine_prefix "$wine_dir"

output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
"$wine" "$program" "$@" -o "Z:$output,txt" </dev/null >/dev/null 2>&1 || status=$?
cat "$output"
exit "$status"
