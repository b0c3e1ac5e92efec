// input_check.exe: a dialog run by the dialog layer answers the mouse, commands, the scroll
// bar, timers, control colours and the drag-icon query, and relays the mouse to the tooltip
// control its handler names; a dialog run from it works through its site.
//   input_check         one "ok:" or "FAIL:" line per check; exits 1 on any failure
#include "platform/win32/win32_api.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_app_host.h"
#include "platform/win32/win32_window.h"

namespace {

int failures = 0;

void Check(bool ok, const std::string& what)
{
    printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    fflush(stdout);
    if (!ok) ++failures;
}

// Resources of this program (input_check.rc).
const uint32_t CHECK_DIALOG = 300;

const DWORD CHECK_WATCHDOG_MS = 60000;
// The handler works through its checks one step per tick of this timer.
const uint32_t CHECK_STEP_TIMER = 77;
const uint32_t CHECK_STEP_MS = 40;
// Ticks a step waits for input that comes through the system (SendInput).
const int CHECK_INPUT_WAIT_TICKS = 50;

const uint32_t CHECK_BOX_ID = 200;
const uint32_t CHECK_BAR_ID = 10;

// The nested dialog's timers: a quick one, killed after two ticks, and a slower one that
// ends the dialog.
const uint32_t CHECK_SITE_TIMER = 3;
const uint32_t CHECK_SITE_TIMER_MS = 20;
const uint32_t CHECK_SITE_END_TIMER = 4;
const uint32_t CHECK_SITE_END_MS = 200;
const int CHECK_SITE_RESULT = 42;

const COLORREF CHECK_RED = RGB(255, 0, 0);
const COLORREF CHECK_DIALOG_BACKGROUND = RGB(10, 20, 30);
const COLORREF CHECK_DIALOG_TEXT = RGB(40, 50, 60);
const COLORREF CHECK_YELLOW = RGB(255, 255, 0);
const COLORREF CHECK_BLACK = RGB(0, 0, 0);
const COLORREF CHECK_WHITE = RGB(255, 255, 255);
// What a context holds before a colour message, so a colour nobody set shows.
const COLORREF CHECK_UNTOUCHED = RGB(1, 2, 3);

std::string Point(int x, int y)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// The messages a tooltip control was sent with TTM_RELAYEVENT, seen by subclassing it.
struct CRelayLog {
    HWND tip = NULL;
    WNDPROC original = NULL;
    std::vector<MSG> relayed;

    bool Saw(HWND target, UINT message, int x, int y) const
    {
        for (const MSG& m : relayed) {
            if (m.hwnd == target && m.message == message && GET_X_LPARAM(m.lParam) == x &&
                GET_Y_LPARAM(m.lParam) == y) {
                return true;
            }
        }
        return false;
    }
    bool OnlyMouse() const
    {
        for (const MSG& m : relayed) {
            if (m.message < WM_MOUSEFIRST || m.message > WM_MOUSELAST) return false;
        }
        return true;
    }
};
CRelayLog relayLogs[2];

LRESULT CALLBACK RelayLogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (CRelayLog& log : relayLogs) {
        if (log.tip != hwnd) continue;
        if (message == TTM_RELAYEVENT && lParam) {
            log.relayed.push_back(*reinterpret_cast<const MSG*>(lParam));
        }
        return CallWindowProcA(log.original, hwnd, message, wParam, lParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void LogRelays(CRelayLog* log, ToolTipHandle tip)
{
    log->tip = reinterpret_cast<HWND>(tip);
    if (!log->tip) return;
    log->original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(log->tip, GWLP_WNDPROC));
    SetWindowLongPtrA(log->tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayLogProcedure));
}

// A dialog run from the main one: everything it does to itself goes through its site.
class CSiteHandler : public CDialogHandler {
public:
    bool OnInitDialog() override
    {
        siteAtInit = site != nullptr;
        if (site) site->SetTimer(CHECK_SITE_TIMER, CHECK_SITE_TIMER_MS);
        return true;
    }
    void OnTimer(uint32_t id) override
    {
        if (!site) return;
        if (id == CHECK_SITE_TIMER && ++quickTicks == 2) {
            site->KillTimer(CHECK_SITE_TIMER);
            site->SetTimer(CHECK_SITE_END_TIMER, CHECK_SITE_END_MS);
        }
        if (id != CHECK_SITE_END_TIMER) return;
        site->KillTimer(CHECK_SITE_END_TIMER);
        // An opaque text's cell shows its background colour at its top left.
        DrawingSurface* surface = site->GetClientSurface();
        HDC dc = static_cast<CWin32DrawingSurface*>(surface)->Handle();
        drawnOn = dc ? WindowFromDC(dc) : NULL;
        drawnOnOwner = drawnOn ? GetWindow(drawnOn, GW_OWNER) : NULL;
        surface->SetBkColor(CHECK_RED);
        surface->SetBkMode(SURFACE_OPAQUE);
        surface->TextOut(0, 0, "MM");
        drawn = dc ? GetPixel(dc, 0, 0) : CLR_INVALID;
        site->ReleaseClientSurface(surface);
        site->EndDialog(CHECK_SITE_RESULT);
    }

