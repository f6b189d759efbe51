#!/usr/bin/env bash
# Sets up a demo folder beside the Windows build and starts, under Wine, the
# stand-in CAD under its own ProgID and MorvaneX.exe set to drive it: the
# target list and the settings file name the stand-in, the command list is
# the sample one. Double-click a command and watch it arrive.
# Usage: tools/standin-cad/demo.sh [windows build folder, default build/win]
# Needs $DISPLAY. Both programs keep running until their windows are closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win}
progid=MorvaneX.StandinCad
demo=$build/demo
run="$root/cmake/wine-run.sh"

mkdir -p "$demo"
cp "$build/app/MorvaneX.exe" "$demo/"
cp "$root/resources/sample/MorvaneList.txt" "$demo/"
# The sample targets (Shift_JIS, CR LF) plus the stand-in, chosen in the ini.
{ cat "$root/resources/sample/TargetCAD_APIVersion.txt"; printf 'Stand-in CAD\t%s\r\n' "$progid"; } \
    >"$demo/TargetCAD_APIVersion.txt"
printf '[Target]\r\nProgID=%s\r\n' "$progid" >"$demo/MorvaneX.ini"
rm -f "$demo/standin.log"

desktop="explorer /desktop=MorvaneDemo,1280x800"
MORVANE_WINEPREFIX=${MORVANE_WINEPREFIX:-$build/wineprefix} \
    "$run" $desktop "$build/tools/standin-cad/StandinCad.exe" --progid "$progid" \
    --log 'Z:'"$demo/standin.log" >/dev/null 2>&1 &
for _ in $(seq 100); do
    grep -q 'ready' "$demo/standin.log" 2>/dev/null && break
    sleep 0.2
done
MORVANE_WINEPREFIX=${MORVANE_WINEPREFIX:-$build/wineprefix} \
    "$run" $desktop "$demo/MorvaneX.exe" >/dev/null 2>&1 &
echo "Stand-in CAD under $progid (log: $demo/standin.log); MorvaneX in $demo."
echo "Double-click a command in MorvaneX; close both windows to end."
