#!/usr/bin/env bash
# The x86_64 tova.exe under Wine (reporting Windows XP, or the system named) on the demo CD, driven
# with the mouse as a user drives it: the five tabs switch panels (each panel kept as a screenshot), buttons light up
# under the pointer, Rapid Setup shows and hides the row check boxes and a click ticks a row, a
# utility row starts its program from the program's own folder, the utility list scrolls, and
# Exit ends the program with code 0 after removing the resume state.
#   interaction.sh [SYSTEM]
. "$(dirname "$0")/e2e_lib.sh"
convert=/usr/bin/convert
board=$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
resume_key='HKCU\Software\QTM'

e2e_begin
e2e_system "${1:-winxp}"
e2e_stage_cd "$board"
[ -f "$E2E_CD/Utility/Reader/setup.exe" ] ||
    e2e_abort "no stand-in at the utilities' paths (standin.exe is not built under $TOVA_E2E_WIN64_DIR)"
calls=$WINEPREFIX/drive_c/standin-calls.log
rm -f "$calls"
title=$(e2e_demo_title)
bmp=$E2E_CD/bmp

e2e_start_tova
inspector wait "$title" 30000 >/dev/null || {
    e2e_fail "a window titled \"$title\" appears"
    e2e_end
}
inspector settled "$title" >/dev/null || e2e_abort "the window is not drawn"
read -r cx cy cw ch <<<"$(inspector clientrect "$title")"
echo "client area at $cx,$cy size ${cw}x$ch"

# click X Y / point X Y: the mouse at client point (X, Y), with or without a click.
point() { xdotool mousemove $((cx + $1)) $((cy + $2)); }
click() { xdotool mousemove $((cx + $1)) $((cy + $2)) click 1; }
# park: the pointer on the header, over no item, so no item keeps its hover look.
park() { point 400 60; }
# snap NAME: the screen once the window is drawn, as artifact NAME.png, in $shot.
snap() {
    inspector settled "$title" >/dev/null || echo "note: the window did not settle before $1"
    shot=$TOVA_E2E_ARTIFACTS/$1.png
    tova_screenshot "$shot" || e2e_abort "no screenshot"
}
# differing PICTURE PX PY X Y W H: how many pixels of the W x H region at client (X, Y) of the
# last screenshot differ from the picture's region at (PX, PY).
differing() {
    "$convert" "$shot" -crop "${6}x${7}+$((cx + $4))+$((cy + $5))" +repage \
        \( "$1" -crop "${6}x${7}+$2+$3" +repage \) -metric AE -compare -format '%[distortion]' info: 2>&1
}
# same_region WHAT PICTURE PX PY X Y W H: the screen shows the picture's region there.
same_region() {
    e2e_expect_eq "$1" 0 "$(differing "${@:2}")"
}
# same_button WHAT PICTURE X Y: a 172 x 42 tab picture at (X, Y), inside its rounded rim (the
# rim's corners are the mask's and show the background).
same_button() {
    same_region "$1" "$2" 11 6 $(($3 + 11)) $(($4 + 6)) 150 30
}
# visibility ID...: the visible flags of the dialog's controls, in the order given.
visibility() {
    inspector list >"$TOVA_E2E_WORK/list.txt"
    local id flags=
    for id in "$@"; do
        flags+=$(grep -P "^  window\t.*\tid=$id\t" "$TOVA_E2E_WORK/list.txt" | grep -o 'visible=[01]' |
            cut -d= -f2)
    done
    echo "$flags"
}
# The check boxes of the board's driver rows (six on XP, 98 SE and Me, five on 95), and what
# their visible flags read with none and with all of them shown.
inspector list >"$TOVA_E2E_WORK/list.txt"
ROW_BOXES=()
for ((id = 200; id < 230; id++)); do
    grep -P "^  window\t.*\tid=$id\t.*\tclass=Button\t" "$TOVA_E2E_WORK/list.txt" >/dev/null &&
        ROW_BOXES+=("$id")
done
[ "${#ROW_BOXES[@]}" -ge 2 ] || e2e_abort "fewer than two driver rows on the board"
NONE_SHOWN=$(printf '0%.0s' "${ROW_BOXES[@]}")
ALL_SHOWN=$(printf '1%.0s' "${ROW_BOXES[@]}")

# --- The tabs: each switches to its panel, shows itself pressed and the one before released.
tab_names=(drv util readme sysinfo more)
tab_y() { echo $((104 + 50 * $1)); }
previous=0
for k in 1 2 3 4 0; do
    click 98 $(($(tab_y "$k") + 21))
    park
    snap "panel$k"
    same_button "panel $k: its tab shows its down picture" "$bmp/${tab_names[$k]}_d.bmp" 12 "$(tab_y "$k")"
    same_button "panel $k: tab $previous is released" "$bmp/${tab_names[$previous]}_n.bmp" 12 \
        "$(tab_y "$previous")"
    # Scroll bar 10, readme box 1002, system report box 1003.
    case $k in
    0) expected=000 ;;
    1) expected=100 ;;
    2) expected=010 ;;
    3) expected=001 ;;
    4) expected=000 ;;
    esac
    e2e_expect_eq "panel $k: scroll bar, readme box, report box visible" "$expected" \
        "$(visibility 10 1002 1003)"
    if [ "$k" = 4 ]; then
        same_region "panel 4 shows its own background" "$bmp/bk4.bmp" 250 130 250 130 140 100
    else
        same_region "panel $k shows the main background" "$bmp/bk.bmp" 205 70 205 70 100 15
    fi
    previous=$k
