# Scenarios of the launcher window on its own: start-up, search and the view
# buttons, the popup menu, and close and restart. Sourced by run_e2e.sh.

# The command list most scenarios start with.
write_drawing_list() { # folder
    write_cp932 "$1/MorvaneList.txt" <<'EOF'
; MorvaneX e2e の一覧
作図
LINE	線分を作図
CIRCLE	円を作図
RECTANG	長方形を作図
修正
MOVE	図形を移動
COPY	図形を複写
EOF
}

DRAWING_ROW_VIEW='作図
[LINE] 線分を作図
[CIRCLE] 円を作図
[RECTANG] 長方形を作図
修正
[MOVE] 図形を移動
[COPY] 図形を複写'

DRAWING_COMMAND_VIEW='[CIRCLE] 円を作図
[COPY] 図形を複写
[LINE] 線分を作図
[MOVE] 図形を移動
[RECTANG] 長方形を作図'

needs_startup() { :; }
scenario_startup() {
    local dir
    dir=$(new_scenario_folder startup)
    write_drawing_list "$dir"
    # A versioned ProgID in the list matches the stored one by containment.
    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF'
別の CAD	Other.Application
テスト CAD	MorvaneX.E2E.First.1
EOF
    write_settings "$dir" 600 60 360 440 MorvaneX.E2E.First
    start_launcher "$dir" || return 1

    check_soon "caption" 'main_value caption' "MorvaneX [ テスト CAD ]"
    check_soon "window rect from the settings" 'main_value rect' "600,60,960,500"
    check_soon "topmost" 'main_value topmost' 1
    check_soon "search box" 'main_value searchBox.text' ""
    check_soon "buttons" 'echo "$(main_value fileOrderButton.text) $(main_value commandOrderButton.text) $(main_value escapeButton.text)"' \
        "取得順 ABC順 ESC"
    check_soon "row view" 'tree_labels' "$DRAWING_ROW_VIEW"
    check_soon "first node selected" 'selected_label' "作図"
    screenshot startup
    window_shot "$(main_value rect)" "$E2E_DOC_SHOTS/main-window.png"
    e2e_stop_started

    # A left edge of 0 is re-centred; a bottom edge exactly on the screen's
    # edge stays. Without a target list the designed caption stays.
    rm "$dir/TargetCAD_APIVersion.txt"
    write_settings "$dir" 0 328 360 440 MorvaneX.E2E.First
    start_launcher "$dir" || return 1
    check_soon "re-centred rect" 'main_value rect' "332,328,692,768"
    check_soon "caption without a target list" 'main_value caption' "Morvane"
    screenshot startup-recentred
}

needs_search() { :; }
scenario_search() {
    local dir
    dir=$(new_scenario_folder search)
    write_drawing_list "$dir"
    write_settings "$dir" 600 60 360 440 MorvaneX.E2E.First
    start_launcher "$dir" || return 1

    replace_text "$(main_value searchBox.rect)" "作図" main_value searchBox.text
    check_soon "search text" 'main_value searchBox.text' "作図"
    check_soon "search 作図" 'tree_labels' '[CIRCLE] 円を作図
[LINE] 線分を作図
[RECTANG] 長方形を作図'
    check_soon "first match selected" 'selected_label' "[CIRCLE] 円を作図"
    keys BackSpace BackSpace
    check_soon "emptied by hand: command order" 'tree_labels' "$DRAWING_COMMAND_VIEW"
    type_text "[m"
    check_soon "search folds a-z" 'tree_labels' "[MOVE] 図形を移動"
    screenshot search
    type_text "zz"
    check_soon "no match" 'tree_labels' ""

    click_at $(control_centre commandOrderButton)
    check_soon "ABC順 empties the search" 'main_value searchBox.text' ""
    check_soon "ABC順" 'tree_labels' "$DRAWING_COMMAND_VIEW"
    click_at $(control_centre fileOrderButton)
    check_soon "取得順" 'tree_labels' "$DRAWING_ROW_VIEW"
    check_soon "取得順 selects the first group" 'selected_label' "作図"
}

