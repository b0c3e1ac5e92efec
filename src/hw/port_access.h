// The port primitives and the physical-memory read, each dispatching on the NT class at every
// call: the port library there, direct instructions for every other osCode.
#pragma once

#include <cstdint>

#include "platform/hardware.h"

// The BIOS ROM image the program reads: 0xFFF0 bytes from physical 0xF0000.
const uint32_t ROM_IMAGE_BASE = 0xF0000;
const uint32_t ROM_IMAGE_SIZE = 0xFFF0;

class CPortAccess {
public:
    // osCode is read at every call, so classification may run after construction.
    CPortAccess(Hardware& hardware, const uint8_t& osCode);

    void PortWrite8(uint16_t port, uint8_t value);
    void PortWrite32(uint16_t port, uint32_t value);
    uint8_t PortRead8(uint16_t port);
    uint16_t PortRead16(uint16_t port);
    uint32_t PortRead32(uint16_t port);

    // Bracket all of detection (NT class only; nothing otherwise).
    void OpenPortAccess();
    void ClosePortAccess();

    // The ROM_IMAGE_SIZE bytes from physical ROM_IMAGE_BASE into out: the library's map
    // sequence on the NT class, a direct read otherwise. False when nothing could be read;
    // out is then all zero.
    bool ReadRomImage(uint8_t* out);

    // count dword writes to the delay port 0xEB.
    void IoDelay(uint32_t count);

    Hardware& HardwareService() { return hardware; }

private:
    Hardware& hardware;
    const uint8_t& osCode;
};
