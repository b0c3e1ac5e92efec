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
trap tova_cleanup EXIT
"$@"
