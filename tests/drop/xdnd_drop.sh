#!/usr/bin/env bash
# A LISP file dropped on MorvaneX.exe from outside Wine, the way an X file
# manager drops it (XDND), then the question answered with the Enter key: the
# new list must be written and the old one kept under its time-stamped name.
#
#   xdnd_drop.sh BUILD_DIR SOURCE_DIR
#
# Runs on an Xvfb display of its own, with no window manager.
set -uo pipefail

build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
work=$(mktemp -d /tmp/morvane-xdnd-XXXXXX)
export MORVANE_WINEPREFIX=$build/xdnd-wineprefix
launcher_pid=""

finish() {
    [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null
    WINEPREFIX=$MORVANE_WINEPREFIX wineserver -k 2>/dev/null
    stop_xvfb
    rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAIL xdnd drop: $*"; exit 1; }

backup_name() { ls "$work/program" | grep -E '^MorvaneList[0-9]{14}\.txt$'; }
window_named() { xwininfo -root -tree | awk -v name="\"$1\":" '$2 == name { print $1; exit }' | grep .; }

for tool in cc xwininfo xdotool Xvfb wine; do
    command -v $tool >/dev/null || fail "$tool is not installed"
done
cc -O1 -o "$work/xdnd_send" "$here/xdnd_send.c" -lX11 || fail "the XDND sender does not build"

source "$source_dir/scripts/lib.sh"
start_xvfb || fail "Xvfb did not start"

mkdir -p "$work/program"
cp "$build/app/MorvaneX.exe" "$work/program/"
printf 'Old\r\nA\tfirst\r\n' >"$work/program/MorvaneList.txt"
printf ';; Box : draw a box\r\n(defun c:Box ( / p) 1)\r\n' >"$work/tools.lsp"

"$source_dir/cmake/wine-run.sh" "$work/program/MorvaneX.exe" </dev/null >/dev/null 2>&1 &
launcher_pid=$!
wait_until 60 window_named Morvane || fail "the window did not open"
window=$(window_named Morvane)
read -r x y < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x + 140, y + 120 }')

"$work/xdnd_send" "$window" "$x" "$y" "file://$work/tools.lsp" || fail "the window did not take the drop"
wait_until 10 window_named 情報 || fail "no question after the drop"
box=$(window_named 情報)
xdotool windowfocus --sync "$box" key Return
wait_until 10 backup_name || fail "no backup of the old list"
backup=$(backup_name)
wine_path="Z:$(echo "$work/tools.lsp" | tr / '\\')"
expected=$(printf 'tools\r\nBOX\tBox : draw a box\r\nLOAD\t\x83\x8D\x81\x5B\x83\x68 tools.lsp\t%s\r\n' "$wine_path" | od -An -tx1)
new_list_written() { [ "$(od -An -tx1 "$work/program/MorvaneList.txt")" = "$expected" ]; }
wait_until 10 new_list_written || fail "the new list differs"
[ "$(cat "$work/program/$backup")" = "$(printf 'Old\r\nA\tfirst\r\n')" ] || fail "the backup differs"
echo "PASS xdnd drop: question shown, list replaced, old list kept as $backup"
