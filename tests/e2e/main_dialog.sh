#!/usr/bin/env bash
# The main dialog of the x86_64 tova.exe under Wine (reporting Windows XP) with the demo CD on
# E:: built from template 102 with the font scaled to the screen, titled from the CD,
# and ended with code 0 by its close command. (What it paints: panels.sh.)
#   main_dialog.sh [DPI]    96 (the default) or another square resolution such as 120
. "$(dirname "$0")/e2e_lib.sh"
dpi=${1:-96}

# The dialog font's point size for a square resolution of dpi pixels per inch.
case $dpi in
    96 | 120) base=106 ;;
    144 | 192) base=120 ;;
    72) base=116 ;;
    *) base=96 ;;
esac
points=$((base * 8 / dpi))

e2e_begin
tova_wine_version winxp || e2e_abort "cannot set the Windows version"
if [ "$dpi" != 96 ]; then tova_wine_dpi "$dpi" || e2e_abort "cannot set $dpi dpi"; fi
e2e_stage_cd "$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board"
title=$(e2e_demo_title)
[ -n "$title" ] || e2e_abort "the demo CD has no title"

e2e_expect_eq "the screen reports $dpi dpi" "${dpi}x${dpi}" "$(inspector dpi)"

e2e_start_tova
if ! inspector wait "$title" 30000 >/dev/null; then
    e2e_fail "a window titled \"$title\" appears"
    inspector list >"$TOVA_E2E_ARTIFACTS/windows.txt"
    e2e_end
fi
e2e_pass "a window titled \"$title\" appears (the CD's title replaced the template's)"
sleep 1
inspector list >"$TOVA_E2E_ARTIFACTS/windows.txt"
tova_screenshot "$TOVA_E2E_ARTIFACTS/main-dialog-${dpi}dpi.png" || e2e_fail "screenshot"

# The dialog and the four controls of template 102.
dialog_line=$(grep -P "^window\t.*\ttext=\Q$title\E$" "$TOVA_E2E_ARTIFACTS/windows.txt" | sed -n 1p)
e2e_expect_eq "the window is a dialog" "class=#32770" "$(printf '%s' "$dialog_line" | grep -o 'class=[^[:space:]]*')"
# The edit boxes hold the readme and the report by now; only the buttons' texts are fixed.
for control in "1 Button GO" "2 Button Cancel" "1002 Edit .*" "1003 Edit .*"; do
    # Split into words only: ".*" is a pattern for grep, not for the shell.
    set -f
    set -- $control
    set +f
    if grep -qP "^  window\t.*\tid=$1\t.*\tclass=$2\t.*\ttext=${3:-}$" "$TOVA_E2E_ARTIFACTS/windows.txt"; then
        e2e_pass "control $1 ($2 ${3:-}) is there"
    else
        e2e_fail "control $1 ($2 ${3:-}) is there"
    fi
done
for button in 1 2; do
    if grep -qP "^  window\t.*\tid=$button\tvisible=0\t" "$TOVA_E2E_ARTIFACTS/windows.txt"; then
        e2e_pass "button $button stays hidden"
    else
        e2e_fail "button $button stays hidden"
    fi
done

# 427 x 301 dialog units in pixels of "MS Sans Serif" at the scaled size, as the dialog
# manager computes them in this prefix; the same box at another size must not match.
expected=$(inspector expect "MS Sans Serif" "$points" 427 301)
echo "font: $expected"
actual=$(inspector client "$title")
e2e_expect_eq "client size of 427 x 301 dialog units in MS Sans Serif $points" \
    "$(printf '%s' "$expected" | cut -f1)" "$actual"
# At 96 dpi the scaled size equals the template's own 8, so compare with 12 (72 dpi's size);
# elsewhere the template's unreplaced 8 must not match.
other_points=8
[ "$points" = 8 ] && other_points=12
other=$(inspector expect "MS Sans Serif" "$other_points" 427 301 | cut -f1)
if [ "$other" != "$actual" ]; then
    e2e_pass "the size tells the font size apart (MS Sans Serif $other_points would give $other)"
else
    e2e_fail "MS Sans Serif $other_points gives the same size $other: the check proves nothing"
fi

inspector close "$title" >/dev/null
e2e_expect_exit "tova.exe ends with code 0 when the dialog is closed" "$E2E_TOVA_PID" 0 20
e2e_end
