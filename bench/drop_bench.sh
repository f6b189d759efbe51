#!/usr/bin/env bash
# Prints the drop benchmark's medians under Wine.
#   bench/drop_bench.sh [BUILD_DIR] [DROPS]   (default build/win, 9 drops)
# Uses $DISPLAY, or a private Xvfb display when there is none. Wine spends
# about two seconds hiding each question box when no window manager runs,
# which is not part of the figure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
cmake --build "$build" --target morvane_drop_bench -j2 >/dev/null
source "$root/scripts/lib.sh"
[ -z "${DISPLAY:-}" ] && start_xvfb
trap stop_xvfb EXIT
"$root/cmake/wine-run.sh" "$build/bench/drop/morvane_drop_bench.exe" "${2:-9}"
