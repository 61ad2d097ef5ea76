#!/usr/bin/env bash
# The soak session in full (tests/soak/soak_driver), twice:
#
#   1. in a build with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan): any sanitizer report, a leak found at exit, a crash or a
#      failed check ends it; the memory judged there is the heap in use,
#      since the sanitizer keeps freed memory in quarantine;
#   2. in a plain build (build-soak): the resident size after the warm-up
#      and at the end, as a user's machine would see it.
#
# Each run has its own private X session with openbox (scripts/x11-session.sh).
# Every menu window is opened and closed 200 times, with 2,000 toggles and
# 500 drags in between; then the main window is closed, the reticles carry on
# alone, and "X" ends the program. Both runs end with their figures.
#
#   scripts/soak.sh [soak_driver options...]     (e.g. --cycles 50)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
readonly root
readonly jobs=${JOBS:-$(nproc)}
readonly full=(--cycles 200 --warmup-cycles 20 --toggles 2000 --drags 500)

# Builds the driver in `dir` with the extra CMake `flags`.
build_driver()
{
    local dir=$1
    shift
    cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$root/$dir" -j "$jobs" --target soak_driver
}

# Runs the driver of `dir` in its own X session; its figures end the output.
run_soak()
{
    local dir=$1
    shift
    echo "== soak in $dir"
    "$root/scripts/x11-session.sh" -- "$root/$dir/tests/soak/soak_driver" "${full[@]}" "$@"
}

build_driver build-asan -DZENTARO_SANITIZE=ON
build_driver build-soak -DZENTARO_SANITIZE=OFF

status=0
# halt_on_error: the first report of either sanitizer ends the run with a
# failure; detect_leaks: LeakSanitizer looks for leaks when the program ends.
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    run_soak build-asan "$@" || status=1
run_soak build-soak "$@" || status=1

if [[ $status -ne 0 ]]; then
    echo "soak: FAILED (see above)"
else
    echo "soak: both runs passed"
fi
exit "$status"
