// template_check.exe: checks the dialog layer's template rewriting on the real dialog manager:
// hand-made templates of both kinds and the program's own templates 102 and 162 (read from
// tova.exe) get a new font, keep their header and items, and still create the dialog they
// describe.
//   template_check PATH\tova.exe        prints one line per check, exits 1 on any failure
#include "platform/win32/win32_api.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/dialog_template.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what)
{
    printf("%s\t%s\n", ok ? "ok" : "FAIL", what);
    if (!ok) ++failures;
}

// Writes template bytes the way the resource compiler lays them out.
class CTemplateBuilder {
public:
    void Word(uint16_t v)
    {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Dword(uint32_t v)
    {
        Word(static_cast<uint16_t>(v));
        Word(static_cast<uint16_t>(v >> 16));
    }
    void Byte(uint8_t v) { bytes.push_back(v); }
    void Text(const char* s)
    {
        while (*s) Word(static_cast<uint8_t>(*s++));
        Word(0);
    }
    void Ordinal(uint16_t v)
    {
        Word(0xFFFF);
        Word(v);
    }
    void Align()
    {
        while (bytes.size() % 4) bytes.push_back(0);
    }
    size_t Size() const { return bytes.size(); }

    std::vector<uint8_t> bytes;
};

struct CItemSpec {
    uint16_t id;
    uint16_t classOrdinal;  // 0x0080 button, 0x0081 edit, 0x0082 static
    uint32_t style;
    const char* text;
};

const CItemSpec ITEMS[] = {
    {1, 0x0080, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, "GO"},
    {1002, 0x0081, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, "odd"},
    {7, 0x0082, WS_CHILD | WS_VISIBLE | SS_LEFT, "a static text"},
};
const uint16_t ITEM_COUNT = sizeof(ITEMS) / sizeof(ITEMS[0]);

// An extended template; withFont adds DS_SETFONT and a font block.
std::vector<uint8_t> BuildExtended(bool withFont, const char* title, size_t* itemsAt)
{
    CTemplateBuilder b;
    b.Word(1);
    b.Word(0xFFFF);
    b.Dword(0);                       // help id
    b.Dword(WS_EX_APPWINDOW);         // extended style
    b.Dword(WS_POPUP | WS_CAPTION | (withFont ? DS_SETFONT : 0));
    b.Word(ITEM_COUNT);
    b.Word(0), b.Word(0), b.Word(200), b.Word(100);
    b.Word(0);                        // no menu
    b.Word(0);                        // the dialog class
    b.Text(title);
    if (withFont) {
        b.Word(8);
        b.Word(FW_BOLD);
        b.Byte(1);                    // italic
        b.Byte(ANSI_CHARSET);
        b.Text("MS Sans Serif");
    }
    b.Align();
    *itemsAt = b.Size();
    for (const CItemSpec& item : ITEMS) {
        b.Dword(0);
        b.Dword(0);
        b.Dword(item.style);
        b.Word(10), b.Word(10), b.Word(50), b.Word(14);
        b.Dword(item.id);
        b.Ordinal(item.classOrdinal);
        b.Text(item.text);
        b.Word(0);                    // no creation data
        b.Align();
    }
    return b.bytes;
}

// A plain template with a menu ordinal, a class name and a font.
std::vector<uint8_t> BuildPlain(const char* className, const char* title, size_t* itemsAt)
{
    CTemplateBuilder b;
    b.Dword(WS_POPUP | WS_CAPTION | DS_SETFONT);
    b.Dword(0);
    b.Word(ITEM_COUNT);
    b.Word(0), b.Word(0), b.Word(200), b.Word(100);
    b.Word(0);                        // no menu
    if (className) b.Text(className);
    else b.Word(0);
    b.Text(title);
    b.Word(10);
    b.Text("System");
    b.Align();
    *itemsAt = b.Size();
    for (const CItemSpec& item : ITEMS) {
        b.Dword(item.style);
        b.Dword(0);
        b.Word(10), b.Word(10), b.Word(50), b.Word(14);
        b.Word(item.id);
        b.Ordinal(item.classOrdinal);
        b.Text(item.text);
        b.Word(0);
        b.Align();
    }
    return b.bytes;
}

std::vector<uint16_t> Wide(const char* s)
{
    std::vector<uint16_t> w;
    while (*s) w.push_back(static_cast<uint8_t>(*s++));
    return w;
}

const uint8_t* Bytes(const std::vector<uint32_t>& v)
{
    return reinterpret_cast<const uint8_t*>(v.data());
}

INT_PTR CALLBACK QuietProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Creates the dialog (hidden: the templates carry no WS_VISIBLE) and checks its controls and
// the font the dialog manager made from the template.
void CheckCreated(const std::vector<uint32_t>& editable, const char* face, int points,
                  const char* label)
{
    std::string prefix = label;
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(NULL),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(editable.data()),
                                             NULL, QuietProcedure, 0);
    Check(dialog != NULL, (prefix + ": the dialog is created").c_str());
    if (!dialog) return;
    bool controls = true;
    for (const CItemSpec& item : ITEMS) {
        HWND control = GetDlgItem(dialog, item.id);
        char text[64] = "";
        if (control) GetWindowTextA(control, text, sizeof(text));
        if (!control || strcmp(text, item.text) != 0) controls = false;
    }
    Check(controls, (prefix + ": every control exists with its text").c_str());

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA logFont;
    memset(&logFont, 0, sizeof(logFont));
    bool gotFont = font && GetObjectA(font, sizeof(logFont), &logFont) > 0;
    HDC screen = GetDC(NULL);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    Check(gotFont && _stricmp(logFont.lfFaceName, face) == 0,
          (prefix + ": the dialog font has the new face").c_str());
    Check(gotFont && logFont.lfHeight == -MulDiv(points, dpiY, 72),
          (prefix + ": the dialog font has the new point size").c_str());
    DestroyWindow(dialog);
}

