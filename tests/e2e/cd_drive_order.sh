#!/usr/bin/env bash
# The CD is the first drive from C on whose root "id.log" opens: with the demo CD on E: alone
# the window takes E:'s title; with a marked root on C: as well, C: wins and gives the title.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
tova_wine_version winxp || e2e_abort "cannot set the Windows version"
e2e_stage_cd "$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board"
title=$(e2e_demo_title)

e2e_start_tova
if inspector wait "$title" 30000 >/dev/null; then
    e2e_pass "with the marker on E: only, the title is E:'s"
else
    e2e_fail "with the marker on E: only, the title is E:'s"
fi
inspector close "$title" >/dev/null
e2e_expect_exit "closed, the program ends with code 0" "$E2E_TOVA_PID" 0 20

c_root=$WINEPREFIX/drive_c
cp "$E2E_CD/id.log" "$c_root/id.log"
printf '[Common]\r\ntitle=The copy on drive C\r\n' >"$c_root/bmp.ini"
e2e_start_tova
if inspector wait "The copy on drive C" 30000 >/dev/null; then
    e2e_pass "with the marker on C: as well, C: wins"
else
    e2e_fail "with the marker on C: as well, C: wins"
    inspector list >"$TOVA_E2E_ARTIFACTS/windows.txt"
fi
tova_screenshot "$TOVA_E2E_ARTIFACTS/drive-c.png" || e2e_fail "screenshot"
inspector close "The copy on drive C" >/dev/null
e2e_expect_exit "closed, the program ends with code 0" "$E2E_TOVA_PID" 0 20
e2e_end
