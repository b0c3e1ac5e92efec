// The resume state of an installation run: the logon Run value "zzQTM" and the key
// "Software\QTM" with each row's state, which carry a run across restarts.
#pragma once

#include <cstdint>

#include "platform/registry.h"

struct CPlatform;
struct CProgramState;
struct CDialogState;

extern const char RESUME_RUN_KEY[];
extern const char RESUME_RUN_VALUE[];
extern const char RESUME_KEY[];
// The list's length, written last: its presence says the list is whole.
extern const char RESUME_ITEM_VALUE[];
extern const char RESUME_QUESTION_TEXT[];
extern const char RESUME_QUESTION_CAPTION[];

// A row's state in the resume key.
const uint8_t RESUME_ROW_FINISHED = 0;
const uint8_t RESUME_ROW_STARTED = 1;
const uint8_t RESUME_ROW_PENDING = 2;
// The resume wait asks its question at this tick.
const int RESUME_WAIT_TICKS = 500;

// Deletes the Run value and the resume key, then flushes HKEY_CURRENT_USER, so that the run
// does not continue after a restart. Failures are ignored: what is missing is already gone.
void DeleteResumeState(Registry& registry);

class CResumeState {
public:
    CResumeState(CPlatform& platform, CProgramState& state);

    // The Run value always; the list of chosen rows only when no resume key exists yet.
    // Returns whether the list was written, and in *needsRestart whether a chosen row is an
    // INF update (which restarts the system).
    bool WriteResumeList(bool* needsRestart);
    void SetRowResumeState(int n, uint8_t rowState);
    // State 0, and the row's box ticked and disabled; nothing without the key.
    void MarkRowFinished(int n);
    // The rows' choice from the stored states: at most one started row is tried again.
    void RestoreResumeSelection();
    // The stored list was written to its end.
    bool ListComplete();

private:
    CPlatform& platform;
    CProgramState& state;
    CDialogState& dialog;
};
