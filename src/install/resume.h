// The resume state of an installation run: the logon Run value "zzQTM" and the key
// "Software\QTM" that carry a run across restarts.
#pragma once

#include "platform/registry.h"

extern const char RESUME_RUN_KEY[];
extern const char RESUME_RUN_VALUE[];
extern const char RESUME_KEY[];

// Deletes the Run value and the resume key, then flushes HKEY_CURRENT_USER, so that the run
// does not continue after a restart. Failures are ignored: what is missing is already gone.
void DeleteResumeState(Registry& registry);
