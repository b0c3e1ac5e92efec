// The x86 port instructions (in and out of 8, 16 and 32 bits, with a port in DX or an
// immediate byte) decoded from their bytes and carried out on a board, so a trap for the
// instruction can answer it from the board as the hardware would.
#pragma once

#include <cstddef>
#include <cstdint>

class CBoard;

// The longest x86 instruction.
const size_t PORT_INSTRUCTION_MAX_LENGTH = 15;

struct CPortInstruction {
    bool isIn = false;     // in: the port's value into the accumulator; out: the other way
    int width = 0;         // 1, 2 or 4 bytes
    bool portInDx = false; // the port is DX; else the immediate byte
    uint8_t immediatePort = 0;
    size_t length = 0;     // bytes to step over
};

// Decodes the port instruction at code (available bytes readable there). Prefixes taken: the
// operand-size prefix 0x66 and, in 64-bit code, one REX prefix right before the opcode (it does
// not change a port instruction). False for anything else, so other faults are left alone.
bool DecodePortInstruction(const uint8_t* code, size_t available, bool longMode,
                           CPortInstruction* out);

// Carries out the instruction on the board with DX and the accumulator as the faulting thread
// had them; returns the accumulator afterwards. A read replaces AL or AX and keeps the bits
// above them, a 32-bit read replaces the whole register (clearing the upper half in 64-bit
// code); a write leaves it as it was.
uint64_t PerformPortInstruction(CBoard& board, const CPortInstruction& instruction, uint16_t dx,
                                uint64_t accumulator);
