// CSetupDlg's initialisation: everything the skinned window needs before it is first painted,
// in the order in which later steps read what earlier ones stored.
#include "app/setup_dialog.h"

#include <cstring>

#include "app/dialog_font.h"
#include "hw/detection.h"
#include "install/exit_actions.h"
#include "install/resume.h"
#include "install/sequencer.h"
#include "skin/painter.h"
#include "app/timers.h"
#include "skin/panels.h"
#include "ui/clicks.h"
#include "ui/dialog_handlers.h"
#include "ui/mouse.h"
#include "ui/rapid_setup.h"
#include "ui/tool_scroll.h"

namespace {

const char NO_CD_TEXT[] = "Sorry  I can't find Driver CD!";
const char MSG_CAPTION[] = "Msg";
const char TITLE_SECTION[] = "Common";
const char TITLE_KEY[] = "title";
const int TITLE_SIZE = 255;
const int MODULE_NAME_SIZE = 512;

}  // namespace

CSetupDlg::CSetupDlg(CPlatform& platformServices, CProgramState& programState)
    : platform(platformServices), state(programState)
{
}

int CSetupDlg::ShowMainDialogScaled(AppHost& appHost)
{
    host = &appHost;
    int dpiX = 0;
    int dpiY = 0;
    appHost.GetScreenPixelsPerInch(&dpiX, &dpiY);
    state.screenDpiX = dpiX;
    return appHost.RunModalDialog(DIALOG_TEMPLATE_MAIN, DIALOG_FONT_FACE,
                               DialogFontPointSize(dpiX, dpiY), this);
}

bool CSetupDlg::OnInitDialog()
{
    platform.window.SetIcon();
    ResetProcessState();
    platform.window.InitCommonControls();
    FindProgramDir();
    // The content and tip paths are still empty here; only the list path and the language
    // matter now, the panel loaders choose the files again.
    content.contentFile.Clear();
    content.tipFile.Clear();
    SelectContentFiles(platform.system, programDir.c_str(), &content);
    CreateUiFont();
    ReadTextMetrics();
    if (!FindCdRoot()) return true;
    platform.files.SetCurrentDirectory(cdRoot.c_str());
    ApplyTitle();
    if (!CreateToolTips()) return true;

    versionRecord = COsVersionInfo();
    versionRecord.sizeField = OS_VERSION_RECORD_PLAIN;
    platform.system.GetVersionEx(&versionRecord);

    if (!RunDetection()) return true;
    BuildDrawingStrings();
    CExitActions(*this).CleanLegacyState();
    CResumeState(*this).ResumeAtStart();
    return true;
}

void CSetupDlg::OnPaint()
{
    CPainter(*this).OnPaint();
}

void CSetupDlg::OnClose()
{
    CExitActions(*this).OnClose();
}

void CSetupDlg::OnMouseMove(int x, int y)
{
    CMouseFeedback(*this).OnMouseMove(x, y);
}

void CSetupDlg::OnLButtonDown(int x, int y)
{
    CMouseFeedback(*this).OnLButtonDown(x, y);
}

void CSetupDlg::OnLButtonUp(int x, int y)
{
    CClickActions(*this).OnLButtonUp(x, y);
}

bool CSetupDlg::OnCommand(uint32_t id)
{
    if (CRapidSetup(*this).OnRowCheckBox(id)) return false;
    if (id != DIALOG_COMMAND_OK) return false;
    // Enter does not close this dialog: it starts the resume wait.
    CSequencer(*this).OnOK();
    return true;
}

void CSetupDlg::OnVScroll(int code, int position)
{
    CToolScroll(*this).OnVScroll(code, position);
}

void CSetupDlg::OnTimer(uint32_t id)
{
    switch (id) {
    case TIMER_STEP:
        CSequencer(*this).StepTick();
        break;
    case TIMER_LOG_POLL:
        CSequencer(*this).LogPollTick();
        break;
    case TIMER_RESUME_WAIT:
        CSequencer(*this).ResumeWaitTick();
        break;
    case TIMER_POINTER:
        CRapidSetup(*this).PointerTick();
        break;
    default:
        break;
    }
}

