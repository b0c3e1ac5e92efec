#!/usr/bin/env bash
# Rapid Setup installing drivers with the x86_64 tova.exe under Wine (reporting Windows XP) on
# the demo CD, whose packages' setup programs are the stand-in setup program (it notes every
# start in C:\setup-calls.log and writes the result log the program waits for).
#   install_run.sh run TOVA_SIM     ticked drivers installed one after another: each started
#                                   once with its silent command line in its own folder, the
#                                   unticked one not at all; versions recorded, the finish
#                                   message, the end, and the rows shown installed next time
#   install_run.sh stored TOVA_SIM  a run taken up from a resume state written into the
#                                   registry: the notice counts down, then the started and the
#                                   pending rows are installed, the finished one and a row that
#                                   was not in the run are not
#   install_run.sh alone TOVA_SIM   a package that runs alone ends the program mid-run and
#                                   keeps the run; the next start takes it up after the notice
#   install_run.sh killed TOVA_SIM  the program killed while its first package runs; the next
#                                   start takes the run up after the notice
#   install_run.sh restart TOVA_SIM Windows 98 SE: the INF update asks Windows to restart, two
#                                   SiI RAID rows run the RAID patch hidden and wait for its
#                                   file, an RTL8139 row starts in upper case and ends the
#                                   program; each start after the first takes the run up after
#                                   the notice, and every start equals tova-sim's on that run
# The expected packages come from tova-sim's install list for the same board; how each demo
# package is started (its switches, its letter case) is listed below.
. "$(dirname "$0")/e2e_lib.sh"
mode=${1:?run, stored, alone or killed}
sim=${2:?the tova-sim program}
convert=/usr/bin/convert
boards=$TOVA_SOURCE_DIR/demo/boards
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
resume_key='HKCU\Software\QTM'
record_key='HKCU\Software\Fetchyard'
finished_text='Driver install finished !! You have to reboot system !!'
notice_text='"Rapid Setup " will continue to install drivers.'
# Seconds a whole run may take: every package costs the program about five seconds of its own
# pauses and polls.
run_limit=150

e2e_begin
if [ "$mode" = restart ]; then e2e_system win98se; else e2e_system winxp; fi
calls=$WINEPREFIX/drive_c/setup-calls.log
title=$(e2e_demo_title)

# ---------------------------------------------------------------------------------------------
# What the program must start.

# package_call FOLDER FILE: the calls log line of a demo package on Windows XP: the command line
# the program gives it, a tab, the package's folder as its current folder, a tab, the show mode
# (CreateProcess's SW_SHOWNORMAL for a package waited for, WinExec's SW_SHOWDEFAULT otherwise).
package_call() {
    local folder=$1 file=$2 switches case show=10
    case $folder in
    # Runs alone: started in upper case, the program ends at once.
    'Chipset\VIA\4in1\') switches=' -b -s -f2"c:\zov.log"' case=upper ;;
    # Waited for by its process, then its result log.
    'Audio\Realtek\') switches=' -s -f2"c:\zov.log"' case=lower show=1 ;;
    # No-wait folders: started and polled for the result log.
    'Chipset\USB20\2KXP\' | 'Chipset\VIA\USB2.0\') switches=' -s -f2"c:\zov.log"' case=lower ;;
    # Plain packages: started and polled for the result log.
    'Chipset\Intel\INF\' | 'LAN\Intel\' | 'Audio\Sigmatel\' | 'RAID\Promise\20276\' | \
        'Winbond\HWMon\' | 'LAN\VIA\' | 'RAID\Promise\20376\' | 'SATA\Promise\')
        switches=' -s -f2"c:\zov.log"' case=lower ;;
    *)
        echo "install_run: no expected start for the package in $folder" >&2
        return 1 ;;
    esac
    local line="e:\\$folder$file$switches"
    if [ "$case" = upper ]; then
        line=$(printf '%s' "$line" | tr '[:lower:]' '[:upper:]')
    else
        line=$(printf '%s' "$line" | tr '[:upper:]' '[:lower:]')
    fi
    printf '%s\te:\\%s\t%s\n' "$line" "${folder%\\}" "$show"
}

