#!/usr/bin/env bash
# Runs a Windows test program under Wine in a prefix whose display is set to
# the given DPI (LogPixels), beside the build's usual prefix.
set -euo pipefail
dpi=$1
exe=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)
export MORVANE_WINEPREFIX=$build_dir/wineprefix-dpi$dpi
export MORVANE_EXPECT_DPI=$dpi
runner=$here/../../cmake/wine-run.sh
if [ ! -f "$MORVANE_WINEPREFIX/.logpixels-$dpi" ]; then
    "$runner" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    touch "$MORVANE_WINEPREFIX/.logpixels-$dpi"
fi
exec "$runner" "$exe" "$@"
