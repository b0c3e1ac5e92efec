// The system report: its layout, the BIOS and processor lines, the memory line, and the choice
// of the device listing by the Windows family.
#include "sysinfo/report.h"

#include <cstring>

#include "hw/hw_state.h"
#include "hw/port_access.h"
#include "sysinfo/pci_listing.h"
#include "sysinfo/registry_text.h"

const char REPORT_PROCESSOR_KEY[] = "Hardware\\Description\\System\\CentralProcessor\\0";

namespace {

const char REPORT_LINE_END[] = "\r\n";
const char REPORT_RULE_33[] = "=================================";
const char REPORT_RULE_32[] = "================================";
// Processor values are read into 255 bytes.
const size_t REPORT_VALUE_SIZE = 255;

// The vendor strings the report names. The third is the string Cyrix processors report,
// "CyrixInstead"; any other vendor gets an empty CPU line.
struct CVendorLine {
    const char* vendor;
    const char* line;
};
const CVendorLine REPORT_VENDOR_LINES[] = {
    {"GenuineIntel", "CPU : intel (GenuineIntel)"},
    {"AuthenticAMD", "CPU : AMD (AuthenticAMD)"},
    {"CyrixInstead", "CPU : Cyrix "},
};

} // namespace

CSystemReport::CSystemReport(const CPlatform& platform, const uint8_t& osCode)
    : CSystemReport(platform.registry, platform.system, platform.hardware, osCode)
{
}

CSystemReport::CSystemReport(Registry& registry, System& system, Hardware& hardware,
                             const uint8_t& osCode)
    : registry(registry), system(system), hardware(hardware), osCode(osCode)
{
    memset(cpuVendor, 0, sizeof cpuVendor);
}

void CSystemReport::ComposeSystemReport(std::string* systemReport)
{
    int family = GetOsFamily();
    systemReport->clear();

    char biosText[BIOS_TEXT_SIZE];
    CPortAccess ports(hardware, osCode);
    ReadBiosText(ports, osCode, biosText);
    systemReport->append("BIOS Info :");
    systemReport->append(biosText);
    systemReport->append(REPORT_LINE_END);
    systemReport->append(REPORT_RULE_33);
    systemReport->append(REPORT_LINE_END);

    ReadCpuVendor(hardware, cpuVendor);
    for (const CVendorLine& v : REPORT_VENDOR_LINES) {
        if (strcmp(cpuVendor, v.vendor) == 0) systemReport->append(v.line);
    }
    systemReport->append(REPORT_LINE_END);

    AppendProcessorLines(systemReport);
    systemReport->append(REPORT_LINE_END);
    systemReport->append(REPORT_RULE_33);
    AppendMemoryLines(systemReport);

    if (family == OS_FAMILY_WIN9X || family == OS_FAMILY_WINME) {
        CPciListing(registry, PCI_LISTING_9X).AppendPciListing(systemReport);
    } else if (family == OS_FAMILY_NT || family == OS_FAMILY_WIN2000 || family == OS_FAMILY_WINXP) {
        CPciListing(registry, PCI_LISTING_NT).AppendPciListing(systemReport);
    }
}

// Only the plain 148-byte record is asked for; a failed query means no device section.
int CSystemReport::GetOsFamily()
{
    COsVersionInfo info;
    memset(&info, 0, sizeof info);
    info.sizeField = OS_VERSION_RECORD_PLAIN;
    if (!system.GetVersionEx(&info)) return OS_FAMILY_NONE;

    if (info.platformId == 1) {
        if (info.minorVersion == 0 || info.minorVersion == 10) return OS_FAMILY_WIN9X;
        if (info.minorVersion == 90) return OS_FAMILY_WINME;
        return OS_FAMILY_NONE;
    }
    if (info.platformId == 2) {
        if (info.majorVersion == 3 || info.majorVersion == 4) return OS_FAMILY_NT;
        if (info.majorVersion == 5 && info.minorVersion == 0) return OS_FAMILY_WIN2000;
        if (info.majorVersion == 5 && info.minorVersion == 1) return OS_FAMILY_WINXP;
    }
    return OS_FAMILY_NONE;
}

// Windows 98 SE and Me leave the processor name out of the report altogether.
void CSystemReport::AppendProcessorLines(std::string* systemReport)
{
    RegKey key;
    if (registry.OpenKey(REG_HKEY_LOCAL_MACHINE, REPORT_PROCESSOR_KEY, &key)) {
        FixedText<REPORT_VALUE_SIZE + 1> identifier;
        ReadRegistryText(registry, key, "Identifier", &identifier);
        systemReport->append("Identifier: ");
        systemReport->append(identifier.c_str());
        systemReport->append(REPORT_LINE_END);
        registry.CloseKey(key);
    }

    if (osCode == OS_WIN98SE || osCode == OS_WINME) return;
    if (!registry.OpenKey(REG_HKEY_LOCAL_MACHINE, REPORT_PROCESSOR_KEY, &key)) return;
    FixedText<REPORT_VALUE_SIZE + 1> name;
    ReadRegistryText(registry, key, "ProcessorNameString", &name);
    // Many processors pad their name string in front.
    const char* text = name.c_str();
    while (*text == ' ' || *text == '\t')
        ++text;
    systemReport->append("ProcessorNameString: ");
    systemReport->append(text);
    registry.CloseKey(key);
}

void CSystemReport::AppendMemoryLines(std::string* systemReport)
{
    CMemoryStatus status;
    memset(&status, 0, sizeof status);
    system.GlobalMemoryStatus(&status);
    FixedText<32> grouped;
    GroupReportDigits(status.totalPhys >> 10, &grouped);
    systemReport->append(REPORT_LINE_END);
    systemReport->append("Memory size: ");
    systemReport->append(grouped.c_str());
    systemReport->append("  KB RAM");
    systemReport->append(REPORT_LINE_END);
    systemReport->append(REPORT_RULE_32);
    systemReport->append(REPORT_LINE_END);
}

void GroupReportDigits(uint64_t value, FixedText<32>* out)
{
    // Digits written by hand: the oldest C runtimes the program meets lack 64-bit printf.
    char digits[24];
    size_t length = 0;
    do {
        digits[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    out->Clear();
    for (size_t remaining = length; remaining > 0; --remaining) {
        if (remaining < length && (remaining == 6 || remaining == 3)) out->AppendChar(',');
        out->AppendChar(digits[remaining - 1]);
    }
}
