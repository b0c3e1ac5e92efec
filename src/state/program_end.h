// Ending the program: the one operation every subsystem that may end it is given.
#pragma once

#include "platform/processes.h"

// The process ends with exit code 0 and the dialog's data remembers it, so that where
// ExitProcess returns (the simulated PC) every caller returns straight after.
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
