#!/usr/bin/env bash
# morvanex-index.exe under Wine and the native morvanex-index must give the
# same bytes for every LISP file of the given folders (the corpus, and
# fixtures made to part other converters and collations from Windows'): the rows on standard output
# (UTF-8), the written list (code page 932, CR LF), the messages and the exit
# code. Files go in batches of one folder, one Wine start each; the folder is
# given as the program folder, so the load rows read "Morvane\NAME" on both
# sides instead of each system's own full path. Exit code 77: nothing to
# compare (skipped). Folders are taken by their physical paths: the native
# tool makes its files absolute from the physical working folder.
# Usage: compare_native.sh WINDOWS_EXE NATIVE_TOOL WINE_RUN FOLDER...
set -euo pipefail
exe=$1 native=$2 wine_run=$3
shift 3
[ -x "$native" ] || { echo "no native morvanex-index at $native: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
roots=()
for root in "$@"; do
    if [ -d "$root" ]; then roots+=("$(cd "$root" && pwd -P)"); else echo "no folder $root: left out"; fi
done
[ ${#roots[@]} -gt 0 ] || { echo "no LISP folders: skipped"; exit 77; }
mapfile -t folders < <(find "${roots[@]}" -type f -iname '*.lsp' -printf '%h\n' | LC_ALL=C sort -u)
[ ${#folders[@]} -gt 0 ] || { echo "no LISP files: skipped"; exit 77; }

# Runs one side over a batch: its exit code, output, messages and list file
# go into the folder given.
run_side() { # folder command...
    local folder=$1
    shift
    mkdir -p "$folder"
    local code=0
    "$@" --out "$folder/list.txt" >"$folder/stdout" 2>"$folder/stderr" || code=$?
    echo "$code" >"$folder/exit"
    # The rows on standard output too (--out replaces them).
    "$@" >"$folder/rows" 2>/dev/null || true
}

batch_size=60
different=0
count=0
n=0
for folder in "${folders[@]}"; do
    cd "$folder"
    mapfile -t files < <(find . -maxdepth 1 -type f -iname '*.lsp' | sed 's|^\./||' | LC_ALL=C sort)
    # The same folder as Wine names it (its Z: drive is the root).
    windows_folder="Z:${folder//\//\\}"
    for ((i = 0; i < ${#files[@]}; i += batch_size)); do
        batch=("${files[@]:i:batch_size}")
        n=$((n + 1))
        count=$((count + ${#batch[@]}))
        run_side "$work/native/$n" "$native" "${batch[@]}" --exe-dir "$folder"
        run_side "$work/windows/$n" "$wine_run" "$exe" "${batch[@]}" --exe-dir "$windows_folder"
        if ! diff -r "$work/native/$n" "$work/windows/$n" >"$work/diff-$n" 2>&1; then
            different=1
            echo "Batch $n (${batch[0]} to ${batch[-1]} in $folder) differs:"
            head -c 4000 "$work/diff-$n"
        fi
    done
done
[ $different -eq 0 ] && echo "$count files: native and Windows outputs are identical"
exit $different
