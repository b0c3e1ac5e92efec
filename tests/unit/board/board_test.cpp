// The board at run time: PCI mechanism 1 at every width, Super-I/O key and exit sequences,
// the ROM placement of both BIOS families, physical memory and port-operation counting.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/board.h"

namespace {

uint32_t Address(int bus, int device, int function, int reg)
{
    return 0x80000000u | bus << 16 | device << 11 | function << 8 | reg;
}

void Load(CBoard& board, const char* text)
{
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription(text, nullptr, &error)) << error.c_str();
}

uint8_t ReadSuperIo(CBoard& board, uint16_t index, uint8_t reg)
{
    board.Out8(index, reg);
    return board.In8((uint16_t)(index + 1));
}

void WriteSuperIo(CBoard& board, uint16_t index, uint8_t reg, uint8_t value)
{
    board.Out8(index, reg);
    board.Out8((uint16_t)(index + 1), value);
}

void WriteKey(CBoard& board, uint16_t index, std::vector<uint8_t> bytes)
{
    for (uint8_t b : bytes) board.Out8(index, b);
}

const char* WINBOND_AND_ITE =
    "superio 0x2E key=0x83,0x83 exit=0xAA reg.0x20=0x51 reg.0x21=0x82 ldn0.0x30=0x01 "
    "ldn1.0x30=0x12\n"
    "superio 0x4E key=0x87,0x01,0x55,0x55 exit=reg.0x02:0x02 reg.0x20=0x87 reg.0x21=0x12 "
    "ldn2.0xF0=0x40\n";

}  // namespace

TEST(BoardPci, ReadsEveryWidthOfTheLatchedDword)
{
    CBoard board;
    Load(board, "pci 02:04.0 id=0x5275105A class=0x01800001 subsys=0xB0017A51\n");
    board.Out32(0xCF8, Address(2, 4, 0, 0x08));
    EXPECT_EQ(0x01800001u, board.In32(0xCFC));
    EXPECT_EQ(0x0001u, board.In16(0xCFC));
    EXPECT_EQ(0x0180u, board.In16(0xCFE));
    EXPECT_EQ(0x01u, board.In8(0xCFC));
    EXPECT_EQ(0x00u, board.In8(0xCFD));
    EXPECT_EQ(0x80u, board.In8(0xCFE));
    EXPECT_EQ(0x01u, board.In8(0xCFF));
    EXPECT_EQ(Address(2, 4, 0, 0x08), board.In32(0xCF8));
    // The low two address bits do not select bytes: the dword stays the same.
    board.Out32(0xCF8, Address(2, 4, 0, 0x2C) | 3);
    EXPECT_EQ(0xB0017A51u, board.In32(0xCFC));
    EXPECT_EQ(0xB001u, board.In16(0xCFE));
}

TEST(BoardPci, AbsentFunctionsAndDisabledAddressesReadAllOnes)
{
    CBoard board;
    Load(board, "pci 00:1f.5 id=0x24C58086\npci 80:00.0 id=0x11112222\n");
    board.Out32(0xCF8, Address(0, 0x1f, 4, 0));  // neighbour function
    EXPECT_EQ(0xFFFFFFFFu, board.In32(0xCFC));
    EXPECT_EQ(0xFFFFu, board.In16(0xCFE));
    EXPECT_EQ(0xFFu, board.In8(0xCFD));
    board.Out32(0xCF8, Address(1, 0x1f, 5, 0));  // same slot, other bus
    EXPECT_EQ(0xFFFFFFFFu, board.In32(0xCFC));
    board.Out32(0xCF8, Address(0, 0x1f, 5, 0) & ~0x80000000u);  // enable bit clear
    EXPECT_EQ(0xFFFFFFFFu, board.In32(0xCFC));
    board.Out32(0xCF8, Address(0x80, 0, 0, 0));
    EXPECT_EQ(0x11112222u, board.In32(0xCFC));
    // Only dword writes latch an address; configuration space does not take writes.
    board.Out8(0xCF8, 0);
    board.Out16(0xCF8, 0);
    board.Out32(0xCFC, 0xDEADBEEF);
    EXPECT_EQ(0x11112222u, board.In32(0xCFC));
    // Before any address is written nothing answers.
    CBoard fresh;
    Load(fresh, "pci 00:00.0 id=0x12345678\n");
    EXPECT_EQ(0xFFFFFFFFu, fresh.In32(0xCFC));
}

