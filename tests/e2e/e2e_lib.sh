#!/usr/bin/env bash
# The fixture of every end-to-end test: a fresh Wine prefix and display of its own, the demo
# CD staged on drive E:, the Windows programs at hand, checks that report, and a clean-up that
# ends every process of the run however the test ends.
# Environment (set by e2e.cmake): TOVA_E2E_WIN64_DIR, TOVA_SOURCE_DIR, TOVA_E2E_WORK,
# TOVA_E2E_ARTIFACTS.
set -u

: "${TOVA_E2E_WIN64_DIR:?the x86_64 Windows build folder}"
: "${TOVA_SOURCE_DIR:?the source tree}"
: "${TOVA_E2E_WORK:?a work folder of this test}"
: "${TOVA_E2E_ARTIFACTS:?the artifact folder of this test}"

. "$TOVA_SOURCE_DIR/scripts/wine-env.sh"
. "$TOVA_SOURCE_DIR/scripts/demo-env.sh"
# roduru.dll must find only the board a test stages beside it.
unset RODURU_BOARD

E2E_FAILURES=0
E2E_CD=$TOVA_E2E_WORK/cd
E2E_TOOLS=$TOVA_E2E_WORK/tools

e2e_find_program() {
    find "$TOVA_E2E_WIN64_DIR" -name "$1" -type f | sed -n 1p
}

e2e_pass() { echo "ok: $*"; }
e2e_fail() {
    echo "FAIL: $*"
    E2E_FAILURES=$((E2E_FAILURES + 1))
}
# e2e_expect_eq WHAT EXPECTED ACTUAL
e2e_expect_eq() {
    if [ "$2" = "$3" ]; then e2e_pass "$1"; else e2e_fail "$1: expected [$2], got [$3]"; fi
}
# A fault of the fixture itself: the test cannot go on.
e2e_abort() {
    echo "ABORT: $*"
    exit 1
}

e2e_cleanup() {
    # What the screen showed at the end, and what was open, for the artifacts.
    if [ -n "${DISPLAY:-}" ] && [ -n "$TOVA_XVFB_PID" ]; then
        tova_screenshot "$TOVA_E2E_ARTIFACTS/at-end.png" >/dev/null 2>&1 || true
    fi
    tova_cleanup
    # A prefix is about 700 MB (Wine copies its DLLs into it) and nothing of it is an artifact:
    # thirty kept prefixes filled the disk of a CI machine. TOVA_E2E_KEEP_PREFIX=1 keeps it.
    if [ "${TOVA_E2E_KEEP_PREFIX:-0}" != 1 ] && [ -n "${WINEPREFIX:-}" ]; then
        rm -rf "$WINEPREFIX"
    fi
}

# e2e_begin: display first (every Wine process of the prefix must find it), then the prefix.
e2e_begin() {
    rm -rf "$TOVA_E2E_ARTIFACTS"
    mkdir -p "$TOVA_E2E_WORK" "$TOVA_E2E_ARTIFACTS"
    trap e2e_cleanup EXIT
    tova_xvfb_start || e2e_abort "no virtual display"
    tova_log "display $DISPLAY"
    tova_wine_prefix "$TOVA_E2E_WORK/prefix" || e2e_abort "no Wine prefix"
    # The test programs live on C:, away from the CD.
    mkdir -p "$E2E_TOOLS"
    local program
    for program in inspector.exe hwprobe.exe template_check.exe; do
        local found
        found=$(e2e_find_program "$program")
        [ -n "$found" ] || e2e_abort "no $program under $TOVA_E2E_WIN64_DIR"
        cp "$found" "$E2E_TOOLS/"
    done
    tova_drive t "$E2E_TOOLS"
}

# e2e_system NAME: the Windows Wine reports, named as the program or as Wine names it (winxp,
# win2000, nt4, win98se, winme, win95, or win2k, nt40, win98); E2E_SIM_OS is tova-sim's name for
# it, E2E_WINE_VERSION Wine's. Run it after e2e_begin.
E2E_SIM_OS=
E2E_WINE_VERSION=
e2e_system() {
    E2E_WINE_VERSION=$(tova_demo_wine_version "${1:?e2e_system NAME}")
    E2E_SIM_OS=$(tova_demo_sim_os "$E2E_WINE_VERSION")
    [ -n "$E2E_SIM_OS" ] || e2e_abort "no system named $1"
    tova_wine_version "$E2E_WINE_VERSION" || e2e_abort "cannot set the Windows version $E2E_WINE_VERSION"
    tova_log "Windows version $E2E_WINE_VERSION (tova-sim: $E2E_SIM_OS)"
}

