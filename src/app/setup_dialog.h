// CSetupDlg, the main dialog: its state and its initialisation in a fixed order.
#pragma once

#include <cstdint>

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

class CSetupDlg : public CDialogHandler {
public:
    CSetupDlg(CPlatform& platform, CProgramState& state);

    // Runs the dialog modally with its font scaled to the screen; -1 when template 102 cannot
    // be loaded.
    int ShowMainDialogScaled(AppHost& host);

    bool OnInitDialog() override;

    // Board detection: classification, the driver list, the probes, the install list.
    // False when the program was ended (unsupported system).
    bool RunDetection();

    // True once the program has been ended; every caller returns straight away then.
    bool ProgramEnded() const { return programEnded; }

    CPlatform& platform;
    CProgramState& state;

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

private:
    void ResetProcessState();
    void FindProgramDir();
    void CreateUiFont();
    void ReadTextMetrics();
    bool FindCdRoot();
    void ApplyTitle();
    bool CreateToolTips();
    void BuildDrawingStrings();
    // Ends the process at once with exit code 0.
    void EndProgram();

    bool programEnded = false;
};
