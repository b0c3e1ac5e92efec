// Ending the program: the process ends with exit code 0 and the dialog's data remembers it, so
// that where ExitProcess returns (the simulated PC) every caller returns straight after.
#pragma once

#include "platform/processes.h"

class CProgramEnd {
public:
    CProgramEnd(Processes& processes, bool& programEnded)
        : processes(processes), programEnded(programEnded)
    {
    }

    void EndProgram();
    bool ProgramEnded() const { return programEnded; }

private:
    Processes& processes;
    bool& programEnded;
};
