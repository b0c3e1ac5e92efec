// The PCI scans on the board simulator: walk order and range, subsystem and revision tests,
// lastClassCode, the cost of a miss, and the delay port.
#include <gtest/gtest.h>

#include "hwaccess_board_rig.h"

namespace {

TEST(FindPciDeviceTest, AnySubsystemFindsAFunctionAnywhereOnBusesZeroToThree)
{
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(os);
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load("pci 03:1f.7 id=0x24C58086 class=0x04010002 subsys=0xA0007A51\n"
                             "pci 02:13.5 id=0x31041106 class=0x0C032062\n"
                             "pci 04:00.0 id=0x30591106 class=0x04010050\n"));
        EXPECT_TRUE(rig.scanner.FindPciDevice(0x24C58086, 0));
        EXPECT_EQ(0x0401, rig.state.lastClassCode);
        EXPECT_TRUE(rig.scanner.FindPciDevice(0x31041106, 0));
        EXPECT_EQ(0x0C03, rig.state.lastClassCode);
        // Bus 4 lies beyond the walk.
        EXPECT_FALSE(rig.scanner.FindPciDevice(0x30591106, 0));
        EXPECT_EQ(0x0C03, rig.state.lastClassCode);
    }
}

TEST(FindPciDeviceTest, WalksBusOutermostAndFunctionInnermost)
{
    CHwaccessBoardRig rig(OS_WIN2000);
    // The same id three times; the class word tells which one the walk met first.
    ASSERT_TRUE(rig.Load("pci 01:00.0 id=0x100E8086 class=0x01110000\n"
                         "pci 00:02.0 id=0x100E8086 class=0x02220000\n"
                         "pci 00:01.7 id=0x100E8086 class=0x03330000\n"));
    EXPECT_TRUE(rig.scanner.FindPciDevice(0x100E8086, 0));
    EXPECT_EQ(0x0333, rig.state.lastClassCode);
}

TEST(FindPciDeviceTest, SubsystemMismatchKeepsScanning)
{
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(os);
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load("pci 00:0a.0 id=0x0D30105A class=0x01800001 subsys=0xB0017A51\n"
                             "pci 00:0a.1 id=0x0D30105A class=0x01040002 subsys=0xB0007A51\n"
                             "pci 02:06.0 id=0x0D30105A class=0x01850003 subsys=0x4D39105A\n"));
        EXPECT_TRUE(rig.scanner.FindPciDevice(0x0D30105A, 0xB0007A51));
        EXPECT_EQ(0x0104, rig.state.lastClassCode);
        EXPECT_TRUE(rig.scanner.FindPciDevice(0x0D30105A, 0x4D39105A));
        EXPECT_EQ(0x0185, rig.state.lastClassCode);
        EXPECT_TRUE(rig.scanner.FindPciDevice(0x0D30105A, 0));
        EXPECT_EQ(0x0180, rig.state.lastClassCode);

        // No subsystem matches: the class word of the last id match is what remains.
        EXPECT_FALSE(rig.scanner.FindPciDevice(0x0D30105A, 0x4D33105A));
        EXPECT_EQ(0x0185, rig.state.lastClassCode);
    }
}

TEST(FindPciDeviceTest, LastClassCodeOnlyChangesAtAnIdMatch)
{
    CHwaccessBoardRig rig(OS_WIN98);
    ASSERT_TRUE(rig.Load("pci 00:00.0 id=0x06511039 class=0x06000002\n"));
    rig.state.lastClassCode = 0xBEEF;
    EXPECT_FALSE(rig.scanner.FindPciDevice(0x12345678, 0));
    EXPECT_EQ(0xBEEF, rig.state.lastClassCode);
    EXPECT_TRUE(rig.scanner.FindPciDeviceRevision(0x06511039, 2));
    EXPECT_EQ(0xBEEF, rig.state.lastClassCode);
}

TEST(FindPciDeviceRevisionTest, ComparesTheRevisionLowByteOnBusesZeroToTwo)
{
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(os);
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load("pci 00:00.0 id=0x06511039 class=0x06000001\n"
                             "pci 02:1f.7 id=0x06511039 class=0x06000002\n"
                             "pci 03:00.0 id=0x06461039 class=0x06000003\n"));
        EXPECT_TRUE(rig.scanner.FindPciDeviceRevision(0x06511039, 1));
        // A later function with the same id and the wanted revision.
        EXPECT_TRUE(rig.scanner.FindPciDeviceRevision(0x06511039, 2));
        EXPECT_TRUE(rig.scanner.FindPciDeviceRevision(0x06511039, 0x3302));
        EXPECT_FALSE(rig.scanner.FindPciDeviceRevision(0x06511039, 3));
        // Bus 3 is found by the plain scan but never by the revision scan.
        EXPECT_TRUE(rig.scanner.FindPciDevice(0x06461039, 0));
        EXPECT_FALSE(rig.scanner.FindPciDeviceRevision(0x06461039, 3));
    }
}

TEST(FindPciDeviceTest, PortOperationsOfAMissAndOfAHit)
{
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(os);
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load("pci 00:01.0 id=0x24C08086 class=0x06010002 subsys=0x12345678\n"));

        // One address write and one data read for each of 4 x 32 x 8 functions.
        EXPECT_FALSE(rig.scanner.FindPciDevice(0x70021039, 0));
        uint64_t missOps = rig.board.PortOps();
        EXPECT_EQ(2048u, missOps);
        ::testing::Test::RecordProperty("PortOpsFindPciDeviceMiss", static_cast<int>(missOps));

        rig.board.ResetPortOps();
        EXPECT_FALSE(rig.scanner.FindPciDeviceRevision(0x70021039, 0));
        EXPECT_EQ(1536u, rig.board.PortOps());

        // Eight functions of device 0, then the id, class and subsystem reads of 00:01.0.
        rig.board.ResetPortOps();
        EXPECT_TRUE(rig.scanner.FindPciDevice(0x24C08086, 0x12345678));
        EXPECT_EQ(16u + 6u, rig.board.PortOps());
    }
}

TEST(IoDelayTest, WritesTheDelayPortCountTimes)
{
    for (uint8_t os : HWACCESS_TEST_OS) {
        SCOPED_TRACE(os);
        CHwaccessBoardRig rig(os);
        ASSERT_TRUE(rig.Load("# nothing but the delay port\n"));
        rig.ports.IoDelay(10000);
        EXPECT_EQ(10000u, rig.board.DelayWrites());
        EXPECT_EQ(10000u, rig.board.PortOps());
        rig.ports.IoDelay(0);
        EXPECT_EQ(10000u, rig.board.PortOps());
    }
}

}  // namespace