# install_list BOARD: the install list tova-sim makes on the board under the test's Windows from
# the staged CD, one row a line: folder TAB setup file TAB caption TAB version.
install_list() {
    "$sim" start --drive "E=$E2E_CD" --board "$1" --os "$E2E_SIM_OS" |
        sed -n 's/^item\.[0-9]*=//p' | awk -F'\t' '{ print $4 "\t" $5 "\t" $3 "\t" $6 }'
}

# expected_calls LIST ROWS...: the calls log lines of the given rows of LIST, in list order.
expected_calls() {
    local list=$1 row folder file
    shift
    for row in "$@"; do
        IFS=$'\t' read -r folder file _ <<<"$(sed -n "$((row + 1))p" <<<"$list")"
        package_call "$folder" "$file" || return 1
    done
}

# expected_records LIST ROWS...: the versions the program records for the given rows, as
# "caption=version" lines, sorted.
expected_records() {
    local list=$1 row caption version
    shift
    for row in "$@"; do
        IFS=$'\t' read -r _ _ caption version <<<"$(sed -n "$((row + 1))p" <<<"$list")"
        printf '%s=%s\n' "$caption" "$version"
    done | sort
}

# ---------------------------------------------------------------------------------------------
# What Wine shows.

# has_result_log: "c:\zov.log" is there, in whatever letter case a program created it.
has_result_log() {
    [ -n "$(find "$WINEPREFIX/drive_c" -maxdepth 1 -iname zov.log)" ]
}

# calls_log: the calls log without carriage returns (empty when there is none).
calls_log() {
    if [ -f "$calls" ]; then tr -d '\r' <"$calls"; fi
}

# reg_values KEY: the values of a registry key as "name=data" lines, sorted; nothing when the
# key is missing.
reg_values() {
    "$TOVA_WINE" reg query "$1" 2>/dev/null | tr -d '\r' |
        awk -F'    ' 'NF >= 4 && $1 == "" { print $2 "=" $4 }' | sort
}

# has_run_value: the logon Run value that starts the program again is there.
has_run_value() {
    "$TOVA_WINE" reg query "$run_key" /v zzQTM >/dev/null 2>&1
}

# compare WHAT EXPECTED_FILE ACTUAL_FILE: equal files pass; otherwise the difference is shown.
compare() {
    if diff "$2" "$3" >"$3.diff"; then
        e2e_pass "$1"
    else
        e2e_fail "$1 ($(basename "$3").diff)"
        cat "$3.diff"
    fi
}

# start_and_find: tova.exe started, its window drawn; cx cy cw ch its client area on screen.
start_and_find() {
    e2e_start_tova
    inspector wait "$title" 30000 >/dev/null || {
        e2e_fail "a window titled \"$title\" appears"
        inspector list >"$TOVA_E2E_ARTIFACTS/windows.txt"
        e2e_end
    }
    inspector settled "$title" >/dev/null || e2e_abort "the window is not drawn"
    read -r cx cy cw ch <<<"$(inspector clientrect "$title")"
}

# click X Y: a click at client point (X, Y) of the program's window, then the pointer away.
click() {
    xdotool mousemove $((cx + $1)) $((cy + $2)) click 1
    inspector settled "$title" >/dev/null || true
}

# The demo's Panel0: the Rapid Setup switch and in its place the start button, the row check
# boxes at x 220 (15 x 13 on each row's line, 32 pixels apart from y 112).
RAPID_SETUP_X=391 RAPID_SETUP_Y=374
START_X=351 START_Y=374
box_y() { echo $((118 + 32 * $1)); }

# rapid_setup_run UNTICKED_ROWS...: Rapid Setup on, the given rows unticked, Start.
rapid_setup_run() {
    local row
    click "$RAPID_SETUP_X" "$RAPID_SETUP_Y"
    for row in "$@"; do click 227 "$(box_y "$row")"; done
    tova_screenshot "$TOVA_E2E_ARTIFACTS/$phase-chosen.png" || true
    # The pointer leaves the start button at once: the run keeps the window busy.
    xdotool mousemove $((cx + START_X)) $((cy + START_Y)) click 1 mousemove $((cx + 400)) $((cy + 60))
}

