#!/usr/bin/env bash
# Double-click to the command's arrival in the stand-in CAD, under Wine.
# Usage: bench/cad_latency.sh [build folder, default build/win] [runs, default 20]
# Needs a display: DISPLAY set, or an Xvfb display number in MORVANE_XVFB.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
runs=${2:-20}
cmake --build "$build" --target cad_latency standin_cad -j2 >/dev/null
if [ -n "${MORVANE_XVFB:-}" ]; then
    Xvfb ":$MORVANE_XVFB" -screen 0 1280x1024x24 >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb' EXIT
    export DISPLAY=":$MORVANE_XVFB"
    sleep 1
fi
"$root/cmake/wine-run.sh" "$build/tests/cad_latency.exe" "$runs"
