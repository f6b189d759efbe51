#!/usr/bin/env bash
# A rewritten 10,000-row command list to its read, and to the repaint of the
# real window in each view, under Wine.
# Usage: bench/live_latency.sh [build folder, default build/win] [rewrites, default 15]
# Uses $DISPLAY, or a private Xvfb display when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
rewrites=${2:-15}
cmake --build "$build" --target live_latency live_window -j2 >/dev/null
source "$root/scripts/lib.sh"
[ -z "${DISPLAY:-}" ] && start_xvfb
trap stop_xvfb EXIT
"$root/cmake/wine-run.sh" "$build/bench/live/live_latency.exe" "$rewrites"
"$root/cmake/wine-run.sh" "$build/bench/live/live_window.exe" "$(((rewrites + 1) / 2))"
