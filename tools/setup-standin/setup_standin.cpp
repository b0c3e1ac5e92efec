// setup_standin.exe: stands in for a driver package's setup program. It takes the silent
// installer switches (-s, -a, -b, -f1"response file", -f2"result log"), notes how it was started
// as one line of C:\setup-calls.log (its command line, a tab, its current folder, a tab, the
// show mode its starter asked for or "-") and the moment in C:\setup-times.log ("start", the tick
// count, the command line; "done" and the tick when a done file is written, so the order of two
// programs can be checked), waits as long as setup-standin.ini beside it says,
// writes the result log the way a silent setup does and ends with code 0. It shows no window.
// Started without any switch it stands in for the RAID patch (patch98.exe), which tells that
// it is done by a file of its own.
//
// setup-standin.ini, one "key=value" a line (every key optional):
//   wait_ms=1500       how long the "installation" takes (default 0, at most 600000)
//   log=yes|no         write the result log named by -f2 (default yes)
//   resultcode=yes|no  put "ResultCode=0" into it (default yes)
//   done_file=PATH     started without switches: the file written once the wait is over
// A response file (-f1) that cannot be read makes the result "ResultCode=-3", as a silent setup
// reports a response file it cannot use.
#include <windows.h>

namespace {

const char STANDIN_CALLS_LOG[] = "C:\\setup-calls.log";
const char STANDIN_TIMES_LOG[] = "C:\\setup-times.log";
const char STANDIN_SETTINGS_FILE[] = "setup-standin.ini";
const char STANDIN_RESULT_HEADER[] = "[ResponseResult]\r\n";
const char STANDIN_RESULT_OK[] = "ResultCode=0\r\n";
const char STANDIN_RESULT_NO_RESPONSE[] = "ResultCode=-3\r\n";
const DWORD STANDIN_WAIT_LIMIT_MS = 600000;
// A log that another copy holds open is tried again this often, this many times.
const int STANDIN_LOG_TRIES = 40;
const DWORD STANDIN_LOG_RETRY_MS = 50;
const int STANDIN_LINE_SIZE = 4096;
const int STANDIN_SETTINGS_SIZE = 4096;

const int STANDIN_EXIT_OK = 0;
// The command line holds a switch a silent setup does not know, or a switch without its path.
const int STANDIN_EXIT_BAD_SWITCH = 2;
// setup-standin.ini holds a line the stand-in does not understand.
const int STANDIN_EXIT_BAD_SETTINGS = 3;
// The start could not be noted in the calls log.
const int STANDIN_EXIT_NOT_LOGGED = 4;
// The done file of a start without switches could not be written.
const int STANDIN_EXIT_NO_DONE_FILE = 5;

// The switches of one start.
struct CSwitches {
    bool silent;
    bool flagA;
    bool flagB;
    char responseFile[MAX_PATH];
    char resultLog[MAX_PATH];
};

struct CSettings {
    DWORD waitMs;
    bool writeLog;
    bool writeResultCode;
    char doneFile[MAX_PATH];
};

char LowerChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Skips the program's own name, quoted or not, as the system splits a command line.
const char* SkipProgramName(const char* p)
{
    while (IsBlank(*p)) ++p;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && !IsBlank(*p)) ++p;
    }
    return p;
}

// Reads the path that follows -f1 or -f2: in double quotes, or up to the next blank. False when
// there is none or it does not fit.
bool ReadSwitchPath(const char** at, char* path)
{
    const char* p = *at;
    const char* start = p;
    const char* end;
    if (*p == '"') {
        start = ++p;
        while (*p && *p != '"') ++p;
        if (*p != '"') return false;
        end = p++;
    } else {
        while (*p && !IsBlank(*p)) ++p;
        end = p;
    }
    int length = static_cast<int>(end - start);
    if (length <= 0 || length >= MAX_PATH) return false;
    lstrcpynA(path, start, length + 1);
    *at = p;
    return true;
}

