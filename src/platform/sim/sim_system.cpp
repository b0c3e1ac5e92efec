// The simulated system service: named operating systems with the exact records they report.
#include "platform/sim/sim_system.h"

#include <cstdlib>
#include <cstring>

namespace {

struct COsEntry {
    const char* name;
    uint32_t platformId;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t build;  // the build alone; the 9x family's high word is added below
    const char* csd;
};

// In the order a usage text lists them.
const COsEntry SIM_OS_TABLE[] = {
    {"win95", 1, 4, 0, 950, ""},
    {"win98", 1, 4, 10, 1998, ""},
    {"win98se", 1, 4, 10, 2222, ""},
    {"winme", 1, 4, 90, 3000, ""},
    {"nt4", 2, 4, 0, 1381, "Service Pack 6"},
    {"win2000", 2, 5, 0, 2195, "Service Pack 4"},
    {"winxp", 2, 5, 1, 2600, "Service Pack 2"},
    {"winxp-nosp", 2, 5, 1, 2600, ""},
    // Win32s reports the Windows 3.1 it runs on; its build number is reserved.
    {"win32s", 0, 3, 10, 0, ""},
    {"vista", 2, 6, 0, 6000, ""},
    // Build 7601 is Service Pack 1; there is no 7601 without it.
    {"win7", 2, 6, 1, 7601, "Service Pack 1"},
};

const size_t SIM_OS_COUNT = sizeof(SIM_OS_TABLE) / sizeof(SIM_OS_TABLE[0]);

bool EqualsNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        char ca = *a, cb = *b;
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
        if (ca != cb) return false;
        if (ca == '\0') return true;
    }
}

// "Service Pack 3" -> 3; anything else -> 0.
uint16_t ServicePackNumber(const char* csd)
{
    const char* prefix = "Service Pack ";
    size_t n = strlen(prefix);
    if (strncmp(csd, prefix, n) != 0) return 0;
    long value = strtol(csd + n, nullptr, 10);
    return value > 0 && value < 0x10000 ? static_cast<uint16_t>(value) : 0;
}

// The extra fields the 156-byte record carries, and whether the system accepts it.
void CompleteRecord(CSimOsRecord* r)
{
    r->servicePackMajor = ServicePackNumber(r->csdVersion.c_str());
    r->servicePackMinor = 0;
    r->extendedSupported = r->platformId == 2 &&
                           (r->majorVersion >= 5 ||
                            (r->majorVersion == 4 && r->servicePackMajor >= 6));
}

// One decimal number (or 0x... hex when allowHex) from *p up to a stop character.
bool ParseNumber(const char** p, bool allowHex, uint32_t* out, bool* wasHex)
{
    const char* s = *p;
    int base = 10;
    if (wasHex) *wasHex = false;
    if (allowHex && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s += 2;
        if (wasHex) *wasHex = true;
    }
    uint64_t value = 0;
    const char* start = s;
    for (; *s; ++s) {
        int digit;
        if (*s >= '0' && *s <= '9') {
            digit = *s - '0';
        } else if (base == 16 && *s >= 'a' && *s <= 'f') {
            digit = *s - 'a' + 10;
        } else if (base == 16 && *s >= 'A' && *s <= 'F') {
            digit = *s - 'A' + 10;
        } else {
            break;
        }
        value = value * base + digit;
        if (value > 0xFFFFFFFFu) return false;
    }
    if (s == start) return false;
    *out = static_cast<uint32_t>(value);
    *p = s;
    return true;
}

// "PLATFORM.MAJOR.MINOR.BUILD[:CSD]".
bool ParseRawVersion(const char* text, CSimOsRecord* r)
{
    const char* p = text;
    uint32_t platform, major, minor, build;
    bool buildHex = false;
    if (!ParseNumber(&p, false, &platform, nullptr) || *p++ != '.') return false;
    if (!ParseNumber(&p, false, &major, nullptr) || *p++ != '.') return false;
    if (!ParseNumber(&p, false, &minor, nullptr) || *p++ != '.') return false;
    if (!ParseNumber(&p, true, &build, &buildHex)) return false;
    if (*p != '\0' && *p != ':') return false;
    if (platform == 1 && !buildHex) {
        // The 9x family's dwBuildNumber: major and minor in the high word.
        if (build > 0xFFFF || major > 0xFF || minor > 0xFF) return false;
        build = major << 24 | minor << 16 | build;
    }
    r->platformId = platform;
    r->majorVersion = major;
    r->minorVersion = minor;
    r->buildNumber = build;
    r->csdVersion = *p == ':' ? p + 1 : "";
    CompleteRecord(r);
    return true;
}

}  // namespace

