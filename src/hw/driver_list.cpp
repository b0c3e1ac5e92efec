// The CD's driver list: the running system's block, the lines of a category and their fields.
#include "hw/driver_list.h"

#include <cstdio>
#include <cstring>

#include "hw/hw_state.h"

namespace {

const size_t LIST_NOT_FOUND = static_cast<size_t>(-1);
// The folder field starts with a prefix of this many characters that the program never uses.
const size_t LIST_FOLDER_PREFIX = 7;

// First occurrence of key in text[from, end), LIST_NOT_FOUND when there is none.
size_t FindIn(const char* text, size_t from, size_t end, const char* key)
{
    size_t keyLength = strlen(key);
    if (keyLength == 0 || end < keyLength) return LIST_NOT_FOUND;
    for (size_t i = from; i + keyLength <= end; ++i) {
        if (memcmp(text + i, key, keyLength) == 0) return i;
    }
    return LIST_NOT_FOUND;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Start of the line holding position pos, never before floor.
size_t LineStart(const char* text, size_t floor, size_t pos)
{
    while (pos > floor && !IsLineBreak(text[pos - 1])) --pos;
    return pos;
}

// End of the line holding position pos (its CR or LF), or end.
size_t LineEnd(const char* text, size_t pos, size_t end)
{
    while (pos < end && !IsLineBreak(text[pos])) ++pos;
    return pos;
}

// Length of a zero-terminated text kept in a vector, bounded by the vector.
size_t TextLength(const std::vector<char>& text)
{
    if (text.empty()) return 0;
    const void* zero = memchr(text.data(), '\0', text.size());
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - text.data()) : text.size();
}

char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char FolderChar(char c) { return c == '/' ? '\\' : c; }

// The folder field, with '/' read as '\' and compared without case, contains marker.
bool FolderContains(const char* field, size_t length, const char* marker)
{
    size_t markerLength = strlen(marker);
    for (size_t i = 0; i + markerLength <= length; ++i) {
        size_t j = 0;
        while (j < markerLength && ToLower(FolderChar(field[i + j])) == marker[j]) ++j;
        if (j == markerLength) return true;
    }
    return false;
}

}  // namespace

bool ReadListFile(Files& files, const char* path, CInstallList& list)
{
    list.listText.clear();
    std::vector<char> bytes;
    if (!files.ReadWholeFile(path, DRIVER_LIST_MAX_BYTES, &bytes)) return false;
    list.listText.swap(bytes);
    list.listText.push_back('\0');
    return true;
}

void FreeListText(CInstallList& list)
{
    std::vector<char>().swap(list.listText);
}

void ExtractOsSection(CInstallList& list, uint8_t osCode)
{
    list.osSection.assign(1, '\0');
    const char* text = list.listText.data();
    size_t length = TextLength(list.listText);

    char key[32];
    snprintf(key, sizeof key, ";%d;Chipset", osCode);
    size_t hit = FindIn(text, 0, length, key);
    if (hit == LIST_NOT_FOUND) return;

    // The block begins one character before the line feed that precedes the key's line (with
    // CR LF ends: the CR LF of the previous line), or at the text's start on the first line.
    size_t start = hit;
    while (start > 0 && text[start - 1] != '\n') --start;
    if (start >= 2) {
        start -= 2;
    } else {
        start = 0;  // a line feed as the very first byte has nothing before it
    }

    size_t end = FindIn(text, start, length, ";-");
    if (end == LIST_NOT_FOUND) return;
    list.osSection.assign(text + start, text + end);
    list.osSection.push_back('\0');
}