# status_bands: the status column of the driver rows on the screen, one letter a row: Y for a
# row shown installed (yellow), W for one that is not (white).
status_bands() {
    local shot=$TOVA_E2E_ARTIFACTS/$phase-rows.png
    tova_screenshot "$shot" || e2e_abort "no screenshot"
    e2e_status_bands "$shot" "$cx" "$cy" "$ch"
}

# await_finish: the run's last message: its text, the dialog gone under it, then OK ends the
# program with code 0. The resume state is gone and no result log is left behind.
await_finish() {
    local box=$TOVA_E2E_ARTIFACTS/$phase-finish.txt
    if ! inspector msgbox Msg $((run_limit * 1000)) >"$box"; then
        e2e_fail "$phase: the run ends with its message within $run_limit s"
        inspector list >"$TOVA_E2E_ARTIFACTS/$phase-windows.txt"
        return 1
    fi
    tova_screenshot "$TOVA_E2E_ARTIFACTS/$phase-finish.png" || true
    e2e_expect_eq "$phase: the run ends with \"$finished_text\"" "$finished_text" \
        "$(sed -n 's/^text\t//p' "$box")"
    e2e_expect_eq "$phase: the message has one button, OK" OK "$(sed -n 's/^button\t//p' "$box")"
    inspector gone "$title" 10000 >/dev/null &&
        e2e_pass "$phase: the dialog closes while the message is shown" ||
        e2e_fail "$phase: the dialog closes while the message is shown"
    e2e_expect_eq "$phase: the resume list is removed" "" "$(reg_values "$resume_key")"
    has_run_value && e2e_fail "$phase: the Run value is removed" ||
        e2e_pass "$phase: the Run value is removed"
    has_result_log && e2e_fail "$phase: no result log is left behind" ||
        e2e_pass "$phase: no result log is left behind"
    inspector press Msg OK >/dev/null || e2e_fail "$phase: OK can be pressed"
    e2e_expect_exit "$phase: tova.exe ends with code 0 once the message is closed" \
        "$E2E_TOVA_PID" 0 20
}

# check_calls ROWS...: the calls log holds exactly the given rows' packages, in list order.
check_calls() {
    expected_calls "$list" "$@" >"$TOVA_E2E_ARTIFACTS/$phase-calls-expected.txt" ||
        e2e_abort "no expected calls for $phase"
    calls_log >"$TOVA_E2E_ARTIFACTS/$phase-calls.txt"
    compare "$phase: rows $* each started once, with their command lines and folders" \
        "$TOVA_E2E_ARTIFACTS/$phase-calls-expected.txt" "$TOVA_E2E_ARTIFACTS/$phase-calls.txt"
}

# check_records ROWS...: the installed-version record holds exactly the given rows.
check_records() {
    expected_records "$list" "$@" >"$TOVA_E2E_ARTIFACTS/$phase-records-expected.txt"
    reg_values "$record_key" >"$TOVA_E2E_ARTIFACTS/$phase-records.txt"
    compare "$phase: the versions of rows $* are recorded" \
        "$TOVA_E2E_ARTIFACTS/$phase-records-expected.txt" "$TOVA_E2E_ARTIFACTS/$phase-records.txt"
}

# stage BOARD: the CD on E: for the board, its install list in $list; no calls, no result log.
stage() {
    e2e_stage_cd "$boards/$1.board"
    if [ -n "${2:-}" ]; then "$2" || e2e_abort "cannot change the CD for $phase"; fi
    list=$(install_list "$boards/$1.board")
    [ -n "$list" ] || e2e_abort "tova-sim gives no install list for $1"
    printf '%s\n' "$list" >"$TOVA_E2E_ARTIFACTS/list-$1.txt"
    rm -f "$calls" "$WINEPREFIX/drive_c/setup-times.log"
    find "$WINEPREFIX/drive_c" -maxdepth 1 -iname zov.log -delete
}

# setting FOLDER TEXT: the stand-in setup program of the package in FOLDER behaves as TEXT says.
setting() {
    printf '%s\r\n' "$2" >"$E2E_CD/${1//\\//}setup-standin.ini"
}

