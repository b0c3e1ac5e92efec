#!/usr/bin/env bash
# Makes the project's screenshots: the real x86_64 tova.exe under Wine (reporting Windows XP) on
# the demo CD with the ich4-845pe board, in Wine's virtual desktop so the window has its caption
# bar, clicked through its five tabs. Writes docs/screenshots/panel0.png ... panel4.png and
# panel0-rapid.png (Rapid Setup on), each cropped to the window with its caption bar; then the
# same on Windows 98 SE (the program's own port instructions, answered by roduru.dll) for
# panel0-win98se.png and panel3-win98se.png; last on a Traditional Chinese XP (code page 950,
# the CD's cht.ini) for panel0-cht.png and panel1-cht.png. The pictures are made by this script from our own
# program and CD; nothing else is in them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    cat <<'EOF'
usage: scripts/screenshots.sh
environment:
  TOVA_SHOTS_OUT=DIR       where the pictures go (default docs/screenshots)
  TOVA_SHOTS_WORK=DIR      the staged CD and the Wine prefix (default build/screenshots)
  TOVA_DEMO_SKIP_BUILD=1   no set-up and no build: use what TOVA_DEMO_WIN64_DIR holds
  TOVA_DEMO_WIN64_DIR=DIR  the x86_64 Windows build to run (default build/x86_64)
  TOVA_JOBS=N              parallel build jobs (default 2)
EOF
}

say() { echo "screenshots: $*"; }
fail() {
    echo "screenshots: $*" >&2
    exit 1
}

case ${1:-} in -h | --help) usage; exit 0 ;; esac
[ $# -eq 0 ] || { usage >&2; exit 2; }

. "$top/scripts/wine-env.sh"
. "$top/scripts/demo-env.sh"
out=${TOVA_SHOTS_OUT:-$top/docs/screenshots}
work=${TOVA_SHOTS_WORK:-$top/build/screenshots}
win=${TOVA_DEMO_WIN64_DIR:-$top/build/x86_64}
board=$top/demo/boards/ich4-845pe.board
convert=/usr/bin/convert
# Only the prefix this run makes is ever ended; roduru.dll finds only the board staged beside it.
unset WINEPREFIX RODURU_BOARD

if [ "${TOVA_DEMO_SKIP_BUILD:-0}" != 1 ]; then
    "$top/scripts/setup.sh" || fail "the set-up failed (scripts/setup.sh installs as root)"
    "$top/scripts/build.sh" || fail "the build failed (scripts/build.sh)"
fi
inspector=$(tova_demo_find "$win" inspector.exe)
standin=$(tova_demo_find "$win" standin.exe)
[ -n "$inspector" ] || fail "no inspector.exe under $win"
[ -n "$standin" ] || fail "no standin.exe under $win"
command -v xdotool >/dev/null || fail "xdotool is missing"

say "staging the demo CD in $work/cd"
mkdir -p "$work"
tova_demo_stage_cd "$top" "$win" "$board" "$work/cd" || fail "cannot stage the demo CD"
bash "$top/demo/add-standins.sh" "$work/cd" "$standin" >/dev/null || fail "cannot add the stand-ins"
title=$(tova_demo_title "$work/cd")

trap tova_cleanup EXIT
trap 'exit 130' INT TERM

inspect() {
    "$TOVA_WINE" "$inspector" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# session VERSION [cht]: a display and a prefix of their own reporting Windows VERSION (with cht:
# Traditional Chinese, from then on), the program
# started on the CD, its window found: cx cy its client area, wl wt wr wb its frame, in the
# virtual desktop's coordinates (the desktop is an X window of its own).
session() {
    tova_cleanup
    # Always a display of our own, so every run makes the same pictures.
    unset DISPLAY
    tova_xvfb_start || fail "cannot start Xvfb"
    if [ "${2:-}" = cht ]; then
        tova_chinese_locale || fail "no Traditional Chinese locale (scripts/setup.sh makes it)"
    fi
    tova_wine_prefix "$work/prefix" || fail "cannot make the Wine prefix"
    tova_demo_settings "$1" || fail "cannot set up the prefix"
    if [ "${2:-}" = cht ]; then tova_chinese_fonts || fail "cannot link the Chinese fonts"; fi
    tova_drive e "$work/cd"
    say "starting E:\\tova.exe on Windows $1, display $DISPLAY"
    (cd "$work/cd" && exec "$TOVA_WINE" 'E:\tova.exe') &
    tova_pid=$!
    inspect wait "$title" 60000 >/dev/null || fail "no window titled \"$title\""
    inspect settled "$title" 20000 >/dev/null || fail "the window is not drawn"
    [ "$(inspect count Msg)" = 0 ] || fail "the program shows a message box"
    desktop=$(xdotool search --name "^$TOVA_DEMO_DESKTOP - Wine desktop\$" | sed -n 1p)
    [ -n "$desktop" ] || fail "no Wine desktop window"
    read -r cx cy _ _ <<<"$(inspect clientrect "$title")"
    read -r wl wt wr wb <<<"$(inspect list | grep -P "^window\t.*\ttext=\Q$title\E$" |
        grep -o 'rect=[-0-9,]*' | sed -n 1p | cut -d= -f2 | tr ',' ' ')"
    [ -n "$wb" ] || fail "cannot find the window's rectangle"
}

# end_session: the program closed, its end waited for.
end_session() {
    park
    inspect close "$title" 2000 >/dev/null || true
    tova_wait_exit "$tova_pid" 20 || say "tova.exe did not end within 20 s of being closed"
}

# click X Y: a click at client point (X, Y); park: the pointer over no item of any panel.
click() { xdotool mousemove --window "$desktop" $((cx + $1)) $((cy + $2)) click 1; }
park() { xdotool mousemove --window "$desktop" $((cx + 400)) $((cy + 60)); }
# shoot NAME: the window with its caption bar, once it is drawn, as NAME.png.
shoot() {
    park
    inspect settled "$title" 20000 >/dev/null || say "warning: the window did not settle for $1"
    local whole=$work/desktop.png
    tova_demo_screenshot "$whole" || fail "cannot take a screenshot"
    mkdir -p "$out"
    "$convert" "$whole" -crop "$((wr - wl))x$((wb - wt))+$wl+$wt" +repage -strip "$out/$1.png" ||
        fail "cannot crop $1.png"
    say "wrote $out/$1.png"
}
tab() { click 98 $((104 + 50 * $1 + 21)); }

session winxp
shoot panel0
click 350 374
shoot panel0-rapid
click 431 374
for k in 1 2 3 4; do
    tab "$k"
    shoot "panel$k"
done
tab 0
end_session

session win98
shoot panel0-win98se
tab 3
shoot panel3-win98se
tab 0
end_session

session winxp cht
shoot panel0-cht
tab 1
shoot panel1-cht
tab 0
end_session
