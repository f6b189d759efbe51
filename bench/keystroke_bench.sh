#!/usr/bin/env bash
# Search keystrokes in the real main window under Wine, this tree against an
# earlier build, side by side in one run: bench/form's form_bench built from
# both, run in alternating rounds over the same list of COMMANDS commands
# (default 10000), in one Wine prefix. Reported: each build's median
# keystroke (typing and deleting a search) and the median, lowest and highest
# of the ratios within a round (this build / the earlier one), likewise for
# emptying the search. Needs a display (starts a private Xvfb when DISPLAY is
# unset).
#
#   [ROUNDS=N] [COMMANDS=N] bench/keystroke_bench.sh [COMMIT]
#   [ROUNDS=N] [COMMANDS=N] bench/keystroke_bench.sh --base-exe EARLIER_FORM_BENCH_EXE
#
# COMMIT (default: where this branch left main, git merge-base HEAD main) is
# unpacked with `git archive` into build/keystroke-base/src and built in its
# own build/win there, so ccache meets the same relative paths as in
# build/win. --base-exe takes an earlier form_bench.exe as it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win
rounds=${ROUNDS:-7}
commands=${COMMANDS:-10000}
base_exe=
if [ "${1:-}" = --base-exe ]; then
    base_exe=$(realpath "$2")
else
    commit=$(git -C "$root" rev-parse "${1:-$(git -C "$root" merge-base HEAD main)}")
fi

configure_win() { # source-dir build-dir [cmake options]
    local source=$1 dir=$2
    shift 2
    local launcher=()
    command -v ccache >/dev/null &&
        launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$source" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/toolchain-mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" --target form_bench -j2 >/dev/null
}

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
configure_win "$root" "$build"
current_exe=$build/bench/form/form_bench.exe
if [ -z "$base_exe" ]; then
    base=$root/build/keystroke-base
    if [ "$(cat "$base/commit" 2>/dev/null)" != "$commit" ]; then
        rm -rf "$base"
        mkdir -p "$base/src"
        git -C "$root" archive "$commit" | tar -x -C "$base/src"
        echo "$commit" >"$base/commit"
    fi
    echo "earlier build: $(git -C "$root" log -1 --format='%h %s' "$commit")"
    configure_win "$base/src" "$base/src/build/win" -DMORVANE_TESTS=OFF
    base_exe=$base/src/build/win/bench/form/form_bench.exe
fi

source "$root/scripts/lib.sh"
[ -z "${DISPLAY:-}" ] && start_xvfb
trap stop_xvfb EXIT
# One prefix and one wineserver for both programs.
export MORVANE_WINEPREFIX=$build/wineprefix
run=$root/cmake/wine-run.sh
"$run" "$current_exe" 200 >/dev/null # warm-up

stage=$build/bench-keystroke
mkdir -p "$stage"
: >"$stage/current.txt"
: >"$stage/earlier.txt"
# "search keystroke, N commands: median A ms (...); emptying the search (...): B ms" -> "A B"
time_one() { # exe output
    "$run" "$1" "$commands" | tr -d '\r' | grep "^search keystroke, $commands commands" |
        sed -E 's/.*: median ([0-9.]+) ms.*all rows back\): ([0-9.]+) ms.*/\1 \2/' >>"$2"
}
for round in $(seq "$rounds"); do
    if [ $((round % 2)) = 1 ]; then
        time_one "$base_exe" "$stage/earlier.txt"
        time_one "$current_exe" "$stage/current.txt"
    else
        time_one "$current_exe" "$stage/current.txt"
        time_one "$base_exe" "$stage/earlier.txt"
    fi
done
median() { sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
column() { cut -d' ' -f"$1" "$2" | median; }
# The fastest round: on a machine busy with other work, the least disturbed.
fastest() { cut -d' ' -f"$1" "$2" | sort -n | head -1; }
round_ratios() { # column
    paste -d' ' <(cut -d' ' -f"$1" "$stage/current.txt") <(cut -d' ' -f"$1" "$stage/earlier.txt") |
        awk '{printf "%.3f\n", $1/$2}' | sort -n |
        awk '{v[NR]=$1} END{printf "%.2f (rounds %.2f-%.2f)", v[int((NR+1)/2)], v[1], v[NR]}'
}
echo "search keystroke, $commands commands, median of $rounds rounds:" \
    "earlier build $(column 1 "$stage/earlier.txt") ms, this build $(column 1 "$stage/current.txt") ms;" \
    "this / earlier within rounds $(round_ratios 1) (goal <= 1.25);" \
    "fastest rounds $(fastest 1 "$stage/earlier.txt") and $(fastest 1 "$stage/current.txt") ms"
echo "emptying the search (all rows back): earlier build $(column 2 "$stage/earlier.txt") ms," \
    "this build $(column 2 "$stage/current.txt") ms; this / earlier within rounds $(round_ratios 2);" \
    "fastest rounds $(fastest 2 "$stage/earlier.txt") and $(fastest 2 "$stage/current.txt") ms"