# The administrator saves the list and the target list while the launcher
# runs: the change shows by itself in the search results on show, with the
# search text and the selection kept; a file caught half written changes
# nothing and shows no box.
needs_live_list() { :; }
scenario_live_list() {
    local dir
    dir=$(new_scenario_folder live_list)
    write_drawing_list "$dir"
    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF2'
旧 CAD	MorvaneX.E2E.Live
EOF2
    write_settings "$dir" 600 60 360 440 MorvaneX.E2E.Live
    start_launcher "$dir" || return 1
    check_soon "caption at start" 'main_value caption' "MorvaneX [ 旧 CAD ]"

    replace_text "$(main_value searchBox.rect)" "作図" main_value searchBox.text
    check_soon "search 作図" 'tree_labels' '[CIRCLE] 円を作図
[LINE] 線分を作図
[RECTANG] 長方形を作図'
    keys Down Down
    check_soon "LINE selected" 'selected_label' "[LINE] 線分を作図"

    # Saved as an editor that writes a copy and puts it in place does; every
    # line moves down by two.
    write_cp932 "$dir/MorvaneList.new" <<'EOF2'
; MorvaneX e2e の一覧
; 管理者が ARC を追加
作図
ARC	円弧を作図
LINE	線分を作図
CIRCLE	円を作図
RECTANG	長方形を作図
修正
MOVE	図形を移動
COPY	図形を複写
EOF2
    mv -f "$dir/MorvaneList.new" "$dir/MorvaneList.txt"
    check_soon "the saved list in the search results" 'tree_labels' '[ARC] 円弧を作図
[CIRCLE] 円を作図
[LINE] 線分を作図
[RECTANG] 長方形を作図'
    check_eq "search text kept" "$(main_value searchBox.text)" "作図"
    check_eq "selection kept" "$(selected_label)" "[LINE] 線分を作図"
    screenshot live-list

    # Caught while written: nothing changes, nothing is said.
    : >"$dir/MorvaneList.txt"
    sleep 1.5
    check_eq "an empty file leaves the tree" "$(tree_labels | head -1)" "[ARC] 円弧を作図"
    wait_for_window MorvaneX 500 && fail_now "a box for a half-written list: $(probe children MorvaneX | tr '\t' ' ')"

    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF2'
新 CAD	MorvaneX.E2E.Live
EOF2
    check_soon "caption follows the target list" 'main_value caption' "MorvaneX [ 新 CAD ]"
}

needs_scroll() { :; }
scenario_scroll() {
    local dir bar left top right bottom before
    dir=$(new_scenario_folder scroll)
    {
        for group in 1 2; do
            echo "グループ$group"
            for i in $(seq 10 29); do echo "CMD$group$i	コマンド $i"; done
        done
    } | write_cp932 "$dir/MorvaneList.txt"
    write_settings "$dir" 600 60 300 240 MorvaneX.E2E.First
    start_launcher "$dir" || return 1

    # The tree's dark bar takes the real mouse: its down arrow, its track
    # below the thumb, the wheel over it.
    bar=$(child_rect "Morvane" MorvaneDarkScrollBar "")
    check_soon "the dark bar is shown" '[ -n "$bar" ] && echo shown' "shown"
    [ -n "$bar" ] || return 1
    read -r left top right bottom < <(echo "$bar" | tr , ' ')
    first_row_y() { node_point "グループ1" | awk '{ print $2 }'; }
    before=$(first_row_y)
    click_at $(((left + right) / 2)) $((bottom - 4))
    check_soon "down arrow: one row" 'echo $(( before - $(first_row_y) > 0 ))' 1
    before=$(first_row_y)
    click_at $(((left + right) / 2)) $((bottom - (right - left) - 3))
    check_soon "track: a page" 'echo $(( before - $(first_row_y) > 3 * (right - left) / 2 ))' 1
    before=$(first_row_y)
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 5
    check_soon "wheel over the bar" 'echo $(( before - $(first_row_y) > 0 ))' 1
    screenshot scroll
}

