// inspector.exe: looks at the windows of the Wine prefix it runs in, for the end-to-end tests
// and the demo scripts: lists them, waits for one by title, reads a message box, presses a
// button, reads a check box's mark, a scroll bar's position and a control's whole text, measures
// sizes, waits for a window to be painted, times a program's start and tells what kind of drive
// a letter is, and counts the GDI objects of a window's process.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const DWORD INSPECTOR_POLL_MS = 100;
const DWORD INSPECTOR_DEFAULT_TIMEOUT_MS = 20000;
const UINT INSPECTOR_TEXT_TIMEOUT_MS = 2000;
// Sampling period of the start timing: short against a start of a few hundred milliseconds.
const DWORD INSPECTOR_LAUNCH_POLL_MS = 2;
// The screen counts as settled when two captures this far apart are the same.
const DWORD INSPECTOR_SETTLE_MS = 100;
// Colours a window shows before its program has drawn anything: a blank dialog's white, and the
// black of a window whose drawing has not reached the screen yet.
const COLORREF INSPECTOR_WHITE = RGB(255, 255, 255);
const COLORREF INSPECTOR_BLACK = RGB(0, 0, 0);
// The caption gradient colours (COLOR_GRADIENTACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION),
// which the headers of the oldest systems do not name.
const int INSPECTOR_COLOR_GRADIENT_ACTIVE = 27;
const int INSPECTOR_COLOR_GRADIENT_INACTIVE = 28;
const char INSPECTOR_MSGBOX_TITLE[] = "Msg";

struct CWindowInfo {
    HWND hwnd;
    std::string title;
    std::string className;
};

// The text of a window of any process: WM_GETTEXT reaches controls whose text is not stored
// as their title (edit boxes); a hung window gives up after a timeout instead of blocking us.
std::string WindowText(HWND hwnd)
{
    char buffer[4096];
    buffer[0] = '\0';
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, INSPECTOR_TEXT_TIMEOUT_MS, &copied)) {
        GetWindowTextA(hwnd, buffer, sizeof(buffer));
    }
    buffer[sizeof(buffer) - 1] = '\0';
    return buffer;
}

std::string ClassName(HWND hwnd)
{
    char buffer[256];
    if (!GetClassNameA(hwnd, buffer, sizeof(buffer))) return "";
    return buffer;
}

// Line breaks and tabs are shown escaped so every record stays on one line.
std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out;
}

// A title argument with \\xHH for a byte: a byte of the ANSI code page that is no UTF-8 on the
// Linux side (a Big5 lead byte alone) cannot reach us as itself.
std::string DecodeTitle(const char* argument)
{
    std::string out;
    for (const char* p = argument; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'x' && isxdigit(static_cast<unsigned char>(p[2])) &&
            isxdigit(static_cast<unsigned char>(p[3]))) {
            char hex[3] = {p[2], p[3], '\0'};
            out += static_cast<char>(strtoul(hex, NULL, 16));
            p += 3;
        } else {
            out += *p;
        }
    }
    return out;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param)
{
    auto* list = reinterpret_cast<std::vector<CWindowInfo>*>(param);
    list->push_back({hwnd, WindowText(hwnd), ClassName(hwnd)});
    return TRUE;
}

