// The simulated main window.
#include "platform/sim/sim_window.h"

#include <cstring>

namespace {

// MessageBoxA results beyond those the program names.
const int SIM_IDCANCEL = 2;
const int SIM_IDABORT = 3;
const int SIM_IDRETRY = 4;
const int SIM_IDIGNORE = 5;

// The button a box returns when the user just presses Enter: MB_DEFBUTTON1..3 pick among
// the buttons of the type's low four bits.
int DefaultAnswer(uint32_t type)
{
    static const int BUTTONS[6][3] = {
        {MSGBOX_RESULT_OK, 0, 0},                             // MB_OK
        {MSGBOX_RESULT_OK, SIM_IDCANCEL, 0},                  // MB_OKCANCEL
        {SIM_IDABORT, SIM_IDRETRY, SIM_IDIGNORE},             // MB_ABORTRETRYIGNORE
        {MSGBOX_RESULT_YES, MSGBOX_RESULT_NO, SIM_IDCANCEL},  // MB_YESNOCANCEL
        {MSGBOX_RESULT_YES, MSGBOX_RESULT_NO, 0},             // MB_YESNO
        {SIM_IDRETRY, SIM_IDCANCEL, 0},                       // MB_RETRYCANCEL
    };
    uint32_t buttons = type & 0xF;
    if (buttons > 5) buttons = 0;
    uint32_t pick = (type >> 8) & 0xF;
    if (pick > 2 || BUTTONS[buttons][pick] == 0) pick = 0;
    return BUTTONS[buttons][pick];
}

// Line breaks and tabs written out, so that one box stays one tab-separated log line.
std::string OneLine(const char* text)
{
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '\n') {
            out += "\\n";
        } else if (*p == '\r') {
            out += "\\r";
        } else if (*p == '\t') {
            out += "\\t";
        } else {
            out.push_back(*p);
        }
    }
    return out;
}

}  // namespace

CSimWindow::CSimWindow(CSimEventLog& events, CSimClock& clock)
    : events(events), clock(clock), title(SIM_INITIAL_TITLE), iconSets(0),
      commonControlsInits(0), failToolTipAt(0), toolTipCreations(0), uiFontFails(false),
      uiFontCreated(false), uiFontHeight(0), invalidations(0), closeRequests(0)
{
    // A client context of the default system font at 96 pixels per inch.
    textMetrics.height = 13;
    textMetrics.externalLeading = 0;
    textMetrics.aveCharWidth = 5;
}

int CSimWindow::MessageBox(bool ownedByDialog, const char* text, const char* caption,
                           uint32_t type)
{
    // MessageBoxA shows "Error" for a missing caption.
    const char* shownCaption = caption ? caption : "Error";
    events.Add("messagebox\t" + OneLine(shownCaption) + "\t" + OneLine(text));
    int answer = DefaultAnswer(type);
    if (!answers.empty()) {
        answer = answers.front();
        answers.erase(answers.begin());
    }
    boxes.push_back({ownedByDialog, text ? text : "", shownCaption, type, answer});
    return answer;
}

void CSimWindow::SetTitle(const char* newTitle)
{
    title = newTitle ? newTitle : "";
}

uint32_t CSimWindow::GetTitle(char* buffer, uint32_t size)
{
    if (!buffer || size == 0) return 0;
    size_t n = title.size() < size - 1 ? title.size() : size - 1;
    memcpy(buffer, title.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

ToolTipHandle CSimWindow::CreateToolTip()
{
    ++toolTipCreations;
    if (toolTipCreations == failToolTipAt) return 0;
    return 0x3000 + static_cast<ToolTipHandle>(toolTipCreations) * 4;
}

bool CSimWindow::CreateUiFont(const CFontRequest& request)
{
    if (uiFontFails) return false;
    uiFontCreated = true;
    uiFontFace = request.face ? request.face : "";
    uiFontHeight = request.height;
    return true;
}

void CSimWindow::GetClientTextMetrics(CTextMetrics* metrics)
{
    if (metrics) *metrics = textMetrics;
}

void CSimWindow::SetTimer(uint32_t id, uint32_t milliseconds)
{
    clock.SetTimer(id, milliseconds);
}

void CSimWindow::KillTimer(uint32_t id)
{
    clock.KillTimer(id);
}
