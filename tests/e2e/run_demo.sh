#!/usr/bin/env bash
# The README's main command as a new user runs it, without a display, on the x86_64 build of
# this run: it must show the program's window with its caption bar inside Wine's virtual
# desktop, leave a screenshot of it, and fail with the program's own words when the program
# refuses the system instead.
. "$(dirname "$0")/e2e_lib.sh"

rm -rf "$TOVA_E2E_ARTIFACTS" "$TOVA_E2E_WORK"
mkdir -p "$TOVA_E2E_ARTIFACTS" "$TOVA_E2E_WORK"
run_demo="$TOVA_SOURCE_DIR/scripts/run-demo.sh"

# demo OUT ARGS...: run-demo.sh without a display and without building, leaving its files in
# OUT; its output goes to OUT.log. Sets DEMO_STATUS.
demo() {
    local out=$1
    shift
    DEMO_STATUS=0
    env -u DISPLAY -u WINEPREFIX TOVA_DEMO_SKIP_BUILD=1 TOVA_DEMO_WIN64_DIR="$TOVA_E2E_WIN64_DIR" \
        TOVA_DEMO_OUT="$out" TOVA_DEMO_TIMEOUT=90 bash "$run_demo" "$@" >"$out.log" 2>&1 ||
        DEMO_STATUS=$?
    cp "$out.log" "$TOVA_E2E_ARTIFACTS/" 2>/dev/null
    sed 's/^/    | /' "$out.log"
    # The run's prefix is about 700 MB and nothing the checks read.
    rm -rf "$out/prefix"
}

# expect_shown WHAT: the last run's log says the window titled from bmp.ini was shown.
expect_shown() {
    if grep -qF "the window \"$title\" is shown" "$out.log"; then e2e_pass "$1"; else e2e_fail "$1"; fi
}

# rgb FILE X Y: the colour of one pixel as "R G B".
rgb() {
    /usr/bin/convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}

