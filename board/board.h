// The board simulator: PCI configuration space, Super-I/O chips, the delay port, the BIOS ROM
// image and the processor, loaded from a plain-text board description. Every port operation
// is counted, so the cost of detection is a number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/fixed_text.h"

// The ROM image the program reads: 0xFFF0 bytes from physical 0xF0000.
const uint32_t BOARD_ROM_BASE = 0xF0000;
const uint32_t BOARD_ROM_SIZE = 0xFFF0;

// Where the BIOS text of each family is placed (the program reads from the byte after a
// filler byte, so the text itself starts one byte later).
const uint32_t BOARD_AMI_TEXT_ADDRESS = 0xFF532;
const uint32_t BOARD_OTHER_TEXT_ADDRESS = 0xFE0C1;
// Default image offset of the "AMIBIOS" marker; "marker=" moves it.
const uint32_t BOARD_AMI_MARKER_OFFSET = 0x0010;
// The non-zero byte placed just before the text.
const uint8_t BOARD_TEXT_FILLER = 0x2A;

// The two Super-I/O index ports (data port = index + 1).
const uint16_t BOARD_SUPERIO_PORT_A = 0x2E;
const uint16_t BOARD_SUPERIO_PORT_B = 0x4E;
const int BOARD_MAX_SEQUENCE = 8;

struct CBoardTokens;

// One PCI function of the description, read-only: where it sits and the dwords that name it.
struct CBoardPciInfo {
    uint8_t bus = 0;
    uint8_t device = 0;
    uint8_t function = 0;
    uint32_t id = 0;          // dword 0x00: device id << 16 | vendor id
    uint32_t classDword = 0;  // dword 0x08: class codes, revision in the low byte
    uint32_t subsystem = 0;   // dword 0x2C: subsystem id << 16 | subsystem vendor id
};

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
    // The address at which the physical range can be read, or null when it does not lie
    // inside the ROM image (the only memory the board can hand out).
    const uint8_t* MapPhysical(uint32_t physLow, uint32_t physHigh, uint32_t length) const;

    // The processor's vendor string, empty when the processor has no identification support.
    const char* CpuVendor() const;
    uint32_t MemoryKb() const;

    // Port operations (each in or out, of any width) since load or the last reset.
    uint64_t PortOps() const;
    void ResetPortOps();
    // Writes to the delay port 0xEB since load or the last reset.
    uint64_t DelayWrites() const;

    // What the description holds, for listings and tests.
    int PciFunctionCount() const { return (int)pciFunctions.size(); }
    // Function index (0 .. PciFunctionCount() - 1, in description order) without touching the
    // ports or their count; false outside that range.
    bool PciFunctionAt(int index, CBoardPciInfo* out) const;
    bool HasSuperIo(uint16_t indexPort) const;
    // Whether the chip behind indexPort is in configuration mode.
    bool SuperIoInConfigMode(uint16_t indexPort) const;

private:
    struct CPciFunction {
        uint8_t bus = 0;
        uint8_t device = 0;
        uint8_t function = 0;
        uint32_t config[64] = {};  // configuration dwords 0x00..0xFC
    };

    struct CSuperIoChip {
        bool present = false;
        uint16_t indexPort = 0;
        uint8_t key[BOARD_MAX_SEQUENCE] = {};
        int keyLength = 0;
        // Either a byte sequence written to the index port, or a register write whose value
        // has all bits of exitValue set (exitLength 0 then).
        uint8_t exitBytes[BOARD_MAX_SEQUENCE] = {};
        int exitLength = 0;
        uint8_t exitRegister = 0;
        uint8_t exitValue = 0;
        uint8_t globalRegs[0x30] = {};
        std::vector<uint8_t> deviceRegs;  // 256 logical devices x 256 registers, lazily sized

        // Run-time state.
        bool configMode = false;
        int keyMatched = 0;
        int exitMatched = 0;
        uint8_t selected = 0;  // register chosen by the last index write
    };

    bool LoadBytes(const char* data, size_t size, const char* baseDir, FixedText<256>* error);
    bool ParseLine(const char* line, size_t length, const char* baseDir,
                   FixedText<256>* message);
    bool ParsePci(const CBoardTokens& tokens, FixedText<256>* message);
    bool ParseSuperIo(const CBoardTokens& tokens, FixedText<256>* message);
    bool ParseBios(const CBoardTokens& tokens, const char* baseDir, FixedText<256>* message);
    bool ParseCpu(const CBoardTokens& tokens, FixedText<256>* message);
    bool ParseMemory(const CBoardTokens& tokens, FixedText<256>* message);

    CSuperIoChip* ChipAt(uint16_t port);
    const CSuperIoChip* ChipAt(uint16_t port) const;
    const CPciFunction* LatchedFunction() const;
    int ResolveLatch() const;
    uint8_t ReadByteAt(uint16_t port);
    void WriteByteAt(uint16_t port, uint8_t value);
    void SuperIoIndexWrite(CSuperIoChip& chip, uint8_t value);
    void SuperIoDataWrite(CSuperIoChip& chip, uint8_t value);
    uint8_t SuperIoDataRead(const CSuperIoChip& chip) const;

    std::vector<CPciFunction> pciFunctions;
    CSuperIoChip chips[2];
    std::vector<uint8_t> rom;  // BOARD_ROM_SIZE bytes
    bool hasBios = false;
    bool hasCpuLine = false;
    bool hasMemoryLine = false;
    FixedText<13> cpuVendor;
    uint32_t memoryKb = 0;
    uint32_t pciAddress = 0;  // the latch of port 0xCF8
    // The function pciAddress points at, found when the latch is written: an index into
    // pciFunctions (an index, so a copied board stays right), -1 when nothing answers.
    int latchedFunction = -1;
    uint64_t portOps = 0;
    uint64_t delayWrites = 0;
};
