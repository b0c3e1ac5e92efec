#!/usr/bin/env bash
# Measures how long the program takes from its start to its painted window under Wine, against
# a bare dialog of the same size started the same way (tools/wintest/bare_dialog.cpp): both from
# the demo CD on E: of a fresh prefix reporting Windows XP, in Wine's virtual desktop under Xvfb.
# "Painted" is seen on the screen: the inspector starts the program and samples one client pixel
# every few milliseconds until it is neither a blank dialog's white nor the black of a window not
# yet drawn (the skin's navy header strip; the bare dialog's face colour). Prints each run, the
# medians and their ratio.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    cat <<'EOF'
usage: scripts/measure-start.sh [BOARD]
  BOARD  a board of demo/boards by name (default ich4-845pe), or the path of a board file
environment:
  TOVA_MEASURE_RUNS=N       timed starts of each program (default 5), after one untimed start
  TOVA_MEASURE_SKIP_BUILD=1 no build: use what TOVA_MEASURE_WIN64_DIR holds
  TOVA_MEASURE_WIN64_DIR=DIR  the x86_64 Windows build (default build/x86_64)
  TOVA_MEASURE_OUT=DIR      the staged CD, the prefix and the log (default build/measure-start)
  TOVA_MEASURE_TIMEOUT=S    seconds one start may take to be painted (default 30)
EOF
}

case ${1:-} in -h | --help) usage; exit 0 ;; esac
if [ $# -gt 1 ]; then usage >&2; exit 2; fi
board_arg=${1:-ich4-845pe}
if [ -f "$top/demo/boards/$board_arg.board" ]; then
    board=$top/demo/boards/$board_arg.board
elif [ -f "$board_arg" ]; then
    board=$(cd "$(dirname "$board_arg")" && pwd)/$(basename "$board_arg")
else
    echo "measure-start: no board '$board_arg'" >&2
    exit 2
fi

. "$top/scripts/wine-env.sh"
. "$top/scripts/demo-env.sh"
say() { echo "measure-start: $*" >&2; }
fail() {
    echo "measure-start: $*" >&2
    exit 1
}

runs=${TOVA_MEASURE_RUNS:-5}
win=${TOVA_MEASURE_WIN64_DIR:-$top/build/x86_64}
out=${TOVA_MEASURE_OUT:-$top/build/measure-start}
timeout_ms=$((${TOVA_MEASURE_TIMEOUT:-30} * 1000))
# The client point sampled, the same for both programs: in the header strip, navy on the demo
# CD's skin (its left end at x 200 is black, which cannot tell drawn from not yet drawn).
probe_x=400
probe_y=15
bare_title="Bare dialog"
unset WINEPREFIX RODURU_BOARD DISPLAY

if [ "${TOVA_MEASURE_SKIP_BUILD:-0}" != 1 ]; then
    cmake -S "$top" -B "$win" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-x86_64.cmake" >/dev/null
    cmake --build "$win" -j"${TOVA_JOBS:-2}" --target tova roduru inspector bare_dialog >/dev/null
fi
inspector=$(tova_demo_find "$win" inspector.exe)
bare=$(tova_demo_find "$win" bare_dialog.exe)
[ -n "$inspector" ] || fail "no inspector.exe under $win"
[ -n "$bare" ] || fail "no bare_dialog.exe under $win"

mkdir -p "$out"
tova_demo_stage_cd "$top" "$win" "$board" "$out/cd" || fail "cannot stage the demo CD"
cp "$bare" "$out/cd/"
title=$(tova_demo_title "$out/cd")
[ -n "$title" ] || fail "the CD's bmp.ini names no title"

trap tova_cleanup EXIT
trap 'exit 130' INT TERM
tova_xvfb_start || fail "cannot start Xvfb"
say "a fresh prefix in $out/prefix on display $DISPLAY"
tova_wine_prefix "$out/prefix" || fail "cannot make the Wine prefix"
tova_demo_settings winxp || fail "cannot set up the prefix"
tova_drive e "$out/cd"

log=$out/runs.txt
: >"$log"
# start NAME COMMAND TITLE: one timed start; prints "WINDOW_MS PAINTED_MS".
start() {
    local name=$1 command=$2 title=$3 result status=0
    result=$("$TOVA_WINE" "$inspector" launch "$command" 'E:\' "$title" "$probe_x" "$probe_y" \
        "$timeout_ms" 2>&1 | tr -d '\r') || status=$?
    printf '== %s\n%s\n' "$name" "$result" >>"$log"
    if [ "$status" -ne 0 ] || ! grep -qP '^painted\t' <<<"$result"; then
        echo "measure-start: $name was not seen painted:" >&2
        sed 's/^/    /' <<<"$result" >&2
        fail "no timing (all runs are in $log)"
    fi
    printf '%s %s\n' "$(grep -P '^window\t' <<<"$result" | cut -f2)" \
        "$(grep -P '^painted\t' <<<"$result" | cut -f2)"
}

# median: the middle of the numbers on standard input (the mean of the two middle ones).
median() {
    sort -n | awk '{ v[NR] = $1 } END {
        if (NR % 2) printf "%.1f", v[(NR + 1) / 2]; else printf "%.1f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

say "an untimed start of each (the desktop and the caches get made)"
start "tova.exe (untimed)" 'E:\tova.exe' "$title" >/dev/null
start "bare dialog (untimed)" "E:\\bare_dialog.exe $bare_title" "$bare_title" >/dev/null
tova_window=() tova_painted=() bare_window=() bare_painted=()
for ((i = 1; i <= runs; i++)); do
    say "run $i of $runs"
    times=$(start "tova.exe run $i" 'E:\tova.exe' "$title") || exit 1
    read -r w p <<<"$times"
    tova_window+=("$w") tova_painted+=("$p")
    times=$(start "bare dialog run $i" "E:\\bare_dialog.exe $bare_title" "$bare_title") || exit 1
    read -r w p <<<"$times"
    bare_window+=("$w") bare_painted+=("$p")
done

tova_median=$(printf '%s\n' "${tova_painted[@]}" | median)
bare_median=$(printf '%s\n' "${bare_painted[@]}" | median)
echo "Start to painted window under Wine (ms; client pixel ($probe_x,$probe_y) seen on the screen):"
printf '  %-12s painted: %s   (window shown: %s)\n' "tova.exe" "${tova_painted[*]}" "${tova_window[*]}"
printf '  %-12s painted: %s   (window shown: %s)\n' "bare dialog" "${bare_painted[*]}" "${bare_window[*]}"
echo "  median: tova.exe $tova_median ms, bare dialog $bare_median ms"
echo "  ratio: $(awk -v a="$tova_median" -v b="$bare_median" 'BEGIN { printf "%.2f", a / b }')"
echo "  (every sample: $log)"
