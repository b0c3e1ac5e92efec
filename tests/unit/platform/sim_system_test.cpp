// The simulated system service: every named system's exact version record, raw version
// numbers, failing queries, and the machine's other settings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_system.h"

namespace {

struct CExpectedOs {
    const char* name;
    uint32_t platformId;
    uint32_t major;
    uint32_t minor;
    uint32_t build;
    const char* csd;
    bool extended;  // the 156-byte query succeeds
    uint16_t servicePack;
};

const CExpectedOs EXPECTED[] = {
    {"win95", 1, 4, 0, 0x040003B6, "", false, 0},
    {"win98", 1, 4, 10, 0x040A07CE, "", false, 0},
    {"win98se", 1, 4, 10, 0x040A08AE, "", false, 0},
    {"winme", 1, 4, 90, 0x045A0BB8, "", false, 0},
    {"nt4", 2, 4, 0, 1381, "Service Pack 6", true, 6},
    {"win2000", 2, 5, 0, 2195, "Service Pack 4", true, 4},
    {"winxp", 2, 5, 1, 2600, "Service Pack 2", true, 2},
    {"winxp-nosp", 2, 5, 1, 2600, "", true, 0},
    {"win32s", 0, 3, 10, 0, "", false, 0},
    {"vista", 2, 6, 0, 6000, "", true, 0},
    {"win7", 2, 6, 1, 7601, "Service Pack 1", true, 1},
};

// A record whose every byte is 0xAB, so fields the call leaves alone show.
COsVersionInfo Poisoned(uint32_t size)
{
    COsVersionInfo info;
    memset(&info, 0xAB, sizeof(info));
    info.sizeField = size;
    return info;
}

}  // namespace

TEST(SimSystem, EveryNamedSystemReportsItsExactRecord)
{
    CSimClock clock;
    CSimSystem system(clock);
    ASSERT_EQ(sizeof(EXPECTED) / sizeof(EXPECTED[0]), CSimSystem::OsNameCount());
    for (size_t i = 0; i < CSimSystem::OsNameCount(); ++i) {
        const CExpectedOs& e = EXPECTED[i];
        SCOPED_TRACE(e.name);
        EXPECT_STREQ(e.name, CSimSystem::OsNameAt(i)) << "the usage text lists them in order";
        ASSERT_TRUE(system.SelectOs(e.name));

        COsVersionInfo plain = Poisoned(OS_VERSION_RECORD_PLAIN);
        ASSERT_TRUE(system.GetVersionEx(&plain));
        EXPECT_EQ(OS_VERSION_RECORD_PLAIN, plain.sizeField);
        EXPECT_EQ(e.platformId, plain.platformId);
        EXPECT_EQ(e.major, plain.majorVersion);
        EXPECT_EQ(e.minor, plain.minorVersion);
        EXPECT_EQ(e.build, plain.buildNumber);
        EXPECT_STREQ(e.csd, plain.csdVersion);
        EXPECT_EQ(0, plain.csdVersion[127]);
        // The plain record has no room for the extra fields: they stay as they were.
        EXPECT_EQ(0xABABu, plain.servicePackMajor);
        EXPECT_EQ(0xABABu, plain.suiteMask);
        EXPECT_EQ(0xABu, plain.productType);

        COsVersionInfo ext = Poisoned(OS_VERSION_RECORD_EXTENDED);
        bool extendedOk = system.GetVersionEx(&ext);
        EXPECT_EQ(e.extended, extendedOk);
        if (e.extended && extendedOk) {
            EXPECT_EQ(e.build, ext.buildNumber);
            EXPECT_STREQ(e.csd, ext.csdVersion);
            EXPECT_EQ(e.servicePack, ext.servicePackMajor);
            EXPECT_EQ(0u, ext.servicePackMinor);
            EXPECT_EQ(1u, ext.productType);
        }
    }
    EXPECT_EQ(nullptr, CSimSystem::OsNameAt(CSimSystem::OsNameCount()));
    EXPECT_TRUE(system.SelectOs("WinXP")) << "names are not case-sensitive";
}

