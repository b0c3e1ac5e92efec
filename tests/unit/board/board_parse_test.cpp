// Board descriptions: what a good line builds, and which malformed line is reported, by number.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/board.h"

namespace {

uint32_t ReadConfig(CBoard& board, int bus, int device, int function, int reg)
{
    board.Out32(0xCF8, 0x80000000u | bus << 16 | device << 11 | function << 8 | reg);
    return board.In32(0xCFC);
}

std::string LoadError(const char* text)
{
    CBoard board;
    FixedText<256> error;
    EXPECT_FALSE(board.LoadDescription(text, nullptr, &error)) << text;
    return error.c_str();
}

}  // namespace

TEST(BoardParse, GoodLinesBuildTheBoard)
{
    CBoard board;
    FixedText<256> error;
    const char* text =
        "# a comment line\n"
        "\n"
        "   \t\n"
        "pci 00:1f.5 id=0x24C58086 class=0x04010002 subsys=0xA0007A51   # audio\r\n"
        "pci ff:1F.7 id=305419896 reg.0x40=0x12345678 reg.0xFC=0xCAFEBABE\n"
        "superio 0x4E key=0x87,0x87 exit=0xAA reg.0x20=0x52 ldn0x0A.0x30=1\n"
        "cpu vendor=GenuineIntel\n"
        "memory kb=261616\n";
    ASSERT_TRUE(board.LoadDescription(text, nullptr, &error)) << error.c_str();
    EXPECT_TRUE(error.Empty());
    EXPECT_EQ(2, board.PciFunctionCount());
    EXPECT_EQ(0x24C58086u, ReadConfig(board, 0, 0x1f, 5, 0x00));
    EXPECT_EQ(0x04010002u, ReadConfig(board, 0, 0x1f, 5, 0x08));
    EXPECT_EQ(0xA0007A51u, ReadConfig(board, 0, 0x1f, 5, 0x2C));
    EXPECT_EQ(0u, ReadConfig(board, 0, 0x1f, 5, 0x40));  // present, but not described
    EXPECT_EQ(305419896u, ReadConfig(board, 0xff, 0x1f, 7, 0x00));
    EXPECT_EQ(0x12345678u, ReadConfig(board, 0xff, 0x1f, 7, 0x40));
    EXPECT_EQ(0xCAFEBABEu, ReadConfig(board, 0xff, 0x1f, 7, 0xFC));
    EXPECT_TRUE(board.HasSuperIo(0x4E));
    EXPECT_FALSE(board.HasSuperIo(0x2E));
    EXPECT_STREQ("GenuineIntel", board.CpuVendor());
    EXPECT_EQ(261616u, board.MemoryKb());
}

TEST(BoardParse, QuotedValuesKeepSpacesHashesAndEscapes)
{
    CBoard board;
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription(
        "bios family=other text=\"A # not a comment \\\"q\\\" \\\\ \\x41\"  # comment\n"
        "cpu vendor=\"VIA VIA VIA \"\n",
        nullptr, &error))
        << error.c_str();
    const char* text = (const char*)board.RomImage() + (BOARD_OTHER_TEXT_ADDRESS - BOARD_ROM_BASE);
    EXPECT_STREQ("A # not a comment \"q\" \\ A", text);
    EXPECT_STREQ("VIA VIA VIA ", board.CpuVendor());
}

TEST(BoardParse, ReportsTheFirstMalformedLineByNumber)
{
    EXPECT_EQ("line 3: unknown keyword 'gpu' (pci, superio, bios, cpu, memory)",
              LoadError("# ok\npci 00:00.0 id=0x1\ngpu x=1\nmemory kb=oops\n"));
    EXPECT_EQ("line 1: pci: bad number '0x12G4' for id", LoadError("pci 00:00.0 id=0x12G4"));
    EXPECT_EQ("line 2: pci: unknown key 'sub' (id, class, subsys, reg.0xRR)",
              LoadError("\npci 00:00.0 id=1 sub=2"));
}

TEST(BoardParse, RejectsMalformedPciLines)
{
    const char* bad[] = {
        "pci 00:00.0",                          // no id
        "pci 00:20.0 id=1",                     // device above 0x1f
        "pci 00:00.8 id=1",                     // function above 7
        "pci 100:00.0 id=1",                    // bus above 0xff
        "pci 00-00.0 id=1",                     // not BB:DD.F
        "pci id=1",                             // no address
        "pci 00:00.0 00:01.0 id=1",             // two addresses
        "pci 00:00.0 id=0x100000000",           // wider than a dword
        "pci 00:00.0 id=0xFFFFFFFF",            // would read as absent
        "pci 00:00.0 id=1 reg.0x41=2",          // not a dword offset
        "pci 00:00.0 id=1 reg.0x100=2",         // past configuration space
        "pci 00:00.0 id=1 reg.0x00=2",          // the id belongs to id=
        "pci 00:00.0 id=1 id=2",                // key twice
        "pci 00:00.0 id=1\npci 00:00.0 id=2",   // function twice
        "pci 00:00.0 id=-1",                    // no signs
        "pci 00:00.0 id=",                      // empty number
    };
    for (const char* text : bad) {
        CBoard board;
        FixedText<256> error;
        EXPECT_FALSE(board.LoadDescription(text, nullptr, &error)) << text;
        EXPECT_EQ(0, strncmp(error.c_str(), "line ", 5)) << error.c_str();
        EXPECT_EQ(0, board.PciFunctionCount()) << "a failed load leaves the board empty";
    }
}

