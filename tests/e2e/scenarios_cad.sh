# Scenarios of the CAD link: double-clicks on every kind of row, and the ESC
# button with the CAD in front and minimised. Sourced by run_e2e.sh.

# The launcher's place below the stand-in CAD's window (40,40 to 760,460):
# under Wine's virtual desktop a CAD window brought to the front draws over
# the topmost launcher, although Wine's own window order keeps the launcher
# above, so the two must not overlap for the clicks to reach the launcher.
write_settings_below_cad() { # folder progid
    write_settings "$1" 300 468 400 300 "$2"
}

# Wine's window order (top first) puts the launcher above the CAD.
launcher_above() { # cad window caption
    probe windows | awk -F'\t' -v cad="$1" '$1 == "MorvaneX.Main" && !cad_seen { ok = 1 }
                                           $2 == cad { cad_seen = 1 } END { exit !ok }'
}

needs_cad_link() {
    local missing=()
    [ -f "$E2E_STANDIN" ] || missing+=("the stand-in CAD (tools/standin-cad)")
    [ ${#missing[@]} -eq 0 ] && return 0
    printf '%s\n' "${missing[@]}" | paste -sd, | sed 's/,/, /g'
    return 1
}

# Waits until LOG holds COUNT received commands.
wait_commands() { # log count
    wait_until "$E2E_WAIT_SECONDS" has_commands "$1" "$2"
}

has_commands() { # log count
    [ "$(standin_commands "$1" | wc -l)" -ge "$2" ]
}

has_key_events() { # log count
    [ "$(standin_events "$1" key | wc -l)" -ge "$2" ]
}

# Nothing more arrives: a second of quiet.
expect_no_new_commands() { # what log count
    sleep 1
    check_eq "$1" "$(standin_commands "$2" | wc -l)" "$3"
}

needs_doubleclick() { needs_cad_link; }
scenario_doubleclick() {
    local dir log out lsp
    dir=$(new_scenario_folder doubleclick)
    log="$dir/cad.log"
    out="$dir/exe_out.txt"
    # The .lsp rows name any folder with "Morvane\" in it: the launcher's own
    # folder is used. The .exe row starts cmd.exe with the row's parameters.
    write_cp932 "$dir/MorvaneList.txt" <<EOF
作図
LINE	線分を作図
ファイル
LOADTOOLS	ツールを読み込む	D:\\lisp\\Morvane\\tools.lsp
LOADGONE	無いファイル	Morvane\\gone.lsp
ECHO	外部プログラム	cmd.exe	/c echo e2e-exe-row> $(winepath -w "$out")
EOF
    echo '(defun c:e2e () (princ))' >"$dir/tools.lsp"
    write_settings_below_cad "$dir" MorvaneX.E2E.First
    start_standin "$dir" MorvaneX.E2E.First "$log" || return 1
    start_launcher "$dir" || return 1

    double_click_node "[LINE] 線分を作図" || return 1
    wait_commands "$log" 1 || fail_now "no command arrived for [LINE]" || return 1
    check_eq "command row" "$(standin_commands "$log")" "LINE<0D>"
    check_true "the launcher stays above the activated CAD" \
        launcher_above "Stand-in CAD - MorvaneX.E2E.First"

    double_click_node "作図"
    expect_no_new_commands "a group row sends nothing" "$log" 1

    double_click_node "{LOADTOOLS} ツールを読み込む" || return 1
    wait_commands "$log" 2 || fail_now "no load expression arrived" || return 1
    lsp=$(winepath -w "$dir/tools.lsp" | sed 's/\\/\\\\/g')
    check_eq "load expression" "$(standin_commands "$log" | tail -1)" "(load \"$lsp\")(princ)<0D>"

    double_click_node "{LOADGONE} 無いファイル" || return 1
    wait_for_window 情報 5000 || fail_now "no box for the missing .lsp" || return 1
    check_eq "missing .lsp box" \
        "$(probe children 情報 | awk -F'\t' '$1 == "child" && $3 == "Static" && $4 != "" { print $4 }')" \
        "$(winepath -w "$dir/gone.lsp" | sed 's/\\/\\\\/g')\\nファイルが見つかりません．"
    screenshot doubleclick-missing-lsp
    keys Return
    wait_window_gone 情報 5000 || fail_now "the box did not close on Return"
    expect_no_new_commands "a missing .lsp sends nothing" "$log" 2

    double_click_node "{ECHO} 外部プログラム" || return 1
    wait_until "$E2E_WAIT_SECONDS" grep -q e2e-exe-row "$out" || fail_now "the .exe row's program did not run"
    expect_no_new_commands "an .exe row sends nothing" "$log" 2
    screenshot doubleclick
}

# Clicks ESC and waits for the four key events in LOG.
press_escape_button() { # log
    click_at $(control_centre escapeButton)
    wait_until "$E2E_WAIT_SECONDS" has_key_events "$1" 4
}

restored_before_keys() { # log
    tr -d '\r' <"$1" | awk -F'\t' '$2 == "window" && $3 == "restored" && !r { r = NR }
                                  $2 == "key" && !k { k = NR } END { exit !(r && r < k) }'
}

needs_escape() { needs_cad_link; }
scenario_escape() {
    local dir log window
    dir=$(new_scenario_folder escape)
    write_drawing_list "$dir"
    write_settings_below_cad "$dir" MorvaneX.E2E.First
    window="Stand-in CAD - MorvaneX.E2E.First"

    log="$dir/cad-front.log"
    start_standin "$dir" MorvaneX.E2E.First "$log" || return 1
    start_launcher "$dir" || return 1
    press_escape_button "$log" || fail_now "no Escape reached the CAD in front" || return 1
    sleep 0.5 # quiet, for a key too many to arrive
    check_eq "keys, CAD in front" "$(standin_events "$log" key)" 'ESC down
ESC up
ESC down
ESC up'
    check_soon "CAD in the foreground" 'window_value "$window" foreground' 1
    screenshot escape-front
    e2e_stop_started

    log="$dir/cad-minimised.log"
    start_standin "$dir" MorvaneX.E2E.First "$log" --minimized || return 1
    start_launcher "$dir" || return 1
    check_soon "CAD starts minimised" 'window_value "$window" iconic' 1
    press_escape_button "$log" || fail_now "no Escape reached the minimised CAD" || return 1
    sleep 0.5 # quiet, for a key too many to arrive
    check_eq "keys, CAD minimised" "$(standin_events "$log" key)" 'ESC down
ESC up
ESC down
ESC up'
    check_soon "CAD restored" 'window_value "$window" iconic' 0
    check_true "restored before the keys" restored_before_keys "$log"
    screenshot escape-minimised
}
