// The small dialog layer that stands in for the dialog framework: the shared instance counter,
// common controls, dialog colours, and modal dialogs run from in-memory templates by a message
// loop of our own.
#include "platform/win32/win32_app_host.h"

#include <vector>

#include "platform/win32/dialog_template.h"
#include "platform/win32/win32_system.h"

// Shared by every process started from this program file; -1 in the file, so the first copy
// sees 0. It must stay the only content of its section.
LONG instanceCounter __attribute__((section("Shared"), shared)) = -1;

const CWin32Dialog::CMessageEntry CWin32Dialog::MESSAGE_MAP[] = {
    {WM_INITDIALOG, &CWin32Dialog::OnInitDialog},
    {WM_COMMAND, &CWin32Dialog::OnCommand},
    {WM_PAINT, &CWin32Dialog::OnPaint},
    {WM_CLOSE, &CWin32Dialog::OnClose},
    {WM_MOUSEMOVE, &CWin32Dialog::OnMouseMove},
    {WM_LBUTTONDOWN, &CWin32Dialog::OnLButtonDown},
    // The dialog class asks for double clicks: a second quick press arrives as a double
    // click, and is one more press, so every press meets its release.
    {WM_LBUTTONDBLCLK, &CWin32Dialog::OnLButtonDown},
    {WM_LBUTTONUP, &CWin32Dialog::OnLButtonUp},
    {WM_VSCROLL, &CWin32Dialog::OnVScroll},
    {WM_TIMER, &CWin32Dialog::OnTimer},
    {WM_CTLCOLORDLG, &CWin32Dialog::OnCtlColor},
    {WM_CTLCOLORSTATIC, &CWin32Dialog::OnCtlColor},
    {WM_CTLCOLORBTN, &CWin32Dialog::OnCtlColor},
    {WM_CTLCOLOREDIT, &CWin32Dialog::OnCtlColor},
    {WM_CTLCOLORLISTBOX, &CWin32Dialog::OnCtlColor},
    {WM_CTLCOLORSCROLLBAR, &CWin32Dialog::OnCtlColor},
    {WM_CTLCOLORMSGBOX, &CWin32Dialog::OnCtlColor},
    {WM_QUERYDRAGICON, &CWin32Dialog::OnQueryDragIcon},
    {WM_NCDESTROY, &CWin32Dialog::OnNcDestroy},
};

// The kind of window each WM_CTLCOLOR* message asks for, and whether the dialog colours
// apply to it: to the dialog, its static texts and buttons (and the message box), not to edit
// boxes, list boxes and scroll bars, which keep the system's colours.
struct CControlColorEntry {
    UINT message;
    CControlKind kind;
    bool dialogColors;
};
static const CControlColorEntry CONTROL_COLOR_KINDS[] = {
    {WM_CTLCOLORMSGBOX, CONTROL_KIND_MSGBOX, true},
    {WM_CTLCOLOREDIT, CONTROL_KIND_EDIT, false},
    {WM_CTLCOLORLISTBOX, CONTROL_KIND_LISTBOX, false},
    {WM_CTLCOLORBTN, CONTROL_KIND_BUTTON, true},
    {WM_CTLCOLORDLG, CONTROL_KIND_DIALOG, true},
    {WM_CTLCOLORSCROLLBAR, CONTROL_KIND_SCROLLBAR, false},
    {WM_CTLCOLORSTATIC, CONTROL_KIND_STATIC, true},
};

CWin32Dialog::CWin32Dialog(CWin32AppHost& host, CDialogHandler* handler, HWND owner,
                           bool bindsWindow)
    : host(host), handler(handler), owner(owner), bindsWindow(bindsWindow), hwnd(NULL),
      ended(false), result(-1)
{
}

