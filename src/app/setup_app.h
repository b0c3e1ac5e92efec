// CSetupApp, the application object: one running copy, then the main dialog, then the end.
#pragma once

#include <memory>

#include "platform/app_host.h"
#include "platform/platform.h"
#include "state/program_state.h"

class CSetupDlg;

// Called with the main dialog after its modal run, before it is destroyed: lets tova-sim and
// the tests read the state the dialog reached.
typedef void (*DialogEndHook)(CSetupDlg& dialog, void* context);

const uint32_t DIALOG_BACKGROUND = 0x00FFFFFF;  // white
const uint32_t DIALOG_TEXT = 0x00000000;        // black

class CSetupApp {
public:
    CSetupApp(CPlatform& platform, AppHost& host);

    // The start-up hook: true when another copy runs (end at once, silently); false after the
    // dialog has run, so the program exits.
    bool InitInstance();

    void SetDialogEndHook(DialogEndHook hook, void* context);

private:
    // The program state is large (the panel table alone is some hundreds of kilobytes), so it
    // lives on the heap rather than on the start-up stack.
    std::unique_ptr<CProgramState> ownedState;

public:
    CProgramState& state;

private:
    CPlatform& platform;
    AppHost& host;
    DialogEndHook endHook = nullptr;
    void* endHookContext = nullptr;
};
