#!/usr/bin/env bash
# The x86_64 tova.exe under Wine (reporting Windows XP) on demo CDs broken on purpose, one start
# per broken CD (tests/e2e/hostile_cd.py breaks them): the real LoadImageA, GetPrivateProfileStringA
# and edit boxes get truncated and lying bitmaps, empty and huge profile files, an over-long
# readme and tooltip, a driver list with NUL bytes and short lines, and texts that end in a Big5
# lead byte. Each start must show the window titled as tova-sim says, with tova-sim's install
# list, draw itself, and end with code 0 when closed; no crash box may appear, Wine may report no
# unhandled fault, and nothing may change on the CD or outside the prefix. What each start
# showed goes to shown.txt and a screenshot per case.
#   hostile_cd.sh GROUP TOVA_SIM
#     GROUP: bitmaps | profiles | texts | big5 (Wine's default code page 1252) |
#            big5-950 (Wine in Traditional Chinese: LANG=zh_TW.UTF-8, code page 950)
. "$(dirname "$0")/e2e_lib.sh"
group=${1:?GROUP}
sim=${2:?the tova-sim program}
board=$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board
breaker=$TOVA_SOURCE_DIR/tests/e2e/hostile_cd.py
sim_locale=()
case $group in
    bitmaps) cases=(bitmap-cut bitmap-lie) ;;
    profiles) cases=(ini-empty ini-huge) ;;
    texts) cases=(readme-large tip-long list-broken list-nul) ;;
    big5) cases=(big5-tail) ;;
    big5-950)
        cases=(big5-tail)
        sim_locale=(--lang 0x0404 --codepage 950)
        ;;
    *) e2e_abort "no group $group" ;;
esac
# Wine's own words for a fault nobody handled, in the program's output.
fault_pattern='Unhandled|page fault|privileged instruction|starting debugger|wine: .*exception'

e2e_begin
e2e_system winxp
if [ "$group" = big5-950 ]; then
    # Every Wine process from here on runs in the Traditional Chinese locale, with its font.
    tova_chinese_locale || e2e_abort "no Traditional Chinese locale"
    tova_chinese_fonts || e2e_abort "cannot link the Chinese font"
fi
e2e_stage_cd "$board"
pristine=$TOVA_E2E_WORK/cd-pristine
rm -rf "$pristine"
cp -a "$E2E_CD" "$pristine"
shown=$TOVA_E2E_ARTIFACTS/shown.txt
: >"$shown"

