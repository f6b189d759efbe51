#!/usr/bin/env bash
# Packs the release zip of BUILD_DIR into a temporary folder and checks its
# files: the three programs, the sample list in the ANSI code page (CP932) with
# CR LF whose file rows all resolve on a fresh PC, the users' README in UTF-8
# with its sections, and no target list; the version of the package name in the
# programs' version information, their manifests and the README; the
# manifests' long-path awareness and execution level; an icon image for every
# size Windows shows (the largest a PNG).
set -uo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

(cd "$build" && cpack -G ZIP -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
zips=("$work"/out/MorvaneX-*-win64.zip)
[ -f "${zips[0]}" ] || { echo "FAIL: no MorvaneX-<version>-win64.zip"; exit 1; }
zip=${zips[0]}
name=$(basename "$zip" .zip)
[[ $name =~ ^MorvaneX-[0-9]{4}\.[0-9]{2}\.[0-9]{2}-win64$ ]] || fail "package name $name"
# The version as shown (2025.07.17) and as in the manifest (2025.7.17.0).
version=${name#MorvaneX-}
version=${version%-win64}
manifest_version=$(echo "$version" | awk -F. '{ printf "%d.%d.%d.0", $1, $2, $3 }')

# Whether FILE holds TEXT in UTF-16LE, as resource strings are stored.
holds_utf16() { # file text
    local pattern
    pattern=$(printf '%s' "$2" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -d ' \n')
    od -An -tx1 -v "$1" | tr -d ' \n' | grep -q "$pattern"
}

# Unsigned little-endian number of BYTES bytes at OFFSET of FILE.
number_at() { # file offset bytes
    od -An -tu"$3" -j "$2" -N "$3" --endian=little "$1" | tr -d ' '
}

# The first four bytes, in hex, of the image of an .ico whose directory
# entry gives width 0 (256 pixels).
png_at_width_0() { # ico
    local count i entry
    count=$(number_at "$1" 4 2)
    for ((i = 0; i < count; i++)); do
        entry=$((6 + 16 * i))
        if [ "$(number_at "$1" $entry 1)" -eq 0 ]; then
            od -An -tx1 -j "$(number_at "$1" $((entry + 12)) 4)" -N 4 "$1" | tr -d ' '
            return
        fi
    done
}

mkdir "$work/x"
(cd "$work/x" && cmake -E tar xf "$zip") || { echo "FAIL: cannot unpack $zip"; exit 1; }
files=$(cd "$work/x" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(printf '%s\n' MorvaneList.txt MorvaneX.exe README-ja.txt dimtools.lsp morvanex-check.exe morvanex-index.exe |
    sed "s|^|$name/|" | LC_ALL=C sort)
[ "$files" == "$expected" ] || fail "files: $(echo $files)"
dir="$work/x/$name"

for exe in MorvaneX.exe morvanex-check.exe morvanex-index.exe; do
    [ "$(head -c 2 "$dir/$exe" 2>/dev/null)" == MZ ] || fail "$exe is not a Windows program"
done
# Each program's manifest resource (type 24, the first): the version, long
# paths whatever their form, and no elevation prompt.
for exe in MorvaneX.exe morvanex-check.exe morvanex-index.exe; do
    [ -f "$dir/$exe" ] || continue
    holds_utf16 "$dir/$exe" "$version" || fail "$exe's version information lacks $version"
    wrestool -x --raw --type=24 --name=1 "$dir/$exe" >"$work/manifest.xml" 2>/dev/null ||
        fail "$exe has no manifest"
    grep -qF "version=\"$manifest_version\"" "$work/manifest.xml" ||
        fail "$exe's manifest lacks version $manifest_version"
    for setting in '<longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">true</longPathAware>' \
        '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'; do
        grep -qF "$setting" "$work/manifest.xml" || fail "$exe's manifest lacks $setting"
    done
done
if [ -f "$dir/MorvaneX.exe" ]; then
    # The icon group as an .ico file: its sizes, and the 256-pixel image
    # (width 0 in the directory) stored as a PNG.
    if wrestool -x --type=14 "$dir/MorvaneX.exe" >"$work/icon.ico" 2>/dev/null; then
        sizes=$(icotool -l "$work/icon.ico" | sed -n 's/.*--width=\([0-9]*\) --height=\1 .*/\1/p' |
            sort -n | tr '\n' ' ')
        [ "$sizes" == "16 20 24 32 40 48 64 256 " ] || fail "MorvaneX.exe's icon sizes: $sizes"
        [ "$(png_at_width_0 "$work/icon.ico")" == 89504e47 ] || fail "MorvaneX.exe's 256-pixel icon is no PNG"
    else
        fail "MorvaneX.exe has no icon group"
    fi
fi

list="$dir/MorvaneList.txt"
if [ -f "$list" ]; then
    [ "$(head -c 3 "$list" | od -An -tx1 | tr -d ' ')" != efbbbf ] || fail "sample list has a UTF-8 mark"
    iconv -f CP932 -t UTF-8 "$list" >/dev/null 2>&1 || fail "sample list is not CP932"
    ! iconv -f UTF-8 -t UTF-8 "$list" >/dev/null 2>&1 || fail "sample list is UTF-8, not the ANSI code page"
    lines=$(tr -cd '\n' <"$list" | wc -c)
    crlf=$(grep -c $'\r$' "$list")
    [ "$lines" -gt 0 ] && [ "$lines" -eq "$crlf" ] && [ "$(tail -c 2 "$list" | od -An -tx1 | tr -d ' ')" == 0d0a ] ||
        fail "sample list lines do not all end in CR LF"
fi

# Every .lsp and .exe row of the sample works after unpacking: a Morvane\ row
# names a file that lies beside the exe (the launcher keeps only the name);
# any other names a program that every Windows has in its system folders.
system_programs=" calc.exe cmd.exe explorer.exe mspaint.exe notepad.exe write.exe "
if [ -f "$list" ]; then
    file_rows=$(iconv -f CP932 -t UTF-8 "$list" | tr -d '\r' |
        awk -F'\t' '$0 !~ /^[;\/]/ && NF >= 3 && $2 != "" && $3 ~ /\.[Ll][Ss][Pp]$|\.[Ee][Xx][Ee]$/ { print $3 }')
    [ -n "$file_rows" ] || fail "sample list has no file row"
    while IFS= read -r file; do
        file_name=${file##*[\\:]}
        if [[ ${file^^} == *'MORVANE\'* ]]; then
            [ -f "$dir/$file_name" ] || fail "sample row $file: no $file_name beside the exe"
        elif [[ $file == "$file_name" || ${file^^} =~ ^C:\\WINDOWS\\(SYSTEM32\\)?[^\\]+$ ]]; then
            [[ $system_programs == *" ${file_name,,} "* ]] || fail "sample row $file: not a program every Windows has"
        else
            fail "sample row $file: a path only some PCs have"
        fi
    done <<<"$file_rows"
fi

readme="$dir/README-ja.txt"
if [ -f "$readme" ]; then
    iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null 2>&1 || fail "README-ja.txt is not UTF-8"
    head -1 "$readme" | grep -qF "MorvaneX $version " || fail "README-ja.txt's title does not name $version"
    ! grep -q '@[A-Za-z_]*@' "$readme" || fail "README-ja.txt has an unfilled @placeholder@"
    for topic in MorvaneX.exe morvanex-index.exe MorvaneList.txt .lsp "ターゲット CAD"; do
        grep -qF "$topic" "$readme" || fail "README-ja.txt does not mention $topic"
    done
    # The guide's sections, in the order a new user reads them.
    sections=(はじめに インストール 初めて起動する "MorvaneList.txt の書き方" 毎日の使い方 ピン留め
        ホットキー キー操作 "LISP のドロップ" "ターゲット CAD" "CAD を選ぶ" 共有フォルダーで使う
        "コマンドライン ツール" 困ったとき 制限)
    found=$(grep -o '^■ .*' "$readme" | tr -d '\r' | sed 's/^■ //')
    [ "$found" == "$(printf '%s\n' "${sections[@]}")" ] ||
        fail "README-ja.txt's sections: $(echo $found)"
fi

[ $failures -eq 0 ] && echo "release package $name: OK"
[ $failures -eq 0 ]
