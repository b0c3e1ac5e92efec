// The system report of the information panel: BIOS text, processor vendor and name, memory
// size, then the PCI devices with their drivers in the running family's variant.
#pragma once

#include <cstdint>
#include <string>

#include "common/fixed_text.h"
#include "hw/bios.h"
#include "platform/platform.h"

// OsFamily values: which device listing the report carries.
const int OS_FAMILY_NONE = 0;  // no device section
const int OS_FAMILY_WIN9X = 1; // Windows 95 or 98
const int OS_FAMILY_NT = 2;    // Windows NT 3.x or 4
const int OS_FAMILY_WIN2000 = 3;
const int OS_FAMILY_WINME = 4;
const int OS_FAMILY_WINXP = 5;

// The processor key of both families, under HKEY_LOCAL_MACHINE.
extern const char REPORT_PROCESSOR_KEY[];

class CSystemReport {
public:
    // osCode is read when the report is composed, so classification may come later. The
    // services are taken out of platform, which need not outlive the constructor.
    CSystemReport(const CPlatform& platform, const uint8_t& osCode);
    CSystemReport(Registry& registry, System& system, Hardware& hardware, const uint8_t& osCode);

    // Empties systemReport and composes the whole report into it.
    void ComposeSystemReport(std::string* systemReport);
    int GetOsFamily();
    void AppendProcessorLines(std::string* systemReport);
    void AppendMemoryLines(std::string* systemReport);

    // The vendor string of the last composition: all zero when the processor has none.
    const char* CpuVendor() const { return cpuVendor; }

private:
    Registry& registry;
    System& system;
    Hardware& hardware;
    const uint8_t& osCode;
    char cpuVendor[CPU_VENDOR_SIZE];
};

// value in decimal with a comma before the last three digits from 4 digits on and one before
// the last six from 7 digits on; longer numbers get no further commas ("1234567,890,123").
void GroupReportDigits(uint64_t value, FixedText<32>* out);