// The switches after the program's name, in any order and letter case, with '-' or '/'.
bool ParseSwitches(const char* commandLine, CSwitches* switches)
{
    ZeroMemory(switches, sizeof(*switches));
    const char* p = SkipProgramName(commandLine);
    for (;;) {
        while (IsBlank(*p)) ++p;
        if (!*p) return true;
        if (*p != '-' && *p != '/') return false;
        ++p;
        char letter = LowerChar(*p);
        if (!letter) return false;
        ++p;
        if (letter == 'f' && (*p == '1' || *p == '2')) {
            char* path = *p == '1' ? switches->responseFile : switches->resultLog;
            ++p;
            if (!ReadSwitchPath(&p, path)) return false;
        } else if (letter == 's' || letter == 'a' || letter == 'b') {
            if (*p && !IsBlank(*p)) return false;
            if (letter == 's') switches->silent = true;
            if (letter == 'a') switches->flagA = true;
            if (letter == 'b') switches->flagB = true;
        } else {
            return false;
        }
    }
}

// The full path of a file beside this program.
void PathBesideProgram(const char* name, char* path)
{
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    path[length] = '\0';
    char* slash = NULL;
    for (char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/') slash = p;
    }
    char* tail = slash ? slash + 1 : path;
    int room = MAX_PATH - static_cast<int>(tail - path);
    lstrcpynA(tail, name, room);
}

// Reads a whole small file into text (cut to size - 1). False when it cannot be opened.
bool ReadSmallFile(const char* path, char* text, int size)
{
    text[0] = '\0';
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    BOOL ok = ReadFile(file, text, static_cast<DWORD>(size - 1), &got, NULL);
    CloseHandle(file);
    text[ok ? got : 0] = '\0';
    return ok != FALSE;
}

bool SameWord(const char* a, const char* b)
{
    return lstrcmpiA(a, b) == 0;
}

bool ParseYesNo(const char* value, bool* out)
{
    if (SameWord(value, "yes")) {
        *out = true;
        return true;
    }
    if (SameWord(value, "no")) {
        *out = false;
        return true;
    }
    return false;
}

bool ParseMilliseconds(const char* value, DWORD* out)
{
    if (!*value) return false;
    DWORD n = 0;
    for (const char* p = value; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        n = n * 10 + static_cast<DWORD>(*p - '0');
        if (n > STANDIN_WAIT_LIMIT_MS) return false;
    }
    *out = n;
    return true;
}

// Trims blanks and a carriage return at both ends, in place.
char* Trim(char* text)
{
    while (IsBlank(*text)) ++text;
    int n = lstrlenA(text);
    while (n > 0 && (IsBlank(text[n - 1]) || text[n - 1] == '\r')) text[--n] = '\0';
    return text;
}

// One line of the settings file; blank lines, comments (';' or '#') and [section] lines pass.
bool ParseSettingsLine(char* line, CSettings* settings)
{
    line = Trim(line);
    if (!*line || *line == ';' || *line == '#' || *line == '[') return true;
    char* equals = line;
    while (*equals && *equals != '=') ++equals;
    if (!*equals) return false;
    *equals = '\0';
    char* key = Trim(line);
    char* value = Trim(equals + 1);
    if (SameWord(key, "wait_ms")) return ParseMilliseconds(value, &settings->waitMs);
    if (SameWord(key, "log")) return ParseYesNo(value, &settings->writeLog);
    if (SameWord(key, "resultcode")) return ParseYesNo(value, &settings->writeResultCode);
    if (SameWord(key, "done_file")) {
        if (!*value || lstrlenA(value) >= MAX_PATH) return false;
        lstrcpynA(settings->doneFile, value, MAX_PATH);
        return true;
    }
    return false;
}

// The settings beside the program; without the file, the defaults.
bool ReadSettings(CSettings* settings)
{
    settings->waitMs = 0;
    settings->writeLog = true;
    settings->writeResultCode = true;
    settings->doneFile[0] = '\0';
    char path[MAX_PATH];
    PathBesideProgram(STANDIN_SETTINGS_FILE, path);
    static char text[STANDIN_SETTINGS_SIZE];
    if (!ReadSmallFile(path, text, sizeof(text))) return true;
    char* line = text;
    while (*line) {
        char* end = line;
        while (*end && *end != '\n') ++end;
        bool more = *end != '\0';
        *end = '\0';
        if (!ParseSettingsLine(line, settings)) return false;
        line = more ? end + 1 : end;
    }
    return true;
}

