// Reading a board description: one device a line, `#` comments; the first malformed line is
// reported with its number so that a CD author knows what to mend.
#include <cstdio>
#include <cstring>
#include <string>

#include "board/board.h"

// One line split into its keyword, its bare words and its key=value pairs.
struct CBoardToken {
    std::string key;
    std::string value;
};

struct CBoardTokens {
    std::string keyword;
    std::vector<std::string> words;
    std::vector<CBoardToken> pairs;
};

namespace {

const uint32_t BOARD_MAX_MEMORY_KB = 4194303;  // the 32-bit memory status holds under 4 GiB
const uint32_t BOARD_AMI_TEXT_READ = 254;      // the bytes the program reads after the filler
const size_t BOARD_IMAGE_FILE_FULL = 0x10000;  // a whole 64 KiB dump is accepted as well

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A decimal or 0x-prefixed hexadecimal number no larger than max; nothing else is accepted.
bool ParseNumber(const std::string& s, uint32_t max, uint32_t* out)
{
    size_t i = 0;
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i >= s.size()) return false;
    uint64_t value = 0;
    for (; i < s.size(); ++i) {
        int digit = base == 16 ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (digit < 0) return false;
        value = value * base + (uint64_t)digit;
        if (value > max) return false;
    }
    *out = (uint32_t)value;
    return true;
}

// Comma-separated bytes, 1 to BOARD_MAX_SEQUENCE of them.
bool ParseByteList(const std::string& s, uint8_t* out, int* count)
{
    int n = 0;
    size_t start = 0;
    while (true) {
        size_t comma = s.find(',', start);
        std::string item = s.substr(start, comma == std::string::npos ? std::string::npos
                                                                        : comma - start);
        uint32_t value = 0;
        if (n >= BOARD_MAX_SEQUENCE || !ParseNumber(item, 0xFF, &value)) return false;
        out[n++] = (uint8_t)value;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    *count = n;
    return true;
}

// "BB:DD.F" in hexadecimal, as lspci prints it.
bool ParsePciAddress(const std::string& s, uint8_t* bus, uint8_t* device, uint8_t* function)
{
    size_t colon = s.find(':');
    size_t dot = s.find('.');
    if (colon == std::string::npos || dot == std::string::npos || dot < colon) return false;
    uint32_t b = 0, d = 0, f = 0;
    std::string bs = s.substr(0, colon);
    std::string ds = s.substr(colon + 1, dot - colon - 1);
    std::string fs = s.substr(dot + 1);
    if (bs.empty() || ds.empty() || fs.empty() || bs.size() > 2 || ds.size() > 2 || fs.size() > 1)
        return false;
    if (!ParseNumber("0x" + bs, 0xFF, &b) || !ParseNumber("0x" + ds, 0x1F, &d) ||
        !ParseNumber("0x" + fs, 7, &f))
        return false;
    *bus = (uint8_t)b;
    *device = (uint8_t)d;
    *function = (uint8_t)f;
    return true;
}

// Splits a line into words; a value may be quoted ("..." with \" \\ and \xHH escapes) so that
// it can hold spaces and `#`. Outside quotes `#` starts a comment.
bool Tokenize(const char* line, size_t length, CBoardTokens* tokens, FixedText<256>* message)
{
    size_t i = 0;
    bool first = true;
    while (true) {
        while (i < length && IsSpace(line[i])) ++i;
        if (i >= length || line[i] == '#') break;
        std::string word;
        std::string value;
        bool hasValue = false;
        while (i < length && !IsSpace(line[i]) && line[i] != '#') {
            char c = line[i];
            if (c == '=' && !hasValue) {
                hasValue = true;
                ++i;
                continue;
            }
            if (c == '"') {
                if (!hasValue || !value.empty()) {
                    message->Assign("a quote may only open a value (key=\"...\")");
                    return false;
                }
                ++i;
                bool closed = false;
                while (i < length) {
                    char q = line[i++];
                    if (q == '"') {
                        closed = true;
                        break;
                    }
                    if (q != '\\') {
                        value += q;
                        continue;
                    }
                    if (i >= length) break;
                    char e = line[i++];
                    if (e == '\\' || e == '"') {
                        value += e;
                    } else if (e == 'x' && i + 1 < length && HexDigit(line[i]) >= 0 &&
                               HexDigit(line[i + 1]) >= 0) {
                        value += (char)(HexDigit(line[i]) * 16 + HexDigit(line[i + 1]));
                        i += 2;
                    } else {
                        message->Assign("unknown escape in quoted text (use \\\", \\\\ or \\xHH)");
                        return false;
                    }
                }
                if (!closed) {
                    message->Assign("quoted text is not closed");
                    return false;
                }
                if (i < length && !IsSpace(line[i]) && line[i] != '#') {
                    message->Assign("text after a closing quote");
                    return false;
                }
                continue;
            }
            if (hasValue) value += c;
            else word += c;
            ++i;
        }
        if (first) {
            if (hasValue) {
                message->Format("a line must start with a keyword, not '%s='", word.c_str());
                return false;
            }
            tokens->keyword = word;
            first = false;
        } else if (hasValue) {
            if (word.empty()) {
                message->Assign("'=' without a key");
                return false;
            }
            for (const CBoardToken& pair : tokens->pairs) {
                if (pair.key == word) {
                    message->Format("%s: '%s' given twice", tokens->keyword.c_str(),
                                    word.c_str());
                    return false;
                }
            }
            tokens->pairs.push_back(CBoardToken{word, value});
        } else {
            tokens->words.push_back(word);
        }
    }
    return true;
}

// Parses "reg.0xRR" (ldn -1) or "ldnN.0xRR".
bool ParseRegisterKey(const std::string& key, int* ldn, uint32_t* reg)
{
    size_t dot = key.find('.');
    if (dot == std::string::npos) return false;
    std::string head = key.substr(0, dot);
    if (!ParseNumber(key.substr(dot + 1), 0xFF, reg)) return false;
    if (head == "reg") {
        *ldn = -1;
        return true;
    }
    uint32_t n = 0;
    if (head.size() > 3 && head.compare(0, 3, "ldn") == 0 &&
        ParseNumber(head.substr(3), 0xFF, &n)) {
        *ldn = (int)n;
        return true;
    }
    return false;
}

bool ReadWholeFile(const char* path, std::vector<char>* data)
{
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    data->clear();
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) data->insert(data->end(), buffer,
                                                                            buffer + got);
    bool ok = ferror(file) == 0;
    fclose(file);
    return ok;
}

