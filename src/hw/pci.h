// PCI configuration mechanism 1 over the port primitives: the catalogue probes' two questions,
// answered by a literal bus walk per question or from one walk's snapshot.
#pragma once

#include <cstdint>

#include "hw/port_access.h"

// What the catalogue probes ask of configuration space. lastClassCode (owned by the caller of
// each implementation) is written at every id match of FindPciDevice.
class CPciSource {
public:
    virtual ~CPciSource() {}

    // Buses 0-3; subsystemDword 0 accepts any subsystem.
    virtual bool FindPciDevice(uint32_t idDword, uint32_t subsystemDword) = 0;
    // Buses 0-2; compares the revision id with the low byte of revision.
    virtual bool FindPciDeviceRevision(uint32_t idDword, uint32_t revision) = 0;
};

// Every call walks every bus/device/function combination through the ports.
class CPciScanner : public CPciSource {
public:
    CPciScanner(CPortAccess& ports, uint16_t& lastClassCode);

    bool FindPciDevice(uint32_t idDword, uint32_t subsystemDword) override;
    bool FindPciDeviceRevision(uint32_t idDword, uint32_t revision) override;

private:
    CPortAccess& ports;
    uint16_t& lastClassCode;
};

// Every combination of buses 0-3.
const int PCI_SNAPSHOT_CAPACITY = 4 * 32 * 8;

// The first question walks buses 0-3 once: dword 0x00 of every combination, and dwords 0x08
// and 0x2C of every function present (dword 0x00 not all ones). Every answer then comes from
// those dwords, in walk order, so it is the one a literal walk gives: the same first match,
// the same lastClassCode. Configuration reads have no side effects, so reading each register
// once is all a walk can learn.
class CPciSnapshot : public CPciSource {
public:
    CPciSnapshot(CPortAccess& ports, uint16_t& lastClassCode);

    bool FindPciDevice(uint32_t idDword, uint32_t subsystemDword) override;
    bool FindPciDeviceRevision(uint32_t idDword, uint32_t revision) override;

    // Forgets the walk; the next question walks again (port access must be open by then).
    void Invalidate() { filled = false; }
    // Functions present on buses 0-3 (walks first when nothing was read yet).
    int PresentCount();

private:
    struct CPciFunctionDwords {
        uint8_t bus;
        uint32_t id;
        uint32_t classRevision;
        uint32_t subsystem;
    };

    void Fill();

    CPortAccess& ports;
    uint16_t& lastClassCode;
    // An all-ones id would match every absent function, whose other dwords the snapshot
    // does not hold; that question goes to the literal walk.
    CPciScanner literal;
    bool filled = false;
    int count = 0;
    CPciFunctionDwords functions[PCI_SNAPSHOT_CAPACITY];
};
