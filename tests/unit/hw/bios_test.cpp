// The BIOS text (family marker, source address, cut and length) and the processor vendor.
#include <gtest/gtest.h>

#include <string>

#include "hw/bios.h"
#include "hw/hw_state.h"
#include "hwaccess_board_rig.h"
#include "hwaccess_mocks.h"

namespace {

const uint32_t OFFSET_AMI_TEXT = 0xFF531 - 0xF0000;
const uint32_t OFFSET_OTHER_TEXT = 0xFE0C0 - 0xF0000;

void Put(std::vector<uint8_t>& image, uint32_t offset, const char* bytes, size_t length)
{
    memcpy(image.data() + offset, bytes, length);
}

// An image holding a text at both sources, each behind a filler byte that must be dropped.
std::vector<uint8_t> ImageWithBothTexts()
{
    std::vector<uint8_t> image(ROM_IMAGE_SIZE, 0);
    Put(image, OFFSET_AMI_TEXT, "#07/16/2003-i845PE-6728", 24);
    Put(image, OFFSET_OTHER_TEXT, "@Award Modular BIOS v6.00PG", 28);
    return image;
}

struct CBiosRun {
    CHwaccessMockHardware hardware;
    uint8_t osCode;
    CPortAccess ports;
    std::vector<uint8_t> image;
    std::vector<char> buffer;  // exactly the 255 bytes the caller owns

    CBiosRun(uint8_t os, const std::vector<uint8_t>& rom)
        : osCode(os), ports(hardware, osCode), image(rom), buffer(BIOS_TEXT_SIZE, 'Z')
    {
        hardware.library.mappedMemory = image.data();
        hardware.physical = image;
        hardware.physicalBase = 0xF0000;
    }

