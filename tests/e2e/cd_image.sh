#!/usr/bin/env bash
# The CD as it ships: scripts/make-cd-image.sh makes the ISO image of the demo CD (with the
# x86_64 program, a board and the stand-ins), the image carries its volume label in its Joliet
# and ISO 9660 descriptors and every name unchanged in its Joliet tree, and the Joliet tree taken
# out with osirrox, on drive E: of type CD-ROM, runs the program under Wine (XP): it sees a CD-ROM
# drive, shows its window and tova-sim's rows, a click on a driver row starts that package's
# setup program in its folder, and nothing on the CD is written.
#   cd_image.sh TOVA_SIM
. "$(dirname "$0")/e2e_lib.sh"
sim=${1:?the tova-sim program}
board=$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board
image=$TOVA_E2E_WORK/tova-demo.iso
disc=$TOVA_E2E_WORK/disc
art=$TOVA_E2E_ARTIFACTS

# The taken-out tree is read-only, as a CD is; an earlier run's must be made removable.
if [ -d "$disc" ]; then chmod -R u+w "$disc" && rm -rf "$disc"; fi
e2e_begin
e2e_system winxp
calls=$WINEPREFIX/drive_c/setup-calls.log

# --- The image.
rm -f "$image"
bash "$TOVA_SOURCE_DIR/scripts/make-cd-image.sh" --win "$TOVA_E2E_WIN64_DIR" --board "$board" \
    --standins "$image" >"$art/make-cd-image.txt" 2>&1 || {
    cat "$art/make-cd-image.txt"
    e2e_abort "make-cd-image.sh failed"
}
cat "$art/make-cd-image.txt"
[ -s "$image" ] || e2e_abort "no image at $image"
grep -F "make-cd-image: $image (" "$art/make-cd-image.txt" >/dev/null &&
    e2e_pass "make-cd-image.sh says what it made" || e2e_fail "make-cd-image.sh says what it made"

# labels IMAGE: the volume label of the ISO 9660 descriptor and of the Joliet one (the
# supplementary descriptor with a UCS-2 escape sequence), as "iso|joliet".
labels() {
    python3 - "$1" <<'EOF'
import sys
iso = joliet = "-"
with open(sys.argv[1], "rb") as f:
    for sector in range(16, 64):
        f.seek(sector * 2048)
        d = f.read(2048)
        if d[1:6] != b"CD001" or d[0] == 255:
            break
        if d[0] == 1:
            iso = d[40:72].decode("ascii").rstrip()
        elif d[0] == 2 and d[88:91] in (b"%/@", b"%/C", b"%/E"):
            joliet = d[40:72].decode("utf-16-be").rstrip()
print(iso + "|" + joliet)
EOF
}
label=$(tr -d '\r' <"$TOVA_SOURCE_DIR/demo/cd/autorun.inf" | sed -n 's/^label=//p')
e2e_expect_eq "the image's ISO 9660 and Joliet labels are autorun.inf's label" "$label|$label" \
    "$(labels "$image")"

# The Joliet tree (what Windows reads) names every file as the Rock Ridge tree (the staged
# folder's own names) does; without Rock Ridge the names would be ISO 9660's, upper case 8.3.
osirrox -read_fs nojoliet -indev "$image" -find / -type f >"$art/rockridge.txt" 2>/dev/null
osirrox -read_fs norock -indev "$image" -find / -type f >"$art/joliet.txt" 2>/dev/null
files=$(grep -c . "$art/rockridge.txt")
if [ "$files" -gt 100 ] && diff "$art/rockridge.txt" "$art/joliet.txt" >"$art/names.diff"; then
    e2e_pass "the Joliet tree keeps the names of all $files files"
else
    e2e_fail "the Joliet tree keeps the names of all $files files (names.diff)"
fi
for file in autorun.inf id.log tova.exe roduru.dll bmp.ini tova.txt; do
    grep -Fx "'/$file'" "$art/joliet.txt" >/dev/null || e2e_fail "the image has $file at its root"
done

# --- The drive: the Joliet tree as it comes out of the image.
osirrox -read_fs norock -indev "$image" -extract / "$disc" >"$art/osirrox.txt" 2>&1 ||
    e2e_abort "osirrox cannot take the files out of the image"