needs_menu() { :; }
scenario_menu() {
    local dir box
    dir=$(new_scenario_folder menu)
    write_drawing_list "$dir"
    write_settings "$dir" 600 60 360 440 MorvaneX.E2E.First
    start_launcher "$dir" || return 1

    # Reload after editing: the search text goes, the new list shows in file order.
    click_at $(control_centre searchBox)
    type_text "line"
    write_cp932 "$dir/MorvaneList.txt" <<'EOF'
寸法
DIMLINEAR	長さ寸法
DIMRADIUS	半径寸法
EOF
    choose_menu_item 3
    check_soon "search box after reload" 'main_value searchBox.text' ""
    check_soon "reloaded list" 'tree_labels' '寸法
[DIMLINEAR] 長さ寸法
[DIMRADIUS] 半径寸法'
    screenshot menu-reloaded

    # With the list file gone: the edit item reports it, a reload keeps the list.
    rm "$dir/MorvaneList.txt"
    choose_menu_item 2
    wait_for_window 情報 5000 || fail_now "no information box for the missing list" || return 1
    box=$(probe children 情報 | awk -F'\t' '$1 == "child" && $3 == "Static" && $4 != "" { print $4 }')
    check_eq "missing list box" "$box" "$(winepath -w "$dir/MorvaneList.txt" | sed 's/\\/\\\\/g')\\nファイルが見つかりません．"
    keys Return
    wait_window_gone 情報 5000 || fail_now "the box did not close on Return"
    choose_menu_item 3
    check_soon "reload without a file keeps the list" 'tree_labels' '寸法
[DIMLINEAR] 長さ寸法
[DIMRADIUS] 半径寸法'

    choose_menu_item 4
    wait_for_window 情報 5000 || fail_now "no version box" || return 1
    box=$(probe children 情報 | awk -F'\t' '$1 == "child" && $3 == "Static" && $4 != "" { print $4 }')
    check_eq "version box, first line" "${box%%\\n*}" "MorvaneX.exe $E2E_VERSION"
    check_true "version box, second line" test -n "${box#*\\n}" -a "${box#*\\n}" != "$box"
    screenshot menu-version
    window_shot "$(probe window 情報 | sed -n 's/^rect=//p')" "$E2E_DOC_SHOTS/message-box.png"
    click_at $(rect_centre "$(child_rect 情報 Button OK)")
    wait_window_gone 情報 5000 || fail_now "the version box did not close on OK"
}

needs_restart() { :; }
scenario_restart() {
    local dir l t r b user_ini
    dir=$(new_scenario_folder restart)
    user_ini=$(user_settings_file) || fail_now "no %LOCALAPPDATA% in the Wine prefix" || return 1
    rm -rf "$(dirname "$user_ini")"
    write_drawing_list "$dir"
    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF'
保持 CAD	MorvaneX.E2E.Kept
EOF
    write_settings "$dir" 300 100 330 300 MorvaneX.E2E.Kept
    start_launcher "$dir" || return 1
    check_soon "start rect" 'main_value rect' "300,100,630,400"

    # Move by the title bar, then size by the bottom-right corner.
    IFS=, read -r l t r b <<<"$(main_value rect)"
    xdotool mousemove $((l + 100)) $((t + 10)) mousedown 1 sleep 0.2 mousemove $((l + 110)) $((t + 20)) \
        sleep 0.1 mousemove $((l + 140)) $((t + 40)) sleep 0.1 mousemove $((l + 160)) $((t + 50)) \
        sleep 0.2 mouseup 1
    wait_until 5 rect_moved_from "$l,$t,$r,$b"
    IFS=, read -r l t r b <<<"$(main_value rect)"
    xdotool mousemove $((r - 2)) $((b - 2)) mousedown 1 sleep 0.2 mousemove $((r + 8)) $((b + 8)) \
        sleep 0.1 mousemove $((r + 30)) $((b + 20)) sleep 0.1 mousemove $((r + 38)) $((b + 28)) \
        sleep 0.2 mouseup 1
    check_soon "moved and sized" 'main_value rect' "360,140,730,470"
    screenshot restart-before-close

    keys alt+F4
    e2e_wait_exit "$E2E_LAUNCHER_PID" "$E2E_WAIT_SECONDS" || fail_now "Alt+F4 did not end the launcher" || return 1
    check_eq "settings written" "$(tr -d '\r' <"$dir/MorvaneX.ini" | grep -E '^(Width|Height|Left|Top|ProgID)=')" \
        'Width=370
Height=330
Left=360
Top=140
ProgID=MorvaneX.E2E.Kept'

    start_launcher "$dir" || return 1
    check_soon "rect after restart" 'main_value rect' "360,140,730,470"
    check_soon "caption after restart" 'main_value caption' "MorvaneX [ 保持 CAD ]"
    screenshot restart-after
    # A folder the operator can write keeps everything beside the exe.
    [ -e "$user_ini" ] && fail_now "an operator's settings file was made: $user_ini"
    return 0
}