size_t CSimSystem::OsNameCount()
{
    return SIM_OS_COUNT;
}

const char* CSimSystem::OsNameAt(size_t index)
{
    return index < SIM_OS_COUNT ? SIM_OS_TABLE[index].name : nullptr;
}

bool CSimSystem::LookupOs(const char* name, CSimOsRecord* record)
{
    if (!name || !record) return false;
    for (size_t i = 0; i < SIM_OS_COUNT; ++i) {
        const COsEntry& e = SIM_OS_TABLE[i];
        if (!EqualsNoCase(name, e.name)) continue;
        record->platformId = e.platformId;
        record->majorVersion = e.majorVersion;
        record->minorVersion = e.minorVersion;
        record->buildNumber = e.platformId == 1
                                  ? (e.majorVersion << 24 | e.minorVersion << 16 | e.build)
                                  : e.build;
        record->csdVersion = e.csd;
        CompleteRecord(record);
        return true;
    }
    return ParseRawVersion(name, record);
}

CSimSystem::CSimSystem(CSimClock& clock)
    : clock(clock), extendedFails(false), plainFails(false), versionQueries(0), langIdValue(0x0409),
      codePageValue(1252), ppiX(96), ppiY(96)
{
    SelectOs("winxp");
    // A 256 MB machine with a little of it given to the graphics.
    memory.memoryLoad = 38;
    memory.totalPhys = 261616u * 1024u;
    memory.availPhys = 163840u * 1024u;
    memory.totalPageFile = 629760u * 1024u;
    memory.availPageFile = 512000u * 1024u;
    memory.totalVirtual = 2147352576u;
    memory.availVirtual = 2121629696u;
}

bool CSimSystem::SelectOs(const char* name)
{
    CSimOsRecord record;
    if (!LookupOs(name, &record)) return false;
    os = record;
    osName = name;
    return true;
}

void CSimSystem::FailVersionQuery(bool extended, bool plain)
{
    extendedFails = extended;
    plainFails = plain;
}

void CSimSystem::SetPhysicalMemoryKb(uint32_t totalKb, uint32_t availKb)
{
    // MEMORYSTATUS counts bytes in 32 bits; larger machines report the cap, as Windows does.
    const uint64_t cap = 0xFFFFFFFFu;
    uint64_t total = static_cast<uint64_t>(totalKb) * 1024;
    uint64_t avail = static_cast<uint64_t>(availKb) * 1024;
    memory.totalPhys = static_cast<uint32_t>(total < cap ? total : cap);
    memory.availPhys = static_cast<uint32_t>(avail < cap ? avail : cap);
    if (memory.availPhys > memory.totalPhys) memory.availPhys = memory.totalPhys;
}

bool CSimSystem::GetVersionEx(COsVersionInfo* info)
{
    ++versionQueries;
    if (!info) return false;
    bool extended = info->sizeField == OS_VERSION_RECORD_EXTENDED;
    if (!extended && info->sizeField != OS_VERSION_RECORD_PLAIN) return false;
    if (extended && (extendedFails || !os.extendedSupported)) return false;
    if (!extended && plainFails) return false;

    info->majorVersion = os.majorVersion;
    info->minorVersion = os.minorVersion;
    info->buildNumber = os.buildNumber;
    info->platformId = os.platformId;
    memset(info->csdVersion, 0, sizeof(info->csdVersion));
    memcpy(info->csdVersion, os.csdVersion.c_str(), os.csdVersion.Length());
    if (extended) {
        info->servicePackMajor = os.servicePackMajor;
        info->servicePackMinor = os.servicePackMinor;
        info->suiteMask = 0;
        info->productType = 1;  // VER_NT_WORKSTATION: every named system is a client
        info->reserved = 0;
    }
    return true;
}

void CSimSystem::GlobalMemoryStatus(CMemoryStatus* status)
{
    if (status) *status = memory;
}

uint32_t CSimSystem::CodePageOfLanguage(uint16_t langId)
{
    switch (langId) {
    case 0x0404:
        return 950;
    case 0x0804:
        return 936;
    case 0x0412:
        return 949;
    case 0x0411:
        return 932;
    default:
        return 1252;
    }
}

bool CSimSystem::IsDBCSLeadByteEx(uint32_t codePage, uint8_t byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

void CSimSystem::GetScreenPixelsPerInch(int* x, int* y)
{
    if (x) *x = ppiX;
    if (y) *y = ppiY;
}

void CSimSystem::Sleep(uint32_t milliseconds)
{
    clock.Pass(milliseconds);
}

uint32_t CSimSystem::GetTickCount()
{
    return clock.TickCount();
}