bool IsAbsolutePath(const std::string& path)
{
    if (path.empty()) return false;
    if (path[0] == '/' || path[0] == '\\') return true;
    return path.size() > 1 && path[1] == ':';
}

}  // namespace

bool CBoard::LoadDescription(const char* text, const char* baseDir, FixedText<256>* error)
{
    return LoadBytes(text, text ? strlen(text) : 0, baseDir, error);
}

bool CBoard::LoadFile(const char* path, FixedText<256>* error)
{
    std::vector<char> data;
    if (!path || !ReadWholeFile(path, &data)) {
        Clear();
        if (error) error->Format("cannot read board description '%s'", path ? path : "");
        return false;
    }
    std::string dir(path);
    size_t slash = dir.find_last_of("/\\");
    const char* baseDir = nullptr;
    if (slash != std::string::npos) {
        dir.erase(slash == 0 ? 1 : slash);
        baseDir = dir.c_str();
    }
    return LoadBytes(data.data(), data.size(), baseDir, error);
}

bool CBoard::LoadBytes(const char* data, size_t size, const char* baseDir,
                       FixedText<256>* error)
{
    Clear();
    size_t start = 0;
    int lineNumber = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && data[end] != '\n') ++end;
        ++lineNumber;
        FixedText<256> message;
        bool ok = true;
        if (memchr(data + start, '\0', end - start)) {
            message.Assign("zero byte in the line");
            ok = false;
        } else {
            ok = ParseLine(data + start, end - start, baseDir, &message);
        }
        if (!ok) {
            Clear();
            if (error) error->Format("line %d: %s", lineNumber, message.c_str());
            return false;
        }
        start = end + 1;
    }
    if (error) error->Clear();
    return true;
}