std::vector<CWindowInfo> TopLevelWindows()
{
    std::vector<CWindowInfo> list;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

std::vector<CWindowInfo> ChildWindows(HWND parent)
{
    std::vector<CWindowInfo> list;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

// Visible top-level windows whose title is exactly title.
std::vector<HWND> FindByTitle(const char* title)
{
    std::vector<HWND> found;
    for (const CWindowInfo& w : TopLevelWindows()) {
        if (w.title == title && IsWindowVisible(w.hwnd)) found.push_back(w.hwnd);
    }
    return found;
}

HWND WaitForTitle(const char* title, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = FindByTitle(title);
        if (!found.empty()) return found[0];
        if (GetTickCount() - start >= timeout) return NULL;
        Sleep(INSPECTOR_POLL_MS);
    }
}

// WaitForTitle that says on stderr what did not appear.
HWND WaitForTitleOrSay(const char* title, DWORD timeout, const char* what)
{
    HWND hwnd = WaitForTitle(title, timeout);
    if (!hwnd) {
        fprintf(stderr, "inspector: no %s \"%s\" within %lu ms\n", what, title,
                static_cast<unsigned long>(timeout));
    }
    return hwnd;
}

DWORD TimeoutArg(int argc, char** argv, int index)
{
    return argc > index ? static_cast<DWORD>(strtoul(argv[index], NULL, 10))
                        : INSPECTOR_DEFAULT_TIMEOUT_MS;
}

void PrintWindow(const CWindowInfo& w, const char* indent)
{
    RECT rect;
    GetWindowRect(w.hwnd, &rect);
    DWORD pid = 0;
    GetWindowThreadProcessId(w.hwnd, &pid);
    printf("%swindow\t%p\tpid=%lu\tid=%ld\tvisible=%d\tclass=%s\trect=%ld,%ld,%ld,%ld\ttext=%s\n",
           indent, static_cast<void*>(w.hwnd), static_cast<unsigned long>(pid),
           static_cast<long>(GetDlgCtrlID(w.hwnd)), IsWindowVisible(w.hwnd) ? 1 : 0,
           w.className.c_str(), rect.left, rect.top, rect.right, rect.bottom,
           OneLine(w.title).c_str());
}

int CommandList()
{
    for (const CWindowInfo& w : TopLevelWindows()) {
        // Wine's hidden helper windows would drown the output.
        if (!IsWindowVisible(w.hwnd)) continue;
        PrintWindow(w, "");
        for (const CWindowInfo& child : ChildWindows(w.hwnd)) {
            if (GetAncestor(child.hwnd, GA_PARENT) == w.hwnd) PrintWindow(child, "  ");
        }
    }
    return 0;
}

int CommandWait(const char* title, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    printf("found\t%p\n", static_cast<void*>(hwnd));
    return 0;
}

int CommandGone(const char* title, DWORD timeout)
{
    DWORD start = GetTickCount();
    while (!FindByTitle(title).empty()) {
        if (GetTickCount() - start >= timeout) {
            fprintf(stderr, "inspector: window \"%s\" still there after %lu ms\n", title,
                    static_cast<unsigned long>(timeout));
            return 1;
        }
        Sleep(INSPECTOR_POLL_MS);
    }
    printf("gone\n");
    return 0;
}

int CommandCount(const char* title)
{
    printf("%u\n", static_cast<unsigned>(FindByTitle(title).size()));
    return 0;
}

// A message box: its caption, the texts of its static controls, its buttons.
int CommandMessageBox(const char* title, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "message box");
    if (!hwnd) return 1;
    printf("title\t%s\n", OneLine(WindowText(hwnd)).c_str());
    printf("class\t%s\n", ClassName(hwnd).c_str());
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    printf("pid\t%lu\n", static_cast<unsigned long>(pid));
    HWND owner = GetWindow(hwnd, GW_OWNER);
    printf("owner\t%s\n", owner ? OneLine(WindowText(owner)).c_str() : "");
    for (const CWindowInfo& child : ChildWindows(hwnd)) {
        std::string kind = child.className;
        for (char& c : kind) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        std::string text = OneLine(child.title);
        if (text.empty()) continue;
        if (kind == "static") printf("text\t%s\n", text.c_str());
        else if (kind == "button") printf("button\t%s\n", text.c_str());
    }
    return 0;
}

int CommandPress(const char* title, const char* buttonText, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    for (const CWindowInfo& child : ChildWindows(hwnd)) {
        if (_stricmp(child.className.c_str(), "Button") != 0) continue;
        if (child.title != buttonText) continue;
        // Posted, so a box that ends its process on the click cannot leave us waiting.
        PostMessageA(child.hwnd, BM_CLICK, 0, 0);
        printf("pressed\t%s\n", buttonText);
        return 0;
    }
    fprintf(stderr, "inspector: window \"%s\" has no button \"%s\"\n", title, buttonText);
    return 1;
}

// Asks the window to close, as its close box would.
int CommandClose(const char* title, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    printf("closed\t%s\n", title);
    return 0;
}

int CommandClient(const char* title, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    RECT client;
    GetClientRect(hwnd, &client);
    printf("%ldx%ld\n", client.right - client.left, client.bottom - client.top);
    return 0;
}

