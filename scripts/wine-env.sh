#!/usr/bin/env bash
# Shared helpers for running the Windows programs under wine64 and Xvfb: a fresh prefix, a
# virtual display, the demo CD on drive E:, screenshots, and cleaning up after a run.
# Source it from bash:  . scripts/wine-env.sh
# Every helper prints why it failed on stderr and returns non-zero.

TOVA_WINE=${TOVA_WINE:-/usr/lib/wine/wine64}
TOVA_WINESERVER=${TOVA_WINESERVER:-/usr/lib/wine/wineserver}
TOVA_IMPORT=${TOVA_IMPORT:-/usr/bin/import}
TOVA_XVFB_PID=
export WINEDEBUG=-all
# No Mono, no Gecko: a new prefix must not go looking for them.
export WINEDLLOVERRIDES="mscoree,mshtml="

tova_log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

# tova_wine_prefix DIR: a new, empty prefix in DIR (an old one there is removed first).
tova_wine_prefix() {
    local dir=${1:?tova_wine_prefix DIR}
    if [ -d "$dir" ]; then
        WINEPREFIX="$dir" "$TOVA_WINESERVER" -k >/dev/null 2>&1 || true
        rm -rf "$dir"
    fi
    mkdir -p "$(dirname "$dir")"
    export WINEPREFIX=$dir
    if ! "$TOVA_WINE" wineboot -i >/dev/null 2>&1; then
        echo "tova_wine_prefix: wineboot -i failed in $dir" >&2
        return 1
    fi
    # wineboot returns before the registry files are written; wait for the server to settle.
    "$TOVA_WINESERVER" -w
    [ -f "$dir/system.reg" ] || { echo "tova_wine_prefix: no registry in $dir" >&2; return 1; }
}

# tova_chinese_locale: every Wine process from here on runs on a Traditional Chinese (Taiwan)
# Windows: system language 0x0404 and ANSI code page 950, which Wine takes from the Unix locale
# (the glibc locale zh_TW.UTF-8 must exist: scripts/setup.sh makes it). Call it before the
# prefix is made.
TOVA_CHINESE_LOCALE=zh_TW.UTF-8
tova_chinese_locale() {
    local have
    have=$(locale -a 2>/dev/null)
    if ! grep -qix 'zh_TW\.utf-\?8' <<<"$have"; then
        echo "tova_chinese_locale: no $TOVA_CHINESE_LOCALE locale here (scripts/setup.sh makes it)" >&2
        return 1
    fi
    export LANG=$TOVA_CHINESE_LOCALE LC_ALL=$TOVA_CHINESE_LOCALE
}

# tova_chinese_fonts: the prefix draws Traditional Chinese with AR PL UMing TW (Debian's
# fonts-arphic-uming), a Ming face in Taiwan's standard character forms like the PMingLiU and
# MingLiU of a Chinese Windows: Wine takes it for those two names, and links it behind the faces
# the program and its dialogs ask for, which carry no Chinese glyphs of their own. Without this
# Wine's Chinese dialog font is one it does not have, and even Latin text shows as boxes.
TOVA_CHINESE_FONT_FILE=/usr/share/fonts/truetype/arphic/uming.ttc
TOVA_CHINESE_FONT='AR PL UMing TW'
tova_chinese_fonts() {
    [ -r "$TOVA_CHINESE_FONT_FILE" ] ||
        { echo "tova_chinese_fonts: no $TOVA_CHINESE_FONT_FILE (fonts-arphic-uming)" >&2; return 1; }
    local face
    for face in PMingLiU MingLiU; do
        "$TOVA_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
            /d "$TOVA_CHINESE_FONT" /f >/dev/null 2>&1 ||
            { echo "tova_chinese_fonts: cannot replace $face" >&2; return 1; }
    done
    for face in 'MS Sans Serif' System 'MS Shell Dlg' Tahoma 'Times New Roman'; do
        "$TOVA_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$face" /t REG_MULTI_SZ /d "$(basename "$TOVA_CHINESE_FONT_FILE"),$TOVA_CHINESE_FONT" \
            /f >/dev/null 2>&1 || { echo "tova_chinese_fonts: cannot link $face" >&2; return 1; }
    done
}

# tova_wine_version NAME: the Windows version Wine reports (winxp, win2k, win98, win7, ...).
tova_wine_version() {
    local version=${1:?tova_wine_version NAME}
    "$TOVA_WINE" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$version" /f >/dev/null 2>&1 ||
        { echo "tova_wine_version: cannot set $version" >&2; return 1; }
}

