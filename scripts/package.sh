#!/usr/bin/env bash
# Builds the Windows programs (build/win, the build README's run command
# uses) and packs build/win/MorvaneX-<version>-win64.zip.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_dependencies
cd "$MORVANE_ROOT"
build_windows
win=$(windows_build_dir)
(cd "$win" && cpack -G ZIP >/dev/null)
log "Package: $(ls "$win"/MorvaneX-*-win64.zip)"
