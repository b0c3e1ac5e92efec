// surface_check.exe: the Win32 window service on real windows: the drawing surface (masked
// blits, text, fonts, the icon), bitmaps from files and resources, the child controls, the
// scroll bar, tooltip tools, the hand cursor, the mouse capture, and the dialog layer's paint
// and close handlers.
//   surface_check       one "ok:" or "FAIL:" line per check; exits 1 on any failure
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

// Resources of this program (surface_check.rc).
const uint32_t CHECK_BITMAP_RESOURCE = 1;  // 5x3: top row red, the rest green
const uint32_t CHECK_DIALOG = 300;

// A hang (a dialog that never ends) is a failure too, not a stuck test run.
const DWORD CHECK_WATCHDOG_MS = 60000;

const COLORREF CHECK_RED = RGB(255, 0, 0);
const COLORREF CHECK_GREEN = RGB(0, 255, 0);
const COLORREF CHECK_BLUE = RGB(0, 0, 255);
const COLORREF CHECK_BLACK = RGB(0, 0, 0);
const COLORREF CHECK_WHITE = RGB(255, 255, 255);
const COLORREF CHECK_YELLOW = RGB(255, 255, 0);

const int CHECK_CLIENT_WIDTH = 400;
const int CHECK_CLIENT_HEIGHT = 300;

std::string Hex(COLORREF color)
{
    char text[16];
    snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(color), GetGValue(color),
             GetBValue(color));
    return text;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

// A BMP3 file: 24 bits per pixel, or 1 bit with black as colour 0 and white as colour 1.
// pixels are row by row from the top.
bool WriteBmp(const std::string& path, int width, int height, int bits,
              const std::vector<COLORREF>& pixels)
{
    std::vector<uint8_t> out;
    auto u16 = [&out](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&u16](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    uint32_t rowBytes = ((width * bits + 31) / 32) * 4;
    uint32_t offset = 14 + 40 + (bits == 1 ? 8 : 0);
    out.push_back('B');
    out.push_back('M');
    u32(offset + rowBytes * height);
    u32(0);
    u32(offset);
    u32(40);
    u32(width);
    u32(height);
    u16(1);
    u16(bits);
    u32(0);
    u32(rowBytes * height);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    if (bits == 1) {
        u32(0x00000000);
        u32(0x00FFFFFF);
    }
    for (int row = height - 1; row >= 0; --row) {
        std::vector<uint8_t> line(rowBytes, 0);
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixels[row * width + x];
            if (bits == 24) {
                line[3 * x] = GetBValue(c);
                line[3 * x + 1] = GetGValue(c);
                line[3 * x + 2] = GetRValue(c);
            } else if (c == CHECK_WHITE) {
                line[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return WriteBytes(path, out);
}


// Left half (columns 0-3) one colour, right half (4-7) another: 8x6.
std::vector<COLORREF> Halves(COLORREF left, COLORREF right)
{
    std::vector<COLORREF> pixels(8 * 6);
    for (int i = 0; i < 8 * 6; ++i) pixels[i] = (i % 8) < 4 ? left : right;
    return pixels;
}

// What the test window's procedure saw.
struct CTestWindowLog {
    HFONT dialogFont = NULL;
    int iconErases = 0;
    HDC iconEraseDc = NULL;
} windowLog;

LRESULT CALLBACK TestWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(windowLog.dialogFont);
    case WM_ICONERASEBKGND:
        ++windowLog.iconErases;
        windowLog.iconEraseDc = reinterpret_cast<HDC>(wParam);
        return 1;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND CreateTestWindow(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = TestWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "TovaSurfaceCheck";
    if (!RegisterClassA(&windowClass)) return NULL;
    HWND hwnd = CreateWindowExA(0, "TovaSurfaceCheck", "surface check", WS_POPUP | WS_VISIBLE, 20,
                                20, CHECK_CLIENT_WIDTH, CHECK_CLIENT_HEIGHT, NULL, NULL, instance,
                                NULL);
    if (!hwnd) return NULL;
    UpdateWindow(hwnd);
    PumpMessages();
    Sleep(200);
    PumpMessages();
    // From here on nothing repaints the window behind the checks' backs.
    ValidateRect(hwnd, NULL);
    return hwnd;
}

COLORREF Pixel(HWND hwnd, int x, int y)
{
    CScopedWindowDC dc(hwnd);
    return GetPixel(dc.Get(), x, y);
}

void Fill(HWND hwnd, int left, int top, int right, int bottom, COLORREF color)
{
    CScopedWindowDC dc(hwnd);
    CScopedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    RECT rect = {left, top, right, bottom};
    FillRect(dc.Get(), &rect, brush.Get());
}

// Every pixel of the rectangle has the colour.
bool AllOf(HWND hwnd, int left, int top, int right, int bottom, COLORREF color)
{
    CScopedWindowDC dc(hwnd);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (GetPixel(dc.Get(), x, y) != color) return false;
        }
    }
    return true;
}

// How many pixels of the rectangle have the colour.
int CountOf(HWND hwnd, int left, int top, int right, int bottom, COLORREF color)
{
    CScopedWindowDC dc(hwnd);
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (GetPixel(dc.Get(), x, y) == color) ++count;
        }
    }
    return count;
}

