#!/bin/sh
# Runs every benchmark of a build and prints their figures as one table.
# Usage: bench/run.sh [build folder, default build]
set -eu
build=${1:-build}/bench
[ -x "$build/bench_startup" ] || { echo "build the project first: cmake --build ${1:-build}"; exit 1; }

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
"$build/bench_startup" >>"$rows"
"$build/bench_event_chain" >>"$rows"
"$build/bench_about_window" >>"$rows"
"$build/bench_long_text" >>"$rows"

awk -F '\t' '
    BEGIN { printf "| %-52s | %12s | %-8s |\n|%s|%s|%s|\n", "Figure", "Measured", "Goal", "---", "---:", "---" }
    { printf "| %-52s | %9s %-2s | %-8s |\n", $1, $2, $3, $4 }
' "$rows"