TEST(BoardPci, TheLatchFollowsReloadsAndCopies)
{
    CBoard board;
    Load(board, "pci 00:1f.5 id=0x24C58086\npci 80:00.0 id=0x11112222\n");
    board.Out32(0xCF8, Address(0x80, 0, 0, 0));
    // A copy answers from its own functions at the same latched address.
    CBoard copy = board;
    EXPECT_EQ(0x11112222u, copy.In32(0xCFC));
    // A reload drops the latch, even where the new board has a function in the old place.
    Load(board, "pci 80:00.0 id=0x33334444\n");
    EXPECT_EQ(0xFFFFFFFFu, board.In32(0xCFC));
    board.Out32(0xCF8, Address(0x80, 0, 0, 0));
    EXPECT_EQ(0x33334444u, board.In32(0xCFC));
    EXPECT_EQ(0x11112222u, copy.In32(0xCFC));
}

TEST(BoardSuperIo, KeysEnterAndExitsLeaveOnBothPairs)
{
    CBoard board;
    Load(board, WINBOND_AND_ITE);
    // Outside configuration mode both pairs read 0xFF, whatever was selected.
    EXPECT_EQ(0xFF, ReadSuperIo(board, 0x2E, 0x20));
    EXPECT_EQ(0xFF, ReadSuperIo(board, 0x4E, 0x20));
    EXPECT_EQ(0xFF, board.In8(0x2E));

    WriteKey(board, 0x2E, {0x83, 0x83});
    EXPECT_TRUE(board.SuperIoInConfigMode(0x2E));
    EXPECT_FALSE(board.SuperIoInConfigMode(0x4E)) << "each chip has its own key";
    EXPECT_EQ(0x51, ReadSuperIo(board, 0x2E, 0x20));
    EXPECT_EQ(0x82, ReadSuperIo(board, 0x2E, 0x21));
    EXPECT_EQ(0x21, board.In8(0x2E)) << "the index port reads back its selection";
    board.Out8(0x2E, 0xAA);
    EXPECT_FALSE(board.SuperIoInConfigMode(0x2E));
    EXPECT_EQ(0xFF, ReadSuperIo(board, 0x2E, 0x20));

    WriteKey(board, 0x4E, {0x87, 0x01, 0x55, 0x55});
    EXPECT_TRUE(board.SuperIoInConfigMode(0x4E));
    EXPECT_EQ(0x87, ReadSuperIo(board, 0x4E, 0x20));
    board.Out8(0x4E, 0xAA);  // a Winbond exit means nothing to this chip
    EXPECT_TRUE(board.SuperIoInConfigMode(0x4E));
    WriteSuperIo(board, 0x4E, 0x02, 0x02);
    EXPECT_FALSE(board.SuperIoInConfigMode(0x4E));
    EXPECT_EQ(0xFF, ReadSuperIo(board, 0x4E, 0x21));
}

TEST(BoardSuperIo, AWrongByteRestartsTheKey)
{
    CBoard board;
    Load(board, WINBOND_AND_ITE);
    WriteKey(board, 0x4E, {0x87, 0x01, 0x55, 0x00, 0x55});
    EXPECT_FALSE(board.SuperIoInConfigMode(0x4E));
    WriteKey(board, 0x4E, {0x01, 0x55, 0x55});  // the tail alone is no key
    EXPECT_FALSE(board.SuperIoInConfigMode(0x4E));
    WriteKey(board, 0x4E, {0x87, 0x87, 0x01, 0x55, 0x55});  // a repeated first byte restarts
    EXPECT_TRUE(board.SuperIoInConfigMode(0x4E));
    // A write to the exit register without its bit keeps configuration mode.
    WriteSuperIo(board, 0x4E, 0x02, 0x01);
    EXPECT_TRUE(board.SuperIoInConfigMode(0x4E));
    WriteSuperIo(board, 0x4E, 0x02, 0x03);
    EXPECT_FALSE(board.SuperIoInConfigMode(0x4E));
    // After leaving, the key must be given in full again.
    WriteKey(board, 0x4E, {0x55});
    EXPECT_FALSE(board.SuperIoInConfigMode(0x4E));
}