# between C1 C2 "R G B": the colour lies on the way from RRGGBB C1 to C2 (a caption's
# gradient), each channel within a small tolerance.
between() {
    local c1=$1 c2=$2 i lo hi v channels
    read -r -a channels <<<"$3"
    for i in 0 1 2; do
        lo=$((16#${c1:$((i * 2)):2}))
        hi=$((16#${c2:$((i * 2)):2}))
        if [ "$lo" -gt "$hi" ]; then v=$lo; lo=$hi; hi=$v; fi
        v=${channels[$i]:-999}
        if [ "$v" -lt $((lo - 8)) ] || [ "$v" -gt $((hi + 8)) ]; then return 1; fi
    done
}

# --- The default run: board ich4-845pe, Windows XP.
out=$TOVA_E2E_WORK/demo
demo "$out"
e2e_expect_eq "run-demo.sh ends with status 0" 0 "$DEMO_STATUS"
title=$(e2e_demo_title)
if grep -qF "the window \"$title\" is shown" "$out.log" &&
    grep -qP "^window\t.*\ttext=\Q$title\E$" "$out/windows.txt" 2>/dev/null; then
    e2e_pass "the window titled \"$title\" was shown"
else
    e2e_fail "the window titled \"$title\" was shown"
fi

shot=$out/screenshot.png
if [ -s "$shot" ]; then
    cp "$shot" "$TOVA_E2E_ARTIFACTS/"
    e2e_expect_eq "the screenshot is the 800 x 600 desktop" 800x600 \
        "$(/usr/bin/convert "$shot" -format '%wx%h' info:)"
    colours=$(/usr/bin/convert "$shot" -format '%k' info:)
    if [ "$colours" -gt 2 ]; then
        e2e_pass "the screenshot is not one flat colour ($colours colours)"
    else
        e2e_fail "the screenshot is not one flat colour: $colours colour(s)"
    fi
else
    e2e_fail "run-demo.sh wrote $shot"
fi

# The caption bar: a strip above the client area, painted in a caption colour (the window may
# or may not be the active one), with the title drawn on it.
band=$(grep -P '^band\t' "$out/caption.txt" 2>/dev/null | cut -f2)
colours=$(grep -P '^colours\t' "$out/caption.txt" 2>/dev/null | cut -f2-)
if [ -n "$band" ] && [ -n "$colours" ] && [ -s "$shot" ]; then
    read -r left top right bottom <<<"$band"
    read -r active active_end inactive inactive_end <<<"$colours"
    height=$((bottom - top))
    if [ "$height" -ge 12 ]; then
        e2e_pass "the window has a caption bar ($height pixels above its client area)"
    else
        e2e_fail "the window has a caption bar: $height pixels above its client area"
    fi
    # Right of the title, left of the caption buttons.
    x=$((left + (right - left) * 3 / 5))
    y=$(((top + bottom) / 2))
    pixel=$(rgb "$shot" "$x" "$y")
    if between "$active" "$active_end" "$pixel" || between "$inactive" "$inactive_end" "$pixel"; then
        e2e_pass "the screenshot shows the caption colour at ($x, $y): $pixel"
    else
        e2e_fail "the screenshot shows the caption colour at ($x, $y): got $pixel, caption colours $colours"
    fi
    text_colours=$(/usr/bin/convert "$shot" -crop "$((x - left))x$((height - 2))+$left+$((top + 1))" \
        -format '%k' info:)
    if [ "$text_colours" -gt 2 ]; then
        e2e_pass "the caption carries the title and icon ($text_colours colours left of ($x, $y))"
    else
        e2e_fail "the caption carries the title and icon: $text_colours colour(s) left of ($x, $y)"
    fi
else
    e2e_fail "run-demo.sh recorded the caption bar in $out/caption.txt"
fi

# --- Windows 98 SE: the program's own port instructions find the board through roduru.dll.
out=$TOVA_E2E_WORK/win98
demo "$out" ich4-845pe win98
e2e_expect_eq "run-demo.sh on Windows 98 SE ends with status 0" 0 "$DEMO_STATUS"
expect_shown "run-demo.sh on Windows 98 SE shows the window"
# The rows the window lists are the board's on 98 SE: six, the USB 2.0 driver for 98 SE/Me last.
rows=$(grep -cP '^  window\t.*\tid=20[0-9]\t.*\tclass=Button\t' "$out/windows.txt" 2>/dev/null)
e2e_expect_eq "run-demo.sh on Windows 98 SE lists the board's six rows" 6 "$rows"
if grep -qP '^  window\t.*\tid=205\t.*\ttext=Intel USB 2\.0 Driver for 98SE/Me$' "$out/windows.txt"; then
    e2e_pass "the sixth row is the USB 2.0 driver for 98 SE/Me"
else
    e2e_fail "the sixth row is the USB 2.0 driver for 98 SE/Me"
fi
[ -s "$out/screenshot.png" ] && cp "$out/screenshot.png" "$TOVA_E2E_ARTIFACTS/screenshot-win98.png"

# --- A Traditional Chinese XP: the window from bmp.ini's title, over cht.ini's panels.
out=$TOVA_E2E_WORK/cht
TOVA_DEMO_LANG=zh_TW demo "$out"
e2e_expect_eq "run-demo.sh on a Traditional Chinese XP ends with status 0" 0 "$DEMO_STATUS"
expect_shown "run-demo.sh on a Traditional Chinese XP shows the window"
grep -qF "the program reads cht.ini" "$out.log" && e2e_pass "run-demo.sh says the program reads cht.ini" ||
    e2e_fail "run-demo.sh says the program reads cht.ini"
[ -s "$out/screenshot.png" ] && cp "$out/screenshot.png" "$TOVA_E2E_ARTIFACTS/screenshot-cht.png"

# --- A system the program refuses: the run fails and says what the program said.
out=$TOVA_E2E_WORK/refused
demo "$out" ich4-845pe win7
e2e_expect_eq "run-demo.sh on Windows 7 ends with status 1" 1 "$DEMO_STATUS"
if grep -qF "Sorry we do not support this M/B." "$out.log"; then
    e2e_pass "run-demo.sh on Windows 7 prints the program's message"
else
    e2e_fail "run-demo.sh on Windows 7 prints the program's message"
fi

# --- Arguments it cannot take: status 2 before anything is built or started.
out=$TOVA_E2E_WORK/bad-system
demo "$out" ich4-845pe win31
e2e_expect_eq "run-demo.sh refuses an unknown system with status 2" 2 "$DEMO_STATUS"
out=$TOVA_E2E_WORK/bad-board
demo "$out" no-such-board
e2e_expect_eq "run-demo.sh refuses an unknown board with status 2" 2 "$DEMO_STATUS"
e2e_end
