#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Does nothing (and needs no root) when everything is already there.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libx11-dev libxext-dev libxfixes-dev libxtst-dev libxcb1-dev libxcb-shape0-dev
    libgtest-dev libbenchmark-dev
    # a metric-compatible sans-serif for the reticle labels
    fonts-liberation2
    # real-window tests: X server, window manager, input and screenshots
    xvfb xauth openbox xdotool wmctrl x11-utils x11-xserver-utils imagemagick
    # packaging checks
    desktop-file-utils appstream dpkg-dev
    # leak checks (make valgrind)
    valgrind
)

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