struct CCheckFiles {
    std::string folder;
    BitmapHandle image = 0;       // 8x6, red left half, black right half
    BitmapHandle monoMask = 0;    // 8x6 at 1 bit: black left half, white right half
    BitmapHandle colourMask = 0;  // the same mask at 24 bits
};

// The masked blit on a client surface of the window, over a blue target at (20, 20).
void CheckMaskedBlit(CWin32Window& window, HWND hwnd, const CCheckFiles& files)
{
    struct CBlitCase {
        const char* what;
        BitmapHandle image;
        BitmapHandle mask;
        COLORREF left;   // expected in the image's left half
        COLORREF right;  // expected in its right half
    };
    const CBlitCase cases[] = {
        {"a 1-bit mask shows the image where it is black and keeps the target where it is white",
         files.image, files.monoMask, CHECK_RED, CHECK_BLUE},
        {"a 24-bit mask works alike", files.image, files.colourMask, CHECK_RED, CHECK_BLUE},
        {"the image as its own mask draws it opaque, black included", files.image, files.image,
         CHECK_RED, CHECK_BLACK},
        {"an image without a mask is drawn opaque", files.image, 0, CHECK_RED, CHECK_BLACK},
        {"a null image draws nothing", 0, files.monoMask, CHECK_BLUE, CHECK_BLUE},
    };
    for (const CBlitCase& blit : cases) {
        Fill(hwnd, 10, 10, 40, 40, CHECK_BLUE);
        DrawingSurface* surface = window.GetClientSurface();
        surface->DrawMaskedBitmap(blit.image, blit.mask, 20, 20);
        window.ReleaseClientSurface(surface);
        bool left = AllOf(hwnd, 20, 20, 24, 26, blit.left);
        bool right = AllOf(hwnd, 24, 20, 28, 26, blit.right);
        // Only the image's own 8x6 pixels change.
        bool around = AllOf(hwnd, 10, 10, 40, 20, CHECK_BLUE) &&
                      AllOf(hwnd, 10, 26, 40, 40, CHECK_BLUE) &&
                      AllOf(hwnd, 10, 20, 20, 26, CHECK_BLUE) &&
                      AllOf(hwnd, 28, 20, 40, 26, CHECK_BLUE);
        Check(left && right && around, std::string("masked blit: ") + blit.what + " (left " +
                                           Hex(Pixel(hwnd, 21, 22)) + ", right " +
                                           Hex(Pixel(hwnd, 25, 22)) + ")");
    }
}