// The client area in screen coordinates: left, top, width, height.
int CommandClientRect(const char* title, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right - client.left,
           client.bottom - client.top);
    return 0;
}

// The child control with identifier id of the window titled title; says why when there is none.
HWND FindControl(const char* title, int id, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return NULL;
    HWND control = GetDlgItem(hwnd, id);
    if (!control) fprintf(stderr, "inspector: window \"%s\" has no control %d\n", title, id);
    return control;
}

// A check box's mark as BM_GETCHECK gives it (0 unchecked, 1 checked, 2 indeterminate) and
// whether the box is enabled.
int CommandCheck(const char* title, int id, DWORD timeout)
{
    HWND control = FindControl(title, id, timeout);
    if (!control) return 1;
    DWORD_PTR mark = 0;
    if (!SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG,
                             INSPECTOR_TEXT_TIMEOUT_MS, &mark)) {
        fprintf(stderr, "inspector: control %d does not answer BM_GETCHECK\n", id);
        return 1;
    }
    printf("%lu\tenabled=%d\n", static_cast<unsigned long>(mark), IsWindowEnabled(control) ? 1 : 0);
    return 0;
}

// The whole text of control id, as its bytes (no line-end conversion), for texts longer than
// a window list shows.
int CommandText(const char* title, int id, DWORD timeout)
{
    HWND control = FindControl(title, id, timeout);
    if (!control) return 1;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                             INSPECTOR_TEXT_TIMEOUT_MS, &length)) {
        fprintf(stderr, "inspector: control %d does not answer WM_GETTEXTLENGTH\n", id);
        return 1;
    }
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, INSPECTOR_TEXT_TIMEOUT_MS, &copied)) {
        fprintf(stderr, "inspector: control %d does not answer WM_GETTEXT\n", id);
        return 1;
    }
    _setmode(_fileno(stdout), _O_BINARY);
    fwrite(text.data(), 1, copied, stdout);
    return 0;
}

// A scroll bar control's thumb position (SBM_GETPOS), then its range and page as the system's
// scroll information gives them: POS MIN MAX PAGE.
int CommandScrollPos(const char* title, int id, DWORD timeout)
{
    HWND control = FindControl(title, id, timeout);
    if (!control) return 1;
    DWORD_PTR position = 0;
    if (!SendMessageTimeoutA(control, SBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, INSPECTOR_TEXT_TIMEOUT_MS,
                             &position)) {
        fprintf(stderr, "inspector: control %d does not answer SBM_GETPOS\n", id);
        return 1;
    }
    SCROLLINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (!GetScrollInfo(control, SB_CTL, &info)) info.nMin = info.nMax = info.nPage = 0;
    printf("%ld %d %d %u\n", static_cast<long>(position), info.nMin, info.nMax, info.nPage);
    return 0;
}

// The client size a dialog of w x h dialog units gets with the font face at points, computed
// as the dialog manager does: base units from the font's average letter width and height.
int CommandExpect(const char* face, int points, int w, int h)
{
    HDC dc = GetDC(NULL);
    int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    HFONT font = CreateFontA(-MulDiv(points, dpiY, 72), 0, 0, 0, FW_DONTCARE, FALSE, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             PROOF_QUALITY, FF_DONTCARE, face);
    HGDIOBJ previous = SelectObject(dc, font);
    static const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, LETTERS, 52, &extent);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    char actualFace[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof(actualFace), actualFace);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(NULL, dc);
    int baseX = (extent.cx / 26 + 1) / 2;
    int baseY = tm.tmHeight;
    printf("%dx%d\tbase=%dx%d\tdpi=%d\tface=%s\n", MulDiv(w, baseX, 4), MulDiv(h, baseY, 8), baseX,
           baseY, dpiY, actualFace);
    return 0;
}

int CommandDpi()
{
    HDC info = CreateICA("DISPLAY", NULL, NULL, NULL);
    printf("%dx%d\n", GetDeviceCaps(info, LOGPIXELSX), GetDeviceCaps(info, LOGPIXELSY));
    if (info) DeleteDC(info);
    return 0;
}

// The language and code pages the prefix gives a program: what the program's choice of its
// content file and its cut of double-byte texts depend on.
int CommandLocale()
{
    printf("lang=0x%04x user=0x%04x acp=%u oemcp=%u\n", GetSystemDefaultLangID(),
           GetUserDefaultLangID(), GetACP(), GetOEMCP());
    return 0;
}

