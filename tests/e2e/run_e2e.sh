#!/usr/bin/env bash
# End-to-end suite: MorvaneX.exe used the way a person uses it. Each scenario
# copies the launcher into a fresh folder with its fixture files, starts it
# under Wine beside the stand-in CAD, drives it with real X input (xdotool),
# and checks what the stand-in received, what the window shows (morvane-probe)
# and the files written. One screenshot or more per scenario goes to
# BUILD/e2e/screenshots; the documentation's shots go to BUILD/screenshots.
#
#   run_e2e.sh BUILD_DIR SOURCE_DIR [SCENARIO...]
#
# Runs on an Xvfb display of its own (E2E_DISPLAY=:N uses that one instead:
# it must have no window manager, so that the Wine desktop sits at 0,0).
set -uo pipefail

build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
shift 2
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")

export E2E_ROOT="$build/e2e"
export E2E_SHOTS="$E2E_ROOT/screenshots"
export E2E_DOC_SHOTS="$build/screenshots"
export E2E_LAUNCHER="$build/app/MorvaneX.exe"
export E2E_PROBE="$build/tools/probe/morvane-probe.exe"
export E2E_STANDIN="$build/tools/standin-cad/StandinCad.exe"
# The version the build wrote (the version box shows it).
E2E_VERSION=$(sed -n 's/^#define MORVANE_DISPLAY_VERSION "\(.*\)"$/\1/p' "$build/include/generated/version.h")
export E2E_VERSION
E2E_SCENARIO_SECONDS=${E2E_SCENARIO_SECONDS:-150}

source "$source_dir/scripts/lib.sh"
source "$here/e2e_lib.sh"
for file in "$here"/scenarios_*.sh; do
    source "$file"
done
e2e_wine_env

# In the order a newcomer meets them.
SCENARIOS=(startup search scroll menu doubleclick escape keyboard hotkey target target_keyboard restart logoff
    readonly_folder live_list)

# One scenario in a process of its own, so that a time-out ends it whole and
# its trap still stops what it started.
if [ "${1:-}" = --one ]; then
    trap e2e_stop_started EXIT
    trap 'note "stopped: the scenario took too long"; exit 124' TERM
    "scenario_$2" || E2E_FAILURES=$((E2E_FAILURES + 1))
    [ "$E2E_FAILURES" -eq 0 ]
    exit
fi

[ $# -gt 0 ] && SCENARIOS=("$@")
for tool in xdotool import Xvfb wine iconv; do
    command -v "$tool" >/dev/null || { echo "FAIL e2e: $tool is not installed"; exit 1; }
done
for program in "$E2E_LAUNCHER" "$E2E_PROBE"; do
    [ -f "$program" ] || { echo "FAIL e2e: $program is not built"; exit 1; }
done
[ -n "$E2E_VERSION" ] || { echo "FAIL e2e: no version in $build/include/generated/version.h"; exit 1; }

finish() {
    e2e_stop_prefix
    stop_xvfb
}
trap finish EXIT

if [ -n "${E2E_DISPLAY:-}" ]; then
    export DISPLAY=$E2E_DISPLAY
else
    start_xvfb || { echo "FAIL e2e: no Xvfb display could be started"; exit 1; }
fi

# A wineserver left from an earlier run may serve another display.
e2e_stop_prefix
e2e_prepare_prefix
rm -rf "$E2E_SHOTS"
mkdir -p "$E2E_SHOTS" "$E2E_DOC_SHOTS"

passed=0 failed=0 skipped=0
started=$SECONDS
for name in "${SCENARIOS[@]}"; do
    if ! declare -F "scenario_$name" >/dev/null; then
        echo "FAIL $name: no such scenario"
        failed=$((failed + 1))
        continue
    fi
    if ! missing=$("needs_$name"); then
        echo "SKIP $name: needs $missing"
        skipped=$((skipped + 1))
        continue
    fi
    begin=$SECONDS
    timeout -k 5 "$E2E_SCENARIO_SECONDS" bash "${BASH_SOURCE[0]}" "$build" "$source_dir" --one "$name"
    status=$?
    if [ $status -eq 0 ]; then
        echo "PASS $name ($((SECONDS - begin)) s)"
        passed=$((passed + 1))
    else
        [ $status -eq 124 ] && echo "    timed out after $E2E_SCENARIO_SECONDS s"
        echo "FAIL $name ($((SECONDS - begin)) s)"
        failed=$((failed + 1))
        # Whatever a killed scenario left running goes with the wineserver.
        e2e_stop_prefix
        e2e_prepare_prefix
    fi
done

echo "$passed passed, $failed failed ($skipped skipped, $((SECONDS - started)) s; screenshots in $E2E_SHOTS)"
[ $failed -eq 0 ]
