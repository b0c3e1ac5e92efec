// The simulated system service: the operating system by name or by raw version numbers, memory,
// language, screen resolution, and time on the virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/fixed_text.h"
#include "platform/sim/sim_clock.h"
#include "platform/system.h"

// One operating system as GetVersionExA reports it.
struct CSimOsRecord {
    uint32_t platformId;
    uint32_t majorVersion;
    uint32_t minorVersion;
    // dwBuildNumber exactly as the system fills it (the 9x family puts major.minor in the
    // high word).
    uint32_t buildNumber;
    FixedText<128> csdVersion;
    uint16_t servicePackMajor;
    uint16_t servicePackMinor;
    // Whether the 156-byte record is accepted: only NT 4 from Service Pack 6 and the NT
    // systems after it know it; the 9x family and older NT fail the call.
    bool extendedSupported;
};

class CSimSystem : public System {
public:
    explicit CSimSystem(CSimClock& clock);

    // Selects a named system ("win98se", see OsNameAt) or raw numbers
    // "PLATFORM.MAJOR.MINOR.BUILD[:CSD]" (for platform 1 the build goes into the low word
    // below major.minor, as the 9x family reports it; a build written 0x... is taken as the
    // whole dwBuildNumber). False for an unknown name or malformed numbers; the selection is
    // then unchanged. The default is "winxp".
    bool SelectOs(const char* name);
    const CSimOsRecord& Os() const { return os; }
    // The name that was selected, as given.
    const char* OsName() const { return osName.c_str(); }
    // Makes the extended (156-byte) and/or the plain (148-byte) query fail as well.
    void FailVersionQuery(bool extendedFails, bool plainFails);
    // GetVersionEx calls so far.
    int VersionQueries() const { return versionQueries; }

    // The named systems, for usage texts: OsNameAt(i) for i < OsNameCount().
    static size_t OsNameCount();
    static const char* OsNameAt(size_t index);
    // The record of a named system; false for an unknown name.
    static bool LookupOs(const char* name, CSimOsRecord* record);

    void SetDefaultLangId(uint16_t langId) { langIdValue = langId; }
    // The ANSI code page GetACP reports (1252 by default).
    void SetCodePage(uint32_t codePage) { codePageValue = codePage; }
    // The code page a system of this default language runs: 950 for Traditional Chinese
    // (Taiwan), 936 Simplified Chinese, 949 Korean, 932 Japanese, 1252 for the rest.
    static uint32_t CodePageOfLanguage(uint16_t langId);
    void SetPixelsPerInch(int x, int y) { ppiX = x; ppiY = y; }
    void SetMemoryStatus(const CMemoryStatus& status) { memory = status; }
    // Total and available physical memory in KB, the rest left as it is.
    void SetPhysicalMemoryKb(uint32_t totalKb, uint32_t availKb);

    bool GetVersionEx(COsVersionInfo* info) override;
    void GlobalMemoryStatus(CMemoryStatus* status) override;
    uint16_t GetSystemDefaultLangID() override { return langIdValue; }
    uint32_t GetACP() override { return codePageValue; }
    // The lead-byte ranges Windows gives the double-byte code pages 932, 936, 949 and 950.
    bool IsDBCSLeadByteEx(uint32_t codePage, uint8_t byte) override;
    void GetScreenPixelsPerInch(int* x, int* y) override;
    void Sleep(uint32_t milliseconds) override;
    uint32_t GetTickCount() override;

private:
    CSimClock& clock;
    CSimOsRecord os;
    FixedText<64> osName;
    bool extendedFails;
    bool plainFails;
    int versionQueries;
    uint16_t langIdValue;
    uint32_t codePageValue;
    int ppiX;
    int ppiY;
    CMemoryStatus memory;
};
