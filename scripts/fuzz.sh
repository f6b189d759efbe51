#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/*_fuzz.cpp) with clang and runs each for
# SECONDS (default 60), one after another. Each keeps its corpus in
# build/fuzz/corpus/<target>, seeded from fuzz/seeds/<target> (and the LISP
# corpus for the LISP targets); a failing input is saved in
# build/fuzz/crashes/<target>/ and the fuzzer's whole output is printed.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
seconds=${1:-60}
cd "$MORVANE_ROOT"
build=build/fuzz
mkdir -p build
CC=clang CXX=clang++ configure_and_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVANE_FUZZ=ON -DMORVANE_TESTS=OFF >"$build.build.log" 2>&1 ||
    { cat "$build.build.log"; exit 1; }

# The longest input each target needs: enough for its format, short enough
# that every target runs thousands of inputs a second.
max_len() {
    case $1 in
    settings_fuzz) echo 256 ;;
    row_action_fuzz) echo 512 ;;
    target_fuzz) echo 512 ;;
    list_fuzz) echo 512 ;;
    search_fuzz) echo 512 ;;
    lisp_fuzz | dropped_list_fuzz) echo 1024 ;;
    *) echo 4096 ;;
    esac
}

# A small quarantine: freed blocks are still checked for a while, but memory
# gets reused instead of faulting in fresh pages for every input.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}

failed=()
for fuzzer in "$build"/fuzz/*_fuzz; do
    name=$(basename "$fuzzer")
    corpus=$build/corpus/$name
    crashes=$build/crashes/$name
    mkdir -p "$corpus" "$crashes"
    seeds=()
    [ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
    case $name in lisp_fuzz | dropped_list_fuzz)
        for set in ../shared/corpus/lisp/set-a ../shared/corpus/lisp/set-b; do
            [ -d "$set" ] && seeds+=("$set")
        done ;;
    esac
    log "$name, ${seconds}s"
    output=$build/$name.log
    if "$fuzzer" -max_total_time="$seconds" -max_len="$(max_len "$name")" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" "${seeds[@]}" >"$output" 2>&1; then
        grep -E '^#[0-9]+.*DONE|stat::(number_of_executed_units|average_exec_per_sec)' "$output"
    else
        cat "$output"
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found failures in: ${failed[*]} (inputs in $build/crashes)" >&2
    exit 1
fi