# standin_checks: the stand-in setup program itself, started from a package folder with
# switches in other spellings (Wine passes the words unquoted): a response file is read or its
# absence reported as a silent setup does, a switch it does not know and a settings line it
# does not understand are refused, and "log=no" writes no result log. Every start is noted.
standin_checks() {
    local folder=$E2E_CD/Winbond/HWMon exe='E:\Winbond\HWMon\setup.exe' rc
    (cd "$folder" && "$TOVA_WINE" "$exe" /S '-F1E:\Chipset\VIA\USB2.0\setup1.iss' '-f2C:\check-1.log')
    e2e_expect_eq "stand-in: a response file that is there gives result code 0" \
        "$(printf '[ResponseResult]\nResultCode=0')" "$(tr -d '\r' <"$WINEPREFIX/drive_c/check-1.log")"
    (cd "$folder" && "$TOVA_WINE" "$exe" -s '-f1E:\Winbond\HWMon\setup1.iss' '-f2C:\check-2.log')
    e2e_expect_eq "stand-in: a response file that is missing gives result code -3" \
        "$(printf '[ResponseResult]\nResultCode=-3')" "$(tr -d '\r' <"$WINEPREFIX/drive_c/check-2.log")"
    (cd "$folder" && "$TOVA_WINE" "$exe" -s -x)
    rc=$?
    e2e_expect_eq "stand-in: an unknown switch is refused" 2 "$rc"
    printf 'log=no\r\n' >"$folder/setup-standin.ini"
    (cd "$folder" && "$TOVA_WINE" "$exe" -a -s -b '-f2C:\check-3.log')
    [ -e "$WINEPREFIX/drive_c/check-3.log" ] && e2e_fail "stand-in: log=no writes no result log" ||
        e2e_pass "stand-in: log=no writes no result log"
    printf 'wait=1\r\n' >"$folder/setup-standin.ini"
    (cd "$folder" && "$TOVA_WINE" "$exe" -s)
    rc=$?
    e2e_expect_eq "stand-in: a settings line it does not know is refused" 3 "$rc"
    rm -f "$folder/setup-standin.ini"
    e2e_expect_eq "stand-in: every start is noted with its folder" \
        "5 5" "$(calls_log | grep -c 'setup\.exe') $(calls_log | cut -f2 | grep -cxF 'E:\Winbond\HWMon')"
    rm -f "$calls" "$WINEPREFIX/drive_c/setup-times.log"
}

# ---------------------------------------------------------------------------------------------
# The notice of a resumed run.

# red_in SHOT X Y: pure red pixels in the 16 x 16 square at screen point (X, Y), and a digest of
# the square (another number, another digest).
red_in() {
    local crop
    crop=$("$convert" "$1" -crop "16x16+$2+$3" +repage txt:-)
    printf '%s %s\n' "$(grep -c '#FF0000' <<<"$crop")" "$(md5sum <<<"$crop" | cut -c1-8)"
}

# await_notice: the notice appears over the starting program, says that Rapid Setup goes on,
# counts down in red at client (330, 45) on the dialog face of the system's style (XP's, or the
# classic grey elsewhere), and closes by itself.
await_notice() {
    local face='#ECE9D8' style="XP's"
    if [ "$E2E_SIM_OS" != winxp ]; then face='#C0C0C0' style='the classic'; fi
    local box=$TOVA_E2E_ARTIFACTS/$phase-notice.txt
    if ! inspector msgbox Msg 30000 >"$box"; then
        e2e_fail "$phase: the notice appears"
        return 1
    fi
    e2e_expect_eq "$phase: the notice says that Rapid Setup goes on" "$notice_text" \
        "$(sed -n 's/^text\t//p' "$box")"
    e2e_expect_eq "$phase: the notice has no button" "" "$(sed -n 's/^button\t//p' "$box")"
    local nx ny i shot reds=0 faces=0 digests=
    read -r nx ny _ <<<"$(inspector clientrect Msg)"
    # The number changes once a second from the first second on; five looks about a second
    # apart see it at least three times, and see at least two numbers.
    for i in 1 2 3 4 5; do
        shot=$TOVA_E2E_ARTIFACTS/$phase-notice-$i.png
        tova_screenshot "$shot" || continue
        read -r red digest <<<"$(red_in "$shot" $((nx + 330)) $((ny + 45)))"
        [ "$red" -gt 0 ] && reds=$((reds + 1)) && digests+="$digest"$'\n'
        grep -c "$face" <<<"$("$convert" "$shot" -crop "16x16+$((nx + 330))+$((ny + 45))" \
            +repage txt:-)" >/dev/null && faces=$((faces + 1))
        sleep 0.7
    done
    [ "$reds" -ge 3 ] && e2e_pass "$phase: the countdown is drawn in red at (330, 45)" ||
        e2e_fail "$phase: the countdown is drawn in red at (330, 45) (seen $reds of 5 times)"
    [ "$faces" -ge 3 ] && e2e_pass "$phase: on $style dialog face" ||
        e2e_fail "$phase: on $style dialog face (seen $faces of 5 times)"
    local distinct
    distinct=$(printf '%s' "$digests" | sort -u | grep -c .)
    [ "$distinct" -ge 2 ] && e2e_pass "$phase: the number counts down" ||
        e2e_fail "$phase: the number counts down (one number in five looks)"
    inspector gone Msg 10000 >/dev/null && e2e_pass "$phase: the notice closes by itself" ||
        e2e_fail "$phase: the notice closes by itself"
}

