#!/usr/bin/env bash
# Puts the stand-in program at every program path that the CD's utility list names, so that a
# click on a utility row starts something that says how it was started.
# Usage: add-standins.sh CD_DIR STANDIN_EXE
#
# The paths are the values of the "N_exe" and "N_exe_2k" keys of [Panel1] in CD_DIR/bmp.ini,
# relative to the CD root with backslashes; sections and keys are matched in any case, as the
# program reads them. A path that would leave the CD (absolute, a drive, "..") is refused.
set -euo pipefail

cd_dir=${1:?usage: add-standins.sh CD_DIR STANDIN_EXE}
standin=${2:?usage: add-standins.sh CD_DIR STANDIN_EXE}
ini=$cd_dir/bmp.ini
[ -f "$ini" ] || { echo "add-standins: no $ini" >&2; exit 1; }
[ -f "$standin" ] || { echo "add-standins: no stand-in program $standin" >&2; exit 1; }

paths=$(tr -d '\r' <"$ini" |
    awk '/^[ \t]*\[/ { s = tolower($0); gsub(/[ \t]/, "", s); next }
         s == "[panel1]" && tolower($0) ~ /^[ \t]*[0-9]+_exe(_2k)?[ \t]*=/ {
             sub(/^[^=]*=[ \t]*/, ""); sub(/[ \t]+$/, ""); if ($0 != "") print }' | sort -u)

count=0
refused=0
while IFS= read -r path; do
    [ -n "$path" ] || continue
    relative=${path//\\//}
    case /$relative/ in
    *'/../'* | *:* | //*)
        echo "add-standins: refusing \"$path\": it leaves the CD" >&2
        refused=$((refused + 1))
        continue ;;
    esac
    case $relative in */) echo "add-standins: refusing \"$path\": no file name" >&2
        refused=$((refused + 1)); continue ;; esac
    mkdir -p "$cd_dir/$(dirname "$relative")"
    cp "$standin" "$cd_dir/$relative"
    count=$((count + 1))
done <<<"$paths"

echo "add-standins: $count program(s) in $cd_dir"
[ "$refused" -eq 0 ]
