#!/usr/bin/env bash
# Installs the Debian packages that building and running need and, unless
# --run, those that the tests, benchmarks and checks need as well.
# Does nothing (and needs no root) when everything is already there.
#
#   scripts/install-deps.sh [--run | --desktops]
#
# --run        only what building and running the program need (make run)
# --desktops   everything, plus the desktops that only `make desktops` runs
#              (KWin, Xfce's window manager, the Wayland sessions)
set -euo pipefail

mode=${1:-}
case $mode in
"" | --run | --desktops) ;;
*)
    echo "usage: $0 [--run | --desktops]" >&2
    exit 2
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
        clang-format-14
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
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
