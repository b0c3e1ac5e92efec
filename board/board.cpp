// The board at run time: port decoding for PCI mechanism 1, the Super-I/O pairs and the delay
// port, and the physical memory of the ROM image.
#include "board/board.h"

#include <cstring>

namespace {

const uint16_t BOARD_PCI_ADDRESS_PORT = 0xCF8;
const uint16_t BOARD_PCI_DATA_PORT = 0xCFC;
const uint16_t BOARD_DELAY_PORT = 0xEB;
const uint32_t BOARD_PCI_ENABLE = 0x80000000;
const uint32_t BOARD_PHYSICAL_LIMIT = 0x100000;
const uint8_t BOARD_LDN_REGISTER = 0x07;

}  // namespace

CBoard::CBoard()
{
    Clear();
}

void CBoard::Clear()
{
    pciFunctions.clear();
    chips[0] = CSuperIoChip();
    chips[1] = CSuperIoChip();
    rom.assign(BOARD_ROM_SIZE, 0);
    hasBios = false;
    hasCpuLine = false;
    hasMemoryLine = false;
    cpuVendor.Clear();
    memoryKb = 0;
    pciAddress = 0;
    latchedFunction = -1;
    portOps = 0;
    delayWrites = 0;
}

CBoard::CSuperIoChip* CBoard::ChipAt(uint16_t port)
{
    for (CSuperIoChip& chip : chips) {
        if (chip.present && (port == chip.indexPort || port == chip.indexPort + 1)) return &chip;
    }
    return nullptr;
}

const CBoard::CSuperIoChip* CBoard::ChipAt(uint16_t port) const
{
    return const_cast<CBoard*>(this)->ChipAt(port);
}

bool CBoard::HasSuperIo(uint16_t indexPort) const
{
    const CSuperIoChip* chip = ChipAt(indexPort);
    return chip && chip->indexPort == indexPort;
}

bool CBoard::SuperIoInConfigMode(uint16_t indexPort) const
{
    const CSuperIoChip* chip = ChipAt(indexPort);
    return chip && chip->indexPort == indexPort && chip->configMode;
}

// The function pciAddress points at, or -1 (disabled address, nothing there). Looked up once
// per latch write: a bus scan reads each latched function several times.
int CBoard::ResolveLatch() const
{
    if (!(pciAddress & BOARD_PCI_ENABLE)) return -1;
    uint8_t bus = (uint8_t)(pciAddress >> 16);
    uint8_t device = (uint8_t)((pciAddress >> 11) & 0x1F);
    uint8_t function = (uint8_t)((pciAddress >> 8) & 0x07);
    for (size_t i = 0; i < pciFunctions.size(); ++i) {
        const CPciFunction& fn = pciFunctions[i];
        if (fn.bus == bus && fn.device == device && fn.function == function) return (int)i;
    }
    return -1;
}

const CBoard::CPciFunction* CBoard::LatchedFunction() const
{
    return latchedFunction < 0 ? nullptr : &pciFunctions[(size_t)latchedFunction];
}

// A matching byte advances a sequence; a wrong one restarts it, counting itself when it is
// the sequence's first byte (so 0x87,0x87,0x01,0x55,0x55 still unlocks 0x87,0x01,0x55,0x55).
static bool AdvanceSequence(const uint8_t* sequence, int length, int* matched, uint8_t value)
{
    if (value == sequence[*matched]) ++*matched;
    else *matched = value == sequence[0] ? 1 : 0;
    if (*matched < length) return false;
    *matched = 0;
    return true;
}

void CBoard::SuperIoIndexWrite(CSuperIoChip& chip, uint8_t value)
{
    if (!chip.configMode) {
        if (AdvanceSequence(chip.key, chip.keyLength, &chip.keyMatched, value)) {
            chip.configMode = true;
            chip.exitMatched = 0;
        }
        return;
    }
    chip.selected = value;
    if (chip.exitLength > 0 &&
        AdvanceSequence(chip.exitBytes, chip.exitLength, &chip.exitMatched, value)) {
        chip.configMode = false;
        chip.keyMatched = 0;
    }
}

void CBoard::SuperIoDataWrite(CSuperIoChip& chip, uint8_t value)
{
    if (!chip.configMode) return;
    if (chip.exitLength == 0 && chip.selected == chip.exitRegister &&
        (value & chip.exitValue) == chip.exitValue) {
        chip.configMode = false;
        chip.keyMatched = 0;
        return;
    }
    if (chip.selected < 0x30) {
        chip.globalRegs[chip.selected] = value;
    } else {
        chip.deviceRegs[(size_t)chip.globalRegs[BOARD_LDN_REGISTER] * 256 + chip.selected] = value;
    }
}

uint8_t CBoard::SuperIoDataRead(const CSuperIoChip& chip) const
{
    if (!chip.configMode) return 0xFF;
    if (chip.selected < 0x30) return chip.globalRegs[chip.selected];
    return chip.deviceRegs[(size_t)chip.globalRegs[BOARD_LDN_REGISTER] * 256 + chip.selected];
}

