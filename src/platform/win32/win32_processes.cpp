// The process service on Windows: CreateProcessA and its waits, WinExec, the shell, the end.
#include "platform/win32/win32_api.h"

#include "platform/win32/win32_processes.h"

#include <cstring>
#include <vector>

#include "platform/win32/win32_handles.h"

bool CWin32Processes::CreateProcess(const char* commandLine, const char* directory,
                                    ProcessHandle* out)
{
    if (!commandLine || !out) return false;
    // CreateProcess may write into the command line; give it a copy of our own.
    std::vector<char> line(commandLine, commandLine + strlen(commandLine) + 1);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info;
    memset(&info, 0, sizeof(info));
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, directory, &startup,
                        &info)) {
        return false;
    }
    CScopedHandle thread(info.hThread);  // only the process is waited for
    *out = reinterpret_cast<ProcessHandle>(info.hProcess);
    return true;
}

uint32_t CWin32Processes::WaitForProcess(ProcessHandle process, uint32_t milliseconds)
{
    DWORD rc = WaitForSingleObject(reinterpret_cast<HANDLE>(process), milliseconds);
    // Only a running process keeps the caller waiting; a failed wait (a bad handle) must not
    // turn into a wait without end.
    return rc == WAIT_TIMEOUT ? WAIT_RESULT_TIMEOUT : WAIT_RESULT_DONE;
}

bool CWin32Processes::GetExitCodeProcess(ProcessHandle process, uint32_t* code)
{
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &exitCode)) return false;
    if (code) *code = exitCode;
    return true;
}

void CWin32Processes::CloseProcess(ProcessHandle process)
{
    CScopedHandle handle(reinterpret_cast<HANDLE>(process));
}

uint32_t CWin32Processes::WinExec(const char* commandLine, uint32_t show)
{
    if (!commandLine) return 0;
    return ::WinExec(commandLine, show);
}

uintptr_t CWin32Processes::ShellOpen(const char* file, const char* parameters,
                                     const char* directory)
{
    HINSTANCE rc = ShellExecuteA(NULL, "open", file, parameters, directory, SW_SHOW);
    return reinterpret_cast<uintptr_t>(rc);
}

bool CWin32Processes::ExitWindows(uint32_t flags)
{
    return ExitWindowsEx(flags, 0) != 0;
}

void CWin32Processes::ExitProcess(uint32_t code)
{
    ::ExitProcess(code);
}
