#!/usr/bin/env bash
# Builds the LISP indexer fuzz target with clang and runs it for a bounded
# time, seeded from the LISP corpus. Usage: fuzz/run_lisp_fuzz.sh [SECONDS]
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DMORVANE_FUZZ=ON -DMORVANE_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target lisp_fuzz >/dev/null
# The corpus folder stays untouched: new inputs go to a scratch folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/fuzz/lisp_fuzz" "$scratch" "$root/../shared/corpus/lisp/set-a" \
    "$root/../shared/corpus/lisp/set-b" -max_total_time="$seconds" -max_len=65536 \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
