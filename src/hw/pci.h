// PCI configuration mechanism 1 scans over the port primitives.
#pragma once

#include <cstdint>

#include "hw/port_access.h"

class CPciScanner {
public:
    // lastClassCode is written at every id match of FindPciDevice.
    CPciScanner(CPortAccess& ports, uint16_t& lastClassCode);

    // Buses 0-3; subsystemDword 0 accepts any subsystem.
    bool FindPciDevice(uint32_t idDword, uint32_t subsystemDword);
    // Buses 0-2; compares the revision id with the low byte of revision.
    bool FindPciDeviceRevision(uint32_t idDword, uint32_t revision);

private:
    CPortAccess& ports;
    uint16_t& lastClassCode;
};
