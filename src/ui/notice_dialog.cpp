// The resume notice: a small modal dialog saying that Rapid Setup goes on, counting down five
// seconds and closing by itself; Enter accepts at once, Escape and the close box decline.
#include "ui/notice_dialog.h"

#include "hw/hw_state.h"

namespace {

const int NOTICE_LAST_TICK = 5;

}  // namespace

bool CNoticeDlg::OnInitDialog()
{
    proceed = 0;
    ticks = 1;
    if (site) site->SetTimer(NOTICE_TIMER, NOTICE_TIMER_MS);
    return true;
}

void CNoticeDlg::OnTimer(uint32_t)
{
    if (!site) return;
    if (ticks > NOTICE_LAST_TICK) {
        site->KillTimer(NOTICE_TIMER);
        proceed = 1;
        OnOK();
        return;
    }
    ++ticks;
    countdownText.Format("%d", NOTICE_LAST_TICK + 1 - ticks);
    DrawingSurface* surface = site->GetClientSurface();
    if (!surface) return;
    surface->SetTextColor(NOTICE_NUMBER_COLOR);
    surface->SetBkColor(faceOsCode == OS_WINXP ? NOTICE_FACE_XP : NOTICE_FACE_CLASSIC);
    surface->SetBkMode(SURFACE_OPAQUE);
    surface->TextOut(NOTICE_COUNTDOWN_X, NOTICE_COUNTDOWN_Y, countdownText.c_str());
    site->ReleaseClientSurface(surface);
}

bool CNoticeDlg::OnCommand(uint32_t id)
{
    if (id == DIALOG_COMMAND_OK) {
        OnOK();
        return true;
    }
    if (id == DIALOG_COMMAND_CANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CNoticeDlg::OnClose()
{
    OnCancel();
}

void CNoticeDlg::OnOK()
{
    if (site) site->KillTimer(NOTICE_TIMER);
    proceed = 1;
    if (site) site->EndDialog(DIALOG_COMMAND_OK);
}

void CNoticeDlg::OnCancel()
{
    if (site) site->KillTimer(NOTICE_TIMER);
    proceed = 0;
    if (site) site->EndDialog(DIALOG_COMMAND_CANCEL);
}
