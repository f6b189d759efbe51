#!/usr/bin/env bash
# Builds and runs every test: the host build (GoogleTest), the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run, and
# the Windows build under Wine on its own Xvfb display.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
FUZZ_SECONDS=${FUZZ_SECONDS:-8}
# Every build here fails on a warning in the project's own code.
MORVANE_WERROR=${MORVANE_WERROR:-ON}

install_dependencies
cd "$MORVANE_ROOT"
mkdir -p build
win=$(windows_build_dir)
cleanup() {
    stop_wineserver "$win"
    stop_xvfb
}
trap cleanup EXIT

log "Host build and tests"
configure_and_build build/host -DCMAKE_BUILD_TYPE=Release -DMORVANE_BENCH=ON
(cd build/host && ctest --output-on-failure -j "$MORVANE_JOBS")

log "Host tests under AddressSanitizer and UndefinedBehaviorSanitizer"
configure_and_build build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_SANITIZE=ON
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$MORVANE_JOBS")

log "Fuzzing, ${FUZZ_SECONDS}s per target"
bash "$MORVANE_ROOT/scripts/fuzz.sh" "$FUZZ_SECONDS"

log "Windows build and tests under Wine"
build_windows
start_xvfb
(cd "$win" && ctest --output-on-failure)
log "All tests passed"
