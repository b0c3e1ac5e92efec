// PCI configuration mechanism 1 scans. The literal walk probes every bus/device/function
// combination in turn, with no header-type or presence test (an absent function reads all
// ones); the snapshot walks once and answers every later question from what it read.
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
const uint32_t PCI_ABSENT = 0xFFFFFFFF;

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

CPciSnapshot::CPciSnapshot(CPortAccess& ports, uint16_t& lastClassCode)
    : ports(ports), lastClassCode(lastClassCode), literal(ports, lastClassCode)
{
}

void CPciSnapshot::Fill()
{
    count = 0;
    for (uint32_t bus = 0; bus < PCI_BUSES_FIND; ++bus) {
        for (uint32_t device = 0; device < PCI_DEVICES; ++device) {
            for (uint32_t function = 0; function < PCI_FUNCTIONS; ++function) {
                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_ID));
                uint32_t id = ports.PortRead32(PCI_PORT_DATA);
                if (id == PCI_ABSENT) continue;

                CPciFunctionDwords& entry = functions[count++];
                entry.bus = static_cast<uint8_t>(bus);
                entry.id = id;
                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_CLASS_REVISION));
                entry.classRevision = ports.PortRead32(PCI_PORT_DATA);
                ports.PortWrite32(PCI_PORT_ADDRESS,
                                  ConfigAddress(bus, device, function, PCI_REG_SUBSYSTEM));
                entry.subsystem = ports.PortRead32(PCI_PORT_DATA);
            }
        }
    }
    filled = true;
}

int CPciSnapshot::PresentCount()
{
    if (!filled) Fill();
    return count;
}

bool CPciSnapshot::FindPciDevice(uint32_t idDword, uint32_t subsystemDword)
{
    if (idDword == PCI_ABSENT) return literal.FindPciDevice(idDword, subsystemDword);
    if (!filled) Fill();
    for (int i = 0; i < count; ++i) {
        const CPciFunctionDwords& entry = functions[i];
        if (entry.id != idDword) continue;
        // As in the walk: every id match leaves its class word, a subsystem miss included.
        lastClassCode = static_cast<uint16_t>(entry.classRevision >> 16);
        if (subsystemDword == 0 || entry.subsystem == subsystemDword) return true;
    }
    return false;
}

bool CPciSnapshot::FindPciDeviceRevision(uint32_t idDword, uint32_t revision)
{
    if (idDword == PCI_ABSENT) return literal.FindPciDeviceRevision(idDword, revision);
    if (!filled) Fill();
    for (int i = 0; i < count; ++i) {
        const CPciFunctionDwords& entry = functions[i];
        // The entries are in walk order, so the buses the revision walk leaves out come last.
        if (entry.bus >= PCI_BUSES_REVISION) break;
        if (entry.id == idDword && (entry.classRevision & 0xFF) == (revision & 0xFF)) return true;
    }
    return false;
}
