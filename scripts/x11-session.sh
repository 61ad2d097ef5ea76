#!/usr/bin/env bash
# Runs one command inside a private desktop session: a fresh Xvfb server and,
# unless --no-wm, a window manager (openbox by default) that owns the screen
# before the command starts; or, for the Wayland sessions, a headless
# compositor that starts XWayland for the command. Everything the session
# started is stopped afterwards, and the command's exit status is returned.
#
#   scripts/x11-session.sh [--no-wm | --wm NAME] [--dpi N] -- command args...
#
# --wm NAME picks the desktop:
#   openbox         openbox (the default)
#   xfwm4           xfwm4 with its compositor on
#   kwin-x11        KWin on X11 (compositing)
#   mutter-x11      Mutter on X11 (compositing)
#   icewm           IceWM
#   marco           marco, MATE's window manager
#   muffin          muffin, Cinnamon's window manager (compositing)
#   picom-sample    openbox + picom with picom's sample configuration
#   picom-shadow    openbox + `picom --shadow` (no configuration)
#   gnome-wayland   Mutter as a headless Wayland compositor, 1600x1000,
#                   with XWayland; no Xvfb
#   plasma-wayland  KWin as a virtual Wayland compositor, 1600x1000, with
#                   XWayland; no Xvfb
# The session waits, with a bound, until the window manager owns the screen
# and manages a new window, and for the compositing ones until compositing
# is on (the _NET_WM_CM_S0 selection has an owner). Every desktop but
# openbox gets a private D-Bus session bus; all get their own
# XDG_RUNTIME_DIR, configuration and cache folders.
#
# Exits 77 when a program the chosen desktop needs is missing (a test runner
# counts that as skipped), 2 on a usage error, 1 when the session cannot
# start.
#
# --dpi sets the X server's resolution (96 by default; Xvfb only). Qt 6
# keeps a logical 96 dpi on X11 whatever it is; scale a Qt program with
# QT_SCALE_FACTOR.
#
# The command sees:
#   DISPLAY                      the private server (nothing of the caller's
#                                X or Wayland session is passed on)
#   XAUTHORITY                   a cookie file for that server
#   WAYLAND_DISPLAY              the compositor's socket (Wayland sessions)
#   DBUS_SESSION_BUS_ADDRESS     the private bus (every --wm but openbox)
#   ZENTARO_TEST_DESKTOP         the desktop's name as given to --wm
#                                ("none" with --no-wm)
#   ZENTARO_TEST_WM_PID          pid of the window manager it was started with
#                                (unset with --no-wm and in Wayland sessions)
#   ZENTARO_TEST_WM_PIDFILE      file holding the current window manager's pid;
#                                a test that restarts the window manager writes
#                                the new pid there, so that it is stopped too
#   ZENTARO_TEST_WM_CONFIG_HOME  XDG_CONFIG_HOME for a restarted openbox, so it
#                                reads the same (system default) configuration
#
# Works with no prior X server, as root and in CI. Needs Xvfb, xauth, openbox,
# wmctrl, xprop and xmessage, and for the other desktops their own packages
# and python3-xlib (scripts/install-deps.sh, --desktops for KWin and xfwm4).
set -euo pipefail

readonly kScreen="1920x1200x24"
# The Wayland compositors' virtual monitor (pixels).
readonly kWaylandWidth=1600
readonly kWaylandHeight=1000
readonly kStartTimeoutSeconds=15
# KWin and Mutter load their GL stack (llvmpipe) first: more time to start.
readonly kCompositorStartTimeoutSeconds=40
readonly kStopTimeoutSeconds=5
readonly kSkipStatus=77
readonly kDesktops="openbox xfwm4 kwin-x11 mutter-x11 icewm marco muffin picom-sample picom-shadow gnome-wayland plasma-wayland"
readonly kPicomSampleConfig=/usr/share/doc/picom/examples/picom.sample.conf
# The distribution's python with its modules (python3-xlib), not one that a
# PATH entry may put first.
readonly kPython=/usr/bin/python3

usage()
{
    echo "usage: $0 [--no-wm | --wm NAME] [--dpi N] -- command args..." >&2
    echo "  NAME: $kDesktops" >&2
    exit 2
}

# Whether the window manager lists some client window now.
wm_lists_clients()
{
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x'
}

# The managed client windows, one id a line.
wm_client_list()
{
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -o '0x[0-9a-f]*' || true
}