    bool siteAtInit = false;
    int quickTicks = 0;
    HWND drawnOn = NULL;
    HWND drawnOnOwner = NULL;
    COLORREF drawn = CLR_INVALID;
};

struct CMouseEvent {
    UINT message;
    int x;
    int y;
};

// The handler under test: it records what the dialog layer hands it, and runs the checks
// from its own timer, one step per tick, so every message it provokes goes through the
// modal loop before the next step looks at the result.
class CInputHandler : public CDialogHandler {
public:
    CInputHandler(CWin32AppHost& host, CWin32Window& window, HWND outsider)
        : host(host), window(window), outsider(outsider)
    {
    }

    bool OnInitDialog() override;
    void OnMouseMove(int x, int y) override { mouse.push_back({WM_MOUSEMOVE, x, y}); }
    void OnLButtonDown(int x, int y) override { mouse.push_back({WM_LBUTTONDOWN, x, y}); }
    void OnLButtonUp(int x, int y) override { mouse.push_back({WM_LBUTTONUP, x, y}); }
    bool OnCommand(uint32_t id) override
    {
        commands.push_back(id);
        return replaceOk && id == IDOK;
    }
    void OnVScroll(int code, int position) override
    {
        scrolls.push_back(code);
        scrolls.push_back(position);
    }
    void OnTimer(uint32_t id) override;
    void OnCtlColor(CControlKind kind, bool isDialog, CControlColors* colors) override
    {
        ++colorCalls;
        colorKind = kind;
        colorIsDialog = isDialog;
        *colors = colorsToSet;
    }
    bool OnQueryDragIcon() override { return showDragIcon; }
    ToolTipHandle ToolTipForRelay() override { return relayTo; }

    // How far the steps came; the last one ends the dialog with OK.
    int step = 0;
    static const int LAST_STEP = 10;
    std::vector<uint32_t> timers;
    std::vector<uint32_t> commands;

private:
    bool RunStep();
    void PostMouse();
    void CheckMouse();
    void CheckRelayChoice();
    void CheckRelaySwitch();
    void ClickScrollBar();
    void CheckScroll();
    void CheckControlColors();
    void CheckDragIcon();
    void StartCapturedDrag();
    bool CheckCapturedDrag();
    void CheckNestedDialog();
    size_t FindMouse(size_t from, UINT message, int x, int y) const;

    CWin32AppHost& host;
    CWin32Window& window;
    HWND outsider;
    bool nestedRunning = false;
    HWND dialog = NULL;
    HWND box = NULL;
    HWND bar = NULL;
    ToolTipHandle relayTip = 0;
    ToolTipHandle otherTip = 0;
    ToolTipHandle relayTo = 0;
    int waited = 0;
    POINT dragPoint = {0, 0};

