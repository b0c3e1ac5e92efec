// The hardware service on a real PC: CPU port instructions and the first megabyte for the 9x
// family, roduru.dll for the NT family, and the processor identification instruction.
#include "platform/win32/win32_hardware.h"

#include <cstring>

#include "roduru/roduru.h"

namespace {

// The 9x family maps the first megabyte of physical memory at the same linear addresses.
const uint32_t FIRST_MEGABYTE_END = 0x100000;
const uint32_t EFLAGS_ID = 0x200000;

}  // namespace

int32_t CWin32PortLibrary::Pre_Open_Device(int32_t selector, const char* tempFile,
                                           const char* name)
{
    return ::Pre_Open_Device(selector, tempFile, name);
}

int32_t CWin32PortLibrary::Post_Close_Device(const char* tempFile, const char* name)
{
    return ::Post_Close_Device(tempFile, name);
}

int32_t CWin32PortLibrary::ZezAdo_Open()
{
    return ::ZezAdo_Open();
}

int32_t CWin32PortLibrary::ZezAdo_Close()
{
    return ::ZezAdo_Close();
}

void CWin32PortLibrary::ZezAdo_outp(uint16_t port, uint32_t value)
{
    ::ZezAdo_outp(port, value);
}

void CWin32PortLibrary::ZezAdo_outpd(uint16_t port, uint32_t value)
{
    ::ZezAdo_outpd(port, value);
}

uint32_t CWin32PortLibrary::ZezAdo_inp(uint16_t port)
{
    return ::ZezAdo_inp(port);
}

uint32_t CWin32PortLibrary::ZezAdo_inpw(uint16_t port)
{
    return ::ZezAdo_inpw(port);
}

uint32_t CWin32PortLibrary::ZezAdo_inpd(uint16_t port)
{
    return ::ZezAdo_inpd(port);
}

int32_t CWin32PortLibrary::MapMem_Open()
{
    return ::MapMem_Open();
}

int32_t CWin32PortLibrary::MapMem_Phys_To_Linear(uint32_t physLow, uint32_t physHigh,
                                                 uint32_t length, const uint8_t** linear)
{
    return ::MapMem_Phys_To_Linear(physLow, physHigh, length, linear);
}

int32_t CWin32PortLibrary::MapMem_Close()
{
    return ::MapMem_Close();
}

void CWin32Hardware::DirectOut8(uint16_t port, uint8_t value)
{
    __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "Nd"(port));
}

void CWin32Hardware::DirectOut32(uint16_t port, uint32_t value)
{
    __asm__ __volatile__("outl %0, %w1" : : "a"(value), "Nd"(port));
}

uint8_t CWin32Hardware::DirectIn8(uint16_t port)
{
    uint8_t value;
    __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "Nd"(port));
    return value;
}

uint16_t CWin32Hardware::DirectIn16(uint16_t port)
{
    uint16_t value;
    __asm__ __volatile__("inw %w1, %w0" : "=a"(value) : "Nd"(port));
    return value;
}

uint32_t CWin32Hardware::DirectIn32(uint16_t port)
{
    uint32_t value;
    __asm__ __volatile__("inl %w1, %0" : "=a"(value) : "Nd"(port));
    return value;
}

bool CWin32Hardware::DirectReadPhysical(uint32_t address, uint8_t* out, uint32_t length)
{
    // Only the first megabyte is mapped one to one; anything beyond it is not physical memory.
    if (!out || address >= FIRST_MEGABYTE_END || length > FIRST_MEGABYTE_END - address) {
        return false;
    }
    const volatile uint8_t* source =
        reinterpret_cast<const volatile uint8_t*>(static_cast<uintptr_t>(address));
    for (uint32_t i = 0; i < length; ++i) out[i] = source[i];
    return true;
}

bool CWin32Hardware::CpuIdSupported()
{
    // Flip the ID bit of the flags register and see whether it sticks; the original flags
    // are put back either way.
    uintptr_t before;
    uintptr_t after;
#if defined(__x86_64__)
    __asm__ __volatile__(
        "pushfq\n\t"
        "popq %0\n\t"
        "movq %0, %1\n\t"
        "xorq %2, %1\n\t"
        "pushq %1\n\t"
        "popfq\n\t"
        "pushfq\n\t"
        "popq %1\n\t"
        "pushq %0\n\t"
        "popfq\n\t"
        : "=&r"(before), "=&r"(after)
        : "i"(EFLAGS_ID)
        : "cc");
#else
    __asm__ __volatile__(
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "xorl %2, %1\n\t"
        "pushl %1\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %1\n\t"
        "pushl %0\n\t"
        "popfl\n\t"
        : "=&r"(before), "=&r"(after)
        : "i"(EFLAGS_ID)
        : "cc");
#endif
    return ((before ^ after) & EFLAGS_ID) != 0;
}

void CWin32Hardware::CpuId(uint32_t leaf, uint32_t regs[4])
{
    uint32_t a, b, c, d;
    __asm__ __volatile__("cpuid" : "=a"(a), "=b"(b), "=c"(c), "=d"(d) : "a"(leaf), "c"(0));
    regs[0] = a;
    regs[1] = b;
    regs[2] = c;
    regs[3] = d;
}