// Text in given colours on a green ground, opaque and transparent, and the panels' font.
void CheckText(CWin32Window& window, HWND hwnd)
{
    const char text[] = "MMWW";
    Fill(hwnd, 100, 10, 300, 80, CHECK_GREEN);
    DrawingSurface* surface = window.GetClientSurface();
    HDC dc = static_cast<CWin32DrawingSurface*>(surface)->Handle();
    Check(dc && GetTextColor(dc) == CHECK_BLACK && GetBkColor(dc) == CHECK_WHITE &&
              GetBkMode(dc) == OPAQUE,
          "text: a new surface draws black on white, opaque");
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, 4, &extent);

    surface->SetTextColor(CHECK_YELLOW);
    surface->SetBkColor(CHECK_BLACK);
    surface->SetBkMode(SURFACE_OPAQUE);
    surface->TextOut(110, 15, text);
    surface->SetBkMode(SURFACE_TRANSPARENT);
    surface->TextOut(110, 45, text);
    window.ReleaseClientSurface(surface);

    int right = 110 + extent.cx;
    int opaqueBottom = 15 + extent.cy;
    int clearBottom = 45 + extent.cy;
    Check(extent.cx > 0 && CountOf(hwnd, 110, 15, right, opaqueBottom, CHECK_GREEN) == 0 &&
              CountOf(hwnd, 110, 15, right, opaqueBottom, CHECK_YELLOW) > 0 &&
              CountOf(hwnd, 110, 15, right, opaqueBottom, CHECK_BLACK) > 0,
          "text: opaque text fills its cell with the background colour under the text colour");
    Check(CountOf(hwnd, 110, 45, right, clearBottom, CHECK_BLACK) == 0 &&
              CountOf(hwnd, 110, 45, right, clearBottom, CHECK_YELLOW) > 0 &&
              CountOf(hwnd, 110, 45, right, clearBottom, CHECK_GREEN) > 0,
          "text: transparent text leaves the ground between the letters");

    CFontRequest request = {"Arial", 30};
    Check(window.CreateUiFont(request), "font: the panels' font is created");
    surface = window.GetClientSurface();
    dc = static_cast<CWin32DrawingSurface*>(surface)->Handle();
    HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    surface->SelectUiFont();
    TEXTMETRICA metrics;
    memset(&metrics, 0, sizeof(metrics));
    GetTextMetricsA(dc, &metrics);
    bool selected = GetCurrentObject(dc, OBJ_FONT) == window.UiFont() && metrics.tmHeight == 30;
    surface->SelectPreviousFont();
    Check(selected && GetCurrentObject(dc, OBJ_FONT) == original,
          "font: SelectUiFont selects the 30-pixel font, SelectPreviousFont the one before");
    // A second SelectPreviousFont without a SelectUiFont in between has the same effect.
    surface->SelectUiFont();
    surface->SelectPreviousFont();
    surface->SelectPreviousFont();
    Check(GetCurrentObject(dc, OBJ_FONT) == original, "font: putting back twice is harmless");
    surface->SelectUiFont();
    window.ReleaseClientSurface(surface);
}

// The icon: the dialog is asked to erase its background with the surface's context first.
void CheckIcon(CWin32Window& window, HWND hwnd)
{
    Fill(hwnd, 150, 100, 200, 150, CHECK_WHITE);
    windowLog.iconErases = 0;
    DrawingSurface* surface = window.GetClientSurface();
    HDC dc = static_cast<CWin32DrawingSurface*>(surface)->Handle();
    surface->DrawIcon(150, 100);
    window.ReleaseClientSurface(surface);
    Check(windowLog.iconErases == 1 && windowLog.iconEraseDc == dc,
          "icon: WM_ICONERASEBKGND reaches the window with the surface's context");
    int width = 0;
    int height = 0;
    window.GetIconSize(&width, &height);
    // The icon is a navy tile with transparent rounded corners.
    Check(width > 0 && Pixel(hwnd, 150 + width / 2, 100 + height / 2) != CHECK_WHITE &&
              Pixel(hwnd, 150, 100) == CHECK_WHITE,
          "icon: the dialog's icon is drawn at the point, its corners transparent");
}

