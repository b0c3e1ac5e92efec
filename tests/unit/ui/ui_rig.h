// A loaded main dialog for the interaction tests: seven Common items and Panel0's three
// buttons with pictures, utility rows, and install-list entries, and helpers that read what the
// simulated window saw.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "skin/panels.h"
#include "unit/skin/skin_rig.h"

// Common item i at (20 + 60 i, 420), 50 x 30; Panel0's own items at (200 + 100 i, 360),
// 80 x 25; utility row j at (210, 90 + 20 j).
class CUiRig : public CSkinRig {
public:
    explicit CUiRig(int toolRows = 20, uint8_t osCode = OS_WINXP, uint8_t servicePack = 1)
    {
        state->hw.osCode = osCode;
        dialog->data.xpServicePack = servicePack;
        rows = toolRows;
    }

    void Load()
    {
        std::string ini = "[Common]\ntotal=7\n";
        for (int i = 0; i < 7; ++i) {
            std::string n = std::to_string(i);
            ini += n + "_x=" + std::to_string(20 + 60 * i) + "\n" + n + "_y=420\n";
            for (const char* look : {"N", "O", "D"}) {
                ini += n + "_" + look + "bmp=c" + n + look + ".bmp\n";
                Picture("c" + n + look + ".bmp", 50, 30);
            }
        }
        ini += "6_exe=http://maker.example/\n";
        ini += "[Panel0]\nBK=bk.bmp\nrtnblk=rtn.bmp\nline1=L1\nez_line1=E1\ntotal=3\n";
        Picture("bk.bmp", 640, 480);
        Picture("rtn.bmp", 272, 73);
        for (int i = 0; i < 3; ++i) {
            std::string n = std::to_string(i);
            ini += n + "_x=" + std::to_string(200 + 100 * i) + "\n" + n + "_y=360\n";
            ini += n + "_Nbmp=p" + n + "N.bmp\n" + n + "_Obmp=p" + n + "O.bmp\n";
            Picture("p" + n + "N.bmp", 80, 25);
            Picture("p" + n + "O.bmp", 80, 25);
        }
        ini += "[Panel1]\ntotal=" + std::to_string(rows) + "\n";
        for (int j = 0; j < rows; ++j) {
            std::string n = std::to_string(j);
            ini += n + "_x=210\n" + n + "_y=" + std::to_string(90 + 20 * j) + "\n";
            ini += n + "_Desc=Tool " + n + "\n" + n + "_exe=Utility\\T" + n + "\\t" + n + ".exe\n";
        }
        File("bmp.ini", ini);
        CPanelLoader(*platform, *state).LoadAllPanels();
        machine.events.Clear();
        machine.window.ClearDrawOps();
    }

    PanelItem& Item(int panel, int index) { return state->panelTable.panels[panel].items[index]; }
    // A point inside item index of the shown panel (its middle).
    void Click(int panel, int index)
    {
        const PanelItem& item = Item(panel, index);
        int x = (item.left + item.right) / 2;
        int y = (item.top + item.bottom) / 2;
        dialog->OnLButtonDown(x, y);
        dialog->OnLButtonUp(x, y);
    }
    int Shown() const { return ActivePanelIndex(state->panelTable); }
    bool Logged(const std::string& line) const
    {
        const std::vector<std::string>& lines = machine.events.Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    int LoggedStartingWith(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& line : machine.events.Lines()) {
            n += line.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        }
        return n;
    }
    bool BoxVisible(int r) const
    {
        return machine.window.Control(CONTROL_ROW_CHECK_BOX_FIRST + r)->visible;
    }

    int rows = 20;
};
