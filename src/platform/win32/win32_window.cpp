// The window service on the real dialog: bound to its HWND once the dialog exists.
#include "platform/win32/win32_window.h"

CWin32Window::CWin32Window(HINSTANCE instance)
    : instance(instance),
      hwnd(NULL),
      icon(LoadIconA(instance, MAKEINTRESOURCEA(WIN32_ICON_MAIN)))
{
}

void CWin32Window::Bind(HWND dialog)
{
    hwnd = dialog;
    toolTips.clear();
}

void CWin32Window::RelayToToolTips(const MSG& message)
{
    if (toolTips.empty() || !hwnd) return;
    if (message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
    if (message.hwnd != hwnd && !IsChild(hwnd, message.hwnd)) return;
    MSG copy = message;
    for (HWND tip : toolTips) {
        SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
    }
}

int CWin32Window::MessageBox(bool ownedByDialog, const char* text, const char* caption,
                             uint32_t type)
{
    return MessageBoxA(ownedByDialog ? hwnd : NULL, text, caption, type);
}

void CWin32Window::SetTitle(const char* title)
{
    if (hwnd) SetWindowTextA(hwnd, title);
}

uint32_t CWin32Window::GetTitle(char* buffer, uint32_t size)
{
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    if (!hwnd) return 0;
    int n = GetWindowTextA(hwnd, buffer, static_cast<int>(size));
    return n > 0 ? static_cast<uint32_t>(n) : 0;
}

void CWin32Window::SetIcon()
{
    if (!hwnd) return;
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void CWin32Window::InitCommonControls()
{
    ::InitCommonControls();
}

ToolTipHandle CWin32Window::CreateToolTip()
{
    if (!hwnd) return 0;
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, hwnd, NULL, instance, NULL);
    if (!tip) return 0;
    toolTips.push_back(tip);
    return reinterpret_cast<ToolTipHandle>(tip);
}

bool CWin32Window::CreateUiFont(const CFontRequest& request)
{
    HFONT font = CreateFontA(request.height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, request.face);
    if (!font) return false;
    uiFont.Reset(font);
    return true;
}

void CWin32Window::GetClientTextMetrics(CTextMetrics* metrics)
{
    if (!metrics) return;
    metrics->height = 0;
    metrics->externalLeading = 0;
    metrics->aveCharWidth = 0;
    if (!hwnd) return;
    CScopedWindowDC dc(hwnd);
    TEXTMETRICA tm;
    if (!dc.Get() || !GetTextMetricsA(dc.Get(), &tm)) return;
    metrics->height = tm.tmHeight;
    metrics->externalLeading = tm.tmExternalLeading;
    metrics->aveCharWidth = tm.tmAveCharWidth;
}

void CWin32Window::SetTimer(uint32_t id, uint32_t milliseconds)
{
    if (hwnd) ::SetTimer(hwnd, id, milliseconds, NULL);
}

void CWin32Window::KillTimer(uint32_t id)
{
    if (hwnd) ::KillTimer(hwnd, id);
}

void CWin32Window::Invalidate()
{
    if (hwnd) InvalidateRect(hwnd, NULL, TRUE);
}

void CWin32Window::PostClose()
{
    if (hwnd) PostMessageA(hwnd, WM_CLOSE, 0, 0);
}
