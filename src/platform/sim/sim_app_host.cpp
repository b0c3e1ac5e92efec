// The simulated dialog framework of the application object.
#include "platform/sim/sim_app_host.h"

namespace {

// The modal result of a dialog ended with OK.
const int SIM_IDOK = 1;
// DoModal's result when the template cannot be loaded.
const int SIM_DIALOG_NOT_LOADED = -1;

}  // namespace

CSimAppHost::CSimAppHost(CSimEventLog& events, CSimSystem& system)
    : events(events), system(system), ownCounter(SIM_INSTANCE_COUNTER_INITIAL),
      instanceCounter(&ownCounter), templateLoadable(true), commonControlsInits(0),
      controlContainer(false), threeDControls(false), colorsSet(false), background(0),
      textColor(0), dialogRuns(0), dialogTemplate(0), dialogPointSize(0)
{
}

void CSimAppHost::SetDialogColors(uint32_t newBackground, uint32_t newText)
{
    colorsSet = true;
    background = newBackground;
    textColor = newText;
}

void CSimAppHost::GetScreenPixelsPerInch(int* x, int* y)
{
    system.GetScreenPixelsPerInch(x, y);
}

int CSimAppHost::RunModalDialog(uint32_t templateId, const char* fontFace, int pointSize,
                                CDialogHandler* handler)
{
    if (!templateLoadable) return SIM_DIALOG_NOT_LOADED;
    ++dialogRuns;
    dialogTemplate = templateId;
    dialogFontFace = fontFace ? fontFace : "";
    dialogPointSize = pointSize;
    events.Add("dialog\t" + std::to_string(templateId) + "\t" + dialogFontFace + "\t" +
               std::to_string(pointSize));
    // Without a loop the window exists only for its initialisation.
    if (handler) {
        handler->OnInitDialog();
        if (modalLoop) modalLoop->RunDialog(templateId, *handler);
    }
    return SIM_IDOK;
}
