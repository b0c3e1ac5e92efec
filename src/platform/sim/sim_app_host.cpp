// The simulated dialog framework of the application object.
#include "platform/sim/sim_app_host.h"

#include "platform/sim/sim_window.h"

namespace {

// The modal result of a dialog ended with OK.
const int SIM_IDOK = 1;
const uint32_t SIM_MAIN_DIALOG_TEMPLATE = 102;
// A dialog ended with Cancel.
const int SIM_DIALOG_CANCEL = 2;
// DoModal's result when the template cannot be loaded.
const int SIM_DIALOG_NOT_LOADED = -1;

}  // namespace

bool SimNestedDialogTimer(uint32_t clockId, uint32_t* dialogTimerId)
{
    bool nested = clockId >= SIM_NESTED_TIMER_BASE;
    *dialogTimerId = nested ? clockId - SIM_NESTED_TIMER_BASE : clockId;
    return nested;
}

void CSimDialogSite::SetTimer(uint32_t id, uint32_t milliseconds)
{
    clock.SetTimer(SIM_NESTED_TIMER_BASE + id, milliseconds);
}

void CSimDialogSite::KillTimer(uint32_t id)
{
    clock.KillTimer(SIM_NESTED_TIMER_BASE + id);
}

DrawingSurface* CSimDialogSite::GetClientSurface()
{
    return window.GetClientSurface();
}

void CSimDialogSite::ReleaseClientSurface(DrawingSurface* surface)
{
    window.ReleaseClientSurface(surface);
}

void CSimDialogSite::EndDialog(int dialogResult)
{
    if (ended) return;
    ended = true;
    result = dialogResult;
}

CSimAppHost::CSimAppHost(CSimEventLog& events, CSimSystem& system, CSimClock& clock,
                         CSimWindow& window)
    : events(events), system(system), clock(clock), window(window), ownCounter(SIM_INSTANCE_COUNTER_INITIAL),
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
    // Every dialog but the main one is shown over it.
    if (templateId != SIM_MAIN_DIALOG_TEMPLATE) return RunNestedDialog(templateId, handler);
    ++dialogRuns;
    dialogTemplate = templateId;
    dialogFontFace = fontFace ? fontFace : "";
    dialogPointSize = pointSize;
    events.Add("dialog\t" + std::to_string(templateId) + "\t" + dialogFontFace + "\t" +
               std::to_string(pointSize));
    // Without a loop the window exists only for its initialisation.
    if (handler) {
        if (modalLoop) modalLoop->DialogStarting(templateId, *handler);
        handler->OnInitDialog();
        if (modalLoop) modalLoop->RunDialog(templateId, *handler);
    }
    return SIM_IDOK;
}

int CSimAppHost::RunNestedDialog(uint32_t templateId, CDialogHandler* handler)
{
    if (!handler) return SIM_DIALOG_NOT_LOADED;
    std::string name = "dialog\t" + std::to_string(templateId);
    CSimDialogSite site(clock, window);
    handler->site = &site;
    events.Add(name + "\tshown");
    handler->OnInitDialog();
    if (modalLoop && !site.Ended()) modalLoop->RunNestedDialog(templateId, *handler, site);
    // Left alone, the dialog's own timers run until it ends by itself.
    uint64_t limit = clock.Now() + SIM_NESTED_DIALOG_LIMIT_MS;
    uint32_t fired = 0;
    while (!site.Ended() && clock.Now() < limit && clock.FireNext(limit - clock.Now(), &fired)) {
        uint32_t id = 0;
        if (SimNestedDialogTimer(fired, &id)) handler->OnTimer(id);
    }
    handler->site = nullptr;
    events.Add(name + "\tended\t" + (site.Result() == SIM_IDOK ? "ok" : "cancel"));
    return site.Ended() ? site.Result() : SIM_DIALOG_CANCEL;
}
