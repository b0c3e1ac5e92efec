#!/usr/bin/env bash
# Without "id.log" on any drive from C to Z, tova.exe says "Sorry  I can't find Driver CD!"
# in a box captioned "Msg" owned by its dialog, and ends with code 0 once it is answered.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
tova_wine_version winxp || e2e_abort "cannot set the Windows version"
e2e_stage_cd "$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board"
rm -f "$E2E_CD/id.log"
# Z: shows the host's root; this test must not depend on what lies there.
rm -f "$WINEPREFIX/dosdevices/z:"
for drive in "$WINEPREFIX"/dosdevices/?:; do
    [ -e "$drive/id.log" ] && e2e_abort "drive $(basename "$drive") holds an id.log"
done

e2e_start_tova
box=$(inspector msgbox Msg 30000) || e2e_fail "a message box captioned \"Msg\" appears"
printf '%s\n' "$box" >"$TOVA_E2E_ARTIFACTS/msgbox.txt"
tova_screenshot "$TOVA_E2E_ARTIFACTS/no-cd.png" || e2e_fail "screenshot"
e2e_expect_eq "the box says the CD is missing" "Sorry  I can't find Driver CD!" \
    "$(printf '%s\n' "$box" | grep -P '^text\t' | cut -f2-)"
e2e_expect_eq "the box has one button, OK" "OK" "$(printf '%s\n' "$box" | grep -P '^button\t' | cut -f2- | paste -sd,)"
# Owned by the dialog, whose caption is still the template's: no CD, no title.
e2e_expect_eq "the box is owned by the main dialog" "TOVA 2.2 B02.111101" \
    "$(printf '%s\n' "$box" | grep -P '^owner\t' | cut -f2-)"
if kill -0 "$E2E_TOVA_PID" 2>/dev/null; then
    e2e_pass "the program waits for the answer"
else
    e2e_fail "the program waits for the answer"
fi

inspector press Msg OK >/dev/null || e2e_fail "OK can be pressed"
e2e_expect_exit "tova.exe ends with code 0 once OK is pressed" "$E2E_TOVA_PID" 0 20
e2e_expect_eq "no window of the program is left" 0 "$(inspector count 'TOVA 2.2 B02.111101')"
e2e_end
