#!/usr/bin/env bash
# Steps the demo scripts share (run-demo.sh, measure-start.sh): the demo CD staged with the
# Windows program, its title, a prefix that reports an old Windows and shows every window in one
# virtual desktop, and pictures of that desktop. Source it after scripts/wine-env.sh.

TOVA_DEMO_DESKTOP=tova
TOVA_DEMO_DESKTOP_SIZE=800x600

# tova_demo_wine_version NAME: the Wine version name for a system named as Wine names it (winxp,
# win2k, nt40, win98, winme, win95) or as the program does (win2000, nt4, win98se); nothing for
# others.
# The systems after XP pass too: the program refuses them, which is worth seeing once.
tova_demo_wine_version() {
    case ${1:-} in
    winxp) echo winxp ;;
    win2k | win2000) echo win2k ;;
    nt40 | nt4) echo nt40 ;;
    win98 | win98se) echo win98 ;;
    winme) echo winme ;;
    win95) echo win95 ;;
    vista | win7 | win8 | win81 | win10) echo "$1" ;;
    esac
}

# tova_demo_sim_os WINE_VERSION: the name tova-sim takes for the system Wine reports (Wine's win98
# is 98 SE); nothing for a system the program refuses.
tova_demo_sim_os() {
    case ${1:-} in
    winxp) echo winxp ;;
    win2k) echo win2000 ;;
    nt40) echo nt4 ;;
    win98) echo win98se ;;
    winme) echo winme ;;
    win95) echo win95 ;;
    esac
}

# tova_demo_find WIN_DIR NAME: the file NAME built under the Windows build folder WIN_DIR.
tova_demo_find() {
    find "$1" -name "$2" -type f -not -path '*/CMakeFiles/*' 2>/dev/null | sed -n 1p
}

# tova_demo_stage_cd TOP WIN_DIR BOARD_FILE DEST: the demo CD in DEST (drawn by demo/make-cd.sh
# where the tree has it, else the sources of demo/cd as they are), with tova.exe and roduru.dll
# of the Windows build and the board as roduru's board description beside them.
tova_demo_stage_cd() {
    local top=${1:?} win=${2:?} board=${3:?} dest=${4:?} exe dll
    exe=$(tova_demo_find "$win" tova.exe)
    dll=$(tova_demo_find "$win" roduru.dll)
    [ -n "$exe" ] || { echo "no tova.exe under $win" >&2; return 1; }
    [ -n "$dll" ] || { echo "no roduru.dll under $win" >&2; return 1; }
    rm -rf "$dest"
    mkdir -p "$(dirname "$dest")"
    if [ -f "$top/demo/make-cd.sh" ]; then
        bash "$top/demo/make-cd.sh" "$dest" >/dev/null || { echo "demo/make-cd.sh failed" >&2; return 1; }
    else
        cp -r "$top/demo/cd" "$dest" || return 1
    fi
    cp "$exe" "$dll" "$dest/" || return 1
    cp "$board" "$dest/roduru.board" || return 1
}

# tova_demo_title CD: the window title the program takes from the CD: "title" of [Common] in
# bmp.ini, sections and keys matched in any case, the value without surrounding blanks.
tova_demo_title() {
    # awk reads the file itself and to its end: a reader that stops early at the title would
    # leave a writer in front of it to die of SIGPIPE under pipefail.
    awk '{ sub(/\r$/, "") }
         /^[ \t]*\[/ { s = tolower($0); gsub(/[ \t]/, "", s); next }
         !found && s == "[common]" && tolower($0) ~ /^[ \t]*title[ \t]*=/ {
             sub(/^[^=]*=[ \t]*/, ""); sub(/[ \t]+$/, ""); print; found = 1 }' "${1:?}/bmp.ini"
}

# tova_demo_settings VERSION: in the prefix of WINEPREFIX, the Windows version Wine reports and
# one virtual desktop for every program (the windows get their caption bars and frames, as on
# Windows, and all of them land in one picture), in one registry import. Wine's server must
# already see the display: run it after the display is up.
tova_demo_settings() {
    local version=${1:?} reg=$WINEPREFIX/drive_c/tova-demo.reg
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_CURRENT_USER\Software\Wine]' "\"Version\"=\"$version\"" '' \
        '[HKEY_CURRENT_USER\Software\Wine\Explorer]' "\"Desktop\"=\"$TOVA_DEMO_DESKTOP\"" '' \
        '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' \
        "\"$TOVA_DEMO_DESKTOP\"=\"$TOVA_DEMO_DESKTOP_SIZE\"" >"$reg"
    if ! "$TOVA_WINE" reg import 'C:\tova-demo.reg' >/dev/null 2>&1; then
        echo "cannot set the Windows version $version and the desktop" >&2
        return 1
    fi
    rm -f "$reg"
}

# tova_demo_screenshot FILE: the virtual desktop as a picture (the whole screen when its window
# cannot be found).
tova_demo_screenshot() {
    local file=${1:?} id
    mkdir -p "$(dirname "$file")"
    id=$(xdotool search --name "^$TOVA_DEMO_DESKTOP - Wine desktop\$" 2>/dev/null | sed -n 1p)
    if [ -n "$id" ] && "$TOVA_IMPORT" -window "$id" "$file" 2>/dev/null; then return 0; fi
    tova_screenshot "$file"
}