    std::vector<CMouseEvent> mouse;
    std::vector<int> scrolls;  // code, position, code, position, ...
    bool replaceOk = false;
    int colorCalls = 0;
    CControlKind colorKind = CONTROL_KIND_MSGBOX;
    bool colorIsDialog = false;
    CControlColors colorsToSet = {false, 0, false, 0};
    bool showDragIcon = false;
};

bool CInputHandler::OnInitDialog()
{
    dialog = window.Handle();
    window.InitCommonControls();
    relayTip = window.CreateToolTip();
    otherTip = window.CreateToolTip();
    LogRelays(&relayLogs[0], relayTip);
    LogRelays(&relayLogs[1], otherTip);
    relayTo = relayTip;

    CRect boxRect = {10, 10, 120, 26};
    window.CreateCheckBox(CHECK_BOX_ID, boxRect, "Audio driver");
    box = GetDlgItem(dialog, CHECK_BOX_ID);
    CRect client;
    window.GetClientRect(&client);
    CRect barRect = {0, 40, client.right, 160};
    window.CreateScrollBar(CHECK_BAR_ID, barRect);
    bar = GetDlgItem(dialog, CHECK_BAR_ID);
    window.SetScrollRange(CHECK_BAR_ID, 1, 5);
    window.SetScrollPage(CHECK_BAR_ID, 1);
    window.SetScrollPos(CHECK_BAR_ID, 1);
    Check(relayTip && otherTip && box && bar, "setup: two tooltips, a check box and a scroll bar");

    window.SetTimer(CHECK_STEP_TIMER, CHECK_STEP_MS);
    return true;
}

void CInputHandler::OnTimer(uint32_t id)
{
    timers.push_back(id);
    if (id != CHECK_STEP_TIMER || step > LAST_STEP || nestedRunning) return;
    if (RunStep()) {
        ++step;
        waited = 0;
    } else {
        ++waited;
    }
}

// One step of the checks; false while it waits for input still on its way.
bool CInputHandler::RunStep()
{
    switch (step) {
    case 0:
        Check(timers.size() == 1 && timers[0] == CHECK_STEP_TIMER,
              "timer: WM_TIMER reaches the handler with the timer's identifier");
        PostMouse();
        return true;
    case 1:
        CheckMouse();
        // No control named: nothing is relayed.
        relayTo = 0;
        PostMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(21, 22));
        return true;
    case 2:
        CheckRelayChoice();
        return true;
    case 3:
        CheckRelaySwitch();
        commands.clear();
        SendMessageA(box, BM_CLICK, 0, 0);
        Check(commands.size() == 1 && commands[0] == CHECK_BOX_ID,
              "command: a click on the check box reaches OnCommand with its identifier");
        ClickScrollBar();
        return true;
    case 4:
        CheckScroll();
        return true;
    case 5:
        CheckControlColors();
        CheckDragIcon();
        return true;
    case 6:
        StartCapturedDrag();
        return true;
    case 7:
        return CheckCapturedDrag() || waited >= CHECK_INPUT_WAIT_TICKS;
    case 8:
        CheckNestedDialog();
        return true;
    case 9:
        // Enter: the framework's OK, replaced by the handler's own.
        commands.clear();
        replaceOk = true;
        PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(dialog, WM_KEYUP, VK_RETURN, 0);
        return true;
    case 10:
        Check(commands.size() == 1 && commands[0] == IDOK && IsWindowVisible(dialog),
              "command: Enter reaches OnCommand as OK, and a handler that replaces OK keeps "
              "the dialog open");
        // Not replaced now: OK ends the dialog.
        commands.clear();
        replaceOk = false;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
    return true;
}

// Mouse messages as the system posts them: to the dialog (the release with a point left of
// and above it, as the capture gives), to a child of it, and to a window outside it.
void CInputHandler::PostMouse()
{
    PostMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(12, 34));
    PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(56, 78));
    PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(-5, -7));
    PostMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    PostMessageA(outsider, WM_MOUSEMOVE, 0, MAKELPARAM(7, 9));
}

// The index of the first such event at or after from; the size when there is none. The real
// pointer may add moves of its own, so the checks look for their events in order.
size_t CInputHandler::FindMouse(size_t from, UINT message, int x, int y) const
{
    for (size_t i = from; i < mouse.size(); ++i) {
        if (mouse[i].message == message && mouse[i].x == x && mouse[i].y == y) return i;
    }
    return mouse.size();
}

