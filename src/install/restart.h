// Restarting Windows for packages that need it on 98 SE and Me; the resume state carries the
// run over the restart.
#pragma once

#include <cstdint>

class Processes;
class CProgramEnd;

// ExitWindowsEx's EWX_REBOOT.
const uint32_t RESTART_EWX_REBOOT = 2;

// On 98 SE and Me: asks Windows to restart and ends the program at once (without waiting for
// the shutdown and without touching the resume state). On other systems nothing happens.
void RestartSystem(Processes& processes, uint8_t osCode, CProgramEnd& end);
