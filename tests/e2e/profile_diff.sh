#!/bin/bash
# Differential test of the profile reader: every query list of tests/data/profiles answered by
# GetPrivateProfileStringA under wine64 and by the native reader; any difference fails.
#   profile_diff.sh WIN64_BUILD_DIR NATIVE_TOOL [--record]
# --record also writes Wine's answers to NAME.wine beside each query list (the values the
# native unit test checks without Wine).
set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 WIN64_BUILD_DIR NATIVE_TOOL [--record]" >&2
    exit 2
fi
win_dir=$(cd "$1" && pwd) || exit 2
native_tool=$2
record=0
[ "${3:-}" = "--record" ] && record=1

here=$(cd "$(dirname "$0")" && pwd)
corpus=$(cd "$here/../data/profiles" && pwd)
wine=${WINE64:-/usr/lib/wine/wine64}

dumper=$(find "$win_dir" -name profile_dump.exe -type f | sed -n 1p)
if [ -z "$dumper" ]; then
    echo "profile_diff: no profile_dump.exe under $win_dir" >&2
    exit 2
fi
if [ ! -x "$native_tool" ]; then
    echo "profile_diff: $native_tool is not executable" >&2
    exit 2
fi

export WINEPREFIX=${WINEPREFIX:-$win_dir/wineprefix-profiles}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes its ANSI code page from the locale; the corpus assumes 1252.
export LC_ALL=C.UTF-8
if [ ! -d "$WINEPREFIX/drive_c" ]; then
    "$wine" wineboot -i >/dev/null 2>&1
fi

# Z: is the host's root, so a host path becomes Z: followed by the path with backslashes.
to_wine_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
count=0
for queries in "$corpus"/*.queries; do
    name=$(basename "$queries" .queries)
    profile="$corpus/$name.ini"
    "$wine" "$dumper" "$(to_wine_path "$profile")" "$(to_wine_path "$queries")" \
        >"$work/$name.wine" 2>"$work/$name.err"
    wine_rc=$?
    tr -d '\r' <"$work/$name.wine" >"$work/$name.wine.lf"
    "$native_tool" "$profile" "$queries" >"$work/$name.native" 2>>"$work/$name.err"
    native_rc=$?
    count=$((count + 1))
    if [ $wine_rc -ne 0 ] || [ $native_rc -ne 0 ]; then
        echo "FAIL $name: exit codes wine=$wine_rc native=$native_rc"
        cat "$work/$name.err"
        failed=1
        continue
    fi
    if ! diff -u --label "wine/$name" --label "native/$name" \
        "$work/$name.wine.lf" "$work/$name.native"; then
        echo "FAIL $name"
        failed=1
    fi
    if [ $record -eq 1 ]; then
        cp "$work/$name.wine.lf" "$corpus/$name.wine"
    fi
done

if [ $failed -ne 0 ]; then
    echo "profile_diff: the native reader differs from Wine"
    exit 1
fi
echo "profile_diff: $count query lists agree"
