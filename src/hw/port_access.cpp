// The five port primitives, port-library bracketing and the ROM image read. Each call tests
// osCode against the NT class anew: the NT family must go through the port library, every
// other value (unclassified ones included) uses the processor's instructions directly.
#include "hw/port_access.h"

#include <cstring>

#include "hw/hw_state.h"

namespace {

// Arguments of the port library's calling contract.
const int32_t PORTLIB_SELECTOR_PORTS = 103;
const char* const PORTLIB_PORTS_TEMP = "c:\\zezado.tmp";
const char* const PORTLIB_PORTS_NAME = "autorun";
const int32_t PORTLIB_SELECTOR_MEMORY = 102;
const char* const PORTLIB_MEMORY_TEMP = "c:\\mapmem.tmp";
const char* const PORTLIB_MEMORY_NAME = "mapmem_dv";

const uint16_t PORT_DELAY = 0xEB;

}  // namespace

CPortAccess::CPortAccess(Hardware& hardware, const uint8_t& osCode)
    : hardware(hardware), osCode(osCode)
{
}

void CPortAccess::PortWrite8(uint16_t port, uint8_t value)
{
    if (IsNtClass(osCode)) {
        hardware.Library().ZezAdo_outp(port, value);
    } else {
        hardware.DirectOut8(port, value);
    }
}

void CPortAccess::PortWrite32(uint16_t port, uint32_t value)
{
    if (IsNtClass(osCode)) {
        hardware.Library().ZezAdo_outpd(port, value);
    } else {
        hardware.DirectOut32(port, value);
    }
}

uint8_t CPortAccess::PortRead8(uint16_t port)
{
    if (IsNtClass(osCode)) return static_cast<uint8_t>(hardware.Library().ZezAdo_inp(port) & 0xFF);
    return hardware.DirectIn8(port);
}

uint16_t CPortAccess::PortRead16(uint16_t port)
{
    if (IsNtClass(osCode)) {
        return static_cast<uint16_t>(hardware.Library().ZezAdo_inpw(port) & 0xFFFF);
    }
    return hardware.DirectIn16(port);
}

uint32_t CPortAccess::PortRead32(uint16_t port)
{
    if (IsNtClass(osCode)) return hardware.Library().ZezAdo_inpd(port);
    return hardware.DirectIn32(port);
}

// The library's results are not examined: when it does not work, reads simply find nothing.
void CPortAccess::OpenPortAccess()
{
    if (!IsNtClass(osCode)) return;
    PortLibrary& library = hardware.Library();
    library.Pre_Open_Device(PORTLIB_SELECTOR_PORTS, PORTLIB_PORTS_TEMP, PORTLIB_PORTS_NAME);
    library.ZezAdo_Open();
}

void CPortAccess::ClosePortAccess()
{
    if (!IsNtClass(osCode)) return;
    PortLibrary& library = hardware.Library();
    library.ZezAdo_Close();
    library.Post_Close_Device(PORTLIB_PORTS_TEMP, PORTLIB_PORTS_NAME);
}

bool CPortAccess::ReadRomImage(uint8_t* out)
{
    // Whatever cannot be read stays zero, so a caller never sees stale bytes.
    memset(out, 0, ROM_IMAGE_SIZE);
    if (!IsNtClass(osCode)) {
        if (hardware.DirectReadPhysical(ROM_IMAGE_BASE, out, ROM_IMAGE_SIZE)) return true;
        memset(out, 0, ROM_IMAGE_SIZE);
        return false;
    }

    PortLibrary& library = hardware.Library();
    library.Pre_Open_Device(PORTLIB_SELECTOR_MEMORY, PORTLIB_MEMORY_TEMP, PORTLIB_MEMORY_NAME);
    library.MapMem_Open();
    const uint8_t* linear = nullptr;
    library.MapMem_Phys_To_Linear(ROM_IMAGE_BASE, 0, ROM_IMAGE_SIZE, &linear);
    // A library that maps nothing delivers no address; reading through it would crash.
    bool read = linear != nullptr;
    if (read) memcpy(out, linear, ROM_IMAGE_SIZE);
    library.MapMem_Close();
    library.Post_Close_Device(PORTLIB_MEMORY_TEMP, PORTLIB_MEMORY_NAME);
    return read;
}

void CPortAccess::IoDelay(uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) PortWrite32(PORT_DELAY, count);
}
