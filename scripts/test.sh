#!/usr/bin/env bash
# The test command: set-up, all three builds, then every test (unit, scenarios, and the
# Windows program under wine64 and Xvfb), then ten seconds of fuzzing for every input reader.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "$top/build/native"
ctest --output-on-failure -j"${TOVA_JOBS:-2}"
wine32=$("$top/scripts/wine32.sh" probe)
[ "$wine32" = yes ] || echo "i686 end-to-end runs skipped: $wine32"
"$top/scripts/fuzz.sh" 10
