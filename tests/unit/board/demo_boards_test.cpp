// The demo boards load, and answer the program's own probes (PCI scans, the Super-I/O probes,
// BIOS text, processor vendor) as their comments say, through both port paths.
#include <gtest/gtest.h>

#include <string>

#include "hw/bios.h"
#include "hw/pci.h"
#include "hw/superio.h"
#include "platform/sim/sim_hardware.h"

namespace {

std::string BoardPath(const char* name)
{
    return std::string(TOVA_SOURCE_DIR) + "/demo/boards/" + name;
}

struct CDemo {
    CBoard board;
    CSimHardware hardware{board};
    CHwState state;
    CPortAccess ports{hardware, state.osCode};
    CPciScanner pci{ports, state.lastClassCode};

    explicit CDemo(const char* name, uint8_t osCode = OS_WINXP)
    {
        FixedText<256> error;
        loaded = board.LoadFile(BoardPath(name).c_str(), &error);
        EXPECT_TRUE(loaded) << name << ": " << error.c_str();
        state.osCode = osCode;
    }

    uint8_t Winbond()
    {
        uint8_t code = 0xEE;
        state.results.foundId = 0;
        WinbondChipProbe(ports, &code, state.results);
        return code;
    }

    uint8_t Ite()
    {
        uint8_t result = 0xEE;
        state.results.foundId = 0;
        Ite87Probe(ports, &result, state.results);
        return result;
    }

    std::string Bios()
    {
        char text[BIOS_TEXT_SIZE];
        ReadBiosText(ports, state.osCode, text);
        return text;
    }

    std::string Vendor()
    {
        char vendor[CPU_VENDOR_SIZE];
        ReadCpuVendor(hardware, vendor);
        return vendor;
    }

    bool loaded = false;
};

}  // namespace

TEST(DemoBoards, EveryFileLoads)
{
    for (const char* name : {"ich4-845pe.board", "via-kt400.board", "sis651.board",
                             "nforce2.board", "ich5-865g.board", "empty.board"}) {
        CDemo demo(name);
        EXPECT_TRUE(demo.loaded) << name;
    }
}

TEST(DemoBoards, Ich4845pe)
{
    for (uint8_t os : {OS_WINXP, OS_WIN98SE}) {
        CDemo demo("ich4-845pe.board", os);
        EXPECT_TRUE(demo.pci.FindPciDevice(0x25608086, 0x25607A51));
        EXPECT_TRUE(demo.pci.FindPciDevice(0x24C58086, 0x76008384));
        EXPECT_TRUE(demo.pci.FindPciDevice(0x10398086, 0x30138086));
        EXPECT_TRUE(demo.pci.FindPciDevice(0x24CD8086, 0x50047A51));
        EXPECT_TRUE(demo.pci.FindPciDevice(0x5275105A, 0xB0017A51));
        EXPECT_EQ(0x0180, demo.state.lastClassCode);
        EXPECT_FALSE(demo.pci.FindPciDevice(0x24C58086, 0xA0007A51));
        EXPECT_EQ(1, demo.Winbond());
        EXPECT_EQ(SUPERIO_ID_WINBOND_OTHER, demo.state.results.foundId);
        EXPECT_FALSE(demo.board.SuperIoInConfigMode(0x2E)) << "the probe's exit is honoured";
        EXPECT_EQ(0, demo.Ite());
        EXPECT_EQ("07/16/2003-i845PE-6728-6A69YM4FC-00", demo.Bios());
        EXPECT_EQ("GenuineIntel", demo.Vendor());
        EXPECT_EQ(523760u, demo.board.MemoryKb());
    }
}

TEST(DemoBoards, ViaKt400)
{
    CDemo demo("via-kt400.board");
    EXPECT_TRUE(demo.pci.FindPciDevice(0x31891106, 0));
    EXPECT_TRUE(demo.pci.FindPciDevice(0x30591106, 0xA0027A51));
    EXPECT_TRUE(demo.pci.FindPciDevice(0x3376105A, 0x6620105A));
    EXPECT_EQ(0, demo.Winbond());
    EXPECT_EQ(10, demo.Ite());
    EXPECT_EQ(SUPERIO_ID_ITE87, demo.state.results.foundId);
    EXPECT_FALSE(demo.board.SuperIoInConfigMode(0x2E)) << "the probe's exit is honoured";
    EXPECT_EQ("08/12/2003-KT400-8235-6A6LVM4FC-00", demo.Bios());
    EXPECT_EQ("AuthenticAMD", demo.Vendor());
}

TEST(DemoBoards, Sis651)
{
    CDemo demo("sis651.board");
    EXPECT_TRUE(demo.pci.FindPciDeviceRevision(0x06511039, 2));
    EXPECT_FALSE(demo.pci.FindPciDeviceRevision(0x06511039, 1));
    EXPECT_TRUE(demo.pci.FindPciDevice(0x31121095, 0x61121095));
    EXPECT_TRUE(demo.pci.FindPciDevice(0x82121283, 0x00011283));
    EXPECT_EQ(3, demo.Winbond());
    EXPECT_EQ(SUPERIO_ID_WINBOND_OTHER, demo.state.results.foundId);
    EXPECT_FALSE(demo.board.SuperIoInConfigMode(0x4E));
    EXPECT_EQ("05/20/2003-SiS651-6A7I0M4FC-00", demo.Bios()) << "marker deep in the image";
    EXPECT_EQ("CyrixInstead", demo.Vendor());
}

TEST(DemoBoards, Nforce2AndEmpty)
{
    CDemo nforce("nforce2.board");
    EXPECT_TRUE(nforce.pci.FindPciDevice(0x01F010DE, 0));
    EXPECT_TRUE(nforce.pci.FindPciDevice(0x801D9005, 0x005E9005));
    EXPECT_TRUE(nforce.pci.FindPciDevice(0x0D30105A, 0xB0017A51));
    EXPECT_EQ(0x0104, nforce.state.lastClassCode);
    EXPECT_EQ(0, nforce.Winbond());
    EXPECT_EQ(0, nforce.Ite());
    EXPECT_EQ("AuthenticAMD", nforce.Vendor());

    CDemo empty("empty.board");
    EXPECT_EQ(0, empty.board.PciFunctionCount());
    EXPECT_FALSE(empty.pci.FindPciDevice(0x25608086, 0));
    EXPECT_EQ(0, empty.Winbond());
    EXPECT_EQ(0, empty.Ite());
    EXPECT_EQ("", empty.Bios());
    EXPECT_EQ("", empty.Vendor());
}

TEST(DemoBoards, Ich5865g)
{
    CDemo demo("ich5-865g.board");
    EXPECT_TRUE(demo.pci.FindPciDevice(0x24DF8086, 0x24D17A51));
    EXPECT_TRUE(demo.pci.FindPciDevice(0x24DD8086, 0));
    EXPECT_EQ(2, demo.Winbond());
    EXPECT_EQ(SUPERIO_ID_WINBOND_LDN0, demo.state.results.foundId);
    EXPECT_EQ("09/03/2003-i865G-6728-6A79AM4FC-00", demo.Bios());
    EXPECT_EQ("GenuineIntel", demo.Vendor());
}
