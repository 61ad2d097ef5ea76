#!/usr/bin/env bash
# Installs the Debian packages that building and running need and, unless
# --run, those that the tests, benchmarks and checks need as well.
# Does nothing (and needs no root) when everything is already there.
#
#   scripts/install-deps.sh [--run | --desktops]
#
# --run        only what building and running the program need (make run)
# --desktops   everything, plus the desktops that only `make desktops` runs
#              (KWin, Xfce's, MATE's and Cinnamon's window managers, the
#              Wayland sessions)
#
# Debian 12 (bookworm) and 13 (trixie) are known. On another release every
# package is looked up first: when some cannot be found, the script names
# them and installs nothing.
set -euo pipefail

mode=${1:-}
case $mode in
"" | --run | --desktops) ;;
*)
    echo "usage: $0 [--run | --desktops]" >&2
    exit 2
    ;;
esac

# ---- What differs between the releases: here and nowhere else ----------------------
codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
case $codename in
bookworm | trixie)
    known_release=1
    # The source format check's clang-format: one major version on every
    # release, since each lays some constructs out in its own way
    # (scripts/check-format.sh names the same one).
    clang_format=clang-format-19
    ;;
*)
    known_release=0
    clang_format=clang-format-19
    ;;
esac

# Building and running the program (make run).
packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libxcb1-dev libxcb-shape0-dev
    # a metric-compatible sans-serif for the reticle labels
    fonts-liberation2
)
if [[ $mode != --run ]]; then
    packages+=(
        # tests and benchmarks
        libgtest-dev libbenchmark-dev
        libx11-dev libxext-dev libxfixes-dev libxtst-dev
        # real-window tests: X server, window manager, input and screenshots
        xvfb xauth openbox xdotool wmctrl x11-utils x11-xserver-utils imagemagick
        # the desktop sessions that `make test` runs (scripts/x11-session.sh --wm):
        # picom over openbox, Mutter with a private session bus, and IceWM;
        # python3-xlib reads the compositing selection's owner
        picom python3-xlib mutter dbus-daemon icewm
        # packaging checks
        desktop-file-utils appstream dpkg-dev lintian
        # the source format check
        "$clang_format"
        # leak checks (make valgrind)
        valgrind
    )
fi
if [[ $mode == --desktops ]]; then
    packages+=(
        # the desktops only `make desktops` runs, and KWin's default window
        # decoration (without it KWin frames nothing); python3-gi drives the
        # drag in the GNOME Wayland session through Mutter's remote desktop
        # interface
        xfwm4 kwin-x11 kwin-wayland kwin-style-breeze xwayland python3-gi
        # MATE's and Cinnamon's window managers, with the settings schemas
        # and theme they abort without
        marco mate-settings-daemon-common mate-themes muffin cinnamon-settings-daemon
    )
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq

# Every name must have a candidate before anything is installed: a release
# that names a package otherwise is told, not half set up.
unavailable=()
for p in "${missing[@]}"; do
    candidate=$(apt-cache policy "$p" 2>/dev/null | awk '$1 == "Candidate:" { print $2 }')
    [[ -n $candidate && $candidate != "(none)" ]] || unavailable+=("$p")
done
if [[ ${#unavailable[@]} -gt 0 ]]; then
    if [[ $known_release -eq 1 ]]; then
        echo "$0: Debian $codename's package lists lack: ${unavailable[*]}" >&2
    else
        echo "$0: release '${codename:-unknown}' is not one this script knows (Debian 12" \
            "bookworm, 13 trixie), and its packages lack: ${unavailable[*]}; nothing installed" >&2
    fi
    exit 1
fi
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
