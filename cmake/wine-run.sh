#!/usr/bin/env bash
# Runs a Windows program under Wine with the build's own prefix, in the
# environment of cmake/wine-env.sh. One persistent wineserver keeps
# each start fast. The prefix lives in the build folder of the program run,
# or in MORVANE_WINEPREFIX.
set -euo pipefail
exe=$1
shift
build_dir=$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)
[ "$build_dir" = / ] && build_dir=$(dirname "$exe")
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
morvane_wine_env "${MORVANE_WINEPREFIX:-$build_dir/wineprefix}"

# A wineserver runs in a folder named after the prefix's device and inode.
server_running() {
    local name pid
    name=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for pid in $(pgrep -x 'wineserver(64)?' 2>/dev/null || pgrep wineserver 2>/dev/null); do
        case "$(readlink "/proc/$pid/cwd" 2>/dev/null)" in */"$name") return 0 ;; esac
    done
    return 1
}

# The wineserver and Wine's own background programs outlive this run; they
# must not hold the caller's output pipes open (CTest waits for them).
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ] || ! server_running; then
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
            morvane_wine_desktop on 9>&-
            wineserver -k 9>&- 2>/dev/null || true
            wineserver -w 9>&- 2>/dev/null || true
        fi
        if ! server_running; then
            # Nothing started here may inherit the lock (fd 9).
            wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
            wine wineboot </dev/null >/dev/null 2>&1 9>&- || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi
morvane_wine_fonts
exec wine "$exe" "$@"
