#!/usr/bin/env bash
# The Win32 service adapters against the real calls (adapter_check.exe): registry, files,
# processes and system; then the version records the adapter fills for each Windows version
# Wine can report, in both record sizes.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
tova_wine_version winxp || e2e_abort "cannot set the Windows version"
check=$(e2e_find_program adapter_check.exe)
[ -n "$check" ] || e2e_abort "no adapter_check.exe under $TOVA_E2E_WIN64_DIR"
cp "$check" "$E2E_TOOLS/"

tova_wine 'T:\adapter_check.exe' | tr -d '\r' | tee "$TOVA_E2E_ARTIFACTS/checks.txt"
e2e_expect_eq "adapter_check.exe passes" 0 "${PIPESTATUS[0]}"
e2e_expect_eq "no check failed" 0 "$(grep -c '^FAIL' "$TOVA_E2E_ARTIFACTS/checks.txt")"
e2e_expect_eq "every group ran" 4 \
    "$(grep -oP '^ok\t\K(registry|files|processes|system)' "$TOVA_E2E_ARTIFACTS/checks.txt" | sort -u | wc -l)"

# version name, then the extended record's fields; the 9x build keeps its high words.
while read -r version platform numbers build low csd; do
    out=$(tova_wine_version "$version" && tova_wine 'T:\adapter_check.exe' version | tr -d '\r')
    printf '%s\n%s\n' "$version" "$out" >>"$TOVA_E2E_ARTIFACTS/versions.txt"
    extended=$(printf '%s\n' "$out" | grep '^156 ')
    plain=$(printf '%s\n' "$out" | grep '^148 ')
    got_build=$(printf '%s\n' "$extended" | grep -oP 'build=\K[0-9]+')
    e2e_expect_eq "$version: platform and version" "platform=$platform version=$numbers" \
        "$(printf '%s\n' "$extended" | grep -oP 'platform=\S+ version=\S+')"
    if [ "$low" = "-" ]; then
        e2e_expect_eq "$version: build" "$build" "$got_build"
    else
        e2e_expect_eq "$version: low 16 bits of the build" "$low" "$((got_build & 0xFFFF))"
    fi
    if [ "$csd" != "-" ]; then
        e2e_expect_eq "$version: service pack text" "$csd" \
            "$(printf '%s\n' "$extended" | grep -oP 'csd=\K.*(?= sp=)')"
    fi
    e2e_expect_eq "$version: the plain record matches the extended one" \
        "$(printf '%s\n' "$extended" | sed 's/^156 //; s/ sp=[0-9]*$//')" \
        "$(printf '%s\n' "$plain" | sed 's/^148 //')"
done <<'VERSIONS'
winxp 2 5.1 2600 - Service Pack 3
win2k 2 5.0 2195 - -
nt40 2 4.0 1381 - -
win98 1 4.10 - 2222 -
winme 1 4.90 - 3000 -
VERSIONS
e2e_end
