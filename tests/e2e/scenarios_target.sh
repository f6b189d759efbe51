# The target dialog: adding a target, changing it with Enter, switching to it;
# the next double-click reaches a second stand-in CAD, also after a restart.
# Sourced by run_e2e.sh.

TARGET_DIALOG="ターゲット CAD"

retype_edit() { # rect text
    replace_text "$1" "$2" child_text_at "$TARGET_DIALOG" "$1"
}

needs_target() {
    needs_cad_link
}

scenario_target() {
    local dir first second edits edit1 edit2 dialog
    dir=$(new_scenario_folder target)
    first="$dir/first.log"
    second="$dir/second.log"
    write_drawing_list "$dir"
    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF'
テスト CAD	MorvaneX.E2E.First
EOF
    write_settings_below_cad "$dir" MorvaneX.E2E.First
    start_standin "$dir" MorvaneX.E2E.First "$first" || return 1
    start_standin "$dir" MorvaneX.E2E.Second "$second" || return 1
    start_launcher "$dir" || return 1
    check_soon "caption before" 'main_value caption' "MorvaneX [ テスト CAD ]"

    choose_menu_item 1
    wait_for_window "$TARGET_DIALOG" 5000 || fail_now "the target dialog did not open" || return 1
    check_soon "list on opening" 'list_items "$TARGET_DIALOG"' $'テスト CAD\\tMorvaneX.E2E.First\tselected'
    check_soon "dialog topmost" 'window_value "$TARGET_DIALOG" topmost' 1
    check_soon "main window not topmost meanwhile" 'main_value topmost' 0
    edits=$(child_rects_by_class "$TARGET_DIALOG" Edit)
    edit1=$(sed -n 1p <<<"$edits")
    edit2=$(sed -n 2p <<<"$edits")
    [ -n "$edit2" ] || fail_now "the dialog's two edits not found" || return 1

    # 追加 a line from the edits, then rename it with Enter (変更).
    retype_edit "$edit1" "第二 CAD"
    retype_edit "$edit2" "MorvaneX.E2E.Second"
    click_at $(rect_centre "$(child_rect_by_text "$TARGET_DIALOG" 追加)")
    retype_edit "$edit1" "第二 CAD 改"
    keys Return
    check_soon "list after 追加 and Enter" 'list_items "$TARGET_DIALOG" | LC_ALL=C sort' \
        $'テスト CAD\\tMorvaneX.E2E.First\t-\n第二 CAD 改\\tMorvaneX.E2E.Second\tselected'
    check_soon "list file" 'read_cp932 "$dir/TargetCAD_APIVersion.txt" | LC_ALL=C sort' \
        $'テスト CAD\tMorvaneX.E2E.First\n第二 CAD 改\tMorvaneX.E2E.Second'
    check_true "list file ends lines in CR LF" \
        test "$(grep -c $'\r$' "$dir/TargetCAD_APIVersion.txt")" -eq 2
    screenshot target-dialog
    dialog=$(probe window "$TARGET_DIALOG" | sed -n 's/^rect=//p')
    window_shot "$dialog" "$E2E_DOC_SHOTS/target-dialog.png"

    click_at $(rect_centre "$(child_rect_by_text "$TARGET_DIALOG" OK)")
    wait_window_gone "$TARGET_DIALOG" 5000 || fail_now "OK did not close the dialog" || return 1
    check_soon "caption after OK" 'main_value caption' "MorvaneX [第二 CAD 改]"
    check_soon "main window topmost again" 'main_value topmost' 1

    double_click_node "[LINE] 線分を作図" || return 1
    wait_commands "$second" 1 ||
        fail_now "the command did not reach the new target"
    check_eq "new target received" "$(standin_commands "$second")" "LINE<0D>"
    check_eq "old target received nothing" "$(standin_commands "$first")" ""

    # The choice is stored at close and comes back with the next start.
    click_at $(rect_centre "$(main_value searchLabel.rect)")
    keys alt+F4
    e2e_wait_exit "$E2E_LAUNCHER_PID" "$E2E_WAIT_SECONDS" || fail_now "Alt+F4 did not end the launcher" || return 1
    check_soon "stored target" 'ini_value "$dir/MorvaneX.ini" ProgID' "MorvaneX.E2E.Second"
    start_launcher "$dir" || return 1
    check_soon "caption after restart" 'main_value caption' "MorvaneX [ 第二 CAD 改 ]"
    double_click_node "[CIRCLE] 円を作図" || return 1
    wait_commands "$second" 2 ||
        fail_now "after the restart the command did not reach the stored target"
    check_eq "stored target received" "$(standin_commands "$second" | tail -1)" "CIRCLE<0D>"
    check_eq "old target still received nothing" "$(standin_commands "$first")" ""
}

