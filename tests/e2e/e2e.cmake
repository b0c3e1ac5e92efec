# End-to-end tests: the Windows build under Wine and Xvfb, each test a bash script with a fresh
# prefix and display of its own: the x86_64 build (TOVA_E2E_WIN64_DIR) under wine64, and where
# Debian's 32-bit Wine runs here, every test again on the i686 build that ships (TOVA_WIN32_DIR)
# as e2e_i686_NAME. Screenshots and window lists are kept under e2e-artifacts/ of this build folder.
set(TOVA_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TOVA_E2E_WORK_ROOT ${CMAKE_BINARY_DIR}/e2e-work)
set(TOVA_E2E_ARTIFACT_ROOT ${CMAKE_BINARY_DIR}/e2e-artifacts)

# The 32-bit loader runs here (scripts/wine32.sh says why not when it does not).
set(TOVA_E2E_WINE32 /usr/lib/wine/wine)
set(TOVA_E2E_I686 OFF)
if(TOVA_WIN32_DIR AND EXISTS ${TOVA_E2E_WINE32})
    execute_process(COMMAND ${TOVA_E2E_WINE32} --version RESULT_VARIABLE wine32_status
                    OUTPUT_QUIET ERROR_QUIET)
    if(wine32_status EQUAL 0)
        set(TOVA_E2E_I686 ON)
    endif()
endif()
message(STATUS "e2e: i686 runs under 32-bit Wine: ${TOVA_E2E_I686}")

# tova_add_e2e_test(NAME SCRIPT [ARGS...])
function(tova_add_e2e_test name script)
    add_test(NAME e2e_${name} COMMAND bash ${TOVA_E2E_DIR}/${script} ${ARGN})
    set_tests_properties(e2e_${name} PROPERTIES
        LABELS e2e
        TIMEOUT 400
        ENVIRONMENT "TOVA_E2E_WIN64_DIR=${TOVA_E2E_WIN64_DIR};TOVA_SOURCE_DIR=${PROJECT_SOURCE_DIR};TOVA_E2E_WORK=${TOVA_E2E_WORK_ROOT}/${name};TOVA_E2E_ARTIFACTS=${TOVA_E2E_ARTIFACT_ROOT}/${name}")
    if(TOVA_E2E_I686)
        add_test(NAME e2e_i686_${name} COMMAND bash ${TOVA_E2E_DIR}/${script} ${ARGN})
        set_tests_properties(e2e_i686_${name} PROPERTIES
            LABELS "e2e;i686"
            TIMEOUT 400
            ENVIRONMENT "TOVA_E2E_WIN64_DIR=${TOVA_WIN32_DIR};TOVA_WINE=${TOVA_E2E_WINE32};TOVA_SOURCE_DIR=${PROJECT_SOURCE_DIR};TOVA_E2E_WORK=${TOVA_E2E_WORK_ROOT}/i686_${name};TOVA_E2E_ARTIFACTS=${TOVA_E2E_ARTIFACT_ROOT}/i686_${name}")
    endif()
endfunction()

tova_add_e2e_test(main_dialog main_dialog.sh 96)
tova_add_e2e_test(main_dialog_120dpi main_dialog.sh 120)
tova_add_e2e_test(panels panels.sh 96 $<TARGET_FILE:tova-sim>)
tova_add_e2e_test(panels_120dpi panels.sh 120 $<TARGET_FILE:tova-sim>)
tova_add_e2e_test(gdi_objects gdi_objects.sh)
# The other systems, each on another board: the 9x family (the program's own port instructions
# and its ROM read, answered by roduru.dll's trap), and 2000 and NT 4 (the library's exports).
# NT 4 gets no interaction run: it offers no Rapid Setup, and draws no status column.
foreach(run win98se:ich4-845pe winme:sis651 win95:via-kt400 win2000:ich5-865g nt4:nforce2)
    string(REPLACE ":" ";" run ${run})
    list(GET run 0 system)
    list(GET run 1 board)
    tova_add_e2e_test(panels_${system} panels.sh 96 $<TARGET_FILE:tova-sim> ${system} ${board})
    if(NOT system STREQUAL nt4)
        tova_add_e2e_test(interaction_${system} interaction.sh ${system})
    endif()
endforeach()
# A Traditional Chinese Windows: the Big5 panels of cht.ini on code page 950, seen on the screen.
tova_add_e2e_test(chinese chinese.sh)
tova_add_e2e_test(second_copy second_copy.sh)
tova_add_e2e_test(hwprobe hwprobe.sh)
tova_add_e2e_test(no_cd no_cd.sh)
tova_add_e2e_test(unsupported_os unsupported_os.sh)
tova_add_e2e_test(cd_drive_order cd_drive_order.sh)
tova_add_e2e_test(template_check template_check.sh)
tova_add_e2e_test(adapter_check adapter_check.sh)
# The README's main command itself, as a new user runs it (no display; the build of this run).
tova_add_e2e_test(run_demo run_demo.sh)
tova_add_e2e_test(surface_check surface_check.sh)
tova_add_e2e_test(interaction interaction.sh)
# Rapid Setup runs with the stand-in setup programs: a whole run, a run taken up from a stored
# resume state, and a run that a package running alone ends and the next start takes up.
tova_add_e2e_test(install_run install_run.sh run $<TARGET_FILE:tova-sim>)
tova_add_e2e_test(install_stored install_run.sh stored $<TARGET_FILE:tova-sim>)
tova_add_e2e_test(install_alone install_run.sh alone $<TARGET_FILE:tova-sim>)
tova_add_e2e_test(install_killed install_run.sh killed $<TARGET_FILE:tova-sim>)
# Windows 98 SE, the program's own port instructions answered by roduru.dll's trap: a run across
# the INF update's restart request, the RAID patch and the packages that end the program.
tova_add_e2e_test(install_restart_98se install_run.sh restart $<TARGET_FILE:tova-sim>)
# The ISO image of scripts/make-cd-image.sh, its files taken out onto a CD-ROM drive: window,
# rows and one installation from there.
tova_add_e2e_test(cd_image cd_image.sh $<TARGET_FILE:tova-sim>)

# Broken CDs through the real LoadImageA, GetPrivateProfileStringA and edit boxes, one start of
# the program per broken CD; the Big5 texts once on Wine's default code page and once in its
# Traditional Chinese locale (code page 950).
foreach(group bitmaps profiles texts big5 big5-950)
    string(REPLACE "-" "_" name ${group})
    tova_add_e2e_test(hostile_${name} hostile_cd.sh ${group} $<TARGET_FILE:tova-sim>)
endforeach()

# The profile reader against GetPrivateProfileStringA, in a prefix of its own that is ended
# afterwards.
if(TARGET profile-dump-native)
    add_test(NAME e2e_profile_diff
        COMMAND bash ${TOVA_E2E_DIR}/with_prefix.sh ${TOVA_E2E_WORK_ROOT}/profile_diff/prefix
                bash ${TOVA_E2E_DIR}/profile_diff.sh ${TOVA_E2E_WIN64_DIR}
                $<TARGET_FILE:profile-dump-native>)
    set_tests_properties(e2e_profile_diff PROPERTIES LABELS e2e TIMEOUT 300)
else()
    message(WARNING "e2e: no profile-dump-native target, e2e_profile_diff is not registered")
endif()