void CheckExtended()
{
    size_t itemsAt = 0;
    std::vector<uint8_t> original = BuildExtended(true, "Odd title", &itemsAt);
    std::vector<uint16_t> face = Wide("Arial");
    std::vector<uint32_t> editable;
    Check(SetDialogTemplateFont(original.data(), original.size(), face.data(), face.size(), 12,
                                &editable),
          "extended: the font is replaced");
    uint16_t points = 0;
    char newFace[64] = "";
    ReadDialogTemplateFont(Bytes(editable), editable.size() * 4, &points, newFace,
                           sizeof(newFace));
    Check(points == 12 && strcmp(newFace, "Arial") == 0, "extended: the template names the new font");

    CDialogTemplateLayout before, after;
    ParseDialogTemplate(original.data(), original.size(), &before);
    ParseDialogTemplate(Bytes(editable), editable.size() * 4, &after);
    Check(after.extended && after.fontWeight == FW_BOLD && after.fontItalic == 1 &&
              after.fontCharset == ANSI_CHARSET,
          "extended: weight, italic and charset of the old font are kept");
    Check(memcmp(Bytes(editable), original.data(), before.fontOffset) == 0,
          "extended: the header before the font is unchanged");
    size_t tail = original.size() - before.itemsOffset;
    Check(after.itemsOffset % 4 == 0 && editable.size() * 4 >= after.itemsOffset + tail &&
              memcmp(Bytes(editable) + after.itemsOffset, original.data() + before.itemsOffset,
                     tail) == 0,
          "extended: the items follow the new font unchanged, DWORD-aligned");
    CheckCreated(editable, "Arial", 12, "extended");

    // A shorter face moves the items the other way.
    std::vector<uint16_t> shortFace = Wide("Tahoma");
    Check(SetDialogTemplateFont(original.data(), original.size(), shortFace.data(),
                                shortFace.size(), 7, &editable),
          "extended: a face of another length is accepted");
    CheckCreated(editable, "Tahoma", 7, "extended, other face length");
}