# The focused control of the target dialog: "class text".
dialog_focus() {
    echo "$(window_value "$TARGET_DIALOG" focus.class) $(window_value "$TARGET_DIALOG" focus.text)"
}

list_file() { # dir
    read_cp932 "$1/TargetCAD_APIVersion.txt" | LC_ALL=C sort
}

# The target dialog with real keys only: the menu from the keyboard, Tab and
# Shift+Tab to 追加, 変更, 削除 and 取り消し in the order of the layout, Space
# on each; the list file changes at every press, the caption stays.
needs_target_keyboard() { :; }
scenario_target_keyboard() {
    local dir
    dir=$(new_scenario_folder target_keyboard)
    write_drawing_list "$dir"
    write_cp932 "$dir/TargetCAD_APIVersion.txt" <<'EOF2'
テスト CAD	MorvaneX.E2E.First
EOF2
    write_settings "$dir" 600 60 360 440 MorvaneX.E2E.First
    start_launcher "$dir" || return 1
    check_soon "launcher in front" 'main_value foreground' 1
    check_soon "focus at start" 'main_value focus' commandTree

    keys shift+F10
    wait_until 5 menu_top_left || fail_now "Shift+F10 opened no menu" || return 1
    keys Down Return
    wait_for_window "$TARGET_DIALOG" 5000 || fail_now "the target dialog did not open" || return 1
    check_soon "focus in the list" 'dialog_focus' "ListBox "
    check_soon "the target's line selected" 'list_items "$TARGET_DIALOG"' \
        $'テスト CAD\\tMorvaneX.E2E.First\tselected'

    # 追加: Tab into each edit selects its text, typing replaces it.
    keys Tab
    check_soon "Tab: the name" 'dialog_focus' "Edit テスト CAD"
    type_text "Second"
    keys Tab
    check_soon "Tab: the ProgID" 'dialog_focus' "Edit MorvaneX.E2E.First"
    type_text "Second.App"
    keys Tab
    check_soon "Tab: 追加" 'dialog_focus' "Button 追加"
    keys space
    check_soon "Space on 追加: the file" 'list_file "$dir"' \
        $'Second\tSecond.App\nテスト CAD\tMorvaneX.E2E.First'
    check_soon "Space keeps the focus" 'dialog_focus' "Button 追加"
    screenshot target-keyboard-add

    # 変更 of the line just added.
    keys shift+Tab shift+Tab
    check_soon "Shift+Tab: the name" 'dialog_focus' "Edit Second"
    type_text "Third"
    keys Tab Tab Tab Tab
    check_soon "Tab: 変更" 'dialog_focus' "Button 変更"
    keys space
    check_soon "Space on 変更: the file" 'list_file "$dir"' \
        $'Third\tSecond.App\nテスト CAD\tMorvaneX.E2E.First'

    # 削除 of it.
    keys shift+Tab
    check_soon "Shift+Tab: 削除" 'dialog_focus' "Button 削除"
    keys space
    check_soon "Space on 削除: the file" 'list_file "$dir"' $'テスト CAD\tMorvaneX.E2E.First'
    # The first of two lines gone: nothing selected.
    check_soon "the list after 削除" 'list_items "$TARGET_DIALOG"' $'テスト CAD\\tMorvaneX.E2E.First\t-'

    # 取り消し closes, the target stays.
    keys Tab Tab Tab
    check_soon "Tab: 取り消し" 'dialog_focus' "Button 取り消し"
    keys space
    wait_window_gone "$TARGET_DIALOG" 5000 || fail_now "Space on 取り消し left the dialog open" ||
        return 1
    check_soon "caption after 取り消し" 'main_value caption' "MorvaneX [ テスト CAD ]"
    check_eq "list file after 取り消し" "$(list_file "$dir")" $'テスト CAD\tMorvaneX.E2E.First'
}
