#!/usr/bin/env bash
# Memory: resident size (VmRSS) of zentaro with all nine windows open (the
# eight reticle windows and the information window, each chosen from the
# menu with the keyboard as a user would: Alt+Z and the arrow keys, Alt+I),
# against bare_qt_app with its main window shown. In a private Xvfb with
# openbox; each program is measured in three fresh starts, median.
#
# Target: zentaro under 10 MiB more than bare_qt_app.
#
#   bench/memory.sh [BUILD_DIR]      (default: build-release)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly kTargetExtraKiB=$((10 * 1024))
readonly kStarts=3
readonly kReticleItems=8   # menu items of the reticle menu, first one active on opening
readonly kWaitSeconds=10

if [[ ${1:-} != --in-session ]]; then
    build=$(cd "${1:-$root/build-release}" && pwd)
    echo "rerun: bench/memory.sh ${1:-build-release}  (target: under 10 MiB more than bare_qt_app)"
    exec "$root/scripts/x11-session.sh" -- "$0" --in-session "$build"
fi
build=$2
zentaro=$build/zentaro
bare=$build/bench/bare_qt_app
for exe in "$zentaro" "$bare"; do
    [[ -x $exe ]] || { echo "$0: $exe is not built" >&2; exit 1; }
done
command -v xdotool >/dev/null || { echo "$0: xdotool is missing (scripts/install-deps.sh)" >&2; exit 1; }

app_pid=""
stop_app()
{
    [[ -n $app_pid ]] || return 0
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}
trap stop_app EXIT

# Number of mapped top-level windows of the program (_NET_WM_PID).
visible_windows()
{
    xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l
}

# Waits until the program shows `count` windows; false after kWaitSeconds.
wait_for_windows()
{
    local count=$1 deadline=$((SECONDS + kWaitSeconds))
    until [[ $(visible_windows) -ge $count ]]; do
        [[ $SECONDS -lt $deadline ]] || return 1
        sleep 0.02
    done
}

rss_kib()
{
    awk '$1 == "VmRSS:" { print $2 }' "/proc/$app_pid/status"
}

# The part of the resident size that is shared memory: with MIT-SHM these are
# the windows' pixel buffers (Qt's backing stores, width x height x 4 bytes),
# which the X server reads directly.
shmem_kib()
{
    awk '$1 == "RssShmem:" { print $2 }' "/proc/$app_pid/status"
}

# "VmRSS RssShmem" once the resident size has stopped moving: three readings in a row
# within 64 KiB of each other, 100 ms apart.
settled_rss_kib()
{
    local previous current steady=0 tries=0
    previous=$(rss_kib)
    while ((steady < 3 && tries < 100)); do
        sleep 0.1
        current=$(rss_kib)
        if ((current - previous < 64 && previous - current < 64)); then
            steady=$((steady + 1))
        else
            steady=0
        fi
        previous=$current
        tries=$((tries + 1))
    done
    echo "$current $(shmem_kib)"
}

# Reports a failure of one start and ends the program started.
fail()
{
    echo "$0: $1" >&2
    stop_app
    return 1
}

# Chooses one menu item with the keyboard, with the main window active.
choose()
{
    local main_window=$1
    shift
    xdotool windowactivate --sync "$main_window" 2>/dev/null || true
    xdotool key --clearmodifiers "$@"
}

# zentaro with its main window and every window of its menu open.
measure_zentaro()
{
    "$zentaro" >/dev/null 2>&1 &
    app_pid=$!
    wait_for_windows 1 || { fail "zentaro showed no main window"; return 1; }
    local main_window
    main_window=$(xdotool search --onlyvisible --pid "$app_pid" --name '^ZENTARO 1\.3$' | head -1)
    # Each choice must add a window: the nine are then nine different ones.
    local item down keys
    for ((item = 0; item < kReticleItems; item++)); do
        keys=(alt+z)
        for ((down = 0; down < item; down++)); do keys+=(Down); done
        keys+=(Return)
        choose "$main_window" "${keys[@]}"
        wait_for_windows $((item + 2)) || { fail "menu item $((item + 1)) opened no window"; return 1; }
    done
    choose "$main_window" alt+i
    wait_for_windows $((kReticleItems + 2)) || { fail "Alt+I opened no window"; return 1; }
    settled_rss_kib
    stop_app
}

measure_bare()
{
    "$bare" >/dev/null 2>&1 &
    app_pid=$!
    wait_for_windows 1 || { fail "bare_qt_app showed no window"; return 1; }
    settled_rss_kib
    stop_app
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

column() { awk -v c="$1" '{ print $c }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

zentaro_runs=()
bare_runs=()
for ((i = 0; i < kStarts; i++)); do
    zentaro_runs+=("$(measure_zentaro)")
    bare_runs+=("$(measure_bare)")
done
zentaro_rss=$(printf '%s\n' "${zentaro_runs[@]}" | column 1 | median)
bare_rss=$(printf '%s\n' "${bare_runs[@]}" | column 1 | median)
zentaro_shm=$(printf '%s\n' "${zentaro_runs[@]}" | column 2 | median)
bare_shm=$(printf '%s\n' "${bare_runs[@]}" | column 2 | median)
extra=$((zentaro_rss - bare_rss))
extra_shm=$((zentaro_shm - bare_shm))
extra_own=$((extra - extra_shm))
verdict=$([[ $extra -lt $kTargetExtraKiB ]] && echo met || echo missed)

echo "Resident size (VmRSS), KiB, median of $kStarts starts (VmRSS RssShmem per start):"
echo "  zentaro, nine windows open  $zentaro_rss   (${zentaro_runs[*]})"
echo "  bare_qt_app, shown          $bare_rss   (${bare_runs[*]})"
echo "  difference                  $extra KiB = $(mib "$extra") MiB   (target under 10 MiB: $verdict)"
echo "    of which window pixel buffers (RssShmem)  $extra_shm KiB = $(mib "$extra_shm") MiB"
echo "    the rest (heap, code, fonts)              $extra_own KiB = $(mib "$extra_own") MiB"
printf 'RESULT|memory: VmRSS zentaro with 9 windows - bare_qt_app|%s MiB (%s - %s MiB)|< 10 MiB|%s\n' \
    "$(mib "$extra")" "$(mib "$zentaro_rss")" "$(mib "$bare_rss")" "$verdict"
printf 'RESULT|memory, breakdown: window pixel buffers (RssShmem) / the rest|%s MiB / %s MiB|(information)|-\n' \
    "$(mib "$extra_shm")" "$(mib "$extra_own")"