TEST(BoardParse, RejectsMalformedSuperIoLines)
{
    const char* bad[] = {
        "superio 0x2F key=0x87 exit=0xAA",                 // not an index port of ours
        "superio key=0x87 exit=0xAA",                      // no port
        "superio 0x2E exit=0xAA",                          // no key
        "superio 0x2E key=0x87",                           // no exit
        "superio 0x2E key=0x87,,0x01 exit=0xAA",           // empty byte
        "superio 0x2E key=0x187 exit=0xAA",                // not a byte
        "superio 0x2E key=1,2,3,4,5,6,7,8,9 exit=0xAA",    // sequence too long
        "superio 0x2E key=0x87 exit=reg.0x02",             // register exit without value
        "superio 0x2E key=0x87 exit=reg.0x02:0",           // value with no bit to test
        "superio 0x2E key=0x87 exit=0xAA reg.0x30=1",      // device register as global
        "superio 0x2E key=0x87 exit=0xAA ldn1.0x20=1",     // global register per device
        "superio 0x2E key=0x87 exit=0xAA ldn256.0x30=1",   // no such logical device
        "superio 0x2E key=0x87 exit=0xAA reg.0x20=0x100",  // not a byte
        "superio 0x2E key=0x87 exit=0xAA chip=5",          // unknown key
        "superio 0x2E key=1 exit=2\nsuperio 0x2E key=1 exit=2",  // chip twice
    };
    for (const char* text : bad) {
        CBoard board;
        FixedText<256> error;
        EXPECT_FALSE(board.LoadDescription(text, nullptr, &error)) << text;
        EXPECT_FALSE(board.HasSuperIo(0x2E)) << text;
    }
    EXPECT_EQ("line 1: superio: ldn1.0x20 is a global register; write reg.0x20",
              LoadError("superio 0x2E key=0x87 exit=0xAA ldn1.0x20=1"));
}

TEST(BoardParse, RejectsMalformedBiosCpuAndMemoryLines)
{
    std::string longText(BOARD_ROM_SIZE, 'x');
    std::string tooLong = "bios family=ami text=\"" + longText + "\"";
    const char* bad[] = {
        "bios",                                        // neither family nor image
        "bios family=award text=\"x\"",                // unknown family
        "bios family=other marker=0x100",              // marker is AMI only
        "bios family=ami marker=0xFFE9",               // marker past the image
        "bios family=ami marker=0xF52C",               // marker on the filler byte
        "bios family=ami marker=0xF600",               // marker inside the text read
        "bios family=ami image=x.bin",                 // image stands alone
        "bios family=ami text=\"unterminated",         // quote not closed
        "bios family=ami text=\"a\"b",                 // text after the quote
        "bios family=ami text=\"\\q\"",                // unknown escape
        "bios family=ami text=a\"b\"",                 // quote inside a value
        "bios family=ami\nbios family=other",          // two bios lines
        tooLong.c_str(),                               // text past the end of the image
        "cpu vendor=Intel",                            // not 12 characters
        "cpu",                                         // nothing
        "cpu vendor=GenuineIntel model=5",             // unknown key
        "cpu none\ncpu vendor=GenuineIntel",           // two cpu lines
        "memory kb=4194304",                           // 4 GiB does not fit the status
        "memory",                                      // nothing
        "memory mb=256",                               // unknown key
        "memory kb=1\nmemory kb=2",                    // two memory lines
        "=5",                                          // no keyword
    };
    for (const char* text : bad) {
        CBoard board;
        FixedText<256> error;
        EXPECT_FALSE(board.LoadDescription(text, nullptr, &error)) << text;
        EXPECT_STREQ("", board.CpuVendor());
        EXPECT_EQ(0u, board.MemoryKb());
    }
}

TEST(BoardParse, AFailedLoadLeavesAnEmptyBoard)
{
    CBoard board;
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription("pci 00:00.0 id=0x12345678\ncpu vendor=GenuineIntel\n"
                                      "bios family=ami text=\"x\"\nmemory kb=5",
                                      nullptr, &error));
    EXPECT_FALSE(board.LoadDescription("pci 00:00.0 id=0x12345678\nbogus\n", nullptr, &error));
    EXPECT_STREQ("line 2: unknown keyword 'bogus' (pci, superio, bios, cpu, memory)",
                 error.c_str());
    EXPECT_EQ(0xFFFFFFFFu, ReadConfig(board, 0, 0, 0, 0));
    EXPECT_STREQ("", board.CpuVendor());
    EXPECT_EQ(0u, board.MemoryKb());
    for (uint32_t i = 0; i < BOARD_ROM_SIZE; ++i) ASSERT_EQ(0, board.RomImage()[i]) << i;
}

TEST(BoardParse, LongLinesAndZeroBytesAreHandledSafely)
{
    // A message quoting a very long value is cut to its field, never overrun.
    std::string text = "pci 00:00.0 id=1 " + std::string(1000, 'k') + "=1";
    std::string error = LoadError(text.c_str());
    EXPECT_EQ(255u, error.size());
    EXPECT_EQ(0u, error.find("line 1: pci: unknown key 'kkk"));

    char path[] = "/tmp/tova-board-zeroXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const char bytes[] = "cpu none\npci 00:00.0 id=1\0 class=2\n";
    ASSERT_EQ((ssize_t)(sizeof bytes - 1), write(fd, bytes, sizeof bytes - 1));
    close(fd);
    CBoard board;
    FixedText<256> message;
    EXPECT_FALSE(board.LoadFile(path, &message));
    EXPECT_STREQ("line 2: zero byte in the line", message.c_str());
    remove(path);
}

TEST(BoardParse, LoadFileReportsAMissingFile)
{
    CBoard board;
    FixedText<256> error;
    EXPECT_FALSE(board.LoadFile("/nonexistent/x.board", &error));
    EXPECT_STREQ("cannot read board description '/nonexistent/x.board'", error.c_str());
}