    std::string Read()
    {
        ReadBiosText(ports, osCode, buffer.data());
        return std::string(buffer.data());
    }
};

TEST(BiosTextTest, FamilyMarkerSelectsTheSource)
{
    std::vector<uint8_t> image = ImageWithBothTexts();
    EXPECT_EQ("Award Modular BIOS v6.00PG", CBiosRun(OS_WIN98, image).Read());

    // The marker with its zero byte, deep in the image, far from the start.
    Put(image, 0xC123, "AMIBIOS", 8);
    EXPECT_EQ("07/16/2003-i845PE-6728", CBiosRun(OS_WIN98, image).Read());
}

TEST(BiosTextTest, MarkerFollowedByNonZeroByteIsNotAmi)
{
    for (char follower : {' ', 'C', '\x01'}) {
        std::vector<uint8_t> image = ImageWithBothTexts();
        Put(image, 0x0010, "AMIBIOS", 7);
        image[0x0017] = static_cast<uint8_t>(follower);
        EXPECT_EQ("Award Modular BIOS v6.00PG", CBiosRun(OS_WINME, image).Read());
    }
}

TEST(BiosTextTest, MarkerAtTheEdgesOfTheImage)
{
    std::vector<uint8_t> image = ImageWithBothTexts();
    Put(image, 0, "AMIBIOS", 8);
    EXPECT_EQ("07/16/2003-i845PE-6728", CBiosRun(OS_WIN95, image).Read());

    image = ImageWithBothTexts();
    Put(image, ROM_IMAGE_SIZE - 8, "AMIBIOS", 8);
    EXPECT_EQ("07/16/2003-i845PE-6728", CBiosRun(OS_WIN95, image).Read());

    // The letters in the last seven bytes: the zero byte would lie beyond the image.
    image = ImageWithBothTexts();
    Put(image, ROM_IMAGE_SIZE - 7, "AMIBIOS", 7);
    EXPECT_EQ("Award Modular BIOS v6.00PG", CBiosRun(OS_WIN95, image).Read());
}

TEST(BiosTextTest, TextWithoutZeroByteIsExactly254Characters)
{
    std::vector<uint8_t> image(ROM_IMAGE_SIZE, 0);
    for (uint32_t i = 0; i < 300; ++i) image[OFFSET_OTHER_TEXT + i] = 'a' + i % 26;
    CBiosRun run(OS_WINXP, image);
    std::string text = run.Read();
    ASSERT_EQ(254u, text.size());
    EXPECT_EQ('b', text[0]);  // the byte at the source itself is dropped
    EXPECT_EQ(static_cast<char>('a' + 254 % 26), text[253]);
    EXPECT_EQ('\0', run.buffer[254]);
}

TEST(BiosTextTest, EmptyOutsideTheSupportedSystemsWithoutTouchingTheHardware)
{
    for (int os : {0, 1, 9, 17, 20, 255}) {
        SCOPED_TRACE(os);
        CBiosRun run(static_cast<uint8_t>(os), ImageWithBothTexts());
        EXPECT_EQ("", run.Read());
        EXPECT_TRUE(run.hardware.log.calls.empty());
    }
}

TEST(BiosTextTest, SameTextOnBothPaths)
{
    std::vector<uint8_t> image = ImageWithBothTexts();
    Put(image, 0x8000, "AMIBIOS", 8);
    for (int os = 10; os <= 16; ++os) {
        SCOPED_TRACE(os);
        CBiosRun run(static_cast<uint8_t>(os), image);
        EXPECT_EQ("07/16/2003-i845PE-6728", run.Read());
        bool nt = os == 13 || os == 14 || os == 16;
        ASSERT_FALSE(run.hardware.log.calls.empty());
        EXPECT_EQ(nt ? "lib.Pre_Open_Device 102 c:\\mapmem.tmp mapmem_dv"
                     : "direct.readPhysical f0000 fff0",
                  run.hardware.log.calls[0]);
        EXPECT_EQ(nt ? 5u : 1u, run.hardware.log.calls.size());
    }
}

TEST(BiosTextTest, UnmappedRomGivesEmptyText)
{
    CBiosRun run(OS_WIN2000, ImageWithBothTexts());
    run.hardware.library.mappedMemory = nullptr;
    EXPECT_EQ("", run.Read());
}

TEST(CpuVendorTest, VendorFromEbxEdxEcx)
{
    CHwaccessMockHardware hardware;
    memcpy(&hardware.cpuIdRegs[1], "Genu", 4);  // EBX
    memcpy(&hardware.cpuIdRegs[3], "ineI", 4);  // EDX
    memcpy(&hardware.cpuIdRegs[2], "ntel", 4);  // ECX
    hardware.cpuIdRegs[0] = 2;
    char vendor[CPU_VENDOR_SIZE];
    memset(vendor, 'Z', sizeof(vendor));
    EXPECT_EQ(1, ReadCpuVendor(hardware, vendor));
    EXPECT_EQ(0, memcmp(vendor, "GenuineIntel", CPU_VENDOR_SIZE));
    EXPECT_EQ(std::vector<std::string>{"cpuid 0"}, hardware.log.calls);
}

TEST(CpuVendorTest, NoIdentificationSupportLeavesVendorAllZero)
{
    CHwaccessMockHardware hardware;
    hardware.cpuIdSupported = false;
    char vendor[CPU_VENDOR_SIZE];
    memset(vendor, 'Z', sizeof(vendor));
    EXPECT_EQ(1, ReadCpuVendor(hardware, vendor));
    for (char c : vendor) EXPECT_EQ('\0', c);
    EXPECT_TRUE(hardware.log.calls.empty());
}

TEST(BiosTextTest, BoardSimulatorFamiliesOnBothPaths)
{
    struct CCase {
        const char* description;
        const char* text;
    } cases[] = {
        {"bios family=ami text=\"07/16/2003-i845PE-6728-6A69YM4FC-00\"\n",
         "07/16/2003-i845PE-6728-6A69YM4FC-00"},
        {"bios family=ami marker=0xC3A0 text=\"05/20/2003-SiS651\"\n", "05/20/2003-SiS651"},
        {"bios family=other text=\"04/02/2003-nVidia-nForce2\"\n", "04/02/2003-nVidia-nForce2"},
    };
    for (const CCase& c : cases) {
        for (int os = 10; os <= 16; ++os) {
            SCOPED_TRACE(std::string(c.description) + " os " + std::to_string(os));
            CHwaccessBoardRig rig(static_cast<uint8_t>(os));
            ASSERT_TRUE(rig.Load(c.description));
            char buffer[BIOS_TEXT_SIZE];
            ReadBiosText(rig.ports, rig.osCode, buffer);
            EXPECT_STREQ(c.text, buffer);
        }
    }
}

TEST(CpuVendorTest, BoardSimulatorProcessor)
{
    CHwaccessBoardRig rig(OS_WINXP);
    char vendor[CPU_VENDOR_SIZE];
    ASSERT_TRUE(rig.Load("cpu vendor=AuthenticAMD\n"));
    EXPECT_EQ(1, ReadCpuVendor(rig.hardware, vendor));
    EXPECT_STREQ("AuthenticAMD", vendor);

    ASSERT_TRUE(rig.Load("cpu none\n"));
    memset(vendor, 'Z', sizeof(vendor));
    EXPECT_EQ(1, ReadCpuVendor(rig.hardware, vendor));
    EXPECT_STREQ("", vendor);
    EXPECT_EQ('\0', vendor[CPU_VENDOR_SIZE - 1]);
}

}  // namespace
