// Restarting Windows for packages that need it on 98 SE and Me; the resume state carries the
// run over the restart.
#include "install/restart.h"

#include "app/setup_dialog.h"

void RestartSystem(CSetupDlg& dialog)
{
    uint8_t osCode = dialog.state.hw.osCode;
    if (osCode != OS_WIN98SE && osCode != OS_WINME) return;
    // Whether Windows agrees does not matter: the program has ended either way, and the Run
    // value continues the run at the next start.
    dialog.platform.processes.ExitWindows(RESTART_EWX_REBOOT);
    dialog.EndProgram();
}