void CInputHandler::CheckMouse()
{
    size_t move = FindMouse(0, WM_MOUSEMOVE, 12, 34);
    size_t down = move < mouse.size() ? FindMouse(move + 1, WM_LBUTTONDOWN, 56, 78) : move;
    size_t up = down < mouse.size() ? FindMouse(down + 1, WM_LBUTTONUP, -5, -7) : down;
    Check(up < mouse.size(),
          "mouse: move (12, 34), press (56, 78) and release (-5, -7) reach the handler in "
          "order, in client coordinates with their sign");
    Check(FindMouse(0, WM_MOUSEMOVE, 3, 4) == mouse.size() &&
              FindMouse(0, WM_MOUSEMOVE, 7, 9) == mouse.size(),
          "mouse: a child's and another window's mouse messages are not the dialog's");

    const CRelayLog& relayed = relayLogs[0];
    Check(relayed.Saw(dialog, WM_MOUSEMOVE, 12, 34) &&
              relayed.Saw(dialog, WM_LBUTTONDOWN, 56, 78) &&
              relayed.Saw(dialog, WM_LBUTTONUP, -5, -7),
          "relay: the dialog's mouse messages go to the handler's tooltip control");
    Check(relayed.Saw(box, WM_MOUSEMOVE, 3, 4), "relay: so do its children's");
    Check(!relayed.Saw(outsider, WM_MOUSEMOVE, 7, 9) && relayed.OnlyMouse(),
          "relay: another window's mouse messages and other messages (the timer's) are not "
          "relayed");
    Check(relayLogs[1].relayed.empty(), "relay: the other tooltip control gets nothing");
}

void CInputHandler::CheckRelayChoice()
{
    Check(FindMouse(0, WM_MOUSEMOVE, 21, 22) < mouse.size() &&
              !relayLogs[0].Saw(dialog, WM_MOUSEMOVE, 21, 22) &&
              !relayLogs[1].Saw(dialog, WM_MOUSEMOVE, 21, 22),
          "relay: with no control named the move reaches the handler and no tooltip");
    // The pre-translate step of the loop relays only to the control named at that moment.
    relayTo = otherTip;
    PostMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(23, 24));
}

void CInputHandler::CheckRelaySwitch()
{
    Check(relayLogs[1].Saw(dialog, WM_MOUSEMOVE, 23, 24) &&
              !relayLogs[0].Saw(dialog, WM_MOUSEMOVE, 23, 24),
          "relay: a newly named control gets the next move, the first one no longer");
}

// A press and release on the scroll bar's lower arrow: the bar tracks the press itself and
// tells the dialog SB_LINEDOWN, then SB_ENDSCROLL.
void CInputHandler::ClickScrollBar()
{
    scrolls.clear();
    RECT client;
    ::GetClientRect(bar, &client);
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    LPARAM point = MAKELPARAM(client.right / 2, client.bottom - arrow / 2);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(bar, WM_LBUTTONUP, 0, point);
}

void CInputHandler::CheckScroll()
{
    std::string seen;
    for (size_t i = 0; i + 1 < scrolls.size(); i += 2) {
        seen += " " + std::to_string(scrolls[i]) + "/" + std::to_string(scrolls[i + 1]);
    }
    Check(scrolls.size() >= 4 && scrolls[0] == SB_LINEDOWN &&
              scrolls[scrolls.size() - 2] == SB_ENDSCROLL,
          "scroll: a click on the bar's lower arrow reaches OnVScroll as SB_LINEDOWN, then "
          "SB_ENDSCROLL (code/position:" + seen + ")");
    scrolls.clear();
    SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3), reinterpret_cast<LPARAM>(bar));
    Check(scrolls.size() == 2 && scrolls[0] == SB_THUMBTRACK && scrolls[1] == 3,
          "scroll: a dragged thumb's position comes with SB_THUMBTRACK");
}

