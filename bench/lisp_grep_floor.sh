#!/usr/bin/env bash
# The floor to compare the indexer with: how long `grep -ci "(defun c:"` takes
# over the same bytes as bench/lisp_bench.cpp (corpus and synthetic files).
# Usage: bench/lisp_grep_floor.sh BUILD_DIR   (built with -DMORVANE_BENCH=ON)
set -euo pipefail
build=${1:?build folder}
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$root/../shared/corpus/lisp
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
MORVANE_BENCH_DUMP_DIR=$work "$build/bench/morvane_bench" \
    --benchmark_filter=Synthetic --benchmark_min_time=0.01 >/dev/null
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_grep() {
    for _ in 1 2 3 4 5 6 7 8 9 10 11; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null || true
        end=$(date +%s%N)
        echo $(((end - start) / 1000))
    done | median
}
find "$corpus" -iname '*.lsp' -print0 >"$work/files"
echo "corpus, file by file: $(time_grep xargs -0 -a "$work/files" grep -ci '(defun c:') us (median of 11)"
echo "corpus, concatenated: $(time_grep sh -c "xargs -0 -a '$work/files' cat | grep -ci '(defun c:'") us"
for f in synthetic.lsp synthetic-unbalanced.lsp; do
    echo "$f ($(stat -c %s "$work/$f") bytes): $(time_grep grep -ci '(defun c:' "$work/$f") us"
done
