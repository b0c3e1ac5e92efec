// The install sequencer: the chosen driver rows installed one after another from the dialog's
// timer, each package run silently and waited for by its process or its result log, the rows
// completed, the packages that end the program or restart Windows, and the finish.
#pragma once

#include <cstdint>

struct CPlatform;
struct CProgramState;
struct CDialogState;
class CProgramEnd;

extern const char SEQUENCER_RESTART_WARNING[];
extern const char SEQUENCER_FINISHED_TEXT[];
extern const char SEQUENCER_NO_RESULT_TEXT[];
const uint32_t TIMER_STEP_FIRST_MS = 20;
const uint32_t TIMER_STEP_AFTER_WAIT_MS = 50;
const uint32_t TIMER_STEP_AFTER_POLL_MS = 500;
const uint32_t TIMER_LOG_POLL_MS = 1000;
// The progress markers run along this line.
const int PROGRESS_Y = 415;
const int PROGRESS_STEP_X = 5;

class CSequencer {
public:
    CSequencer(CPlatform& platform, CProgramState& state, CProgramEnd& end);

    // Stores the run (Run value and resume list), warns of a restart when the list holds an
    // INF update, and starts the step timer.
    void StartSequence();
    // TIMER_STEP: one row a tick.
    void StepTick();
    // TIMER_LOG_POLL: the detached package's result log.
    void LogPollTick();
    // One progress step of the running package.
    void AdvanceProgress();

private:
    bool IsWin9x() const;
    void CountRaidRows();
    void StartRow();
    bool RunAndExitChecks(const char* upper);
    void ExitAfterDetached(int row, const char* commandLine);
    bool NoWaitKinds(const char* upper);
    bool LanOn9x(const char* upper);
    void RunAndWaitRow(const char* upper);
    void CompleteRow(bool conditionalRedraw, uint32_t nextStepMs);
    void ContinueAfterRow(const char* upper, uint32_t nextStepMs);
    void FinishRow(int row);
    void RedrawCompletedRow(int k, bool textToo);
    void Finish();
    void StopWithoutResult();
    // The row being installed and its Panel0 item.
    int Row() const;
    int RowItem() const;

    CPlatform& platform;
    CProgramState& state;
    CDialogState& dialog;
    CProgramEnd& end;
};