# tova_wine_dpi N: the screen's logical pixels per inch.
tova_wine_dpi() {
    local dpi=${1:?tova_wine_dpi N}
    "$TOVA_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 || { echo "tova_wine_dpi: cannot set $dpi" >&2; return 1; }
}

# tova_xvfb_start: a virtual display on the first free number; exports DISPLAY.
tova_xvfb_start() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo" || return 1
    # Xvfb picks a free display itself and tells its number through -displayfd.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    TOVA_XVFB_PID=$!
    local number=
    read -r -t 15 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "tova_xvfb_start: Xvfb did not start" >&2
        kill "$TOVA_XVFB_PID" 2>/dev/null
        TOVA_XVFB_PID=
        return 1
    fi
    export DISPLAY=:$number
}

# tova_cleanup: ends every process of the prefix and the display of this run.
tova_cleanup() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        "$TOVA_WINESERVER" -k >/dev/null 2>&1 || true
        "$TOVA_WINESERVER" -w >/dev/null 2>&1 || true
    fi
    if [ -n "$TOVA_XVFB_PID" ]; then
        kill "$TOVA_XVFB_PID" 2>/dev/null || true
        wait "$TOVA_XVFB_PID" 2>/dev/null || true
        TOVA_XVFB_PID=
    fi
}

# tova_stage_cd SRC_CD WIN_DIR BOARD DEST: a CD folder in DEST made of the CD sources, the
# program and roduru.dll from the Windows build, and BOARD as roduru's board description
# (empty: none). The program's driver list "tova.txt" sits beside it, as on the real CD.
tova_stage_cd() {
    local src=${1:?} win=${2:?} board=${3-} dest=${4:?}
    rm -rf "$dest"
    mkdir -p "$dest"
    cp -r "$src"/. "$dest"/ || return 1
    local exe dll
    exe=$(find "$win" -name tova.exe -type f | sed -n 1p)
    dll=$(find "$win" -name roduru.dll -type f | sed -n 1p)
    [ -n "$exe" ] || { echo "tova_stage_cd: no tova.exe under $win" >&2; return 1; }
    [ -n "$dll" ] || { echo "tova_stage_cd: no roduru.dll under $win" >&2; return 1; }
    cp "$exe" "$dll" "$dest"/ || return 1
    if [ -n "$board" ]; then cp "$board" "$dest/roduru.board" || return 1; fi
}

# tova_drive LETTER TARGET [TYPE]: drive LETTER: of the prefix shows the folder TARGET. TYPE
# (cdrom, floppy, hd, network) is what Windows reports for it (GetDriveType); Wine's mount
# manager takes it when it starts, so the prefix's processes are ended first: give a type before
# starting programs.
tova_drive() {
    local letter=${1:?} target=${2:?} type=${3:-}
    ln -sfn "$target" "$WINEPREFIX/dosdevices/${letter}:"
    [ -n "$type" ] || return 0
    "$TOVA_WINE" reg add 'HKLM\Software\Wine\Drives' /v "${letter}:" /t REG_SZ /d "$type" /f \
        >/dev/null 2>&1 || { echo "tova_drive: cannot make ${letter}: a $type drive" >&2; return 1; }
    "$TOVA_WINESERVER" -k >/dev/null 2>&1 || true
    "$TOVA_WINESERVER" -w
}

# tova_screenshot FILE: the whole virtual screen as a picture.
tova_screenshot() {
    local file=${1:?}
    mkdir -p "$(dirname "$file")"
    "$TOVA_IMPORT" -window root "$file" 2>/dev/null ||
        { echo "tova_screenshot: import failed for $file" >&2; return 1; }
}

# tova_wine PROGRAM ARGS...: runs a Windows program in the prefix, in the foreground.
tova_wine() {
    "$TOVA_WINE" "$@"
}

# tova_wait_exit PID SECONDS: waits for a background process of this shell and sets
# TOVA_EXIT_CODE to its exit code. Fails when it is still running after SECONDS. (Not for
# $(...): a subshell cannot wait for its parent's children.)
TOVA_EXIT_CODE=
tova_wait_exit() {
    local pid=${1:?} seconds=${2:?} i
    TOVA_EXIT_CODE=
    for ((i = 0; i < seconds * 10; i++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            TOVA_EXIT_CODE=0
            wait "$pid" || TOVA_EXIT_CODE=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}
