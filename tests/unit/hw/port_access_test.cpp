// The port primitives' dispatch on the NT class, the library's open/close and ROM-map
// sequences with their arguments, and the delay port.
#include <gtest/gtest.h>

#include "hw/hw_state.h"
#include "hw/port_access.h"
#include "hwaccess_mocks.h"

namespace {

typedef std::vector<std::string> CCalls;

const uint32_t LIB_BASE = 0xA5A5A500;
const uint32_t DIRECT_BASE = 0x5A5A5A00;

struct CPortRun {
    CHwaccessMockHardware hardware;
    uint8_t osCode;
    CPortAccess ports;

    explicit CPortRun(uint8_t os) : osCode(os), ports(hardware, osCode)
    {
        hardware.library.readBase = LIB_BASE;
        hardware.directReadBase = DIRECT_BASE;
    }
};

// A ROM image whose bytes all differ from their neighbours, so a shifted copy is seen.
std::vector<uint8_t> PatternImage()
{
    std::vector<uint8_t> image(ROM_IMAGE_SIZE);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + i / 256);
    return image;
}

TEST(PortAccessTest, EveryPrimitiveTakesThePathOfItsOsCode)
{
    for (int os = 0; os <= 20; ++os) {
        SCOPED_TRACE(os);
        CPortRun run(static_cast<uint8_t>(os));
        bool nt = os == 13 || os == 14 || os == 16;
        uint32_t base = nt ? LIB_BASE : DIRECT_BASE;

        run.ports.PortWrite8(0x2E, 0x83);
        run.ports.PortWrite32(0xCF8, 0x8000F8AC);
        EXPECT_EQ(static_cast<uint8_t>(base | 0x2F), run.ports.PortRead8(0x2F));
        EXPECT_EQ(static_cast<uint16_t>(base | 0xCFE), run.ports.PortRead16(0xCFE));
        EXPECT_EQ(base | 0xCFC, run.ports.PortRead32(0xCFC));

        CCalls expected = nt ? CCalls{"lib.outp 2e 83", "lib.outpd cf8 8000f8ac", "lib.inp 2f",
                                      "lib.inpw cfe", "lib.inpd cfc"}
                             : CCalls{"direct.out8 2e 83", "direct.out32 cf8 8000f8ac",
                                      "direct.in8 2f", "direct.in16 cfe", "direct.in32 cfc"};
        EXPECT_EQ(expected, run.hardware.log.calls);
    }
}

TEST(PortAccessTest, OsCodeIsTestedAtEveryCall)
{
    CPortRun run(OS_OTHER);
    run.ports.PortRead8(0x2F);
    run.osCode = OS_WINXP;
    run.ports.PortRead8(0x2F);
    run.osCode = OS_WIN98SE;
    run.ports.PortWrite8(0x2E, 1);
    EXPECT_EQ((CCalls{"direct.in8 2f", "lib.inp 2f", "direct.out8 2e 1"}),
              run.hardware.log.calls);
}

TEST(PortAccessTest, OpenAndCloseCallTheLibraryOnlyForTheNtClass)
{
    for (int os = 0; os <= 20; ++os) {
        SCOPED_TRACE(os);
        CPortRun run(static_cast<uint8_t>(os));
        bool nt = os == 13 || os == 14 || os == 16;

        run.ports.OpenPortAccess();
        CCalls expectedOpen = nt ? CCalls{"lib.Pre_Open_Device 103 c:\\zezado.tmp autorun",
                                          "lib.ZezAdo_Open"}
                                 : CCalls{};
        EXPECT_EQ(expectedOpen, run.hardware.log.calls);

        run.hardware.log.calls.clear();
        run.ports.ClosePortAccess();
        CCalls expectedClose = nt ? CCalls{"lib.ZezAdo_Close",
                                           "lib.Post_Close_Device c:\\zezado.tmp autorun"}
                                  : CCalls{};
        EXPECT_EQ(expectedClose, run.hardware.log.calls);
    }
}

TEST(PortAccessTest, RomImageThroughTheLibraryOrDirectly)
{
    std::vector<uint8_t> image = PatternImage();
    for (int os = 0; os <= 20; ++os) {
        SCOPED_TRACE(os);
        CPortRun run(static_cast<uint8_t>(os));
        bool nt = os == 13 || os == 14 || os == 16;
        run.hardware.library.mappedMemory = image.data();
        run.hardware.physical = image;
        run.hardware.physicalBase = 0xF0000;

        std::vector<uint8_t> out(ROM_IMAGE_SIZE, 0xCC);
        EXPECT_TRUE(run.ports.ReadRomImage(out.data()));
        EXPECT_EQ(image, out);

        CCalls expected = nt ? CCalls{"lib.Pre_Open_Device 102 c:\\mapmem.tmp mapmem_dv",
                                      "lib.MapMem_Open",
                                      "lib.MapMem_Phys_To_Linear f0000 0 fff0",
                                      "lib.MapMem_Close",
                                      "lib.Post_Close_Device c:\\mapmem.tmp mapmem_dv"}
                             : CCalls{"direct.readPhysical f0000 fff0"};
        EXPECT_EQ(expected, run.hardware.log.calls);
    }
}

TEST(PortAccessTest, RomImageUnreadableGivesZerosAndStillClosesTheLibrary)
{
    CPortRun nt(OS_WIN2000);
    nt.hardware.library.mappedMemory = nullptr;
    std::vector<uint8_t> out(ROM_IMAGE_SIZE, 0xCC);
    EXPECT_FALSE(nt.ports.ReadRomImage(out.data()));
    EXPECT_EQ(std::vector<uint8_t>(ROM_IMAGE_SIZE, 0), out);
    ASSERT_EQ(5u, nt.hardware.log.calls.size());
    EXPECT_EQ("lib.MapMem_Close", nt.hardware.log.calls[3]);
    EXPECT_EQ("lib.Post_Close_Device c:\\mapmem.tmp mapmem_dv", nt.hardware.log.calls[4]);

    CPortRun direct(OS_WIN98);  // no physical memory behind the mock
    out.assign(ROM_IMAGE_SIZE, 0xCC);
    EXPECT_FALSE(direct.ports.ReadRomImage(out.data()));
    EXPECT_EQ(std::vector<uint8_t>(ROM_IMAGE_SIZE, 0), out);
}

TEST(PortAccessTest, IoDelayWritesTheCountToTheDelayPortCountTimes)
{
    CPortRun direct(OS_WINME);
    direct.ports.IoDelay(3);
    EXPECT_EQ(CCalls(3, "direct.out32 eb 3"), direct.hardware.log.calls);

    CPortRun nt(OS_WINXP);
    nt.ports.IoDelay(10000);
    EXPECT_EQ(CCalls(10000, "lib.outpd eb 2710"), nt.hardware.log.calls);

    CPortRun none(OS_WIN95);
    none.ports.IoDelay(0);
    EXPECT_TRUE(none.hardware.log.calls.empty());
}

}  // namespace