done
e2e_expect_eq "Rapid Setup off: no row check box shown" "$NONE_SHOWN" "$(visibility "${ROW_BOXES[@]}")"

# --- Looks under the pointer (Panel0 is active).
point 98 $(($(tab_y 1) + 21))
snap hover-tab
same_button "the Utilities tab shows its over picture under the pointer" "$bmp/util_o.bmp" 12 "$(tab_y 1)"
point 350 374
snap hover-rapid
same_region "the Rapid Setup switch shows its over picture under the pointer" "$bmp/rapid_o.bmp" \
    0 0 312 338 159 73
same_button "the Utilities tab is back to normal once the pointer leaves" "$bmp/util_n.bmp" 12 "$(tab_y 1)"
park
snap rapid-off
same_region "the Rapid Setup switch is back to normal once the pointer leaves" "$bmp/rapid_n.bmp" \
    0 0 312 338 159 73

# --- Rapid Setup on: the check boxes appear, Start and Normal replace the switch.
click 350 374
park
snap rapid-on
e2e_expect_eq "Rapid Setup on: every row shows its check box" "$ALL_SHOWN" "$(visibility "${ROW_BOXES[@]}")"
same_region "Rapid Setup on: the Start button is drawn" "$bmp/start_n.bmp" 0 0 312 338 79 73
same_region "Rapid Setup on: the Normal button is drawn" "$bmp/normal_n.bmp" 0 0 391 338 80 73
e2e_expect_eq "every row starts ticked" "1	enabled=1" "$(inspector check "$title" 200)"

# A click on a box, then on its row's text, each toggles that row alone.
read -r _ box_left box_top box_right box_bottom <<<"$(grep -P '^  window\t.*\tid=200\t' \
    "$TOVA_E2E_WORK/list.txt" | grep -o 'rect=[-0-9,]*' | tr '=,' '  ')"
box_x=$(((box_left + box_right) / 2))
box_y=$(((box_top + box_bottom) / 2))
xdotool mousemove "$box_x" "$box_y" click 1
inspector settled "$title" >/dev/null
e2e_expect_eq "a click on row 0's box unticks it" 0 "$(inspector check "$title" 200 | cut -f1)"
e2e_expect_eq "row 1 keeps its tick" 1 "$(inspector check "$title" 201 | cut -f1)"
# The row's text starts at x 245, on the line of its box.
xdotool mousemove $((cx + 280)) "$box_y" click 1
inspector settled "$title" >/dev/null
e2e_expect_eq "a click on row 0's text ticks it again" 1 "$(inspector check "$title" 200 | cut -f1)"
xdotool mousemove $((cx + 280)) "$box_y" click 1
inspector settled "$title" >/dev/null
e2e_expect_eq "a second click on row 0's text unticks it" 0 "$(inspector check "$title" 200 | cut -f1)"
# Quick clicks, well inside the double-click time, are one press each: two toggle the row
# twice, three toggle it three times (a lost second press would leave it as two single clicks do).
xdotool mousemove $((cx + 280)) "$box_y" click --repeat 2 --delay 60 1
inspector settled "$title" >/dev/null
e2e_expect_eq "two quick clicks on row 0's text toggle it twice" 0 "$(inspector check "$title" 200 | cut -f1)"
xdotool mousemove $((cx + 280)) "$box_y" click --repeat 3 --delay 60 1
inspector settled "$title" >/dev/null
e2e_expect_eq "three quick clicks on row 0's text toggle it three times" 1 \
    "$(inspector check "$title" 200 | cut -f1)"
xdotool mousemove $((cx + 280)) "$box_y" click 1
inspector settled "$title" >/dev/null
e2e_expect_eq "one more click unticks it" 0 "$(inspector check "$title" 200 | cut -f1)"
e2e_expect_eq "row 1 still keeps its tick" 1 "$(inspector check "$title" 201 | cut -f1)"

# --- Rapid Setup off ("Normal"): the check boxes go, the switch comes back.
click 431 374
park
snap rapid-normal
e2e_expect_eq "Rapid Setup off: the check boxes are hidden" "$NONE_SHOWN" "$(visibility "${ROW_BOXES[@]}")"
same_region "Rapid Setup off: the switch is drawn again" "$bmp/rapid_n.bmp" 0 0 312 338 159 73

