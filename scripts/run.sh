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
morvane_wine_fonts
# Without a window manager, a Wine desktop draws the title bars.
if [ "$headless" = 1 ]; then morvane_wine_desktop on; else morvane_wine_desktop off; fi
# A fresh server picks the desktop setting up; wineboot starts the services
# (the running object table among them) before the CAD registers itself.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wine wineboot </dev/null >/dev/null 2>&1 || true

if [ -f "$standin" ]; then
    log "Starting the stand-in CAD ($progid)"
    rm -f "$demo/standin.log"
    wine "$standin" --progid "$progid" --log "$demo/standin.log" </dev/null >/dev/null 2>&1 &
    wait_until 30 grep -q $'\tready\t' "$demo/standin.log" ||
        echo "The stand-in CAD did not say it is ready." >&2
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
# Short waits, asked again: a probe that Wine fails to start is not the end.
wait_until 20 wine "$probe" wait MorvaneX.Main 2000 || { echo "The window did not appear." >&2; exit 1; }
# The centre of the first command of the tree, once the tree is filled.
first_command() { wine "$probe" tree 2>/dev/null | awk -F'\t' '$1 == "1" { print $7; found = 1; exit } END { exit !found }'; }
commands_received() { [ -f "$demo/standin.log" ] && tr -d '\r' <"$demo/standin.log" | awk -F'\t' '$2 == "command" { found = 1 } END { exit !found }'; }
# Show it working: double-click the first command.
if wait_until 10 first_command; then
    row=$(first_command)
    xdotool mousemove "${row%,*}" "${row#*,}" click --repeat 2 --delay 80 1
    [ -f "$standin" ] && { wait_until 10 commands_received || echo "The stand-in CAD received no command." >&2; }
fi
mkdir -p "$win/screenshots"
shot=$win/screenshots/run.png
import -window root -crop "$MORVANE_WINE_DESKTOP+0+0" +repage "$shot"
log "No display: ran on Xvfb. Screenshot: $shot"
[ -f "$demo/standin.log" ] && { echo "The stand-in CAD received:"; cat "$demo/standin.log"; }
exit 0
