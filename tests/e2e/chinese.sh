#!/usr/bin/env bash
# The demo CD on a Traditional Chinese (Taiwan) Windows XP under Wine: language 0x0404 and code
# page 950 (tova_chinese_locale), Chinese faces linked in (tova_chinese_fonts). The program reads
# its panels from the Big5 "cht.ini" and its title from "bmp.ini"; the header lines of Panel0
# and the utility rows of Panel1 are drawn as those characters (Wine's font trace gives the text
# of every drawing call, exactly) and show on the screen as Chinese glyphs (read back with
# tesseract's Traditional Chinese model); the long utility caption that overruns its 255-byte
# field is cut before the character that does not fit whole; the resume notice shows its text.
. "$(dirname "$0")/e2e_lib.sh"
convert=/usr/bin/convert
cjk() { python3 "$TOVA_SOURCE_DIR/tests/e2e/cjk_text.py" "$@"; }
cht=$TOVA_SOURCE_DIR/demo/cd/cht.ini
# take_drawn: what the program has drawn so far, from the trace; drawn_at X Y: the text it last
# drew at client point (X, Y) by then, with its length.
drawn=$TOVA_E2E_ARTIFACTS/drawn.txt
take_drawn() { cjk drawn "$trace" >"$drawn"; }
drawn_at() {
    awk -F'\t' -v x="$1" -v y="$2" '$1 == x && $2 == y { t = $5; n = $3 } END { print t "\t" n }' "$drawn"
}
# Share of a text's Chinese characters the reader must find on the screen. It reads glyphs of
# 11 pixels, so it misses some (about one in three on Panel0); text of another code page, or
# boxes, gives next to none.
least_percent=50

tova_chinese_locale || e2e_abort "no Traditional Chinese locale"
e2e_begin
e2e_system winxp
tova_chinese_fonts || e2e_abort "cannot link the Chinese font"
e2e_expect_eq "Wine reports language 0x0404 and ANSI code page 950" "lang=0x0404 acp=950" \
    "$(inspector locale | awk '{ print $1, $3 }')"
e2e_stage_cd "$TOVA_SOURCE_DIR/demo/boards/ich4-845pe.board"
cmp -s "$cht" "$E2E_CD/cht.ini" && e2e_pass "the staged cht.ini is the Big5 file byte for byte" ||
    e2e_fail "the staged cht.ini is the Big5 file byte for byte"
title=$(e2e_demo_title)

trace=$TOVA_E2E_WORK/font-trace.txt
(cd "$E2E_CD" && WINEDEBUG=trace+font exec "$TOVA_WINE" 'E:\tova.exe' 2>"$trace") &
E2E_TOVA_PID=$!
# The title is bmp.ini's (cht.ini names a Chinese one).
inspector wait "$title" 30000 >/dev/null || {
    e2e_fail "a window titled \"$title\", from bmp.ini, appears"
    e2e_end
}
e2e_pass "the window's title is bmp.ini's"
inspector settled "$title" >/dev/null 2>&1 || sleep 1
read -r cx cy _ <<<"$(inspector clientrect "$title")"
park() { xdotool mousemove $((cx + 620)) $((cy + 440)); sleep 0.5; }
park
panel0=$TOVA_E2E_ARTIFACTS/panel0-cht.png
tova_screenshot "$panel0" || e2e_abort "no screenshot"
take_drawn

# read_screen SHOT X Y W H NAME: what tesseract reads in that client region (white on black,
# made black on white and four times larger for it).
read_screen() {
    local region=$TOVA_E2E_ARTIFACTS/$6.png
    "$convert" "$1" -crop "${4}x${5}+$((cx + $2))+$((cy + $3))" +repage -negate -colorspace gray \
        -resize 400% -blur 0x1 -bordercolor white -border 20 "$region" || return 1
    tesseract "$region" - -l chi_tra --psm 6 2>/dev/null >"$TOVA_E2E_ARTIFACTS/$6.txt"
}
# expect_read WHAT NAME EXPECTED_FILE: the reader found enough of the expected characters.
expect_read() {
    local found total
    read -r found total <<<"$(cjk found "$3" "$TOVA_E2E_ARTIFACTS/$2.txt")"
    if [ "$total" -gt 0 ] && [ $((found * 100)) -ge $((total * least_percent)) ]; then
        e2e_pass "$1 ($found of $total characters read back)"
    else
        e2e_fail "$1: $found of $total characters read back ($2.txt)"
    fi
}

# Panel0's three header lines at (200, 15), one line height (15 here) apart.
expected=$TOVA_E2E_ARTIFACTS/panel0-expected.txt
: >"$expected"
for n in 1 2 3; do
    IFS=$'\t' read -r text _ <<<"$(cjk value "$cht" Panel0 "line$n" 200)"
    printf '%s\n' "$text" >>"$expected"
    IFS=$'\t' read -r shown _ <<<"$(drawn_at 200 $((15 * n)))"
    e2e_expect_eq "Panel0 header line $n is drawn in Chinese" "$text" "$shown"
