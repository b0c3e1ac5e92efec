// The choice of the CD's content files by language, and the profile reads made on them.
#include "skin/content_files.h"

#include <climits>
#include <cstring>

void SelectContentFiles(System& system, const char* programDir, CContentFiles* files)
{
    files->languageCode = 0;
    files->headerX = CONTENT_HEADER_X;
    files->headerY = CONTENT_HEADER_Y;
    files->textFile = programDir;
    files->textFile.Append(CONTENT_LIST_FILE);
    if (system.GetSystemDefaultLangID() == CONTENT_LANG_CHT) {
        files->languageCode = 1;
        files->tipFile.Append(CONTENT_TIP_FILE);
        files->contentFile.Append(CONTENT_FILE_CHT);
    } else {
        files->tipFile.Append(CONTENT_TIP_FILE);
        files->contentFile.Append(CONTENT_FILE_DEFAULT);
    }
}

namespace {

// The value as the profile call cut it, bytes only.
uint32_t ReadProfileBytes(Files& files, const char* fileName, const char* section, const char* key,
                          char* buffer, uint32_t size)
{
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    uint32_t length = files.GetPrivateProfileString(section, key, "", buffer, size, fileName);
    // Never trust a service to have terminated inside the buffer.
    buffer[size - 1] = '\0';
    return length < size ? length : size - 1;
}

} // namespace

uint32_t ReadProfileText(Files& files, const CLeadBytes& leadBytes, const char* fileName,
                         const char* section, const char* key, char* buffer, uint32_t size)
{
    uint32_t length = ReadProfileBytes(files, fileName, section, key, buffer, size);
    if (length == 0) return 0;
    length = static_cast<uint32_t>(leadBytes.Boundary(buffer, strnlen(buffer, length)));
    buffer[length] = '\0';
    return length;
}

int ParseProfileNumber(const char* text)
{
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Accumulate toward the sign's side so INT_MIN itself fits; stop at the limit.
    long long value = 0;
    const long long limit = negative ? -(long long)INT_MIN : (long long)INT_MAX;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > limit) {
            value = limit;
            while (*p >= '0' && *p <= '9') ++p;
            break;
        }
    }
    return negative ? (int)-value : (int)value;
}

int ReadProfileNumber(Files& files, const char* fileName, const char* section, const char* key,
                      uint32_t size)
{
    FixedText<CONTENT_TEXT_LONG> text;
    if (size > CONTENT_TEXT_LONG) size = CONTENT_TEXT_LONG;
    // Digits are single bytes in every code page: no character cut is needed.
    ReadProfileBytes(files, fileName, section, key, text.Buffer(), size);
    return ParseProfileNumber(text.c_str());
}

FixedText<CONTENT_KEY_SIZE> ProfileItemKey(unsigned item, const char* suffix)
{
    FixedText<CONTENT_KEY_SIZE> key;
    key.Format("%u", item);
    key.Append(suffix);
    return key;
}

FixedText<CONTENT_KEY_SIZE> ProfileMaskKey(unsigned item, const char* imageSuffix)
{
    FixedText<CONTENT_KEY_SIZE> key = ProfileItemKey(item, imageSuffix);
    key.Append("_m");
    return key;
}
