#!/usr/bin/env bash
# Builds and runs every test: the host build (GoogleTest), the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run, and
# the Windows build under Wine on its own Xvfb display.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
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
CC=clang CXX=clang++ configure_and_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVANE_FUZZ=ON -DMORVANE_TESTS=OFF
for fuzzer in build/fuzz/fuzz/*_fuzz; do
    name=$(basename "$fuzzer")
    corpus=build/fuzz/corpus-$name
    mkdir -p "$corpus"
    seeds=("$MORVANE_ROOT/fuzz/seeds/$name")
    [ -d "$MORVANE_ROOT/../shared/corpus/lisp" ] && seeds+=("$MORVANE_ROOT/../shared/corpus/lisp/set-a" "$MORVANE_ROOT/../shared/corpus/lisp/set-b")
    existing=()
    for s in "${seeds[@]}"; do [ -d "$s" ] && existing+=("$s"); done
    "$fuzzer" -max_total_time="$FUZZ_SECONDS" -max_len=65536 -print_final_stats=1 \
        "$corpus" "${existing[@]}" 2>&1 | tail -4
done

log "Windows build and tests under Wine"
build_windows
start_xvfb
(cd "$win" && ctest --output-on-failure)
log "All tests passed"