void CheckExtendedWithoutFont()
{
    size_t itemsAt = 0;
    std::vector<uint8_t> original = BuildExtended(false, "No font", &itemsAt);
    std::vector<uint16_t> face = Wide("MS Sans Serif");
    std::vector<uint32_t> editable;
    Check(SetDialogTemplateFont(original.data(), original.size(), face.data(), face.size(), 8,
                                &editable),
          "no font: a font is added");
    uint32_t style = 0;
    uint16_t count = 0;
    ReadDialogTemplateHeader(Bytes(editable), editable.size() * 4, &style, NULL, &count);
    Check((style & DS_SETFONT) != 0 && count == ITEM_COUNT,
          "no font: DS_SETFONT is set and the item count kept");
    CheckCreated(editable, "MS Sans Serif", 8, "no font");
}

void CheckPlain()
{
    size_t itemsAt = 0;
    std::vector<uint8_t> original = BuildPlain(NULL, "Plain", &itemsAt);
    std::vector<uint16_t> face = Wide("Courier New");
    std::vector<uint32_t> editable;
    Check(SetDialogTemplateFont(original.data(), original.size(), face.data(), face.size(), 9,
                                &editable),
          "plain: the font is replaced");
    CDialogTemplateLayout layout;
    ParseDialogTemplate(Bytes(editable), editable.size() * 4, &layout);
    Check(!layout.extended, "plain: the template stays a plain one");
    CheckCreated(editable, "Courier New", 9, "plain");

    // A class name in the header (unregistered: parsed, not created).
    std::vector<uint8_t> named = BuildPlain("SomeClass", "T", &itemsAt);
    CDialogTemplateLayout namedLayout;
    Check(ParseDialogTemplate(named.data(), named.size(), &namedLayout) &&
              namedLayout.itemsOffset == itemsAt,
          "plain: a class name in the header is stepped over");
}

void CheckMalformed()
{
    size_t itemsAt = 0;
    std::vector<uint8_t> original = BuildExtended(true, "Cut short", &itemsAt);
    std::vector<uint16_t> face = Wide("Arial");
    // Every cut inside the header or the font block is refused, never read past.
    bool allRefused = true;
    for (size_t size = 0; size + 2 < itemsAt; ++size) {
        std::vector<uint8_t> cut(original.begin(), original.begin() + size);
        std::vector<uint32_t> editable;
        if (SetDialogTemplateFont(cut.data(), cut.size(), face.data(), face.size(), 8,
                                  &editable)) {
            allRefused = false;
        }
    }
    Check(allRefused, "malformed: templates cut inside the header or font are refused");
}

// The program's own template 102 from tova.exe: as the resource script describes it, and
// still complete after the font has been replaced.
void CheckProgramTemplate(const char* exePath)
{
    HMODULE module = LoadLibraryExA(exePath, NULL, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != NULL, "tova.exe: loaded as data");
    if (!module) return;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    const uint8_t* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : NULL;
    DWORD size = found ? SizeofResource(module, found) : 0;
    Check(bytes != NULL && size > 0, "tova.exe: template 102 is present");
    if (!bytes) return;

    uint32_t style = 0, exStyle = 0;
    uint16_t count = 0, points = 0;
    char face[64] = "";
    ReadDialogTemplateHeader(bytes, size, &style, &exStyle, &count);
    ReadDialogTemplateFont(bytes, size, &points, face, sizeof(face));
    const uint32_t wanted = DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                            WS_MINIMIZEBOX | DS_SETFONT;
    Check(style == wanted, "tova.exe: template 102 has the main dialog's style");
    Check(exStyle == WS_EX_APPWINDOW, "tova.exe: template 102 is an application window");
    Check(count == 4, "tova.exe: template 102 has four controls");
    Check(points == 8 && strcmp(face, "MS Sans Serif") == 0,
          "tova.exe: template 102 names MS Sans Serif 8");
    const int16_t* box = reinterpret_cast<const int16_t*>(bytes + 18);
    Check(box[0] == 0 && box[1] == 0 && box[2] == 427 && box[3] == 301,
          "tova.exe: template 102 is 427 x 301 dialog units at 0, 0");

    std::vector<uint16_t> wide = Wide("MS Sans Serif");
    std::vector<uint32_t> editable;
    Check(SetDialogTemplateFont(bytes, size, wide.data(), wide.size(), 7, &editable),
          "tova.exe: template 102 takes a new font");
    CDialogTemplateLayout before, after;
    ParseDialogTemplate(bytes, size, &before);
    ParseDialogTemplate(Bytes(editable), editable.size() * 4, &after);
    size_t tail = size - before.itemsOffset;
    Check(memcmp(Bytes(editable) + after.itemsOffset, bytes + before.itemsOffset, tail) == 0,
          "tova.exe: its controls are carried over unchanged");
    FreeLibrary(module);
}

