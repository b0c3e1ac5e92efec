#!/usr/bin/env bash
# Builds the three configurations: native (tests, tova-sim; with sanitizers), and the Windows
# program for i686 (the product) and x86_64 (run under wine64 by the end-to-end tests).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=${TOVA_JOBS:-2}

cmake -S "$top" -B "$top/build/i686" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$top/build/i686" -j"$jobs"

cmake -S "$top" -B "$top/build/x86_64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$top/build/x86_64" -j"$jobs"

cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=Debug -DTOVA_SANITIZE=ON \
    -DTOVA_E2E_WIN64_DIR="$top/build/x86_64" -DTOVA_WIN32_DIR="$top/build/i686" >/dev/null
cmake --build "$top/build/native" -j"$jobs"
