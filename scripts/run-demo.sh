#!/usr/bin/env bash
# The main job: builds everything, then shows the Windows program as a Windows user sees it: the
# demo CD with the x86_64 tova.exe and a demo board as drive E: of a fresh Wine prefix reporting
# an old Windows, the program started from the CD inside Wine's virtual desktop. Without DISPLAY
# it runs under Xvfb, checks that the window appeared and leaves a screenshot; with DISPLAY it
# runs there until the window is closed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    cat <<'EOF'
usage: scripts/run-demo.sh [BOARD] [OS]
  BOARD  a board of demo/boards by name (default ich4-845pe), or the path of a board file
  OS     the Windows that Wine reports: winxp (default), win2k, nt40, win98 (98 SE), winme,
         win95, or the program's names win2000, nt4, win98se; on the 9x family the program's
         own port instructions are answered by roduru.dll from the same board; vista, win7,
         win8, win81 and win10 show how the program refuses a newer system (the run then fails)
environment:
  TOVA_DEMO_OUT=DIR        where the run leaves its files (default build/demo): the staged CD
                           cd/, the Wine prefix prefix/, screenshot.png, windows.txt, caption.txt
  TOVA_DEMO_SKIP_BUILD=1   no set-up and no build: run what TOVA_DEMO_WIN64_DIR holds
  TOVA_DEMO_WIN64_DIR=DIR  the x86_64 Windows build to run (default build/x86_64)
  TOVA_DEMO_TIMEOUT=S      seconds the window may take to appear (default 60)
  TOVA_DEMO_LANG=zh_TW     a Traditional Chinese (Taiwan) Windows: language 0x0404, code page
                           950, Chinese fonts linked in; the program shows the CD's cht.ini
  TOVA_JOBS=N              parallel build jobs (default 2)
EOF
}

say() { echo "run-demo: $*"; }
fail() {
    echo "run-demo: $*" >&2
    exit 1
}

case ${1:-} in -h | --help) usage; exit 0 ;; esac
if [ $# -gt 2 ]; then usage >&2; exit 2; fi
board_arg=${1:-ich4-845pe}
os=${2:-winxp}
if [ -f "$top/demo/boards/$board_arg.board" ]; then
    board=$top/demo/boards/$board_arg.board
elif [ -f "$board_arg" ]; then
    board=$(cd "$(dirname "$board_arg")" && pwd)/$(basename "$board_arg")
else
    echo "run-demo: no board '$board_arg' (names: $(cd "$top/demo/boards" && ls -- *.board |
        sed 's/\.board$//' | tr '\n' ' '))" >&2
    exit 2
fi

. "$top/scripts/wine-env.sh"
. "$top/scripts/demo-env.sh"
version=$(tova_demo_wine_version "$os")
if [ -z "$version" ]; then
    echo "run-demo: unknown system '$os'" >&2
    usage >&2
    exit 2
fi

case ${TOVA_DEMO_LANG:-} in
"") chinese=no ;;
zh_TW) chinese=yes ;;
*) echo "run-demo: TOVA_DEMO_LANG must be zh_TW or empty, not '$TOVA_DEMO_LANG'" >&2; exit 2 ;;
esac

out=${TOVA_DEMO_OUT:-$top/build/demo}
win=${TOVA_DEMO_WIN64_DIR:-$top/build/x86_64}
timeout=${TOVA_DEMO_TIMEOUT:-60}
# Only the prefix this run makes is ever ended; roduru.dll finds only the board staged beside it.
unset WINEPREFIX RODURU_BOARD

if [ "${TOVA_DEMO_SKIP_BUILD:-0}" != 1 ]; then
    "$top/scripts/setup.sh" || fail "the set-up failed (scripts/setup.sh installs as root)"
    "$top/scripts/build.sh" || fail "the build failed (scripts/build.sh)"
fi
inspector=$(tova_demo_find "$win" inspector.exe)
[ -n "$inspector" ] || fail "no inspector.exe under $win (build it, or point TOVA_DEMO_WIN64_DIR at a build)"

say "staging the demo CD in $out/cd (board $(basename "$board" .board))"
mkdir -p "$out"
rm -f "$out/screenshot.png" "$out/windows.txt" "$out/caption.txt"
tova_demo_stage_cd "$top" "$win" "$board" "$out/cd" || fail "cannot stage the demo CD"
# The utilities of the CD are stand-ins that show how they were started.
standin=$(tova_demo_find "$win" standin.exe)
if [ -n "$standin" ]; then
    bash "$top/demo/add-standins.sh" "$out/cd" "$standin" >/dev/null ||
        fail "cannot put the stand-in at the utilities' paths"
