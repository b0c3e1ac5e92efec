#!/usr/bin/env bash
# The dialog layer's template rewriting on Wine's dialog manager (template_check.exe), on
# hand-made templates and on template 102 inside the built tova.exe.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
e2e_stage_cd ""
tova_wine 'T:\template_check.exe' 'E:\tova.exe' | tr -d '\r' | tee "$TOVA_E2E_ARTIFACTS/checks.txt"
rc=${PIPESTATUS[0]}
e2e_expect_eq "template_check.exe passes" 0 "$rc"
e2e_expect_eq "no check failed" 0 "$(grep -c '^FAIL' "$TOVA_E2E_ARTIFACTS/checks.txt")"
if grep -q '^ok' "$TOVA_E2E_ARTIFACTS/checks.txt"; then e2e_pass "checks ran"; else e2e_fail "checks ran"; fi
e2e_end
