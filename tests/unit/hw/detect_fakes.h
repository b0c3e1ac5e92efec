// Small recording fakes of the platform services detection calls (files, version record,
// message boxes, the end of the program), for the detection and driver-list tests.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/window.h"

class CDetectFakeFiles : public Files {
public:
    std::map<std::string, std::string> contents;
    std::vector<std::string> reads;

    bool CanOpenForReading(const char* path) override { return contents.count(path) != 0; }
    bool ReadWholeFile(const char* path, std::vector<char>* bytes) override
    {
        reads.push_back(path);
        auto found = contents.find(path);
        if (found == contents.end()) return false;
        bytes->assign(found->second.begin(), found->second.end());
        return true;
    }
    bool DeleteFile(const char*) override { return false; }
    bool SetFileAttributes(const char*, uint32_t) override { return false; }
    bool SetCurrentDirectory(const char*) override { return false; }
    uint32_t GetCurrentDirectory(char*, uint32_t) override { return 0; }
    uint32_t GetModuleFileName(char*, uint32_t) override { return 0; }
    uint32_t GetWindowsDirectory(char*, uint32_t) override { return 0; }
    uint32_t GetPrivateProfileString(const char*, const char*, const char*, char* buffer,
                                     uint32_t size, const char*) override
    {
        if (size) buffer[0] = '\0';
        return 0;
    }
};

// Answers GetVersionEx with one record; fails both calls when failing is set.
class CDetectFakeSystem : public System {
public:
    uint32_t platformId = 2;
    uint32_t major = 5;
    uint32_t minor = 1;
    uint32_t build = 2600;
    std::string csd = "Service Pack 1";
    bool failing = false;

    bool GetVersionEx(COsVersionInfo* info) override
    {
        if (failing) return false;
        info->majorVersion = major;
        info->minorVersion = minor;
        info->buildNumber = build;
        info->platformId = platformId;
        strncpy(info->csdVersion, csd.c_str(), sizeof info->csdVersion - 1);
        return true;
    }
    void GlobalMemoryStatus(CMemoryStatus* status) override { memset(status, 0, sizeof *status); }
    uint16_t GetSystemDefaultLangID() override { return 0x0409; }
    void GetScreenPixelsPerInch(int* x, int* y) override { *x = *y = 96; }
    void Sleep(uint32_t) override {}
    uint32_t GetTickCount() override { return 0; }
};

class CDetectFakeWindow : public Window {
public:
    struct CBox {
        bool owned;
        std::string text;
        std::string caption;
        uint32_t type;
    };
    std::vector<CBox> boxes;

    int MessageBox(bool ownedByDialog, const char* text, const char* caption,
                   uint32_t type) override
    {
        boxes.push_back({ownedByDialog, text, caption, type});
        return MSGBOX_RESULT_OK;
    }
    void SetTitle(const char*) override {}
    uint32_t GetTitle(char* buffer, uint32_t size) override
    {
        if (size) buffer[0] = '\0';
        return 0;
    }
    void SetIcon() override {}
    void InitCommonControls() override {}
    ToolTipHandle CreateToolTip() override { return 0; }
    bool CreateUiFont(const CFontRequest&) override { return false; }
    void GetClientTextMetrics(CTextMetrics* metrics) override { *metrics = {16, 0, 8}; }
    void SetTimer(uint32_t, uint32_t) override {}
    void KillTimer(uint32_t) override {}
    void Invalidate() override {}
    void PostClose() override {}
};

class CDetectFakeProcesses : public Processes {
public:
    std::vector<uint32_t> exits;

    bool CreateProcess(const char*, const char*, ProcessHandle*) override { return false; }
    uint32_t WaitForProcess(ProcessHandle, uint32_t) override { return WAIT_RESULT_DONE; }
    bool GetExitCodeProcess(ProcessHandle, uint32_t*) override { return false; }
    void CloseProcess(ProcessHandle) override {}
    uint32_t WinExec(const char*, uint32_t) override { return 0; }
    uintptr_t ShellOpen(const char*, const char*, const char*) override { return 0; }
    bool ExitWindows(uint32_t) override { return false; }
    void ExitProcess(uint32_t code) override { exits.push_back(code); }
};

class CDetectFakeRegistry : public Registry {
public:
    bool OpenKey(RegKey, const char*, RegKey*) override { return false; }
    bool CreateKey(RegKey, const char*, RegKey*) override { return false; }
    bool QueryValue(RegKey, const char*, uint32_t*, uint8_t*, uint32_t*) override { return false; }
    bool SetValue(RegKey, const char*, uint32_t, const uint8_t*, uint32_t) override
    {
        return false;
    }
    bool DeleteValue(RegKey, const char*) override { return false; }
    bool DeleteKey(RegKey, const char*) override { return false; }
    bool FlushKey(RegKey) override { return false; }
    void CloseKey(RegKey) override {}
    bool SubKeyCount(RegKey, uint32_t*) override { return false; }
    bool EnumSubKey(RegKey, uint32_t, char*, uint32_t) override { return false; }
};
