#!/usr/bin/env bash
# Takes the README's screenshot from the real program: the main window with
# two reticles open, one windowed and one transparent, under a private X
# session (Xvfb + openbox).
#
#   scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
output=${2:-$root/docs/screenshot.png}

if [[ ${1:-} != --in-session ]]; then
    [[ -x $build/zentaro ]] || { echo "$0: $build/zentaro is not built (make build)" >&2; exit 1; }
    exec "$root/scripts/x11-session.sh" -- "$0" --in-session "$build" "$output"
fi
build=$2
output=$3

# Polls `command` until it succeeds, for at most `seconds`.
wait_for()
{
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || { echo "$0: timed out waiting for: $*" >&2; return 1; }
        sleep 0.05
    done
}

window_of() { xdotool search --onlyvisible --name "^$1\$" | head -n 1; }

# Chooses the reticle menu's item `position` (1 = first) from the keyboard.
choose_item()
{
    local main=$1 position=$2
    xdotool windowactivate --sync "$main"
    xdotool key --window "$main" alt+z
    for ((i = 1; i < position; i++)); do xdotool key Down; done
    xdotool key Return
}

# A night-sky grey behind the windows, so the transparent reticle shows as such.
if command -v xsetroot >/dev/null; then xsetroot -solid '#27313b'; fi

"$build/zentaro" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

wait_for 10 window_of "ZENTARO 1.3"
main=$(window_of "ZENTARO 1.3")
xdotool windowmove --sync "$main" 40 40

choose_item "$main" 5 # &CroceRossaMicrometrica
wait_for 10 window_of CroceRossaMicrometrica
micro=$(window_of CroceRossaMicrometrica)
xdotool windowmove --sync "$micro" 660 40

choose_item "$main" 7 # &Punto
wait_for 10 window_of Punto
punto=$(window_of Punto)
xdotool windowmove --sync "$punto" 140 300
# Client coordinates of Punto's toggle label "Trasparente": (200, 16) + (48, 8).
read -r x y < <(xwininfo -id "$punto" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
xdotool mousemove --sync $((x + 248)) $((y + 24)) click 1
sleep 1 # the window manager takes the frame away; nothing to poll for in X
xdotool mousemove 0 0

mkdir -p "$(dirname "$output")"
import -window root -crop 1200x760+20+20 "$output"
echo "wrote $output"
