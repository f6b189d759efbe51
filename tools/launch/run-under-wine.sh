#!/usr/bin/env bash
# Builds MorvaneX.exe and starts it under Wine beside the sample command list.
# On the user's display it runs until closed; without a display it runs on
# a private Xvfb, saves a screenshot and says where.
#   tools/launch/run-under-wine.sh [--dpi 96|144] [--screenshot FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/win
dpi=96
shot=
while [ $# -gt 0 ]; do
    case $1 in
    --dpi) dpi=$2; shift 2 ;;
    --screenshot) shot=$2; shift 2 ;;
    *) echo "usage: $0 [--dpi N] [--screenshot FILE]" >&2; exit 2 ;;
    esac
done

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target MorvaneX -j2 >/dev/null

stage=$build/run-dpi$dpi
mkdir -p "$stage"
cp "$build/app/MorvaneX.exe" "$root/resources/sample/MorvaneList.txt" \
    "$root/resources/sample/TargetCAD_APIVersion.txt" "$stage/"

export WINEPREFIX=$build/wineprefix-dpi$dpi WINEARCH=win64 WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
export MORVANE_WINEPREFIX=$WINEPREFIX
if [ ! -f "$WINEPREFIX/.logpixels-$dpi" ]; then
    "$root/cmake/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$dpi" /f >/dev/null
    touch "$WINEPREFIX/.logpixels-$dpi"
fi

if [ -n "${DISPLAY:-}" ] && [ -z "$shot" ]; then
    cd "$stage" && exec wine MorvaneX.exe
fi

source "$root/scripts/lib.sh"
[ -z "${DISPLAY:-}" ] && start_xvfb 70 99
trap stop_xvfb EXIT
shot=${shot:-$build/screenshots/morvanex-${dpi}dpi.png}
mkdir -p "$(dirname "$shot")"
(cd "$stage" && wine explorer /desktop=MorvaneX,1024x768 MorvaneX.exe >/dev/null 2>&1 &)
sleep 8
import -window root -crop 1024x768+0+0 +repage "$shot"
# Ends the programs of this prefix only (the prefix is this script's own).
wineserver -k 2>/dev/null || true
echo "Screenshot: $shot"