# --- Panel1: a utility row starts its program in its own folder; a hidden row starts nothing.
# stand_in NAME: the stand-in's window "Stand-in: NAME" appears; a click on it closes it.
stand_in() {
    local window="Stand-in: $1" rect
    if ! inspector wait "$window" 15000 >/dev/null; then
        e2e_fail "the window \"$window\" appears"
        return
    fi
    e2e_pass "the window \"$window\" appears"
    rect=$(inspector list | grep -P "^window\t.*\ttext=\Q$window\E$" | grep -o 'rect=[-0-9,]*' |
        sed -n 1p | tr '=,' '  ')
    read -r _ left top right bottom <<<"$rect"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
    inspector gone "$window" 10000 >/dev/null || e2e_fail "the stand-in's window closes"
    inspector settled "$title" >/dev/null || true
}
# call N: line N of the stand-in's log, lower-cased (Windows paths compare in any case), with
# its fields separated by "|".
call() {
    sed -n "${1}p" "$calls" 2>/dev/null | tr -d '\r' | tr 'A-Z\t' 'a-z|'
}
click 98 $(($(tab_y 1) + 21))
park
inspector settled "$title" >/dev/null
e2e_expect_eq "the utility list starts at position 1 of 1..5" "1 1 5 1" "$(inspector scrollpos "$title" 10)"
# Row 10 (the IT87 serial port utility) is hidden on a board without that chip.
click 225 $((90 + 20 * 10 + 7))
click 225 97
stand_in setup.exe
cp "$calls" "$TOVA_E2E_ARTIFACTS/standin-calls.log" 2>/dev/null
e2e_expect_eq "one program started (the hidden row starts none)" 1 "$(tr -d '\r' <"$calls" 2>/dev/null | wc -l)"
e2e_expect_eq "row 0 starts Utility\\Reader\\setup.exe in its own folder" \
    'e:\utility\reader\setup.exe|e:\utility\reader\setup.exe|e:\utility\reader' "$(call 1)"

# --- The utility list scrolls by 20 pixels a step; the rows' click areas move with the text.
park
snap scroll-1
unscrolled=$shot
inspector list >"$TOVA_E2E_WORK/list.txt"
read -r _ bar_left _ bar_right bar_bottom <<<"$(grep -P '^  window\t.*\tid=10\t' \
    "$TOVA_E2E_WORK/list.txt" | grep -o 'rect=[-0-9,]*' | tr '=,' '  ')"
# The down arrow is the bottom square of the bar.
xdotool mousemove $(((bar_left + bar_right) / 2)) $((bar_bottom - (bar_right - bar_left) / 2)) click 1
park
snap scroll-2
e2e_expect_eq "the down arrow moves the list to position 2" "2 1 5 1" "$(inspector scrollpos "$title" 10)"
# moved DY: pixels of the text area that differ between the scrolled picture and the unscrolled
# one DY pixels lower.
moved() {
    "$convert" "$unscrolled" -crop "390x300+$((cx + 205))+$((cy + 90 + $1))" +repage \
        \( "$shot" -crop "390x300+$((cx + 205))+$((cy + 90))" +repage \) \
        -metric AE -compare -format '%[distortion]' info: 2>&1
}
shifted=$(moved 20)
unshifted=$(moved 0)
echo "text area against the unscrolled one: $shifted pixels differ 20 pixels lower, $unshifted in place"
# The wipe leaves a few faint antialiased pixels at the ends of longer captions.
if [ "$shifted" -le 50 ] 2>/dev/null && [ "$unshifted" -ge 1000 ] 2>/dev/null; then
    e2e_pass "the rows moved up by 20 pixels"
else
    e2e_fail "the rows moved up by 20 pixels ($shifted pixels differ shifted, $unshifted in place)"
fi
click 225 97
stand_in dxsetup.exe
cp "$calls" "$TOVA_E2E_ARTIFACTS/standin-calls.log" 2>/dev/null
e2e_expect_eq "after the scroll the top line is row 1: Utility\\DirectX\\dxsetup.exe" \
    'e:\utility\directx\dxsetup.exe|e:\utility\directx\dxsetup.exe|e:\utility\directx' "$(call 2)"

# --- Exit: the resume state of an interrupted run is removed, other start-up entries stay.
if ! "$TOVA_WINE" reg add "$run_key" /v zzQTM /t REG_SZ /d 'E:\tova.exe' /f >/dev/null ||
    ! "$TOVA_WINE" reg add "$run_key" /v zzKeep /t REG_SZ /d 'C:\keep.exe' /f >/dev/null ||
    ! "$TOVA_WINE" reg add "$resume_key" /v item /t REG_SZ /d 1 /f >/dev/null; then
    e2e_abort "cannot write the resume state"
fi
click 142 380
e2e_expect_exit "Exit ends tova.exe with code 0" "$E2E_TOVA_PID" 0 20
# registry_has ARGS...: "yes" when reg query ARGS finds it, else "no".
registry_has() {
    if "$TOVA_WINE" reg query "$@" >/dev/null 2>&1; then echo yes; else echo no; fi
}
e2e_expect_eq "the Run value zzQTM is removed" no "$(registry_has "$run_key" /v zzQTM)"
e2e_expect_eq "the resume key Software\\QTM is removed" no "$(registry_has "$resume_key")"
e2e_expect_eq "another Run value stays" yes "$(registry_has "$run_key" /v zzKeep)"
e2e_end
