// The process service on Windows: CreateProcessA and its waits, WinExec, the shell, the end.
#pragma once

#include "platform/processes.h"

class CWin32Processes : public Processes {
public:
    bool CreateProcess(const char* commandLine, const char* directory,
                       ProcessHandle* out) override;
    uint32_t WaitForProcess(ProcessHandle process, uint32_t milliseconds) override;
    bool GetExitCodeProcess(ProcessHandle process, uint32_t* code) override;
    void CloseProcess(ProcessHandle process) override;
    uint32_t WinExec(const char* commandLine, uint32_t show) override;
    uintptr_t ShellOpen(const char* file, const char* parameters, const char* directory) override;
    bool ExitWindows(uint32_t flags) override;
    void ExitProcess(uint32_t code) override;
};
