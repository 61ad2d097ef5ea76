#!/usr/bin/env bash
# Leak check: runs the program under valgrind memcheck in a private X session
# (Xvfb with openbox, scripts/x11-session.sh) and uses it as a user would,
# from outside: every window opened from the menu with the keyboard (Alt+Z
# and the access letters, Alt+I), some reticles toggled with clicks on their
# toggle labels and back, one closed with its close box and opened again,
# then "X". Fails on any memcheck error or definite leak that the
# suppressions (tests/soak/valgrind.supp, the system libraries' own) do not
# cover, and says how many leaked blocks have frames in the program's own
# code.
#
#   scripts/valgrind-check.sh [BUILD_DIR]      (default: build)
#
# BUILD_DIR must hold a build without sanitizers. The full memcheck log is
# left in BUILD_DIR/valgrind/memcheck.log.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
readonly root
readonly suppressions="$root/tests/soak/valgrind.supp"
# Under valgrind the program runs some 20 to 50 times slower.
readonly kWindowTimeoutSeconds=120
readonly kExitTimeoutSeconds=120
readonly kMenuTimeoutSeconds=5

die()
{
    echo "valgrind-check: $*" >&2
    exit 1
}

# ---- Outside the session: check, then run this script inside one. ----------

if [[ ${1:-} != --in-session ]]; then
    build=$(cd "${1:-build}" 2>/dev/null && pwd) || die "no build directory ${1:-build}"
    command -v valgrind >/dev/null || die "valgrind is missing (scripts/install-deps.sh)"
    [[ -x $build/zentaro ]] || die "$build/zentaro is missing: build it first"
    if grep -q '^ZENTARO_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
        die "$build is a sanitized build; valgrind needs a plain one"
    fi
    mkdir -p "$build/valgrind"
    exec "$root/scripts/x11-session.sh" -- "$0" --in-session "$build"
fi
readonly build=$2
readonly log="$build/valgrind/memcheck.log"

# ---- Inside the session. ------------------------------------------------------

# Polls `condition...` every 0.1 s until it succeeds (status 0) or `seconds`
# pass (status 1).
wait_until()
{
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [[ $SECONDS -lt $deadline ]] || return 1
        sleep 0.1
    done
}

# wait_until, or the end of the check with what it waited for.
wait_for()
{
    local seconds=$1 what=$2
    shift 2
    wait_until "$seconds" "$@" || die "timed out after ${seconds}s: $what"
}

# The managed client window captioned exactly `caption`, as the window
# manager lists it (xdotool search would also find Qt's unmanaged helpers).
window_id()
{
    local id desktop host title
    wmctrl -l | while read -r id desktop host title; do
        if [[ $title == "$1" ]]; then
            echo "$id"
            break
        fi
    done
}

window_shown()
{
    [[ -n $(window_id "$1") ]]
}

window_gone()
{
    [[ -z $(window_id "$1") ]]
}

# The client area's top-left pixel on the screen: "x y".
client_origin()
{
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        END {print x, y}'
}

# Whether the window manager draws no frame around the window (_NET_FRAME_EXTENTS
# all zero): the transparent state.
frameless()
{
    xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '= 0, 0, 0, 0$'
}

framed()
{
    xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '= [0-9]*, [0-9]*, [1-9]'
}

activate()
{
    # xdotool complains while the window manager has not yet named the
    # active window; only its exit status counts.
    timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || die "cannot activate window $1"
}

# Clicks the left button at (x, y) on the screen.
click_at()
{
    xdotool mousemove "$1" "$2"
    wait_for 5 "pointer at $1,$2" pointer_at "$1" "$2"
    xdotool click 1
}

pointer_at()
{
    [[ $(xdotool getmouselocation --shell | head -n 2 | tr '\n' ' ') == "X=$1 Y=$2 " ]]
}

# Whether a drop-down menu of the program is on the screen: a viewable window
# of its own that the window manager does not manage (Qt names its type a
# drop-down menu only the first time, so the type does not tell).
menu_open()
{
    local id
    for id in $(xdotool search --onlyvisible --class zentaro 2>/dev/null); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes'; then
            return 0
        fi
    done
    return 1
}

# Chooses an item of the reticle menu: Alt+Z drops it down with its first
# item active, then `keys` (access letters; a letter shared by several items
# moves to the next of them, so Return follows) choose the item.
choose()
{
    local caption=$1
    shift
    local attempt
    # Keys pressed before the menu is up would go to the main window. Alt+Z
    # itself is lost while the program, slow under memcheck, has not yet
    # taken in that its window is active: then it is pressed again.
    for attempt in 1 2 3 4 5 6; do
        activate "$main"
        xdotool key alt+z
        if wait_until "$kMenuTimeoutSeconds" menu_open; then
            break
        fi
    done
    menu_open || die "the reticle menu does not drop down (for $caption)"
    xdotool key --delay 50 "$@"
    wait_for "$kWindowTimeoutSeconds" "window $caption" window_shown "$caption"
}

