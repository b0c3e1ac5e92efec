#!/usr/bin/env bash
# The skinned window of the x86_64 tova.exe under Wine on the demo CD, on the Windows named (XP
# by default; on the 9x family the program probes the board with port instructions of its own,
# which roduru.dll's trap answers): the install list its row check boxes carry equal to tova-sim's
# for that system, Panel0 painted with the CD's background and the program's header strip, its
# driver rows with the one driver the Wine registry records as installed in yellow, and the system
# report of Panel3 equal, line for line where it comes from the registry, to the one tova-sim
# composes from the same registry exported from the prefix, its first line the board's BIOS text.
#   panels.sh DPI TOVA_SIM [SYSTEM [BOARD]]    BOARD: a demo board's name (default ich4-845pe)
#                                               or a board file
. "$(dirname "$0")/e2e_lib.sh"
dpi=${1:?DPI}
sim=${2:?the tova-sim program}
system=${3:-winxp}
convert=/usr/bin/convert
board=$TOVA_SOURCE_DIR/demo/boards/${4:-ich4-845pe}.board
if [ -f "${4:-}" ]; then board=$4; fi
installed='Intel PRO/100 VE Network Driver'

e2e_begin
e2e_system "$system"
if [ "$dpi" != 96 ]; then tova_wine_dpi "$dpi" || e2e_abort "cannot set $dpi dpi"; fi
# One driver recorded as installed, as the maker's download utility or an earlier run leaves it.
"$TOVA_WINE" reg add 'HKCU\Software\Fetchyard' /v "$installed" /t REG_SZ /d V7.1 /f >/dev/null ||
    e2e_abort "cannot record the installed driver"
# A PCI device with its driver, so the report has driver lines read from the real registry: where
# the NT family or the 9x family keeps them.
instance='VEN_8086&DEV_1039&SUBSYS_30138086&REV_81\3&61AAA01&0&40'
if e2e_is_9x; then
    enum_root='HKLM\Enum\PCI'
    class_root='HKLM\System\CurrentControlSet\Services\Class'
    driver_value='Net\0001'
    version_value=Ver
    exported=('HKEY_LOCAL_MACHINE\Enum\PCI' 'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class')
else
    enum_root='HKLM\SYSTEM\CurrentControlSet\Enum\PCI'
    class_root='HKLM\SYSTEM\CurrentControlSet\Control\Class'
    driver_value='{4D36E972-E325-11CE-BFC1-08002BE10318}\0001'
    version_value=DriverVersion
    exported=('HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\PCI'
        'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class')
fi
driver="$class_root\\$driver_value"
"$TOVA_WINE" reg add "$enum_root\\$instance" /v Driver /t REG_SZ /d "$driver_value" /f >/dev/null &&
    "$TOVA_WINE" reg add "$driver" /v DriverDesc /t REG_SZ /d 'Intel(R) PRO/100 VE Network Connection' /f >/dev/null &&
    "$TOVA_WINE" reg add "$driver" /v "$version_value" /t REG_SZ /d 7.1.11.0 /f >/dev/null &&
    "$TOVA_WINE" reg add "$driver" /v DriverDate /t REG_SZ /d 4-2-2003 /f >/dev/null &&
    "$TOVA_WINE" reg add "$driver" /v ProviderName /t REG_SZ /d Intel /f >/dev/null ||
    e2e_abort "cannot enumerate the network device"
e2e_stage_cd "$board"
title=$(e2e_demo_title)

e2e_start_tova
inspector wait "$title" 30000 >/dev/null || {
    e2e_fail "a window titled \"$title\" appears"
    e2e_end
}
inspector settled "$title" >/dev/null 2>&1 || sleep 1
shot=$TOVA_E2E_ARTIFACTS/panel0-${dpi}dpi.png
tova_screenshot "$shot" || e2e_abort "no screenshot"
read -r cx cy cw ch <<<"$(inspector clientrect "$title")"
echo "client area at $cx,$cy size ${cw}x$ch"

# same_region WHAT PICTURE PX PY CLIENT_X CLIENT_Y W H: the screen shows the picture's region.
same_region() {
    local differing
    differing=$("$convert" "$shot" -crop "${7}x${8}+$((cx + $5))+$((cy + $6))" +repage \
        \( "$2" -crop "${7}x${8}+$3+$4" +repage \) -metric AE -compare -format '%[distortion]' info: 2>&1)
    e2e_expect_eq "$1" 0 "$differing"
}
pictures=$TOVA_E2E_WORK/res
bash "$TOVA_SOURCE_DIR/src/res/draw_bitmaps.sh" "$pictures" >/dev/null || e2e_abort "cannot draw the bitmaps"
# Right end of the header strip: no header text reaches it.
same_region "the header strip is drawn at (200, 15)" "$pictures/header.bmp" 400 0 600 15 30 50
# Between the header and the first row nothing but the background.
same_region "the CD's background fills the client area" "$E2E_CD/bmp/bk.bmp" 205 70 205 70 100 30

