#!/usr/bin/env bash
# Shows that the Windows 95 import check catches what it is for, on a real image: an import
# missing from the list is named (whatever the case of its DLL name), a header asking for a
# newer subsystem or OS version fails, and a list holding exactly the image's imports passes.
#   check_imports_selftest.sh OBJDUMP IMAGE
set -uo pipefail
objdump=$1
image=$2
here=$(cd "$(dirname "$0")" && pwd)
check=$here/check_imports.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# The image's own imports as a list (DLL names upper-cased, to show case does not matter).
"$objdump" -p "$image" | awk '
    /^\tDLL Name: / { dll = toupper($3); inTable = 0; next }
    dll != "" && /^\tvma:/ { inTable = 1; next }
    inTable && /^[ \t]*$/ { dll = ""; inTable = 0; next }
    inTable && NF >= 3 { print dll "\t" $3 "\tself-test" }' >"$work/exact.tsv"
entries=$(wc -l <"$work/exact.tsv")
[ "$entries" -ge 10 ] || fail "only $entries imports read from $image"

bash "$check" "$objdump" "$work/exact.tsv" "$image" >"$work/exact.out" ||
    fail "a list of exactly the image's imports is refused: $(cat "$work/exact.out")"

# Two entries taken out (the first and the last): both, and only they, are named.
first=$(head -n 1 "$work/exact.tsv" | cut -f1,2 | tr '\t' '!')
last=$(tail -n 1 "$work/exact.tsv" | cut -f1,2 | tr '\t' '!')
sed '1d;$d' "$work/exact.tsv" >"$work/short.tsv"
if bash "$check" "$objdump" "$work/short.tsv" "$image" >"$work/short.out"; then
    fail "a list without $first and $last passes"
fi
named=$(grep -c "is not on the Windows 95 list" "$work/short.out")
[ "$named" -eq 2 ] || fail "$named imports named instead of 2: $(cat "$work/short.out")"
for entry in "$first" "$last"; do
    grep -qi -- " ${entry} is not on" "$work/short.out" || fail "$entry is not named"
done

# A header asking for subsystem 5.1 and OS 5.0 (what a newer linker writes by default).
offset=$(od -An -tu4 -j60 -N4 "$image" | tr -d ' ')
cp "$image" "$work/newer.img"
# Optional header from PE offset + 24: OS version at +40, subsystem version at +48.
printf '\005' | dd of="$work/newer.img" bs=1 seek=$((offset + 24 + 40)) conv=notrunc status=none
printf '\005\000\001' | dd of="$work/newer.img" bs=1 seek=$((offset + 24 + 48)) conv=notrunc \
    status=none
if bash "$check" "$objdump" "$work/exact.tsv" "$work/newer.img" >"$work/newer.out"; then
    fail "an image asking for Windows XP passes"
fi
for field in MajorSubsystemVersion MinorSubsystemVersion MajorOSystemVersion; do
    grep -q "$field is " "$work/newer.out" || fail "$field is not named: $(cat "$work/newer.out")"
done
grep -q "MinorOSystemVersion is " "$work/newer.out" && fail "MinorOSystemVersion 0 is refused"

# A missing image is a failure, not a silent pass.
bash "$check" "$objdump" "$work/exact.tsv" "$work/absent.exe" >/dev/null &&
    fail "a missing image passes"

[ "$failures" -eq 0 ] || exit 1
echo "OK: $entries imports; omissions, newer headers and missing images are caught"
