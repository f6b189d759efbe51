#!/usr/bin/env bash
# Prints the drop benchmark's medians under Wine.
#   run_bench.sh [BUILD_DIR] [DROPS]   (default build/win, 9 drops)
# Needs a display (DISPLAY); Wine spends about two seconds hiding each
# question box when no window manager runs, which is not part of the figure.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win}
exec "$root/cmake/wine-run.sh" "$build/tests/morvane_drop_bench.exe" "${2:-9}"
