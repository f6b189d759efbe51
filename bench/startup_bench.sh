#!/usr/bin/env bash
# Start-up of MorvaneX.exe under Wine against a minimal Win32 window program:
# to the first paint (window on screen, nothing left to paint) and to the
# first idle; plus the search keystroke timings and the exe size. Also timed:
# a program with only MorvaneX's controls, fonts and rows, built the plainest
# way (tools/startup_probe/controls_window.cpp), the floor for a window of
# this layout under Wine. Needs a display (starts a private Xvfb when DISPLAY
# is unset).  bench/startup_bench.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win
runs=${1:-15}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target MorvaneX startup_probe minimal_window controls_window form_bench -j2 >/dev/null

source "$root/scripts/lib.sh"
[ -z "${DISPLAY:-}" ] && start_xvfb 70 99
trap stop_xvfb EXIT

stage=$build/bench-startup
mkdir -p "$stage"
cp "$build/app/MorvaneX.exe" "$build/tools/startup_probe/minimal_window.exe" \
    "$build/tools/startup_probe/controls_window.exe" \
    "$root/resources/sample/MorvaneList.txt" "$root/resources/sample/TargetCAD_APIVersion.txt" \
    "$stage/"
run=$root/cmake/wine-run.sh
probe=$build/tools/startup_probe/startup_probe.exe
"$run" "$probe" "$stage/minimal_window.exe" 3 >/dev/null # warm-up
# Alternate the two programs in rounds, so load from elsewhere on the
# machine hits both alike; report the median of the round medians, for the
# wall-clock time and for the processor time the program itself used.
median() { sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
: >"$stage/minimal.txt"
: >"$stage/controls.txt"
: >"$stage/morvane.txt"
: >"$stage/minimal-idle.txt"
: >"$stage/morvane-idle.txt"
for round in 1 2 3 4 5; do
    "$run" "$probe" "$stage/minimal_window.exe" "$runs" | tr -d '\r' >>"$stage/minimal.txt"
    "$run" "$probe" "$stage/MorvaneX.exe" "$runs" | tr -d '\r' >>"$stage/morvane.txt"
    "$run" "$probe" "$stage/controls_window.exe" "$runs" | tr -d '\r' >>"$stage/controls.txt"
    # The first idle on its own: watching for the paint loads the machine.
    "$run" "$probe" "$stage/minimal_window.exe" "$runs" idle | tr -d '\r' >>"$stage/minimal-idle.txt"
    "$run" "$probe" "$stage/MorvaneX.exe" "$runs" idle | tr -d '\r' >>"$stage/morvane-idle.txt"
done
column() { cut -d' ' -f"$1" "$2" | median; }
ratio() { awk "BEGIN{printf \"%.2f\", $1/$2}"; }
minimal=$(column 1 "$stage/minimal.txt")
morvane=$(column 1 "$stage/morvane.txt")
controls=$(column 1 "$stage/controls.txt")
minimal_idle=$(column 2 "$stage/minimal-idle.txt")
morvane_idle=$(column 2 "$stage/morvane-idle.txt")
echo "start-up to first paint, median: minimal window ${minimal} ms, MorvaneX ${morvane} ms," \
    "ratio $(ratio "$morvane" "$minimal") (goal <= 1.3)"
echo "  the same controls built plainly: ${controls} ms, ratio $(ratio "$controls" "$minimal");" \
    "MorvaneX against it: $(ratio "$morvane" "$controls")"
echo "start-up to first idle (nothing watching), median: minimal window ${minimal_idle} ms," \
    "MorvaneX ${morvane_idle} ms, ratio $(ratio "$morvane_idle" "$minimal_idle")"
"$run" "$build/tools/form_bench/form_bench.exe" 2000 10000 | tr -d '\r'
echo "MorvaneX.exe size: $(stat -c %s "$build/app/MorvaneX.exe") bytes (goal <= 3 MB)"