# Maps a throwaway window and checks that the window manager takes it over,
# then removes it again. openbox announces itself (wmctrl -m) before it has
# finished starting, and a window mapped in that moment can stay unmanaged;
# once a new window is managed, later ones are too. Windows the desktop
# lists of its own (a panel) are left out of the count.
wm_manages_a_new_window()
{
    local probe managed=1 probe_deadline=$((SECONDS + 2)) before
    before=$(wm_client_list)
    xmessage -name zentaro-wm-probe -geometry +0+0 probe </dev/null >/dev/null 2>&1 &
    probe=$!
    until [[ $(wm_client_list) != "$before" ]]; do
        if [[ $SECONDS -ge $probe_deadline ]]; then
            managed=0
            break
        fi
        sleep 0.02
    done
    kill "$probe" 2>/dev/null || true
    wait "$probe" 2>/dev/null || true
    while [[ $(wm_client_list) != "$before" ]] && ((SECONDS < probe_deadline + 2)); do
        sleep 0.02
    done
    [[ $managed -eq 1 && $(wm_client_list) == "$before" ]]
}

# Whether a compositing manager runs: the _NET_WM_CM_S0 selection has an
# owner (EWMH). No command-line X tool reads a selection's owner.
compositing_is_on()
{
    "$kPython" - <<'PY' 2>/dev/null
import sys
from Xlib import X, display
d = display.Display()
owner = d.get_selection_owner(d.intern_atom("_NET_WM_CM_S0"))
sys.exit(0 if owner not in (X.NONE, 0) else 1)
PY
}

# Waits until `pid` (the window manager, or whatever process runs it) has
# taken the screen and, with `compositing` 1, composites. `what` names it in
# messages; `log` is shown when it fails.
wait_for_window_manager()
{
    local pid=$1 what=$2 log=$3 compositing=$4 timeout=$5
    local deadline=$((SECONDS + timeout))
    until wmctrl -m >/dev/null 2>&1 && wm_manages_a_new_window &&
        { [[ $compositing -eq 0 ]] || compositing_is_on; }; do
        if ! is_running "$pid" || [[ $SECONDS -ge $deadline ]]; then
            echo "$0: $what did not take the screen within ${timeout}s" >&2
            [[ -n $log && -f $log ]] && cat "$log" >&2
            return 1
        fi
        sleep 0.05
    done
}

# Whether `pid` still runs. An ended process that nobody has reaped yet (a
# window manager the command started and left behind) counts as gone.
is_running()
{
    local pid=$1 stat
    kill -0 "$pid" 2>/dev/null || return 1
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != Z ]]
}

