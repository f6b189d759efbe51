# Helpers of the end-to-end suite: the Wine desktop, starting and stopping the
# programs, real X input, reading the launcher through morvane-probe, checks.
# Sourced by run_e2e.sh and the scenario files, not run.

# Every scenario's processes share one Wine virtual desktop of the size of
# cmake/wine-env.sh, drawn at the top-left of the X root window, so Wine screen
# coordinates are X root coordinates for xdotool.
E2E_WAIT_SECONDS=${E2E_WAIT_SECONDS:-20}

e2e_wine_env() {
    morvane_wine_env "$E2E_ROOT/wineprefix"
}

# Creates the prefix once (kept between runs) and makes the virtual desktop
# its default; starts a persistent wineserver so each program starts quickly.
e2e_prepare_prefix() {
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/.e2e-desktop" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 || true
        morvane_wine_desktop on
        touch "$WINEPREFIX/.e2e-desktop"
        # The desktop of this session was made before the keys: start anew.
        wineserver -k </dev/null >/dev/null 2>&1 || true
        wineserver -w </dev/null >/dev/null 2>&1 || true
    fi
    morvane_wine_fonts
    wineserver -p </dev/null >/dev/null 2>&1 || true
}

e2e_stop_prefix() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
}

# ---- processes ------------------------------------------------------------

E2E_PIDS=()

# Starts a Windows program in FOLDER without holding the caller's pipes.
e2e_start() { # folder exe args...
    local folder=$1
    shift
    (cd "$folder" && exec wine "$@" </dev/null >/dev/null 2>&1) &
    E2E_PIDS+=($!)
}

# Ends what this scenario started, by process id, newest first.
e2e_stop_started() {
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[i]}" 2>/dev/null || true
    done
    for pid in "${E2E_PIDS[@]}"; do
        wait_until 5 process_gone "$pid" || true
        kill -9 "$pid" 2>/dev/null || true
    done
    E2E_PIDS=()
}

# Waits until the process has ended by itself.
e2e_wait_exit() { # pid seconds
    wait_until "$2" process_gone "$1"
}

process_gone() { ! kill -0 "$1"; }

