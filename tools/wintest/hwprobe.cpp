// hwprobe.exe: the program's own PCI scan, BIOS read and processor query on the real Win32
// hardware adapter, with the NT family's osCode so every access goes through roduru.dll.
//   hwprobe [ID | ID:SUBSYSTEM | ID@REVISION]...   (hexadecimal, 0x optional)
// Prints one line per query ("pci ID found|missing"), then "bios TEXT" and "cpu VENDOR".
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hw/bios.h"
#include "hw/hw_state.h"
#include "hw/pci.h"
#include "hw/port_access.h"
#include "platform/win32/win32_hardware.h"

namespace {

bool ParseHex(const char* text, uint32_t* value)
{
    char* end = nullptr;
    unsigned long v = strtoul(text, &end, 16);
    if (end == text || (*end != '\0' && *end != ':' && *end != '@')) return false;
    *value = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    CWin32Hardware hardware;
    CHwState hw;
    hw.osCode = OS_WINXP;
    CPortAccess ports(hardware, hw.osCode);
    CPciScanner scanner(ports, hw.lastClassCode);

    int status = 0;
    ports.OpenPortAccess();
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        uint32_t id = 0;
        uint32_t extra = 0;
        const char* colon = strchr(arg, ':');
        const char* at = strchr(arg, '@');
        if (!ParseHex(arg, &id) || (colon && !ParseHex(colon + 1, &extra)) ||
            (at && !ParseHex(at + 1, &extra))) {
            fprintf(stderr, "hwprobe: cannot read \"%s\"\n", arg);
            status = 2;
            continue;
        }
        bool found = at ? scanner.FindPciDeviceRevision(id, extra)
                        : scanner.FindPciDevice(id, colon ? extra : 0);
        printf("pci %s %s", arg, found ? "found" : "missing");
        if (found && !at) printf(" class=0x%04X", hw.lastClassCode);
        printf("\n");
    }
    ports.ClosePortAccess();

    char bios[BIOS_TEXT_SIZE];
    ReadBiosText(ports, hw.osCode, bios);
    printf("bios %s\n", bios);

    char vendor[CPU_VENDOR_SIZE];
    ReadCpuVendor(hardware, vendor);
    printf("cpu %s\n", vendor);
    return status;
}