# resume_state LIST STATES...: a stored run as the program leaves it: the Run value, and the
# resume list with the n-th state for row n ("-" for a row that is not in the run).
resume_state() {
    local list=$1 n=0 state folder file
    shift
    "$TOVA_WINE" reg add "$run_key" /v zzQTM /t REG_SZ /d 'E:\tova.exe' /f >/dev/null ||
        e2e_abort "cannot write the Run value"
    for state in "$@"; do
        if [ "$state" != - ]; then
            IFS=$'\t' read -r folder file _ <<<"$(sed -n "$((n + 1))p" <<<"$list")"
            "$TOVA_WINE" reg add "$resume_key" /v "exe_$n" /t REG_SZ /d "e:\\$folder$file" /f \
                >/dev/null &&
                "$TOVA_WINE" reg add "$resume_key" /v "inst_$n" /t REG_BINARY /d "0$state" /f \
                    >/dev/null || e2e_abort "cannot write row $n of the resume list"
        fi
        n=$((n + 1))
    done
    "$TOVA_WINE" reg add "$resume_key" /v item /t REG_BINARY /d "$(printf '%02x' "$#")" /f \
        >/dev/null || e2e_abort "cannot write the resume list's length"
}

# ---------------------------------------------------------------------------------------------
# The 98 SE run across its restart.

# restart_cd: the staged CD's 98 SE block changed so that the run on ich4-845pe meets what only
# the 9x family does: the INF update in an "INFUPDATE" folder, the ATA133 row replaced by two
# Silicon Image RAID rows (two RAID rows make them response-file packages run after the RAID
# patch), and the hardware monitor row by an RTL8139 package. Each new folder gets the stand-in
# as its setup program, the SiI folders also as patch98.exe, writing c:\geo.log when done.
restart_cd() {
    local folder setup
    setup=$(e2e_find_program setup_standin.exe)
    awk 'BEGIN { FS = OFS = ";" }
         { sub(/\r$/, "") }
         $1 == 53 && $2 == 12 { $6 = "%CDROM%Chipset\\Intel\\INFUPDATE\\" }
         $1 == 70 && $2 == 12 {
             print "70;12;Promise;30;Silicon Image 3112 RAID Driver;%CDROM%Other\\SiI\\Si3112\\;setup.exe;V1.0.0.38\r"
             $0 = "71;12;Promise;30;Silicon Image 3112 RAID Driver (second channel);%CDROM%Other\\SiI\\Si3112R\\;setup.exe;V1.0.0.38"
         }
         $1 == 74 && $2 == 12 { $5 = "Realtek RTL8139 LAN Driver"; $6 = "%CDROM%Network\\RTL8139\\" }
         { print $0 "\r" }' "$E2E_CD/tova.txt" >"$TOVA_E2E_WORK/tova.txt" &&
        mv "$TOVA_E2E_WORK/tova.txt" "$E2E_CD/tova.txt" || return 1
    for folder in Chipset/Intel/INFUPDATE Other/SiI/Si3112 Other/SiI/Si3112R Network/RTL8139; do
        mkdir -p "$E2E_CD/$folder" && cp "$setup" "$E2E_CD/$folder/setup.exe" || return 1
    done
    for folder in Other/SiI/Si3112 Other/SiI/Si3112R; do
        cp "$setup" "$E2E_CD/$folder/patch98.exe" &&
            printf '[InstallShield Silent]\r\n' >"$E2E_CD/$folder/setup1.iss" &&
            printf 'done_file=c:\\geo.log\r\nwait_ms=3000\r\n' >"$E2E_CD/$folder/setup-standin.ini" ||
            return 1
    done
}

