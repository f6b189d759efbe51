#!/usr/bin/env bash
# Builds MorvaneX.exe and starts it under Wine beside the stand-in CAD, with a
# sample command list, in build/win/demo. Uses $DISPLAY when there is one;
# otherwise runs on its own Xvfb display, double-clicks a command, saves a
# screenshot and says where.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_dependencies
cd "$MORVANE_ROOT"
build_windows
win=$(windows_build_dir)
launcher=$win/app/MorvaneX.exe
standin=$win/tools/standin-cad/StandinCad.exe
probe=$win/tools/probe/morvane-probe.exe

demo=$win/demo
mkdir -p "$demo"
cp "$launcher" "$demo/MorvaneX.exe"
[ -f "$demo/MorvaneList.txt" ] || cp resources/sample/MorvaneList.txt "$demo/MorvaneList.txt"
progid=MorvaneX.DemoCad
# The target list and settings point the launcher at the stand-in.
printf 'デモ CAD（スタンドイン）\t%s\r\nBricsCAD V25\tBricscadApp.AcadApplication.25\r\n' "$progid" |
    iconv -f UTF-8 -t CP932 >"$demo/TargetCAD_APIVersion.txt"
# Beside the stand-in's window rather than over it.
[ -f "$demo/MorvaneX.ini" ] ||
    printf '[Form]\r\nLeft=40\r\nTop=475\r\n[Target]\r\nProgID=%s\r\n' "$progid" >"$demo/MorvaneX.ini"

wine_env "$win/demo"
headless=0
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
}
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_xvfb
    trap cleanup EXIT
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "Preparing the Wine prefix (once)"
    wineboot -i >/dev/null 2>&1 || true
fi
desktop=
[ "$headless" = 1 ] && desktop=Default # without a window manager, a Wine desktop draws title bars
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
# A fresh server picks the desktop setting up; wineboot starts the services
# (the running object table among them) before the CAD registers itself.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wine wineboot </dev/null >/dev/null 2>&1 || true

if [ -f "$standin" ]; then
    log "Starting the stand-in CAD ($progid)"
    wine "$standin" --progid "$progid" --log "$demo/standin.log" </dev/null >/dev/null 2>&1 &
    sleep 2
else
    echo "No stand-in CAD in this build: the launcher runs without a CAD to drive." >&2
fi

log "Starting MorvaneX from $demo"
if [ "$headless" = 0 ]; then
    wine "$demo/MorvaneX.exe"
    wineserver -k 2>/dev/null || true
    exit 0
fi

wine "$demo/MorvaneX.exe" </dev/null >/dev/null 2>&1 &
wine "$probe" wait MorvaneX.Main 20000 >/dev/null 2>&1 || { echo "The window did not appear." >&2; exit 1; }
sleep 1
# Show it working: double-click the first command of the tree.
row=$(wine "$probe" tree 2>/dev/null | awk -F'\t' '$1 == "1" { print $7; exit }')
if [ -n "$row" ]; then
    xdotool mousemove "${row%,*}" "${row#*,}" click --repeat 2 --delay 80 1
    sleep 1.5
fi
mkdir -p "$win/screenshots"
shot=$win/screenshots/run.png
import -window root -crop 1024x768+0+0 "$shot"
log "No display: ran on Xvfb. Screenshot: $shot"
[ -f "$demo/standin.log" ] && { echo "The stand-in CAD received:"; cat "$demo/standin.log"; }
exit 0
