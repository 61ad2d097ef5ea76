#!/usr/bin/env bash
# Takes the README's screenshot from the real program: the main window with
# two reticles open, one windowed and one transparent, under a private X
# session (Xvfb + openbox). Beneath them lies a star field, drawn as the
# desktop's background, with a bright star where the transparent reticle's
# centre falls: what the reticle is for.
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

# Draws a star field of `width` x `height` pixels into `file`, with a bright
# star at its centre: black sky, a few hundred faint to medium stars at fixed
# pseudo-random places (the same picture every time), slightly blurred as a
# camera shows them.
draw_star_field()
{
    local file=$1 width=$2 height=$3
    awk -v w="$width" -v h="$height" 'BEGIN {
        srand(1610)
        for (i = 0; i < 160; i++) {
            x = rand() * w; y = rand() * h
            b = rand(); b = b * b * b          # most stars faint, a few bright
            grey = int(60 + 195 * b)
            r = b > 0.5 ? 1.8 : (b > 0.1 ? 1.1 : 0.7)
            printf "fill rgb(%d,%d,%d) circle %.1f,%.1f %.1f,%.1f\n", grey, grey, grey, x, y, x + r, y
        }
        cx = int(w / 2); cy = int(h / 2)
        printf "fill rgba(255,255,230,0.3) circle %d,%d %d,%d\n", cx, cy, cx + 9, cy
        printf "fill white circle %d,%d %d,%d\n", cx, cy, cx + 4, cy
    }' >"$file.mvg"
    convert -size "${width}x${height}" xc:black -draw "$(<"$file.mvg")" -blur 0x0.7 \
        -type TrueColor -depth 8 "$file"
    rm -f "$file.mvg"
}

# The client area's top-left corner of window `id` on the screen: "x y".
client_origin()
{
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

# A camera's picture first, at the bottom of the stack: a star field shown
# in a window of its own, as a camera program would show it.
readonly camera_width=720 camera_height=480
stars=$(mktemp --suffix=.png)
draw_star_field "$stars" "$camera_width" "$camera_height"
display -title "Camera" -geometry +110+250 "$stars" &
camera_viewer=$!
trap 'kill $camera_viewer 2>/dev/null || true; rm -f "$stars"' EXIT
wait_for 10 window_of Camera
camera=$(window_of Camera)

"$build/zentaro" &
app=$!
trap 'kill $app $camera_viewer 2>/dev/null || true; rm -f "$stars"' EXIT

wait_for 10 window_of "ZENTARO 1.3"
main=$(window_of "ZENTARO 1.3")
xdotool windowmove --sync "$main" 40 40

choose_item "$main" 5 # &CroceRossaMicrometrica
wait_for 10 window_of CroceRossaMicrometrica
micro=$(window_of CroceRossaMicrometrica)
xdotool windowmove --sync "$micro" 760 40

choose_item "$main" 7 # &Punto
wait_for 10 window_of Punto
punto=$(window_of Punto)
# Punto's ring is centred on its client pixel (244, 196): over the camera
# picture's bright star, at the picture's centre. A window manager may place
# the client off the asked point by its frame: ask once more, corrected.
read -r cx cy < <(client_origin "$camera")
target_x=$((cx + camera_width / 2 - 244)) target_y=$((cy + camera_height / 2 - 196))
xdotool windowmove --sync "$punto" "$target_x" "$target_y"
read -r x y < <(client_origin "$punto")
if [[ $x != "$target_x" || $y != "$target_y" ]]; then
    xdotool windowmove --sync "$punto" $((2 * target_x - x)) $((2 * target_y - y))
    read -r x y < <(client_origin "$punto")
fi
# Client coordinates of Punto's toggle label "Trasparente": (200, 16) + (48, 8).
xdotool mousemove --sync $((x + 248)) $((y + 24)) click 1
sleep 1 # the window manager takes the frame away; nothing to poll for in X
xdotool mousemove 0 0

mkdir -p "$(dirname "$output")"
import -window root -crop 1230x740+20+20 "$output"
echo "wrote $output"
