// Profile (INI) reads over a file's bytes, behaving as GetPrivateProfileStringA does under
// Wine's kernel32 (checked against it on the files in tests/data/profiles).
#include "common/profile_reader.h"

#include <cstring>
#include <vector>

namespace {

// The blanks trimmed around names and values. 0x1A (the old end-of-file mark) counts as one;
// 0xA0 and the other control characters do not.
bool IsProfileBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1A;
}

// A piece of a line; names and values end at an embedded zero byte, as C strings would.
struct CSpan {
    const char* text;
    size_t length;
};

CSpan Trim(const char* begin, const char* end)
{
    while (begin < end && IsProfileBlank((unsigned char)*begin)) ++begin;
    while (end > begin && IsProfileBlank((unsigned char)end[-1])) --end;
    return CSpan{begin, (size_t)(end - begin)};
}

CSpan CutAtZero(CSpan span)
{
    const void* zero = memchr(span.text, '\0', span.length);
    if (zero) span.length = (size_t)((const char*)zero - span.text);
    return span;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

// Names compare without regard to ASCII case; other bytes must be equal.
bool NamesEqual(CSpan a, CSpan b)
{
    if (a.length != b.length) return false;
    for (size_t i = 0; i < a.length; ++i) {
        if (AsciiLower(a.text[i]) != AsciiLower(b.text[i])) return false;
    }
    return true;
}

// Unicode code points 0x80-0x9F of code page 1252, by byte; 0 where the byte has no character
// of its own (those five bytes stand for the code point of the same number).
const uint16_t CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// A UTF-16 unit in the ANSI code page (1252); '?' for what it cannot hold.
char UnitToAnsi(uint32_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return (char)unit;
    for (uint32_t i = 0; i < 32; ++i) {
        uint32_t codePoint = CP1252_HIGH[i] ? CP1252_HIGH[i] : 0x80 + i;
        if (unit == codePoint) return (char)(0x80 + i);
    }
    return '?';
}

void AppendCodePoint(uint32_t codePoint, std::vector<char>* out)
{
    if (codePoint >= 0x10000) {
        // A surrogate pair: neither half exists in the code page.
        out->push_back('?');
        out->push_back('?');
    } else {
        out->push_back(UnitToAnsi(codePoint));
    }
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// A file that starts with the UTF-8 mark is read as UTF-8. Each broken sequence becomes one
// '?': a lead byte with a continuation byte is taken as a pair before the pair is judged (an
// overlong or surrogate start costs two bytes), as Wine's decoder does.
void DecodeUtf8(const unsigned char* p, const unsigned char* end, std::vector<char>* out)
{
    while (p < end) {
        unsigned char lead = *p++;
        if (lead < 0x80) {
            out->push_back((char)lead);
            continue;
        }
        int follow = (lead >= 0xC2 && lead <= 0xDF) ? 1
                     : (lead >= 0xE0 && lead <= 0xEF) ? 2
                     : (lead >= 0xF0 && lead <= 0xF4) ? 3
                                                      : 0;
        if (follow == 0 || p >= end || !IsContinuation(*p)) {
            out->push_back('?');
            continue;
        }
        unsigned char second = *p++;
        uint32_t codePoint = ((uint32_t)lead & (0x3Fu >> follow)) << 6 | (second & 0x3Fu);
        bool broken = (lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
                      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90);
        for (int i = 1; i < follow && !broken; ++i) {
            if (p >= end || !IsContinuation(*p)) {
                broken = true;
                break;
            }
            codePoint = codePoint << 6 | (*p++ & 0x3Fu);
        }
        if (broken) {
            out->push_back('?');
        } else {
            AppendCodePoint(codePoint, out);
        }
    }
}

// A file that starts with a UTF-16 mark is read as UTF-16; a last odd byte counts as a unit.
void DecodeUtf16(const unsigned char* p, const unsigned char* end, bool bigEndian,
                 std::vector<char>* out)
{
    while (p < end) {
        uint32_t unit;
        if (end - p >= 2) {
            unit = bigEndian ? (uint32_t)p[0] << 8 | p[1] : (uint32_t)p[1] << 8 | p[0];
            p += 2;
        } else {
            unit = *p++;
        }
        out->push_back(unit >= 0xD800 && unit <= 0xDFFF ? '?' : UnitToAnsi(unit));
    }
}

// A value enclosed in a matching pair of quotes, ' or ".
bool IsQuoted(CSpan value)
{
    return value.length >= 2 && (value.text[0] == '"' || value.text[0] == '\'') &&
           value.text[value.length - 1] == value.text[0];
}

// Copies a value into the caller's buffer. A value enclosed in a matching pair of quotes ('
// or ") loses them; the closing quote is dropped only when the buffer reached it, so a value
// that exactly fills the buffer loses its last character as well (Wine does this too). A bare
// pair of quotes in a one-byte buffer gives "" here; Wine writes one byte before its buffer.
uint32_t CopyEntry(CSpan value, char* buffer, uint32_t bufferSize)
{
    if (bufferSize == 0 || !buffer) return 0;
    bool quoted = IsQuoted(value);
    if (quoted) {
        ++value.text;
        --value.length;  // the closing quote is still counted
    }
    size_t copied = value.length < bufferSize - 1 ? value.length : bufferSize - 1;
    memcpy(buffer, value.text, copied);
    if (quoted && bufferSize >= value.length && copied > 0) --copied;
    buffer[copied] = '\0';
    return (uint32_t)copied;
}

// The default loses trailing spaces (never its first character) and then is copied like a
// value, quotes included.
uint32_t CopyDefault(const char* defaultValue, char* buffer, uint32_t bufferSize)
{
    if (!defaultValue) defaultValue = "";
    size_t length = strlen(defaultValue);
    while (length > 1 && defaultValue[length - 1] == ' ') --length;
    return CopyEntry(CSpan{defaultValue, length}, buffer, bufferSize);
}

}  // namespace

uint32_t ReadProfileString(const char* data, size_t size, const char* section, const char* key,
                           const char* defaultValue, char* buffer, uint32_t bufferSize,
                           bool* quoted)
{
    if (quoted) *quoted = false;
    // Listing the sections or keys (a null name) is not a read this program makes.
    if (!section || !key) return CopyDefault(defaultValue, buffer, bufferSize);
    if (!data) size = 0;

    // A file with a UTF-8 or UTF-16 mark is read through its decoded text; any other file is
    // taken as bytes of the ANSI code page.
    std::vector<char> decoded;
    const unsigned char* bytes = (const unsigned char*)data;
    const char* text = data;
    size_t textSize = size;
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        DecodeUtf8(bytes + 3, bytes + size, &decoded);
        text = decoded.data();
        textSize = decoded.size();
    } else if (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) ||
                             (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        DecodeUtf16(bytes + 2, bytes + size, bytes[0] == 0xFE, &decoded);
        text = decoded.data();
        textSize = decoded.size();
    }

    CSpan wantedSection = Trim(section, section + strlen(section));
    CSpan wantedKey = Trim(key, key + strlen(key));

    // Lines before the first header belong to a section without a name, which always comes
    // first; only the first section of a name is searched, and in it the first key of a name.
    bool inSection = wantedSection.length == 0;
    bool sectionSeen = inSection;
    const char* end = text + textSize;
    const char* lineStart = text;
    while (lineStart < end) {
        const char* lineEnd = lineStart;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
        CSpan line = Trim(lineStart, lineEnd);
        lineStart = lineEnd < end ? lineEnd + 1 : end;
        if (line.length == 0) continue;

        // A header's name ends at its last ']'; text after it is ignored. A line that opens
        // with '[' but has no ']' is an ordinary key line ("[Open=5" is the key "[Open").
        const char* close = nullptr;
        if (line.text[0] == '[') {
            for (const char* p = line.text + line.length - 1; p > line.text; --p) {
                if (*p == ']') {
                    close = p;
                    break;
                }
            }
        }
        if (close) {
            if (sectionSeen) break;
            CSpan name = CutAtZero(Trim(line.text + 1, close));
            inSection = NamesEqual(name, wantedSection);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection) continue;

        const char* equals = (const char*)memchr(line.text, '=', line.length);
        const char* lineLast = line.text + line.length;
        CSpan name = CutAtZero(Trim(line.text, equals ? equals : lineLast));
        if (!NamesEqual(name, wantedKey)) continue;
        // A key without '=' has no value: it reads as missing, and hides later keys of its name.
        if (!equals) break;
        CSpan value = CutAtZero(Trim(equals + 1, lineLast));
        if (quoted) *quoted = IsQuoted(value);
        return CopyEntry(value, buffer, bufferSize);
    }
    return CopyDefault(defaultValue, buffer, bufferSize);
}
