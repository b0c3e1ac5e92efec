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