TEST(BoardSuperIo, LogicalDevicesHaveTheirOwnRegisters)
{
    CBoard board;
    Load(board, WINBOND_AND_ITE);
    WriteKey(board, 0x2E, {0x83, 0x83});
    WriteSuperIo(board, 0x2E, 0x07, 0);
    EXPECT_EQ(0x01, ReadSuperIo(board, 0x2E, 0x30));
    WriteSuperIo(board, 0x2E, 0x07, 1);
    EXPECT_EQ(0x12, ReadSuperIo(board, 0x2E, 0x30));
    EXPECT_EQ(0x01, ReadSuperIo(board, 0x2E, 0x07));
    EXPECT_EQ(0x51, ReadSuperIo(board, 0x2E, 0x20)) << "global registers ignore the device";
    WriteSuperIo(board, 0x2E, 0x07, 5);
    EXPECT_EQ(0x00, ReadSuperIo(board, 0x2E, 0x30)) << "unset registers read zero";
    WriteSuperIo(board, 0x2E, 0x60, 0x03);
    WriteSuperIo(board, 0x2E, 0x07, 1);
    EXPECT_EQ(0x00, ReadSuperIo(board, 0x2E, 0x60)) << "a write lands in the selected device";
    WriteSuperIo(board, 0x2E, 0x07, 5);
    EXPECT_EQ(0x03, ReadSuperIo(board, 0x2E, 0x60));
    // Data writes outside configuration mode are lost.
    board.Out8(0x2E, 0xAA);
    WriteSuperIo(board, 0x2E, 0x07, 1);
    WriteKey(board, 0x2E, {0x83, 0x83});
    EXPECT_EQ(0x05, ReadSuperIo(board, 0x2E, 0x07));
}

TEST(BoardSuperIo, EmptyPairsAndTheSecondPairAloneReadAllOnes)
{
    CBoard board;
    Load(board, "superio 0x4E key=0x83,0x83 exit=0xAA reg.0x20=0x71\n");
    WriteKey(board, 0x2E, {0x83, 0x83});
    EXPECT_EQ(0xFF, ReadSuperIo(board, 0x2E, 0x20));
    WriteKey(board, 0x4E, {0x83, 0x83});
    EXPECT_EQ(0x71, ReadSuperIo(board, 0x4E, 0x20));
    EXPECT_EQ(0xFF, board.In8(0x30)) << "the pair decodes two ports only";
}

TEST(BoardRom, AmiFamilyPlacesMarkerFillerAndText)
{
    CBoard board;
    Load(board, "bios family=ami text=\"07/16/2003-i845PE-6728-6A69YM4FC-00\"\n");
    const uint8_t* rom = board.RomImage();
    EXPECT_EQ(0, memcmp(rom + BOARD_AMI_MARKER_OFFSET, "AMIBIOS", 8));
    uint8_t filler = 0;
    ASSERT_TRUE(board.ReadPhysical(0xFF531, &filler, 1));
    EXPECT_NE(0, filler);
    char text[255] = {};
    ASSERT_TRUE(board.ReadPhysical(0xFF532, (uint8_t*)text, 254));
    EXPECT_STREQ("07/16/2003-i845PE-6728-6A69YM4FC-00", text);
    EXPECT_EQ(0, rom[0xFE0C1 - BOARD_ROM_BASE]) << "the other family's place stays empty";

    CBoard deep;
    Load(deep, "bios family=ami marker=0xC3A0 text=\"x\"\n");
    EXPECT_EQ(0, memcmp(deep.RomImage() + 0xC3A0, "AMIBIOS", 8));
    EXPECT_NE(0, memcmp(deep.RomImage() + BOARD_AMI_MARKER_OFFSET, "AMIBIOS", 7));
}

TEST(BoardRom, OtherFamilyHasNoMarker)
{
    CBoard board;
    Load(board, "bios family=other text=\"08/12/2003-KT400\"\n");
    const uint8_t* rom = board.RomImage();
    for (uint32_t i = 0; i + 7 <= BOARD_ROM_SIZE; ++i)
        ASSERT_NE(0, memcmp(rom + i, "AMIBIOS", 7)) << "marker at " << i;
    EXPECT_NE(0, rom[0xFE0C0 - BOARD_ROM_BASE]);
    EXPECT_STREQ("08/12/2003-KT400", (const char*)rom + (0xFE0C1 - BOARD_ROM_BASE));
}

