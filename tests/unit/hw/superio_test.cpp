// The Winbond and IT87 Super-I/O probes on the board simulator: identity tests, the order of
// the two port pairs, each outcome, and that the chip in use is left again.
#include <gtest/gtest.h>

#include <string>

#include "hw/superio.h"
#include "hwaccess_board_rig.h"

namespace {

const char* const WINBOND_KEYS = " key=0x83,0x83 exit=0xAA";
const char* const ITE_KEYS = " key=0x87,0x01,0x55,0x55 exit=reg.0x02:0x02";

std::string Winbond(const char* indexPort, const char* registers)
{
    return std::string("superio ") + indexPort + WINBOND_KEYS + " " + registers + "\n";
}

std::string Ite(const char* indexPort, const char* registers)
{
    return std::string("superio ") + indexPort + ITE_KEYS + " " + registers + "\n";
}

struct CWinbondResult {
    uint8_t code;
    uint32_t foundId;
    uint32_t foundSubsystem;
};

CWinbondResult RunWinbond(CHwaccessBoardRig& rig)
{
    uint8_t code = 77;
    // Detection clears the scratch before the probe; a stale subsystem must be reset.
    rig.state.results.foundId = 0;
    rig.state.results.foundSubsystem = 0xDEAD;
    WinbondChipProbe(rig.ports, &code, rig.state.results);
    return {code, rig.state.results.foundId, rig.state.results.foundSubsystem};
}

void ExpectWinbond(const std::string& board, uint8_t code, uint32_t foundId)
{
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(board + " os " + std::to_string(os));
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load(board.c_str()));
        CWinbondResult result = RunWinbond(rig);
        EXPECT_EQ(code, result.code);
        EXPECT_EQ(foundId, result.foundId);
        EXPECT_EQ(0u, result.foundSubsystem);
        EXPECT_FALSE(rig.board.SuperIoInConfigMode(0x2E));
        EXPECT_FALSE(rig.board.SuperIoInConfigMode(0x4E));
    }
}

const uint32_t ID_LDN0 = SUPERIO_ID_WINBOND_LDN0;
const uint32_t ID_OTHER = SUPERIO_ID_WINBOND_OTHER;

TEST(WinbondChipProbeTest, Chip5181ByLogicalDeviceOne)
{
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x81 ldn1.0x30=0x03"), 1, ID_OTHER);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x81 ldn1.0x30=0x01"), 3, ID_OTHER);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x81 ldn1.0x30=0x02"), 0, 0);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x81 ldn1.0x30=0x07"), 0, 0);
}

TEST(WinbondChipProbeTest, Chip5182ByBitsOneAndFour)
{
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x82 ldn1.0x30=0x02"), 1, ID_OTHER);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x82 ldn1.0x30=0x10"), 1, ID_OTHER);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x82 ldn1.0x30=0xED"), 0, 0);
}

TEST(WinbondChipProbeTest, Chip7112ByLogicalDevicesOneAndThree)
{
    // Logical device 3 active wins over logical device 1.
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x71 reg.0x21=0x12 ldn1.0x30=0x01 ldn3.0x30=0x01"),
                  3, ID_OTHER);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x71 reg.0x21=0x12 ldn1.0x30=0x01 ldn3.0x30=0xFE"),
                  1, ID_OTHER);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x71 reg.0x21=0x12 ldn1.0x30=0xFE ldn3.0x30=0x00"),
                  0, 0);
}

TEST(WinbondChipProbeTest, ActiveLogicalDeviceZeroDecidesOverEveryRule)
{
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x81 ldn0.0x30=0x01 ldn1.0x30=0x03"),
                  2, ID_LDN0);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x71 reg.0x21=0x12 ldn0.0x30=0x01 ldn3.0x30=0x01"),
                  2, ID_LDN0);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x82 ldn0.0x30=0xFF ldn1.0x30=0x00"),
                  2, ID_LDN0);
}

TEST(WinbondChipProbeTest, FamilyMemberWithoutARuleNeedsLogicalDeviceZero)
{
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x83 ldn0.0x30=0x01 ldn1.0x30=0x03"),
                  2, ID_LDN0);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x83 ldn0.0x30=0x00 ldn1.0x30=0x03"),
                  0, 0);
    ExpectWinbond(Winbond("0x2E", "reg.0x20=0x71 reg.0x21=0x1F ldn0.0x30=0x01"), 2, ID_LDN0);
}

