// The board simulator: PCI configuration space, Super-I/O chips, the delay port, the BIOS ROM
// image and the processor, loaded from a plain-text board description. Every port operation
// is counted, so the cost of detection is a number.
#pragma once

#include <cstdint>
#include <vector>

#include "common/fixed_text.h"

// The ROM image the program reads: 0xFFF0 bytes from physical 0xF0000.
const uint32_t BOARD_ROM_BASE = 0xF0000;
const uint32_t BOARD_ROM_SIZE = 0xFFF0;

class CBoard {
public:
    CBoard();

    // Replaces the board by the description text. On a malformed line returns false and
    // describes it in *error ("line N: ..."); the board is then empty. baseDir resolves the
    // relative file name of "bios image=FILE" (null: the current directory).
    bool LoadDescription(const char* text, const char* baseDir, FixedText<256>* error);
    bool LoadFile(const char* path, FixedText<256>* error);
    // An empty board: nothing answers, every read gives all ones.
    void Clear();

    void Out8(uint16_t port, uint8_t value);
    void Out16(uint16_t port, uint16_t value);
    void Out32(uint16_t port, uint32_t value);
    uint8_t In8(uint16_t port);
    uint16_t In16(uint16_t port);
    uint32_t In32(uint16_t port);

    // Physical memory: the ROM image answers in its range, everything else reads zero.
    // False when the range is not inside the first megabyte.
    bool ReadPhysical(uint32_t address, uint8_t* out, uint32_t length) const;
    const uint8_t* RomImage() const;

    // The processor's vendor string, empty when the processor has no identification support.
    const char* CpuVendor() const;
    uint32_t MemoryKb() const;

    // Port operations (each in or out, of any width) since load or the last reset.
    uint64_t PortOps() const;
    void ResetPortOps();

private:
    struct Impl;
    // The board state is plain data; see board.cpp.
    std::vector<uint8_t> state;  // placeholder replaced by the implementation
};
