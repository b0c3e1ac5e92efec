// standin.exe: stands in for the programs a driver CD starts. It notes how it was started (its
// own path, its command line, its current folder) as one line of C:\standin-calls.log, shows the
// same in a small window for a few seconds or until clicked, and ends with code 0.
#include <windows.h>

namespace {

const char STANDIN_LOG_PATH[] = "C:\\standin-calls.log";
const char STANDIN_WINDOW_CLASS[] = "TovaStandIn";
const char STANDIN_TITLE_PREFIX[] = "Stand-in: ";
// How long the window stays up when nobody clicks it.
const UINT STANDIN_SHOW_MS = 4000;
const UINT STANDIN_TIMER_ID = 1;
const int STANDIN_WINDOW_WIDTH = 480;
const int STANDIN_WINDOW_HEIGHT = 140;
// A log that another copy holds open is tried again this often, this many times.
const int STANDIN_LOG_TRIES = 20;
const DWORD STANDIN_LOG_RETRY_MS = 50;
const int STANDIN_EXIT_OK = 0;
// The start could not be recorded: the caller must not take the run for a quiet success.
const int STANDIN_EXIT_NOT_LOGGED = 3;
// Command lines are cut to this size; their start is what tells one call from another.
const int STANDIN_COMMAND_LINE_SIZE = 2048;
const int STANDIN_LINE_SIZE = 2 * MAX_PATH + STANDIN_COMMAND_LINE_SIZE + 4;
const int STANDIN_TEXT_SIZE = STANDIN_LINE_SIZE + 128;

// How this copy was started.
struct CStartRecord {
    char modulePath[MAX_PATH];
    char commandLine[STANDIN_COMMAND_LINE_SIZE];
    char currentDirectory[MAX_PATH];
};

// What the window shows; filled before the window is made, read by its procedure.
struct CShownText {
    char title[MAX_PATH + sizeof(STANDIN_TITLE_PREFIX)];
    char body[STANDIN_TEXT_SIZE];
};
CShownText shown;

void CopyCut(char* dest, int size, const char* src)
{
    lstrcpynA(dest, src ? src : "", size);
}

// Appends src to the text in dest, cut to dest's size. (wsprintfA would stop at 1024 bytes.)
void AppendCut(char* dest, int size, const char* src)
{
    int used = lstrlenA(dest);
    if (used < size - 1) lstrcpynA(dest + used, src, size - used);
}

void ReadStartRecord(CStartRecord* record)
{
    // A path that fills the buffer is not terminated on every system.
    DWORD length = GetModuleFileNameA(NULL, record->modulePath, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    record->modulePath[length] = '\0';
    CopyCut(record->commandLine, STANDIN_COMMAND_LINE_SIZE, GetCommandLineA());
    length = GetCurrentDirectoryA(MAX_PATH, record->currentDirectory);
    if (length == 0 || length >= MAX_PATH) record->currentDirectory[0] = '\0';
}

// The file name part of a path: after its last backslash, slash or colon.
const char* FileNamePart(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    return name;
}

// Appends line to the log in one write, after whatever other copies wrote before.
bool AppendToLog(const char* line)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int i = 0; i < STANDIN_LOG_TRIES; ++i) {
        file = CreateFileA(STANDIN_LOG_PATH, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) break;
        if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
        Sleep(STANDIN_LOG_RETRY_MS);
    }
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = false;
    if (SetFilePointer(file, 0, NULL, FILE_END) != 0xFFFFFFFF) {
        DWORD length = static_cast<DWORD>(lstrlenA(line));
        DWORD done = 0;
        written = WriteFile(file, line, length, &done, NULL) && done == length;
    }
    CloseHandle(file);
    return written;
}

LRESULT CALLBACK StandInWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        InflateRect(&client, -8, -8);
        HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, shown.body, -1, &client, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, previous);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_TIMER:
    case WM_LBUTTONUP:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, STANDIN_TIMER_ID);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Shows shown.title and shown.body until the timer runs out, the window is clicked or closed.
void ShowStartWindow(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.lpfnWndProc = StandInWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = STANDIN_WINDOW_CLASS;
    if (!RegisterClassA(&windowClass)) return;
    HWND hwnd =
        CreateWindowExA(0, STANDIN_WINDOW_CLASS, shown.title,
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                        STANDIN_WINDOW_WIDTH, STANDIN_WINDOW_HEIGHT, NULL, NULL, instance, NULL);
    if (!hwnd) return;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SetTimer(hwnd, STANDIN_TIMER_ID, STANDIN_SHOW_MS, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// AppendParts: appends each of parts to dest, cut to dest's size.
template <int N> void AppendParts(char* dest, int size, const char* const (&parts)[N])
{
    for (const char* part : parts)
        AppendCut(dest, size, part);
}

// One line of the log: own path, command line, current folder, separated by tabs.
bool LogStart(const CStartRecord& record)
{
    static char line[STANDIN_LINE_SIZE];
    const char* const parts[] = {record.modulePath,       "\t",  record.commandLine, "\t",
                                 record.currentDirectory, "\r\n"};
    AppendParts(line, sizeof(line), parts);
    return AppendToLog(line);
}

// The window's title "Stand-in: <file name>" and the same facts as the log line.
void ComposeShownText(const CStartRecord& record, bool logged)
{
    AppendCut(shown.title, sizeof(shown.title), STANDIN_TITLE_PREFIX);
    AppendCut(shown.title, sizeof(shown.title), FileNamePart(record.modulePath));
    const char* const parts[] = {"Program: ",
                                 record.modulePath,
                                 "\r\nCommand line: ",
                                 record.commandLine,
                                 "\r\nFolder: ",
                                 record.currentDirectory,
                                 logged ? "" : "\r\n(not written to C:\\standin-calls.log)"};
    AppendParts(shown.body, sizeof(shown.body), parts);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    static CStartRecord record;
    ReadStartRecord(&record);
    bool logged = LogStart(record);
    ComposeShownText(record, logged);
    ShowStartWindow(instance);
    return logged ? STANDIN_EXIT_OK : STANDIN_EXIT_NOT_LOGGED;
}