TEST(WinbondChipProbeTest, SecondPairWhenTheFirstFailsTheIdentityTest)
{
    ExpectWinbond(Winbond("0x4E", "reg.0x20=0x71 reg.0x21=0x12 ldn1.0x30=0x01 ldn3.0x30=0x01"),
                  3, ID_OTHER);
    // A chip on the first pair whose identity is outside both families.
    std::string board = Winbond("0x2E", "reg.0x20=0x52 reg.0x21=0x81 ldn0.0x30=0x01") +
                        Winbond("0x4E", "reg.0x20=0x51 reg.0x21=0x82 ldn1.0x30=0x02");
    CHwaccessBoardRig rig(OS_WINME);
    ASSERT_TRUE(rig.Load(board.c_str()));
    CWinbondResult result = RunWinbond(rig);
    EXPECT_EQ(1, result.code);
    EXPECT_EQ(ID_OTHER, result.foundId);
    // The first pair is not told to leave.
    EXPECT_TRUE(rig.board.SuperIoInConfigMode(0x2E));
    EXPECT_FALSE(rig.board.SuperIoInConfigMode(0x4E));
}

TEST(WinbondChipProbeTest, ChipOnBothPairsIsProbedOnlyOnTheFirst)
{
    // The second chip would not leave on 0xAA, so touching it would show.
    std::string board = Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x82 ldn1.0x30=0x02") +
                        "superio 0x4E key=0x83,0x83 exit=0x55 reg.0x20=0x51 reg.0x21=0x81 "
                        "ldn1.0x30=0x01\n";
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(os);
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load(board.c_str()));
        CWinbondResult result = RunWinbond(rig);
        EXPECT_EQ(1, result.code);
        EXPECT_EQ(ID_OTHER, result.foundId);
        EXPECT_FALSE(rig.board.SuperIoInConfigMode(0x4E));
        // Key 2, chip id 4, logical device 0 4, logical device 1 4, exit 1.
        EXPECT_EQ(15u, rig.board.PortOps());
    }
}

TEST(WinbondChipProbeTest, NoChipFindsNothingAndWritesNoExit)
{
    CHwaccessBoardRig empty(OS_WIN98SE);
    ASSERT_TRUE(empty.Load("# no Super-I/O chip\n"));
    CWinbondResult result = RunWinbond(empty);
    EXPECT_EQ(0, result.code);
    EXPECT_EQ(0u, result.foundId);
    // Key and chip id on each pair; no exit byte.
    EXPECT_EQ(12u, empty.board.PortOps());

    // An IT87 chip does not answer the Winbond key.
    CHwaccessBoardRig ite(OS_WINXP);
    ASSERT_TRUE(ite.Load(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12").c_str()));
    result = RunWinbond(ite);
    EXPECT_EQ(0, result.code);
    EXPECT_EQ(0u, result.foundId);
}

struct CIteResult {
    uint8_t result;
    int returned;
    uint32_t foundId;
    uint32_t foundSubsystem;
};

CIteResult RunIte(CHwaccessBoardRig& rig)
{
    uint8_t result = 77;
    rig.state.results.foundId = 0;
    rig.state.results.foundSubsystem = 0xDEAD;
    int returned = Ite87Probe(rig.ports, &result, rig.state.results);
    return {result, returned, rig.state.results.foundId, rig.state.results.foundSubsystem};
}

void ExpectIte(const std::string& board, bool hit)
{
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(board + " os " + std::to_string(os));
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load(board.c_str()));
        CIteResult result = RunIte(rig);
        EXPECT_EQ(0, result.returned);
        EXPECT_EQ(hit ? 10 : 0, result.result);
        EXPECT_EQ(hit ? SUPERIO_ID_ITE87 : 0u, result.foundId);
        EXPECT_EQ(hit ? 0u : 0xDEADu, result.foundSubsystem);
        EXPECT_FALSE(rig.board.SuperIoInConfigMode(0x2E));
        EXPECT_FALSE(rig.board.SuperIoInConfigMode(0x4E));
    }
}

TEST(Ite87ProbeTest, It8712SerialModeBitsFourToSix)
{
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x40"), true);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x8F"), false);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0xCF"), true);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x50"), false);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x70"), false);
    // The mode lives in logical device 2 only.
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12 ldn1.0xF0=0x40 ldn3.0xF0=0x40"), false);
}