int CWin32Dialog::Run(HINSTANCE instance, const void* dialogTemplate)
{
    // A nested dialog is owned by the outermost one, which stays disabled while it runs.
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);

    if (handler) handler->site = this;
    HWND created = CreateDialogIndirectParamA(
        instance, static_cast<LPCDLGTEMPLATEA>(dialogTemplate), owner, &CWin32Dialog::Procedure,
        reinterpret_cast<LPARAM>(this));
    if (!created) {
        if (handler) handler->site = nullptr;
        if (ownerWasEnabled) EnableWindow(owner, TRUE);
        return ended ? result : -1;
    }
    hwnd = created;

    MSG message;
    while (!ended) {
        BOOL got = GetMessageA(&message, NULL, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // WM_QUIT belongs to an outer loop: leave and hand it on.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (PreTranslate(message)) continue;
        if (hwnd && IsDialogMessageA(hwnd, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    surfaces.ReleaseAll();
    if (hwnd) DestroyWindow(hwnd);
    if (handler) handler->site = nullptr;
    return result;
}

void CWin32Dialog::End(int dialogResult)
{
    if (ended) return;
    ended = true;
    result = dialogResult;
    if (owner && IsWindow(owner)) EnableWindow(owner, TRUE);
    if (hwnd) ShowWindow(hwnd, SW_HIDE);
    // Wake the loop even when the end came from a nested loop's dispatch.
    PostMessageA(NULL, WM_NULL, 0, 0);
}

void CWin32Dialog::SetTimer(uint32_t id, uint32_t milliseconds)
{
    if (hwnd) ::SetTimer(hwnd, id, milliseconds, NULL);
}

void CWin32Dialog::KillTimer(uint32_t id)
{
    if (hwnd) ::KillTimer(hwnd, id);
}

// A client context of this dialog; the panels' font and the icon are the window service's.
DrawingSurface* CWin32Dialog::GetClientSurface()
{
    CWin32Window& window = host.WindowService();
    return surfaces.Acquire(hwnd, window.UiFont(), window.Icon());
}

void CWin32Dialog::ReleaseClientSurface(DrawingSurface* surface)
{
    surfaces.Release(surface);
}

void CWin32Dialog::EndDialog(int dialogResult)
{
    End(dialogResult);
}

bool CWin32Dialog::PreTranslate(MSG& message)
{
    // The tooltip control the handler names learns of the mouse from the relay; the message
    // is not consumed.
    if (bindsWindow && handler) {
        ToolTipHandle toolTip = handler->ToolTipForRelay();
        if (toolTip) host.WindowService().RelayToToolTip(toolTip, message);
    }
    return false;
}

INT_PTR CALLBACK CWin32Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWin32Dialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CWin32Dialog*>(lParam);
        dialog->hwnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    } else {
        dialog = reinterpret_cast<CWin32Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, creation) take the default handling.
    if (!dialog) return FALSE;
    return dialog->Dispatch(message, wParam, lParam);
}

INT_PTR CWin32Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const CMessageEntry& entry : MESSAGE_MAP) {
        if (entry.message == message) return (this->*entry.handler)(message, wParam, lParam);
    }
    return FALSE;
}

INT_PTR CWin32Dialog::OnInitDialog(UINT, WPARAM, LPARAM)
{
    if (bindsWindow) host.WindowService().Bind(hwnd);
    if (!handler) return TRUE;
    return handler->OnInitDialog() ? TRUE : FALSE;
}

// Every command reaches the handler first; the framework's OK and Cancel (Enter, Escape) end
// the dialog unless the handler's own handling replaced them.
INT_PTR CWin32Dialog::OnCommand(UINT, WPARAM wParam, LPARAM)
{
    WORD id = LOWORD(wParam);
    if (handler && handler->OnCommand(id)) return TRUE;
    if (id == IDOK || id == IDCANCEL) {
        End(id);
        return TRUE;
    }
    return FALSE;
}

// A handler that ran no paint cycle on this dialog leaves the update region to the dialog
// manager, which validates it: otherwise WM_PAINT would come back at once, for ever, and no
// WM_TIMER (which comes only when no paint is due) would reach the dialog. A nested dialog's
// handler cannot paint it through the window service, which belongs to the main dialog.
INT_PTR CWin32Dialog::OnPaint(UINT, WPARAM, LPARAM)
{
    if (!handler) return FALSE;
    uint32_t before = host.WindowService().PaintCycles();
    handler->OnPaint();
    return bindsWindow && host.WindowService().PaintCycles() != before ? TRUE : FALSE;
}

INT_PTR CWin32Dialog::OnClose(UINT, WPARAM, LPARAM)
{
    // The handler's own steps, then the close box ends the dialog as Cancel would (a
    // handler that ends the program does not come back here).
    if (handler) handler->OnClose();
    End(IDCANCEL);
    return TRUE;
}

// The mouse handlers get client coordinates with their sign: while the dialog holds the
// capture, a point left of or above it is negative. The dialog manager's default follows.
INT_PTR CWin32Dialog::OnMouseMove(UINT, WPARAM, LPARAM lParam)
{
    if (handler) handler->OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return FALSE;
}

INT_PTR CWin32Dialog::OnLButtonDown(UINT, WPARAM, LPARAM lParam)
{
    if (handler) handler->OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return FALSE;
}

INT_PTR CWin32Dialog::OnLButtonUp(UINT, WPARAM, LPARAM lParam)
{
    if (handler) handler->OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return FALSE;
}

INT_PTR CWin32Dialog::OnVScroll(UINT, WPARAM wParam, LPARAM)
{
    if (handler) handler->OnVScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
    return FALSE;
}

INT_PTR CWin32Dialog::OnTimer(UINT, WPARAM wParam, LPARAM)
{
    if (handler) handler->OnTimer(static_cast<uint32_t>(wParam));
    return FALSE;
}

