#!/usr/bin/env bash
# Runs one command inside a private X session: a fresh Xvfb server and,
# unless --no-wm, an openbox window manager that owns the screen before the
# command starts. Everything the session started is stopped afterwards, and
# the command's exit status is returned.
#
#   scripts/x11-session.sh [--no-wm] [--dpi N] -- command args...
#
# --dpi sets the X server's resolution (96 by default). Qt 6 keeps a logical
# 96 dpi on X11 whatever it is; scale a Qt program with QT_SCALE_FACTOR.
#
# The command sees:
#   DISPLAY                      the private server (nothing of the caller's
#                                X or Wayland session is passed on)
#   XAUTHORITY                   a cookie file for that server
#   ZENTARO_TEST_WM_PID          pid of the window manager it was started with
#                                (unset with --no-wm)
#   ZENTARO_TEST_WM_PIDFILE      file holding the current window manager's pid;
#                                a test that restarts the window manager writes
#                                the new pid there, so that it is stopped too
#   ZENTARO_TEST_WM_CONFIG_HOME  XDG_CONFIG_HOME for a restarted openbox, so it
#                                reads the same (system default) configuration
#
# Works with no prior X server, as root and in CI. Needs Xvfb, xauth, openbox,
# wmctrl, xprop and xmessage (scripts/install-deps.sh installs them).
set -euo pipefail

readonly kScreen="1920x1200x24"
readonly kStartTimeoutSeconds=15
readonly kStopTimeoutSeconds=5

usage()
{
    echo "usage: $0 [--no-wm] [--dpi N] -- command args..." >&2
    exit 2
}

with_wm=1
dpi=96
while [[ $# -gt 0 ]]; do
    case "$1" in
    --no-wm) with_wm=0 ;;
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

for tool in Xvfb xauth; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
if [[ $with_wm -eq 1 ]]; then
    for tool in openbox wmctrl xprop xmessage; do
        command -v "$tool" >/dev/null || { echo "$0: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
    done
fi

session_dir=$(mktemp -d "${TMPDIR:-/tmp}/zentaro-x11.XXXXXX")
xvfb_pid=""
command_pid=""
readonly wm_pidfile="$session_dir/wm.pid"

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

cleanup()
{
    local status=$?
    trap - EXIT INT TERM HUP
    stop_process "$command_pid"
    # The window manager may have been restarted by the command: stop the
    # one the pid file names now, and the one this script started.
    if [[ -s $wm_pidfile ]]; then
        stop_process "$(<"$wm_pidfile")"
    fi
    stop_process "${ZENTARO_TEST_WM_PID:-}"
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
export QT_QPA_PLATFORM=xcb
mkdir -m 700 "$session_dir/runtime" "$session_dir/config" "$session_dir/cache"
export XDG_RUNTIME_DIR="$session_dir/runtime"

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

# Whether the window manager lists some client window now.
wm_lists_clients()
{
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x'
}

# Maps a throwaway window and checks that the window manager takes it over,
# then removes it again. openbox announces itself (wmctrl -m) before it has
# finished starting, and a window mapped in that moment can stay unmanaged;
# once a new window is managed, later ones are too.
wm_manages_a_new_window()
{
    local probe managed=1 probe_deadline=$((SECONDS + 2))
    xmessage -name zentaro-wm-probe -geometry +0+0 probe </dev/null >/dev/null 2>&1 &
    probe=$!
    until wm_lists_clients; do
        if [[ $SECONDS -ge $probe_deadline ]]; then
            managed=0
            break
        fi
        sleep 0.02
    done
    kill "$probe" 2>/dev/null || true
    wait "$probe" 2>/dev/null || true
    while wm_lists_clients && ((SECONDS < probe_deadline + 2)); do
        sleep 0.02
    done
    [[ $managed -eq 1 ]] && ! wm_lists_clients
}

if [[ $with_wm -eq 1 ]]; then
    export ZENTARO_TEST_WM_CONFIG_HOME="$session_dir/config"
    export ZENTARO_TEST_WM_PIDFILE="$wm_pidfile"
    # An empty XDG_CONFIG_HOME makes openbox read the system's default
    # configuration, not the user's.
    XDG_CONFIG_HOME="$ZENTARO_TEST_WM_CONFIG_HOME" XDG_CACHE_HOME="$session_dir/cache" \
        openbox --sm-disable </dev/null >"$session_dir/openbox.log" 2>&1 &
    export ZENTARO_TEST_WM_PID=$!
    echo "$ZENTARO_TEST_WM_PID" >"$wm_pidfile"
    deadline=$((SECONDS + kStartTimeoutSeconds))
    until wmctrl -m >/dev/null 2>&1 && wm_manages_a_new_window; do
        if ! kill -0 "$ZENTARO_TEST_WM_PID" 2>/dev/null || [[ $SECONDS -ge $deadline ]]; then
            echo "$0: openbox did not take the screen within ${kStartTimeoutSeconds}s" >&2
            cat "$session_dir/openbox.log" >&2
            exit 1
        fi
        sleep 0.05
    done
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
exit "$status"
