#!/usr/bin/env bash
# The main job: builds everything, then starts the Windows program under Wine from the demo CD
# on drive E:, with a demo board behind roduru.dll. On the real display when DISPLAY is set
# (until you close the window), otherwise under Xvfb with a screenshot in build/demo/.
#   scripts/run-demo.sh [BOARD]      BOARD: a name from demo/boards (default ich4-845pe)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
board=${1:-ich4-845pe}
[ -f "$top/demo/boards/$board.board" ] || { echo "run-demo: no board demo/boards/$board.board" >&2; exit 2; }

"$top/scripts/setup.sh"
"$top/scripts/build.sh"
. "$top/scripts/wine-env.sh"

win=$top/build/x86_64
demo=$top/build/demo
rm -rf "$demo/cd"
mkdir -p "$demo"
cp -r "$top/demo/cd" "$demo/cd"
cp "$win/src/platform/win32/tova.exe" "$win/roduru/roduru.dll" "$demo/cd/"
# roduru.dll finds its board beside itself.
cp "$top/demo/boards/$board.board" "$demo/cd/roduru.board"

tova_wine_prefix "$demo/prefix"
trap tova_cleanup EXIT
ln -sfn "$demo/cd" "$WINEPREFIX/dosdevices/e:"
cd "$demo/cd"

if [ -n "${DISPLAY:-}" ]; then
    echo "run-demo: starting tova.exe from E:\\ on $DISPLAY (board $board)"
    "$TOVA_WINE" 'E:\tova.exe'
    exit 0
fi

tova_xvfb_start
echo "run-demo: starting tova.exe from E:\\ under Xvfb on $DISPLAY (board $board)"
"$TOVA_WINE" 'E:\tova.exe' &
title=$(grep -m1 '^title=' "$demo/cd/bmp.ini" | cut -d= -f2- | tr -d '\r')
shown=no
for _ in $(seq 1 60); do
    if xdotool search --name "$title" >/dev/null 2>&1; then shown=yes; break; fi
    sleep 0.5
done
[ "$shown" = yes ] || echo "run-demo: no window titled '$title' appeared" >&2
sleep 1
"$TOVA_IMPORT" -window root "$demo/screenshot.png"
echo "run-demo: screenshot written to $demo/screenshot.png"
