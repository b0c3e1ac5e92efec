// Taking a stored run up again: at start behind the notice, and after the resume wait.
#pragma once

#include <cstdint>

class AppHost;
class CProgramEnd;
struct CPlatform;
struct CProgramState;
struct CDialogState;

const uint32_t TIMER_RESUME_WAIT_MS = 120;
// The wait's markers run along this line, one line lower for every RESUME_WAIT_TICKS.
const int RESUME_MARKER_Y = 434;

class CResumeFlow {
public:
    // host runs the notice dialog; without one the notice is not shown (and declines).
    CResumeFlow(CPlatform& platform, CProgramState& state, CProgramEnd& end, AppHost* host);

    // At start: the notice when a resume key exists; declined ends the program, accepted goes
    // on with the run in Rapid Setup mode. False when the program was ended.
    bool ResumeAtStart();
    // The main dialog's OK: after a pause and a notice the resume wait starts.
    void OnOK();
    // TIMER_RESUME_WAIT: the wait marker, then the resume question.
    void ResumeWaitTick();
    // Every tick of the resume wait; at its end the question, and the run or the end.
    void ResumeCheck();

private:
    void ShowRowCheckBoxes(bool hideUnsupportedUsb2);

    CPlatform& platform;
    CProgramState& state;
    CDialogState& dialog;
    CProgramEnd& end;
    AppHost* host;
};