TEST(BoardRom, ImageFilesLoadBesideTheDescription)
{
    char dir[] = "/tmp/tova-board-imageXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    std::string image = std::string(dir) + "/rom.bin";
    std::string shortImage = std::string(dir) + "/short.bin";
    std::vector<uint8_t> bytes(0x10000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = (uint8_t)(i * 7 + 1);
    FILE* f = fopen(image.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    f = fopen(shortImage.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fwrite(bytes.data(), 1, 100, f);
    fclose(f);

    CBoard board;
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription("bios image=rom.bin\n", dir, &error)) << error.c_str();
    EXPECT_EQ(0, memcmp(board.RomImage(), bytes.data(), BOARD_ROM_SIZE));

    std::string path = std::string(dir) + "/a.board";
    f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fputs("# relative to this file's folder\nbios image=\"rom.bin\"\n", f);
    fclose(f);
    CBoard fromFile;
    ASSERT_TRUE(fromFile.LoadFile(path.c_str(), &error)) << error.c_str();
    EXPECT_EQ(bytes[0x1234], fromFile.RomImage()[0x1234]);

    EXPECT_FALSE(board.LoadDescription("bios image=short.bin\n", dir, &error));
    EXPECT_STREQ("line 1: bios: image 'short.bin' has 100 bytes, not 0xFFF0 (or 0x10000)",
                 error.c_str());
    EXPECT_FALSE(board.LoadDescription("bios image=missing.bin\n", dir, &error));
    EXPECT_EQ(0u, std::string(error.c_str()).find("line 1: bios: cannot read image"));

    remove(image.c_str());
    remove(shortImage.c_str());
    remove(path.c_str());
    rmdir(dir);
}

TEST(BoardMemory, PhysicalReadsAndMappingStayInsideTheirRanges)
{
    CBoard board;
    Load(board, "bios family=other text=\"T\"\n");
    uint8_t buffer[16];
    memset(buffer, 0x55, sizeof buffer);
    ASSERT_TRUE(board.ReadPhysical(0xEFFF8, buffer, 16));  // straddles the image's start
    for (int i = 0; i < 8; ++i) EXPECT_EQ(0, buffer[i]);
    ASSERT_TRUE(board.ReadPhysical(0xFFFF0, buffer, 16));  // just past the image
    EXPECT_EQ(0, buffer[0]);
    EXPECT_TRUE(board.ReadPhysical(0x100000, buffer, 0));
    EXPECT_FALSE(board.ReadPhysical(0xFFFFF, buffer, 2));
    EXPECT_FALSE(board.ReadPhysical(0xFFFFFFF0, buffer, 0x20)) << "no wrap-around";

    EXPECT_EQ(board.RomImage(), board.MapPhysical(0xF0000, 0, 0xFFF0));
    EXPECT_EQ(board.RomImage() + 0xE0C1, board.MapPhysical(0xFE0C1, 0, 254));
    EXPECT_EQ('T', *board.MapPhysical(0xFE0C1, 0, 1));
    EXPECT_EQ(nullptr, board.MapPhysical(0xF0000, 0, 0xFFF1));
    EXPECT_EQ(nullptr, board.MapPhysical(0xEFFFF, 0, 2));
    EXPECT_EQ(nullptr, board.MapPhysical(0xF0000, 1, 16));
    EXPECT_EQ(nullptr, board.MapPhysical(0xF0000, 0, 0));
    EXPECT_EQ(nullptr, board.MapPhysical(0xFFFFFFFF, 0, 2));
}

TEST(BoardCounting, EveryPortOperationCountsOnce)
{
    CBoard board;
    Load(board, "pci 00:00.0 id=0x25608086\n");
    board.Out32(0xCF8, Address(0, 0, 0, 0));
    board.In32(0xCFC);
    board.In16(0xCFE);
    board.In8(0xCFC);
    board.Out8(0x80, 1);
    board.Out16(0x2E, 0x0101);
    board.In8(0x1234);
    board.In16(0x1234);
    board.In32(0x1234);
    EXPECT_EQ(9u, board.PortOps());
    for (int i = 0; i < 10; ++i) board.Out32(0xEB, 10);
    board.Out8(0xEB, 0);
    EXPECT_EQ(11u, board.DelayWrites());
    EXPECT_EQ(20u, board.PortOps());
    board.ResetPortOps();
    EXPECT_EQ(0u, board.PortOps());
    EXPECT_EQ(0u, board.DelayWrites());
    Load(board, "pci 00:00.0 id=0x25608086\n");
    EXPECT_EQ(0u, board.PortOps()) << "loading starts a fresh count";
}

TEST(BoardEmpty, NothingAnswers)
{
    CBoard board;
    for (uint16_t port : {0xCFC, 0xCFE, 0x2E, 0x2F, 0x4E, 0x4F, 0x80}) {
        EXPECT_EQ(0xFF, board.In8(port));
        EXPECT_EQ(0xFFFF, board.In16(port));
    }
    board.Out32(0xCF8, Address(0, 0, 0, 0));
    EXPECT_EQ(0xFFFFFFFFu, board.In32(0xCFC));
    EXPECT_STREQ("", board.CpuVendor());
    Load(board, "superio 0x2E key=0x83,0x83 exit=0xAA\n");
    board.Clear();
    WriteKey(board, 0x2E, {0x83, 0x83});
    EXPECT_EQ(0xFF, ReadSuperIo(board, 0x2E, 0x20));
}
