# Scenario of the launcher used from the keyboard alone, beside the stand-in
# CAD: the focus at start, arrows and Enter, Ctrl+F and the search box's
# keys, the menu keys, and the ESC button leaving the focus in the tree.
# Sourced by run_e2e.sh.

focused_control() { main_value focus; }

# The launcher active again after the CAD took the foreground: a click on
# its title bar, which gives no control the focus by itself.
activate_launcher_by_caption() {
    local l t r b
    IFS=, read -r l t r b <<<"$(main_value rect)"
    click_at $((l + 60)) $((t + 10))
}

# "left top" of the visible popup menu, or nothing.
menu_top_left() {
    probe windows | awk -F'\t' '$1 == "#32768" { split($4, r, ","); print r[1], r[2]; exit }'
}

# The menu opened under the selected row: its top-left corner in the
# tree, just below the row's centre and left of it.
menu_under_selected_row() {
    local x y cx cy l t r b
    read -r x y <<<"$(menu_top_left)"
    [ -n "$x" ] || return 1
    read -r cx cy <<<"$(node_point "$(selected_label)")"
    IFS=, read -r l t r b <<<"$(main_value commandTree.rect)"
    [ "$x" -ge "$l" ] && [ "$x" -lt "$cx" ] && [ "$y" -gt "$cy" ] && [ "$y" -le $((cy + 20)) ]
}

needs_keyboard() { needs_cad_link; }
scenario_keyboard() {
    local dir log
    dir=$(new_scenario_folder keyboard)
    log="$dir/cad.log"
    write_drawing_list "$dir"
    write_settings_below_cad "$dir" MorvaneX.E2E.First
    start_standin "$dir" MorvaneX.E2E.First "$log" || return 1
    start_launcher "$dir" || return 1
    check_soon "launcher in front" 'main_value foreground' 1

    # At start the tree has the focus: the arrows move in it at once, and
    # Enter sends the selected row's command.
    check_soon "focus at start" 'focused_control' commandTree
    keys Down
    check_soon "Down selects the next row" 'selected_label' "[LINE] 線分を作図"
    keys Return
    wait_commands "$log" 1 || fail_now "Enter sent nothing to the CAD" || return 1
    check_eq "Enter on a row" "$(standin_commands "$log")" "LINE<0D>"
    screenshot keyboard-enter

    # Back from the CAD the focus is where it was.
    activate_launcher_by_caption
    check_soon "focus back in the tree" 'focused_control' commandTree
    keys Up Return
    expect_no_new_commands "Enter on a group sends nothing" "$log" 1

    # Ctrl+F, type, Down to the first match, Enter.
    keys ctrl+f
    check_soon "Ctrl+F: the search box" 'focused_control' searchBox
    type_text "move"
    check_soon "search move" 'tree_labels' "[MOVE] 図形を移動"
    keys Down
    check_soon "Down: the tree" 'focused_control' commandTree
    check_soon "Down: the first match" 'selected_label' "[MOVE] 図形を移動"
    keys Return
    wait_commands "$log" 2 || fail_now "Enter after the search sent nothing" || return 1
    check_eq "Enter on the match" "$(standin_commands "$log" | tail -1)" "MOVE<0D>"

    # Escape empties the search box; the command view shows as after a
    # deletion by hand.
    activate_launcher_by_caption
    keys ctrl+f
    check_soon "Ctrl+F selects the text" 'main_value searchBox.text' "move"
    type_text "cop"
    check_soon "typed over the selection" 'main_value searchBox.text' "cop"
    check_soon "search cop" 'tree_labels' "[COPY] 図形を複写"
    keys Escape
    check_soon "Escape empties the box" 'main_value searchBox.text' ""
    check_soon "command view after Escape" 'tree_labels' "$DRAWING_COMMAND_VIEW"
    check_eq "focus stays in the box" "$(focused_control)" searchBox
    screenshot keyboard-escape

    # The menu keys open the window's menu under the selected row.
    keys Down Down
    check_soon "row for the menu" 'selected_label' "[COPY] 図形を複写"
    keys shift+F10
    wait_until 5 menu_top_left || fail_now "Shift+F10 opened no menu" || return 1
    check_true "Shift+F10: menu under the selected row" menu_under_selected_row
    screenshot keyboard-menu
    keys Escape
    wait_until 5 test -z "$(menu_top_left)"
    keys Menu
    wait_until 5 menu_top_left || fail_now "the Menu key opened no menu" || return 1
    check_true "Menu key: menu under the selected row" menu_under_selected_row
    keys Escape
    check_soon "menu closed" 'menu_top_left' ""
    check_soon "focus in the tree after the menu" 'focused_control' commandTree

    # Clicking ESC presses Escape in the CAD and leaves the focus in the tree.
    click_at $(control_centre escapeButton)
    wait_until "$E2E_WAIT_SECONDS" has_key_events "$log" 4 || fail_now "no Escape reached the CAD"
    activate_launcher_by_caption
    check_soon "focus after ESC" 'focused_control' commandTree
    keys Down
    check_soon "the arrows still move in the tree" 'selected_label' "[LINE] 線分を作図"
    sleep 0.5
    check_eq "ESC pressed once" "$(standin_events "$log" key | wc -l)" 4
}

# Scenario of the settings' hotkey pressed with real X keys while the stand-in
# CAD is in front: the launcher comes forward with the focus in the search
# box, typing and Enter send the command, and a second press gives the focus
# back to the CAD.
HOTKEY_KEYS=ctrl+alt+k

needs_hotkey() { needs_cad_link; }
scenario_hotkey() {
    local dir log
    dir=$(new_scenario_folder hotkey)
    log="$dir/cad.log"
    write_drawing_list "$dir"
    write_settings_below_cad "$dir" MorvaneX.E2E.First
    printf '[Keys]\r\nActivate=Ctrl+Alt+K\r\n' >>"$dir/MorvaneX.ini"
    start_standin "$dir" MorvaneX.E2E.First "$log" || return 1
    start_launcher "$dir" || return 1

    # A command sent puts the CAD in front.
    check_soon "focus at start" 'focused_control' commandTree
    keys Down Return
    wait_commands "$log" 1 || fail_now "Enter sent nothing to the CAD" || return 1
    check_soon "the CAD in front" 'main_value foreground' 0

    keys "$HOTKEY_KEYS"
    check_soon "the hotkey brings the launcher forward" 'main_value foreground' 1
    check_soon "the hotkey: the search box" 'focused_control' searchBox
    screenshot hotkey-search
    type_text "line"
    check_soon "search line" 'tree_labels' "[LINE] 線分を作図"
    keys Return
    wait_commands "$log" 2 || fail_now "Enter after the hotkey sent nothing" || return 1
    check_eq "the first result sent" "$(standin_commands "$log" | tail -1)" "LINE<0D>"
    check_soon "the CAD in front again" 'main_value foreground' 0

    # Twice: forward, then back to the CAD.
    keys "$HOTKEY_KEYS"
    check_soon "the hotkey again" 'main_value foreground' 1
    check_soon "the text selected to type over" 'main_value searchBox.text' "line"
    keys "$HOTKEY_KEYS"
    check_soon "pressed in front: back to the CAD" 'main_value foreground' 0
}
