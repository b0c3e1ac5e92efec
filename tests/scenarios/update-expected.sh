#!/usr/bin/env bash
# Records tova-sim's start output for every demo board and system into expected/. Run it after
# a deliberate change of the demo CD or boards, then read the diff before committing it.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
sim=${1:-$top/build/native/tools/tova-sim/tova-sim}
mkdir -p "$top/tests/scenarios/expected"
for board in ich4-845pe via-kt400 sis651 nforce2 ich5-865g empty; do
    out="$top/tests/scenarios/expected/$board.txt"
    : > "$out"
    for os in win95 win98 win98se winme nt4 win2000 winxp winxp-nosp; do
        echo "## $os" >> "$out"
        (cd "$top" && "$sim" start --drive "E=$top/demo/cd" --board "$top/demo/boards/$board.board" --os "$os") >> "$out"
    done
done

# Whole sessions on the staged demo CD (pictures included): every panel, a paint, the report.
cd_dir=${2:-$top/build/native/demo/cd}
for run in ich4-845pe:winxp sis651:nt4 nforce2:win98se; do
    board=${run%%:*}
    os=${run#*:}
    printf 'dump panels\npaint\ndump report\n' |
        "$sim" session --drive "E=$cd_dir" --board "$top/demo/boards/$board.board" --os "$os" \
            --script - >"$top/tests/scenarios/expected/session-$board-$os.txt"
done

# Scripted sessions: what a user does with the window, step by step.
for script in interaction; do
    "$sim" session --drive "E=$cd_dir" --board "$top/demo/boards/ich4-845pe.board" --os winxp \
        --script "$top/tests/scenarios/scripts/$script.txt" \
        >"$top/tests/scenarios/expected/session-$script.txt"
done

# The hardware report of every board, through the direct path (98 SE) and the port library (XP).
for board in ich4-845pe via-kt400 sis651 nforce2 ich5-865g empty; do
    out="$top/tests/scenarios/expected/hw-$board.txt"
    : > "$out"
    for os in win98se winxp; do
        echo "## $os" >> "$out"
        (cd "$top" && "$sim" hw --board "$top/demo/boards/$board.board" --os "$os" \
            --find 0x24C08086 --find 0x30591106:0xA0027A51 --find 0x06511039 --find 0x01E010DE \
            --find 0x0D30105A:0xB0017A51 --find 0x24DF8086:0x24D17A51) >> "$out"
    done
done
