// The simulated main window: message boxes answered from a queue and logged, and a record of
// what the dialog did to itself (title, icon, font, tooltips, timers, repaints, close).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_event_log.h"
#include "platform/window.h"

// The main dialog template's caption, the title until the program sets one.
const char* const SIM_INITIAL_TITLE = "TOVA 2.2 B02.111101";

// One message box as the program showed it, and the answer it got.
struct CSimMessageBox {
    bool ownedByDialog;
    std::string text;
    std::string caption;
    uint32_t type;
    int answer;
};

class CSimWindow : public Window {
public:
    CSimWindow(CSimEventLog& events, CSimClock& clock);

    // The answer of the next message box; once the queue is empty each box gets its default
    // button (OK, or YES for a yes/no box).
    void QueueMessageBoxAnswer(int answer) { answers.push_back(answer); }
    const std::vector<CSimMessageBox>& MessageBoxes() const { return boxes; }

    const std::string& Title() const { return title; }
    int IconSets() const { return iconSets; }
    int CommonControlsInits() const { return commonControlsInits; }

    // The nth tooltip creation (1 = the first) fails; 0: none fails.
    void FailToolTipCreation(int nth) { failToolTipAt = nth; }
    int ToolTipCreations() const { return toolTipCreations; }

    void FailUiFont(bool fails) { uiFontFails = fails; }
    bool UiFontCreated() const { return uiFontCreated; }
    const std::string& UiFontFace() const { return uiFontFace; }
    int UiFontHeight() const { return uiFontHeight; }

    void SetTextMetrics(const CTextMetrics& metrics) { textMetrics = metrics; }

    int Invalidations() const { return invalidations; }
    int CloseRequests() const { return closeRequests; }

    int MessageBox(bool ownedByDialog, const char* text, const char* caption,
                   uint32_t type) override;
    void SetTitle(const char* newTitle) override;
    uint32_t GetTitle(char* buffer, uint32_t size) override;
    void SetIcon() override { ++iconSets; }
    void InitCommonControls() override { ++commonControlsInits; }
    ToolTipHandle CreateToolTip() override;
    bool CreateUiFont(const CFontRequest& request) override;
    void GetClientTextMetrics(CTextMetrics* metrics) override;
    void SetTimer(uint32_t id, uint32_t milliseconds) override;
    void KillTimer(uint32_t id) override;
    void Invalidate() override { ++invalidations; }
    void PostClose() override { ++closeRequests; }

private:
    CSimEventLog& events;
    CSimClock& clock;
    std::vector<int> answers;
    std::vector<CSimMessageBox> boxes;
    std::string title;
    int iconSets;
    int commonControlsInits;
    int failToolTipAt;
    int toolTipCreations;
    bool uiFontFails;
    bool uiFontCreated;
    std::string uiFontFace;
    int uiFontHeight;
    CTextMetrics textMetrics;
    int invalidations;
    int closeRequests;
};
