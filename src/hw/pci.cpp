// PCI configuration mechanism 1 scans: every bus/device/function combination is probed in
// turn, with no header-type or presence test (an absent function reads all ones).
#include "hw/pci.h"

namespace {

const uint16_t PCI_PORT_ADDRESS = 0xCF8;
const uint16_t PCI_PORT_DATA = 0xCFC;
const uint16_t PCI_PORT_DATA_HIGH = 0xCFE;

const uint8_t PCI_REG_ID = 0x00;
const uint8_t PCI_REG_CLASS_REVISION = 0x08;
const uint8_t PCI_REG_SUBSYSTEM = 0x2C;

const uint32_t PCI_BUSES_FIND = 4;
const uint32_t PCI_BUSES_REVISION = 3;
const uint32_t PCI_DEVICES = 32;
const uint32_t PCI_FUNCTIONS = 8;

uint32_t ConfigAddress(uint32_t bus, uint32_t device, uint32_t function, uint8_t reg)
{
    return 0x80000000u | bus << 16 | device << 11 | function << 8 | reg;
}

}  // namespace

CPciScanner::CPciScanner(CPortAccess& ports, uint16_t& lastClassCode)
    : ports(ports), lastClassCode(lastClassCode)
{
}

bool CPciScanner::FindPciDevice(uint32_t idDword, uint32_t subsystemDword)
{
    for (uint32_t bus = 0; bus < PCI_BUSES_FIND; ++bus) {
        for (uint32_t device = 0; device < PCI_DEVICES; ++device) {
            for (uint32_t function = 0; function < PCI_FUNCTIONS; ++function) {
                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_ID));
                if (ports.PortRead32(PCI_PORT_DATA) != idDword) continue;

                // Kept for the IDE/RAID probe, even when the subsystem then fails.
                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_CLASS_REVISION));
                lastClassCode = ports.PortRead16(PCI_PORT_DATA_HIGH);
                if (subsystemDword == 0) return true;

                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_SUBSYSTEM));
                // A later function with the same id may still carry the wanted subsystem.
                if (ports.PortRead32(PCI_PORT_DATA) == subsystemDword) return true;
            }
        }
    }
    return false;
}

bool CPciScanner::FindPciDeviceRevision(uint32_t idDword, uint32_t revision)
{
    for (uint32_t bus = 0; bus < PCI_BUSES_REVISION; ++bus) {
        for (uint32_t device = 0; device < PCI_DEVICES; ++device) {
            for (uint32_t function = 0; function < PCI_FUNCTIONS; ++function) {
                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_ID));
                if (ports.PortRead32(PCI_PORT_DATA) != idDword) continue;

                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_CLASS_REVISION));
                uint16_t classRevision = ports.PortRead16(PCI_PORT_DATA);
                if ((classRevision & 0xFF) == (revision & 0xFF)) return true;
            }
        }
    }
    return false;
}
