#!/usr/bin/env bash
# Start-up time: from process start to the main window mapped and painted on
# the X server, zentaro against a bare Qt Widgets main window (bare_qt_app),
# in a private Xvfb with openbox. The two programs run alternately, the order
# swapped every run so that a drift of the machine weighs on both alike; one
# run of each before the timed ones warms the caches. Prints both medians and
# their ratio.
#
# Target: zentaro / bare_qt_app under 1.15.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]      (defaults: build-release, 15)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly kTargetRatio=1.15

if [[ ${1:-} != --in-session ]]; then
    build=$(cd "${1:-$root/build-release}" && pwd)
    runs=${2:-15}
    echo "rerun: bench/startup.sh ${1:-build-release} $runs  (target: ratio under $kTargetRatio)"
    exec "$root/scripts/x11-session.sh" -- "$0" --in-session "$build" "$runs"
fi
build=$2
runs=$3
probe=$build/bench/first_paint_probe
zentaro=$build/zentaro
bare=$build/bench/bare_qt_app
for exe in "$probe" "$zentaro" "$bare"; do
    [[ -x $exe ]] || { echo "$0: $exe is not built" >&2; exit 1; }
done

# Milliseconds to the painted main window of one start of a program.
first_paint_ms()
{
    local title=$1 exe=$2
    "$probe" --title "$title" -- "$exe" 2>/dev/null | awk '$1 == "first_paint_ms" { print $2 }'
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

zentaro_times=()
bare_times=()
run_zentaro() { zentaro_times+=("$(first_paint_ms "ZENTARO 1.3" "$zentaro")"); }
run_bare() { bare_times+=("$(first_paint_ms "bare_qt_app" "$bare")"); }

first_paint_ms "ZENTARO 1.3" "$zentaro" >/dev/null # warm-up
first_paint_ms "bare_qt_app" "$bare" >/dev/null
for ((i = 0; i < runs; i++)); do
    if ((i % 2 == 0)); then
        run_zentaro
        run_bare
    else
        run_bare
        run_zentaro
    fi
done
for t in "${zentaro_times[@]}" "${bare_times[@]}"; do
    [[ -n $t ]] || { echo "$0: a run saw no painted window" >&2; exit 1; }
done

zentaro_median=$(printf '%s\n' "${zentaro_times[@]}" | median)
bare_median=$(printf '%s\n' "${bare_times[@]}" | median)
ratio=$(awk -v z="$zentaro_median" -v b="$bare_median" 'BEGIN { printf "%.3f", z / b }')
verdict=$(awk -v r="$ratio" -v t="$kTargetRatio" 'BEGIN { print (r < t) ? "met" : "missed" }')

echo "Start-up to the main window painted, ms ($runs runs each, alternating):"
echo "  zentaro      median $zentaro_median   runs: ${zentaro_times[*]}"
echo "  bare_qt_app  median $bare_median   runs: ${bare_times[*]}"
echo "  ratio        $ratio   (target under $kTargetRatio: $verdict)"
printf 'RESULT|start-up to main window painted: zentaro / bare_qt_app (median of %d)|%s (%s ms / %s ms)|< %s|%s\n' \
    "$runs" "$ratio" "$zentaro_median" "$bare_median" "$kTargetRatio" "$verdict"