# escaped: bytes outside printable ASCII as \xHH, as tova-sim writes them.
escaped() { LC_ALL=C perl -pe 's/([^\x20-\x7e\n])/sprintf("\\x%02X", ord($1))/ge'; }
# cd_sums: a checksum of every file of the CD, with its name.
cd_sums() { (cd "$E2E_CD" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
note() { printf '%s: %s\n' "$case_name" "$*" | tee -a "$shown"; }
# crash_boxes: windows of Wine's crash dialog now on the screen.
crash_boxes() { inspector list | grep -acP '\ttext=Program Error$' || true; }
# row_captions: the captions of the row check boxes in the last window list, one a line.
row_captions() {
    local id
    for ((id = 200; id < 230; id++)); do
        grep -aP "^  window\t.*\tid=$id\t.*\tclass=Button\t" "$art/windows.txt" | sed -n '1s/.*\ttext=//p'
    done | escaped
}
# snap NAME: the screen once the window has settled, kept as NAME.png of the case.
snap() {
    inspector settled "$wine_title" >/dev/null 2>&1 || echo "note: the window did not settle before $1"
    tova_screenshot "$art/$1.png" || e2e_fail "$case_name: screenshot $1"
}
click() { xdotool mousemove $((cx + $1)) $((cy + $2)) click 1; }
point() { xdotool mousemove $((cx + $1)) $((cy + $2)); }

# The checks that only some cases have, run while the window is up.
check_readme() {
    click 98 $((204 + 21))
    snap panel2
    tova_wine 'T:\inspector.exe' text "$wine_title" 1002 >"$art/readme-shown.txt" ||
        e2e_fail "$case_name: the readme box's text can be read"
    local size shown_size
    size=$(stat -c %s "$E2E_CD/readme.txt")
    shown_size=$(stat -c %s "$art/readme-shown.txt")
    note "readme.txt of $size bytes, the readme box holds $shown_size bytes"
    local want got
    want=$(sed -n 's/^readmeBox=[01]\t//p' "$art/sim-panels.txt")
    got=$(LC_ALL=C perl -0777 -pe 's/([^\x20-\x7e])/sprintf("\\x%02X", ord($1))/ge' <"$art/readme-shown.txt")
    e2e_expect_eq "$case_name: the readme box holds tova-sim's readme text (${#want} escaped bytes)" \
        "$(sha256sum <<<"$want")" "$(sha256sum <<<"$got")"
    if [ "$case_name" = readme-large ]; then
        e2e_expect_eq "$case_name: the readme box holds the file's first 65535 bytes" \
            "$(head -c 65535 "$E2E_CD/readme.txt" | sha256sum)" "$(sha256sum <"$art/readme-shown.txt")"
    fi
    click 98 $((104 + 21))
}
# tip_shown X Y: the text of the tooltip that appears with the pointer at client (X, Y).
tip_shown() {
    point 400 60
    sleep 0.3
    point "$1" "$2"
    local i
    for ((i = 0; i < 30; i++)); do
        sleep 0.2
        inspector list >"$art/tips.txt"
        if grep -aqP '^window\t.*\tvisible=1\tclass=tooltips_class32\t.*\ttext=.' "$art/tips.txt"; then
            grep -aP '^window\t.*\tvisible=1\tclass=tooltips_class32\t' "$art/tips.txt" |
                sed -n '1s/.*\ttext=//p'
            return 0
        fi
    done
    return 1
}
check_tips() {
    # The network driver's row: its check box (hidden) marks its top.
    local top tip expected
    top=$(grep -aP "^  window\t.*\tid=201\t" "$art/windows.txt" | grep -oP 'rect=[-0-9]+,\K[-0-9]+')
    tip=$(tip_shown 300 $((top - cy + 4))) || e2e_fail "$case_name: a tooltip appears over the driver row"
    snap tooltip-driver
    expected=$(grep -a '^Intel PRO/100 VE Network Driver=' "$E2E_CD/tip.ini" | cut -d= -f2- | tr -d '\r')
    expected=${expected:0:511}
    note "driver row tooltip of ${#tip} bytes: ${tip:0:40}...${tip: -12}"
    e2e_expect_eq "$case_name: the driver row's tooltip is the first 511 bytes of its tip" "$expected" "$tip"
    click 98 $((154 + 21))
    tip=$(tip_shown 230 95) || e2e_fail "$case_name: a tooltip appears over utility row 0"
    snap tooltip-utility
    expected=$(grep -a '^Adobe Reader=' "$E2E_CD/tip.ini" | cut -d= -f2- | tr -d '\r')
    expected=${expected:0:511}
    note "utility row tooltip of ${#tip} bytes: ${tip:0:40}...${tip: -12}"
    e2e_expect_eq "$case_name: the utility row's tooltip is the first 511 bytes of its tip" "$expected" "$tip"
    point 400 60
    click 98 $((104 + 21))
}
# The Common items' pictures on Panel0 (items 1 to 6; tab 0 shows its down picture): drawn where
# tova-sim's loader, which judges a file as the program's does before the system loads it, gives
# the item its picture, and the dialog's white (no background either) where it gives none.
check_pictures() {
    if [ -n "$(sed -n 's/^panel\.0\.background=//p' "$art/sim-panels.txt")" ]; then
        e2e_fail "$case_name: the case breaks the background, so that refused pictures leave white"
        return
    fi
    note "background: none"
    local item left top right bottom image w h spots drawn
    for item in 1 2 3 4 5 6; do
        read -r left top right bottom image <<<"$(awk -F'\t' -v key="panel.0.item.$item" '
            index($0, key "=") == 1 { sub(/^[^=]*=/, ""); print $1, $2, $3, $4, ($8 == "" ? "-" : $8) }' \
            "$art/sim-panels.txt")"
        # Inside the button's rim, where its picture is opaque.
        w=$((right - left - 24)) h=$((bottom - top - 16))
        spots=$(/usr/bin/convert "$art/panel0.png" -crop "${w}x${h}+$((cx + left + 12))+$((cy + top + 8))" \
            +repage -fill black +opaque white -format '%[fx:round(w*h*(1-mean))]' info:)
        drawn=no
        [ "$spots" -gt 0 ] && drawn=yes
        note "item $item picture ${image##*\\}: drawn $drawn ($spots of $((w * h)) pixels not white)"
        e2e_expect_eq "$case_name: item $item is drawn exactly when tova-sim loads its picture" \
            "$([ "$image" = - ] && echo no || echo yes)" "$drawn"
    done
}
check_header() {
    # The header lines as tova-sim's panel dump has them; the pixels are in the screenshot.
    note "header lines: $(grep -E '^panel\.[01]\.lines=' "$art/sim-panels.txt" | cut -c1-120 | paste -sd' ')"
}

# The title and rows each broken CD must give, checked on tova-sim's start before the real
# program is held to tova-sim: so neither check can pass on a wrong expectation. wine_title: the
# title the real program gets.
expect_title_and_rows() {
    local want_title want_rows=6 value
    want_title=$(e2e_demo_title)
    wine_title=$title
    case $case_name in
        ini-empty) want_title='TOVA 2.2 B02.111101' ;;  # the template's caption stays
        ini-huge)
            value=$(grep -a '^title=' "$E2E_CD/bmp.ini" | cut -d= -f2- | tr -d '\r')
            want_title=${value:0:254}
            ;;
        big5-tail)
            # On 1252 the byte 0xA4 is a character of its own; on 950 a lead byte without its
            # trail byte is dropped.
            want_title='Big5 Tail Title \xA4'
            local want_row='Tail Driver \xA4'
            if [ "$group" = big5-950 ]; then
                want_title='Big5 Tail Title ' want_row='Tail Driver '
                # Wine's profile reader, like the NT family's, turns a lead byte without its
                # trail byte into '?' before the program sees it (a 9x system hands the byte over
                # and the program drops it, as tova-sim does); the driver list is read as bytes.
                wine_title='Big5 Tail Title ?'
            fi
            e2e_expect_eq "$case_name: tova-sim's network row" "$want_row" "$(sed -n 2p "$art/rows-sim.txt")"
            ;;
        list-broken) want_rows=11 ;;
        list-nul) want_rows=0 ;;  # the list ends at its first NUL, before the block's end
    esac
    e2e_expect_eq "$case_name: tova-sim's title" "$want_title" "$title"
    e2e_expect_eq "$case_name: tova-sim's row count" "$want_rows" "$(grep -c '' "$art/rows-sim.txt")"
}

