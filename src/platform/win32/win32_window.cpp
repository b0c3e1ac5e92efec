// The window service on the real dialog: bound to its HWND once the dialog exists.
#include "platform/win32/win32_window.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "common/bitmap_header.h"

// Older headers know no hand cursor: Windows 98 and 2000 brought it.
#ifndef IDC_HAND
#define IDC_HAND MAKEINTRESOURCE(32649)
#endif

CWin32Window::CWin32Window(HINSTANCE instance)
    : instance(instance),
      hwnd(NULL),
      icon(LoadIconA(instance, MAKEINTRESOURCEA(WIN32_ICON_MAIN))),
      longestToolText(0),
      paintCycles(0)
{
}

CWin32Window::~CWin32Window()
{
    // The contexts go back before the font that may be selected into them is deleted.
    EndSurfaces();
}

void CWin32Window::Bind(HWND dialog)
{
    EndSurfaces();
    hwnd = dialog;
    toolTips.clear();
    longestToolText = 0;
}

void CWin32Window::EndSurfaces()
{
    paintSurface.Detach();
    paint.End();
    clientSurfaces.ReleaseAll();
}

void CWin32Window::RelayToToolTip(ToolTipHandle toolTip, const MSG& message)
{
    if (!hwnd || message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
    if (message.hwnd != hwnd && !IsChild(hwnd, message.hwnd)) return;
    HWND tip = OwnToolTip(toolTip);
    if (!tip) return;
    MSG copy = message;
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
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

void CWin32Window::GetClientRect(CRect* rect)
{
    if (!rect) return;
    RECT client = {0, 0, 0, 0};
    if (hwnd) ::GetClientRect(hwnd, &client);
    rect->left = client.left;
    rect->top = client.top;
    rect->right = client.right;
    rect->bottom = client.bottom;
}

bool CWin32Window::IsMinimized()
{
    return hwnd && IsIconic(hwnd);
}

void CWin32Window::GetIconSize(int* width, int* height)
{
    if (width) *width = GetSystemMetrics(SM_CXICON);
    if (height) *height = GetSystemMetrics(SM_CYICON);
}

// One paint cycle at a time: a second BeginPaint before EndPaint, or one without a dialog,
// gets the idle surface, so the caller's drawing goes nowhere instead of through a null.
DrawingSurface* CWin32Window::BeginPaint()
{
    if (!hwnd || paint.Get() || !paint.Begin(hwnd)) return &idleSurface;
    ++paintCycles;
    paintSurface.Attach(paint.Get(), hwnd, uiFont.Get(), icon);
    return &paintSurface;
}

void CWin32Window::EndPaint(DrawingSurface* surface)
{
    if (surface != &paintSurface || !paint.Get()) return;
    paintSurface.Detach();
    paint.End();
}

DrawingSurface* CWin32Window::GetClientSurface()
{
    return clientSurfaces.Acquire(hwnd, uiFont.Get(), icon);
}

void CWin32Window::ReleaseClientSurface(DrawingSurface* surface)
{
    clientSurfaces.Release(surface);
}

DrawingSurface* CWin32ClientSurfaces::Acquire(HWND window, HFONT uiFont, HICON icon)
{
    if (!window) return &idle;
    for (int i = 0; i < WIN32_CLIENT_SURFACES; ++i) {
        if (dcs[i].Get()) continue;
        if (!dcs[i].Acquire(window)) break;
        surfaces[i].Attach(dcs[i].Get(), window, uiFont, icon);
        return &surfaces[i];
    }
    return &idle;
}

void CWin32ClientSurfaces::Release(DrawingSurface* surface)
{
    for (int i = 0; i < WIN32_CLIENT_SURFACES; ++i) {
        if (surface != &surfaces[i] || !dcs[i].Get()) continue;
        surfaces[i].Detach();
        dcs[i].Reset();
        return;
    }
}

void CWin32ClientSurfaces::ReleaseAll()
{
    for (int i = 0; i < WIN32_CLIENT_SURFACES; ++i) {
        surfaces[i].Detach();
        dcs[i].Reset();
    }
}

namespace {

const size_t BITMAP_READ_CHUNK = 64 * 1024;

// LoadImageA believes a file's header: one that promises more rows, colours or pixel bytes than
// the file holds makes it read past the file's end and fault, which ends the program with the
// system's error box (a CD picture cut short is enough). So the file is judged first, from its
// first bytes and its size, as the loader ought to judge it; one it would misread gives no image.
bool BitmapFileIsSound(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    uint8_t head[BITMAP_HEAD_BYTES];
    size_t headSize = fread(head, 1, sizeof head, file);
    // The size by reading on (the C library of Windows 95 offers no seek we may import); the
    // system's cache serves the loader's read after this one. Large reads: each is a system
    // call, and the pictures of a CD are some megabytes.
    uint64_t size = headSize;
    std::vector<char> rest(BITMAP_READ_CHUNK);
    size_t got;
    while ((got = fread(rest.data(), 1, rest.size(), file)) > 0) size += got;
    bool readWhole = !ferror(file);
    fclose(file);
    CBitmapHeader header;
    return readWhole && ReadBitmapFileHeader(head, headSize, size, &header);
}

}  // namespace

BitmapHandle CWin32Window::LoadBitmapFile(const char* path)
{
    if (!path || !*path) return 0;
    if (!BitmapFileIsSound(path)) return 0;
    HANDLE image = LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0,
                              LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION);
    return reinterpret_cast<BitmapHandle>(image);
}

BitmapHandle CWin32Window::LoadBitmapResource(uint32_t id)
{
    HANDLE image = LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                              LR_CREATEDIBSECTION);
    return reinterpret_cast<BitmapHandle>(image);
}