# The toggle label's middle pixel in client coordinates, from the design: the
# label is 97 x 17 pixels at the strip's left edge L, rows 16 to 32.
toggle_label()
{
    local strip_left=$1
    echo "$((strip_left + 48)) 24"
}

# The close label "X": 25 x 16 pixels from L + 72, rows 0 to 15.
close_label()
{
    local strip_left=$1
    echo "$((strip_left + 84)) 7"
}

# Clicks the element at client point "x y" of the window captioned `caption`.
click_in()
{
    local id
    id=$(window_id "$1")
    activate "$id"
    read -r ox oy < <(client_origin "$id")
    read -r x y <<<"$2"
    click_at $((ox + x)) $((oy + y))
}

toggle()
{
    local caption=$1 strip_left=$2 to=$3 id
    id=$(window_id "$caption")
    click_in "$caption" "$(toggle_label "$strip_left")"
    wait_for "$kWindowTimeoutSeconds" "$caption $to" "$to" "$id"
}

valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --error-exitcode=99 --num-callers=40 --fullpath-after= \
    --suppressions="$suppressions" --log-file="$log" "$build/zentaro" &
program=$!

echo "valgrind-check: starting the program under memcheck"
wait_for "$kWindowTimeoutSeconds" "the main window" window_shown "ZENTARO 1.3"
main=$(window_id "ZENTARO 1.3")

echo "valgrind-check: opening every window from the menu"
choose StandardBianco Return
choose StandardRosso g # "&Griglia"
choose StandardRossoFine s Return
choose CroceRossa c Return
choose CroceRossaMicrometrica c c Return
choose CampoCCD c c c Return
choose Punto p
choose Centratore c c c c Return
activate "$main"
xdotool key alt+i
wait_for "$kWindowTimeoutSeconds" "the information window" window_shown "Info Zentaro 1.3"

echo "valgrind-check: toggling"
# Strip left L in pixels at 96 dpi (twips / 15) of each design.
toggle StandardBianco 200 frameless
toggle CroceRossa 192 frameless
toggle Centratore 528 frameless
toggle StandardRosso 432 frameless
toggle CroceRossa 192 framed

echo "valgrind-check: closing one window with its close box and opening it again"
wmctrl -i -c "$(window_id Punto)"
wait_for "$kWindowTimeoutSeconds" "Punto closed" window_gone Punto
choose Punto p
toggle Punto 200 frameless

echo "valgrind-check: \"X\""
click_in Centratore "$(close_label 528)"

deadline=$((SECONDS + kExitTimeoutSeconds))
while kill -0 "$program" 2>/dev/null; do
    [[ $SECONDS -lt $deadline ]] || die "the program did not end after \"X\""
    sleep 0.2
done
set +e
wait "$program"
status=$?
set -e

# ---- The verdict. --------------------------------------------------------------

definite=$(grep -m1 'definitely lost:' "$log" | sed 's/.*definitely lost: //' || true)
suppressed=$(grep -m1 '  suppressed:' "$log" | sed 's/.*suppressed: //' || true)
errors=$(grep 'ERROR SUMMARY:' "$log" | tail -n 1 | sed 's/.*ERROR SUMMARY: //')
# Loss records allocated by the program's own code (the first frame below the
# allocator is one of its sources), and those whose stack only passes through
# it further down, allocated inside a library the program called.
read -r own_alloc own_path < <(awk -v src="$root/" '
    /are definitely lost in loss record/ {inrec = 1; first = 1; alloc = 0; path = 0; next}
    inrec && /^==[0-9]+== *$/ {own += alloc; through += path && !alloc; inrec = 0; next}
    inrec && /(at|by) 0x/ {
        if (first && $0 !~ /(malloc|calloc|realloc|memalign|operator new|vg_replace)/) {
            first = 0
            alloc = index($0, src) > 0
        }
        if (index($0, src)) path = 1
    }
    END {print own + 0, through + 0}' "$log")

echo "valgrind-check: definitely lost: ${definite:-0 bytes in 0 blocks} (not suppressed)"
echo "valgrind-check: leaks of the libraries, suppressed: ${suppressed:-0 bytes in 0 blocks}"
echo "valgrind-check: definite leaks allocated by the program's own code: $own_alloc"
echo "valgrind-check: definite leaks allocated in libraries called from it: $own_path"
echo "valgrind-check: errors: $errors"
echo "valgrind-check: full log: $log"
if [[ $status -ne 0 ]]; then
    echo "valgrind-check: FAILED (exit status $status; 99 means memcheck found errors)"
    exit 1
fi
echo "valgrind-check: passed"
