#!/usr/bin/env bash
# Makes the image of the driver CD that is burnt or handed out: ISO 9660 with Joliet names (what
# Windows reads) and Rock Ridge, made by xorriso from the staged demo CD or from a CD folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    cat <<'EOF'
usage: scripts/make-cd-image.sh [OPTIONS] [OUT.iso]
  OUT.iso          the image to write (default build/cd-image/tova-demo.iso)
options:
  --from DIR       image the CD folder DIR as it is (it must hold id.log and autorun.inf);
                   without it the demo CD is staged (demo/make-cd.sh) with the program:
  --win DIR        the Windows build whose tova.exe and roduru.dll go on the CD
                   (default build/i686, the build that ships)
  --board BOARD    a demo board's name or a board file, put beside the program as
                   roduru.board (for running the image under Wine; default none)
  --standins       the stand-in programs of the Windows build at every utility's and
                   package's setup program, so that a click installs something that says
                   how it was started (for tests; default the placeholders of make-cd.sh)
  --label LABEL    the volume label (default the "label=" of the CD's autorun.inf)
A label is 1 to 16 of A-Z, 0-9 and _: ISO 9660 takes only those, and Windows shows the
Joliet label, which holds 16 characters.
EOF
}

fail() {
    echo "make-cd-image: $*" >&2
    exit 1
}

from= win=$top/build/i686 board= standins=0 label= out=
while [ $# -gt 0 ]; do
    case $1 in
    -h | --help) usage; exit 0 ;;
    --from) from=${2:?--from DIR}; shift 2 ;;
    --win) win=${2:?--win DIR}; shift 2 ;;
    --board) board=${2:?--board BOARD}; shift 2 ;;
    --standins) standins=1; shift ;;
    --label) label=${2:?--label LABEL}; shift 2 ;;
    -*) usage >&2; exit 2 ;;
    *)
        [ -z "$out" ] || { usage >&2; exit 2; }
        out=$1
        shift ;;
    esac
done
out=${out:-$top/build/cd-image/tova-demo.iso}
if [ -n "$from" ] && { [ -n "$board" ] || [ "$standins" = 1 ]; }; then
    echo "make-cd-image: --board and --standins stage the demo CD; --from takes a CD as it is" >&2
    exit 2
fi
command -v xorriso >/dev/null || fail "xorriso is missing (scripts/setup.sh installs it)"

. "$top/scripts/wine-env.sh"
. "$top/scripts/demo-env.sh"

# stage DEST: the demo CD with its pictures, the program, and what the options add.
stage() {
    local dest=$1 exe dll standin setup
    exe=$(tova_demo_find "$win" tova.exe)
    dll=$(tova_demo_find "$win" roduru.dll)
    [ -n "$exe" ] && [ -n "$dll" ] ||
        fail "no tova.exe and roduru.dll under $win (build first: scripts/build.sh)"
    bash "$top/demo/make-cd.sh" "$dest" >/dev/null || fail "demo/make-cd.sh failed"
    cp "$exe" "$dll" "$dest/"
    if [ -n "$board" ]; then
        if [ -f "$top/demo/boards/$board.board" ]; then board=$top/demo/boards/$board.board; fi
        [ -f "$board" ] || fail "no board '$board'"
        cp "$board" "$dest/roduru.board"
    fi
    if [ "$standins" = 1 ]; then
        standin=$(tova_demo_find "$win" standin.exe)
        setup=$(tova_demo_find "$win" setup_standin.exe)
        [ -n "$standin" ] && [ -n "$setup" ] || fail "no standin.exe and setup_standin.exe under $win"
        bash "$top/demo/add-standins.sh" "$dest" "$standin" >/dev/null
        bash "$top/demo/add-setup-standins.sh" "$dest" "$setup" >/dev/null
    fi
}

# autorun_label CD: the first "label=" value of [autorun] in the CD's autorun.inf (keys and
# sections in any case, as Windows reads them).
autorun_label() {
    tr -d '\r' <"$1/autorun.inf" |
        awk '/^[ \t]*\[/ { s = tolower($0); gsub(/[ \t]/, "", s); next }
             !found && s == "[autorun]" && tolower($0) ~ /^[ \t]*label[ \t]*=/ {
                 sub(/^[^=]*=[ \t]*/, ""); sub(/[ \t]+$/, ""); print; found = 1 }'
}

mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$from" ]; then
    [ -d "$from" ] || fail "no CD folder $from"
    cd_dir=$(cd "$from" && pwd)
else
    cd_dir=$work/cd
    stage "$cd_dir"
fi
# An image written inside the folder it is made of would hold part of itself.
case $out in "$cd_dir"/*) fail "$out lies inside the CD folder $cd_dir" ;; esac
[ -f "$cd_dir/id.log" ] || fail "$cd_dir has no id.log: the program would not find its CD"
# The CD starts by itself only with autorun.inf at its root.
[ -f "$cd_dir/autorun.inf" ] || fail "$cd_dir has no autorun.inf: the CD would not start by itself"

if [ -z "$label" ]; then
    label=$(autorun_label "$cd_dir")
    [ -n "$label" ] || fail "$cd_dir/autorun.inf has no label= (or give --label)"
fi
[[ $label =~ ^[A-Z0-9_]{1,16}$ ]] ||
    fail "label '$label': use 1 to 16 of A-Z, 0-9 and _ (ISO 9660 takes no others, Joliet 16 at most)"

# -r: Rock Ridge with every file readable by all and owned by root, as a pressed CD is; names
# are read as UTF-8 whatever this machine's locale is. Warnings name files that keep a changed
# name or none in the Joliet tree ("tova-sim lint" reports them before this step).
rm -f "$out"
log=$work/xorriso.log
if ! xorriso -as mkisofs -input-charset UTF-8 -r -J -V "$label" -o "$out" "$cd_dir" >"$log" 2>&1; then
    cat "$log" >&2
    fail "xorriso failed"
fi
grep -i 'warning' "$log" >&2 || true
files=$(find "$cd_dir" -type f | wc -l)
if [ -n "$from" ]; then what="the CD folder $cd_dir"; else what="the demo CD"; fi
echo "make-cd-image: $out ($(($(stat -c %s "$out") / 1024)) KiB, $files files of $what, label $label)"