# Log-off: Windows asks (WM_QUERYENDSESSION), announces the end
# (WM_ENDSESSION) and may then end the process without closing the window.
# The place and the target chosen in the dialog are in the settings by then.
# Then the Restart Manager of an installer closes the launcher started again
# (ENDSESSION_CLOSEAPP): it writes the same settings and ends by itself.
needs_logoff() { :; }
scenario_logoff() {
    local dir l t r b item answer written
    dir=$(new_scenario_folder logoff)
    write_drawing_list "$dir"
    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF2'
テスト CAD	MorvaneX.E2E.First
第二 CAD	MorvaneX.E2E.Second
EOF2
    write_settings "$dir" 300 100 330 300 MorvaneX.E2E.First
    start_launcher "$dir" || return 1

    choose_menu_item 1
    wait_for_window "$TARGET_DIALOG" 5000 || fail_now "the target dialog did not open" || return 1
    item=$(probe children "$TARGET_DIALOG" |
        awk -F'\t' -v t='第二 CAD\\tMorvaneX.E2E.Second' '$1 == "item" && $3 == t { print $5; exit }')
    [ -n "$item" ] || fail_now "no list line for the second target" || return 1
    click_at $(rect_centre "$item")
    click_at $(rect_centre "$(child_rect_by_text "$TARGET_DIALOG" OK)")
    wait_window_gone "$TARGET_DIALOG" 5000 || fail_now "OK did not close the dialog" || return 1
    check_soon "caption after OK" 'main_value caption' "MorvaneX [第二 CAD]"

    IFS=, read -r l t r b <<<"$(main_value rect)"
    xdotool mousemove $((l + 100)) $((t + 10)) mousedown 1 sleep 0.2 mousemove $((l + 110)) $((t + 20)) \
        sleep 0.1 mousemove $((l + 140)) $((t + 40)) sleep 0.2 mouseup 1
    wait_until 5 rect_moved_from "$l,$t,$r,$b" || fail_now "the window did not move" || return 1
    IFS=, read -r l t r b <<<"$(main_value rect)"
    screenshot logoff-before

    # Whatever the file held, only what the log-off writes counts.
    rm "$dir/MorvaneX.ini"
    answer=$(probe endsession MorvaneX.Main)
    kill -9 "$E2E_LAUNCHER_PID" 2>/dev/null
    wait "$E2E_LAUNCHER_PID" 2>/dev/null # no "Killed" from the shell
    check_eq "answers to the log-off" "$answer" $'queryendsession=1\nwindow=1'
    [ -f "$dir/MorvaneX.ini" ] || fail_now "no settings written at log-off" || return 1
    check_eq "settings written at log-off" \
        "$(tr -d '\r' <"$dir/MorvaneX.ini" | grep -E '^(Width|Height|Left|Top|ProgID)=')" \
        "Width=$((r - l))
Height=$((b - t))
Left=$l
Top=$t
ProgID=MorvaneX.E2E.Second"

    written=$(tr -d '\r' <"$dir/MorvaneX.ini" | grep -E '^(Width|Height|Left|Top|ProgID)=')
    start_launcher "$dir" || return 1
    rm "$dir/MorvaneX.ini"
    answer=$(probe endsession MorvaneX.Main closeapp)
    check_eq "answers to the Restart Manager" "$answer" $'queryendsession=1\nwindow=0'
    e2e_wait_exit "$E2E_LAUNCHER_PID" "$E2E_WAIT_SECONDS" ||
        fail_now "the launcher did not end after ENDSESSION_CLOSEAPP" || return 1
    [ -f "$dir/MorvaneX.ini" ] || fail_now "no settings written for the Restart Manager" || return 1
    check_eq "settings written for the Restart Manager" \
        "$(tr -d '\r' <"$dir/MorvaneX.ini" | grep -E '^(Width|Height|Left|Top|ProgID)=')" "$written"
}

