// The port instructions a trap answers from the board: every opcode form and prefix the
// compilers emit, the ones it must leave alone, and what each does to the accumulator.
#include <gtest/gtest.h>

#include <vector>

#include "board/board.h"
#include "board/port_instruction.h"

namespace {

struct CForm {
    std::vector<uint8_t> bytes;
    bool isIn;
    int width;
    bool portInDx;
    uint8_t immediatePort;
    size_t length;
};

CPortInstruction Decode(const std::vector<uint8_t>& bytes, bool longMode, bool* ok)
{
    CPortInstruction instruction;
    *ok = DecodePortInstruction(bytes.data(), bytes.size(), longMode, &instruction);
    return instruction;
}

const char* BOARD =
    "pci 00:1f.5 id=0x24C58086 class=0x04010002 subsys=0xA0007A51\n"
    "superio 0x2E key=0x87,0x87 exit=0xAA reg.0x20=0x52 reg.0x21=0x17\n";

}  // namespace

TEST(PortInstruction, DecodesEveryFormInBothModes)
{
    const CForm forms[] = {
        {{0xEC}, true, 1, true, 0, 1},                 // in al, dx
        {{0x66, 0xED}, true, 2, true, 0, 2},           // in ax, dx
        {{0xED}, true, 4, true, 0, 1},                 // in eax, dx
        {{0xEE}, false, 1, true, 0, 1},                // out dx, al
        {{0x66, 0xEF}, false, 2, true, 0, 2},          // out dx, ax
        {{0xEF}, false, 4, true, 0, 1},                // out dx, eax
        {{0xE4, 0x2F}, true, 1, false, 0x2F, 2},       // in al, 0x2f
        {{0x66, 0xE5, 0x80}, true, 2, false, 0x80, 3}, // in ax, 0x80
        {{0xE5, 0x71}, true, 4, false, 0x71, 2},       // in eax, 0x71
        {{0xE6, 0xEB}, false, 1, false, 0xEB, 2},      // out 0xeb, al
        {{0x66, 0xE7, 0x2E}, false, 2, false, 0x2E, 3},
        {{0xE7, 0x4E}, false, 4, false, 0x4E, 2},
        {{0x66, 0x66, 0xED}, true, 2, true, 0, 3},     // a repeated prefix is still one
    };
    for (bool longMode : {false, true}) {
        for (const CForm& form : forms) {
            std::vector<uint8_t> bytes = form.bytes;
            bytes.push_back(0x90);  // the next instruction must not be taken in
            bool ok = false;
            CPortInstruction got = Decode(bytes, longMode, &ok);
            ASSERT_TRUE(ok) << "opcode byte " << (int)form.bytes.back();
            EXPECT_EQ(form.isIn, got.isIn);
            EXPECT_EQ(form.width, got.width);
            EXPECT_EQ(form.portInDx, got.portInDx);
            EXPECT_EQ(form.immediatePort, got.immediatePort);
            EXPECT_EQ(form.length, got.length);
        }
    }
}

TEST(PortInstruction, TakesRexOnlyInLongModeAndOnlyBeforeTheOpcode)
{
    bool ok = false;
    CPortInstruction got = Decode({0x48, 0xED}, true, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(4, got.width);
    EXPECT_EQ(2u, got.length);
    got = Decode({0x66, 0x41, 0xE5, 0x10}, true, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(2, got.width);
    EXPECT_EQ(4u, got.length);
    // In 32-bit code 0x48 is dec eax, not a prefix.
    Decode({0x48, 0xED}, false, &ok);
    EXPECT_FALSE(ok);
    // A REX prefix before the operand-size prefix is not how the instruction is written.
    Decode({0x41, 0x66, 0xED}, true, &ok);
    EXPECT_FALSE(ok);
}

TEST(PortInstruction, LeavesOtherFaultsAlone)
{
    bool ok = true;
    // cli, hlt, a string port instruction (insb), mov eax,[eax], a lone prefix, nothing.
    for (const std::vector<uint8_t>& bytes : std::vector<std::vector<uint8_t>>{
             {0xFA}, {0xF4}, {0x6C}, {0x8B, 0x00}, {0x66}, {0xF3, 0xEC}, {}}) {
        Decode(bytes, true, &ok);
        EXPECT_FALSE(ok);
        Decode(bytes, false, &ok);
        EXPECT_FALSE(ok);
    }
    // The immediate port byte lies past what may be read.
    Decode({0xE4}, false, &ok);
    EXPECT_FALSE(ok);
    std::vector<uint8_t> prefixes(PORT_INSTRUCTION_MAX_LENGTH, 0x66);
    prefixes.push_back(0xED);
    Decode(prefixes, false, &ok);
    EXPECT_FALSE(ok) << "longer than any x86 instruction";
    EXPECT_FALSE(DecodePortInstruction(nullptr, 4, false, nullptr));
}

TEST(PortInstruction, ReadsMergeIntoTheAccumulatorAsTheCpuDoes)
{
    CBoard board;
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription(BOARD, nullptr, &error)) << error.c_str();
    bool ok = false;
    const uint64_t upper = 0x1122334455667788ull;

    // out dx, eax selects dword 0x00 of 00:1f.5; the accumulator is not changed by a write.
    CPortInstruction out32 = Decode({0xEF}, true, &ok);
    EXPECT_EQ(0x80000000ull | 0x1F << 11 | 5 << 8,
              PerformPortInstruction(board, out32, 0xCF8, 0x80000000ull | 0x1F << 11 | 5 << 8));
    EXPECT_EQ(0x24C58086ull, PerformPortInstruction(board, Decode({0xED}, true, &ok), 0xCFC, upper))
        << "a dword read replaces the whole register";
    EXPECT_EQ(0x1122334455668086ull,
              PerformPortInstruction(board, Decode({0x66, 0xED}, true, &ok), 0xCFC, upper));
    EXPECT_EQ(0x11223344556624C5ull,
              PerformPortInstruction(board, Decode({0x66, 0xED}, true, &ok), 0xCFE, upper));
    EXPECT_EQ(0x1122334455667786ull,
              PerformPortInstruction(board, Decode({0xEC}, true, &ok), 0xCFC, upper));

    // The immediate forms use their own port, whatever DX holds: the chip's key, its id.
    CPortInstruction outImmediate = Decode({0xE6, 0x2E}, true, &ok);
    PerformPortInstruction(board, outImmediate, 0xCF8, 0x87);
    PerformPortInstruction(board, outImmediate, 0xCF8, 0x87);
    EXPECT_TRUE(board.SuperIoInConfigMode(0x2E));
    PerformPortInstruction(board, outImmediate, 0, 0x20);
    EXPECT_EQ(0xAB52u, PerformPortInstruction(board, Decode({0xE4, 0x2F}, true, &ok), 0xCFC, 0xAB00));
    // A 16-bit write reaches the board as one word.
    uint64_t before = board.PortOps();
    PerformPortInstruction(board, Decode({0x66, 0xEF}, true, &ok), 0xCFC, 0xFFFF1234);
    EXPECT_EQ(before + 1, board.PortOps());
}
