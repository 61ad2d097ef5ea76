#!/usr/bin/env bash
# Runs every benchmark and ends with one table: benchmark, figure, target,
# met or missed, and the machine it ran on. The figures of each benchmark,
# and the command to rerun it alone, are printed as it runs and kept under
# BUILD_DIR/bench-results/.
#
#   bench/run-all.sh [BUILD_DIR]    (default: build-release; `make bench`
#                                    builds it in Release and runs this)
#
# The exit status is 0 when every benchmark ran, whether or not its target
# was met; 1 when one could not run.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build-release}" && pwd) || exit 1
results_dir=$build/bench-results
mkdir -p "$results_dir"
readonly kRepetitions=5
readonly kStartupRuns=21
readonly kOpenToggleRounds=7

rows=()
failed=0

section()
{
    printf '\n==== %s ====\n' "$1"
}

# A row for a benchmark that could not run.
not_run()
{
    rows+=("$1|not run: $2|$3|-")
    failed=1
}

# Runs a Google Benchmark program with repetitions; its CSV goes to
# results_dir/NAME.csv.
run_google_bench()
{
    local name=$1
    "$build/bench/$name" --benchmark_repetitions="$kRepetitions" \
        --benchmark_report_aggregates_only=true \
        --benchmark_out="$results_dir/$name.csv" --benchmark_out_format=csv 2>&1 |
        tee "$results_dir/$name.txt"
    return "${PIPESTATUS[0]}"
}

# "time name" of the median rows of a Google Benchmark CSV whose names match
# the pattern, times in the unit the benchmark reports.
medians()
{
    awk -F, -v pattern="$2" '
        $1 ~ /_median"$/ && $1 ~ pattern {
            name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
            print $3, name
        }' "$1"
}

verdict()
{
    awk -v value="$1" -v limit="$2" 'BEGIN { print (value < limit) ? "met" : "missed" }'
}

region_rows()
{
    section "bench_region"
    if ! run_google_bench bench_region; then
        not_run "region building, slowest design" "bench_region failed" "< 20 us"
        return
    fi
    local time name
    read -r time name < <(medians "$results_dir/bench_region.csv" '^"Region/' | sort -rn | head -1)
    rows+=("region building (rects + QRegion), slowest design: ${name#Region/}|$(printf '%.2f' "$time") us|< 20 us|$(verdict "$time" 20)")
}

paint_rows()
{
    section "bench_paint"
    if ! QT_QPA_PLATFORM=offscreen run_google_bench bench_paint; then
        not_run "painting Centratore" "bench_paint failed" "< 1000 us"
        return
    fi
    local time name
    while read -r time name; do
        local how="into a new image (renderDesign)"
        [[ $name == PaintReused/* ]] && how="into a reused image (paintDesign)"
        rows+=("painting Centratore $how|$(printf '%.0f' "$time") us|< 1000 us|$(verdict "$time" 1000)")
    done < <(medians "$results_dir/bench_paint.csv" '/Centratore_')
}

# Runs a script or program that prints RESULT|benchmark|figure|target|verdict
# lines, and takes those lines as rows.
x11_rows()
{
    local name=$1 target=$2
    shift 2
    section "$name"
    local log=$results_dir/$name.txt
    "$@" 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local found=0 line
    while IFS= read -r line; do
        rows+=("${line#RESULT|}")
        found=1
    done < <(grep '^RESULT|' "$log")
    if [[ $status -ne 0 || $found -eq 0 ]]; then
        not_run "$name" "exit status $status, see $log" "$target"
    fi
}

machine()
{
    local cpu os qt
    cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
    # shellcheck source=/dev/null
    os=$(. /etc/os-release && echo "$PRETTY_NAME")
    qt=$(pkg-config --modversion Qt6Core 2>/dev/null || echo "?")
    echo "$(nproc) CPUs ($cpu), $os, Qt $qt, $(date -u +%Y-%m-%d)"
}

region_rows
paint_rows
x11_rows bench_startup "< 1.15" "$root/bench/startup.sh" "$build" "$kStartupRuns"
x11_rows bench_open_toggle "< 16.7 ms" \
    "$root/scripts/x11-session.sh" -- "$build/bench/bench_open_toggle" "$kOpenToggleRounds"
x11_rows bench_memory "< 10 MiB" "$root/bench/memory.sh" "$build"

section "Summary"
echo "Machine: $(machine)"
echo
echo "| benchmark | figure | target | result |"
echo "| --- | --- | --- | --- |"
for row in "${rows[@]}"; do
    echo "| ${row//|/ | } |"
done
echo
echo "Rerun: make bench (or bench/run-all.sh BUILD_DIR)"
exit "$failed"
