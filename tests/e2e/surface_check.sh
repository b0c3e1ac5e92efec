#!/usr/bin/env bash
# The window service and its drawing surface on real windows (surface_check.exe): masked
# blits, text, bitmaps from files and resources, the child controls, the scroll bar, tooltip
# tools, and the dialog layer's paint and close handlers.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
tova_wine_version winxp || e2e_abort "cannot set the Windows version"
check=$(e2e_find_program surface_check.exe)
[ -n "$check" ] || e2e_abort "no surface_check.exe under $TOVA_E2E_WIN64_DIR"
cp "$check" "$E2E_TOOLS/"

tova_wine 'T:\surface_check.exe' | tr -d '\r' | tee "$TOVA_E2E_ARTIFACTS/checks.txt"
e2e_expect_eq "surface_check.exe passes" 0 "${PIPESTATUS[0]}"
e2e_expect_eq "no check failed" 0 "$(grep -c '^FAIL' "$TOVA_E2E_ARTIFACTS/checks.txt")"
# Every group of checks ran to its end (the dialog checks come last).
for group in 'masked blit' text font icon bitmaps 'check box' 'scroll bar' tooltip window dialog; do
    if grep -q "^ok: $group:" "$TOVA_E2E_ARTIFACTS/checks.txt"; then
        e2e_pass "the $group checks ran"
    else
        e2e_fail "the $group checks ran"
    fi
done
e2e_end
