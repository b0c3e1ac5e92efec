// Operating-system classification: every row of the osCode table and both failure paths.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "hw/hw_state.h"
#include "hw/os_class.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window.h"

namespace {

// The simulated system, noting what each version query was handed: the record's size field
// and whether every byte after it was zero.
class CQueryRecordingSystem : public CSimSystem {
public:
    struct CCall {
        uint32_t sizeField;
        bool restCleared;
    };
    using CSimSystem::CSimSystem;
    std::vector<CCall> calls;

    bool GetVersionEx(COsVersionInfo* info) override
    {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(info);
        bool cleared = true;
        for (size_t i = sizeof(info->sizeField); i < sizeof(*info); ++i) {
            if (bytes[i] != 0) cleared = false;
        }
        calls.push_back({info->sizeField, cleared});
        return CSimSystem::GetVersionEx(info);
    }
};

struct CClassifyRun {
    CSimClock clock;
    CSimEventLog events;
    CQueryRecordingSystem system{clock};
    CSimFiles files;
    CSimWindow window{events, clock, files};
    // Values no classification produces, so an untouched output is seen.
    uint8_t osCode = 77;
    uint8_t xpServicePack = 77;
    int result = -1;

    // Raw version numbers; the build written in hex, so it is the whole dwBuildNumber.
    bool SelectOs(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build,
                  const char* csd)
    {
        char raw[192];
        snprintf(raw, sizeof(raw), "%u.%u.%u.0x%X:%s", platform, major, minor, build, csd);
        return system.SelectOs(raw);
    }
    void Run() { result = ClassifyOs(system, window, &osCode, &xpServicePack); }
    const std::vector<CSimMessageBox>& Boxes() const { return window.MessageBoxes(); }
};

struct CTableRow {
    const char* what;
    uint32_t platform, major, minor, build;
    const char* csd;
    uint8_t osCode;
    uint8_t xpServicePack;
};

const CTableRow TABLE_ROWS[] = {
    {"Win32s", 0, 1, 30, 0, "", OS_WIN32S, 0},
    {"Windows 95", 1, 4, 0, 0x040003B6, "", OS_WIN95, 0},
    {"9x version 4.0 with a build word above 2222", 1, 4, 0, 0x040008AF, " B", OS_WIN95, 0},
    {"9x major below 4", 1, 3, 95, 2300, "", OS_WIN95, 0},
    {"Windows 98", 1, 4, 10, 0x040A07CE, "", OS_WIN98, 0},
    {"9x build 0", 1, 4, 10, 0, "", OS_WIN98, 0},
    {"9x build 2221", 1, 4, 10, 0x040A08AD, "", OS_WIN98, 0},
    {"Windows 98 SE", 1, 4, 10, 0x040A08AE, " A ", OS_WIN98SE, 0},
    {"98 SE build word with a large high word", 1, 4, 10, 0xFFFF08AE, "", OS_WIN98SE, 0},
    {"9x build 2223", 1, 4, 10, 0x040A08AF, "", OS_WINME, 0},
    {"Windows Me", 1, 4, 90, 0x045A0BB8, "", OS_WINME, 0},
    {"9x major above 4", 1, 5, 0, 2222, "", OS_WIN98SE, 0},
    {"NT 3.51", 2, 3, 51, 1057, "Service Pack 5", OS_NT4, 0},
    {"NT 4", 2, 4, 0, 1381, "Service Pack 6", OS_NT4, 0},
    {"NT 4 with a build above 2222", 2, 4, 0, 5000, "", OS_NT4, 0},
    {"Windows 2000", 2, 5, 0, 2195, "Service Pack 4", OS_WIN2000, 0},
    {"NT 5 build 2222", 2, 5, 0, 2222, "", OS_WIN2000, 0},
    {"NT 5 build 2223", 2, 5, 0, 2223, "", OS_WINXP, 0},
    {"NT 5 low build word 2222, full number above", 2, 5, 1, 0x000108AE, "", OS_WINXP, 0},
    {"Windows XP", 2, 5, 1, 2600, "Service Pack 2", OS_WINXP, 1},
    {"Windows XP without service pack", 2, 5, 1, 2600, "", OS_WINXP, 0},
    {"Server 2003 (minor 2)", 2, 5, 2, 3790, "Service Pack 1", OS_WINXP, 1},
    {"NT 5 minor 0 build above 2222", 2, 5, 0, 2600, "x", OS_WINXP, 1},
    {"Vista", 2, 6, 0, 6000, "", OS_OTHER, 0},
    {"Windows 7", 2, 6, 1, 7601, "Service Pack 1", OS_OTHER, 0},
};

TEST(ClassifyOsTest, EveryRowOfTheTable)
{
    for (const CTableRow& row : TABLE_ROWS) {
        SCOPED_TRACE(row.what);
        CClassifyRun run;
        ASSERT_TRUE(run.SelectOs(row.platform, row.major, row.minor, row.build, row.csd));
        run.Run();
        EXPECT_EQ(1, run.result);
        EXPECT_EQ(row.osCode, run.osCode);
        EXPECT_EQ(row.xpServicePack, run.xpServicePack);
        EXPECT_TRUE(run.Boxes().empty());
        // The extended record is asked for first, cleared, and one answer is enough; the 9x
        // family and NT before 4 SP6 refuse it, and the plain record follows.
        ASSERT_FALSE(run.system.calls.empty());
        EXPECT_EQ(156u, run.system.calls[0].sizeField);
        EXPECT_TRUE(run.system.calls[0].restCleared);
        if (run.system.Os().extendedSupported) {
            EXPECT_EQ(1u, run.system.calls.size());
        } else {
            ASSERT_EQ(2u, run.system.calls.size());
            EXPECT_EQ(148u, run.system.calls[1].sizeField);
        }
    }
}

TEST(ClassifyOsTest, ExtendedRecordFailsPlainRecordClassifies)
{
    CClassifyRun run;
    ASSERT_TRUE(run.system.SelectOs("2.5.1.2600:Service Pack 1"));
    run.system.FailVersionQuery(true, false);
    run.Run();
    EXPECT_EQ(1, run.result);
    EXPECT_EQ(OS_WINXP, run.osCode);
    EXPECT_EQ(1, run.xpServicePack);
    ASSERT_EQ(2u, run.system.calls.size());
    EXPECT_EQ(156u, run.system.calls[0].sizeField);
    EXPECT_EQ(148u, run.system.calls[1].sizeField);
    EXPECT_TRUE(run.Boxes().empty());
}

TEST(ClassifyOsTest, BothRecordsFailShowsMessageAndLeavesOsCode)
{
    CClassifyRun run;
    ASSERT_TRUE(run.system.SelectOs("1.4.10.2222"));
    run.system.FailVersionQuery(true, true);
    run.Run();
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(77, run.osCode);
    EXPECT_EQ(77, run.xpServicePack);
    EXPECT_EQ(2u, run.system.calls.size());
    ASSERT_EQ(1u, run.Boxes().size());
    EXPECT_FALSE(run.Boxes()[0].ownedByDialog);
    EXPECT_EQ("Check OS type Error !", run.Boxes()[0].text);
    EXPECT_EQ("Message", run.Boxes()[0].caption);
    EXPECT_EQ(MSGBOX_OK, run.Boxes()[0].type);
}

TEST(ClassifyOsTest, UnknownPlatformShowsMessageAndLeavesOsCodeZero)
{
    for (uint32_t platform : {3u, 4u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(platform);
        CClassifyRun run;
        ASSERT_TRUE(run.SelectOs(platform, 5, 1, 2600, "Service Pack 2"));
        run.Run();
        EXPECT_EQ(0, run.result);
        EXPECT_EQ(OS_OTHER, run.osCode);
        ASSERT_EQ(1u, run.Boxes().size());
        EXPECT_FALSE(run.Boxes()[0].ownedByDialog);
        EXPECT_EQ("Unknown OS type !", run.Boxes()[0].text);
        EXPECT_EQ("Message", run.Boxes()[0].caption);
        EXPECT_EQ(MSGBOX_OK, run.Boxes()[0].type);
    }
}

TEST(ClassifyOsTest, ServicePackByteIsClearedWhenNotXpWithServicePack)
{
    // A byte left at 1 from before must not survive a classification that gives 0.
    CClassifyRun run;
    run.xpServicePack = 1;
    ASSERT_TRUE(run.system.SelectOs("2.5.0.2195:Service Pack 4"));
    run.Run();
    EXPECT_EQ(OS_WIN2000, run.osCode);
    EXPECT_EQ(0, run.xpServicePack);
}

}  // namespace
