// bare_dialog.exe: the yardstick for the program's start time: a dialog of the main dialog's
// size, style and font from a template in memory, with nothing on it and nothing done at start.
//   bare_dialog.exe [TITLE]      the caption (default "Bare dialog"); closing it ends the program
#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// The main dialog's box in dialog units, and its font.
const short BARE_WIDTH_DLU = 427;
const short BARE_HEIGHT_DLU = 301;
const WORD BARE_FONT_POINTS = 8;
const char BARE_FONT_FACE[] = "MS Sans Serif";
const char BARE_DEFAULT_TITLE[] = "Bare dialog";

// Appends text as the zero-terminated UTF-16 string a template stores.
void AppendText(std::vector<WORD>* words, const char* text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    if (n <= 0) {
        words->push_back(0);
        return;
    }
    size_t at = words->size();
    words->resize(at + static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<LPWSTR>(&(*words)[at]), n);
}

// A DLGTEMPLATE without items: header, no menu, the default class, the title, the font.
std::vector<WORD> BuildTemplate(const char* title)
{
    DLGTEMPLATE header;
    memset(&header, 0, sizeof(header));
    header.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                   WS_MINIMIZEBOX;
    header.dwExtendedStyle = WS_EX_APPWINDOW;
    header.cdit = 0;
    header.x = 0;
    header.y = 0;
    header.cx = BARE_WIDTH_DLU;
    header.cy = BARE_HEIGHT_DLU;
    std::vector<WORD> words(sizeof(header) / sizeof(WORD));
    memcpy(words.data(), &header, sizeof(header));
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    AppendText(&words, title);
    words.push_back(BARE_FONT_POINTS);
    AppendText(&words, BARE_FONT_FACE);
    return words;
}

INT_PTR CALLBACK BareDialogProc(HWND hwnd, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        EndDialog(hwnd, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const char* title = commandLine && *commandLine ? commandLine : BARE_DEFAULT_TITLE;
    // DWORD-aligned storage, as the dialog manager requires of a template.
    std::vector<WORD> words = BuildTemplate(title);
    std::vector<DWORD> aligned((words.size() + 1) / 2);
    memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
    INT_PTR result = DialogBoxIndirectParamA(
        instance, reinterpret_cast<LPCDLGTEMPLATEA>(aligned.data()), NULL, BareDialogProc, 0);
    return result == -1 ? 1 : 0;
}