void CheckBitmaps(CWin32Window& window, HWND hwnd, CCheckFiles* files)
{
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof(temp), temp);
    files->folder = std::string(temp, n < sizeof(temp) ? n : 0) + "tova_surface_check\\";
    CreateDirectoryA(files->folder.c_str(), NULL);
    std::string odd = files->folder + "odd.bmp";
    std::string image = files->folder + "image.bmp";
    std::string mono = files->folder + "mono.bmp";
    std::string colour = files->folder + "colour.bmp";
    std::string text = files->folder + "text.bmp";
    std::string empty = files->folder + "empty.bmp";
    Check(WriteBmp(odd, 13, 7, 24, std::vector<COLORREF>(13 * 7, CHECK_BLUE)) &&
              WriteBmp(image, 8, 6, 24, Halves(CHECK_RED, CHECK_BLACK)) &&
              WriteBmp(mono, 8, 6, 1, Halves(CHECK_BLACK, CHECK_WHITE)) &&
              WriteBmp(colour, 8, 6, 24, Halves(CHECK_BLACK, CHECK_WHITE)) &&
              WriteBytes(text, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\r', '\n'}) &&
              WriteBytes(empty, std::vector<uint8_t>()),
          "bitmaps: the test files are written");

    int width = -1;
    int height = -1;
    BitmapHandle oddBitmap = window.LoadBitmapFile(odd.c_str());
    Check(oddBitmap && window.GetBitmapSize(oddBitmap, &width, &height) && width == 13 &&
              height == 7,
          "bitmaps: a 13x7 file at 24 bits loads with its size");
    files->image = window.LoadBitmapFile(image.c_str());
    files->monoMask = window.LoadBitmapFile(mono.c_str());
    files->colourMask = window.LoadBitmapFile(colour.c_str());
    Check(files->monoMask && window.GetBitmapSize(files->monoMask, &width, &height) &&
              width == 8 && height == 6 && files->image && files->colourMask,
          "bitmaps: a 1-bit mask loads with its size, and the image and 24-bit mask load");

    bool none = true;
    const std::string bad[] = {files->folder + "missing.bmp", text, empty, ""};
    for (const std::string& path : bad) {
        BitmapHandle loaded = window.LoadBitmapFile(path.c_str());
        if (loaded) {
            none = false;
            window.DeleteBitmap(loaded);
        }
    }
    Check(none && !window.LoadBitmapFile(NULL),
          "bitmaps: a missing, a text, an empty file and no name give no bitmap");
    width = -1;
    height = -1;
    Check(!window.GetBitmapSize(0, &width, &height) && width == 0 && height == 0,
          "bitmaps: no bitmap has no size");

    window.DeleteBitmap(oddBitmap);
    Check(GetObjectType(reinterpret_cast<HGDIOBJ>(oddBitmap)) == 0 &&
              !window.GetBitmapSize(oddBitmap, &width, &height),
          "bitmaps: a deleted bitmap is gone");

    BitmapHandle resource = window.LoadBitmapResource(CHECK_BITMAP_RESOURCE);
    Check(resource && window.GetBitmapSize(resource, &width, &height) && width == 5 &&
              height == 3,
          "bitmaps: the 5x3 resource bitmap loads with its size");
    Fill(hwnd, 300, 200, 320, 220, CHECK_WHITE);
    DrawingSurface* surface = window.GetClientSurface();
    surface->DrawMaskedBitmap(resource, resource, 300, 200);
    window.ReleaseClientSurface(surface);
    Check(AllOf(hwnd, 300, 200, 305, 201, CHECK_RED) &&
              AllOf(hwnd, 300, 201, 305, 203, CHECK_GREEN),
          "bitmaps: the resource bitmap draws top row red, the rest green");
    window.DeleteBitmap(resource);
    Check(!window.LoadBitmapResource(999), "bitmaps: a missing resource gives no bitmap");
}