void AddItemsForCategory(CInstallList& list, const CLeadBytes& leadBytes, const char* tag)
{
    // Once the array is full, further lines are ignored: itemCount stays at the capacity and
    // no record is overwritten (the CD list simply offers more than the program can show).
    if (!tag || list.itemCount >= DRIVER_ITEM_CAPACITY) return;
    const char* block = list.osSection.data();
    size_t blockLength = TextLength(list.osSection);

    size_t first = FindIn(block, 0, blockLength, tag);
    if (first == LIST_NOT_FOUND) return;
    size_t last = first;
    for (size_t next = FindIn(block, first + 2, blockLength, tag); next != LIST_NOT_FOUND;
         next = FindIn(block, next + 2, blockLength, tag)) {
        last = next;
    }
    // Only the lines from the first to the last line carrying the tag are searched.
    size_t begin = LineStart(block, 0, first);
    size_t end = LineEnd(block, last, blockLength);

    const DriverItem& probe = list.items[list.itemCount];
    const uint32_t deviceId = probe.deviceId;
    const uint32_t subsystemId = probe.subsystemId;
    const int32_t deviceCode = probe.deviceCode;
    // The key ends in ';' so that code 12 does not select the lines of code 120.
    char key[96];
    snprintf(key, sizeof key, "%s%d;", tag, static_cast<int>(deviceCode));

    size_t pos = begin;
    while (pos < end && list.itemCount < DRIVER_ITEM_CAPACITY) {
        size_t hit = FindIn(block, pos, end, key);
        if (hit == LIST_NOT_FOUND) break;
        size_t lineBegin = LineStart(block, begin, hit);
        size_t lineEnd = LineEnd(block, hit, end);
        DriverItem& item = list.items[list.itemCount];
        // Every entry of the category carries the probe's identifiers, not only the first.
        item.deviceId = deviceId;
        item.subsystemId = subsystemId;
        item.deviceCode = deviceCode;
        ParseListLine(list, leadBytes, block + lineBegin, lineEnd - lineBegin, list.itemCount);
        ++list.itemCount;
        pos = hit + 2;
    }
}

void ParseListLine(CInstallList& list, const CLeadBytes& leadBytes, const char* line, size_t length,
                   int index)
{
    if (!line || index < 0 || index >= DRIVER_ITEM_CAPACITY) return;
    DriverItem& item = list.items[index];
    size_t n = LineEnd(line, 0, length);
    size_t i = 0;

    // Entry number: the first run of digits.
    while (i < n && !(line[i] >= '0' && line[i] <= '9')) ++i;
    size_t start = i;
    while (i < n && line[i] >= '0' && line[i] <= '9') ++i;
    item.entryNumber.Assign(line + start, i - start);
    if (i < n) ++i;  // the character after the digits

    // Operating system, category and device code are not read again: the search key has
    // already matched them. The first character of the last two is passed over unexamined.
    while (i < n && line[i] != ';') ++i;
    if (i < n) ++i;
    for (int field = 0; field < 2; ++field) {
        if (i < n) ++i;
        while (i < n && line[i] != ';') ++i;
        if (i < n) ++i;
    }

    start = i;
    while (i < n && line[i] != ';') ++i;
    leadBytes.Assign(&item.description, line + start, i - start);
    if (i < n) ++i;

    start = i;
    while (i < n && line[i] != ';') ++i;
    if (FolderContains(line + start, i - start, "sis650\\vga\\win2k_xp")) list.sis650VgaListed = 1;
    // The prefix is dropped whatever it holds; a field this short leaves the folder empty.
    item.folder.Clear();
    size_t folderStart = start + LIST_FOLDER_PREFIX;
    if (folderStart < i) {
        size_t kept = i - folderStart;
        if (kept > item.folder.CAPACITY - 1) kept = item.folder.CAPACITY - 1;
        kept = leadBytes.Boundary(line + folderStart, kept);
        for (size_t k = folderStart; k < folderStart + kept; ++k) {
            item.folder.AppendChar(FolderChar(line[k]));
        }
    }
    if (i < n) ++i;

    start = i;
    while (i < n && line[i] != ';') ++i;
    leadBytes.Assign(&item.setupFile, line + start, i - start);
    if (i < n) ++i;

    leadBytes.Assign(&item.versionText, line + i, n - i);
}

bool isUnsupportedUsb2Row(uint8_t osCode, uint8_t xpServicePack, const char* probePath)
{
    static const char* const USB2_FOLDERS[] = {
        "\\CHIPSET\\USB20\\2KXP\\",   "\\CHIPSET\\VIA\\VT6202USB2.0\\", "\\CHIPSET\\VIA\\USB2.0\\",
        "\\CHIPSET\\SIS\\USB\\WINXP\\", "\\CHIPSET\\NUSB\\",
    };
    if (osCode != OS_WINXP || xpServicePack != 0 || !probePath) return false;
    for (const char* folder : USB2_FOLDERS) {
        if (strstr(probePath, folder)) return true;
    }
    return false;
}