void CSetupDlg::OnCtlColor(CControlKind kind, bool isDialog, CControlColors* colors)
{
    MainDialogCtlColor(kind, isDialog, colors);
}

ToolTipHandle CSetupDlg::ToolTipForRelay()
{
    return CMouseFeedback(*this).ToolTipForRelay();
}

void CSetupDlg::ResetProcessState()
{
    state.raidCounted = 0;
    state.raidRowCount = 0;
    state.installKind = 0;
    state.uiMode = UI_MODE_IDLE;
    toolListScrolls = 0;
}

void CSetupDlg::FindProgramDir()
{
    char path[MODULE_NAME_SIZE] = {};
    platform.files.GetModuleFileName(path, sizeof path);
    char* lastSlash = strrchr(path, '\\');
    // The backslash stays: file names are appended directly.
    if (lastSlash) lastSlash[1] = '\0';
    else path[0] = '\0';
    programDir = path;
}

void CSetupDlg::CreateUiFont()
{
    CFontRequest request = {"MS Sans Serif", 8};
    if (state.screenDpiX > 96) request = {"Times New Roman", 14};
    state.uiFontCreated = platform.window.CreateUiFont(request);
}

void CSetupDlg::ReadTextMetrics()
{
    CTextMetrics metrics = {};
    platform.window.GetClientTextMetrics(&metrics);
    lineHeight = metrics.height + metrics.externalLeading;
    charWidth = metrics.aveCharWidth;
}

bool CSetupDlg::FindCdRoot()
{
    // Drives A and B are never probed: the CD is the first of C to Z with the marker file.
    for (char drive = 'c'; drive <= 'z'; ++drive) {
        FixedText<16> marker;
        marker.Format("%c:\\%s", drive, CD_MARKER_FILE);
        if (platform.files.CanOpenForReading(marker.c_str())) {
            cdRoot.Format("%c:\\", drive);
            return true;
        }
    }
    platform.window.MessageBox(true, NO_CD_TEXT, MSG_CAPTION, MSGBOX_OK);
    EndProgram();
    return false;
}

void CSetupDlg::ApplyTitle()
{
    // Always "bmp.ini", whatever the language.
    FixedText<512> titleFile = cdRoot;
    titleFile.Append(TITLE_FILE);
    char title[TITLE_SIZE] = {};
    platform.files.GetPrivateProfileString(TITLE_SECTION, TITLE_KEY, "", title, sizeof title,
                                           titleFile.c_str());
    if (title[0] != '\0') platform.window.SetTitle(title);
}

bool CSetupDlg::CreateToolTips()
{
    panel1ToolTips = platform.window.CreateToolTip();
    if (!panel1ToolTips) return false;
    panel0ToolTips = platform.window.CreateToolTip();
    return panel0ToolTips != 0;
}

bool CSetupDlg::RunDetection()
{
    CDetection detection(platform, state.hw, installList, xpServicePack);
    if (!detection.RunDetection(content.textFile.c_str())) {
        programEnded = true;
        return false;
    }
    CPanelLoader(*this).LoadAllPanels();
    return true;
}

void CSetupDlg::BuildDrawingStrings()
{
    int dashes = state.screenDpiX > 96 ? 72 : 96;
    state.ruleText.Clear();
    for (int i = 0; i < dashes; ++i) state.ruleText.AppendChar('-');
    state.ruleText.AppendChar('>');
    state.blankText.Clear();
    for (int i = 0; i < BLANK_TEXT_SIZE - 1; ++i) state.blankText.AppendChar(' ');
}

void CSetupDlg::EndProgram()
{
    programEnded = true;
    platform.processes.ExitProcess(0);
}
