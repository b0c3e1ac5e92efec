// The simulated dialog framework of the application object: the shared instance counter, the
// framework switches, and a modal run that records the template and font and initialises the
// dialog.
#pragma once

#include <cstdint>
#include <string>

#include "platform/app_host.h"
#include "platform/sim/sim_event_log.h"
#include "platform/sim/sim_modal_loop.h"
#include "platform/sim/sim_system.h"

class CSimWindow;

// Timers of a dialog shown over the main one are kept apart from the main dialog's on the one
// clock: their identifiers are offset by this.
const uint32_t SIM_NESTED_TIMER_BASE = 0x10000;
// A dialog left alone is given this much virtual time to end by itself.
const uint64_t SIM_NESTED_DIALOG_LIMIT_MS = 10 * 60 * 1000;

// The site of a dialog shown over the main one: its timers on the shared clock, drawing
// recorded by the main window's log, and its end.
class CSimDialogSite : public DialogSite, public CSimNestedDialog {
public:
    CSimDialogSite(CSimClock& clock, CSimWindow& window) : clock(clock), window(window) {}

    void SetTimer(uint32_t id, uint32_t milliseconds) override;
    void KillTimer(uint32_t id) override;
    DrawingSurface* GetClientSurface() override;
    void ReleaseClientSurface(DrawingSurface* surface) override;
    void EndDialog(int result) override;

    bool Ended() const override { return ended; }
    int Result() const { return result; }

private:
    CSimClock& clock;
    CSimWindow& window;
    bool ended = false;
    int result = 0;
};

// The counter's value in the program file: no copy runs yet.
const int32_t SIM_INSTANCE_COUNTER_INITIAL = -1;

class CSimAppHost : public AppHost {
public:
    CSimAppHost(CSimEventLog& events, CSimSystem& system, CSimClock& clock, CSimWindow& window);

    // The counter lives in the program file's shared section, one for all copies: hosts that
    // stand for several copies share one counter owned by the test.
    void ShareInstanceCounter(int32_t* counter)
    {
        instanceCounter = counter ? counter : &ownCounter;
    }
    void SetInstanceCounter(int32_t value) { *instanceCounter = value; }
    int32_t InstanceCounter() const { return *instanceCounter; }

    // Where dialogs get their input; null: a dialog ends right after its initialisation.
    void SetModalLoop(CSimModalLoop* loop) { modalLoop = loop; }

    // Whether dialog template 102 (or any) can be loaded.
    void SetTemplateLoadable(bool loadable) { templateLoadable = loadable; }

    int CommonControlsInits() const { return commonControlsInits; }
    bool ControlContainerEnabled() const { return controlContainer; }
    bool ThreeDControlsEnabled() const { return threeDControls; }
    bool DialogColorsSet() const { return colorsSet; }
    uint32_t DialogBackground() const { return background; }
    uint32_t DialogText() const { return textColor; }

    // The last dialog run: its template, font and how many ran.
    int DialogRuns() const { return dialogRuns; }
    uint32_t DialogTemplate() const { return dialogTemplate; }
    const std::string& DialogFontFace() const { return dialogFontFace; }
    int DialogPointSize() const { return dialogPointSize; }

    int32_t IncrementInstanceCounter() override { return ++*instanceCounter; }
    void InitCommonControls() override { ++commonControlsInits; }
    void EnableControlContainer() override { controlContainer = true; }
    void Enable3dControls() override { threeDControls = true; }
    void SetDialogColors(uint32_t newBackground, uint32_t newText) override;
    void GetScreenPixelsPerInch(int* x, int* y) override;
    int RunModalDialog(uint32_t templateId, const char* fontFace, int pointSize,
                       CDialogHandler* handler) override;

private:
    // A dialog over the main one: shown, run by the loop or left alone, ended.
    int RunNestedDialog(uint32_t templateId, CDialogHandler* handler);

    CSimEventLog& events;
    CSimSystem& system;
    CSimClock& clock;
    CSimWindow& window;
    int32_t ownCounter;
    int32_t* instanceCounter;
    bool templateLoadable;
    int commonControlsInits;
    bool controlContainer;
    bool threeDControls;
    bool colorsSet;
    uint32_t background;
    uint32_t textColor;
    int dialogRuns;
    uint32_t dialogTemplate;
    std::string dialogFontFace;
    int dialogPointSize;
    CSimModalLoop* modalLoop = nullptr;
};