# An office's shared folder that operators cannot write (here made immutable,
# as the suite runs as root): each operator's place goes to their own
# settings file in %LOCALAPPDATA%, the administrator's file beside the exe
# gives the start values, and the folder is left exactly as it was.
needs_readonly_folder() {
    local probe="$E2E_ROOT/run/.chattr-probe"
    mkdir -p "$probe"
    if ! chattr +i "$probe" 2>/dev/null; then
        rmdir "$probe"
        echo "chattr +i, which the $(df --output=fstype "$E2E_ROOT" | tail -1) file system under $E2E_ROOT does not support"
        return 1
    fi
    chattr -i "$probe"
    rmdir "$probe"
}
scenario_readonly_folder() {
    local dir user_ini before l t r b
    # A folder a killed run left immutable would refuse to be made anew.
    [ -d "$E2E_ROOT/run/readonly_folder" ] && chattr -i "$E2E_ROOT/run/readonly_folder" 2>/dev/null
    dir=$(new_scenario_folder readonly_folder)
    write_drawing_list "$dir"
    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF2'
部門 CAD	MorvaneX.E2E.Department
EOF2
    write_settings "$dir" 300 100 330 300 MorvaneX.E2E.Department
    user_ini=$(user_settings_file) || fail_now "no %LOCALAPPDATA% in the Wine prefix" || return 1
    case "$user_ini" in
    "$WINEPREFIX"/*) ;;
    *) fail_now "%LOCALAPPDATA% is not in the Wine prefix: $user_ini" || return 1 ;;
    esac
    rm -rf "$(dirname "$user_ini")"

    before=$(folder_state "$dir")
    chattr +i "$dir" || fail_now "chattr +i $dir failed" || return 1
    # Undone however the scenario ends (the trap runs after this function's
    # locals are gone, so the path is written into it now).
    trap "chattr -i '$dir' 2>/dev/null; e2e_stop_started" EXIT
    if touch "$dir/probe" 2>/dev/null; then
        fail_now "the folder can still be written"
        return 1
    fi

    start_launcher "$dir" || return 1
    check_soon "start rect from the administrator's file" 'main_value rect' "300,100,630,400"
    check_soon "caption from the administrator's ProgID" 'main_value caption' "MorvaneX [ 部門 CAD ]"
    IFS=, read -r l t r b <<<"$(main_value rect)"
    xdotool mousemove $((l + 100)) $((t + 10)) mousedown 1 sleep 0.2 mousemove $((l + 110)) $((t + 20)) \
        sleep 0.1 mousemove $((l + 140)) $((t + 40)) sleep 0.1 mousemove $((l + 160)) $((t + 50)) \
        sleep 0.2 mouseup 1
    check_soon "moved" 'main_value rect' "360,140,690,440"
    screenshot readonly-folder-moved

    keys alt+F4
    # The error box's caption is the bare application title.
    wait_for_window MorvaneX 2000 && fail_now "a box at close: $(probe children MorvaneX | tr '\t' ' ')"
    e2e_wait_exit "$E2E_LAUNCHER_PID" "$E2E_WAIT_SECONDS" || fail_now "Alt+F4 did not end the launcher" || return 1
    [ -f "$user_ini" ] || fail_now "no settings file of the operator's own at $user_ini" || return 1
    check_eq "the operator's settings" "$(tr -d '\r' <"$user_ini" | grep -E '^(Width|Height|Left|Top|ProgID)=')" \
        'Width=330
Height=300
Left=360
Top=140
ProgID=MorvaneX.E2E.Department'
    check_eq "the folder beside the exe" "$(folder_state "$dir")" "$before"

    start_launcher "$dir" || return 1
    check_soon "rect after restart" 'main_value rect' "360,140,690,440"
    screenshot readonly-folder-after
    e2e_stop_started
    check_eq "the folder beside the exe after the second run" "$(folder_state "$dir")" "$before"

    chattr -i "$dir"
    trap e2e_stop_started EXIT
    rm -rf "$(dirname "$user_ini")"
}