bool CBoard::ParseLine(const char* line, size_t length, const char* baseDir,
                       FixedText<256>* message)
{
    CBoardTokens tokens;
    if (!Tokenize(line, length, &tokens, message)) return false;
    if (tokens.keyword.empty()) return true;  // blank or comment
    if (tokens.keyword == "pci") return ParsePci(tokens, message);
    if (tokens.keyword == "superio") return ParseSuperIo(tokens, message);
    if (tokens.keyword == "bios") return ParseBios(tokens, baseDir, message);
    if (tokens.keyword == "cpu") return ParseCpu(tokens, message);
    if (tokens.keyword == "memory") return ParseMemory(tokens, message);
    message->Format("unknown keyword '%s' (pci, superio, bios, cpu, memory)",
                    tokens.keyword.c_str());
    return false;
}

bool CBoard::ParsePci(const CBoardTokens& tokens, FixedText<256>* message)
{
    CPciFunction fn;
    if (tokens.words.size() != 1 ||
        !ParsePciAddress(tokens.words[0], &fn.bus, &fn.device, &fn.function)) {
        message->Assign("pci: expected one address BB:DD.F (hex bus, device 00-1f, function 0-7)");
        return false;
    }
    for (const CPciFunction& other : pciFunctions) {
        if (other.bus == fn.bus && other.device == fn.device && other.function == fn.function) {
            message->Format("pci: %s is described twice", tokens.words[0].c_str());
            return false;
        }
    }
    bool hasId = false;
    for (const CBoardToken& pair : tokens.pairs) {
        uint32_t value = 0;
        int ldn = 0;
        uint32_t reg = 0;
        if (!ParseNumber(pair.value, 0xFFFFFFFF, &value)) {
            message->Format("pci: bad number '%s' for %s", pair.value.c_str(), pair.key.c_str());
            return false;
        }
        if (pair.key == "id") {
            if (value == 0xFFFFFFFF) {
                message->Assign("pci: id 0xFFFFFFFF reads as an absent function");
                return false;
            }
            fn.config[0x00 / 4] = value;
            hasId = true;
        } else if (pair.key == "class") {
            fn.config[0x08 / 4] = value;
        } else if (pair.key == "subsys") {
            fn.config[0x2C / 4] = value;
        } else if (ParseRegisterKey(pair.key, &ldn, &reg) && ldn < 0) {
            if (reg % 4 != 0) {
                message->Format("pci: register %s is not a dword offset", pair.key.c_str() + 4);
                return false;
            }
            if (reg == 0x00) {
                message->Assign("pci: give dword 0x00 as id=");
                return false;
            }
            fn.config[reg / 4] = value;
        } else {
            message->Format("pci: unknown key '%s' (id, class, subsys, reg.0xRR)",
                            pair.key.c_str());
            return false;
        }
    }
    if (!hasId) {
        message->Assign("pci: id= is missing");
        return false;
    }
    pciFunctions.push_back(fn);
    return true;
}