e2e_expect_eq "every file of the image came out" "$files" "$(find "$disc" -type f | wc -l)"
e2e_expect_eq "the taken-out files are read-only" 0 "$(find "$disc" -type f -perm /222 | wc -l)"
exe=$(tova_demo_find "$TOVA_E2E_WIN64_DIR" tova.exe)
e2e_expect_eq "the image's tova.exe is the build's" "$(md5sum <"$exe")" "$(md5sum <"$disc/tova.exe")"
# fingerprint: every file's and folder's name, size, time, mode and contents.
fingerprint() {
    (cd "$disc" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum)
}
fingerprint >"$art/disc-before.txt"
E2E_CD=$disc
tova_drive e "$disc" cdrom || e2e_abort "no CD-ROM drive E:"
read -r drive_type _ <<<"$(inspector drive e)"
e2e_expect_eq "Windows reports drive E: as a CD-ROM drive" cdrom "$drive_type"
"$sim" lint --drive "E=$disc" >"$art/lint.txt" 2>&1
e2e_expect_eq "tova-sim lint finds no error on the image's files" 0 "$(grep -c '^error' "$art/lint.txt")"

# --- The program from the CD-ROM drive.
title=$(e2e_demo_title)
rm -f "$calls"
e2e_start_tova
inspector wait "$title" 30000 >/dev/null || {
    e2e_fail "a window titled \"$title\" appears"
    e2e_end
}
e2e_pass "a window titled \"$title\" appears"
inspector settled "$title" >/dev/null 2>&1 || sleep 1
tova_screenshot "$art/panel0.png" || e2e_abort "no screenshot"
read -r cx cy _ ch <<<"$(inspector clientrect "$title")"

# The rows: the row check boxes' captions are tova-sim's install list on the same files.
inspector list >"$art/windows.txt"
"$sim" start --drive "E=$disc" --board "$board" --os "$E2E_SIM_OS" >"$art/sim-start.txt"
sed -n 's/^item\.[0-9]*=//p' "$art/sim-start.txt" >"$art/items.txt"
cut -f3 "$art/items.txt" >"$art/list-sim.txt"
rows=$(grep -c . "$art/list-sim.txt")
for ((row = 0; row < 30; row++)); do
    grep -P "^  window\t.*\tid=$((200 + row))\t.*\tclass=Button\t" "$art/windows.txt" |
        sed -n '1s/.*\ttext=//p'
done >"$art/list-wine.txt"
if [ "$rows" -gt 0 ] && diff "$art/list-sim.txt" "$art/list-wine.txt" >"$art/list.diff"; then
    e2e_pass "the window's $rows rows are tova-sim's install list"
else
    e2e_fail "the window's rows are tova-sim's install list (list.diff)"
    cat "$art/list.diff"
fi

# One installation: Rapid Setup is off, so a click on row 0's text runs its setup program by
# itself, from the package's folder on the CD.
IFS=$'\t' read -r _ _ caption folder setup version _ <<<"$(sed -n 1p "$art/items.txt")"
read -r _ _ box_top _ box_bottom <<<"$(grep -P '^  window\t.*\tid=200\t' "$art/windows.txt" |
    grep -o 'rect=[-0-9,]*' | tr '=,' '  ')"
xdotool mousemove $((cx + 280)) $(((box_top + box_bottom) / 2)) click 1
for _ in $(seq 100); do [ -s "$calls" ] && break; sleep 0.2; done
cp "$calls" "$art/setup-calls.log" 2>/dev/null
package="e:\\${folder}${setup}"
package=$(printf '%s' "$package" | tr 'A-Z' 'a-z')
e2e_expect_eq "a click on row 0 ($caption) starts its setup program once, in its folder" \
    "\"$package\"|${package%\\*}" "$(tr -d '\r' <"$calls" 2>/dev/null | tr 'A-Z\t' 'a-z|' | cut -d'|' -f1,2)"
e2e_expect_eq "the installed version of row 0 is recorded" "$version" \
    "$("$TOVA_WINE" reg query 'HKCU\Software\Fetchyard' /v "$caption" 2>/dev/null | tr -d '\r' |
        awk -F'    ' 'NF >= 4 { print $4 }')"
inspector settled "$title" >/dev/null 2>&1 || sleep 1
tova_screenshot "$art/after-install.png" || e2e_abort "no screenshot"
# The status column, one band a row: every row white before, row 0 yellow (installed) after.
white=$(printf 'W%.0s' $(seq "$rows"))
e2e_expect_eq "before the click no row is shown installed" "$white" \
    "$(e2e_status_bands "$art/panel0.png" "$cx" "$cy" "$ch")"
e2e_expect_eq "after it row 0 is shown installed" "Y${white#W}" \
    "$(e2e_status_bands "$art/after-install.png" "$cx" "$cy" "$ch")"

inspector close "$title" >/dev/null
e2e_expect_exit "tova.exe ends with code 0 when the dialog is closed" "$E2E_TOVA_PID" 0 20
fingerprint >"$art/disc-after.txt"
if diff "$art/disc-before.txt" "$art/disc-after.txt" >"$art/disc.diff"; then
    e2e_pass "nothing on the CD was written"
else
    e2e_fail "nothing on the CD was written (disc.diff)"
fi
chmod -R u+w "$disc"
e2e_end
