#!/usr/bin/env bash
# The title helper of the demo scripts, called many times under pipefail as run-demo.sh calls
# it: on the demo CD and on a bmp.ini of 64 KB whose title comes first, it must give the title
# every time (a reader that stops at the title line kills its writer with SIGPIPE now and then).
#   title_helper.sh SOURCE_DIR [CALLS]
set -euo pipefail
top=${1:?the source tree}
calls=${2:-500}
. "$top/scripts/demo-env.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
expected=$(awk -F= 'tolower($1) == "title" { sub(/\r$/, "", $2); print $2 }' "$top/demo/cd/bmp.ini" |
    sed -n 1p)
[ -n "$expected" ] || { echo "FAIL: the demo CD's bmp.ini has no title line"; exit 1; }

mkdir -p "$work/big"
{
    printf '[Common]\r\n  Title = First Title  \r\ntitle=Second Title\r\n'
    for ((i = 0; i < 2000; i++)); do printf 'Item%d=bmp\\pad%05d.bmp,1,2,3\r\n' "$i" "$i"; done
    printf '[Other]\r\ntitle=Not This\r\n'
} >"$work/big/bmp.ini"

failures=0
check() {
    local cd=$1 want=$2 i got
    for ((i = 0; i < calls; i++)); do
        if ! got=$(tova_demo_title "$cd"); then
            echo "FAIL: call $i on $cd ended with status $?"
            failures=$((failures + 1))
        elif [ "$got" != "$want" ]; then
            echo "FAIL: call $i on $cd gave [$got], expected [$want]"
            failures=$((failures + 1))
        fi
    done
}
check "$top/demo/cd" "$expected"
check "$work/big" "First Title"
# A title in another section, or none at all, gives nothing and succeeds.
printf '[Other]\r\ntitle=x\r\n' >"$work/big/bmp.ini"
check "$work/big" ""

echo "$((3 * calls - failures)) passed, $failures failed"
[ "$failures" = 0 ]
