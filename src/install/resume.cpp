// The resume state of an installation run: the logon Run value "zzQTM" and the key
// "Software\QTM" that carry a run across restarts.
#include "install/resume.h"

const char RESUME_RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char RESUME_RUN_VALUE[] = "zzQTM";
const char RESUME_KEY[] = "Software\\QTM";

void DeleteResumeState(Registry& registry)
{
    RegKey run = 0;
    if (registry.OpenKey(REG_HKEY_LOCAL_MACHINE, RESUME_RUN_KEY, &run)) {
        registry.DeleteValue(run, RESUME_RUN_VALUE);
        registry.CloseKey(run);
    }
    registry.DeleteKey(REG_HKEY_CURRENT_USER, RESUME_KEY);
    registry.FlushKey(REG_HKEY_CURRENT_USER);
}
