// Taking a stored run up again: at start behind the notice, and after the resume wait.
#include "install/resume_flow.h"

#include "hw/port_access.h"
#include "install/resume.h"
#include "install/sequencer.h"
#include "platform/app_host.h"
#include "platform/platform.h"
#include "skin/painter.h"
#include "skin/panels.h"
#include "state/program_end.h"
#include "state/program_state.h"
#include "state/timers.h"
#include "ui/notice_dialog.h"

namespace {

const char WAIT_CAPTION[] = "wait";
const char WAIT_TEXT[] = "Please wait.......";
const uint32_t OK_PAUSE_DELAYS = 10000;
const uint32_t MSGBOX_OKCANCEL = 0x1;

}  // namespace

CResumeFlow::CResumeFlow(CPlatform& platform, CProgramState& state, CProgramEnd& end, AppHost* host)
    : platform(platform), state(state), dialog(state.dialog), end(end), host(host)
{
}

void CResumeFlow::ShowRowCheckBoxes(bool hideUnsupportedUsb2)
{
    CPainter painter(platform.window, platform.registry, state);
    PanelItem* items = state.panelTable.panels[0].items;
    for (int n = 0; n < dialog.rowCheckBoxCount; ++n) {
        PanelItem& row = items[dialog.DriverRowItem(n)];
        uint32_t box = CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(n);
        if (hideUnsupportedUsb2 && painter.IsUnsupportedUsb2(row)) {
            row.hidden = 1;
            platform.window.ShowControl(box, false);
        } else {
            platform.window.ShowControl(box, true);
        }
    }
}

bool CResumeFlow::ResumeAtStart()
{
    Registry& registry = platform.registry;
    RegKey key = 0;
    state.resumePending = registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key) ? 1 : 0;
    if (key) registry.CloseKey(key);
    if (state.resumePending == 1 && !CResumeState(platform, state).ListComplete()) {
        // The run was cut off while its list was being written, before any package started:
        // there is nothing to take up, and a half list would drop the rows it lacks.
        DeleteResumeState(registry);
        state.resumePending = 0;
    }
    if (state.resumePending != 1) return true;

    CNoticeDlg notice;
    notice.faceOsCode = state.hw.osCode;
    if (host) {
        host->RunModalDialog(DIALOG_TEMPLATE_NOTICE, NOTICE_FONT_FACE, NOTICE_FONT_POINTS, &notice);
    }
    if (end.ProgramEnded()) return false;
    if (notice.proceed != 1) {
        DeleteResumeState(registry);
        end.EndProgram();
        return false;
    }
    if (dialog.installList.itemCount == 0) return true;
    PanelItem* items = state.panelTable.panels[0].items;
    items[PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_ON].hidden = 1;
    items[PANEL_COMMON_ITEMS + PANEL0_OWN_START].hidden = 0;
    items[PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_OFF].hidden = 0;
    ShowRowCheckBoxes(true);
    CResumeState(platform, state).RestoreResumeSelection();
    CSequencer(platform, state, end).StartSequence();
    return !end.ProgramEnded();
}

void CResumeFlow::ResumeCheck()
{
    if (state.resumePending < RESUME_WAIT_TICKS) return;
    Window& window = platform.window;
    state.resumePending = RESUME_WAIT_TICKS;
    state.uiMode = UI_MODE_IDLE;
    window.Invalidate();
    window.KillTimer(TIMER_RESUME_WAIT);
    if (dialog.panel0ToolTips) window.ActivateToolTip(dialog.panel0ToolTips, true);
    int answer =
        window.MessageBox(true, RESUME_QUESTION_TEXT, RESUME_QUESTION_CAPTION, MSGBOX_OKCANCEL);
    if (answer != MSGBOX_RESULT_OK) {
        DeleteResumeState(platform.registry);
        end.EndProgram();
        return;
    }
    if (dialog.installList.itemCount == 0) return;
    // The run goes on without its Exit button, which the finish brings back.
    PanelItem* items = state.panelTable.panels[0].items;
    items[PANEL_ITEM_EXIT].hidden = 1;
    items[PANEL_ITEM_WEB].hidden = 0;
    items[PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_ON].hidden = 0;
    ShowRowCheckBoxes(false);
    CResumeState(platform, state).RestoreResumeSelection();
    CSequencer(platform, state, end).StartSequence();
}

void CResumeFlow::ResumeWaitTick()
{
    Window& window = platform.window;
    int counter = ++state.resumePending;
    int x = counter;
    int y = RESUME_MARKER_Y;
    if (counter >= RESUME_WAIT_TICKS) {
        x = counter - RESUME_WAIT_TICKS;
        y = RESUME_MARKER_Y + 10 * (counter / RESUME_WAIT_TICKS);
    }
    {
        CClientSurface surface(window);
        BitmapHandle marker = window.LoadBitmapResource(BITMAP_PROGRESS);
        if (surface.Get()) surface.Get()->DrawMaskedBitmap(marker, marker, x, y);
        if (marker) window.DeleteBitmap(marker);
    }
    ResumeCheck();
}

void CResumeFlow::OnOK()
{
    CPortAccess ports(platform.hardware, state.hw.osCode);
    ports.IoDelay(OK_PAUSE_DELAYS);
    platform.window.MessageBox(true, WAIT_TEXT, WAIT_CAPTION, MSGBOX_OK);
    state.resumePending = 2;
    platform.window.SetTimer(TIMER_RESUME_WAIT, TIMER_RESUME_WAIT_MS);
    if (dialog.panel0ToolTips) platform.window.ActivateToolTip(dialog.panel0ToolTips, false);
    state.uiMode = 100;
}