// Every WM_CTLCOLOR* message names its kind of window; the dialog colours apply to the
// dialog, static texts and buttons, the system's to the rest; the handler's colours go on
// the context over either, and the brush stays the default's.
void CInputHandler::CheckControlColors()
{
    struct CColorCase {
        UINT message;
        CControlKind kind;
        HWND asking;
        bool dialogColors;
        const char* name;
    };
    const CColorCase cases[] = {
        {WM_CTLCOLORDLG, CONTROL_KIND_DIALOG, dialog, true, "dialog"},
        {WM_CTLCOLORSTATIC, CONTROL_KIND_STATIC, box, true, "static"},
        {WM_CTLCOLORBTN, CONTROL_KIND_BUTTON, box, true, "button"},
        {WM_CTLCOLORMSGBOX, CONTROL_KIND_MSGBOX, box, true, "message box"},
        {WM_CTLCOLOREDIT, CONTROL_KIND_EDIT, box, false, "edit"},
        {WM_CTLCOLORLISTBOX, CONTROL_KIND_LISTBOX, box, false, "list box"},
        {WM_CTLCOLORSCROLLBAR, CONTROL_KIND_SCROLLBAR, bar, false, "scroll bar"},
    };
    CScopedCreatedDC dc(CreateCompatibleDC(NULL));
    for (const CColorCase& c : cases) {
        // The handler sets the text colour only: the background stays the default's.
        SetTextColor(dc.Get(), CHECK_UNTOUCHED);
        SetBkColor(dc.Get(), CHECK_UNTOUCHED);
        colorsToSet = {true, CHECK_YELLOW, false, 0};
        colorCalls = 0;
        HBRUSH brush = reinterpret_cast<HBRUSH>(
            SendMessageA(dialog, c.message, reinterpret_cast<WPARAM>(dc.Get()),
                         reinterpret_cast<LPARAM>(c.asking)));
        LOGBRUSH logBrush;
        memset(&logBrush, 0, sizeof(logBrush));
        bool isBrush = brush && GetObjectA(brush, sizeof(logBrush), &logBrush) != 0;
        COLORREF background = GetBkColor(dc.Get());
        bool defaults = c.dialogColors
                            ? logBrush.lbColor == CHECK_DIALOG_BACKGROUND &&
                                  background == CHECK_DIALOG_BACKGROUND
                            : logBrush.lbColor != CHECK_DIALOG_BACKGROUND &&
                                  background != CHECK_DIALOG_BACKGROUND &&
                                  background != CHECK_UNTOUCHED;
        Check(colorCalls == 1 && colorKind == c.kind && colorIsDialog == (c.asking == dialog) &&
                  isBrush && defaults && GetTextColor(dc.Get()) == CHECK_YELLOW,
              std::string("colours: ") + c.name + ": its kind reaches the handler, " +
                  (c.dialogColors ? "the dialog's" : "the system's") +
                  " brush and background, the handler's text colour");
    }
    // The main dialog's choice: black on white for the dialog itself, on the dialog's brush.
    colorsToSet = {true, CHECK_BLACK, true, CHECK_WHITE};
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORDLG,
                                                         reinterpret_cast<WPARAM>(dc.Get()),
                                                         reinterpret_cast<LPARAM>(dialog)));
    LOGBRUSH logBrush;
    memset(&logBrush, 0, sizeof(logBrush));
    Check(brush && GetObjectA(brush, sizeof(logBrush), &logBrush) &&
              logBrush.lbColor == CHECK_DIALOG_BACKGROUND &&
              GetTextColor(dc.Get()) == CHECK_BLACK && GetBkColor(dc.Get()) == CHECK_WHITE,
          "colours: both colours the handler sets go on the context; the brush stays the "
          "dialog's");
    colorsToSet = {false, 0, false, 0};
}

void CInputHandler::CheckDragIcon()
{
    showDragIcon = true;
    HICON shown = reinterpret_cast<HICON>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0));
    showDragIcon = false;
    HICON declined = reinterpret_cast<HICON>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0));
    Check(window.Icon() && shown == window.Icon(),
          "drag icon: the dialog's icon when the handler asks for it");
    Check(declined != window.Icon(), "drag icon: the system's default when it does not");
}

