#!/usr/bin/env bash
# Whether the i686 program can run here under Debian's 32-bit Wine, and why not.
#   wine32.sh install   as root: tries to install wine32 (i386); never fails, and leaves the
#                       package system as it found it when the i386 packages cannot be had
#   wine32.sh probe     prints "yes" when /usr/lib/wine/wine runs, else one line saying why
# The reason an install failed is kept in build/wine32-install.txt for the probe to tell.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
loader=/usr/lib/wine/wine
note=$top/build/wine32-install.txt

probe() {
    if [ ! -x "$loader" ]; then
        if [ -s "$note" ]; then cat "$note"; else echo "Debian's wine32 (i386) is not installed"; fi
        return
    fi
    if ! "$loader" --version >/dev/null 2>&1; then
        echo "$loader is installed but does not run (no 32-bit support on this machine?)"
        return
    fi
    echo yes
}

# i386 packages installed now: while there are any, the architecture cannot be taken away.
i386_packages() {
    dpkg-query -W -f '${Package}:${Architecture} ${db:Status-Abbrev}\n' 2>/dev/null |
        awk '$1 ~ /:i386$/ && $2 ~ /^i/' | wc -l
}

install() {
    [ -x "$loader" ] && return 0
    mkdir -p "$(dirname "$note")"
    if [ "$(id -u)" != 0 ]; then
        echo "wine32 is not installed and this is not root" >"$note"
        return 0
    fi
    local added=no log
    log=$(mktemp)
    if ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
        dpkg --add-architecture i386 && added=yes
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >"$log" 2>&1
    # A dry run first: a failed real install could leave i386 packages half in place.
    if apt-get install -s -y -qq wine32:i386 >>"$log" 2>&1 &&
        apt-get install -y -qq wine32:i386 >>"$log" 2>&1; then
        rm -f "$note" "$log"
        return 0
    fi
    # What apt-get said, without addresses: its first error (the index) and its last (the install).
    local said
    said=$(grep -E '^E: ' "$log" | sed -E 's/https?:[^ ]*//g; s/ *\[IP: [^]]*\]//g; s/^E: //' |
        awk '!seen[$0]++ { line[++n] = $0 } END { if (n) print line[1]; if (n > 1) print line[n] }' |
        paste -sd';' | sed 's/;/; /g' | tr -s ' ')
    echo "wine32 (i386) cannot be installed: ${said:-apt-get failed}" >"$note"
    # Leave no architecture behind whose package index cannot be read: it would fail every
    # later apt-get update.
    if [ "$added" = yes ] && [ "$(i386_packages)" = 0 ]; then
        dpkg --remove-architecture i386 && apt-get update -qq >/dev/null 2>&1
    fi
    rm -f "$log"
    return 0
}

case ${1:-} in
install) install ;;
probe) probe ;;
*) echo "usage: wine32.sh install|probe" >&2; exit 2 ;;
esac
