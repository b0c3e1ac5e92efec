#!/usr/bin/env bash
# Runs a command in a fresh Wine prefix of its own and ends every process of that prefix
# afterwards, whatever the command did:  with_prefix.sh PREFIX_DIR COMMAND ARGS...
set -u
prefix=${1:?usage: with_prefix.sh PREFIX_DIR COMMAND ARGS...}
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"

if [ -d "$prefix" ]; then
    WINEPREFIX="$prefix" "$TOVA_WINESERVER" -k >/dev/null 2>&1
    rm -rf "$prefix"
fi
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix
# The prefix goes as well: it is about 700 MB and holds nothing a test keeps.
trap 'tova_cleanup; [ "${TOVA_E2E_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$prefix"' EXIT
"$@"
