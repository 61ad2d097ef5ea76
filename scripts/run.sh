#!/usr/bin/env bash
# Starts the built program, or says in one line why it cannot.
set -euo pipefail
exe="${1:-build/zentaro}"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display reachable (DISPLAY is unset): run it on a desktop, or headless with: xvfb-run $exe" >&2
    exit 1
fi
exec "$exe"
