// The simulated process service: scripted starts on the virtual clock.
#include "platform/sim/sim_processes.h"

namespace {

// WinExec and ShellExecute return a small error number on failure: file not found.
const uint32_t SIM_ERROR_FILE_NOT_FOUND = 2;
// Any value above 31 (WinExec) or 32 (ShellExecute) is success; these stand for an instance.
const uint32_t SIM_WINEXEC_OK = 33;
const uintptr_t SIM_SHELL_OPEN_OK = 42;

// The show modes the real adapter hands to the calls that take none from the core: the
// started program's STARTUPINFO asks for SW_SHOWNORMAL, the shell open for SW_SHOW.
const uint32_t SIM_SW_SHOWNORMAL = 1;
const uint32_t SIM_SW_SHOW = 5;

const char* CallName(CSimLaunchKind kind)
{
    switch (kind) {
    case SIM_LAUNCH_CREATE_PROCESS:
        return "CreateProcess";
    case SIM_LAUNCH_WINEXEC:
        return "WinExec";
    default:
        return "ShellExecute";
    }
}

// A folder as GetCurrentDirectoryA reports it: no backslash at the end except at a root.
std::string FolderAsReported(std::string folder)
{
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

void CSimProcesses::LogLaunch(const CSimLaunch& launch)
{
    std::string folder = launch.directory;
    if (folder.empty() && files) {
        char current[1024] = {};
        files->GetCurrentDirectory(current, sizeof current);
        folder = current;
    }
    std::string command = launch.commandLine;
    if (!launch.parameters.empty()) command += " " + launch.parameters;
    std::string line = std::string("launch\t") + CallName(launch.kind) + "\t" +
                       std::to_string(launch.show) + "\t" + command + "\t" +
                       FolderAsReported(folder);
    if (!launch.started) line += "\tfailed";
    events.Add(line);
}

CSimProcesses::CSimProcesses(CSimEventLog& events, CSimClock& clock)
    : events(events), clock(clock), exitWindowsResult(true), nextHandle(0x200), exitCalls(0),
      exitCode(0)
{
}

CSimLaunch CSimProcesses::Launch(CSimLaunchKind kind, const char* commandLine,
                                 const char* parameters, const char* directory, uint32_t show)
{
    CSimLaunch launch;
    launch.kind = kind;
    launch.commandLine = commandLine ? commandLine : "";
    launch.parameters = parameters ? parameters : "";
    launch.directory = directory ? directory : "";
    launch.show = show;
    if (!queued.empty()) {
        launch.script = queued.front();
        queued.erase(queued.begin());
    } else if (scriptChooser) {
        launch.script = scriptChooser(launch.commandLine);
    } else {
        launch.script = defaultScript;
    }
    launch.started = !launch.script.startFails;
    launch.startedAt = clock.Now();
    launches.push_back(launch);
    LogLaunch(launch);
    // A copy: the hook may start further programs and grow the record.
    if (launchHook) launchHook(launch);
    return launch;
}

bool CSimProcesses::CreateProcess(const char* commandLine, const char* directory,
                                  ProcessHandle* out)
{
    CSimLaunch launch =
        Launch(SIM_LAUNCH_CREATE_PROCESS, commandLine, nullptr, directory, SIM_SW_SHOWNORMAL);
    if (!launch.started) return false;
    ProcessHandle handle = nextHandle;
    nextHandle += 4;
    processes[handle] = {launch.startedAt + launch.script.runMs, launch.script.exitCode};
    if (out) *out = handle;
    return true;
}

uint32_t CSimProcesses::WaitForProcess(ProcessHandle process, uint32_t milliseconds)
{
    auto it = processes.find(process);
    if (it == processes.end()) return SIM_WAIT_FAILED;
    uint64_t now = clock.Now();
    if (now >= it->second.endsAt) return WAIT_RESULT_DONE;
    uint64_t remaining = it->second.endsAt - now;
    // The wait blocks the thread: time passes, the message loop (and its timers) does not run.
    // INFINITE (0xFFFFFFFF) is never shorter than a scripted run.
    if (milliseconds >= remaining) {
        clock.Pass(remaining);
        return WAIT_RESULT_DONE;
    }
    clock.Pass(milliseconds);
    return WAIT_RESULT_TIMEOUT;
}

bool CSimProcesses::GetExitCodeProcess(ProcessHandle process, uint32_t* code)
{
    auto it = processes.find(process);
    if (it == processes.end() || !code) return false;
    *code = clock.Now() >= it->second.endsAt ? it->second.exitCode : SIM_STILL_ACTIVE;
    return true;
}

void CSimProcesses::CloseProcess(ProcessHandle process)
{
    processes.erase(process);
}

uint32_t CSimProcesses::WinExec(const char* commandLine, uint32_t show)
{
    CSimLaunch launch = Launch(SIM_LAUNCH_WINEXEC, commandLine, nullptr, nullptr, show);
    return launch.started ? SIM_WINEXEC_OK : SIM_ERROR_FILE_NOT_FOUND;
}

uintptr_t CSimProcesses::ShellOpen(const char* file, const char* parameters,
                                   const char* directory)
{
    CSimLaunch launch = Launch(SIM_LAUNCH_SHELL_OPEN, file, parameters, directory, SIM_SW_SHOW);
    return launch.started ? SIM_SHELL_OPEN_OK : SIM_ERROR_FILE_NOT_FOUND;
}

bool CSimProcesses::ExitWindows(uint32_t flags)
{
    events.Add("restart\t" + std::to_string(flags));
    exitWindowsFlags.push_back(flags);
    return exitWindowsResult;
}

void CSimProcesses::ExitProcess(uint32_t code)
{
    // Logged every time: a second end shows a caller that went on after the first.
    events.Add("exit\t" + std::to_string(code));
    if (exitCalls == 0) exitCode = code;
    ++exitCalls;
}