// What Windows says of a drive: its type (GetDriveTypeA's name for it), volume label and file
// system, tab-separated; a volume that cannot be read gives "-" for the last two.
int CommandDrive(const char* letter)
{
    char root[] = "?:\\";
    root[0] = letter[0];
    const char* types[] = {"unknown", "no-root", "removable", "fixed", "remote", "cdrom", "ramdisk"};
    UINT type = GetDriveTypeA(root);
    char label[MAX_PATH] = {}, system[MAX_PATH] = {};
    DWORD serial = 0, longest = 0, flags = 0;
    bool known = GetVolumeInformationA(root, label, sizeof label, &serial, &longest, &flags,
                                       system, sizeof system) != 0;
    printf("%s\t%s\t%s\n", type < 7 ? types[type] : "?", known ? label : "-", known ? system : "-");
    return 0;
}

// The first of titles that is a visible top-level window: Msg before the program's window
// when both are listed first, so a refusal is not mistaken for a start.
int CommandWaitAny(DWORD timeout, int count, char** titles)
{
    DWORD start = GetTickCount();
    for (;;) {
        for (int i = 0; i < count; ++i) {
            std::vector<HWND> found = FindByTitle(DecodeTitle(titles[i]).c_str());
            if (!found.empty()) {
                printf("found\t%s\t%p\n", titles[i], static_cast<void*>(found[0]));
                return 0;
            }
        }
        if (GetTickCount() - start >= timeout) {
            fprintf(stderr, "inspector: none of %d window(s) within %lu ms\n", count,
                    static_cast<unsigned long>(timeout));
            return 1;
        }
        Sleep(INSPECTOR_POLL_MS);
    }
}

// What the screen shows of the client area of hwnd, as 32-bit pixels (empty when unreadable).
// Read from the screen, not from the window, so it is what a person sees.
std::vector<DWORD> CaptureClient(HWND hwnd)
{
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    int w = client.right - client.left;
    int h = client.bottom - client.top;
    std::vector<DWORD> pixels;
    if (w <= 0 || h <= 0) return pixels;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            const DWORD* p = static_cast<const DWORD*>(bits);
            pixels.assign(p, p + static_cast<size_t>(w) * h);
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return pixels;
}

// Waits until the window is on the screen as its program drew it: visible, no paint pending,
// its thread back in its message loop (so a paint handler has returned), and the screen's
// picture of its client area unchanged for a moment (the drawing has reached the display).
int CommandSettled(const char* title, DWORD timeout)
{
    DWORD start = GetTickCount();
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    const char* waitingFor = "its first paint";
    for (;;) {
        if (GetTickCount() - start >= timeout) break;
        if (!IsWindow(hwnd)) {
            fprintf(stderr, "inspector: window \"%s\" went away\n", title);
            return 1;
        }
        if (GetUpdateRect(hwnd, NULL, FALSE)) {
            Sleep(INSPECTOR_POLL_MS / 10);
            continue;
        }
        DWORD_PTR result = 0;
        waitingFor = "its message loop";
        if (!SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &result)) break;
        waitingFor = "a still picture";
        std::vector<DWORD> before = CaptureClient(hwnd);
        Sleep(INSPECTOR_SETTLE_MS);
        std::vector<DWORD> after = CaptureClient(hwnd);
        if (!before.empty() && before == after && !GetUpdateRect(hwnd, NULL, FALSE)) {
            printf("settled\t%lu\n", static_cast<unsigned long>(GetTickCount() - start));
            return 0;
        }
    }
    fprintf(stderr, "inspector: window \"%s\" did not settle within %lu ms (waiting for %s)\n",
            title, static_cast<unsigned long>(timeout), waitingFor);
    return 1;
}

