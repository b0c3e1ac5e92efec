#!/usr/bin/env bash
# The window service and the dialog layer on real windows. surface_check.exe: masked blits,
# text, bitmaps from files and resources, the child controls, the scroll bar, tooltip tools,
# the hand cursor, the mouse capture, and the dialog layer's paint and close handlers.
# input_check.exe: a dialog's mouse, command, scroll, timer, control-colour and drag-icon
# messages reaching its handler, the tooltip relay, and a nested dialog's site.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
tova_wine_version winxp || e2e_abort "cannot set the Windows version"
for program in surface_check.exe input_check.exe; do
    found=$(e2e_find_program "$program")
    [ -n "$found" ] || e2e_abort "no $program under $TOVA_E2E_WIN64_DIR"
    cp "$found" "$E2E_TOOLS/"
done

# run_checks PROGRAM GROUP...: the program passes, no check failed, and every group of checks
# ran to its end.
run_checks() {
    local program=$1
    shift
    local out=$TOVA_E2E_ARTIFACTS/${program%.exe}.txt
    tova_wine "T:\\$program" | tr -d '\r' | tee "$out"
    e2e_expect_eq "$program passes" 0 "${PIPESTATUS[0]}"
    e2e_expect_eq "no check of $program failed" 0 "$(grep -c '^FAIL' "$out")"
    local group
    for group in "$@"; do
        if grep -q "^ok: $group:" "$out"; then
            e2e_pass "the $group checks ran"
        else
            e2e_fail "the $group checks ran"
        fi
    done
}

# The dialog checks of surface_check.exe come last.
run_checks surface_check.exe 'masked blit' text font icon bitmaps 'check box' 'scroll bar' \
    tooltip cursor capture window dialog
run_checks input_check.exe setup timer mouse relay command scroll colours 'drag icon' capture \
    site
e2e_end
