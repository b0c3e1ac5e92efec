// The simulated hardware: the direct path and the port library both reach the same CBoard, so
// a board answers the 9x and the NT family alike.
#include "platform/sim/sim_hardware.h"

#include <cstring>

namespace {

// The selectors the program passes: 102 prepares the memory mapper, 103 the port driver.
const int32_t SIM_SELECTOR_MAPMEM = 102;
const int32_t SIM_SELECTOR_PORTS = 103;

}  // namespace

CSimPortLibrary::CSimPortLibrary(CBoard& board) : board(board)
{
}

int32_t CSimPortLibrary::Pre_Open_Device(int32_t selector, const char*, const char*)
{
    return selector == SIM_SELECTOR_MAPMEM || selector == SIM_SELECTOR_PORTS ? 1 : 0;
}

int32_t CSimPortLibrary::Post_Close_Device(const char*, const char*)
{
    return 1;
}

// The ports answer whether or not the library was opened: the program delays through the
// library after it has closed port access.
int32_t CSimPortLibrary::ZezAdo_Open()
{
    return 1;
}

int32_t CSimPortLibrary::ZezAdo_Close()
{
    return 1;
}

void CSimPortLibrary::ZezAdo_outp(uint16_t port, uint32_t value)
{
    board.Out8(port, (uint8_t)value);
}

void CSimPortLibrary::ZezAdo_outpd(uint16_t port, uint32_t value)
{
    board.Out32(port, value);
}

uint32_t CSimPortLibrary::ZezAdo_inp(uint16_t port)
{
    return board.In8(port);
}

uint32_t CSimPortLibrary::ZezAdo_inpw(uint16_t port)
{
    return board.In16(port);
}

uint32_t CSimPortLibrary::ZezAdo_inpd(uint16_t port)
{
    return board.In32(port);
}

int32_t CSimPortLibrary::MapMem_Open()
{
    return 1;
}

int32_t CSimPortLibrary::MapMem_Phys_To_Linear(uint32_t physLow, uint32_t physHigh,
                                               uint32_t length, const uint8_t** linear)
{
    const uint8_t* mapped = board.MapPhysical(physLow, physHigh, length);
    if (linear) *linear = mapped;
    return mapped && linear ? 1 : 0;
}

int32_t CSimPortLibrary::MapMem_Close()
{
    return 1;
}

CSimHardware::CSimHardware(CBoard& board) : board(board), library(board)
{
}

void CSimHardware::DirectOut8(uint16_t port, uint8_t value)
{
    board.Out8(port, value);
}

void CSimHardware::DirectOut32(uint16_t port, uint32_t value)
{
    board.Out32(port, value);
}

uint8_t CSimHardware::DirectIn8(uint16_t port)
{
    return board.In8(port);
}

uint16_t CSimHardware::DirectIn16(uint16_t port)
{
    return board.In16(port);
}

uint32_t CSimHardware::DirectIn32(uint16_t port)
{
    return board.In32(port);
}

bool CSimHardware::DirectReadPhysical(uint32_t address, uint8_t* out, uint32_t length)
{
    return board.ReadPhysical(address, out, length);
}

bool CSimHardware::CpuIdSupported()
{
    return board.CpuVendor()[0] != '\0';
}

// Leaf 0 gives the highest leaf (1) in EAX and the vendor string in EBX, EDX, ECX, four
// characters each with the first in the low byte. Other leaves, and a processor without
// identification support, give zeros.
void CSimHardware::CpuId(uint32_t leaf, uint32_t regs[4])
{
    regs[0] = regs[1] = regs[2] = regs[3] = 0;
    const char* vendor = board.CpuVendor();
    if (leaf != 0 || strlen(vendor) != 12) return;
    uint32_t words[3] = {0, 0, 0};
    for (int i = 0; i < 12; ++i) words[i / 4] |= (uint32_t)(uint8_t)vendor[i] << (8 * (i % 4));
    regs[0] = 1;
    regs[1] = words[0];  // EBX
    regs[3] = words[1];  // EDX
    regs[2] = words[2];  // ECX
}
