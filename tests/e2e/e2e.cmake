# End-to-end tests: the x86_64 Windows build (TOVA_E2E_WIN64_DIR) under wine64 and Xvfb, each
# test a bash script with a fresh prefix and display of its own. Screenshots and window lists
# are kept under e2e-artifacts/ of this build folder.
set(TOVA_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TOVA_E2E_WORK_ROOT ${CMAKE_BINARY_DIR}/e2e-work)
set(TOVA_E2E_ARTIFACT_ROOT ${CMAKE_BINARY_DIR}/e2e-artifacts)

# tova_add_e2e_test(NAME SCRIPT [ARGS...])
function(tova_add_e2e_test name script)
    add_test(NAME e2e_${name} COMMAND bash ${TOVA_E2E_DIR}/${script} ${ARGN})
    set_tests_properties(e2e_${name} PROPERTIES
        LABELS e2e
        TIMEOUT 300
        ENVIRONMENT "TOVA_E2E_WIN64_DIR=${TOVA_E2E_WIN64_DIR};TOVA_SOURCE_DIR=${PROJECT_SOURCE_DIR};TOVA_E2E_WORK=${TOVA_E2E_WORK_ROOT}/${name};TOVA_E2E_ARTIFACTS=${TOVA_E2E_ARTIFACT_ROOT}/${name}")
endfunction()

tova_add_e2e_test(main_dialog main_dialog.sh 96)
tova_add_e2e_test(main_dialog_120dpi main_dialog.sh 120)
tova_add_e2e_test(panels panels.sh 96 $<TARGET_FILE:tova-sim>)
tova_add_e2e_test(panels_120dpi panels.sh 120 $<TARGET_FILE:tova-sim>)
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