// The window's own rectangle of a child, in its parent's client pixels.
RECT ChildRect(HWND parent, HWND child)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(child, &rect);
    MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CheckControls(CWin32Window& window, HWND hwnd, HINSTANCE instance)
{
    CRect boxRect = {20, 150, 120, 166};
    Check(window.CreateCheckBox(200, boxRect, "Audio driver"), "check box: created");
    Check(!window.CreateCheckBox(200, boxRect, "Again"),
          "check box: a second control under the same identifier is refused");
    HWND box = GetDlgItem(hwnd, 200);
    char text[64] = "";
    GetWindowTextA(box, text, sizeof(text));
    char className[32] = "";
    GetClassNameA(box, className, sizeof(className));
    LONG style = GetWindowLongA(box, GWL_STYLE);
    Check(_stricmp(className, "Button") == 0 && (style & BS_TYPEMASK) == BS_CHECKBOX &&
              (style & WS_CHILD) && strcmp(text, "Audio driver") == 0,
          "check box: a child button of the non-automatic kind with its caption");
    Check(reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)) == windowLog.dialogFont,
          "check box: it uses the dialog's font");
    RECT placed = ChildRect(hwnd, box);
    Check(window.IsControlVisible(200) && placed.left == 20 && placed.top == 150 &&
              placed.right == 120 && placed.bottom == 166,
          "check box: visible, over the given rectangle");

    window.SetCheck(200, 1);
    bool set = window.GetCheck(200) == 1;
    SendMessageA(box, BM_CLICK, 0, 0);
    PumpMessages();
    bool kept = window.GetCheck(200) == 1;
    window.SetCheck(200, 0);
    Check(set && kept && window.GetCheck(200) == 0,
          "check box: the mark follows SetCheck only, a click leaves it");

    window.ShowControl(200, false);
    bool hidden = !window.IsControlVisible(200) && !IsWindowVisible(box);
    window.ShowControl(200, true);
    Check(hidden && window.IsControlVisible(200), "check box: hidden and shown again");
    window.EnableControl(200, false);
    bool disabled = !IsWindowEnabled(box) && !window.IsControlEnabled(200);
    window.EnableControl(200, true);
    Check(disabled && IsWindowEnabled(box) && window.IsControlEnabled(200),
          "check box: disabled and enabled again, and read so");
    CRect moved = {30, 170, 150, 190};
    window.MoveControl(200, moved);
    placed = ChildRect(hwnd, box);
    Check(placed.left == 30 && placed.top == 170 && placed.right == 150 && placed.bottom == 190,
          "check box: moved to the new rectangle");
    window.SetControlText(200, "Other driver");
    GetWindowTextA(box, text, sizeof(text));
    Check(strcmp(text, "Other driver") == 0, "check box: its text is set");

    // The template's edit boxes are reached by their identifier alike.
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE | ES_READONLY, 200, 150,
                                150, 60, hwnd, reinterpret_cast<HMENU>(1002), instance, NULL);
    window.SetControlText(1002, "readme\r\nsecond line");
    GetWindowTextA(edit, text, sizeof(text));
    Check(edit && strcmp(text, "readme\r\nsecond line") == 0, "edit box: its text is set");
    Check(window.GetCheck(999) == 0 && !window.IsControlVisible(999) &&
              !window.IsControlEnabled(999) && window.GetScrollPos(999) == 0,
          "controls: an identifier without a control reads as nothing");
}

void CheckScrollBar(CWin32Window& window, HWND hwnd)
{
    CRect rect = {0, 80, CHECK_CLIENT_WIDTH, 220};
    Check(window.CreateScrollBar(10, rect), "scroll bar: created");
    HWND bar = GetDlgItem(hwnd, 10);
    RECT placed = ChildRect(hwnd, bar);
    int systemWidth = GetSystemMetrics(SM_CXVSCROLL);
    LONG style = GetWindowLongA(bar, GWL_STYLE);
    // Aligned to the right edge with the system's width (a pixel either way, as systems do).
    Check((style & SBS_VERT) && placed.top == 80 && placed.bottom == 220 &&
              placed.right >= CHECK_CLIENT_WIDTH - 1 && placed.right <= CHECK_CLIENT_WIDTH &&
              placed.right - placed.left >= systemWidth &&
              placed.right - placed.left <= systemWidth + 1,
          "scroll bar: vertical, the system's width, at the rectangle's right edge (" +
              std::to_string(placed.left) + ".." + std::to_string(placed.right) + ")");
    Check(window.IsControlVisible(10), "scroll bar: visible when created");

    window.SetScrollRange(10, 1, 5);
    window.SetScrollPage(10, 2);
    window.SetScrollPos(10, 3);
    SCROLLINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    Check(info.nMin == 1 && info.nMax == 5 && info.nPage == 2 && window.GetScrollPos(10) == 3,
          "scroll bar: range 1..5, page 2 and position 3 read back");
    window.SetScrollPos(10, 9);
    int high = window.GetScrollPos(10);
    window.SetScrollPos(10, -3);
    Check(high == 4 && window.GetScrollPos(10) == 1,
          "scroll bar: the position stops at the range less the page, and at the minimum");
    window.ShowControl(10, false);
    window.SetScrollPos(10, 2);
    Check(!window.IsControlVisible(10) && window.GetScrollPos(10) == 2,
          "scroll bar: hidden, it still keeps its position");
}

