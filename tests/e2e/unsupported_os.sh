#!/usr/bin/env bash
# On a system newer than XP (Wine reporting Windows 7, then Vista) tova.exe says
# "Sorry we do not support this M/B." captioned "Msg" and ends with code 0 once answered.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
e2e_stage_cd "$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board"
title=$(e2e_demo_title)

for version in win7 vista; do
    tova_wine_version "$version" || e2e_abort "cannot set $version"
    e2e_start_tova
    box=$(inspector msgbox Msg 30000) || e2e_fail "$version: a message box captioned \"Msg\" appears"
    printf '%s\n' "$box" >"$TOVA_E2E_ARTIFACTS/msgbox-$version.txt"
    tova_screenshot "$TOVA_E2E_ARTIFACTS/unsupported-$version.png" || e2e_fail "screenshot"
    e2e_expect_eq "$version: the box refuses the system" "Sorry we do not support this M/B." \
        "$(printf '%s\n' "$box" | grep -P '^text\t' | cut -f2-)"
    # The CD was found before detection: the dialog already carries the CD's title.
    e2e_expect_eq "$version: the box is owned by the dialog titled from the CD" "$title" \
        "$(printf '%s\n' "$box" | grep -P '^owner\t' | cut -f2-)"
    inspector press Msg OK >/dev/null || e2e_fail "$version: OK can be pressed"
    e2e_expect_exit "$version: tova.exe ends with code 0 once OK is pressed" "$E2E_TOVA_PID" 0 20
    kill "$E2E_TOVA_PID" 2>/dev/null
done
e2e_end