void CWin32Window::DeleteBitmap(BitmapHandle bitmap)
{
    if (bitmap) DeleteObject(reinterpret_cast<HBITMAP>(bitmap));
}

bool CWin32Window::GetBitmapSize(BitmapHandle bitmap, int* width, int* height)
{
    if (width) *width = 0;
    if (height) *height = 0;
    HBITMAP handle = reinterpret_cast<HBITMAP>(bitmap);
    BITMAP info;
    if (!handle || GetObjectType(handle) != OBJ_BITMAP ||
        GetObjectA(handle, sizeof(info), &info) == 0) {
        return false;
    }
    if (width) *width = info.bmWidth;
    if (height) *height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return true;
}

HWND CWin32Window::Control(uint32_t id) const
{
    return hwnd ? GetDlgItem(hwnd, static_cast<int>(id)) : NULL;
}

// A second control under an identifier already in use would be unreachable by it, so that
// creation fails.
HWND CWin32Window::CreateChild(const char* className, const char* text, DWORD style,
                               uint32_t id, const CRect& rect)
{
    if (!hwnd || Control(id)) return NULL;
    int width = rect.right > rect.left ? rect.right - rect.left : 0;
    int height = rect.bottom > rect.top ? rect.bottom - rect.top : 0;
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left,
                           rect.top, width, height, hwnd,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, NULL);
}