TEST(SimSystem, RawVersionNumbers)
{
    CSimClock clock;
    CSimSystem system(clock);
    ASSERT_TRUE(system.SelectOs("2.5.2.3790:Service Pack 1"));
    COsVersionInfo info = Poisoned(OS_VERSION_RECORD_EXTENDED);
    ASSERT_TRUE(system.GetVersionEx(&info));
    EXPECT_EQ(2u, info.platformId);
    EXPECT_EQ(5u, info.majorVersion);
    EXPECT_EQ(2u, info.minorVersion);
    EXPECT_EQ(3790u, info.buildNumber);
    EXPECT_STREQ("Service Pack 1", info.csdVersion);
    EXPECT_EQ(1u, info.servicePackMajor);

    // The 9x family carries major.minor in the high word of the build number.
    ASSERT_TRUE(system.SelectOs("1.4.10.2223"));
    EXPECT_EQ(0x040A08AFu, system.Os().buildNumber);
    ASSERT_TRUE(system.SelectOs("1.4.10.0x12340001"));
    EXPECT_EQ(0x12340001u, system.Os().buildNumber);
    ASSERT_TRUE(system.SelectOs("2.5.0.2222"));
    EXPECT_EQ(2222u, system.Os().buildNumber);
    EXPECT_STREQ("", system.Os().csdVersion.c_str());
    // NT 4 before Service Pack 6 does not know the extended record.
    ASSERT_TRUE(system.SelectOs("2.4.0.1381:Service Pack 5"));
    info = Poisoned(OS_VERSION_RECORD_EXTENDED);
    EXPECT_FALSE(system.GetVersionEx(&info));
    // An unknown platform is still reported, for the program to reject.
    ASSERT_TRUE(system.SelectOs("3.1.0.0"));
    EXPECT_EQ(3u, system.Os().platformId);

    // A service pack text longer than the field is cut to 127 characters.
    std::string longCsd = "2.5.1.2600:" + std::string(200, 'S');
    ASSERT_TRUE(system.SelectOs(longCsd.c_str()));
    info = Poisoned(OS_VERSION_RECORD_PLAIN);
    ASSERT_TRUE(system.GetVersionEx(&info));
    EXPECT_EQ(127u, strlen(info.csdVersion));

    ASSERT_TRUE(system.SelectOs("winme"));
    for (const char* bad : {"", "win2003", "2.5", "2.5.1", "2.5.1.", "2.5.1.x", "2.5.1.2600x",
                            "1.4.10.70000", "2.5.1.99999999999", "2..1.2600", "-2.5.1.2600"}) {
        EXPECT_FALSE(system.SelectOs(bad)) << bad;
    }
    EXPECT_FALSE(system.SelectOs(nullptr));
    EXPECT_STREQ("winme", system.OsName()) << "a failed selection changes nothing";
    EXPECT_EQ(0x045A0BB8u, system.Os().buildNumber);
}

TEST(SimSystem, VersionQueriesCanBeMadeToFail)
{
    CSimClock clock;
    CSimSystem system(clock);
    ASSERT_TRUE(system.SelectOs("winxp"));
    COsVersionInfo info = Poisoned(OS_VERSION_RECORD_EXTENDED);
    system.FailVersionQuery(true, false);
    EXPECT_FALSE(system.GetVersionEx(&info));
    EXPECT_EQ(0xABABABABu, info.platformId) << "a failed call writes nothing";
    info.sizeField = OS_VERSION_RECORD_PLAIN;
    EXPECT_TRUE(system.GetVersionEx(&info));
    EXPECT_EQ(2600u, info.buildNumber);

    system.FailVersionQuery(true, true);
    info = Poisoned(OS_VERSION_RECORD_PLAIN);
    EXPECT_FALSE(system.GetVersionEx(&info));
    system.FailVersionQuery(false, true);
    info = Poisoned(OS_VERSION_RECORD_EXTENDED);
    EXPECT_TRUE(system.GetVersionEx(&info));
    system.FailVersionQuery(false, false);

    // Sizes other than the two records are refused, as Windows refuses them.
    info = Poisoned(sizeof(COsVersionInfo) + 4);
    EXPECT_FALSE(system.GetVersionEx(&info));
    info = Poisoned(0);
    EXPECT_FALSE(system.GetVersionEx(&info));
    EXPECT_FALSE(system.GetVersionEx(nullptr));
    EXPECT_EQ(7, system.VersionQueries());
}

TEST(SimSystem, MachineSettingsAndTime)
{
    CSimClock clock;
    CSimSystem system(clock);
    // An English system with the standard resolution.
    EXPECT_EQ(0x0409, system.GetSystemDefaultLangID());
    int x = 0, y = 0;
    system.GetScreenPixelsPerInch(&x, &y);
    EXPECT_EQ(96, x);
    EXPECT_EQ(96, y);

    CMemoryStatus memory;
    system.GlobalMemoryStatus(&memory);
    EXPECT_EQ(261616u * 1024u, memory.totalPhys) << "a 256 MB machine";
    EXPECT_LT(memory.availPhys, memory.totalPhys);
    system.SetPhysicalMemoryKb(8u * 1024 * 1024, 9u * 1024 * 1024);
    system.GlobalMemoryStatus(&memory);
    EXPECT_EQ(0xFFFFFFFFu, memory.totalPhys) << "more than 4 GB is reported as the cap";
    EXPECT_EQ(memory.totalPhys, memory.availPhys);

    // Sleep moves the clock but does not run the message loop: no timer fires in it.
    clock.SetTimer(1, 20);
    EXPECT_EQ(0u, system.GetTickCount());
    system.Sleep(1500);
    EXPECT_EQ(1500u, system.GetTickCount());
    EXPECT_EQ(1, clock.Advance(0)) << "the late timer fires once, when the loop runs again";
    clock.SetNow(0x100000000ull + 5);
    EXPECT_EQ(5u, system.GetTickCount()) << "the tick count wraps at 32 bits";
}
