// CSetupDlg, the main dialog: its initialisation in a fixed order and the switchboard that hands
// each message to the subsystem owning it; its data is CDialogState in the program state.
#pragma once

#include <cstdint>

#include "platform/app_host.h"
#include "platform/platform.h"
#include "state/program_end.h"
#include "state/program_state.h"

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
    bool ProgramEnded() const { return end.ProgramEnded(); }
    // Ends the process at once with exit code 0.
    void EndProgram() { end.EndProgram(); }

    CPlatform& platform;
    CProgramState& state;
    // The dialog's own data, kept in the program state.
    CDialogState& data;
    // The framework that runs the dialog, for the dialogs it shows in turn; set by
    // ShowMainDialogScaled.
    AppHost* host = nullptr;

private:
    void ResetProcessState();
    void FindProgramDir();
    void CreateUiFont();
    void ReadTextMetrics();
    bool FindCdRoot();
    void ApplyTitle();
    bool CreateToolTips();
    void BuildDrawingStrings();

    CProgramEnd end;
};
