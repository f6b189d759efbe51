#!/usr/bin/env bash
# Start-up of MorvaneX.exe under Wine against a minimal Win32 window program:
# to the first paint (window on screen, nothing left to paint) and to the
# first idle; plus the search keystroke timings and the exe size. Also timed:
# a program with only MorvaneX's controls, fonts and rows, built the plainest
# way (bench/startup/controls_window.cpp), the floor for a window of
# this layout under Wine. Needs a display (starts a private Xvfb when DISPLAY
# is unset).  [ROUNDS=N] bench/startup_bench.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win
runs=${1:-15}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target MorvaneX startup_probe minimal_window controls_window form_bench -j2 >/dev/null

source "$root/scripts/lib.sh"
[ -z "${DISPLAY:-}" ] && start_xvfb
trap stop_xvfb EXIT

stage=$build/bench-startup
mkdir -p "$stage"
cp "$build/app/MorvaneX.exe" "$build/bench/startup/minimal_window.exe" \
    "$build/bench/startup/controls_window.exe" \
    "$root/resources/sample/MorvaneList.txt" "$root/resources/sample/TargetCAD_APIVersion.txt" \
    "$stage/"
run=$root/cmake/wine-run.sh
probe=$build/bench/startup/startup_probe.exe
"$run" "$probe" "$stage/minimal_window.exe" 3 >/dev/null # warm-up
# Alternate the programs in rounds (ROUNDS, default 7), the order turned round
# every other round, so load from elsewhere on the machine hits them alike.
# Each round gives each program's median over RUNS starts; reported are the
# medians of those, and the median of the ratios within a round (the programs
# of one round ran within seconds of each other, so drift of the machine's
# speed between rounds cancels out of them).
median() { sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
rounds=${ROUNDS:-7}
for name in minimal controls morvane minimal-idle morvane-idle; do : >"$stage/$name.txt"; done
time_paint() { "$run" "$probe" "$stage/$1.exe" "$runs" | tr -d '\r' >>"$stage/$2.txt"; }
time_idle() { "$run" "$probe" "$stage/$1.exe" "$runs" idle | tr -d '\r' >>"$stage/$2.txt"; }
for round in $(seq "$rounds"); do
    if [ $((round % 2)) = 1 ]; then
        time_paint minimal_window minimal
        time_paint MorvaneX morvane
        time_paint controls_window controls
    else
        time_paint controls_window controls
        time_paint MorvaneX morvane
        time_paint minimal_window minimal
    fi
    # The first idle on its own: watching for the paint loads the machine.
    time_idle minimal_window minimal-idle
    time_idle MorvaneX morvane-idle
done
column() { cut -d' ' -f"$1" "$2" | median; }
ratio() { awk "BEGIN{printf \"%.2f\", $1/$2}"; }
# Median and range of the per-round ratios of column $1 of file $2 to file $3.
round_ratios() {
    paste -d' ' <(cut -d' ' -f"$1" "$2") <(cut -d' ' -f"$1" "$3") | awk '{printf "%.3f\n", $1/$2}' |
        sort -n | awk '{v[NR]=$1} END{printf "%.2f (rounds %.2f-%.2f)", v[int((NR+1)/2)], v[1], v[NR]}'
}
minimal=$(column 1 "$stage/minimal.txt")
morvane=$(column 1 "$stage/morvane.txt")
controls=$(column 1 "$stage/controls.txt")
minimal_idle=$(column 2 "$stage/minimal-idle.txt")
morvane_idle=$(column 2 "$stage/morvane-idle.txt")
echo "start-up to first paint, median: minimal window ${minimal} ms, MorvaneX ${morvane} ms," \
    "ratio $(ratio "$morvane" "$minimal") (goal <= 1.3); within rounds" \
    "$(round_ratios 1 "$stage/morvane.txt" "$stage/minimal.txt")"
echo "  the same controls built plainly: ${controls} ms, within rounds" \
    "$(round_ratios 1 "$stage/controls.txt" "$stage/minimal.txt") of the minimal window;" \
    "MorvaneX against it $(round_ratios 1 "$stage/morvane.txt" "$stage/controls.txt")"
echo "start-up to first idle (nothing watching), median: minimal window ${minimal_idle} ms," \
    "MorvaneX ${morvane_idle} ms, within rounds" \
    "$(round_ratios 2 "$stage/morvane-idle.txt" "$stage/minimal-idle.txt")"
"$run" "$build/bench/form/form_bench.exe" 2000 10000 | tr -d '\r'
echo "MorvaneX.exe size: $(stat -c %s "$build/app/MorvaneX.exe") bytes (goal <= 3 MB)"