bool CBoard::ParseSuperIo(const CBoardTokens& tokens, FixedText<256>* message)
{
    uint32_t port = 0;
    if (tokens.words.size() != 1 || !ParseNumber(tokens.words[0], 0xFFFF, &port) ||
        (port != BOARD_SUPERIO_PORT_A && port != BOARD_SUPERIO_PORT_B)) {
        message->Assign("superio: expected the index port 0x2E or 0x4E");
        return false;
    }
    CSuperIoChip& chip = chips[port == BOARD_SUPERIO_PORT_A ? 0 : 1];
    if (chip.present) {
        message->Format("superio: a chip on 0x%02X is described twice", port);
        return false;
    }
    CSuperIoChip fresh;
    fresh.indexPort = (uint16_t)port;
    fresh.deviceRegs.assign(256 * 256, 0);
    bool hasExit = false;
    for (const CBoardToken& pair : tokens.pairs) {
        int ldn = 0;
        uint32_t reg = 0;
        uint32_t value = 0;
        if (pair.key == "key") {
            if (!ParseByteList(pair.value, fresh.key, &fresh.keyLength)) {
                message->Format("superio: bad key '%s' (1 to 8 bytes, comma-separated)",
                                pair.value.c_str());
                return false;
            }
        } else if (pair.key == "exit") {
            hasExit = true;
            if (pair.value.compare(0, 4, "reg.") == 0) {
                size_t colon = pair.value.find(':');
                uint32_t exitReg = 0;
                uint32_t exitValue = 0;
                if (colon == std::string::npos ||
                    !ParseNumber(pair.value.substr(4, colon - 4), 0xFF, &exitReg) ||
                    !ParseNumber(pair.value.substr(colon + 1), 0xFF, &exitValue) ||
                    exitValue == 0) {
                    message->Format("superio: bad exit '%s' (reg.0xRR:0xVV, VV non-zero)",
                                    pair.value.c_str());
                    return false;
                }
                fresh.exitRegister = (uint8_t)exitReg;
                fresh.exitValue = (uint8_t)exitValue;
                fresh.exitLength = 0;
            } else if (!ParseByteList(pair.value, fresh.exitBytes, &fresh.exitLength)) {
                message->Format("superio: bad exit '%s' (bytes or reg.0xRR:0xVV)",
                                pair.value.c_str());
                return false;
            }
        } else if (ParseRegisterKey(pair.key, &ldn, &reg)) {
            if (!ParseNumber(pair.value, 0xFF, &value)) {
                message->Format("superio: bad byte '%s' for %s", pair.value.c_str(),
                                pair.key.c_str());
                return false;
            }
            if (ldn < 0 && reg >= 0x30) {
                message->Format("superio: %s is a logical-device register; write ldnN.0x%02X",
                                pair.key.c_str(), reg);
                return false;
            }
            if (ldn >= 0 && reg < 0x30) {
                message->Format("superio: %s is a global register; write reg.0x%02X",
                                pair.key.c_str(), reg);
                return false;
            }
            if (ldn < 0) fresh.globalRegs[reg] = (uint8_t)value;
            else fresh.deviceRegs[(size_t)ldn * 256 + reg] = (uint8_t)value;
        } else {
            message->Format("superio: unknown key '%s' (key, exit, reg.0xRR, ldnN.0xRR)",
                            pair.key.c_str());
            return false;
        }
    }
    if (fresh.keyLength == 0 || !hasExit) {
        message->Assign("superio: key= and exit= are both needed");
        return false;
    }
    fresh.present = true;
    chip = fresh;
    return true;
}

