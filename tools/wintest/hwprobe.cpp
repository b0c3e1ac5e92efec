// hwprobe.exe: the program's own PCI scan, BIOS read and processor query on the real Win32
// hardware adapter, with the NT family's osCode so every access goes through roduru.dll, or with
// --9x the 98 SE osCode, so the program's own port instructions and its read of 0xF0000 do.
//   hwprobe [--9x] [ID | ID:SUBSYSTEM | ID@REVISION]...   (hexadecimal, 0x optional)
// Prints one line per query ("pci ID found|missing"), then "bios TEXT" and "cpu VENDOR".
//   hwprobe forms INDEX KEY,KEY,... REGISTER
// Runs every port instruction form once, written out in machine code, and prints "form NAME
// VALUE" for each: PCI function 00:00.0's dword 0x00 at every width through DX; an absent port
// read with the immediate forms (all ones, the bits above kept as the width says); and the
// Super-I/O register behind INDEX read after its key, written with the immediate forms.
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

// Port 0x80 answers nothing on the boards; a Super-I/O chip sits behind 0x2E or 0x4E.
const uint16_t FORMS_PCI_ADDRESS = 0xCF8;
const uint16_t FORMS_PCI_DATA = 0xCFC;
const uint16_t FORMS_PCI_DATA_HIGH = 0xCFE;
const uint32_t FORMS_PCI_FUNCTION_0 = 0x80000000;
// The bits the 8- and 16-bit reads must leave alone.
const uint32_t FORMS_UPPER = 0xA5A5A500;

uint32_t InDx32(uint16_t port)
{
    uint32_t v;
    __asm__ __volatile__("inl %w1, %0" : "=a"(v) : "d"(port));
    return v;
}

uint32_t InDx16(uint16_t port)
{
    uint32_t v = FORMS_UPPER << 8;
    __asm__ __volatile__("inw %w1, %w0" : "+a"(v) : "d"(port));
    return v;
}

uint32_t InDx8(uint16_t port)
{
    uint32_t v = FORMS_UPPER;
    __asm__ __volatile__("inb %w1, %b0" : "+a"(v) : "d"(port));
    return v;
}

void OutDx32(uint16_t port, uint32_t value)
{
    __asm__ __volatile__("outl %0, %w1" : : "a"(value), "d"(port));
}

void OutDx16(uint16_t port, uint16_t value)
{
    __asm__ __volatile__("outw %w0, %w1" : : "a"(value), "d"(port));
}

void OutDx8(uint16_t port, uint8_t value)
{
    __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "d"(port));
}

// The immediate forms need the port in the instruction itself.
template <uint8_t PORT>
uint32_t InImmediate8()
{
    uint32_t v = FORMS_UPPER;
    __asm__ __volatile__("inb %1, %b0" : "+a"(v) : "i"(PORT));
    return v;
}

template <uint8_t PORT>
uint32_t InImmediate16()
{
    uint32_t v = FORMS_UPPER << 8;
    __asm__ __volatile__("inw %1, %w0" : "+a"(v) : "i"(PORT));
    return v;
}

template <uint8_t PORT>
uint32_t InImmediate32()
{
    uint32_t v = 0;
    __asm__ __volatile__("inl %1, %0" : "+a"(v) : "i"(PORT));
    return v;
}

template <uint8_t PORT>
void OutImmediate8(uint8_t value)
{
    __asm__ __volatile__("outb %b0, %1" : : "a"(value), "i"(PORT));
}

template <uint8_t PORT>
void OutImmediate16(uint16_t value)
{
    __asm__ __volatile__("outw %w0, %1" : : "a"(value), "i"(PORT));
}

template <uint8_t PORT>
void OutImmediate32(uint32_t value)
{
    __asm__ __volatile__("outl %0, %1" : : "a"(value), "i"(PORT));
}

// The Super-I/O register behind index port PORT: the key and the register written with the
// immediate forms, the value read from the data port with the immediate form.
template <uint8_t PORT>
uint32_t SuperIoImmediate(const uint8_t* key, int keyLength, uint8_t reg)
{
    for (int i = 0; i < keyLength; ++i) OutImmediate8<PORT>(key[i]);
    OutImmediate8<PORT>(reg);
    return InImmediate8<PORT + 1>() & 0xFF;
}

int RunForms(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: hwprobe forms INDEX KEY,KEY,... REGISTER\n");
        return 2;
    }
    uint32_t index = 0, reg = 0;
    if (!ParseHex(argv[2], &index) || !ParseHex(argv[4], &reg) ||
        (index != 0x2E && index != 0x4E)) {
        fprintf(stderr, "hwprobe: INDEX is 0x2E or 0x4E, REGISTER a byte\n");
        return 2;
    }
    uint8_t key[8];
    int keyLength = 0;
    for (const char* p = argv[3]; *p && keyLength < 8;) {
        char* end = nullptr;
        key[keyLength++] = static_cast<uint8_t>(strtoul(p, &end, 16));
        if (end == p) return 2;
        p = *end == ',' ? end + 1 : end;
    }

    OutDx32(FORMS_PCI_ADDRESS, FORMS_PCI_FUNCTION_0);
    printf("form in32dx 0x%08X\n", InDx32(FORMS_PCI_DATA));
    printf("form in16dx 0x%08X 0x%08X\n", InDx16(FORMS_PCI_DATA), InDx16(FORMS_PCI_DATA_HIGH));
    printf("form in8dx 0x%08X\n", InDx8(FORMS_PCI_DATA));
    // A 16-bit write to the data port must reach the board as one write: the latch stays.
    OutDx16(FORMS_PCI_DATA, 0xFFFF);
    OutDx8(0xEB, 0);
    printf("form out16dx 0x%08X\n", InDx32(FORMS_PCI_DATA));
    printf("form in8imm 0x%08X\n", InImmediate8<0x80>());
    printf("form in16imm 0x%08X\n", InImmediate16<0x80>());
    printf("form in32imm 0x%08X\n", InImmediate32<0x80>());
    OutImmediate16<0x80>(0);
    OutImmediate32<0x80>(0);
    uint32_t value = index == 0x2E ? SuperIoImmediate<0x2E>(key, keyLength, (uint8_t)reg)
                                   : SuperIoImmediate<0x4E>(key, keyLength, (uint8_t)reg);
    printf("form superio 0x%02X\n", value);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "forms") == 0) return RunForms(argc, argv);
    CWin32Hardware hardware;
    CHwState hw;
    hw.osCode = OS_WINXP;
    int first = 1;
    if (argc > 1 && strcmp(argv[1], "--9x") == 0) {
        hw.osCode = OS_WIN98SE;
        first = 2;
    }
    CPortAccess ports(hardware, hw.osCode);
    CPciScanner scanner(ports, hw.lastClassCode);

    int status = 0;
    ports.OpenPortAccess();
    for (int i = first; i < argc; ++i) {
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