// The framework's default first: the dialog colours where they apply and were set, else the
// system's (DefWindowProc sets them on the context and gives its brush; returning no brush
// would let the dialog manager set them again over the handler's). Then the colours the
// handler chose go on the context, and the default brush is returned.
INT_PTR CWin32Dialog::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    const CControlColorEntry* entry = NULL;
    for (const CControlColorEntry& candidate : CONTROL_COLOR_KINDS) {
        if (candidate.message == message) entry = &candidate;
    }
    if (!entry) return FALSE;
    HBRUSH brush = entry->dialogColors ? host.ApplyDialogColors(dc) : NULL;
    if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProcA(hwnd, message, wParam, lParam));
    if (!handler) return reinterpret_cast<INT_PTR>(brush);

    CControlColors colors = {false, 0, false, 0};
    handler->OnCtlColor(entry->kind, reinterpret_cast<HWND>(lParam) == hwnd, &colors);
    if (colors.textSet) SetTextColor(dc, static_cast<COLORREF>(colors.text));
    if (colors.backgroundSet) SetBkColor(dc, static_cast<COLORREF>(colors.background));
    return reinterpret_cast<INT_PTR>(brush);
}

// The icon shown while the minimised dialog is dragged is returned as the message's result
// (one of the few a dialog procedure returns directly); without it the default applies.
INT_PTR CWin32Dialog::OnQueryDragIcon(UINT, WPARAM, LPARAM)
{
    if (!handler || !handler->OnQueryDragIcon()) return FALSE;
    return reinterpret_cast<INT_PTR>(host.WindowService().Icon());
}

INT_PTR CWin32Dialog::OnNcDestroy(UINT, WPARAM, LPARAM)
{
    // Destroyed from outside the loop: nothing may use the handle any more.
    surfaces.ReleaseAll();
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    if (bindsWindow) host.WindowService().Bind(NULL);
    hwnd = NULL;
    if (!ended) {
        ended = true;
        PostMessageA(NULL, WM_NULL, 0, 0);
    }
    return FALSE;
}

CWin32AppHost::CWin32AppHost(HINSTANCE instance, CWin32Window& window)
    : instance(instance), window(window), colorsSet(false), backgroundColor(RGB(255, 255, 255)),
      textColor(RGB(0, 0, 0))
{
}

int32_t CWin32AppHost::IncrementInstanceCounter()
{
    return InterlockedIncrement(&instanceCounter);
}

void CWin32AppHost::InitCommonControls()
{
    ::InitCommonControls();
}

void CWin32AppHost::EnableControlContainer()
{
    // The framework's ActiveX hosting switch: the program hosts no ActiveX control and this
    // layer has no framework to switch, so there is nothing to do.
}

void CWin32AppHost::Enable3dControls()
{
    // The framework's 3-D controls switch: every supported system draws dialogs in 3-D by
    // itself, so there is nothing to do.
}

void CWin32AppHost::SetDialogColors(uint32_t background, uint32_t text)
{
    backgroundColor = static_cast<COLORREF>(background);
    textColor = static_cast<COLORREF>(text);
    backgroundBrush.Reset(CreateSolidBrush(backgroundColor));
    colorsSet = backgroundBrush.Get() != NULL;
}

HBRUSH CWin32AppHost::ApplyDialogColors(HDC dc)
{
    if (!colorsSet) return NULL;
    SetTextColor(dc, textColor);
    SetBkColor(dc, backgroundColor);
    return backgroundBrush.Get();
}

void CWin32AppHost::GetScreenPixelsPerInch(int* x, int* y)
{
    Win32ScreenPixelsPerInch(x, y);
}

int CWin32AppHost::RunModalDialog(uint32_t templateId, const char* fontFace, int pointSize,
                                  CDialogHandler* handler)
{
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
    if (!found) return -1;
    HGLOBAL loaded = LoadResource(instance, found);
    const uint8_t* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : NULL;
    DWORD size = SizeofResource(instance, found);
    if (!bytes || size == 0) return -1;

    // The face in the template is UTF-16; the program's texts are in the ANSI code page.
    std::vector<uint16_t> face;
    if (fontFace && *fontFace) {
        int n = MultiByteToWideChar(CP_ACP, 0, fontFace, -1, NULL, 0);
        if (n <= 0) return -1;
        std::vector<WCHAR> wide(n);
        MultiByteToWideChar(CP_ACP, 0, fontFace, -1, wide.data(), n);
        face.assign(wide.begin(), wide.end() - 1);
    }
    if (pointSize < 0) pointSize = 0;
    if (pointSize > 0xFFFF) pointSize = 0xFFFF;
    std::vector<uint32_t> editable;
    if (!SetDialogTemplateFont(bytes, size, face.data(), face.size(),
                               static_cast<uint16_t>(pointSize), &editable)) {
        return -1;
    }

    // The first dialog is the main one: the window service is bound to it in WM_INITDIALOG,
    // before its handler runs. A dialog started while it is up is owned by it.
    HWND mainDialog = window.Handle();
    bool nested = mainDialog != NULL && IsWindow(mainDialog);
    CWin32Dialog dialog(*this, handler, nested ? mainDialog : NULL, !nested);
    return dialog.Run(instance, editable.data());
}
