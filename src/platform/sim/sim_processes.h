// The simulated process service: every start is recorded and answered from a small script, the
// started programs run on the virtual clock, and the end of the program is recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_event_log.h"

// WaitForSingleObject on a handle that is not a process.
const uint32_t SIM_WAIT_FAILED = 0xFFFFFFFF;
// GetExitCodeProcess of a program that still runs.
const uint32_t SIM_STILL_ACTIVE = 259;

// What the next started program does.
struct CSimProcessScript {
    bool startFails = false;  // the start itself fails (file not found)
    uint32_t exitCode = 0;
    uint32_t runMs = 0;       // virtual time until it ends; 0: it ends at once
};

enum CSimLaunchKind { SIM_LAUNCH_CREATE_PROCESS, SIM_LAUNCH_WINEXEC, SIM_LAUNCH_SHELL_OPEN };

// One start the program asked for.
struct CSimLaunch {
    CSimLaunchKind kind;
    std::string commandLine;  // the command line; for a shell open the file
    std::string parameters;   // a shell open's parameters
    std::string directory;    // the working folder; "" inherits the current one
    uint32_t show;            // WinExec's show command
    bool started;
    uint64_t startedAt;       // virtual milliseconds
    CSimProcessScript script;
};

class CSimProcesses : public Processes {
public:
    CSimProcesses(CSimEventLog& events, CSimClock& clock);

    // The script of the next start of any kind; once the queue is empty every start follows
    // the default (success, the program ends at once with 0).
    void QueueScript(const CSimProcessScript& script) { queued.push_back(script); }
    void SetDefaultScript(const CSimProcessScript& script) { defaultScript = script; }
    // Chooses the script of a start by its command line once the queue is empty (tova-sim's
    // program lines); without one every start follows the default.
    void SetScriptChooser(std::function<CSimProcessScript(const std::string&)> chooser)
    {
        scriptChooser = chooser;
    }
    // Called at every start, after it is recorded: a test's stand-in for what the started
    // program does (write its result log, ...).
    void SetLaunchHook(std::function<void(const CSimLaunch&)> hook) { launchHook = hook; }
    void SetExitWindowsResult(bool ok) { exitWindowsResult = ok; }
    // Where started programs begin when no folder is given: the program's current directory.
    void SetFiles(Files* fileService) { files = fileService; }

    const std::vector<CSimLaunch>& Launches() const { return launches; }
    const std::vector<uint32_t>& ExitWindowsCalls() const { return exitWindowsFlags; }
    // Process handles not closed yet.
    size_t OpenProcessCount() const { return processes.size(); }

    // Whether ExitProcess was called, with the first call's code (the one Windows would see).
    bool Exited() const { return exitCalls > 0; }
    uint32_t ExitCode() const { return exitCode; }
    int ExitCalls() const { return exitCalls; }

    bool CreateProcess(const char* commandLine, const char* directory,
                       ProcessHandle* out) override;
    uint32_t WaitForProcess(ProcessHandle process, uint32_t milliseconds) override;
    bool GetExitCodeProcess(ProcessHandle process, uint32_t* code) override;
    void CloseProcess(ProcessHandle process) override;
    uint32_t WinExec(const char* commandLine, uint32_t show) override;
    uintptr_t ShellOpen(const char* file, const char* parameters,
                        const char* directory) override;
    bool ExitWindows(uint32_t flags) override;
    void ExitProcess(uint32_t code) override;

private:
    struct CRunning {
        uint64_t endsAt;
        uint32_t exitCode;
    };

    CSimLaunch Launch(CSimLaunchKind kind, const char* commandLine,
                      const char* parameters, const char* directory, uint32_t show);
    // "launch", the call, the show mode, the command line, the working folder as
    // GetCurrentDirectoryA reports it, and "failed" for a start that failed.
    void LogLaunch(const CSimLaunch& launch);

    CSimEventLog& events;
    CSimClock& clock;
    Files* files = nullptr;
    std::vector<CSimProcessScript> queued;
    CSimProcessScript defaultScript;
    std::function<void(const CSimLaunch&)> launchHook;
    std::function<CSimProcessScript(const std::string&)> scriptChooser;
    bool exitWindowsResult;
    std::vector<CSimLaunch> launches;
    std::vector<uint32_t> exitWindowsFlags;
    std::map<ProcessHandle, CRunning> processes;
    ProcessHandle nextHandle;
    int exitCalls;
    uint32_t exitCode;
};
