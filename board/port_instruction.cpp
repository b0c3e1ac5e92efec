// Decoding and carrying out the x86 port instructions on the board simulator.
#include "board/port_instruction.h"

#include "board/board.h"

namespace {

const uint8_t PREFIX_OPERAND_SIZE = 0x66;
const uint8_t REX_FIRST = 0x40;
const uint8_t REX_LAST = 0x4F;

// Opcodes: E4/E5 in from an immediate port, E6/E7 out to one, EC/ED in from DX, EE/EF out to
// DX; the low bit chooses the byte form (0) or the word or dword form (1).
const uint8_t OPCODE_IN_IMMEDIATE = 0xE4;
const uint8_t OPCODE_OUT_IMMEDIATE = 0xE6;
const uint8_t OPCODE_IN_DX = 0xEC;
const uint8_t OPCODE_OUT_DX = 0xEE;

}  // namespace

bool DecodePortInstruction(const uint8_t* code, size_t available, bool longMode,
                           CPortInstruction* out)
{
    if (!code || !out) return false;
    if (available > PORT_INSTRUCTION_MAX_LENGTH) available = PORT_INSTRUCTION_MAX_LENGTH;
    size_t at = 0;
    bool operandSize = false;
    while (at < available && code[at] == PREFIX_OPERAND_SIZE) {
        operandSize = true;
        ++at;
    }
    if (longMode && at < available && code[at] >= REX_FIRST && code[at] <= REX_LAST) ++at;
    if (at >= available) return false;

    uint8_t opcode = code[at++];
    uint8_t form = opcode & 0xFE;
    CPortInstruction decoded;
    if (form == OPCODE_IN_IMMEDIATE || form == OPCODE_OUT_IMMEDIATE) {
        if (at >= available) return false;
        decoded.immediatePort = code[at++];
    } else if (form == OPCODE_IN_DX || form == OPCODE_OUT_DX) {
        decoded.portInDx = true;
    } else {
        return false;
    }
    decoded.isIn = form == OPCODE_IN_IMMEDIATE || form == OPCODE_IN_DX;
    decoded.width = (opcode & 1) == 0 ? 1 : (operandSize ? 2 : 4);
    decoded.length = at;
    *out = decoded;
    return true;
}

uint64_t PerformPortInstruction(CBoard& board, const CPortInstruction& instruction, uint16_t dx,
                                uint64_t accumulator)
{
    uint16_t port = instruction.portInDx ? dx : instruction.immediatePort;
    if (!instruction.isIn) {
        switch (instruction.width) {
        case 1: board.Out8(port, (uint8_t)accumulator); break;
        case 2: board.Out16(port, (uint16_t)accumulator); break;
        default: board.Out32(port, (uint32_t)accumulator); break;
        }
        return accumulator;
    }
    switch (instruction.width) {
    case 1: return (accumulator & ~(uint64_t)0xFF) | board.In8(port);
    case 2: return (accumulator & ~(uint64_t)0xFFFF) | board.In16(port);
    default: return board.In32(port);
    }
}
