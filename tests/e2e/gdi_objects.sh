#!/usr/bin/env bash
# The GDI objects the x86_64 tova.exe holds under Wine (reporting Windows XP) once Panel0 of the
# demo CD is painted: one bitmap per distinct picture the CD's content file names, shared by
# every panel, plus a few objects of the program's own. Loading a picture once per item that
# names it (some 240 loads for 70 files) would break the bound many times over.
#   gdi_objects.sh
. "$(dirname "$0")/e2e_lib.sh"
# What the process holds besides the pictures: its font, the dialog's and its controls' device
# contexts, brushes and regions, and the bitmaps Wine keeps for the window, the check boxes and
# the tooltips. Under Wine 8 with the demo CD that is 63 (133 objects, 94 of them bitmaps);
# loading every picture once per item that names it gave 307 (268 bitmaps).
GDI_OWN_OBJECTS=80

e2e_begin
e2e_system winxp
e2e_stage_cd "$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board"
title=$(e2e_demo_title)
[ -n "$title" ] || e2e_abort "the demo CD has no title"

# The distinct picture files the content file names (looks, masks, backgrounds, marquees, the
# return strip), compared as Windows compares names, and present on the CD.
pictures=0
while IFS= read -r name; do
    [ -f "$E2E_CD/$name" ] && pictures=$((pictures + 1))
done < <(tr -d '\r' <"$E2E_CD/bmp.ini" |
    awk -F= '$1 ~ /(bmp|bmp_m)$/ || $1 == "BK" || $1 == "MQ" || $1 == "MQ_BK" || $1 == "rtnblk" {
        if ($2 != "") print tolower($2) }' | sort -u | tr '\\' '/')
[ "$pictures" -gt 50 ] || e2e_abort "the demo CD names only $pictures pictures"
echo "pictures: $pictures distinct files"

e2e_start_tova
if ! inspector settled "$title" 30000 >/dev/null; then
    e2e_fail "a window titled \"$title\" is painted"
    e2e_end
fi
tova_screenshot "$TOVA_E2E_ARTIFACTS/panel0.png" || e2e_fail "screenshot"
counts=$(inspector gdi "$title") || e2e_abort "the inspector cannot read the GDI objects"
echo "$counts" >"$TOVA_E2E_ARTIFACTS/gdi.txt"
gdi=$(grep -P '^gdi\t' <<<"$counts" | cut -f2)
echo "GDI objects after Panel0 is painted: $gdi (bound: $pictures + $GDI_OWN_OBJECTS)"
if [ "$gdi" -le $((pictures + GDI_OWN_OBJECTS)) ]; then
    e2e_pass "GDI objects $gdi <= $pictures pictures + $GDI_OWN_OBJECTS"
else
    e2e_fail "GDI objects $gdi <= $pictures pictures + $GDI_OWN_OBJECTS"
fi
# Every picture is held: fewer objects than pictures would mean the count misses them.
if [ "$gdi" -ge "$pictures" ]; then
    e2e_pass "the count holds the $pictures pictures ($gdi)"
else
    e2e_fail "the count holds the $pictures pictures ($gdi)"
fi

inspector close "$title" >/dev/null
e2e_expect_exit "tova.exe ends with code 0 when the dialog is closed" "$E2E_TOVA_PID" 0 20
e2e_end