run_case() {
    case_name=$1
    art=$TOVA_E2E_ARTIFACTS/$case_name
    mkdir -p "$art"
    rm -rf "$E2E_CD"
    cp -a "$pristine" "$E2E_CD"
    python3 "$breaker" "$case_name" "$E2E_CD" | tee "$art/broken.txt" || e2e_abort "cannot break the CD for $case_name"

    # What the program must show: tova-sim on the same CD, its start and its panels.
    printf 'dump panels\ndump state\n' | "$sim" session --drive "E=$E2E_CD" --board "$board" --os winxp \
        "${sim_locale[@]}" --script - >"$art/sim-panels.txt"
    title=$(sed -n 's/^title=//p' "$art/sim-panels.txt")
    sed -n 's/^item\.[0-9]*=//p' "$art/sim-panels.txt" | cut -f3 >"$art/rows-sim.txt"
    expect_title_and_rows

    cd_sums >"$art/cd-before.txt"
    local stamp=$TOVA_E2E_WORK/stamp
    touch "$stamp"
    sleep 1  # a file written in this second must be newer than the stamp
    (cd "$E2E_CD" && exec "$TOVA_WINE" 'E:\tova.exe' >"$art/wine-output.txt" 2>&1) &
    local pid=$!

    # The window, or Wine's box for a program that faulted (no use waiting on then).
    local appeared
    appeared=$(inspector waitany 30000 "$wine_title" "Program Error" | cut -f2)
    if [ "$appeared" = "$wine_title" ]; then
        e2e_pass "$case_name: the window titled \"$wine_title\" appears"
        inspector settled "$wine_title" >/dev/null 2>&1 || sleep 1
        read -r cx cy cw ch <<<"$(inspector clientrect "$wine_title")"
        inspector list >"$art/windows.txt"
        snap panel0
        row_captions >"$art/rows-wine.txt"
        if diff "$art/rows-sim.txt" "$art/rows-wine.txt" >"$art/rows.diff"; then
            e2e_pass "$case_name: the row check boxes are tova-sim's $(grep -c '' "$art/rows-sim.txt") rows"
        else
            e2e_fail "$case_name: the row check boxes are tova-sim's rows (rows.diff)"
            cat "$art/rows.diff"
        fi
        note "window \"${wine_title:0:70}$([ ${#wine_title} -gt 70 ] && echo "...(${#wine_title} bytes)")\", rows: $(paste -sd'|' "$art/rows-wine.txt" | cut -c1-300)"
        case $case_name in
            bitmap-*) check_pictures ;;
            readme-large | big5-tail) check_readme ;;
        esac
        case $case_name in
            tip-long) check_tips ;;
            ini-huge | big5-tail) check_header ;;
        esac
        inspector list >"$art/windows-end.txt"
        inspector close "$wine_title" >/dev/null
    else
        e2e_fail "$case_name: the window titled \"$wine_title\" appears"
        inspector list >"$art/windows.txt"
        tova_screenshot "$art/no-window.png" || true
        note "no window; windows: $(grep -ao 'text=.*' "$art/windows.txt" | paste -sd'|' | cut -c1-200)"
    fi
    e2e_expect_eq "$case_name: no crash box appears" 0 "$(crash_boxes)"
    local wait_exit=20
    [ "$appeared" = "$wine_title" ] || wait_exit=1
    if tova_wait_exit "$pid" "$wait_exit"; then
        e2e_expect_eq "$case_name: tova.exe ends with code 0 when closed" 0 "$TOVA_EXIT_CODE"
    else
        e2e_fail "$case_name: tova.exe still runs $wait_exit s after its window was closed"
        tova_screenshot "$art/still-running.png" || true
        "$TOVA_WINESERVER" -k >/dev/null 2>&1 || true
        "$TOVA_WINESERVER" -w >/dev/null 2>&1 || true
    fi
    if grep -aiE "$fault_pattern" "$art/wine-output.txt"; then
        e2e_fail "$case_name: Wine reports a fault (wine-output.txt)"
    else
        e2e_pass "$case_name: Wine reports no fault"
    fi
    cd_sums >"$art/cd-after.txt"
    if diff "$art/cd-before.txt" "$art/cd-after.txt" >/dev/null; then
        e2e_pass "$case_name: the CD is unchanged"
    else
        e2e_fail "$case_name: the CD changed"
    fi
    find "$TOVA_E2E_WORK" -newer "$stamp" ! -path "$WINEPREFIX" ! -path "$WINEPREFIX/*" >"$art/written.txt"
    e2e_expect_eq "$case_name: nothing is written outside the prefix" "" "$(cat "$art/written.txt")"
}

for name in "${cases[@]}"; do run_case "$name"; done
e2e_end
