// The simulated hardware: both port paths reach the same board, the ROM is served to the
// direct read and the library's mapping, and the processor identifies as the board says.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/sim/sim_hardware.h"

namespace {

void Load(CBoard& board, const char* text)
{
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription(text, nullptr, &error)) << error.c_str();
}

// The vendor string as the program puts it together: EBX, EDX, ECX.
std::string VendorFromRegs(const uint32_t regs[4])
{
    std::string vendor;
    for (uint32_t word : {regs[1], regs[3], regs[2]})
        for (int i = 0; i < 4; ++i) vendor += (char)(word >> (8 * i));
    return vendor;
}

}  // namespace

TEST(SimHardware, BothPortPathsReachTheBoard)
{
    CBoard board;
    Load(board, "pci 00:1f.5 id=0x24C58086 class=0x04010002\n"
                "superio 0x2E key=0x83,0x83 exit=0xAA reg.0x20=0x51\n");
    CSimHardware hw(board);
    PortLibrary& lib = hw.Library();

    hw.DirectOut32(0xCF8, 0x8000FD08);  // 00:1f.5 dword 0x08
    EXPECT_EQ(0x04010002u, hw.DirectIn32(0xCFC));
    EXPECT_EQ(0x0401u, hw.DirectIn16(0xCFE));
    EXPECT_EQ(0x02u, hw.DirectIn8(0xCFC));
    lib.ZezAdo_outpd(0xCF8, 0x8000FD00);
    EXPECT_EQ(0x24C58086u, lib.ZezAdo_inpd(0xCFC));
    EXPECT_EQ(0x8086u, lib.ZezAdo_inpw(0xCFC));
    EXPECT_EQ(0x24C5u, lib.ZezAdo_inpw(0xCFE));
    EXPECT_EQ(0x86u, lib.ZezAdo_inp(0xCFC));

    // A key begun on one path and finished on the other still counts: it is one chip.
    hw.DirectOut8(0x2E, 0x83);
    lib.ZezAdo_outp(0x2E, 0x183);  // only the low byte goes out
    lib.ZezAdo_outp(0x2E, 0x20);
    EXPECT_EQ(0x51u, hw.DirectIn8(0x2F));
    EXPECT_EQ(0x51u, lib.ZezAdo_inp(0x2F));
    EXPECT_EQ(14u, board.PortOps());

    lib.ZezAdo_outpd(0xEB, 10000);
    hw.DirectOut32(0xEB, 10000);
    EXPECT_EQ(2u, board.DelayWrites());
}

TEST(SimHardware, PortsAnswerWhetherOrNotTheLibraryIsOpen)
{
    CBoard board;
    Load(board, "pci 00:00.0 id=0x25608086\n");
    CSimHardware hw(board);
    PortLibrary& lib = hw.Library();
    EXPECT_NE(0, lib.Pre_Open_Device(103, "c:\\zezado.tmp", "autorun"));
    EXPECT_NE(0, lib.ZezAdo_Open());
    EXPECT_NE(0, lib.ZezAdo_Close());
    EXPECT_NE(0, lib.Post_Close_Device("c:\\zezado.tmp", "autorun"));
    lib.ZezAdo_outpd(0xCF8, 0x80000000);
    EXPECT_EQ(0x25608086u, lib.ZezAdo_inpd(0xCFC));
    EXPECT_EQ(0, lib.Pre_Open_Device(7, "c:\\x.tmp", "x")) << "unknown selector";
}

TEST(SimHardware, RomImageIsServedToBothMemoryPaths)
{
    CBoard board;
    Load(board, "bios family=ami text=\"07/16/2003-i845PE\"\n");
    CSimHardware hw(board);
    PortLibrary& lib = hw.Library();

    char direct[32] = {};
    ASSERT_TRUE(hw.DirectReadPhysical(0xFF532, (uint8_t*)direct, 31));
    EXPECT_STREQ("07/16/2003-i845PE", direct);

    const uint8_t* linear = nullptr;
    EXPECT_NE(0, lib.Pre_Open_Device(102, "c:\\mapmem.tmp", "mapmem_dv"));
    EXPECT_NE(0, lib.MapMem_Open());
    ASSERT_NE(0, lib.MapMem_Phys_To_Linear(0xF0000, 0, 0xFFF0, &linear));
    ASSERT_NE(nullptr, linear);
    EXPECT_EQ(0, memcmp(linear, board.RomImage(), BOARD_ROM_SIZE));
    EXPECT_STREQ("07/16/2003-i845PE", (const char*)linear + 0xF532);
    EXPECT_NE(0, lib.MapMem_Close());

    // Outside the image nothing is mapped and the out-parameter says so.
    linear = board.RomImage();
    EXPECT_EQ(0, lib.MapMem_Phys_To_Linear(0xA0000, 0, 0x100, &linear));
    EXPECT_EQ(nullptr, linear);
    EXPECT_EQ(0, lib.MapMem_Phys_To_Linear(0xF0000, 0, 0x10000, &linear));
    EXPECT_EQ(0, lib.MapMem_Phys_To_Linear(0xF0000, 0, 0xFFF0, nullptr));
    EXPECT_FALSE(hw.DirectReadPhysical(0xFFFF0, (uint8_t*)direct, 32));
}

TEST(SimHardware, CpuIdGivesTheVendorInProcessorOrder)
{
    CBoard board;
    Load(board, "cpu vendor=GenuineIntel\n");
    CSimHardware hw(board);
    ASSERT_TRUE(hw.CpuIdSupported());
    uint32_t regs[4] = {9, 9, 9, 9};
    hw.CpuId(0, regs);
    EXPECT_EQ(1u, regs[0]);
    EXPECT_EQ(0x756E6547u, regs[1]);  // "Genu" in EBX
    EXPECT_EQ(0x6C65746Eu, regs[2]);  // "ntel" in ECX
    EXPECT_EQ(0x49656E69u, regs[3]);  // "ineI" in EDX
    EXPECT_EQ("GenuineIntel", VendorFromRegs(regs));
    hw.CpuId(1, regs);
    EXPECT_EQ(0u, regs[0] | regs[1] | regs[2] | regs[3]);

    for (const char* vendor : {"AuthenticAMD", "CyrixInstead"}) {
        std::string line = std::string("cpu vendor=") + vendor + "\n";
        Load(board, line.c_str());
        hw.CpuId(0, regs);
        EXPECT_EQ(vendor, VendorFromRegs(regs));
    }
}

TEST(SimHardware, NoVendorMeansNoIdentification)
{
    for (const char* text : {"", "cpu none\n"}) {
        CBoard board;
        Load(board, text);
        CSimHardware hw(board);
        EXPECT_FALSE(hw.CpuIdSupported()) << text;
        uint32_t regs[4] = {9, 9, 9, 9};
        hw.CpuId(0, regs);
        EXPECT_EQ(0u, regs[0] | regs[1] | regs[2] | regs[3]);
    }
}