void CheckToolTip(CWin32Window& window, HWND hwnd)
{
    window.InitCommonControls();
    ToolTipHandle tip = window.CreateToolTip();
    Check(tip != 0, "tooltip: created");
    HWND tipWindow = reinterpret_cast<HWND>(tip);
    char text[64] = "Install the audio driver";
    CRect rect = {20, 150, 120, 166};
    window.AddToolTipTool(tip, 7, rect, text);
    // The control must keep its own copy: the caller's buffer may change at once.
    strcpy(text, "changed");
    window.ActivateToolTip(tip, true);

    char got[1024] = "";
    TOOLINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = hwnd;
    info.uId = 7;
    info.lpszText = got;
    LRESULT found = SendMessageA(tipWindow, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info));
    Check(SendMessageA(tipWindow, TTM_GETTOOLCOUNT, 0, 0) == 1 && found &&
              info.rect.left == 20 && info.rect.top == 150 && info.rect.right == 120 &&
              info.rect.bottom == 166 && strcmp(got, "Install the audio driver") == 0,
          "tooltip: the tool is added over its rectangle with a copy of its text");
    window.AddToolTipTool(reinterpret_cast<ToolTipHandle>(hwnd), 8, rect, "not a tooltip");
    Check(SendMessageA(tipWindow, TTM_GETTOOLCOUNT, 0, 0) == 1,
          "tooltip: a handle the window did not make is ignored");
}

// A tool of the control as it reads back; false when it has none under the identifier.
bool ReadTool(HWND tipWindow, HWND owner, uint32_t id, RECT* rect, std::string* text)
{
    char got[1024] = "";
    TOOLINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = got;
    if (!SendMessageA(tipWindow, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) {
        return false;
    }
    *rect = info.rect;
    *text = got;
    return true;
}

bool SameRect(const RECT& a, const CRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A tool added again under its identifier follows its row: one tool, the new rectangle and
// text; other identifiers are tools of their own.
void CheckToolReplace(CWin32Window& window, HWND hwnd)
{
    ToolTipHandle tip = window.CreateToolTip();
    HWND tipWindow = reinterpret_cast<HWND>(tip);
    CRect first = {20, 85, 300, 101};
    CRect scrolled = {20, 65, 300, 81};
    CRect other = {20, 105, 300, 121};
    window.AddToolTipTool(tip, 5, first, "Utility one");
    window.AddToolTipTool(tip, 6, other, "Utility two");
    window.AddToolTipTool(tip, 5, scrolled, "Utility one, scrolled");
    RECT rect = {0, 0, 0, 0};
    std::string text;
    bool moved = ReadTool(tipWindow, hwnd, 5, &rect, &text);
    Check(tip && SendMessageA(tipWindow, TTM_GETTOOLCOUNT, 0, 0) == 2 && moved &&
              SameRect(rect, scrolled) && text == "Utility one, scrolled",
          "tooltip: a tool added again under its identifier moves and takes the new text (" +
              text + ")");
    bool kept = ReadTool(tipWindow, hwnd, 6, &rect, &text);
    Check(kept && SameRect(rect, other) && text == "Utility two",
          "tooltip: the tool under another identifier keeps its place and text");

    // A text longer than any before, then a short one: each replaces the last.
    std::string longText(300, 'x');
    window.AddToolTipTool(tip, 5, first, longText.c_str());
    window.AddToolTipTool(tip, 5, first, "");
    moved = ReadTool(tipWindow, hwnd, 5, &rect, &text);
    Check(SendMessageA(tipWindow, TTM_GETTOOLCOUNT, 0, 0) == 2 && moved &&
              SameRect(rect, first) && text.empty(),
          "tooltip: after a long text an empty one replaces it, still one tool");
}

// The hand cursor is set where the system has one; the capture is the dialog's to take and
// give back, and a capture another window holds is left alone.
void CheckCursorAndCapture(CWin32Window& window, HWND hwnd, HINSTANCE instance)
{
    HCURSOR arrow = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));
    HCURSOR hand = LoadCursorA(NULL, MAKEINTRESOURCEA(32649));
    SetCursor(arrow);
    window.SetHandCursor();
    HCURSOR shown = GetCursor();
    SetCursor(arrow);
    Check(hand && shown == hand, "cursor: the system's hand cursor is set");

    window.SetCapture();
    bool taken = GetCapture() == hwnd;
    window.ReleaseCapture();
    Check(taken && GetCapture() == NULL, "capture: taken for the window and released");

    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, instance,
                                 NULL);
    ::SetCapture(other);
    window.ReleaseCapture();
    bool left = other && GetCapture() == other;
    ::ReleaseCapture();
    DestroyWindow(other);
    Check(left, "capture: another window's capture is not released");

    CWin32Window unbound(instance);
    unbound.SetCapture();
    Check(GetCapture() == NULL, "capture: without a dialog nothing takes the mouse");
}