// One byte lane of a read. Wider reads are put together from these, as the bus would.
uint8_t CBoard::ReadByteAt(uint16_t port)
{
    if (port >= BOARD_PCI_DATA_PORT && port < BOARD_PCI_DATA_PORT + 4) {
        const CPciFunction* fn = LatchedFunction();
        if (!fn) return 0xFF;
        uint32_t dword = fn->config[(pciAddress & 0xFC) / 4];
        return (uint8_t)(dword >> (8 * (port - BOARD_PCI_DATA_PORT)));
    }
    CSuperIoChip* chip = ChipAt(port);
    if (!chip) return 0xFF;
    if (port == chip->indexPort) return chip->configMode ? chip->selected : 0xFF;
    return SuperIoDataRead(*chip);
}

// One byte lane of a write. Configuration space is read-only here; the address latch only
// takes dword writes (see Out32).
void CBoard::WriteByteAt(uint16_t port, uint8_t value)
{
    CSuperIoChip* chip = ChipAt(port);
    if (!chip) return;
    if (port == chip->indexPort) SuperIoIndexWrite(*chip, value);
    else SuperIoDataWrite(*chip, value);
}

void CBoard::Out8(uint16_t port, uint8_t value)
{
    ++portOps;
    if (port == BOARD_DELAY_PORT) {
        ++delayWrites;
        return;
    }
    WriteByteAt(port, value);
}

void CBoard::Out16(uint16_t port, uint16_t value)
{
    ++portOps;
    if (port == BOARD_DELAY_PORT) {
        ++delayWrites;
        return;
    }
    WriteByteAt(port, (uint8_t)value);
    WriteByteAt((uint16_t)(port + 1), (uint8_t)(value >> 8));
}

void CBoard::Out32(uint16_t port, uint32_t value)
{
    ++portOps;
    if (port == BOARD_DELAY_PORT) {
        ++delayWrites;
        return;
    }
    if (port == BOARD_PCI_ADDRESS_PORT) {
        pciAddress = value;
        latchedFunction = ResolveLatch();
        return;
    }
    for (int i = 0; i < 4; ++i) WriteByteAt((uint16_t)(port + i), (uint8_t)(value >> (8 * i)));
}

uint8_t CBoard::In8(uint16_t port)
{
    ++portOps;
    return ReadByteAt(port);
}

uint16_t CBoard::In16(uint16_t port)
{
    ++portOps;
    uint16_t low = ReadByteAt(port);
    uint16_t high = ReadByteAt((uint16_t)(port + 1));
    return (uint16_t)(low | high << 8);
}

uint32_t CBoard::In32(uint16_t port)
{
    ++portOps;
    if (port == BOARD_PCI_ADDRESS_PORT) return pciAddress;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= (uint32_t)ReadByteAt((uint16_t)(port + i)) << (8 * i);
    return value;
}

bool CBoard::ReadPhysical(uint32_t address, uint8_t* out, uint32_t length) const
{
    if (address > BOARD_PHYSICAL_LIMIT || length > BOARD_PHYSICAL_LIMIT - address) return false;
    if (length > 0 && !out) return false;
    for (uint32_t i = 0; i < length; ++i) {
        uint32_t at = address + i;
        bool inRom = at >= BOARD_ROM_BASE && at - BOARD_ROM_BASE < BOARD_ROM_SIZE;
        out[i] = inRom ? rom[at - BOARD_ROM_BASE] : 0;
    }
    return true;
}

const uint8_t* CBoard::RomImage() const
{
    return rom.data();
}

const uint8_t* CBoard::MapPhysical(uint32_t physLow, uint32_t physHigh, uint32_t length) const
{
    if (physHigh != 0 || length == 0 || physLow < BOARD_ROM_BASE) return nullptr;
    uint32_t offset = physLow - BOARD_ROM_BASE;
    if (offset >= BOARD_ROM_SIZE || length > BOARD_ROM_SIZE - offset) return nullptr;
    return rom.data() + offset;
}

const char* CBoard::CpuVendor() const
{
    return cpuVendor.c_str();
}

uint32_t CBoard::MemoryKb() const
{
    return memoryKb;
}

bool CBoard::PciFunctionAt(int index, CBoardPciInfo* out) const
{
    if (!out || index < 0 || index >= (int)pciFunctions.size()) return false;
    const CPciFunction& fn = pciFunctions[(size_t)index];
    out->bus = fn.bus;
    out->device = fn.device;
    out->function = fn.function;
    out->id = fn.config[0x00 / 4];
    out->classDword = fn.config[0x08 / 4];
    out->subsystem = fn.config[0x2C / 4];
    return true;
}

uint64_t CBoard::PortOps() const
{
    return portOps;
}

void CBoard::ResetPortOps()
{
    portOps = 0;
    delayWrites = 0;
}

uint64_t CBoard::DelayWrites() const
{
    return delayWrites;
}
