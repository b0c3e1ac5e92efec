#!/usr/bin/env bash
# One running copy: while tova.exe shows its dialog, further copies end at once, silently and
# with code 0, without a window of their own; once the first has ended, a new copy starts
# normally again (the shared counter lives only while a copy maps the program file).
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
tova_wine_version winxp || e2e_abort "cannot set the Windows version"
e2e_stage_cd "$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board"
title=$(e2e_demo_title)

e2e_start_tova
first=$E2E_TOVA_PID
inspector wait "$title" 30000 >/dev/null || e2e_abort "the first copy shows no dialog"
sleep 1
windows_before=$(inspector list | grep -c '^window')

for copy in second third; do
    e2e_start_tova
    pid=$E2E_TOVA_PID
    # Watch the screen while the copy lives: a dialog that flashes up and goes counts too.
    most=1
    deadline=$((SECONDS + 30))
    while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
        n=$(inspector count "$title")
        [ "${n:-0}" -gt "$most" ] && most=$n
    done
    e2e_expect_exit "the $copy copy ends with code 0" "$pid" 0 5
    # A copy that did not end is stopped here, so the checks after it still run.
    kill "$pid" 2>/dev/null
    e2e_expect_eq "the $copy copy never shows a dialog" 1 "$most"
    e2e_expect_eq "the $copy copy leaves no window behind" "$windows_before" \
        "$(inspector list | grep -c '^window')"
done
tova_screenshot "$TOVA_E2E_ARTIFACTS/after-second-copies.png" || e2e_fail "screenshot"

if kill -0 "$first" 2>/dev/null; then
    e2e_pass "the first copy still runs"
else
    e2e_fail "the first copy still runs"
fi
e2e_expect_eq "the first copy's dialog is still the only one" 1 "$(inspector count "$title")"

inspector close "$title" >/dev/null
e2e_expect_exit "the first copy ends with code 0 when closed" "$first" 0 20

# Every copy has ended: the counter starts again from the file's value.
e2e_start_tova
if inspector wait "$title" 30000 >/dev/null; then
    e2e_pass "a copy started after all others ended shows its dialog"
    inspector close "$title" >/dev/null
    e2e_expect_exit "and ends with code 0 when closed" "$E2E_TOVA_PID" 0 20
else
    e2e_fail "a copy started after all others ended shows its dialog"
fi
e2e_end
