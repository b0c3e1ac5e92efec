// The 98 SE RAID patch: run hidden, and waited for (bounded) until it writes its file.
#pragma once

#include <cstdint>

class Files;
class Processes;
class System;
class Window;

// ShowWindow's SW_HIDE, for the patch.
const uint32_t SHOW_HIDE = 0;
// The patch and the file it writes when it is done.
extern const char RAID_PATCH_PROGRAM[];
extern const char RAID_PATCH_DONE_FILE[];
const uint32_t RAID_PATCH_POLL_MS = 2000;
// A patch that has not written its file by then will not: the window is given back.
const uint32_t RAID_PATCH_WAIT_LIMIT_MS = 5 * 60 * 1000;
extern const char RAID_PATCH_TIMEOUT_TEXT[];

void RunRaidPatch(Files& files, Processes& processes, System& system, Window& window);
