#!/usr/bin/env bash
# Installs what building and testing tova needs on a Debian 12 machine (as root), only when
# something is missing.
set -euo pipefail

packages=(cmake make g++ libgtest-dev googletest
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine wine64 xvfb xdotool x11-utils imagemagick fonts-dejavu-core
          clang libfuzzer-14-dev python3 xorriso
          locales fonts-arphic-uming tesseract-ocr tesseract-ocr-chi-tra)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The Traditional Chinese runs: Wine takes the Windows language and code page from this locale.
if ! grep -qix 'zh_TW\.utf-\?8' <<<"$(locale -a 2>/dev/null)"; then
    echo "setup: making the locale zh_TW.UTF-8"
    localedef -i zh_TW -f UTF-8 zh_TW.UTF-8
fi

# The i686 program's runs need Debian's 32-bit Wine; where it cannot be had they are skipped.
"$(dirname "$0")/wine32.sh" install