void CheckWindowState(CWin32Window& window, HWND hwnd, HINSTANCE instance)
{
    CRect client = {-1, -1, -1, -1};
    window.GetClientRect(&client);
    Check(client.left == 0 && client.top == 0 && client.right == CHECK_CLIENT_WIDTH &&
              client.bottom == CHECK_CLIENT_HEIGHT,
          "window: the client rectangle");
    bool before = window.IsMinimized();
    ShowWindow(hwnd, SW_MINIMIZE);
    bool minimized = window.IsMinimized();
    ShowWindow(hwnd, SW_RESTORE);
    PumpMessages();
    ValidateRect(hwnd, NULL);
    Check(!before && minimized && !window.IsMinimized(), "window: minimised and restored");

    // Surfaces that cannot have a context still take every call and draw nothing.
    CWin32Window unbound(instance);
    DrawingSurface* idle = unbound.BeginPaint();
    Check(idle && !static_cast<CWin32DrawingSurface*>(idle)->Handle() &&
              !static_cast<CWin32DrawingSurface*>(unbound.GetClientSurface())->Handle() &&
              !unbound.CreateCheckBox(200, client, "x"),
          "window: without a dialog the surfaces have no context and no control is made");
    idle->DrawMaskedBitmap(0, 0, 0, 0);
    idle->TextOut(0, 0, "nothing");
    unbound.EndPaint(idle);

    DrawingSurface* first = window.GetClientSurface();
    DrawingSurface* second = window.GetClientSurface();
    HDC firstDc = static_cast<CWin32DrawingSurface*>(first)->Handle();
    HDC secondDc = static_cast<CWin32DrawingSurface*>(second)->Handle();
    window.ReleaseClientSurface(second);
    window.ReleaseClientSurface(first);
    Check(first != second && firstDc && secondDc,
          "window: two client surfaces may be out at once, each with its context");

    InvalidateRect(hwnd, NULL, FALSE);
    DrawingSurface* painting = window.BeginPaint();
    DrawingSurface* nested = window.BeginPaint();
    bool onePaint = static_cast<CWin32DrawingSurface*>(painting)->Handle() &&
                    !static_cast<CWin32DrawingSurface*>(nested)->Handle();
    window.EndPaint(nested);
    window.EndPaint(painting);
    RECT update;
    Check(onePaint && !GetUpdateRect(hwnd, &update, FALSE),
          "window: one paint cycle at a time, and EndPaint leaves nothing to paint");
}