bool CWin32Window::CreateCheckBox(uint32_t id, const CRect& rect, const char* caption)
{
    // BS_CHECKBOX, not the automatic kind: the mark changes only by BM_SETCHECK.
    HWND box = CreateChild("BUTTON", caption ? caption : "", BS_CHECKBOX, id, rect);
    if (!box) return false;
    LRESULT font = SendMessageA(hwnd, WM_GETFONT, 0, 0);
    if (font) SendMessageA(box, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return true;
}

bool CWin32Window::CreateScrollBar(uint32_t id, const CRect& rect)
{
    // SBS_RIGHTALIGN gives the bar the system's width at the rectangle's right edge.
    return CreateChild("SCROLLBAR", NULL, SBS_VERT | SBS_RIGHTALIGN, id, rect) != NULL;
}

void CWin32Window::ShowControl(uint32_t id, bool show)
{
    HWND control = Control(id);
    if (control) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

// The control's own shown state: a shown control of a dialog that is not on screen yet
// (during its initialisation) still counts as visible.
bool CWin32Window::IsControlVisible(uint32_t id)
{
    HWND control = Control(id);
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CWin32Window::MoveControl(uint32_t id, const CRect& rect)
{
    HWND control = Control(id);
    if (!control) return;
    int width = rect.right > rect.left ? rect.right - rect.left : 0;
    int height = rect.bottom > rect.top ? rect.bottom - rect.top : 0;
    SetWindowPos(control, NULL, rect.left, rect.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWin32Window::EnableControl(uint32_t id, bool enable)
{
    HWND control = Control(id);
    if (control) EnableWindow(control, enable ? TRUE : FALSE);
}

bool CWin32Window::IsControlEnabled(uint32_t id)
{
    HWND control = Control(id);
    return control && IsWindowEnabled(control);
}

void CWin32Window::SetCheck(uint32_t id, int check)
{
    HWND control = Control(id);
    if (control) SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

int CWin32Window::GetCheck(uint32_t id)
{
    HWND control = Control(id);
    return control ? static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0)) : 0;
}

void CWin32Window::SetControlText(uint32_t id, const char* text)
{
    if (hwnd) SetDlgItemTextA(hwnd, static_cast<int>(id), text ? text : "");
}

void CWin32Window::SetScrollRange(uint32_t id, int minimum, int maximum)
{
    HWND bar = Control(id);
    if (bar) ::SetScrollRange(bar, SB_CTL, minimum, maximum, TRUE);
}

void CWin32Window::SetScrollPage(uint32_t id, int page)
{
    HWND bar = Control(id);
    if (!bar) return;
    SCROLLINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE;
    info.nPage = page > 0 ? static_cast<UINT>(page) : 0;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

void CWin32Window::SetScrollPos(uint32_t id, int position)
{
    HWND bar = Control(id);
    if (bar) ::SetScrollPos(bar, SB_CTL, position, TRUE);
}

int CWin32Window::GetScrollPos(uint32_t id)
{
    HWND bar = Control(id);
    return bar ? ::GetScrollPos(bar, SB_CTL) : 0;
}

// Only tooltip controls this window made are sent to: a stale or foreign handle is ignored.
HWND CWin32Window::OwnToolTip(ToolTipHandle toolTip) const
{
    HWND tip = reinterpret_cast<HWND>(toolTip);
    for (HWND own : toolTips) {
        if (own == tip) return tip;
    }
    return NULL;
}

// The version-1 record names a tool by its owner and identifier: the tooltip control of the
// oldest systems knows no longer one.
static TOOLINFOA ToolRecord(HWND owner, uint32_t toolId)
{
    TOOLINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = owner;
    info.uId = toolId;
    return info;
}

// A tool owned by the dialog, hit-tested on its rectangle; the mouse reaches the control
// through RelayToToolTip. A tool that exists already is moved and given the new text instead
// of being added a second time, which would leave the old rectangle showing the old tip. The
// control keeps its own copy of the text.
void CWin32Window::AddToolTipTool(ToolTipHandle toolTip, uint32_t toolId, const CRect& rect,
                                  const char* text)
{
    HWND tip = OwnToolTip(toolTip);
    if (!tip || !hwnd) return;
    const char* shown = text ? text : "";

    // Asked for a tool, the control copies its text into the record's buffer, which has no
    // size: the buffer takes the longest text any tool was given, twice over for a text the
    // control turned into wide characters and back.
    std::vector<char> current(2 * longestToolText + 2, '\0');
    TOOLINFOA query = ToolRecord(hwnd, toolId);
    query.lpszText = current.data();
    bool exists = SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&query)) != 0;

    size_t length = strlen(shown);
    if (length > longestToolText) longestToolText = length;
    TOOLINFOA info = ToolRecord(hwnd, toolId);
    info.rect.left = rect.left;
    info.rect.top = rect.top;
    info.rect.right = rect.right;
    info.rect.bottom = rect.bottom;
    info.lpszText = const_cast<char*>(shown);
    if (exists) {
        SendMessageA(tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void CWin32Window::ActivateToolTip(ToolTipHandle toolTip, bool active)
{
    HWND tip = OwnToolTip(toolTip);
    if (tip) SendMessageA(tip, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

// Windows 95 and NT 4 have no hand cursor: SetCursor(NULL) would hide the pointer, so the
// cursor is left as it is there.
void CWin32Window::SetHandCursor()
{
    HCURSOR hand = LoadCursorA(NULL, IDC_HAND);
    if (hand) SetCursor(hand);
}

void CWin32Window::SetCapture()
{
    if (hwnd) ::SetCapture(hwnd);
}

// Only the dialog's own capture is released: another window of the thread that holds the
// mouse (a control tracking a drag) keeps it.
void CWin32Window::ReleaseCapture()
{
    if (hwnd && GetCapture() == hwnd) ::ReleaseCapture();
}

CWin32DrawingSurface::CWin32DrawingSurface()
    : dc(NULL), dialog(NULL), uiFont(NULL), icon(NULL), originalFont(NULL), previousFont(NULL)
{
}

// A new surface starts as the interface promises: black text on white, opaque. The dialog
// manager may have coloured a paint context already, while it erased the background.
void CWin32DrawingSurface::Attach(HDC context, HWND window, HFONT font, HICON windowIcon)
{
    dc = context;
    dialog = window;
    uiFont = font;
    icon = windowIcon;
    previousFont = NULL;
    originalFont = dc ? GetCurrentObject(dc, OBJ_FONT) : NULL;
    if (!dc) return;
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, OPAQUE);
}

// The context gets its own font back, so the panels' font is never left selected into a
// context that outlives the surface.
void CWin32DrawingSurface::Detach()
{
    if (dc && originalFont) SelectObject(dc, originalFont);
    dc = NULL;
    dialog = NULL;
    uiFont = NULL;
    icon = NULL;
    originalFont = NULL;
    previousFont = NULL;
}

// The target area is copied into a memory context, the mask ANDed into it (black where the
// image is opaque), the image ORed over it (black where it is transparent), and the result
// copied back in one blit, so the screen never shows a half-drawn image. Both source
// bitmaps take turns in a second memory context. An image without a mask is drawn opaque,
// as if it were its own mask: a blit from a context with no bitmap in it is undefined.
void CWin32DrawingSurface::DrawMaskedBitmap(BitmapHandle image, BitmapHandle mask, int x,
                                            int y)
{
    HBITMAP imageBitmap = reinterpret_cast<HBITMAP>(image);
    HBITMAP maskBitmap = mask ? reinterpret_cast<HBITMAP>(mask) : imageBitmap;
    if (!dc || !imageBitmap) return;
    BITMAP info;
    if (GetObjectA(imageBitmap, sizeof(info), &info) == 0) return;
    int width = info.bmWidth;
    int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (width <= 0 || height <= 0) return;

    CScopedCreatedDC work(CreateCompatibleDC(dc));
    CScopedCreatedDC source(CreateCompatibleDC(dc));
    CScopedGdiObject<HBITMAP> canvas(CreateCompatibleBitmap(dc, width, height));
    if (!work.Get() || !source.Get() || !canvas.Get()) return;
    CScopedSelection canvasSelected(work.Get(), canvas.Get());
    if (!canvasSelected.Selected()) return;

    BitBlt(work.Get(), 0, 0, width, height, dc, x, y, SRCCOPY);
    {
        CScopedSelection selected(source.Get(), maskBitmap);
        if (!selected.Selected()) return;
        BitBlt(work.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCAND);
    }
    {
        CScopedSelection selected(source.Get(), imageBitmap);
        if (!selected.Selected()) return;
        BitBlt(work.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCPAINT);
    }
    BitBlt(dc, x, y, width, height, work.Get(), 0, 0, SRCCOPY);
}

void CWin32DrawingSurface::SetTextColor(ColorRef color)
{
    if (dc) ::SetTextColor(dc, static_cast<COLORREF>(color));
}

void CWin32DrawingSurface::SetBkColor(ColorRef color)
{
    if (dc) ::SetBkColor(dc, static_cast<COLORREF>(color));
}

void CWin32DrawingSurface::SetBkMode(int mode)
{
    if (!dc) return;
    if (mode == SURFACE_TRANSPARENT) ::SetBkMode(dc, TRANSPARENT);
    if (mode == SURFACE_OPAQUE) ::SetBkMode(dc, OPAQUE);
}

// Without the panels' font (CreateUiFont failed) nothing changes, and the next
// SelectPreviousFont has nothing to put back.
void CWin32DrawingSurface::SelectUiFont()
{
    previousFont = NULL;
    if (!dc || !uiFont) return;
    previousFont = SelectObject(dc, uiFont);
}

void CWin32DrawingSurface::SelectPreviousFont()
{
    if (dc && previousFont) SelectObject(dc, previousFont);
}

void CWin32DrawingSurface::TextOut(int x, int y, const char* text)
{
    if (!dc || !text) return;
    // Windows 95 refuses a whole call of more than 8192 characters; draw the start of it.
    const size_t WIN32_TEXTOUT_LIMIT = 8192;
    size_t length = strlen(text);
    if (length > WIN32_TEXTOUT_LIMIT) length = WIN32_TEXTOUT_LIMIT;
    TextOutA(dc, x, y, text, static_cast<int>(length));
}

void CWin32DrawingSurface::DrawIcon(int x, int y)
{
    if (!dc) return;
    if (dialog) SendMessageA(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (icon) ::DrawIcon(dc, x, y, icon);
}
