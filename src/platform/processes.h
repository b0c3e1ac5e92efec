// The process service: starting programs, waiting for them, and ending this one.
#pragma once

#include <cstdint>

typedef uintptr_t ProcessHandle;

const uint32_t WAIT_RESULT_DONE = 0;     // WAIT_OBJECT_0
const uint32_t WAIT_RESULT_TIMEOUT = 258;  // WAIT_TIMEOUT

class Processes {
public:
    virtual ~Processes() {}

    // CreateProcessA with the command line and working folder (null: inherit).
    virtual bool CreateProcess(const char* commandLine, const char* directory,
                               ProcessHandle* out) = 0;
    // WaitForSingleObject with a timeout in milliseconds: WAIT_RESULT_DONE or _TIMEOUT.
    virtual uint32_t WaitForProcess(ProcessHandle process, uint32_t milliseconds) = 0;
    virtual bool GetExitCodeProcess(ProcessHandle process, uint32_t* code) = 0;
    virtual void CloseProcess(ProcessHandle process) = 0;
    // WinExec: a value above 31 is success.
    virtual uint32_t WinExec(const char* commandLine, uint32_t show) = 0;
    // ShellExecuteA with the verb "open": a value above 32 is success.
    virtual uintptr_t ShellOpen(const char* file, const char* parameters,
                                const char* directory) = 0;
    virtual bool ExitWindows(uint32_t flags) = 0;
    // Ends the program at once with the exit code. On Windows this does not return; the
    // simulated platform records it and returns, so every caller returns straight after.
    virtual void ExitProcess(uint32_t code) = 0;
};
