// CSetupDlg, the main dialog: its state and its initialisation in a fixed order.
#pragma once

#include <cstdint>
#include <string>

#include "app/program_state.h"
#include "common/fixed_text.h"
#include "hw/driver_item.h"
#include "platform/app_host.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "skin/content_files.h"

const uint32_t DIALOG_TEMPLATE_MAIN = 102;
const uint32_t ICON_MAIN = 137;
const char DIALOG_FONT_FACE[] = "MS Sans Serif";
const char CD_MARKER_FILE[] = "id.log";
const char TITLE_FILE[] = "bmp.ini";

// Child controls of the main dialog.
const uint32_t CONTROL_TOOL_SCROLL_BAR = 10;
const uint32_t CONTROL_ROW_CHECK_BOX_FIRST = 200;  // rowCheckBoxes[r] is 200 + r
const uint32_t CONTROL_README_BOX = 1002;
const uint32_t CONTROL_SYSINFO_BOX = 1003;

class CSetupDlg : public CDialogHandler {
public:
    CSetupDlg(CPlatform& platform, CProgramState& state);

    // Runs the dialog modally with its font scaled to the screen; -1 when template 102 cannot
    // be loaded.
    int ShowMainDialogScaled(AppHost& host);

    bool OnInitDialog() override;
    void OnPaint() override;
    void OnClose() override;
    void OnMouseMove(int x, int y) override;
    void OnLButtonDown(int x, int y) override;
    void OnLButtonUp(int x, int y) override;
    bool OnCommand(uint32_t id) override;
    void OnVScroll(int code, int position) override;
    void OnTimer(uint32_t id) override;
    void OnCtlColor(CControlKind kind, bool isDialog, CControlColors* colors) override;
    bool OnQueryDragIcon() override { return true; }
    ToolTipHandle ToolTipForRelay() override;

    // Board detection: classification, the driver list, the probes, the install list.
    // False when the program was ended (unsupported system).
    bool RunDetection();

    // True once the program has been ended; every caller returns straight away then.
    bool ProgramEnded() const { return programEnded; }
    // Ends the process at once with exit code 0.
    void EndProgram();

    // The Panel0 item of list position r.
    int DriverRowItem(int r) const { return commonCount + 3 + r; }

    CPlatform& platform;
    CProgramState& state;
    // The framework that runs the dialog, for the dialogs it shows in turn; set by
    // ShowMainDialogScaled.
    AppHost* host = nullptr;

    FixedText<512> programDir;
    FixedText<512> cdRoot;
    CContentFiles content;
    int lineHeight = 0;
    int charWidth = 0;
    ToolTipHandle panel1ToolTips = 0;
    ToolTipHandle panel0ToolTips = 0;
    int toolListScrolls = 0;
    COsVersionInfo versionRecord = {};
    uint8_t xpServicePack = 0;
    CInstallList installList;

    // Panels: the count of Common items, the controls the loaders create and fill.
    int commonCount = 0;
    int rowCheckBoxCount = 0;  // rowCheckBoxes: one per install-list entry
    bool toolScrollBarCreated = false;
    // The scroll bar's range and page as the loader set them.
    int toolScrollMin = 0;
    int toolScrollMax = 0;
    int toolScrollPage = 0;
    int toolRowCount = 0;
    std::string readmeText;
    std::string systemReport;
    // 1 when the registry's DirectX is older than the Realtek audio driver's jack sensing needs.
    int needsDirectX81 = 0;

private:
    void ResetProcessState();
    void FindProgramDir();
    void CreateUiFont();
    void ReadTextMetrics();
    bool FindCdRoot();
    void ApplyTitle();
    bool CreateToolTips();
    void BuildDrawingStrings();

    bool programEnded = false;
};
