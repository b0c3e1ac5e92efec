// CSetupDlg's initialisation: everything the skinned window needs before it is first painted,
// in the order in which later steps read what earlier ones stored.
#include "app/setup_dialog.h"

#include <cstring>

#include "app/dialog_font.h"
#include "hw/detection.h"
#include "install/exit_actions.h"
#include "install/resume_flow.h"
#include "install/sequencer.h"
#include "skin/painter.h"
#include "skin/panels.h"
#include "state/timers.h"
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
    : platform(platformServices), state(programState), data(programState.dialog),
      end(platformServices.processes, programState.dialog.programEnded)
{
    // Every dialog starts with data of its own, as its members did.
    data = CDialogState();
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
    data.content.contentFile.Clear();
    data.content.tipFile.Clear();
    SelectContentFiles(platform.system, data.programDir.c_str(), &data.content);
    CreateUiFont();
    ReadTextMetrics();
    if (!FindCdRoot()) return true;
    platform.files.SetCurrentDirectory(data.cdRoot.c_str());
    ApplyTitle();
    if (!CreateToolTips()) return true;

    data.versionRecord = COsVersionInfo();
    data.versionRecord.sizeField = OS_VERSION_RECORD_PLAIN;
    platform.system.GetVersionEx(&data.versionRecord);

    if (!RunDetection()) return true;
    BuildDrawingStrings();
    CExitActions(platform, state, end).CleanLegacyState();
    CResumeFlow(platform, state, end, host).ResumeAtStart();
    return true;
}

void CSetupDlg::OnPaint()
{
    CPainter(platform.window, platform.registry, state).OnPaint();
}

void CSetupDlg::OnClose()
{
    CExitActions(platform, state, end).OnClose();
}

void CSetupDlg::OnMouseMove(int x, int y)
{
    CMouseFeedback(platform.window, platform.registry, state).OnMouseMove(x, y);
}

void CSetupDlg::OnLButtonDown(int x, int y)
{
    CMouseFeedback(platform.window, platform.registry, state).OnLButtonDown(x, y);
}

void CSetupDlg::OnLButtonUp(int x, int y)
{
    CClickActions(platform, state, end).OnLButtonUp(x, y);
}

bool CSetupDlg::OnCommand(uint32_t id)
{
    if (CRapidSetup(platform, state, end).OnRowCheckBox(id)) return false;
    if (id != DIALOG_COMMAND_OK) return false;
    // Enter does not close this dialog: it starts the resume wait.
    CResumeFlow(platform, state, end, host).OnOK();
    return true;
}

void CSetupDlg::OnVScroll(int code, int position)
{
    CToolScroll(platform.window, platform.registry, state).OnVScroll(code, position);
}

void CSetupDlg::OnTimer(uint32_t id)
{
    switch (id) {
    case TIMER_STEP:
        CSequencer(platform, state, end).StepTick();
        break;
    case TIMER_LOG_POLL:
        CSequencer(platform, state, end).LogPollTick();
        break;
    case TIMER_RESUME_WAIT:
        CResumeFlow(platform, state, end, host).ResumeWaitTick();
        break;
    case TIMER_POINTER:
        CRapidSetup(platform, state, end).PointerTick();
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
    return CMouseFeedback(platform.window, platform.registry, state).ToolTipForRelay();
}

void CSetupDlg::ResetProcessState()
{
    state.raidCounted = 0;
    state.raidRowCount = 0;
    state.installKind = 0;
    state.uiMode = UI_MODE_IDLE;
    data.toolListScrolls = 0;
}

void CSetupDlg::FindProgramDir()
{
    char path[MODULE_NAME_SIZE] = {};
    platform.files.GetModuleFileName(path, sizeof path);
    char* lastSlash = strrchr(path, '\\');
    // The backslash stays: file names are appended directly.
    if (lastSlash) lastSlash[1] = '\0';
    else path[0] = '\0';
    data.programDir = path;
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
    data.lineHeight = metrics.height + metrics.externalLeading;
    data.charWidth = metrics.aveCharWidth;
}

bool CSetupDlg::FindCdRoot()
{
    // Drives A and B are never probed: the CD is the first of C to Z with the marker file.
    for (char drive = 'c'; drive <= 'z'; ++drive) {
        FixedText<16> marker;
        marker.Format("%c:\\%s", drive, CD_MARKER_FILE);
        if (platform.files.CanOpenForReading(marker.c_str())) {
            data.cdRoot.Format("%c:\\", drive);
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
    FixedText<512> titleFile = data.cdRoot;
    titleFile.Append(TITLE_FILE);
    char title[TITLE_SIZE] = {};
    ReadProfileText(platform.files, CLeadBytes(platform.system), titleFile.c_str(), TITLE_SECTION,
                    TITLE_KEY, title, sizeof title);
    if (title[0] != '\0') platform.window.SetTitle(title);
}

bool CSetupDlg::CreateToolTips()
{
    data.panel1ToolTips = platform.window.CreateToolTip();
    if (!data.panel1ToolTips) return false;
    data.panel0ToolTips = platform.window.CreateToolTip();
    return data.panel0ToolTips != 0;
}

bool CSetupDlg::RunDetection()
{
    CDetection detection(platform, state.hw, data.installList, data.xpServicePack);
    if (!detection.RunDetection(data.content.textFile.c_str())) {
        data.programEnded = true;
        return false;
    }
    CPanelLoader(platform, state).LoadAllPanels();
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