# e2e_is_9x: the system set is of the 9x family (the program's own port instructions).
e2e_is_9x() {
    case $E2E_SIM_OS in win95 | win98 | win98se | winme) return 0 ;; esac
    return 1
}

# e2e_stage_cd BOARD: the demo CD with its pictures, tova.exe, roduru.dll and the board, on
# drive E:, and the stand-in program at every utility's path (when the build has it: a test
# that starts utilities checks for them itself).
e2e_stage_cd() {
    local drawn=$TOVA_E2E_WORK/cd-drawn standin
    bash "$TOVA_SOURCE_DIR/demo/make-cd.sh" "$drawn" >/dev/null || e2e_abort "cannot draw the demo CD"
    tova_stage_cd "$drawn" "$TOVA_E2E_WIN64_DIR" "$1" "$E2E_CD" ||
        e2e_abort "cannot stage the CD"
    standin=$(e2e_find_program standin.exe)
    if [ -n "$standin" ]; then
        bash "$TOVA_SOURCE_DIR/demo/add-standins.sh" "$E2E_CD" "$standin" >/dev/null ||
            e2e_abort "cannot put the stand-in at the utilities' paths"
    else
        tova_log "no standin.exe under $TOVA_E2E_WIN64_DIR: the utilities are missing from the CD"
    fi
    # Every driver package's setup program is the stand-in setup program.
    local setup
    setup=$(e2e_find_program setup_standin.exe)
    [ -n "$setup" ] || e2e_abort "no setup_standin.exe under $TOVA_E2E_WIN64_DIR"
    bash "$TOVA_SOURCE_DIR/demo/add-setup-standins.sh" "$E2E_CD" "$setup" >/dev/null ||
        e2e_abort "cannot put the stand-in at the packages' setup programs"
    tova_drive e "$E2E_CD"
}

# inspector ARGS...: inspector.exe in the prefix, its output without carriage returns.
inspector() {
    tova_wine 'T:\inspector.exe' "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# e2e_start_tova: starts E:\tova.exe in the background; its pid is in E2E_TOVA_PID.
e2e_start_tova() {
    (cd "$E2E_CD" && exec "$TOVA_WINE" 'E:\tova.exe') &
    E2E_TOVA_PID=$!
}

# e2e_expect_exit WHAT PID CODE SECONDS
e2e_expect_exit() {
    if tova_wait_exit "$2" "$4"; then
        e2e_expect_eq "$1" "$3" "$TOVA_EXIT_CODE"
    else
        e2e_fail "$1: still running after $4 s"
    fi
}

e2e_end() {
    if [ "$E2E_FAILURES" -ne 0 ]; then
        echo "$E2E_FAILURES check(s) failed; artifacts in $TOVA_E2E_ARTIFACTS"
        exit 1
    fi
    echo "all checks passed; artifacts in $TOVA_E2E_ARTIFACTS"
    exit 0
}

# The title "bmp.ini" of the demo CD gives the window, read as Windows would (first match).
e2e_demo_title() {
    tova_demo_title "$TOVA_SOURCE_DIR/demo/cd"
}

# e2e_status_bands SHOT CX CY CH: the status column of the driver rows (client x 540 on, below
# y 100) in a screenshot of a window whose client area is at (CX, CY), CH high: one letter a
# row from top to bottom, Y for one drawn in yellow (installed), W for white. (The background is
# 640 pixels wide; Wine's client area may have a column more, so 90 pixels are read.)
e2e_status_bands() {
    local shot=${1:?} cx=${2:?} cy=${3:?} ch=${4:?}
    /usr/bin/convert "$shot" -crop "90x$((ch - 200))+$((cx + 540))+$((cy + 100))" +repage txt:- |
        awk -F'[ ,:()]+' 'NR > 1 {
            y = $2; rgb = $3 "," $4 "," $5
            if (rgb == "255,255,0") yellow[y] = 1; else if (rgb == "255,255,255") white[y] = 1
        }
        END {
            bands = ""; last = -2
            for (y = 0; y < 2000; y++) {
                kind = (y in yellow) ? "Y" : ((y in white) ? "W" : "")
                if (kind == "") continue
                if (y != last + 1 || substr(bands, length(bands)) != kind) bands = bands kind
                last = y
            }
            print bands
        }'
}