// The caption bar: the strip between the window's top frame and its client area on the screen
// (left, top, right, bottom), and the colours a caption is drawn in (active, its gradient end,
// inactive, its gradient end) as RRGGBB.
int CommandCaption(const char* title, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    RECT window;
    GetWindowRect(hwnd, &window);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    int frameX = origin.x - window.left;
    printf("band\t%ld %ld %ld %ld\n", window.left + frameX, window.top + frameX,
           window.right - frameX, origin.y);
    const int colours[] = {COLOR_ACTIVECAPTION, INSPECTOR_COLOR_GRADIENT_ACTIVE,
                           COLOR_INACTIVECAPTION, INSPECTOR_COLOR_GRADIENT_INACTIVE};
    printf("colours");
    for (int index : colours) {
        COLORREF c = GetSysColor(index);
        printf("\t%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    }
    printf("\n");
    return 0;
}

// Wine answers GetGuiResources with ERROR_CALL_NOT_IMPLEMENTED. There the program's GDI objects
// are the used entries of its handle table, which the process's PEB points to: 64K entries of
// 24 bytes (object pointer; owner; unique word whose top bit marks a stock object; type byte;
// flags; user pointer). Stock objects are the system's, as GetGuiResources leaves them out.
const SIZE_T WINE_GDI_HANDLES = 0x10000;
const SIZE_T WINE_GDI_ENTRY_SIZE = 24;
const SIZE_T WINE_GDI_UNIQUE_OFFSET = 12;
const SIZE_T WINE_GDI_TYPE_OFFSET = 14;
const USHORT WINE_GDI_STOCK_FLAG = 0x80;
// Where the PEB holds GdiSharedHandleTable.
const SIZE_T PEB_GDI_TABLE_OFFSET = sizeof(void*) == 8 ? 0xF8 : 0x94;

typedef LONG(WINAPI* QueryInformationProcessFunction)(HANDLE, int, PVOID, ULONG, PULONG);

struct CProcessBasics {
    LONG_PTR exitStatus;
    PVOID pebBaseAddress;
    ULONG_PTR affinityMask;
    LONG_PTR basePriority;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR parentProcessId;
};

// The process's GDI objects counted in its handle table, and how many of each type byte (Wine's
// numbering: 0x01 DC, 0x04 region, 0x08 palette, 0x09 bitmap, 0x0A font, 0x10 brush, 0x30 pen,
// ...); -1 when the table cannot be read.
long CountHandleTableObjects(HANDLE process, long byType[256])
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto query = reinterpret_cast<QueryInformationProcessFunction>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")));
    CProcessBasics basics = {};
    if (!query || query(process, 0, &basics, sizeof basics, NULL) != 0) return -1;
    PVOID table = NULL;
    SIZE_T got = 0;
    const char* peb = static_cast<const char*>(basics.pebBaseAddress);
    if (!ReadProcessMemory(process, peb + PEB_GDI_TABLE_OFFSET, &table, sizeof table, &got) ||
        got != sizeof table || !table) {
        return -1;
    }
    std::vector<unsigned char> entries(WINE_GDI_HANDLES * WINE_GDI_ENTRY_SIZE);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &got) ||
        got != entries.size()) {
        return -1;
    }
    long count = 0;
    for (SIZE_T i = 0; i < WINE_GDI_HANDLES; ++i) {
        const unsigned char* entry = &entries[i * WINE_GDI_ENTRY_SIZE];
        USHORT unique = static_cast<USHORT>(entry[WINE_GDI_UNIQUE_OFFSET] |
                                            (entry[WINE_GDI_UNIQUE_OFFSET + 1] << 8));
        unsigned char type = entry[WINE_GDI_TYPE_OFFSET];
        if (type == 0 || (unique & WINE_GDI_STOCK_FLAG)) continue;
        ++count;
        ++byType[type];
    }
    return count;
}