# ---- Inside a Wayland session -------------------------------------------------------
# The compositor runs this script again as its session command: wait until
# XWayland and its window manager answer, run the command, and leave its
# status in a file for the outer script (the compositors do not pass it on).
if [[ ${1:-} == --inside-wayland-session ]]; then
    [[ $# -ge 4 && $3 == -- ]] || usage
    status_file=$2
    shift 3
    if [[ -z ${DISPLAY:-} ]]; then
        echo "$0: the compositor started no XWayland (DISPLAY unset)" >&2
        exit 1
    fi
    export QT_QPA_PLATFORM=xcb
    deadline=$((SECONDS + kCompositorStartTimeoutSeconds))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
        wm_manages_a_new_window; do
        if [[ $SECONDS -ge $deadline ]]; then
            echo "$0: XWayland's window manager did not answer within ${kCompositorStartTimeoutSeconds}s" >&2
            exit 1
        fi
        sleep 0.05
    done
    set +e
    "$@" <&0
    status=$?
    set -e
    echo "$status" >"$status_file"
    exit "$status"
fi

desktop=openbox
dpi=96
while [[ $# -gt 0 ]]; do
    case "$1" in
    --no-wm) desktop=none ;;
    --wm)
        [[ $# -ge 2 && " $kDesktops " == *" $2 "* ]] || usage
        desktop=$2
        shift
        ;;
    --dpi)
        [[ $# -ge 2 && $2 =~ ^[0-9]+$ ]] || usage
        dpi=$2
        shift
        ;;
    --) shift; break ;;
    *) usage ;;
    esac
    shift
done
[[ $# -ge 1 ]] || usage

# What each desktop runs: its window manager (or compositor), and whether it
# composites on X11 and wants a session bus.
wayland=0
compositing=0
needs_bus=1
picom_args=()
case $desktop in
none) needs_bus=0; tools=(Xvfb xauth) ;;
openbox) needs_bus=0; tools=(Xvfb xauth openbox wmctrl xprop xmessage) ;;
picom-sample)
    # Xvfb has no vsync method for the sample's xrender backend, and picom
    # stops when vsync cannot start: a copy with vsync off.
    needs_bus=0; compositing=1
    tools=(Xvfb xauth openbox wmctrl xprop xmessage picom "$kPython" "$kPicomSampleConfig") ;;
picom-shadow)
    # Shadows and nothing else: the session's own configuration folders
    # hold no picom.conf. picom 12 (Debian 13) has no default backend and
    # stops without one ("Failed to get configuration"); xrender is the one
    # both releases' picom have that needs no GL.
    needs_bus=0; compositing=1; picom_args=(--backend xrender --shadow)
    tools=(Xvfb xauth openbox wmctrl xprop xmessage picom "$kPython") ;;
xfwm4) compositing=1; tools=(Xvfb xauth xfwm4 wmctrl xprop xmessage dbus-daemon "$kPython") ;;
kwin-x11) compositing=1; tools=(Xvfb xauth kwin_x11 wmctrl xprop xmessage dbus-daemon "$kPython") ;;
mutter-x11) compositing=1; tools=(Xvfb xauth mutter wmctrl xprop xmessage dbus-daemon "$kPython") ;;
icewm) needs_bus=0; tools=(Xvfb xauth icewm wmctrl xprop xmessage) ;;
# Both abort at once without their settings schemas, which come with
# mate-settings-daemon-common and cinnamon-settings-daemon.
marco) tools=(Xvfb xauth marco wmctrl xprop xmessage dbus-daemon
    /usr/share/glib-2.0/schemas/org.mate.marco.gschema.xml) ;;
muffin) compositing=1; tools=(Xvfb xauth muffin wmctrl xprop xmessage dbus-daemon "$kPython"
    /usr/share/glib-2.0/schemas/org.cinnamon.settings-daemon.plugins.xsettings.gschema.xml) ;;
gnome-wayland) wayland=1; tools=(mutter Xwayland wmctrl xprop xmessage dbus-daemon) ;;
plasma-wayland) wayland=1; tools=(kwin_wayland Xwayland wmctrl xprop xmessage dbus-daemon) ;;
esac