else
    say "note: no standin.exe under $win; the utility rows start nothing"
fi
title=$(tova_demo_title "$out/cd")
[ -n "$title" ] || fail "the CD's bmp.ini names no title"

trap tova_cleanup EXIT
trap 'exit 130' INT TERM
# Wine's server and desktop take the display they find when they start: the display comes
# before the first Wine command.
if [ -z "${DISPLAY:-}" ]; then
    tova_xvfb_start || fail "cannot start Xvfb"
    headless=yes
else
    headless=no
fi
if [ "$chinese" = yes ]; then
    tova_chinese_locale || fail "no Traditional Chinese locale (scripts/setup.sh makes it)"
fi
say "making the Wine prefix $out/prefix (Windows $version) on display $DISPLAY"
tova_wine_prefix "$out/prefix" || fail "cannot make the Wine prefix"
tova_demo_settings "$version" || fail "cannot set up the prefix"
if [ "$chinese" = yes ]; then
    tova_chinese_fonts || fail "cannot link the Chinese fonts"
    say "Traditional Chinese (Taiwan) Windows: the program reads cht.ini"
fi
tova_drive e "$out/cd"

# inspect ARGS...: the window inspector in the prefix, its output without carriage returns.
inspect() {
    "$TOVA_WINE" "$inspector" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

case $version in
win95 | win98 | winme)
    say "Windows $version: the program probes the board with port instructions of its own;" \
        "roduru.dll answers them from the same board" ;;
esac
say "starting E:\\tova.exe"
(cd "$out/cd" && exec "$TOVA_WINE" 'E:\tova.exe') &
tova_pid=$!

# The program's window or a message box, whichever comes first; the program may also end or
# hang without either.
deadline=$((SECONDS + timeout))
found=
while [ -z "$found" ]; do
    if ! kill -0 "$tova_pid" 2>/dev/null; then
        code=0
        wait "$tova_pid" || code=$?
        fail "tova.exe ended with code $code before its window appeared"
    fi
    found=$(inspect waitany 2000 Msg "Program Error" "$title" 2>/dev/null | cut -f2) || found=
    if [ -z "$found" ] && [ "$SECONDS" -ge "$deadline" ]; then
        inspect list >"$out/windows.txt" || true
        echo "run-demo: the windows open now:" >&2
        cut -f6- "$out/windows.txt" | sed 's/^/    /' >&2
        fail "no window titled \"$title\" within $timeout s"
    fi
done

# refused WHEN: a message box "Msg" is up: print what it says and fail.
refused() {
    local box
    box=$(inspect msgbox Msg 2000) || true
    printf '%s\n' "$box" >"$out/windows.txt"
    if [ "$headless" = yes ]; then tova_demo_screenshot "$out/screenshot.png" || true; fi
    echo "run-demo: tova.exe showed a message box \"Msg\" $1:" >&2
    printf '%s\n' "$box" | grep -P '^text\t' | cut -f2- | sed 's/^/    /' >&2
    fail "the program did not start on Windows $version with board $(basename "$board" .board)"
}
[ "$found" != Msg ] || refused "instead of its window"
if [ "$found" = "Program Error" ]; then
    if [ "$headless" = yes ]; then tova_demo_screenshot "$out/screenshot.png" || true; fi
    inspect list >"$out/windows.txt" || true
    fail "tova.exe crashed (Wine's \"Program Error\" box; the open windows are in $out/windows.txt)"
fi

say "the window \"$title\" is shown"
inspect settled "$title" 20000 >/dev/null || say "warning: the window did not settle; the picture may be incomplete"
if [ "$(inspect count Msg)" != 0 ]; then refused "over its window"; fi
inspect list >"$out/windows.txt" || true
{
    printf 'title\t%s\n' "$title"
    inspect caption "$title" 2000
} >"$out/caption.txt" || true

if [ "$headless" = no ]; then
    say "running on $DISPLAY until the window is closed"
    code=0
    wait "$tova_pid" || code=$?
    say "tova.exe ended with code $code"
    exit 0
fi

tova_demo_screenshot "$out/screenshot.png" || fail "cannot take the screenshot"
say "screenshot written to $out/screenshot.png"
inspect close "$title" 2000 >/dev/null || true
if tova_wait_exit "$tova_pid" 20; then
    say "tova.exe ended with code $TOVA_EXIT_CODE once its window was closed"
else
    say "tova.exe did not end within 20 s of being closed; ending it"
fi
