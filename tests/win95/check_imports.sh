#!/usr/bin/env bash
# Checks that Windows images load on Windows 95 and NT 4: every DLL!function they import is on
# the list of calls those systems have (tests/data/win95_imports.tsv), no delay-loaded imports,
# and the PE header asks for subsystem and OS version 4.0.
#   check_imports.sh OBJDUMP LIST IMAGE...
# Prints one line for every fault (IMAGE: DLL!function not on the list ...) and exits 1 if any.
set -uo pipefail
objdump=$1
list=$2
shift 2

# The allowed pairs, lower-case "dll!function", from the list's first two columns.
allowed=$(awk -F'\t' '!/^#/ && NF >= 2 && $1 != "" { print tolower($1) "!" $2 }' "$list" | sort -u)
[ -n "$allowed" ] || { echo "no entries in $list"; exit 1; }

faults=0
fault() { echo "$1"; faults=$((faults + 1)); }

# The image's imports, one "DLL!function" a line ("DLL!#ordinal" for imports by number).
list_imports()
{
    awk '
        /^\tDLL Name: / { dll = $3; inTable = 0; next }
        dll != "" && /^\tvma:/ { inTable = 1; next }
        inTable && /^[ \t]*$/ { dll = ""; inTable = 0; next }
        inTable {
            # "\t<vma>\t <hint>  <name>" for a named import, "<ordinal>" otherwise.
            if (NF >= 3) print dll "!" $3
            else if (NF >= 1) print dll "!#" $NF
        }' <<<"$1"
}

header_field() { awk -v f="$2" '$1 == f { print $2; exit }' <<<"$1"; }

for image in "$@"; do
    name=$(basename "$image")
    if [ ! -f "$image" ]; then
        fault "$name: no such image: $image"
        continue
    fi
    dump=$("$objdump" -p "$image") || { fault "$name: objdump cannot read $image"; continue; }

    for field in MajorSubsystemVersion MinorSubsystemVersion MajorOSystemVersion MinorOSystemVersion; do
        want=0
        case $field in Major*) want=4 ;; esac
        got=$(header_field "$dump" "$field")
        [ "$got" = "$want" ] || fault "$name: $field is ${got:-missing}, Windows 95 and NT 4 need $want"
    done

    delay=$(awk '$1 == "Entry" && $2 == "d" { print $3; exit }' <<<"$dump")
    [ -z "$delay" ] || [ "$delay" = "00000000" ] ||
        fault "$name: has delay-loaded imports, which this check does not read"

    imports=$(list_imports "$dump")
    [ -n "$imports" ] || fault "$name: no imports found (objdump output not understood)"
    count=$(grep -c . <<<"$imports")
    # Every import whose lower-cased DLL name and function are not a pair of the list.
    while IFS= read -r entry; do
        [ -n "$entry" ] && fault "$name: $entry is not on the Windows 95 list ($list)"
    done < <(awk -v allowed="$allowed" '
        BEGIN { n = split(allowed, pairs, "\n"); for (i = 1; i <= n; i++) known[pairs[i]] = 1 }
        {
            split($0, part, "!")
            if (!((tolower(part[1]) "!" substr($0, length(part[1]) + 2)) in known)) print
        }' <<<"$imports")
    echo "$name: $count imports read"
done

if [ "$faults" -gt 0 ]; then
    echo "FAILED: $faults fault(s)"
    exit 1
fi
echo "OK: every import is on the list, subsystem and OS version 4.0"