// The GDI and USER objects the process owning the window titled title holds now: from
// GetGuiResources, or on Wine from the process's GDI handle table ("source" says which).
int CommandGdi(const char* title, DWORD timeout)
{
    HWND hwnd = WaitForTitleOrSay(title, timeout, "window");
    if (!hwnd) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) {
        fprintf(stderr, "inspector: cannot open process %lu (error %lu)\n",
                static_cast<unsigned long>(pid), static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    SetLastError(0);
    long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
    DWORD error = GetLastError();
    const char* source = "GetGuiResources";
    long byType[256] = {};
    if (gdi == 0 && error == ERROR_CALL_NOT_IMPLEMENTED) {
        gdi = CountHandleTableObjects(process, byType);
        source = "handle-table";
    }
    CloseHandle(process);
    // A process with a painted window holds GDI objects; none means they were not counted.
    if (gdi <= 0) {
        fprintf(stderr, "inspector: the GDI objects of process %lu cannot be counted (%s, error "
                        "%lu)\n",
                static_cast<unsigned long>(pid), source, static_cast<unsigned long>(error));
        return 1;
    }
    printf("pid\t%lu\n", static_cast<unsigned long>(pid));
    printf("gdi\t%ld\n", gdi);
    printf("source\t%s\n", source);
    for (int type = 0; type < 256; ++type) {
        if (byType[type]) printf("type\t0x%02X\t%ld\n", type, byType[type]);
    }
    return 0;
}

double MillisecondsSince(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// The colour of the screen at client point (x, y) of hwnd; CLR_INVALID when unreadable.
COLORREF ScreenPixel(HWND hwnd, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(hwnd, &point);
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(NULL, screen);
    return colour;
}

// Starts a program and times it: when a visible window titled title appears, and when the
// screen shows client point (x, y) of it in a colour other than white and black (so it has
// been drawn; pick a point of some other colour). Every change of that pixel is listed. The
// program is then asked to close and its exit code is printed. Fails when the program ends,
// shows a message box "Msg" or is not painted within the timeout.
int CommandLaunch(const char* commandLine, const char* directory, const char* title, int x, int y,
                  DWORD timeout)
{
    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    std::vector<char> command(commandLine, commandLine + strlen(commandLine) + 1);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL,
                        *directory ? directory : NULL, &startup, &process)) {
        fprintf(stderr, "inspector: cannot start %s (error %lu)\n", commandLine,
                static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    CloseHandle(process.hThread);
    HWND hwnd = NULL;
    COLORREF last = CLR_INVALID;
    bool painted = false;
    int status = 1;
    for (;;) {
        double ms = MillisecondsSince(start, frequency);
        if (!hwnd) {
            HWND candidate = FindWindowA(NULL, title);
            if (candidate && IsWindowVisible(candidate)) {
                hwnd = candidate;
                printf("window\t%.1f\n", ms);
            }
        }
        if (hwnd) {
            COLORREF colour = ScreenPixel(hwnd, x, y);
            if (colour != last && colour != CLR_INVALID) {
                printf("pixel\t%.1f\t%02X%02X%02X\n", ms, GetRValue(colour), GetGValue(colour),
                       GetBValue(colour));
                last = colour;
            }
            if (colour != CLR_INVALID && colour != INSPECTOR_WHITE && colour != INSPECTOR_BLACK) {
                printf("painted\t%.1f\t%02X%02X%02X\n", ms, GetRValue(colour), GetGValue(colour),
                       GetBValue(colour));
                painted = true;
                status = 0;
                break;
            }
        }
        HWND box = FindWindowA(NULL, INSPECTOR_MSGBOX_TITLE);
        if (box && IsWindowVisible(box)) {
            fprintf(stderr, "inspector: a message box \"%s\" appeared after %.1f ms\n",
                    INSPECTOR_MSGBOX_TITLE, ms);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            fprintf(stderr, "inspector: %s ended after %.1f ms before it was painted\n",
                    commandLine, ms);
            break;
        }
        if (ms >= timeout) {
            fprintf(stderr, "inspector: %s not painted at (%d, %d) within %lu ms\n", commandLine, x,
                    y, static_cast<unsigned long>(timeout));
            break;
        }
        Sleep(INSPECTOR_LAUNCH_POLL_MS);
    }
    fflush(stdout);
    // The next start must not meet this copy: close it, or end it when it does not go.
    if (painted) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (!painted || WaitForSingleObject(process.hProcess, timeout) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INSPECTOR_DEFAULT_TIMEOUT_MS);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    printf("exit\t%lu\n", static_cast<unsigned long>(code));
    CloseHandle(process.hProcess);
    return status;
}

int Usage()
{
    fprintf(stderr,
            "usage: inspector list                         (a TITLE may carry \\xHH for a byte)\n"
            "       inspector wait TITLE [TIMEOUT_MS]      wait for a visible window\n"
            "       inspector gone TITLE [TIMEOUT_MS]      wait until no such window is left\n"
            "       inspector count TITLE                  visible windows with that title\n"
            "       inspector msgbox TITLE [TIMEOUT_MS]    caption, texts and buttons\n"
            "       inspector press TITLE BUTTON [TIMEOUT_MS]\n"
            "       inspector close TITLE [TIMEOUT_MS]     post WM_CLOSE to the window\n"
            "       inspector client TITLE [TIMEOUT_MS]    client size WxH\n"
            "       inspector clientrect TITLE [TIMEOUT_MS] client area: X Y W H on screen\n"
            "       inspector expect FACE POINTS W H       client size of W x H dialog units\n"
            "       inspector dpi                          LOGPIXELSX x LOGPIXELSY\n"
            "       inspector locale                       system and user language, ANSI and\n"
            "                                              OEM code page\n"
            "       inspector drive LETTER                 type, volume label, file system\n"
            "       inspector waitany TIMEOUT_MS TITLE...  the first of the windows that appears\n"
            "       inspector settled TITLE [TIMEOUT_MS]   wait until it is drawn on the screen\n"
            "       inspector caption TITLE [TIMEOUT_MS]   caption bar strip and its colours\n"
            "       inspector gdi TITLE [TIMEOUT_MS]       the GDI objects its process holds\n"
            "       inspector check TITLE ID [TIMEOUT_MS]  check box ID's mark and enabled state\n"
            "       inspector text TITLE ID [TIMEOUT_MS]   control ID's whole text, as bytes\n"
            "       inspector scrollpos TITLE ID [TIMEOUT_MS]\n"
            "                      scroll bar ID's position, range and page: POS MIN MAX PAGE\n"
            "       inspector launch COMMAND DIR TITLE X Y [TIMEOUT_MS]\n"
            "                      start COMMAND in DIR, time its window and its first\n"
            "                      paint (neither white nor black) at client (X, Y), then\n"
            "                      close it\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    std::string command = argv[1];
    if (command == "list") return CommandList();
    if (command == "dpi") return CommandDpi();
    if (command == "locale") return CommandLocale();
    if (argc < 3) return Usage();
    std::string decoded = DecodeTitle(argv[2]);
    const char* title = decoded.c_str();
    if (command == "wait") return CommandWait(title, TimeoutArg(argc, argv, 3));
    if (command == "gone") return CommandGone(title, TimeoutArg(argc, argv, 3));
    if (command == "count") return CommandCount(title);
    if (command == "msgbox") return CommandMessageBox(title, TimeoutArg(argc, argv, 3));
    if (command == "close") return CommandClose(title, TimeoutArg(argc, argv, 3));
    if (command == "clientrect") return CommandClientRect(title, TimeoutArg(argc, argv, 3));
    if (command == "client") return CommandClient(title, TimeoutArg(argc, argv, 3));
    if (command == "settled") return CommandSettled(title, TimeoutArg(argc, argv, 3));
    if (command == "drive") return CommandDrive(argv[2]);
    if (command == "caption") return CommandCaption(title, TimeoutArg(argc, argv, 3));
    if (command == "gdi") return CommandGdi(title, TimeoutArg(argc, argv, 3));
    if (command == "waitany" && argc >= 4) {
        return CommandWaitAny(static_cast<DWORD>(strtoul(argv[2], NULL, 10)), argc - 3, argv + 3);
    }
    if (command == "launch" && argc >= 7) {
        return CommandLaunch(argv[2], argv[3], argv[4], atoi(argv[5]), atoi(argv[6]),
                             TimeoutArg(argc, argv, 7));
    }
    if (command == "check" && argc >= 4) {
        return CommandCheck(title, atoi(argv[3]), TimeoutArg(argc, argv, 4));
    }
    if (command == "text" && argc >= 4) {
        return CommandText(title, atoi(argv[3]), TimeoutArg(argc, argv, 4));
    }
    if (command == "scrollpos" && argc >= 4) {
        return CommandScrollPos(title, atoi(argv[3]), TimeoutArg(argc, argv, 4));
    }
    if (command == "press" && argc >= 4) {
        return CommandPress(title, argv[3], TimeoutArg(argc, argv, 4));
    }
    if (command == "expect" && argc >= 6) {
        return CommandExpect(argv[2], atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    }
    return Usage();
}
