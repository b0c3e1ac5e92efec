// An installation run on the simulated PC: a loaded dialog whose packages are stand-ins that
// write their result log as they start (or not), with helpers that read the resume key.
#pragma once

#include <string>

#include "install/resume.h"
#include "install/resume_flow.h"
#include "install/sequencer.h"
#include "state/timers.h"
#include "unit/ui/ui_rig.h"

class CEngineRig : public CUiRig {
public:
    explicit CEngineRig(uint8_t osCode = OS_WINXP, uint8_t servicePack = 1)
        : CUiRig(0, osCode, servicePack)
    {
        machine.files.SetProgramFile("E:\\tova.exe");
    }

    // A package on the CD: its folder exists, its entry is listed.
    void Package(const char* description, const std::string& folder)
    {
        std::string host = folder;
        for (char& c : host) {
            if (c == '\\') c = '/';
        }
        cd.MakeDir("cd/" + host);
        std::string windowsFolder = folder + "\\";
        Entry(description, windowsFolder.c_str(), "setup.exe", "1.0");
    }
    // Every started package writes its result log at once, unless told not to.
    void PackagesWriteTheirLog(bool write = true)
    {
        machine.processes.SetLaunchHook([this, write](const CSimLaunch& launch) {
            launches.push_back(launch.commandLine);
            if (write && launch.commandLine.find("patch98") == std::string::npos) {
                cd.Write("zov.log", "[ResponseResult]\r\nResultCode=0\r\n");
            }
            if (launch.commandLine == "patch98.exe") cd.Write("geo.log", "done");
        });
    }
    // Ticks the window's timers until the program ends or nothing is armed, at most limit
    // virtual milliseconds.
    void Run(uint64_t limitMs = 600000)
    {
        CTimerRelay relay(*dialog);
        machine.clock.SetSink(&relay);
        uint64_t end = machine.clock.Now() + limitMs;
        uint32_t fired = 0;
        while (!dialog->ProgramEnded() && machine.clock.ArmedCount() > 0 &&
               machine.clock.Now() < end &&
               machine.clock.FireNext(end - machine.clock.Now(), &fired)) {
            // A WM_CLOSE posted by a program that ended at once is never handled.
            while (!dialog->ProgramEnded() && closes < machine.window.CloseRequests()) {
                ++closes;
                dialog->OnClose();
                closed = true;
            }
            if (closed) break;
        }
        machine.clock.SetSink(nullptr);
    }
    // A message box's text as the log shows it.
    static std::string Box(const char* caption, const std::string& text)
    {
        std::string line = std::string("messagebox\t") + caption + "\t";
        for (char c : text) line += c == '\n' ? std::string("\\n") : std::string(1, c);
        return line;
    }
    bool HasResumeKey()
    {
        RegKey key = 0;
        bool has = machine.registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key);
        if (has) machine.registry.CloseKey(key);
        return has;
    }
    bool HasRunValue() { return machine.registry.SaveRegText().find("zzQTM") != std::string::npos; }
    // "inst_" + n as stored, -1 when absent.
    int RowState(int n)
    {
        RegKey key = 0;
        if (!machine.registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key)) return -1;
        uint8_t value = 0;
        uint32_t type = 0;
        uint32_t size = 1;
        std::string name = "inst_" + std::to_string(n);
        bool read = machine.registry.QueryValue(key, name.c_str(), &type, &value, &size);
        machine.registry.CloseKey(key);
        return read ? value : -1;
    }
    void StoreResume(const std::string& values)
    {
        FixedText<256> error;
        std::string reg = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\QTM]\n" + values;
        EXPECT_TRUE(machine.registry.LoadRegText(reg.c_str(), &error)) << error.c_str();
    }

    std::vector<std::string> launches;
    int closes = 0;
    bool closed = false;

private:
    class CTimerRelay : public CSimTimerSink {
    public:
        explicit CTimerRelay(CSetupDlg& d) : dialog(d) {}
        void OnTimer(uint32_t id) override { dialog.OnTimer(id); }

    private:
        CSetupDlg& dialog;
    };
};