# sim_run: the same run on the simulated PC, start after start on one registry and one C:, as
# the Run value starts the program after each restart: every start of a program as the calls
# log notes it (command line, folder, show mode), and the restarts asked for, in sim-run.txt.
sim_run() {
    local c=$TOVA_E2E_WORK/sim-c reg=$TOVA_E2E_WORK/sim.reg out=$TOVA_E2E_ARTIFACTS/sim-run.txt i
    local script=$'click 391 374\nclick 351 374\nwait 600000\nwait 600000\n'
    rm -rf "$c" "$reg" "$out"
    mkdir -p "$c"
    for ((i = 1; i <= 8; i++)); do
        "$sim" session --drive "E=$E2E_CD" --drive "C=$c" --registry "$reg" \
            --board "$boards/ich4-845pe.board" --os "$E2E_SIM_OS" --script - <<<"$script" \
            >"$TOVA_E2E_WORK/sim-$i.txt" || return 1
        echo "start $i" >>"$out"
        awk -F'\t' '$1 == "launch" { print "launch\t" $4 "\t" $5 "\t" $3 }
                    $1 == "restart" || $1 == "exit" || $1 == "messagebox" { print }' \
            "$TOVA_E2E_WORK/sim-$i.txt" >>"$out"
        grep -c '^messagebox.*Driver install finished' "$TOVA_E2E_WORK/sim-$i.txt" >/dev/null && return 0
        script=$'wait 600000\nwait 600000\nwait 600000\n'
    done
    echo "install_run: the simulated run did not finish in 8 starts" >&2
    return 1
}

# await_quiet: the programs the last start started end too, as they would before the next
# logon.
await_quiet() {
    local i
    for ((i = 0; i < 300; i++)); do
        pgrep -f -i 'tova\.exe|setup\.exe|patch98\.exe' >/dev/null || return 0
        sleep 0.1
    done
    e2e_fail "$phase: the programs it started end"
}

# await_end WHAT SECONDS: the program this shell started ends with code 0 within SECONDS, and
# what it started ends as well.
await_end() {
    e2e_expect_exit "$phase: $1" "$E2E_TOVA_PID" 0 "$2"
    await_quiet
}

# ---------------------------------------------------------------------------------------------

if [ "$mode" = run ]; then
    phase=run
    stage ich4-845pe
    e2e_expect_eq "the board's list has six rows" 6 "$(grep -c . <<<"$list")"
    standin_checks
    # The first package takes its time: the next may start only after its result log.
    setting 'Chipset\Intel\INF\' 'wait_ms=4000'
    # A result log without a result code completes a package as well.
    setting 'Audio\Sigmatel\' 'resultcode=no'

    start_and_find
    echo "client area at $cx,$cy size ${cw}x$ch"
    e2e_expect_eq "no row is shown installed before the run" WWWWWW "$(status_bands)"
    rapid_setup_run 1
    sleep 3.5
    tova_screenshot "$TOVA_E2E_ARTIFACTS/run-running.png" || true
    e2e_expect_eq "run: the second package waits for the first one's result log" \
        "$(expected_calls "$list" 0)" "$(calls_log)"
    await_finish
    check_calls 0 2 3 4 5
    check_records 0 2 3 4 5

    phase=again
    start_and_find
    e2e_expect_eq "next start: every row but the unticked one is shown installed" YWYYYY \
        "$(status_bands)"
    inspector close "$title" >/dev/null
    e2e_expect_exit "next start: tova.exe ends with code 0 when closed" "$E2E_TOVA_PID" 0 20
    e2e_expect_eq "next start: nothing more was installed" 5 "$(calls_log | grep -c .)"