// A press on the dialog dragged out of it and released there, with real input: while the
// dialog holds the capture, the moves and the release outside come to it, in client
// coordinates left of and above its client area.
void CInputHandler::StartCapturedDrag()
{
    window.SetCapture();
    Check(GetCapture() == dialog, "capture: SetCapture gives the mouse to the dialog");
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    dragPoint.x = origin.x > 20 ? origin.x - 15 : 5;
    dragPoint.y = origin.y > 20 ? origin.y - 12 : 5;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3];
    memset(inputs, 0, sizeof(inputs));
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = (dragPoint.x * 65536 + width / 2) / width;
        input.mi.dy = (dragPoint.y * 65536 + height / 2) / height;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    mouse.clear();
    Check(SendInput(3, inputs, sizeof(INPUT)) == 3, "capture: the drag is sent as real input");
}

bool CInputHandler::CheckCapturedDrag()
{
    bool released = false;
    for (const CMouseEvent& event : mouse) {
        if (event.message == WM_LBUTTONUP) released = true;
    }
    if (!released && waited < CHECK_INPUT_WAIT_TICKS) return false;

    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    int x = cursor.x - origin.x;
    int y = cursor.y - origin.y;
    size_t down = FindMouse(0, WM_LBUTTONDOWN, x, y);
    size_t up = down < mouse.size() ? FindMouse(down + 1, WM_LBUTTONUP, x, y) : down;
    std::string seen;
    for (const CMouseEvent& event : mouse) {
        seen += " " + std::to_string(event.message) + Point(event.x, event.y);
    }
    Check(x < 0 && y < 0 && FindMouse(0, WM_MOUSEMOVE, x, y) < mouse.size() && up < mouse.size(),
          "capture: the move, press and release outside reach the handler at " + Point(x, y) +
              " (seen:" + seen + ")");
    window.ReleaseCapture();
    Check(GetCapture() == NULL, "capture: ReleaseCapture frees the mouse");
    return true;
}

// A dialog run while this one is up has a site of its own: its timers, its client area and
// its end; the site is gone once it has ended.
void CInputHandler::CheckNestedDialog()
{
    CSiteHandler nested;
    nestedRunning = true;
    int result = host.RunModalDialog(CHECK_DIALOG, "MS Sans Serif", 8, &nested);
    nestedRunning = false;
    Check(nested.siteAtInit && result == CHECK_SITE_RESULT && nested.site == nullptr,
          "site: a nested dialog has its site from its initialisation on, ends through it with "
          "its result, and loses it when it ends (result " + std::to_string(result) + ")");
    Check(nested.quickTicks == 2,
          "site: its timers reach it, and a killed one stays quiet (ticks " +
              std::to_string(nested.quickTicks) + ")");
    Check(nested.drawnOn && nested.drawnOn != dialog && nested.drawnOnOwner == dialog &&
              nested.drawn == CHECK_RED,
          "site: its client surface draws on the nested dialog, which the main one owns");
}

DWORD WINAPI Watchdog(LPVOID)
{
    Sleep(CHECK_WATCHDOG_MS);
    printf("FAIL: still running after %lu ms (a dialog never ended?)\n",
           static_cast<unsigned long>(CHECK_WATCHDOG_MS));
    fflush(stdout);
    ExitProcess(2);
    return 0;
}

}  // namespace

int main()
{
    CreateThread(NULL, 0, Watchdog, NULL, 0, NULL);
    HINSTANCE instance = GetModuleHandleA(NULL);
    // A window of the same thread that is not the dialog's, for the relay's filter.
    HWND outsider = CreateWindowExA(0, "STATIC", "outsider", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                    instance, NULL);

    CWin32Window window(instance);
    CWin32AppHost host(instance, window);
    host.SetDialogColors(CHECK_DIALOG_BACKGROUND, CHECK_DIALOG_TEXT);
    CInputHandler handler(host, window, outsider);
    int result = host.RunModalDialog(CHECK_DIALOG, "MS Sans Serif", 8, &handler);
    Check(result == IDOK && handler.step > CInputHandler::LAST_STEP &&
              handler.commands.size() == 1 && handler.commands[0] == IDOK &&
              handler.site == nullptr,
          "command: OK that the handler does not replace ends the dialog with OK, after every "
          "step (" + std::to_string(handler.step) + " of " +
              std::to_string(CInputHandler::LAST_STEP + 1) + ")");
    DestroyWindow(outsider);

    printf("%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
