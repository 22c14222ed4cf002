#!/bin/sh
# Runs every fuzz target of an instrumented build for a given time each and
# prints, per target, the executions, their rate and the coverage reached.
# Usage: fuzz/run.sh [build folder, default build-sanitize] [seconds, default 60]
# Inputs found are kept in <build>/fuzz/found/<target>, crashes in
# <build>/fuzz/artifacts/.
set -eu
build=${1:-build-sanitize}/fuzz
seconds=${2:-60}
source=$(cd "$(dirname "$0")" && pwd)
[ -x "$build/fuzz_number_rules" ] || {
    echo "configure with -DCMAKE_CXX_COMPILER=clang++ -DFERROX_SANITIZE=ON and build first"
    exit 1
}
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$source/../tests/sanitizers/lsan.supp"

status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
printf '%-20s %12s %9s %6s %8s %7s  %s\n' target executions exec/s cov features corpus result
for target in fuzz_number_rules fuzz_settings_file fuzz_html_title fuzz_version_check fuzz_line_text; do
    mkdir -p "$build/found/$target" "$build/artifacts"
    result=ok
    "$build/$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -malloc_limit_mb=256 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$build/found/$target" "$source/corpus/$target" >"$log" 2>&1 || { result="FAILED (see $build/artifacts)"; status=1; }
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    printf '%-20s %12s %9s %6s %8s %7s  %s\n' "$target" \
        "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" \
        "$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")" \
        "$(echo "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')" \
        "$(echo "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')" \
        "$(echo "$last" | sed -n 's/.* corp: \([0-9]*\).*/\1/p')" "$result"
    [ "$result" = ok ] || tail -n 40 "$log"
done
exit $status