// Appends text to the end of the file at path, creating it. Another copy may hold the file
// for a moment: that is waited for, a little.
bool AppendToFile(const char* path, const char* text)
{
    for (int attempt = 0; attempt < STANDIN_LOG_TRIES; ++attempt) {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            SetFilePointer(file, 0, NULL, FILE_END);
            DWORD length = static_cast<DWORD>(lstrlenA(text));
            DWORD written = 0;
            BOOL ok = WriteFile(file, text, length, &written, NULL);
            CloseHandle(file);
            return ok && written == length;
        }
        Sleep(STANDIN_LOG_RETRY_MS);
    }
    return false;
}

bool WriteWholeFile(const char* path, const char* text)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD length = static_cast<DWORD>(lstrlenA(text));
    DWORD written = 0;
    BOOL ok = WriteFile(file, text, length, &written, NULL);
    CloseHandle(file);
    return ok && written == length;
}

void AppendCut(char* dest, int size, const char* src)
{
    int used = lstrlenA(dest);
    if (used < size - 1) lstrcpynA(dest + used, src, size - used);
}

// One line of the times log: what happened, the tick count, the command line.
bool NoteTime(const char* what)
{
    static char line[STANDIN_LINE_SIZE];
    char tick[16];
    wsprintfA(tick, "\t%lu\t", static_cast<unsigned long>(GetTickCount()));
    line[0] = '\0';
    AppendCut(line, sizeof(line) - 2, what);
    AppendCut(line, sizeof(line) - 2, tick);
    AppendCut(line, sizeof(line) - 2, GetCommandLineA());
    AppendCut(line, sizeof(line), "\r\n");
    return AppendToFile(STANDIN_TIMES_LOG, line);
}

// The show mode the starter asked for (WinExec's and CreateProcess's start-up information), as
// a number, or "-" when it asked for none.
void ShowMode(char* text)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW)) {
        lstrcpyA(text, "-");
        return;
    }
    wsprintfA(text, "%u", static_cast<unsigned>(startup.wShowWindow));
}

// The calls log line: the command line as the system gives it, a tab, the current folder, a
// tab, the show mode.
bool NoteCall()
{
    static char line[STANDIN_LINE_SIZE];
    char folder[MAX_PATH];
    char show[16];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) folder[0] = '\0';
    ShowMode(show);
    line[0] = '\0';
    AppendCut(line, sizeof(line) - 2, GetCommandLineA());
    AppendCut(line, sizeof(line) - 2, "\t");
    AppendCut(line, sizeof(line) - 2, folder);
    AppendCut(line, sizeof(line) - 2, "\t");
    AppendCut(line, sizeof(line) - 2, show);
    AppendCut(line, sizeof(line), "\r\n");
    return AppendToFile(STANDIN_CALLS_LOG, line) && NoteTime("start");
}

// The package's "installation": the time it takes, with the message queue served, so that a
// caller waiting for this program to become idle (WinExec) is let go at once.
void TakeTime(DWORD milliseconds)
{
    MSG message;
    PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE);
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Served first: WinExec returns only once the started program is idle.
    TakeTime(0);
    if (!NoteCall()) return STANDIN_EXIT_NOT_LOGGED;
    CSwitches switches;
    if (!ParseSwitches(GetCommandLineA(), &switches)) return STANDIN_EXIT_BAD_SWITCH;
    CSettings settings;
    if (!ReadSettings(&settings)) return STANDIN_EXIT_BAD_SETTINGS;

    TakeTime(settings.waitMs);

    bool anySwitch = switches.silent || switches.flagA || switches.flagB ||
                     switches.responseFile[0] || switches.resultLog[0];
    if (!anySwitch && settings.doneFile[0]) {
        if (!NoteTime("done") || !WriteWholeFile(settings.doneFile, "done\r\n")) {
            return STANDIN_EXIT_NO_DONE_FILE;
        }
    }

    if (settings.writeLog && switches.resultLog[0]) {
        static char result[256];
        lstrcpynA(result, STANDIN_RESULT_HEADER, sizeof(result));
        if (settings.writeResultCode) {
            bool responseUsable = true;
            if (switches.responseFile[0]) {
                static char response[STANDIN_SETTINGS_SIZE];
                responseUsable = ReadSmallFile(switches.responseFile, response, sizeof(response));
            }
            AppendCut(result, sizeof(result),
                      responseUsable ? STANDIN_RESULT_OK : STANDIN_RESULT_NO_RESPONSE);
        }
        WriteWholeFile(switches.resultLog, result);
    }
    return STANDIN_EXIT_OK;
}
