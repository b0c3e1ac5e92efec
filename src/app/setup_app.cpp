// CSetupApp's start-up: the single-instance rule and the scaled modal main dialog.
#include "app/setup_app.h"

#include "app/setup_dialog.h"

CSetupApp::CSetupApp(CPlatform& platformServices, AppHost& appHost)
    : ownedState(new CProgramState()), state(*ownedState), platform(platformServices), host(appHost)
{
}

void CSetupApp::SetDialogEndHook(DialogEndHook hook, void* context)
{
    endHook = hook;
    endHookContext = context;
}

bool CSetupApp::InitInstance()
{
    // The counter is never decremented: it resets when the last process of the file ends.
    if (host.IncrementInstanceCounter() >= 1) return true;
    host.InitCommonControls();
    host.EnableControlContainer();
    host.Enable3dControls();
    CSetupDlg dialog(platform, state);
    host.SetDialogColors(DIALOG_BACKGROUND, DIALOG_TEXT);
    dialog.ShowMainDialogScaled(host);
    if (endHook) endHook(dialog, endHookContext);
    return false;
}