elif [ "$mode" = stored ]; then
    # Row 0 finished, row 1 started when the run ended, rows 2, 3 and 5 pending, row 4 not in
    # the run.
    phase=stored
    stage ich4-845pe
    resume_state "$list" 0 1 2 2 - 2
    e2e_start_tova
    await_notice
    await_finish
    check_calls 1 2 3 5
    check_records 1 2 3 5
elif [ "$mode" = alone ]; then
    phase=alone
    stage via-kt400
    e2e_expect_eq "the board's list starts with the package that runs alone" 'Chipset\VIA\4in1\' \
        "$(head -n 1 <<<"$list" | cut -f1)"
    # The package waited for by its process runs a while; the program waits for it to end.
    setting 'Audio\Realtek\' 'wait_ms=2000'
    start_and_find
    rapid_setup_run
    e2e_expect_exit "alone: tova.exe ends with code 0 when the package starts" "$E2E_TOVA_PID" 0 30
    check_calls 0
    e2e_expect_eq "alone: the run is kept: row 0 finished, the others pending" \
        "$(printf '%s\n' exe_0 exe_1 exe_2 exe_3 exe_4 exe_5 inst_0=00 inst_1=02 inst_2=02 \
            inst_3=02 inst_4=02 inst_5=02 item=06)" \
        "$(reg_values "$resume_key" | sed 's/^\(exe_[0-9]*\)=.*/\1/')"
    e2e_expect_eq "alone: the Run value starts the program at the next logon" 'zzQTM=E:\tova.exe' \
        "$(reg_values "$run_key" | grep '^zzQTM=')"
    check_records 0
    # The package that ran alone leaves its result log behind: the next run must not take it
    # for the log of its first package.
    for _ in $(seq 50); do has_result_log && break; sleep 0.1; done
    has_result_log && e2e_pass "alone: the package left its result log behind" ||
        e2e_fail "alone: the package left its result log behind"

    # The next start, as the logon would make it.
    phase=taken-up
    e2e_start_tova
    await_notice
    await_finish
    check_calls 0 1 2 3 4 5
    check_records 0 1 2 3 4 5
elif [ "$mode" = killed ]; then
    # The power goes while the first package runs: the program is killed, nothing of it runs
    # any more; the next start takes the run up where the registry says it stood.
    phase=killed
    stage ich4-845pe
    setting 'Chipset\Intel\INF\' 'wait_ms=6000'
    start_and_find
    rapid_setup_run
    for _ in $(seq 150); do [ "$(calls_log | grep -c .)" -ge 1 ] && break; sleep 0.2; done
    e2e_expect_eq "killed: the first package is running" "$(expected_calls "$list" 0)" "$(calls_log)"
    kill -9 "$E2E_TOVA_PID" 2>/dev/null
    inspector gone "$title" 20000 >/dev/null && e2e_pass "killed: the program is gone" ||
        e2e_fail "killed: the program is gone"
    # A polled package counts as finished once it has started; the rest wait.
    e2e_expect_eq "killed: the run is kept as it stood" \
        "$(printf '%s\n' exe_0 exe_1 exe_2 exe_3 exe_4 exe_5 inst_0=00 inst_1=02 inst_2=02 \
            inst_3=02 inst_4=02 inst_5=02 item=06)" \
        "$(reg_values "$resume_key" | sed 's/^\(exe_[0-9]*\)=.*/\1/')"

    phase=after-kill
    e2e_start_tova
    await_notice
    await_finish
    # The package that was running is not started again; every other one once.
    check_calls 0 1 2 3 4 5
    check_records 0 1 2 3 4 5
