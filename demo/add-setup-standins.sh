#!/usr/bin/env bash
# Puts the stand-in setup program in place of every placeholder setup program of a staged CD, so
# that installing a driver package runs something that notes how it was started and answers as
# a silent setup does.
# Usage: add-setup-standins.sh CD_DIR STANDIN_EXE
#
# The placeholders are the files make-cd.sh writes at each package's setup program name: text
# files whose first line is its placeholder mark. Any other file is left as it is.
set -euo pipefail

cd_dir=${1:?usage: add-setup-standins.sh CD_DIR STANDIN_EXE}
standin=${2:?usage: add-setup-standins.sh CD_DIR STANDIN_EXE}
[ -d "$cd_dir" ] || { echo "add-setup-standins: no CD folder $cd_dir" >&2; exit 1; }
[ -f "$standin" ] || { echo "add-setup-standins: no stand-in program $standin" >&2; exit 1; }
# The same mark as make-cd.sh's PLACEHOLDER_MARK.
mark='tova demo CD: placeholder setup program'

count=0
while IFS= read -r -d '' file; do
    first=$(head -n 1 "$file" | tr -d '\r')
    [ "$first" = "$mark" ] || continue
    cp "$standin" "$file"
    count=$((count + 1))
done < <(find "$cd_dir" -type f -size -2k -print0)

if [ "$count" -eq 0 ]; then
    echo "add-setup-standins: no placeholder setup program in $cd_dir" >&2
    exit 1
fi
echo "add-setup-standins: $count setup program(s) in $cd_dir"