# The install list: the row check boxes' captions (hidden outside Rapid Setup, there all the
# same) are tova-sim's rows for the board and system.
inspector list >"$TOVA_E2E_ARTIFACTS/windows.txt"
"$sim" start --drive "E=$E2E_CD" --board "$board" --os "$E2E_SIM_OS" >"$TOVA_E2E_ARTIFACTS/sim-start.txt"
sed -n 's/^item\.[0-9]*=//p' "$TOVA_E2E_ARTIFACTS/sim-start.txt" | cut -f3 >"$TOVA_E2E_ARTIFACTS/list-sim.txt"
rows=$(grep -c . "$TOVA_E2E_ARTIFACTS/list-sim.txt")
for ((row = 0; row < 30; row++)); do
    grep -P "^  window\t.*\tid=$((200 + row))\t.*\tclass=Button\t" "$TOVA_E2E_ARTIFACTS/windows.txt" |
        sed -n '1s/.*\ttext=//p'
done >"$TOVA_E2E_ARTIFACTS/list-wine.txt"
if [ "$rows" -gt 0 ] && diff "$TOVA_E2E_ARTIFACTS/list-sim.txt" "$TOVA_E2E_ARTIFACTS/list-wine.txt" \
    >"$TOVA_E2E_ARTIFACTS/list.diff"; then
    e2e_pass "the window's $rows rows are tova-sim's install list on $E2E_SIM_OS"
else
    e2e_fail "the window's rows are tova-sim's install list on $E2E_SIM_OS (list.diff)"
    cat "$TOVA_E2E_ARTIFACTS/list.diff"
fi

# The status column: one band of text a row, yellow for the installed driver, white for the
# others; NT 4 draws no status column.
expected_bands=$(awk -v done="$installed" '{ printf "%s", ($0 == done ? "Y" : "W") }' \
    "$TOVA_E2E_ARTIFACTS/list-sim.txt")
[ "$E2E_SIM_OS" != nt4 ] || expected_bands=
e2e_status_bands "$shot" "$cx" "$cy" "$ch" >"$TOVA_E2E_ARTIFACTS/status-bands.txt"
e2e_expect_eq "status column: the installed driver yellow, the other rows white" "$expected_bands" \
    "$(cat "$TOVA_E2E_ARTIFACTS/status-bands.txt")"

# The report: the text of edit box 1003 against tova-sim's, from the same registry.
grep -P '^  window\t.*\tid=1003\t' "$TOVA_E2E_ARTIFACTS/windows.txt" | sed 's/.*\ttext=//' |
    sed 's/\\n/\n/g' >"$TOVA_E2E_ARTIFACTS/report-wine.txt"
for key in "${exported[@]}" 'HKEY_LOCAL_MACHINE\Hardware\Description\System\CentralProcessor\0'; do
    rm -f "$TOVA_E2E_WORK/export.reg"
    "$TOVA_WINE" regedit /E 'C:\export.reg' "$key" >/dev/null 2>&1
    cp "$WINEPREFIX/drive_c/export.reg" "$TOVA_E2E_WORK/export.reg" 2>/dev/null ||
        e2e_abort "cannot export $key"
    iconv -f UTF-16LE -t UTF-8 "$TOVA_E2E_WORK/export.reg" | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//'
done | awk 'NR == 1 || !/^Windows Registry Editor/' >"$TOVA_E2E_ARTIFACTS/prefix.reg"
printf 'dump report\n' |
    "$sim" session --drive "E=$E2E_CD" --board "$board" --os "$E2E_SIM_OS" \
        --registry "$TOVA_E2E_ARTIFACTS/prefix.reg" --script - |
    sed -n 's/^systemReport=//p' | sed 's/\\x0D\\x0A/\n/g; s/\\x0D//g' >"$TOVA_E2E_ARTIFACTS/report-sim.txt"
# The processor vendor and the memory are the machine's own under Wine, the board's in tova-sim.
strip() { grep -v -e '^CPU : ' -e '^Memory size: ' "$1"; }
if diff <(strip "$TOVA_E2E_ARTIFACTS/report-sim.txt") <(strip "$TOVA_E2E_ARTIFACTS/report-wine.txt") \
    >"$TOVA_E2E_ARTIFACTS/report.diff"; then
    e2e_pass "the report of the real registry equals tova-sim's from its export"
else
    e2e_fail "the reports differ (report.diff)"
    cat "$TOVA_E2E_ARTIFACTS/report.diff"
fi
grep -q '^Description: Intel(R) PRO/100 VE Network Connection$' "$TOVA_E2E_ARTIFACTS/report-wine.txt" &&
    e2e_pass "the report lists the enumerated device with its driver" ||
    e2e_fail "the report lists the enumerated device with its driver"
# The first line: the board's BIOS text, through the library's mapping on the NT family, from
# the ROM image at 0xF0000 on the 9x family (not whatever else lies there).
bios=$(grep -E '^bios ' "$board" | grep -o 'text="[^"]*"' | sed 's/^text="//; s/"$//')
e2e_expect_eq "the report's first line is the board's BIOS text" "BIOS Info :$bios" \
    "$(sed -n 1p "$TOVA_E2E_ARTIFACTS/report-wine.txt")"

inspector close "$title" >/dev/null
e2e_expect_exit "tova.exe ends with code 0 when the dialog is closed" "$E2E_TOVA_PID" 0 20
e2e_end