bool CBoard::ParseBios(const CBoardTokens& tokens, const char* baseDir, FixedText<256>* message)
{
    if (hasBios) {
        message->Assign("bios: only one bios line");
        return false;
    }
    if (!tokens.words.empty()) {
        message->Format("bios: unexpected word '%s'", tokens.words[0].c_str());
        return false;
    }
    const std::string* family = nullptr;
    const std::string* text = nullptr;
    const std::string* marker = nullptr;
    const std::string* image = nullptr;
    for (const CBoardToken& pair : tokens.pairs) {
        if (pair.key == "family") family = &pair.value;
        else if (pair.key == "text") text = &pair.value;
        else if (pair.key == "marker") marker = &pair.value;
        else if (pair.key == "image") image = &pair.value;
        else {
            message->Format("bios: unknown key '%s' (family, text, marker, image)",
                            pair.key.c_str());
            return false;
        }
    }
    if (image) {
        if (family || text || marker) {
            message->Assign("bios: image= stands alone (no family, text or marker)");
            return false;
        }
        std::string path = *image;
        if (!IsAbsolutePath(path) && baseDir && *baseDir) path = std::string(baseDir) + "/" + path;
        std::vector<char> data;
        if (!ReadWholeFile(path.c_str(), &data)) {
            message->Format("bios: cannot read image '%s'", path.c_str());
            return false;
        }
        if (data.size() != BOARD_ROM_SIZE && data.size() != BOARD_IMAGE_FILE_FULL) {
            message->Format("bios: image '%s' has %u bytes, not 0xFFF0 (or 0x10000)",
                            image->c_str(), (unsigned)data.size());
            return false;
        }
        memcpy(rom.data(), data.data(), BOARD_ROM_SIZE);
        hasBios = true;
        return true;
    }
    if (!family || (*family != "ami" && *family != "other")) {
        message->Assign("bios: family=ami, family=other or image=FILE is needed");
        return false;
    }
    bool ami = *family == "ami";
    if (marker && !ami) {
        message->Assign("bios: marker= belongs to family=ami");
        return false;
    }
    const uint32_t textAddress = ami ? BOARD_AMI_TEXT_ADDRESS : BOARD_OTHER_TEXT_ADDRESS;
    const uint32_t textOffset = textAddress - BOARD_ROM_BASE;
    const size_t textLength = text ? text->size() : 0;
    if (textLength > BOARD_ROM_SIZE - textOffset) {
        message->Format("bios: text of %u bytes runs past the end of the image",
                        (unsigned)textLength);
        return false;
    }
    uint32_t markerOffset = BOARD_AMI_MARKER_OFFSET;
    if (marker && !ParseNumber(*marker, BOARD_ROM_SIZE - 8, &markerOffset)) {
        message->Format("bios: bad marker offset '%s' (0 to 0xFFE8 in the image)",
                        marker->c_str());
        return false;
    }
    if (ami) {
        // The marker must not sit in the filler or the bytes the program reads as text.
        uint32_t readEnd = textOffset + (uint32_t)(textLength > BOARD_AMI_TEXT_READ
                                                       ? textLength : BOARD_AMI_TEXT_READ);
        if (markerOffset + 8 > textOffset - 1 && markerOffset < readEnd) {
            message->Format("bios: marker at 0x%X overlaps the text at 0x%X", markerOffset,
                            textOffset);
            return false;
        }
        memcpy(&rom[markerOffset], "AMIBIOS", 8);  // with its zero byte
    }
    rom[textOffset - 1] = BOARD_TEXT_FILLER;
    if (textLength) memcpy(&rom[textOffset], text->data(), textLength);
    hasBios = true;
    return true;
}

bool CBoard::ParseCpu(const CBoardTokens& tokens, FixedText<256>* message)
{
    if (hasCpuLine) {
        message->Assign("cpu: only one cpu line");
        return false;
    }
    if (tokens.words.size() == 1 && tokens.words[0] == "none" && tokens.pairs.empty()) {
        hasCpuLine = true;
        cpuVendor.Clear();
        return true;
    }
    if (!tokens.words.empty() || tokens.pairs.size() != 1 || tokens.pairs[0].key != "vendor") {
        message->Assign("cpu: expected vendor=XXXXXXXXXXXX or none");
        return false;
    }
    const std::string& vendor = tokens.pairs[0].value;
    if (vendor.size() != 12 || vendor.find('\0') != std::string::npos) {
        message->Format("cpu: vendor '%s' is not 12 characters", vendor.c_str());
        return false;
    }
    cpuVendor.Assign(vendor.c_str());
    hasCpuLine = true;
    return true;
}

bool CBoard::ParseMemory(const CBoardTokens& tokens, FixedText<256>* message)
{
    if (hasMemoryLine) {
        message->Assign("memory: only one memory line");
        return false;
    }
    uint32_t kb = 0;
    if (!tokens.words.empty() || tokens.pairs.size() != 1 || tokens.pairs[0].key != "kb" ||
        !ParseNumber(tokens.pairs[0].value, BOARD_MAX_MEMORY_KB, &kb)) {
        message->Assign("memory: expected kb=N (below 4 GiB: at most 4194303)");
        return false;
    }
    memoryKb = kb;
    hasMemoryLine = true;
    return true;
}
