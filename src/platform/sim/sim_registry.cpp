// The simulated registry: key tree, handle table, Windows call semantics and REGEDIT4 text.
#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

typedef std::shared_ptr<CSimRegistry::CNode> CNodePtr;

// Registry names are limited to 255 characters per key.
const size_t SIM_REG_MAX_KEY_NAME = 255;

char FoldCase(char c)
{
    // Only ASCII letters fold; other bytes of the code page compare exactly.
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int CompareNoCase(const std::string& a, const std::string& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(FoldCase(a[i]));
        unsigned char cb = static_cast<unsigned char>(FoldCase(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int FindChild(const CSimRegistry::CNode& node, const std::string& name)
{
    for (size_t i = 0; i < node.children.size(); ++i) {
        if (CompareNoCase(node.children[i]->name, name) == 0) return static_cast<int>(i);
    }
    return -1;
}

int FindValue(const CSimRegistry::CNode& node, const std::string& name)
{
    for (size_t i = 0; i < node.values.size(); ++i) {
        if (CompareNoCase(node.values[i].name, name) == 0) return static_cast<int>(i);
    }
    return -1;
}

CNodePtr AddChild(CSimRegistry::CNode* node, const std::string& name)
{
    CNodePtr child = std::make_shared<CSimRegistry::CNode>();
    child->name = name;
    auto pos = node->children.begin();
    while (pos != node->children.end() && CompareNoCase((*pos)->name, name) < 0) ++pos;
    node->children.insert(pos, child);
    return child;
}

void MarkDeleted(CSimRegistry::CNode* node)
{
    node->deleted = true;
    for (const CNodePtr& child : node->children) MarkDeleted(child.get());
}

// Splits a subkey path into its names. Empty names (doubled or trailing backslashes) are
// skipped; a leading backslash or an over-long name makes the path malformed.
bool SplitPath(const char* subKey, std::vector<std::string>* parts)
{
    parts->clear();
    if (!subKey || !*subKey) return true;
    if (subKey[0] == '\\') return false;
    const char* p = subKey;
    while (*p) {
        const char* end = strchr(p, '\\');
        size_t len = end ? static_cast<size_t>(end - p) : strlen(p);
        if (len > SIM_REG_MAX_KEY_NAME) return false;
        if (len > 0) parts->push_back(std::string(p, len));
        p += len;
        if (*p == '\\') ++p;
    }
    return true;
}

void SetNodeValue(CSimRegistry::CNode* node, const std::string& name, uint32_t type,
                  const uint8_t* data, size_t size)
{
    int i = FindValue(*node, name);
    if (i < 0) {
        node->values.push_back(CSimRegistry::CValue());
        i = static_cast<int>(node->values.size()) - 1;
        node->values[i].name = name;
    }
    node->values[i].type = type;
    node->values[i].data.assign(data, data + size);
}

// ---- REGEDIT4 reading ----

enum COpKind { OP_KEY, OP_DELETE_KEY, OP_SET_VALUE, OP_DELETE_VALUE };

// One change a .reg file asks for; applied only after the whole text has parsed.
struct COp {
    COpKind kind;
    int line;
    CNodePtr* root;
    std::vector<std::string> path;
    std::string name;
    uint32_t type;
    std::vector<uint8_t> data;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p)) ++p;
    return p;
}

// Nothing but blanks or a comment may follow a value.
bool AtLineEnd(const char* p)
{
    p = SkipBlanks(p);
    return *p == '\0' || *p == ';';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code points of Windows-1252 bytes 0x80-0x9F; 0 where the byte has no character.
const uint16_t SIM_CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// One UTF-16 code unit as the ANSI code page (Windows-1252) byte; '?' when it has none, as
// the ANSI registry calls substitute.
char AnsiFromUnit(uint16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i) {
        if (SIM_CP1252_HIGH[i] == unit) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// UTF-16LE bytes as ANSI bytes; an odd last byte is dropped.
std::string AnsiFromUtf16(const uint8_t* data, size_t size)
{
    std::string out;
    for (size_t i = 0; i + 1 < size; i += 2) {
        out.push_back(AnsiFromUnit(static_cast<uint16_t>(data[i] | data[i + 1] << 8)));
    }
    return out;
}

// A quoted text starting after its opening quote; *p is left after the closing quote.
// \\ \" \n \r \0 are escapes; any other backslash stands for itself, as regedit reads it.
bool ParseQuoted(const char** p, std::string* out)
{
    const char* s = *p;
    out->clear();
    for (;;) {
        char c = *s++;
        if (c == '\0') return false;
        if (c == '"') break;
        if (c == '\\') {
            char e = *s;
            if (e == '\\' || e == '"') {
                out->push_back(e);
                ++s;
            } else if (e == 'n') {
                out->push_back('\n');
                ++s;
            } else if (e == 'r') {
                out->push_back('\r');
                ++s;
            } else if (e == '0') {
                out->push_back('\0');
                ++s;
            } else {
                out->push_back('\\');
            }
            continue;
        }
        out->push_back(c);
    }
    *p = s;
    return true;
}

bool StartsWith(const char* s, const char* prefix)
{
    return strncmp(s, prefix, strlen(prefix)) == 0;
}

bool StartsWithNoCase(const char* s, const char* prefix)
{
    for (; *prefix; ++s, ++prefix) {
        if (FoldCase(*s) != FoldCase(*prefix)) return false;
    }
    return true;
}

// The root named at the start of a section's key path; *rest is left after it. mapped
// receives the path prefix a root maps to (HKEY_CLASSES_ROOT lives in HKLM), root null for a
// root that this machine does not keep (its sections are read and dropped).
bool ParseRoot(const char* keyPath, CNodePtr* currentUser, CNodePtr* localMachine,
               CNodePtr** root, const char** mapped, const char** rest)
{
    struct CRootName {
        const char* name;
        int which;  // 0 HKCU, 1 HKLM, 2 classes (in HKLM), 3 not kept
    };
    static const CRootName ROOTS[] = {
        {"HKEY_CURRENT_USER", 0}, {"HKCU", 0},          {"HKEY_LOCAL_MACHINE", 1},
        {"HKLM", 1},              {"HKEY_CLASSES_ROOT", 2}, {"HKCR", 2},
        {"HKEY_USERS", 3},        {"HKU", 3},           {"HKEY_CURRENT_CONFIG", 3},
        {"HKCC", 3},              {"HKEY_DYN_DATA", 3},
    };
    for (const CRootName& r : ROOTS) {
        size_t n = strlen(r.name);
        if (!StartsWithNoCase(keyPath, r.name)) continue;
        if (keyPath[n] != '\0' && keyPath[n] != '\\') continue;
        *rest = keyPath[n] == '\\' ? keyPath + n + 1 : keyPath + n;
        *mapped = "";
        switch (r.which) {
        case 0: *root = currentUser; break;
        case 1: *root = localMachine; break;
        case 2: *root = localMachine; *mapped = "Software\\Classes"; break;
        default: *root = nullptr; break;
        }
        return true;
    }
    return false;
}

class CRegTextParser {
public:
    CRegTextParser(CNodePtr* currentUser, CNodePtr* localMachine)
        : currentUser(currentUser), localMachine(localMachine)
    {
    }

    bool Parse(const char* text, FixedText<256>* error);
    std::vector<COp> ops;

private:
    bool Fail(int line, const char* what);
    bool ParseSection(const char* s, int line);
    bool ParseValue(const char* s, int line, size_t* nextLine);
    bool ParseHexList(std::string* text, int line, std::vector<uint8_t>* bytes);

    CNodePtr* currentUser;
    CNodePtr* localMachine;
    std::vector<std::string> lines;
    // The section values go to: sectionState 0 none yet, 1 a kept key, 2 dropped (a deleted
    // key or a root not kept).
    int sectionState = 0;
    CNodePtr* sectionRoot = nullptr;
    std::vector<std::string> sectionPath;
    FixedText<256>* error = nullptr;
    // The regedit 5 form: its hex(1), hex(2) and hex(7) texts are UTF-16.
    bool unicode = false;
};

bool CRegTextParser::Fail(int line, const char* what)
{
    if (error) error->Format("line %d: %s", line, what);
    return false;
}

bool CRegTextParser::Parse(const char* text, FixedText<256>* errorOut)
{
    error = errorOut;
    if (error) error->Clear();
    if (!text) return Fail(1, "missing REGEDIT4 header");
    const char* p = text;
    if (StartsWith(p, "\xEF\xBB\xBF")) p += 3;  // a byte-order mark some editors write
    while (*p) {
        const char* end = strchr(p, '\n');
        size_t len = end ? static_cast<size_t>(end - p) : strlen(p);
        std::string line(p, len);
        while (!line.empty() && (line.back() == '\r' || IsBlank(line.back()))) line.pop_back();
        lines.push_back(line);
        p += len;
        if (*p == '\n') ++p;
    }

    bool header = false;
    size_t i = 0;
    while (i < lines.size()) {
        int lineNo = static_cast<int>(i) + 1;
        const char* s = SkipBlanks(lines[i].c_str());
        if (*s == '\0') {
            ++i;
            continue;
        }
        if (!header) {
            unicode = strcmp(s, "Windows Registry Editor Version 5.00") == 0;
            if (!unicode && strcmp(s, "REGEDIT4") != 0) {
                return Fail(lineNo, "missing REGEDIT4 header");
            }
            header = true;
            ++i;
            continue;
        }
        if (*s == ';' || *s == '#') {
            ++i;
            continue;
        }
        if (*s == '[') {
            if (!ParseSection(s, lineNo)) return false;
            ++i;
            continue;
        }
        if (*s == '"' || *s == '@') {
            size_t next = i + 1;
            if (!ParseValue(s, lineNo, &next)) return false;
            i = next;
            continue;
        }
        return Fail(lineNo, "not a key, a value or a comment");
    }
    if (!header) return Fail(1, "missing REGEDIT4 header");
    return true;
}

bool CRegTextParser::ParseSection(const char* s, int line)
{
    const char* close = strrchr(s, ']');
    if (!close) return Fail(line, "key without closing ]");
    std::string keyPath(s + 1, close - s - 1);
    bool remove = !keyPath.empty() && keyPath[0] == '-';
    if (remove) keyPath.erase(0, 1);

    CNodePtr* root = nullptr;
    const char* mapped = "";
    const char* rest = "";
    if (!ParseRoot(keyPath.c_str(), currentUser, localMachine, &root, &mapped, &rest)) {
        return Fail(line, "unknown root key");
    }
    std::vector<std::string> path, tail;
    if (!SplitPath(mapped, &path) || !SplitPath(rest, &tail)) {
        return Fail(line, "malformed key path");
    }
    path.insert(path.end(), tail.begin(), tail.end());

    if (!root) {
        sectionState = 2;
        return true;
    }
    COp op;
    op.line = line;
    op.root = root;
    op.path = path;
    op.type = REG_TYPE_NONE;
    if (remove) {
        if (path.empty()) return Fail(line, "a root key cannot be deleted");
        op.kind = OP_DELETE_KEY;
        // Values under a deleted key are dropped, as regedit does.
        sectionState = 2;
    } else {
        op.kind = OP_KEY;
        sectionState = 1;
        sectionRoot = root;
        sectionPath = path;
    }
    ops.push_back(op);
    return true;
}

bool CRegTextParser::ParseHexList(std::string* text, int line, std::vector<uint8_t>* bytes)
{
    const char* p = text->c_str();
    bytes->clear();
    for (;;) {
        p = SkipBlanks(p);
        if (*p == '\0' || *p == ';') return true;
        int hi = HexDigit(*p);
        if (hi < 0) return Fail(line, "bad hex byte");
        int value = hi;
        ++p;
        int lo = HexDigit(*p);
        if (lo >= 0) {
            value = hi * 16 + lo;
            ++p;
        }
        bytes->push_back(static_cast<uint8_t>(value));
        p = SkipBlanks(p);
        if (*p == ',') {
            ++p;
        } else if (*p != '\0' && *p != ';') {
            return Fail(line, "bad hex byte");
        }
    }
}

bool CRegTextParser::ParseValue(const char* s, int line, size_t* nextLine)
{
    if (sectionState == 0) return Fail(line, "value before the first key");
    std::string name;
    if (*s == '@') {
        ++s;
    } else {
        ++s;
        if (!ParseQuoted(&s, &name)) return Fail(line, "value name without closing quote");
    }
    s = SkipBlanks(s);
    if (*s != '=') return Fail(line, "value without =");
    s = SkipBlanks(s + 1);

    COp op;
    op.line = line;
    op.root = sectionRoot;
    op.path = sectionPath;
    op.name = name;
    op.kind = OP_SET_VALUE;
    op.type = REG_TYPE_NONE;

    if (*s == '-') {
        if (!AtLineEnd(s + 1)) return Fail(line, "text after value deletion");
        op.kind = OP_DELETE_VALUE;
    } else if (*s == '"') {
        ++s;
        std::string value;
        if (!ParseQuoted(&s, &value)) return Fail(line, "string without closing quote");
        if (!AtLineEnd(s)) return Fail(line, "text after string");
        op.type = REG_TYPE_SZ;
        op.data.assign(value.begin(), value.end());
        op.data.push_back(0);
    } else if (StartsWithNoCase(s, "dword:")) {
        s += 6;
        uint32_t value = 0;
        int digits = 0;
        for (; HexDigit(*s) >= 0; ++s, ++digits) value = value * 16 + HexDigit(*s);
        if (digits == 0 || digits > 8 || !AtLineEnd(s)) return Fail(line, "bad dword");
        op.type = REG_TYPE_DWORD;
        for (int b = 0; b < 4; ++b) op.data.push_back(static_cast<uint8_t>(value >> (8 * b)));
    } else if (StartsWithNoCase(s, "hex")) {
        s += 3;
        uint32_t type = REG_TYPE_BINARY;
        if (*s == '(') {
            ++s;
            uint32_t t = 0;
            int digits = 0;
            for (; HexDigit(*s) >= 0; ++s, ++digits) t = t * 16 + HexDigit(*s);
            if (digits == 0 || digits > 8 || *s != ')') return Fail(line, "bad hex type");
            ++s;
            type = t;
        }
        if (*s != ':') return Fail(line, "unknown value type");
        ++s;
        // Continued lines end in a backslash; the next line's leading blanks are dropped.
        std::string list(s);
        while (!list.empty() && list.back() == '\\') {
            list.pop_back();
            if (*nextLine >= lines.size()) break;
            list += SkipBlanks(lines[*nextLine].c_str());
            ++*nextLine;
        }
        if (!ParseHexList(&list, line, &op.data)) return false;
        op.type = type;
        if (unicode && (type == REG_TYPE_SZ || type == 2 || type == 7)) {
            // The ANSI calls see these texts in the code page.
            std::string text = AnsiFromUtf16(op.data.data(), op.data.size());
            op.data.assign(text.begin(), text.end());
        }
    } else {
        return Fail(line, "unknown value type");
    }
    if (sectionState == 1) ops.push_back(op);
    return true;
}

// ---- REGEDIT4 writing ----

void AppendEscaped(std::string* out, const std::string& text)
{
    for (char c : text) {
        switch (c) {
        case '\\': *out += "\\\\"; break;
        case '"': *out += "\\\""; break;
        case '\n': *out += "\\n"; break;
        case '\r': *out += "\\r"; break;
        default: out->push_back(c); break;
        }
    }
}

// A REG_SZ that is exactly one text and its terminating zero is written as a string.
bool IsPlainString(const CSimRegistry::CValue& v)
{
    if (v.type != REG_TYPE_SZ || v.data.empty() || v.data.back() != 0) return false;
    return std::find(v.data.begin(), v.data.end() - 1, 0) == v.data.end() - 1;
}

void AppendValue(std::string* out, const CSimRegistry::CValue& v)
{
    std::string line;
    if (v.name.empty()) {
        line = "@=";
    } else {
        line = "\"";
        AppendEscaped(&line, v.name);
        line += "\"=";
    }
    char buf[32];
    if (IsPlainString(v)) {
        line += "\"";
        AppendEscaped(&line, std::string(v.data.begin(), v.data.end() - 1));
        line += "\"";
    } else if (v.type == REG_TYPE_DWORD && v.data.size() == 4) {
        uint32_t value = v.data[0] | v.data[1] << 8 | v.data[2] << 16 |
                         static_cast<uint32_t>(v.data[3]) << 24;
        snprintf(buf, sizeof(buf), "dword:%08x", value);
        line += buf;
    } else {
        if (v.type == REG_TYPE_BINARY) {
            line += "hex:";
        } else {
            snprintf(buf, sizeof(buf), "hex(%x):", v.type);
            line += buf;
        }
        // Wrapped as regedit wraps it: about 80 columns, continuation lines indented by two.
        size_t column = line.size();
        for (size_t i = 0; i < v.data.size(); ++i) {
            snprintf(buf, sizeof(buf), "%02x", v.data[i]);
            line += buf;
            if (i + 1 == v.data.size()) break;
            line += ",";
            column += 3;
            if (column >= 77) {
                line += "\\\n  ";
                column = 2;
            }
        }
    }
    *out += line;
    *out += "\n";
}

void AppendKey(std::string* out, const CSimRegistry::CNode& node, const std::string& path,
               bool isRoot)
{
    if (!isRoot || !node.values.empty()) {
        *out += "\n[" + path + "]\n";
        std::vector<const CSimRegistry::CValue*> sorted;
        for (const CSimRegistry::CValue& v : node.values) sorted.push_back(&v);
        std::sort(sorted.begin(), sorted.end(),
                  [](const CSimRegistry::CValue* a, const CSimRegistry::CValue* b) {
                      return CompareNoCase(a->name, b->name) < 0;
                  });
        for (const CSimRegistry::CValue* v : sorted) AppendValue(out, *v);
    }
    for (const CNodePtr& child : node.children) {
        AppendKey(out, *child, path + "\\" + child->name, false);
    }
}

}  // namespace

CSimRegistry::CSimRegistry() : nextHandle(0x100), flushes(0)
{
    Clear();
}

void CSimRegistry::Clear()
{
    if (currentUser) MarkDeleted(currentUser.get());
    if (localMachine) MarkDeleted(localMachine.get());
    currentUser = std::make_shared<CNode>();
    currentUser->name = "HKEY_CURRENT_USER";
    localMachine = std::make_shared<CNode>();
    localMachine->name = "HKEY_LOCAL_MACHINE";
}

std::shared_ptr<CSimRegistry::CNode> CSimRegistry::Resolve(RegKey key) const
{
    if (key == REG_HKEY_CURRENT_USER) return currentUser;
    if (key == REG_HKEY_LOCAL_MACHINE) return localMachine;
    auto it = handles.find(key);
    if (it == handles.end() || it->second->deleted) return nullptr;
    return it->second;
}

std::shared_ptr<CSimRegistry::CNode> CSimRegistry::Walk(const std::shared_ptr<CNode>& node,
                                                        const char* subKey, bool create)
{
    std::vector<std::string> parts;
    if (!node || node->deleted || !SplitPath(subKey, &parts)) return nullptr;
    CNodePtr at = node;
    for (const std::string& part : parts) {
        int i = FindChild(*at, part);
        if (i >= 0) {
            at = at->children[i];
        } else if (create) {
            at = AddChild(at.get(), part);
        } else {
            return nullptr;
        }
    }
    return at;
}

RegKey CSimRegistry::NewHandle(const std::shared_ptr<CNode>& node)
{
    // Never reused, so a key used after closing fails instead of reaching another key.
    RegKey key = nextHandle;
    nextHandle += 4;
    handles[key] = node;
    return key;
}

bool CSimRegistry::OpenKey(RegKey parent, const char* subKey, RegKey* out)
{
    if (!out) return false;
    CNodePtr node = Walk(Resolve(parent), subKey, false);
    if (!node) return false;
    *out = NewHandle(node);
    return true;
}

bool CSimRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* out)
{
    if (!out) return false;
    CNodePtr existing = Walk(Resolve(parent), subKey, false);
    CNodePtr node = existing ? existing : Walk(Resolve(parent), subKey, true);
    if (!node) return false;
    *out = NewHandle(node);
    if (!existing && writeHook) writeHook();
    return true;
}

bool CSimRegistry::QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                              uint32_t* size)
{
    CNodePtr node = Resolve(key);
    if (!node) return false;
    // A buffer without its size cannot be filled (ERROR_INVALID_PARAMETER).
    if (data && !size) return false;
    int i = FindValue(*node, name ? name : "");
    if (i < 0) return false;
    const CValue& v = node->values[i];
    uint32_t needed = static_cast<uint32_t>(v.data.size());
    if (type) *type = v.type;
    if (data && *size < needed) {
        *size = needed;  // ERROR_MORE_DATA: the size the value needs
        return false;
    }
    if (data && needed > 0) memcpy(data, v.data.data(), needed);
    if (size) *size = needed;
    return true;
}

bool CSimRegistry::SetValue(RegKey key, const char* name, uint32_t type, const uint8_t* data,
                            uint32_t size)
{
    CNodePtr node = Resolve(key);
    if (!node || (!data && size > 0)) return false;
    SetNodeValue(node.get(), name ? name : "", type, data, size);
    if (writeHook) writeHook();
    return true;
}

bool CSimRegistry::DeleteValue(RegKey key, const char* name)
{
    CNodePtr node = Resolve(key);
    if (!node) return false;
    int i = FindValue(*node, name ? name : "");
    if (i < 0) return false;
    node->values.erase(node->values.begin() + i);
    if (writeHook) writeHook();
    return true;
}

bool CSimRegistry::DeleteKey(RegKey parent, const char* subKey)
{
    std::vector<std::string> parts;
    if (!subKey || !SplitPath(subKey, &parts) || parts.empty()) return false;
    std::string last = parts.back();
    parts.pop_back();
    CNodePtr at = Resolve(parent);
    if (!at) return false;
    for (const std::string& part : parts) {
        int i = FindChild(*at, part);
        if (i < 0) return false;
        at = at->children[i];
    }
    int i = FindChild(*at, last);
    if (i < 0) return false;
    CNodePtr target = at->children[i];
    if (!target->children.empty()) return false;
    target->deleted = true;
    at->children.erase(at->children.begin() + i);
    if (writeHook) writeHook();
    return true;
}

bool CSimRegistry::FlushKey(RegKey key)
{
    if (!Resolve(key)) return false;
    ++flushes;
    return true;
}

void CSimRegistry::CloseKey(RegKey key)
{
    handles.erase(key);
}

bool CSimRegistry::SubKeyCount(RegKey key, uint32_t* count)
{
    CNodePtr node = Resolve(key);
    if (!node || !count) return false;
    *count = static_cast<uint32_t>(node->children.size());
    return true;
}

bool CSimRegistry::EnumSubKey(RegKey key, uint32_t index, char* name, uint32_t size)
{
    CNodePtr node = Resolve(key);
    if (!node || !name || index >= node->children.size()) return false;
    const std::string& childName = node->children[index]->name;
    if (childName.size() + 1 > size) return false;
    memcpy(name, childName.c_str(), childName.size() + 1);
    return true;
}

bool CSimRegistry::LoadRegText(const char* text, FixedText<256>* error)
{
    CRegTextParser parser(&currentUser, &localMachine);
    if (!parser.Parse(text, error)) return false;
    for (const COp& op : parser.ops) {
        CNodePtr at = *op.root;
        if (op.kind == OP_DELETE_KEY) {
            // The whole subtree goes, as [-KEY] removes it.
            for (size_t k = 0; at && k + 1 < op.path.size(); ++k) {
                int i = FindChild(*at, op.path[k]);
                at = i < 0 ? nullptr : at->children[i];
            }
            if (!at) continue;
            int i = FindChild(*at, op.path.back());
            if (i < 0) continue;
            MarkDeleted(at->children[i].get());
            at->children.erase(at->children.begin() + i);
            continue;
        }
        for (const std::string& part : op.path) {
            int i = FindChild(*at, part);
            at = i >= 0 ? at->children[i] : AddChild(at.get(), part);
        }
        if (op.kind == OP_SET_VALUE) {
            SetNodeValue(at.get(), op.name, op.type, op.data.data(), op.data.size());
        } else if (op.kind == OP_DELETE_VALUE) {
            int i = FindValue(*at, op.name);
            if (i >= 0) at->values.erase(at->values.begin() + i);
        }
    }
    return true;
}

bool CSimRegistry::LoadRegFile(const char* hostPath, FixedText<256>* error)
{
    FILE* f = hostPath ? fopen(hostPath, "rb") : nullptr;
    if (!f) {
        if (error) error->Format("cannot read %s", hostPath ? hostPath : "(null)");
        return false;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) text.append(buf, n);
    fclose(f);
    if (text.size() >= 2 && text[0] == '\xFF' && text[1] == '\xFE') {
        // Regedit 5 (and wine regedit /e) write UTF-16LE; the registry keeps ANSI here.
        text = AnsiFromUtf16(reinterpret_cast<const uint8_t*>(text.data()) + 2, text.size() - 2);
    }
    if (text.find('\0') != std::string::npos) {
        if (error) error->Format("line 1: neither ANSI nor UTF-16LE text");
        return false;
    }
    return LoadRegText(text.c_str(), error);
}

std::string CSimRegistry::SaveRegText() const
{
    std::string out = "REGEDIT4\n";
    AppendKey(&out, *currentUser, "HKEY_CURRENT_USER", true);
    AppendKey(&out, *localMachine, "HKEY_LOCAL_MACHINE", true);
    out += "\n";
    return out;
}

bool CSimRegistry::SaveRegFile(const char* hostPath) const
{
    FILE* f = hostPath ? fopen(hostPath, "wb") : nullptr;
    if (!f) return false;
    std::string text = SaveRegText();
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = fclose(f) == 0 && ok;
    return ok;
}