elif [ "$mode" = restart ]; then
    phase=restart
    stage ich4-845pe restart_cd
    e2e_expect_eq "the 98 SE list has the INF update, two SiI RAID rows and the RTL8139 row" \
        'Chipset\Intel\INFUPDATE\|LAN\Intel\|Audio\Sigmatel\|Other\SiI\Si3112\|Other\SiI\Si3112R\|Network\RTL8139\|Chipset\USB20\98ME\' \
        "$(cut -f1 <<<"$list" | paste -sd'|')"
    sim_run || e2e_abort "tova-sim cannot run the 98 SE run"
    starts=$(grep -c '^start ' "$TOVA_E2E_ARTIFACTS/sim-run.txt")
    echo "tova-sim: the run takes $starts starts"

    start_and_find
    rapid_setup_run
    box=$TOVA_E2E_ARTIFACTS/restart-warning.txt
    if inspector msgbox Msg 20000 >"$box"; then
        e2e_expect_eq "restart: the run warns of the restart first" \
            'Some device drivers will restart your system automatically.\nAfter restarting your system the "Rapid Setup" will \ncontinue to install other drivers.' \
            "$(sed -n 's/^text\t//p' "$box" | paste -sd'\n' | sed 's/\t/\\n/g')"
        inspector press Msg OK >/dev/null || e2e_fail "restart: OK can be pressed"
    else
        e2e_fail "restart: the run warns of the restart first"
    fi
    e2e_expect_exit "$phase: tova.exe ends with code 0 after asking Windows to restart" \
        "$E2E_TOVA_PID" 0 "$run_limit"
    # Wine's answer to ExitWindowsEx: wineboot ends the session, and the session that follows
    # starts the Run value's program, as the logon after a restart does on Windows.
    phase=start-2
    restarted=
    for ((i = 0; i < 300; i++)); do
        restarted=$(pgrep -f -x 'E:\\tova\.exe') && break
        sleep 0.1
    done
    if [ -n "$restarted" ]; then
        e2e_pass "restart: Wine ends the session and the Run value starts E:\\tova.exe again"
        await_notice
        for ((i = 0; i < run_limit * 10; i++)); do kill -0 "$restarted" 2>/dev/null || break; sleep 0.1; done
        kill -0 "$restarted" 2>/dev/null && e2e_fail "$phase: the restarted tova.exe ends" ||
            e2e_pass "$phase: the restarted tova.exe ends when its package is started"
        await_quiet
    else
        e2e_fail "restart: Wine ends the session and the Run value starts E:\\tova.exe again"
    fi
    for ((n = 3; n <= starts; n++)); do
        phase=start-$n
        e2e_start_tova
        await_notice
        if [ "$n" = "$starts" ]; then
            await_finish
        else
            await_end "tova.exe ends with code 0 when its package is started" "$run_limit"
        fi
    done
    phase=restart
    awk -F'\t' '$1 == "launch" { print $2 "\t" $3 "\t" $4 }' "$TOVA_E2E_ARTIFACTS/sim-run.txt" \
        >"$TOVA_E2E_ARTIFACTS/restart-calls-expected.txt"
    calls_log >"$TOVA_E2E_ARTIFACTS/restart-calls.txt"
    compare "restart: every program started as on the simulated PC, each once (command line, folder, show mode)" \
        "$TOVA_E2E_ARTIFACTS/restart-calls-expected.txt" "$TOVA_E2E_ARTIFACTS/restart-calls.txt"
    # (The RAID patch runs before each SiI package: twice, by design.)
    e2e_expect_eq "restart: no package started twice across the starts" "" \
        "$(cut -f1 "$TOVA_E2E_ARTIFACTS/restart-calls.txt" | grep -iv '^patch98\.exe$' | sort | uniq -d)"
    check_records 0 1 2 3 4 5 6
    [ -e "$WINEPREFIX/drive_c/geo.log" ] && e2e_fail "restart: the RAID patch's file is removed" ||
        e2e_pass "restart: the RAID patch's file is removed"
    # Each SiI package starts only once the patch before it has written its file (3 s after it
    # started): the times log has the patch's "done" before the package's "start".
    tr -d '\r' <"$WINEPREFIX/drive_c/setup-times.log" >"$TOVA_E2E_ARTIFACTS/restart-times.txt" 2>/dev/null
    e2e_expect_eq "restart: each SiI package starts after its RAID patch is done" \
        'patch98.exe start|patch98.exe done|si3112 start|patch98.exe start|patch98.exe done|si3112r start' \
        "$(awk -F'\t' '$3 ~ /patch98|si3112/ {
                name = ($3 ~ /patch98/) ? "patch98.exe" : ($3 ~ /si3112r/ ? "si3112r" : "si3112")
                print name " " $1 }' "$TOVA_E2E_ARTIFACTS/restart-times.txt" | paste -sd'|')"
else
    e2e_abort "mode must be run, stored, alone, killed or restart, not $mode"
fi
e2e_end