# morvane-probe's answer. When Wine itself fails to start it (Wine says so in
# a "wine: " line and ends with 1), that is said and it is asked again, twice
# at most: the question was never put.
probe() {
    local attempt out status errors="$E2E_ROOT/probe.err"
    for attempt in 1 2 3; do
        out=$(wine "$E2E_PROBE" "$@" </dev/null 2>"$errors")
        status=$?
        out=${out//$'\r'/}
        [ $status -ne 0 ] && grep -q '^wine: ' "$errors" || break
        # Said on stderr: callers read the answer from stdout.
        note "morvane-probe $1 failed to start: $(grep -m1 '^wine: ' "$errors")" >&2
        sleep 0.2
    done
    [ -n "$out" ] && printf '%s\n' "$out"
    return $status
}

# The launcher from FOLDER, started and shown with its tree drawn.
start_launcher() { # folder
    e2e_start "$1" MorvaneX.exe
    E2E_LAUNCHER_PID=${E2E_PIDS[-1]}
    wait_for_window MorvaneX.Main $((E2E_WAIT_SECONDS * 1000)) ||
        { note "the launcher window did not appear"; return 1; }
}

# Waits until a visible top-level window of that class or caption is there
# (wait) or is not (gone). The probe ends with 3 when the time is up; any
# other failure is not the window's (seen on a busy machine as a probe that
# ended at once), so it is said and the wait goes on.
probe_wait() { # wait|gone class-or-caption milliseconds
    local deadline=$((SECONDS + ($3 + 999) / 1000)) status
    while :; do
        probe "$1" "$2" $(((deadline - SECONDS) * 1000)) >/dev/null
        status=$?
        [ $status -eq 0 ] && return 0
        [ $status -eq 3 ] && return 1
        note "morvane-probe $1 ended with $status: $(tr -d '\r' <"$E2E_ROOT/probe.err" | head -c 400)"
        [ $SECONDS -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

wait_for_window() { probe_wait wait "$@"; }
wait_window_gone() { probe_wait gone "$@"; }

# The stand-in CAD under PROGID, logging to LOG; waits for its "ready" line.
start_standin() { # folder progid log [options...]
    local folder=$1 progid=$2 log=$3
    shift 3
    # Started by a bare name in its folder, Wine runs the program itself as
    # this process (a path would go through start.exe, which a kill misses).
    cp "$E2E_STANDIN" "$folder/StandinCad.exe"
    e2e_start "$folder" StandinCad.exe --progid "$progid" --log "$(winepath -w "$log")" "$@"
    wait_until "$E2E_WAIT_SECONDS" grep -q $'\tready\t' "$log" ||
        { note "the stand-in CAD $progid did not get ready"; return 1; }
}

# Command texts the stand-in received, one per line (CR shown as <0D>).
standin_commands() { # log
    [ -f "$1" ] || return 0
    tr -d '\r' <"$1" | awk -F'\t' '$2 == "command" { print $3 }'
}

standin_events() { # log event
    [ -f "$1" ] || return 0
    tr -d '\r' <"$1" | awk -F'\t' -v e="$2" '$2 == e { print $3 }'
}

# ---- files ------------------------------------------------------------------

# UTF-8 text with LF from stdin, written in CP932 with CR LF, as Windows tools do.
write_cp932() { # file
    sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$1"
}

read_cp932() { # file
    iconv -f CP932 -t UTF-8 <"$1" | tr -d '\r'
}

# A fresh folder holding a copy of the launcher.
new_scenario_folder() { # name
    local dir="$E2E_ROOT/run/$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$E2E_LAUNCHER" "$dir/MorvaneX.exe"
    echo "$dir"
}

write_settings() { # folder left top width height progid
    printf '[Form]\r\nWidth=%s\r\nHeight=%s\r\nLeft=%s\r\nTop=%s\r\n[Target]\r\nProgID=%s\r\n' \
        "$4" "$5" "$2" "$3" "$6" >"$1/MorvaneX.ini"
}

# The operator's own settings file of the launcher, in the Wine prefix's
# %LOCALAPPDATA%, as a host path.
user_settings_file() {
    local folder
    folder=$(wine cmd /c 'echo %LOCALAPPDATA%' </dev/null 2>/dev/null | tr -d '\r')
    [ -n "$folder" ] || return 1
    echo "$(winepath -u "$folder" 2>/dev/null)/MorvaneX/MorvaneX.ini"
}

# Names, kinds, sizes, times and contents of everything in a folder, to see
# that it did not change.
folder_state() { # folder
    (cd "$1" && find . -printf '%p %y %s %T@\n' | sort && find . -type f -print0 | sort -z | xargs -0 md5sum)
}

ini_value() { # file key
    tr -d '\r' <"$1" | sed -n "s/^$2=//p" | head -1
}

# ---- reading the launcher ---------------------------------------------------

main_value() { # key
    probe main | sed -n "s/^$1=//p" | head -1
}

# The main window's rect differs from RECT (it has moved or been sized).
rect_moved_from() { # rect
    local now
    now=$(main_value rect)
    [ -n "$now" ] && [ "$now" != "$1" ]
}

# A value of `probe window` for the top-level window with this class or caption.
window_value() { # class-or-caption key
    probe window "$1" | sed -n "s/^$2=//p" | head -1
}

# "label<TAB>x,y" per tree node, in tree order.
tree_labels() { probe tree | awk -F'\t' '{ print $2 }'; }

# The centre of the node with exactly this label, as "x y".
node_point() { # label
    probe tree | awk -F'\t' -v t="$1" '$2 == t { split($7, p, ","); print p[1], p[2]; exit }'
}

selected_label() { probe tree | awk -F'\t' '$5 == "selected" { print $2 }'; }

# "left,top,right,bottom" to the centre "x y".
rect_centre() { echo "$1" | awk -F, '{ printf "%d %d\n", ($1 + $3) / 2, ($2 + $4) / 2 }'; }

control_centre() { # control name of the main window
    rect_centre "$(main_value "$1.rect")"
}

# The rect of the child of top-level window CAPTION with this class and text.
child_rect() { # caption class text
    probe children "$1" | awk -F'\t' -v c="$2" -v t="$3" \
        '$1 == "child" && $3 == c && $4 == t { print $5; exit }'
}

# The rect of the child of top-level window CAPTION with this text, any class.
child_rect_by_text() { # caption text
    probe children "$1" | awk -F'\t' -v t="$2" '$1 == "child" && $4 == t { print $5; exit }'
}

# The child controls of class CLASS in window CAPTION, top to bottom: "rect" lines.
child_rects_by_class() { # caption class
    probe children "$1" | awk -F'\t' -v c="$2" '$1 == "child" && $3 == c { print $5 }' |
        sort -t, -k2,2n
}

# The text of the child at RECT of window CAPTION.
child_text_at() { # caption rect
    probe children "$1" | awk -F'\t' -v r="$2" '$1 == "child" && $5 == r { print $4; exit }'
}

list_items() { # caption
    probe children "$1" | awk -F'\t' '$1 == "item" { print $3 "\t" $4 }'
}

# ---- real input -------------------------------------------------------------

click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
double_click_at() { xdotool mousemove "$1" "$2" click --repeat 2 --delay 100 1; sleep 0.3; }
right_click_at() { xdotool mousemove "$1" "$2" click 3; sleep 0.5; }
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.3; }

# Replaces the text of the edit at RECT by TEXT with real keys; READER...
# prints the edit's text. Wine drops the first key that needs a keyboard
# remapping in a fresh process (xdotool types kanji that way), so a second
# round types again over the selection.
replace_text() { # rect text reader...
    local rect=$1 text=$2
    shift 2
    for _ in 1 2; do
        click_at $(rect_centre "$rect")
        keys End shift+Home
        type_text "$text"
        [ "$("$@")" == "$text" ] && return 0
    done
    return 0
}

double_click_node() { # label
    local point
    point=$(node_point "$1")
    [ -n "$point" ] || { note "no tree node \"$1\""; return 1; }
    double_click_at $point
}

# Right click in the window, then the N-th menu item chosen with Down and Return.
choose_menu_item() { # n
    local point down=()
    point=$(rect_centre "$(main_value commandTree.rect)")
    right_click_at $point
    for _ in $(seq 1 "$1"); do down+=(Down); done
    keys "${down[@]}" Return
}

# ---- checks and evidence ----------------------------------------------------

E2E_FAILURES=0

note() { echo "    $*"; }

check_eq() { # what actual expected
    if [ "$2" == "$3" ]; then
        return 0
    fi
    E2E_FAILURES=$((E2E_FAILURES + 1))
    note "$1: expected"
    printf '%s\n' "$3" | sed 's/^/      | /'
    note "  got"
    printf '%s\n' "$2" | sed 's/^/      | /'
    return 0
}

# As check_eq, for what a window shows: COMMAND (a shell text) is read again
# for up to 3 s until it gives EXPECTED, as the window may still be busy
# with the input just sent.
check_soon() { # what command expected
    local actual deadline=$((SECONDS + 3))
    while actual=$(eval "$2") && [ "$actual" != "$3" ] && [ $SECONDS -lt $deadline ]; do
        sleep 0.2
    done
    check_eq "$1" "$actual" "$3"
}

check_true() { # what command...
    local what=$1
    shift
    "$@" >/dev/null 2>&1 && return 0
    E2E_FAILURES=$((E2E_FAILURES + 1))
    note "$what: not so"
}

fail_now() {
    E2E_FAILURES=$((E2E_FAILURES + 1))
    note "$*"
    return 1
}

screenshot() { # name
    mkdir -p "$E2E_SHOTS"
    import -window root -crop "$MORVANE_WINE_DESKTOP+0+0" +repage "$E2E_SHOTS/$1.png" 2>/dev/null || true
}

# A screenshot of one window's outer rect, for the documentation.
window_shot() { # rect file
    local l t r b
    IFS=, read -r l t r b <<<"$1"
    mkdir -p "$(dirname "$2")"
    import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$2" 2>/dev/null || true
}