TEST(Ite87ProbeTest, It8705SerialModeLowBits)
{
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x05 ldn2.0xF1=0x03"), true);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x05 ldn2.0xF1=0x04"), true);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x05 ldn2.0xF1=0xFB"), true);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x05 ldn2.0xF1=0x05"), false);
    ExpectIte(Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x05 ldn2.0xF1=0x00 ldn2.0xF0=0x40"), false);
}

TEST(Ite87ProbeTest, SecondPairAndNeitherPair)
{
    ExpectIte(Ite("0x4E", "reg.0x20=0x87 reg.0x21=0x05 ldn2.0xF1=0x04"), true);

    // Neither pair: only the second is told to leave, so a chip entered on the first stays.
    CHwaccessBoardRig rig(OS_WIN95);
    ASSERT_TRUE(rig.Load(Ite("0x2E", "reg.0x20=0x86 reg.0x21=0x12 ldn2.0xF0=0x40").c_str()));
    CIteResult result = RunIte(rig);
    EXPECT_EQ(0, result.result);
    EXPECT_EQ(0u, result.foundId);
    EXPECT_TRUE(rig.board.SuperIoInConfigMode(0x2E));
    // Key and register 0x20 on each pair, then the exit on the second.
    EXPECT_EQ(12u + 2u, rig.board.PortOps());
}

TEST(Ite87ProbeTest, UnknownChipOnTheFirstPairEndsTheProbe)
{
    std::string board = Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x16 ldn2.0xF0=0x40") +
                        Ite("0x4E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x40");
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(os);
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load(board.c_str()));
        CIteResult result = RunIte(rig);
        EXPECT_EQ(0, result.result);
        EXPECT_EQ(0u, result.foundId);
        EXPECT_FALSE(rig.board.SuperIoInConfigMode(0x2E));
        // Key 4, registers 0x20 and 0x21 4, exit 2: the second pair is never touched.
        EXPECT_EQ(10u, rig.board.PortOps());
    }
}

TEST(Ite87ProbeTest, ChipOnBothPairsIsProbedOnlyOnTheFirst)
{
    // The first chip has no hit; the second would have one.
    std::string board = Ite("0x2E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x00") +
                        Ite("0x4E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x40");
    ExpectIte(board, false);
}

TEST(Ite87ProbeTest, WinbondOnTheFirstPairIsPassedOver)
{
    std::string board = Winbond("0x2E", "reg.0x20=0x51 reg.0x21=0x82 ldn1.0x30=0x02") +
                        Ite("0x4E", "reg.0x20=0x87 reg.0x21=0x12 ldn2.0xF0=0x40");
    ExpectIte(board, true);
}

// The demo boards as a CD author sees them.
TEST(SuperIoProbeTest, DemoBoards)
{
    struct CCase {
        const char* file;
        uint8_t winbondCode;
        uint32_t winbondId;
        uint8_t iteResult;
    } cases[] = {
        {"ich4-845pe.board", 1, SUPERIO_ID_WINBOND_OTHER, 0},
        {"ich5-865g.board", 2, SUPERIO_ID_WINBOND_LDN0, 0},
        {"sis651.board", 3, SUPERIO_ID_WINBOND_OTHER, 0},
        {"via-kt400.board", 0, 0, 10},
        {"nforce2.board", 0, 0, 0},
        {"empty.board", 0, 0, 0},
    };
    for (const CCase& c : cases) {
        for (uint8_t os : HWACCESS_TEST_OS) {
            SCOPED_TRACE(std::string(c.file) + " os " + std::to_string(os));
            CHwaccessBoardRig rig(os);
            FixedText<256> error;
            std::string path = std::string(TOVA_SOURCE_DIR) + "/demo/boards/" + c.file;
            ASSERT_TRUE(rig.board.LoadFile(path.c_str(), &error)) << error.c_str();
            CWinbondResult winbond = RunWinbond(rig);
            EXPECT_EQ(c.winbondCode, winbond.code);
            EXPECT_EQ(c.winbondId, winbond.foundId);
            rig.state.results.foundId = 0;
            CIteResult ite = RunIte(rig);
            EXPECT_EQ(c.iteResult, ite.result);
        }
    }
}

}  // namespace