// The first item of a template, read field by field (both template kinds).
struct CFirstItem {
    uint32_t style = 0;
    int32_t id = 0;
    int16_t box[4] = {0, 0, 0, 0};
    uint16_t classOrdinal = 0;
    std::string text;
};

// Reads a zero-ended UTF-16 text (ASCII only) at bytes[*at], moving past it.
bool ReadWideText(const uint8_t* bytes, size_t size, size_t* at, std::string* text)
{
    text->clear();
    for (;;) {
        if (*at + 2 > size) return false;
        uint16_t c = static_cast<uint16_t>(bytes[*at] | (bytes[*at + 1] << 8));
        *at += 2;
        if (c == 0) return true;
        text->push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
}

bool ReadFirstItem(const uint8_t* bytes, size_t size, CFirstItem* item)
{
    CDialogTemplateLayout layout;
    if (!ParseDialogTemplate(bytes, size, &layout)) return false;
    size_t at = layout.itemsOffset;
    const size_t fixed = layout.extended ? 24 : 18;
    if (at + fixed > size) return false;
    const uint8_t* p = bytes + at;
    uint32_t dwords[3];
    memcpy(dwords, p, sizeof(dwords));
    if (layout.extended) {
        // helpID, exStyle, style, x, y, cx, cy, id (DWORD)
        item->style = dwords[2];
        memcpy(item->box, p + 12, sizeof(item->box));
        memcpy(&item->id, p + 20, 4);
    } else {
        // style, exStyle, x, y, cx, cy, id (WORD)
        item->style = dwords[0];
        memcpy(item->box, p + 8, sizeof(item->box));
        int16_t id16 = 0;
        memcpy(&id16, p + 16, 2);
        item->id = id16;
    }
    at += fixed;
    if (at + 4 > size) return false;
    if (bytes[at] == 0xFF && bytes[at + 1] == 0xFF) {
        item->classOrdinal = static_cast<uint16_t>(bytes[at + 2] | (bytes[at + 3] << 8));
        at += 4;
    } else {
        std::string className;
        if (!ReadWideText(bytes, size, &at, &className)) return false;
    }
    return ReadWideText(bytes, size, &at, &item->text);
}

// The caption of the template (the text after the menu and class fields).
bool ReadCaption(const uint8_t* bytes, size_t size, std::string* caption)
{
    CDialogTemplateLayout layout;
    if (!ParseDialogTemplate(bytes, size, &layout)) return false;
    size_t at = layout.extended ? 26 : 18;
    for (int field = 0; field < 2; ++field) {  // menu, window class
        if (at + 2 > size) return false;
        if (bytes[at] == 0xFF && bytes[at + 1] == 0xFF) {
            at += 4;
        } else {
            std::string skipped;
            if (!ReadWideText(bytes, size, &at, &skipped)) return false;
        }
    }
    return ReadWideText(bytes, size, &at, caption);
}

const char NOTICE_TEXT[] = "\"Rapid Setup \" will continue to install drivers.";

// The resume notice, template 162 in tova.exe: found in the language it was made in and by the
// program's own lookup (no language given), laid out as designed, and created by the dialog
// manager with its caption and text once the program has set its font.
void CheckNoticeTemplate(const char* exePath)
{
    HMODULE module = LoadLibraryExA(exePath, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        Check(false, "tova.exe: loaded as data for template 162");
        return;
    }
    Check(FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(162),
                          MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)) != NULL,
          "tova.exe: template 162 is in Chinese (Traditional)");
    Check(FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(162),
                          MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) == NULL,
          "tova.exe: template 162 has no English copy");
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(162), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    const uint8_t* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : NULL;
    DWORD size = found ? SizeofResource(module, found) : 0;
    Check(bytes != NULL && size > 0, "tova.exe: template 162 is found without a language");
    if (!bytes) {
        FreeLibrary(module);
        return;
    }

    uint32_t style = 0, exStyle = 0;
    uint16_t count = 0, points = 0;
    char face[64] = "";
    ReadDialogTemplateHeader(bytes, size, &style, &exStyle, &count);
    ReadDialogTemplateFont(bytes, size, &points, face, sizeof(face));
    const uint32_t wanted =
        DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    Check(style == wanted, "tova.exe: template 162 has the notice's style");
    Check(exStyle == 0, "tova.exe: template 162 has no extended style");
    Check(count == 1, "tova.exe: template 162 has one control");
    Check(points == 10 && strcmp(face, "System") == 0, "tova.exe: template 162 names System 10");
    CDialogTemplateLayout layout;
    ParseDialogTemplate(bytes, size, &layout);
    const int16_t* box = reinterpret_cast<const int16_t*>(bytes + (layout.extended ? 18 : 10));
    Check(box[0] == 0 && box[1] == 0 && box[2] == 187 && box[3] == 60,
          "tova.exe: template 162 is 187 x 60 dialog units at 0, 0");
    std::string caption;
    Check(ReadCaption(bytes, size, &caption) && caption == "Msg",
          "tova.exe: template 162 is captioned Msg");

    CFirstItem item;
    bool read = ReadFirstItem(bytes, size, &item);
    Check(read, "tova.exe: the control of template 162 is read");
    if (read) {
        const uint32_t itemStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP;
        Check(item.classOrdinal == 0x0082 && item.style == itemStyle,
              "tova.exe: the control is a left-aligned static text opening a group");
        Check(item.id == -1, "tova.exe: the control has no identifier (-1)");
        Check(item.box[0] == 9 && item.box[1] == 22 && item.box[2] == 157 && item.box[3] == 10,
              "tova.exe: the control is 157 x 10 dialog units at 9, 22");
        Check(item.text == NOTICE_TEXT, "tova.exe: the control says that Rapid Setup goes on");
        if (item.text != NOTICE_TEXT) printf("\ttext: [%s]\n", item.text.c_str());
    }

    // As the program shows it: the font set again, then created by the dialog manager.
    std::vector<uint16_t> wide = Wide("System");
    std::vector<uint32_t> editable;
    Check(SetDialogTemplateFont(bytes, size, wide.data(), wide.size(), 10, &editable),
          "tova.exe: template 162 takes its font again");
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(NULL),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(editable.data()),
                                             NULL, QuietProcedure, 0);
    Check(dialog != NULL, "tova.exe: the notice is created from template 162");
    if (dialog) {
        char text[128] = "";
        GetWindowTextA(dialog, text, sizeof(text));
        Check(strcmp(text, "Msg") == 0, "tova.exe: the notice window is titled Msg");
        HWND statics = FindWindowExA(dialog, NULL, "Static", NULL);
        text[0] = '\0';
        if (statics) GetWindowTextA(statics, text, sizeof(text));
        Check(statics != NULL && strcmp(text, NOTICE_TEXT) == 0,
              "tova.exe: the notice's static control shows the text");
        Check(FindWindowExA(dialog, statics, NULL, NULL) == NULL,
              "tova.exe: the notice has no other control");
        RECT client;
        GetClientRect(dialog, &client);
        printf("info\tthe notice's client area is %ld x %ld pixels\n",
               static_cast<long>(client.right), static_cast<long>(client.bottom));
        DestroyWindow(dialog);
    }
    FreeLibrary(module);
}

}  // namespace

int main(int argc, char** argv)
{
    CheckExtended();
    CheckExtendedWithoutFont();
    CheckPlain();
    CheckMalformed();
    if (argc > 1) {
        CheckProgramTemplate(argv[1]);
        CheckNoticeTemplate(argv[1]);
    } else {
        Check(false, "tova.exe: no path given");
    }
    printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
