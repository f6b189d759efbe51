#!/usr/bin/env bash
# Double-click to the command's arrival in the stand-in CAD, under Wine.
# Usage: bench/cad_latency.sh [build folder, default build/win] [runs, default 20]
# Uses $DISPLAY, or a private Xvfb display when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
runs=${2:-20}
cmake --build "$build" --target cad_latency standin_cad -j2 >/dev/null
source "$root/scripts/lib.sh"
[ -z "${DISPLAY:-}" ] && start_xvfb
trap stop_xvfb EXIT
"$root/cmake/wine-run.sh" "$build/bench/cad_latency/cad_latency.exe" "$runs"