for tool in "${tools[@]}"; do
    if [[ $tool == /* ]]; then
        [[ -e $tool ]] && continue
    elif command -v "$tool" >/dev/null; then
        continue
    fi
    if [[ $desktop == none || $desktop == openbox ]]; then
        echo "$0: $tool is missing (scripts/install-deps.sh)" >&2
        exit 2
    fi
    echo "$0: $tool is missing: the $desktop session cannot run (scripts/install-deps.sh --desktops); skipped" >&2
    exit "$kSkipStatus"
done
if [[ $desktop == picom-* ]] && ! "$kPython" -c 'import Xlib' 2>/dev/null; then
    echo "$0: python3-xlib is missing: the $desktop session cannot run; skipped" >&2
    exit "$kSkipStatus"
fi

session_dir=$(mktemp -d "${TMPDIR:-/tmp}/zentaro-x11.XXXXXX")
xvfb_pid=""
bus_pid=""
picom_pid=""
compositor_pid=""
command_pid=""
readonly wm_pidfile="$session_dir/wm.pid"

# Sends SIGTERM to `pid` and waits for it to go, then SIGKILL. Only for
# processes this script or its command started.
stop_process()
{
    local pid=$1
    [[ -n $pid ]] || return 0
    is_running "$pid" || return 0
    kill -TERM "$pid" 2>/dev/null || true
    local deadline=$((SECONDS + kStopTimeoutSeconds))
    while is_running "$pid" && [[ $SECONDS -lt $deadline ]]; do
        # Reaps our own children; a pid that is not our child just polls.
        wait "$pid" 2>/dev/null || sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Processes the session bus or the desktop started on their own (services
# the bus activated, helpers of a window manager) outlive them as orphans.
# They carry this session's private XDG_RUNTIME_DIR in their environment,
# which no other process has: stop exactly those.
stop_session_leftovers()
{
    local marker="XDG_RUNTIME_DIR=$session_dir/runtime" environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [[ $pid != "$$" && $pid != "$BASHPID" ]] || continue
        if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "$marker"; then
            stop_process "$pid"
        fi
    done
}

cleanup()
{
    local status=$?
    trap - EXIT INT TERM HUP
    stop_process "$command_pid"
    stop_process "$compositor_pid"
    stop_process "$picom_pid"
    # The window manager may have been restarted by the command: stop the
    # one the pid file names now, and the one this script started.
    if [[ -s $wm_pidfile ]]; then
        stop_process "$(<"$wm_pidfile")"
    fi
    stop_process "${ZENTARO_TEST_WM_PID:-}"
    stop_process "$bus_pid"
    if [[ $needs_bus -eq 1 ]]; then
        stop_session_leftovers
    fi
    stop_process "$xvfb_pid"
    rm -rf "$session_dir"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Nothing of the caller's display session reaches the command.
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET XDG_SESSION_TYPE XDG_CURRENT_DESKTOP \
    XDG_SESSION_DESKTOP DESKTOP_SESSION SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS \
    GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION \
    QT_QPA_PLATFORMTHEME QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR \
    QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI GDK_SCALE GDK_DPI_SCALE XAUTHORITY
export ZENTARO_TEST_DESKTOP=$desktop
mkdir -m 700 "$session_dir/runtime" "$session_dir/config" "$session_dir/cache" \
    "$session_dir/data" "$session_dir/home"
export XDG_RUNTIME_DIR="$session_dir/runtime"

# The desktop's own programs keep their settings and caches in the session.
desktop_env=(XDG_CONFIG_HOME="$session_dir/config" XDG_CACHE_HOME="$session_dir/cache"
    XDG_DATA_HOME="$session_dir/data" HOME="$session_dir/home")

# Starts the session's private bus. Services it activates (KDE's shortcut
# daemon, xfconf) get the environment it starts with: DISPLAY must be set
# first on X11.
start_session_bus()
{
    local bus_socket="$session_dir/runtime/bus" deadline=$((SECONDS + kStartTimeoutSeconds))
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$bus_socket" \
        </dev/null >"$session_dir/dbus.log" 2>&1 &
    bus_pid=$!
    until [[ -S $bus_socket ]]; do
        if ! is_running "$bus_pid" || [[ $SECONDS -ge $deadline ]]; then
            echo "$0: the session bus did not start within ${kStartTimeoutSeconds}s" >&2
            cat "$session_dir/dbus.log" >&2
            exit 1
        fi
        sleep 0.02
    done
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$bus_socket"
}

# ---- Wayland sessions: the compositor runs the command -----------------------------------
if [[ $wayland -eq 1 ]]; then
    start_session_bus
    status_file="$session_dir/command.status"
    inner="$session_dir/session-command"
    # The compositor sends its children's output to its own log: the
    # command writes to this script's output again.
    {
        echo '#!/bin/sh'
        echo "exec </dev/null >/proc/$$/fd/1 2>/proc/$$/fd/2"
        printf 'exec %q --inside-wayland-session %q --' "$(readlink -f "$0")" "$status_file"
        printf ' %q' "$@"
        echo
    } >"$inner"
    chmod 700 "$inner"
    case $desktop in
    gnome-wayland)
        compositor=(mutter --wayland --headless --sm-disable
            --virtual-monitor "${kWaylandWidth}x${kWaylandHeight}" -- "$inner") ;;
    plasma-wayland)
        # Debian's kwin_wayland carries file capabilities, which a container
        # may refuse to execute; a copy carries none.
        cp "$(command -v kwin_wayland)" "$session_dir/kwin_wayland"
        compositor=("$session_dir/kwin_wayland" --virtual --xwayland
            --width "$kWaylandWidth" --height "$kWaylandHeight" --exit-with-session "$inner") ;;
    esac
    env "${desktop_env[@]}" "${compositor[@]}" <&0 >"$session_dir/compositor.log" 2>&1 &
    compositor_pid=$!
    set +e
    wait "$compositor_pid"
    compositor_status=$?
    set -e
    compositor_pid=""
    if [[ ! -s $status_file ]]; then
        echo "$0: the $desktop session ended (status $compositor_status) before its command did" >&2
        tail -n 40 "$session_dir/compositor.log" >&2
        exit 1
    fi
    exit "$(<"$status_file")"
fi

# ---- X11 sessions: Xvfb and a window manager ----------------------------------------------
export QT_QPA_PLATFORM=xcb

# An authorisation cookie of our own. The server accepts any cookie in its
# file whatever display number it names; clients need an entry for the real
# number, added once the server has chosen it.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
export XAUTHORITY="$session_dir/Xauthority"
: >"$XAUTHORITY"
xauth -q -f "$XAUTHORITY" add ":0" MIT-MAGIC-COOKIE-1 "$cookie"

# Xvfb picks a free display number itself and writes it to the pipe.
mkfifo "$session_dir/displayfd"
Xvfb -displayfd 3 -screen 0 "$kScreen" -dpi "$dpi" -nolisten tcp -auth "$XAUTHORITY" \
    -noreset 3>"$session_dir/displayfd" </dev/null >"$session_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
display_number=""
if ! read -r -t "$kStartTimeoutSeconds" display_number <"$session_dir/displayfd" ||
    [[ ! $display_number =~ ^[0-9]+$ ]]; then
    echo "$0: Xvfb did not start within ${kStartTimeoutSeconds}s" >&2
    cat "$session_dir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display_number"
xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"
if [[ $needs_bus -eq 1 ]]; then
    start_session_bus
fi

if [[ $desktop != none ]]; then
    export ZENTARO_TEST_WM_CONFIG_HOME="$session_dir/config"
    export ZENTARO_TEST_WM_PIDFILE="$wm_pidfile"
    timeout=$kStartTimeoutSeconds
    case $desktop in
    # An empty XDG_CONFIG_HOME makes openbox read the system's default
    # configuration, not the user's.
    openbox | picom-*) wm=(openbox --sm-disable) ;;
    xfwm4) wm=(xfwm4 --compositor=on --sm-client-disable) ;;
    kwin-x11) wm=(kwin_x11); timeout=$kCompositorStartTimeoutSeconds ;;
    mutter-x11) wm=(mutter --x11 --replace --sm-disable); timeout=$kCompositorStartTimeoutSeconds ;;
    icewm) wm=(icewm) ;;
    marco) wm=(marco --replace --sm-disable) ;;
    # Debian 13's muffin ends with "Unsupported session type" unless told.
    muffin) wm=(muffin --x11 --replace --sm-disable); timeout=$kCompositorStartTimeoutSeconds ;;
    esac
    env "${desktop_env[@]}" "${wm[@]}" </dev/null >"$session_dir/wm.log" 2>&1 &
    export ZENTARO_TEST_WM_PID=$!
    echo "$ZENTARO_TEST_WM_PID" >"$wm_pidfile"
    wm_composites=$compositing
    [[ $desktop == picom-* ]] && wm_composites=0
    wait_for_window_manager "$ZENTARO_TEST_WM_PID" "${wm[0]}" "$session_dir/wm.log" \
        "$wm_composites" "$timeout" || exit 1
    if [[ $desktop == picom-sample ]]; then
        sed 's/^vsync = true;/vsync = false;/' "$kPicomSampleConfig" >"$session_dir/picom.conf"
        picom_args=(--config "$session_dir/picom.conf")
    fi
    if [[ $desktop == picom-* ]]; then
        env "${desktop_env[@]}" picom "${picom_args[@]}" </dev/null >"$session_dir/picom.log" 2>&1 &
        picom_pid=$!
        wait_for_window_manager "$picom_pid" picom "$session_dir/picom.log" 1 \
            "$kStartTimeoutSeconds" || exit 1
    fi
fi

# The command runs in the background so that a signal to this script stops
# it at once rather than after it ends; it keeps this script's stdin.
"$@" <&0 &
command_pid=$!
set +e
wait "$command_pid"
status=$?
set -e
command_pid=""
# A failed command's session may hold the cause: a window manager or
# compositor that ended or complained on the way.
if [[ $status -ne 0 ]]; then
    for log in "$session_dir/wm.log" "$session_dir/picom.log"; do
        [[ -s $log ]] || continue
        echo "---- ${log##*/} (last lines) ----" >&2
        tail -n 20 "$log" >&2
    done
    if [[ -n ${ZENTARO_TEST_WM_PID:-} ]] && ! is_running "$ZENTARO_TEST_WM_PID"; then
        echo "---- the window manager (pid $ZENTARO_TEST_WM_PID) had ended ----" >&2
    fi
fi
exit "$status"
