#!/usr/bin/env bash
# Makes the pictures under docs/ from the current Windows build, so that they
# show the program as it is built today:
#   docs/demo.png
#       scripts/run.sh on its own display: the launcher beside the stand-in
#       CAD after a double-click on the first command of the sample list;
#   docs/main-window.png, docs/target-dialog.png, docs/message-box.png
#       the shots the end-to-end scenarios take of the live windows;
#   docs/high-contrast-main.png, docs/high-contrast-dialog.png
#       both windows in high contrast, from the window tests' screenshot case.
# Runs on Xvfb displays of its own; needs no $DISPLAY.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$MORVANE_ROOT"
win=$(windows_build_dir)
docs=$MORVANE_ROOT/docs
shots=$win/screenshots

# The demo first: scripts/run.sh installs what is missing and builds build/win.
# Today's sample list, target list and place (the demo's Wine prefix stays).
log "The demo beside the stand-in CAD"
rm -f "$win"/demo/{MorvaneList.txt,MorvaneX.ini,TargetCAD_APIVersion.txt} "$shots/run.png"
env -u DISPLAY bash scripts/run.sh >/dev/null
cp "$shots/run.png" "$docs/demo.png"

# The live windows, taken by the scenarios that open them.
log "Main window, target dialog and message box"
rm -f "$shots"/{main-window,target-dialog,message-box}.png
bash tests/e2e/run_e2e.sh "$win" "$MORVANE_ROOT" startup target menu ||
    echo "Some end-to-end checks failed; the pictures are taken all the same." >&2
for name in main-window target-dialog message-box; do
    if [ -s "$shots/$name.png" ]; then
        cp "$shots/$name.png" "$docs/$name.png"
    else
        echo "No $name.png was taken; docs/$name.png is left as it was." >&2
    fi
done

# High contrast: Wine cannot switch it on, so the window tests draw both
# windows through their own seam and save them as bitmaps.
tests=$win/tests/morvane_win32_tests.exe
case_name=HighContrastScreenshots.OfBothWindows
bitmaps=$(mktemp -d)
trap 'rm -rf "$bitmaps"; stop_wineserver "$win"; stop_xvfb' EXIT
start_xvfb
wine_env "$win"
log "Both windows in high contrast"
MORVANE_SCREENSHOT_DIR=$(winepath -w "$bitmaps" 2>/dev/null) \
    "$MORVANE_ROOT/cmake/wine-run.sh" "$tests" --gtest_filter="$case_name" >/dev/null
for name in high-contrast-main high-contrast-dialog; do
    convert "BMP:$bitmaps/$name.bmp" "$docs/$name.png"
done

log "Pictures in $docs:"
identify "$docs"/*.png
