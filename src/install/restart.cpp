// Restarting Windows for packages that need it on 98 SE and Me; the resume state carries the
// run over the restart.
#include "install/restart.h"

#include "hw/hw_state.h"
#include "platform/processes.h"
#include "state/program_end.h"

void RestartSystem(Processes& processes, uint8_t osCode, CProgramEnd& end)
{
    if (osCode != OS_WIN98SE && osCode != OS_WINME) return;
    // Whether Windows agrees does not matter: the program has ended either way, and the Run
    // value continues the run at the next start.
    processes.ExitWindows(RESTART_EWX_REBOOT);
    end.EndProgram();
}
