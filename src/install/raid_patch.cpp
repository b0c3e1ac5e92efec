// The 98 SE RAID patch: run hidden, and waited for (bounded) until it writes its file.
#include "install/raid_patch.h"

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/system.h"
#include "platform/window.h"

const char RAID_PATCH_PROGRAM[] = "patch98.exe";
const char RAID_PATCH_DONE_FILE[] = "c:\\geo.log";
const char RAID_PATCH_TIMEOUT_TEXT[] =
    "The RAID patch (patch98.exe) did not finish within 5 minutes.";

namespace {

const char MSG_CAPTION[] = "Msg";

}  // namespace

void RunRaidPatch(Files& files, Processes& processes, System& system, Window& window)
{
    processes.WinExec(RAID_PATCH_PROGRAM, SHOW_HIDE);
    // The patch says it is done by writing its file; one that never does must not hold the
    // window for ever.
    uint32_t waited = 0;
    while (!files.CanOpenForReading(RAID_PATCH_DONE_FILE)) {
        if (waited >= RAID_PATCH_WAIT_LIMIT_MS) {
            window.MessageBox(true, RAID_PATCH_TIMEOUT_TEXT, MSG_CAPTION, MSGBOX_OK);
            return;
        }
        system.Sleep(RAID_PATCH_POLL_MS);
        waited += RAID_PATCH_POLL_MS;
    }
    files.DeleteFile(RAID_PATCH_DONE_FILE);
}