done
read_screen "$panel0" 200 13 440 48 panel0-read || e2e_fail "cannot read Panel0's header"
expect_read "Panel0's header shows as Chinese glyphs" panel0-read "$expected"

# Panel1: the utility rows at (210, 90 + 20 n); rows 0 to 8 show on every board.
xdotool mousemove $((cx + 98)) $((cy + 154 + 21)) click 1
park
panel1=$TOVA_E2E_ARTIFACTS/panel1-cht.png
tova_screenshot "$panel1" || e2e_abort "no screenshot"
take_drawn
expected=$TOVA_E2E_ARTIFACTS/panel1-expected.txt
: >"$expected"
rows_ok=0
for n in 0 1 2 3 4 5 6 7 8; do
    IFS=$'\t' read -r text _ <<<"$(cjk value "$cht" Panel1 "${n}_Desc")"
    printf '%s\n' "$text" >>"$expected"
    IFS=$'\t' read -r shown _ <<<"$(drawn_at 210 $((90 + 20 * n)))"
    if [ "$shown" = "$text" ]; then rows_ok=$((rows_ok + 1)); else echo "row $n: drew [$shown], not [$text]"; fi
done
e2e_expect_eq "Panel1's utility rows 0 to 8 are drawn in Chinese" 9 "$rows_ok"
read_screen "$panel1" 205 88 300 180 panel1-read || e2e_fail "cannot read Panel1's rows"
expect_read "Panel1's utility rows show as Chinese glyphs" panel1-read "$expected"

# Row 15's caption is 265 bytes; its field keeps 254, and the 254th is the first byte of a
# character: the row shows 253 bytes, 129 characters, the last of them whole.
IFS=$'\t' read -r text units <<<"$(cjk value "$cht" Panel1 15_Desc)"
IFS=$'\t' read -r shown count <<<"$(drawn_at 210 390)"
e2e_expect_eq "the long caption is cut to whole characters ($units UTF-16 units)" "$units" "$count"
# The trace shows the first characters of a long text only.
case $text in
"$shown"*) [ -n "$shown" ] && e2e_pass "the long caption is drawn as its first characters" ||
    e2e_fail "the long caption is drawn" ;;
*) e2e_fail "the long caption is drawn as its first characters: [$shown]" ;;
esac

inspector close "$title" >/dev/null
e2e_expect_exit "tova.exe ends with code 0 when closed" "$E2E_TOVA_PID" 0 20

# The resume notice (template 162) on the Chinese system, over a stored run.
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
"$TOVA_WINE" reg add "$run_key" /v zzQTM /t REG_SZ /d 'E:\tova.exe' /f >/dev/null &&
    "$TOVA_WINE" reg add 'HKCU\Software\QTM' /v item /t REG_BINARY /d 00 /f >/dev/null ||
    e2e_abort "cannot store a run"
e2e_start_tova
if inspector msgbox Msg 30000 >"$TOVA_E2E_ARTIFACTS/notice.txt"; then
    e2e_expect_eq "the notice says that Rapid Setup goes on" \
        '"Rapid Setup " will continue to install drivers.' \
        "$(sed -n 's/^text\t//p' "$TOVA_E2E_ARTIFACTS/notice.txt")"
    notice=$TOVA_E2E_ARTIFACTS/notice-cht.png
    tova_screenshot "$notice" || e2e_abort "no screenshot"
    # The static text at (9, 22) dialog units: dark text pixels on the face.
    inspector list >"$TOVA_E2E_ARTIFACTS/notice-windows.txt"
    rect=$(grep -P '^  window\t.*\tclass=Static\t.*text="Rapid' "$TOVA_E2E_ARTIFACTS/notice-windows.txt" |
        sed -n '1s/.*\trect=\([0-9,]*\)\t.*/\1/p')
    IFS=, read -r l t r b <<<"$rect"
    dark=0
    if [ -n "$rect" ]; then
        dark=$("$convert" "$notice" -crop "$((r - l))x$((b - t))+$l+$t" +repage -colorspace gray \
            -threshold 90% -negate -format '%[fx:round(mean*w*h)]' info:)
    fi
    [ "${dark:-0}" -ge 100 ] && e2e_pass "the notice's text is drawn ($dark dark pixels)" ||
        e2e_fail "the notice's text is drawn (${dark:-0} dark pixels in [$rect])"
    # Closed, the notice declines: the program forgets the stored run and ends.
    inspector close Msg >/dev/null
    e2e_expect_exit "the notice declined, tova.exe ends with code 0" "$E2E_TOVA_PID" 0 20
else
    e2e_fail "the notice appears"
fi
e2e_end