// The dialog layer: WM_PAINT goes to the handler, which paints through the window service;
// WM_CLOSE runs the handler's close and ends the dialog as Cancel.
class CPaintingHandler : public CDialogHandler {
public:
    CPaintingHandler(CWin32Window& window, BitmapHandle bitmap) : window(window), bitmap(bitmap)
    {
    }
    bool OnInitDialog() override { return true; }
    // The first paint asks for a second one, with the background erased (in the dialog
    // colours) by the second one's BeginPaint; the second ends the dialog.
    void OnPaint() override
    {
        ++paints;
        DrawingSurface* surface = window.BeginPaint();
        HDC dc = static_cast<CWin32DrawingSurface*>(surface)->Handle();
        if (paints == 2 && dc) {
            freshColors = GetTextColor(dc) == CHECK_BLACK && GetBkColor(dc) == CHECK_WHITE &&
                          GetBkMode(dc) == OPAQUE;
        }
        surface->DrawMaskedBitmap(bitmap, bitmap, 0, 0);
        window.EndPaint(surface);
        topLeft = Pixel(window.Handle(), 0, 0);
        if (paints == 1) InvalidateRect(window.Handle(), NULL, TRUE);
        if (paints == 2) window.PostClose();
    }
    void OnClose() override { ++closes; }

    int paints = 0;
    int closes = 0;
    bool freshColors = false;
    COLORREF topLeft = CLR_INVALID;

private:
    CWin32Window& window;
    BitmapHandle bitmap;
};

// A handler that paints nothing itself: the dialog must still get its timers.
class CIdleHandler : public CDialogHandler {
public:
    bool OnInitDialog() override
    {
        timer = ::SetTimer(NULL, 0, 300, &CIdleHandler::TimerProc);
        return true;
    }
    void OnClose() override { ++closes; }

    static CWin32Window* window;
    UINT_PTR timer = 0;
    int closes = 0;

private:
    static VOID CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD)
    {
        if (window) window->PostClose();
    }
};
CWin32Window* CIdleHandler::window = NULL;

void CheckDialogLayer(HINSTANCE instance)
{
    CWin32Window window(instance);
    CWin32AppHost host(instance, window);
    // Dialog colours other than black on white: the paint surface must still start so.
    host.SetDialogColors(CHECK_BLUE, CHECK_YELLOW);
    BitmapHandle bitmap = window.LoadBitmapResource(CHECK_BITMAP_RESOURCE);

    CPaintingHandler painting(window, bitmap);
    int result = host.RunModalDialog(CHECK_DIALOG, "MS Sans Serif", 8, &painting);
    Check(result == IDCANCEL && painting.closes == 1,
          "dialog: WM_CLOSE runs the handler's close once and ends the dialog as Cancel");
    Check(painting.paints == 2 && painting.topLeft == CHECK_RED,
          "dialog: WM_PAINT reaches the handler, which paints through the window service, "
          "and an update asked for while painting comes as the next WM_PAINT");
    Check(painting.freshColors,
          "dialog: the paint surface starts black on white and opaque, whatever the dialog colours");

    CIdleHandler idle;
    CIdleHandler::window = &window;
    result = host.RunModalDialog(CHECK_DIALOG, "MS Sans Serif", 8, &idle);
    if (idle.timer) ::KillTimer(NULL, idle.timer);
    CIdleHandler::window = NULL;
    Check(idle.timer && result == IDCANCEL && idle.closes == 1,
          "dialog: a handler that paints nothing leaves the painting to the default, and "
          "the timers run");
    window.DeleteBitmap(bitmap);
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

    CScopedGdiObject<HFONT> dialogFont(CreateFontA(
        -11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    windowLog.dialogFont = dialogFont.Get();
    HWND hwnd = CreateTestWindow(instance);
    Check(hwnd != NULL, "the test window is created");
    if (!hwnd) return 1;

    {
        CWin32Window window(instance);
        window.Bind(hwnd);
        CCheckFiles files;
        CheckBitmaps(window, hwnd, &files);
        CheckMaskedBlit(window, hwnd, files);
        CheckText(window, hwnd);
        CheckIcon(window, hwnd);
        CheckControls(window, hwnd, instance);
        CheckScrollBar(window, hwnd);
        CheckToolTip(window, hwnd);
        CheckToolReplace(window, hwnd);
        CheckCursorAndCapture(window, hwnd, instance);
        CheckWindowState(window, hwnd, instance);
        window.DeleteBitmap(files.image);
        window.DeleteBitmap(files.monoMask);
        window.DeleteBitmap(files.colourMask);
        window.Bind(NULL);
    }
    DestroyWindow(hwnd);
    PumpMessages();

    CheckDialogLayer(instance);

    printf("%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
