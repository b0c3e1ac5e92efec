// Query lists for the profile-read dumps: parsing of one query line and the one-line report,
// shared by the Windows dumper and the native one so both print byte-identical lines.
#pragma once

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// One query: section, key, buffer size and (optionally) a default value. A null default is
// passed as a null pointer.
struct CProfileQuery {
    std::string section;
    std::string key;
    std::string defaultValue;
    bool hasDefault = false;
    unsigned size = 0;
};

// Undoes the escapes of a query field: \\ \t \r \n \xHH; anything else stays as written.
inline std::string UnescapeQueryField(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c != '\\' || i + 1 >= field.size()) {
            out += c;
            continue;
        }
        char next = field[i + 1];
        if (next == '\\') { out += '\\'; ++i; }
        else if (next == 't') { out += '\t'; ++i; }
        else if (next == 'r') { out += '\r'; ++i; }
        else if (next == 'n') { out += '\n'; ++i; }
        else if (next == 'x' && i + 3 < field.size() &&
                 isxdigit((unsigned char)field[i + 2]) &&
                 isxdigit((unsigned char)field[i + 3])) {
            char hex[3] = {field[i + 2], field[i + 3], 0};
            out += (char)strtoul(hex, nullptr, 16);
            i += 3;
        } else {
            out += c;
        }
    }
    return out;
}

// A query line is "section<TAB>key<TAB>size[<TAB>default]"; lines starting with '#' and blank
// lines are skipped (false). A line with too few fields is skipped as well.
inline bool ParseQueryLine(std::string line, CProfileQuery* query)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.empty() || line[0] == '#') return false;
    std::string fields[4];
    int count = 0;
    size_t start = 0;
    while (count < 4) {
        size_t tab = line.find('\t', start);
        if (tab == std::string::npos || count == 3) {
            fields[count++] = line.substr(start);
            break;
        }
        fields[count++] = line.substr(start, tab - start);
        start = tab + 1;
    }
    if (count < 3) return false;
    query->section = UnescapeQueryField(fields[0]);
    query->key = UnescapeQueryField(fields[1]);
    query->size = (unsigned)strtoul(fields[2].c_str(), nullptr, 10);
    query->hasDefault = count == 4;
    query->defaultValue = query->hasDefault ? UnescapeQueryField(fields[3]) : std::string();
    return true;
}

// Printable ASCII stays; backslash and everything else become \\ or \xHH.
inline std::string EscapeForReport(const char* text, size_t length)
{
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = (unsigned char)text[i];
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += (char)c;
        } else {
            char hex[5];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// "section<TAB>key<TAB>size<TAB>return<TAB>text[<TAB>default=...]". The buffer is size + 1
// bytes pre-filled with '~'; the text shown is what lies before the first zero within size bytes, or "<unterminated>"
// when the call left no zero there; with size 0 the text is "<untouched>" or "<written>".
inline std::string FormatQueryReport(const CProfileQuery& query, unsigned result,
                                     const char* buffer)
{
    std::string text;
    if (query.size == 0) {
        text = buffer[0] == '~' ? "<untouched>" : "<written>";
    } else {
        const void* zero = memchr(buffer, '\0', query.size);
        if (!zero) {
            text = "<unterminated>";
        } else {
            text = "\"" + EscapeForReport(buffer, (const char*)zero - buffer) + "\"";
        }
    }
    char head[64];
    snprintf(head, sizeof head, "\t%u\t%u\t", query.size, result);
    return EscapeForReport(query.section.data(), query.section.size()) + "\t" +
           EscapeForReport(query.key.data(), query.key.size()) + head + text +
           (query.hasDefault ? "\tdefault=" +
                                   EscapeForReport(query.defaultValue.data(),
                                                   query.defaultValue.size())
                             : std::string());
}

// Runs every query of the list file queriesPath through read, which answers one query like
// GetPrivateProfileStringA (into a buffer of query.size bytes), and prints each report line.
// read is called as read(query, buffer) and returns the reported length. Returns the exit
// status: 2 when the list cannot be opened, else 0.
template <typename ReadQuery>
int DumpQueryFile(const char* program, const char* queriesPath, ReadQuery read)
{
    FILE* queries = fopen(queriesPath, "rb");
    if (!queries) {
        fprintf(stderr, "%s: cannot open %s\n", program, queriesPath);
        return 2;
    }
    std::string line;
    int c;
    bool more = true;
    while (more) {
        line.clear();
        while ((c = fgetc(queries)) != EOF && c != '\n') line += (char)c;
        more = c != EOF;
        CProfileQuery query;
        if (!ParseQueryLine(line, &query)) continue;
        // One guard byte past the buffer shows a reader that writes beyond its size.
        std::vector<char> buffer(query.size + 1, '~');
        unsigned result = read(query, buffer.data());
        printf("%s\n", FormatQueryReport(query, result, buffer.data()).c_str());
    }
    fclose(queries);
    fflush(stdout);
    return 0;
}
