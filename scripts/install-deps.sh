#!/usr/bin/env bash
# Installs the Debian packages that building and running need and, unless
# --run, those that the tests, benchmarks and checks need as well.
# Does nothing (and needs no root) when everything is already there.
#
#   scripts/install-deps.sh [--run]
set -euo pipefail

# Building and running the program (make run).
packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libxcb1-dev libxcb-shape0-dev
    # a metric-compatible sans-serif for the reticle labels
    fonts-liberation2
)
case "${1:-}" in
--run) ;;
"")
    packages+=(
        # tests and benchmarks
        libgtest-dev libbenchmark-dev
        libx11-dev libxext-dev libxfixes-dev libxtst-dev
        # real-window tests: X server, window manager, input and screenshots
        xvfb xauth openbox xdotool wmctrl x11-utils x11-xserver-utils imagemagick
        # packaging checks
        desktop-file-utils appstream dpkg-dev lintian
        # the source format check
        clang-format-14
        # leak checks (make valgrind)
        valgrind
    )
    ;;
*)
    echo "usage: $0 [--run]" >&2
    exit 2
    ;;
esac

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
