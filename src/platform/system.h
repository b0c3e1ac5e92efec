// The system service: version record, memory, language, code page, screen resolution, time.
#pragma once

#include <cstdint>

// OSVERSIONINFOEXA, field for field. sizeField selects the record: 156 bytes for the extended
// record, 148 for the plain one (whose last five fields are then not written).
struct COsVersionInfo {
    uint32_t sizeField;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t buildNumber;
    uint32_t platformId;
    char csdVersion[128];
    uint16_t servicePackMajor;
    uint16_t servicePackMinor;
    uint16_t suiteMask;
    uint8_t productType;
    uint8_t reserved;
};

const uint32_t OS_VERSION_RECORD_EXTENDED = 156;
const uint32_t OS_VERSION_RECORD_PLAIN = 148;

// MEMORYSTATUS, the fields the program reads.
struct CMemoryStatus {
    uint32_t memoryLoad;
    uint32_t totalPhys;
    uint32_t availPhys;
    uint32_t totalPageFile;
    uint32_t availPageFile;
    uint32_t totalVirtual;
    uint32_t availVirtual;
};

class System {
public:
    virtual ~System() {}

    // GetVersionExA: fills the record according to its sizeField; false when the call fails.
    virtual bool GetVersionEx(COsVersionInfo* info) = 0;
    virtual void GlobalMemoryStatus(CMemoryStatus* status) = 0;
    virtual uint16_t GetSystemDefaultLangID() = 0;
    // The ANSI code page (GetACP), and whether a byte leads a double-byte character in a code
    // page (IsDBCSLeadByteEx); single-byte code pages have no lead bytes.
    virtual uint32_t GetACP() = 0;
    virtual bool IsDBCSLeadByteEx(uint32_t codePage, uint8_t byte) = 0;
    // LOGPIXELSX and LOGPIXELSY of an information context on "DISPLAY".
    virtual void GetScreenPixelsPerInch(int* x, int* y) = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Milliseconds since start (GetTickCount).
    virtual uint32_t GetTickCount() = 0;
};
