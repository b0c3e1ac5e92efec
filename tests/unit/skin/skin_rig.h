// A main dialog on the simulated PC with a CD of the test's own making: content files,
// pictures of given sizes and install-list entries, for the loaders, painting and the exit
// actions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/setup_dialog.h"
#include "platform/sim/sim_machine.h"
#include "state/program_end.h"
#include "state/program_state.h"
#include "unit/platform/temp_dir.h"

// A bitmap file the old loader accepts: 24 bits, uncompressed, rows padded to four bytes.
inline std::string BmpFile(int width, int height)
{
    uint32_t stride = ((static_cast<uint32_t>(width) * 24 + 31) / 32) * 4;
    uint32_t pixels = stride * static_cast<uint32_t>(height);
    std::string bytes(54 + pixels, '\0');
    auto put16 = [&bytes](size_t at, uint32_t v) {
        bytes[at] = static_cast<char>(v & 0xFF);
        bytes[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, pixels);
    return bytes;
}

class CSkinRig {
public:
    CSkinRig() : state(new CProgramState()), end(machine.processes, state->dialog.programEnded)
    {
        cd.MakeDir("cd");
        cd.Write("cd/id.log", "");
        cd.MakeDir("windows/system");
        machine.files.MapDrive('C', (cd.Path() + "").c_str());
        machine.files.MapDrive('E', (cd.Path() + "/cd").c_str());
        machine.files.SetWindowsDirectory("C:\\windows");
        machine.files.SetProgramFile("E:\\tova.exe");
        machine.files.SetCurrentDirectory("E:\\");
        platform.reset(new CPlatform(machine.Platform()));
        dialog.reset(new CSetupDlg(*platform, *state));
        dialog->data.cdRoot = "E:\\";
        dialog->data.programDir = "E:\\";
        dialog->data.lineHeight = 13;
        dialog->data.charWidth = 5;
        dialog->data.panel1ToolTips = machine.window.CreateToolTip();
        dialog->data.panel0ToolTips = machine.window.CreateToolTip();
        state->hw.osCode = OS_WINXP;
        dialog->data.xpServicePack = 1;
        state->ruleText = "---->";
        state->blankText = std::string(255, ' ').c_str();
    }

    // A file on the CD (relative path with '/').
    void File(const std::string& relative, const std::string& content)
    {
        size_t slash = relative.rfind('/');
        if (slash != std::string::npos) cd.MakeDir("cd/" + relative.substr(0, slash));
        cd.Write("cd/" + relative, content);
    }
    void Picture(const std::string& relative, int width, int height)
    {
        File(relative, BmpFile(width, height));
    }
    // An install-list entry as detection leaves it.
    void Entry(const char* description, const char* folder, const char* setup,
               const char* version)
    {
        CInstallList& list = dialog->data.installList;
        DriverItem& item = list.items[list.itemCount++];
        item.description = description;
        item.folder = folder;
        item.setupFile = setup;
        item.versionText = version;
    }
    void StoredVersion(const char* caption, const char* version)
    {
        std::string reg = std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Fetchyard]\n\"") +
                          caption + "\"=\"" + version + "\"\n";
        FixedText<256> error;
        machine.registry.LoadRegText(reg.c_str(), &error);
    }
    std::string Name(BitmapHandle bitmap) const { return machine.window.BitmapName(bitmap); }
    Panel& PanelAt(int p) { return state->panelTable.panels[p]; }

    CTempDir cd;
    CSimMachine machine;
    std::unique_ptr<CProgramState> state;
    // The subsystems' way to end the program, on the dialog's data as the dialog has it.
    CProgramEnd end;
    std::unique_ptr<CPlatform> platform;
    std::unique_ptr<CSetupDlg> dialog;
};
