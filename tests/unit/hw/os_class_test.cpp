// Operating-system classification: every row of the osCode table and both failure paths.
#include <gtest/gtest.h>

#include "hw/hw_state.h"
#include "hw/os_class.h"
#include "hwaccess_mocks.h"

namespace {

COsVersionInfo Record(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build,
                      const char* csd)
{
    COsVersionInfo info;
    memset(&info, 0, sizeof(info));
    info.platformId = platform;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.buildNumber = build;
    snprintf(info.csdVersion, sizeof(info.csdVersion), "%s", csd);
    return info;
}

struct CClassifyRun {
    CHwaccessMockSystem system;
    CHwaccessMockWindow window;
    // Values no classification produces, so an untouched output is seen.
    uint8_t osCode = 77;
    uint8_t xpServicePack = 77;
    int result = -1;

    void Run() { result = ClassifyOs(system, window, &osCode, &xpServicePack); }
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
        run.system.answers.push_back(
            {true, Record(row.platform, row.major, row.minor, row.build, row.csd)});
        run.Run();
        EXPECT_EQ(1, run.result);
        EXPECT_EQ(row.osCode, run.osCode);
        EXPECT_EQ(row.xpServicePack, run.xpServicePack);
        EXPECT_TRUE(run.window.messages.empty());
        // The extended record is asked for first, cleared, and once is enough.
        ASSERT_EQ(1u, run.system.calls.size());
        EXPECT_EQ(156u, run.system.calls[0].sizeField);
        EXPECT_TRUE(run.system.calls[0].restCleared);
    }
}

TEST(ClassifyOsTest, ExtendedRecordFailsPlainRecordClassifies)
{
    CClassifyRun run;
    run.system.answers.push_back({false, Record(2, 4, 0, 1381, "")});
    run.system.answers.push_back({true, Record(2, 5, 1, 2600, "Service Pack 1")});
    run.Run();
    EXPECT_EQ(1, run.result);
    EXPECT_EQ(OS_WINXP, run.osCode);
    EXPECT_EQ(1, run.xpServicePack);
    ASSERT_EQ(2u, run.system.calls.size());
    EXPECT_EQ(156u, run.system.calls[0].sizeField);
    EXPECT_EQ(148u, run.system.calls[1].sizeField);
    EXPECT_TRUE(run.window.messages.empty());
}

TEST(ClassifyOsTest, BothRecordsFailShowsMessageAndLeavesOsCode)
{
    CClassifyRun run;
    run.system.answers.push_back({false, Record(1, 4, 10, 2222, "")});
    run.system.answers.push_back({false, Record(1, 4, 10, 2222, "")});
    run.Run();
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(77, run.osCode);
    EXPECT_EQ(77, run.xpServicePack);
    EXPECT_EQ(2u, run.system.calls.size());
    ASSERT_EQ(1u, run.window.messages.size());
    EXPECT_FALSE(run.window.messages[0].ownedByDialog);
    EXPECT_EQ("Check OS type Error !", run.window.messages[0].text);
    EXPECT_EQ("Message", run.window.messages[0].caption);
    EXPECT_EQ(MSGBOX_OK, run.window.messages[0].type);
}

TEST(ClassifyOsTest, UnknownPlatformShowsMessageAndLeavesOsCodeZero)
{
    for (uint32_t platform : {3u, 4u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(platform);
        CClassifyRun run;
        run.system.answers.push_back({true, Record(platform, 5, 1, 2600, "Service Pack 2")});
        run.Run();
        EXPECT_EQ(0, run.result);
        EXPECT_EQ(OS_OTHER, run.osCode);
        ASSERT_EQ(1u, run.window.messages.size());
        EXPECT_FALSE(run.window.messages[0].ownedByDialog);
        EXPECT_EQ("Unknown OS type !", run.window.messages[0].text);
        EXPECT_EQ("Message", run.window.messages[0].caption);
        EXPECT_EQ(MSGBOX_OK, run.window.messages[0].type);
    }
}

TEST(ClassifyOsTest, ServicePackByteIsClearedWhenNotXpWithServicePack)
{
    // A byte left at 1 from before must not survive a classification that gives 0.
    CClassifyRun run;
    run.xpServicePack = 1;
    run.system.answers.push_back({true, Record(2, 5, 0, 2195, "Service Pack 4")});
    run.Run();
    EXPECT_EQ(OS_WIN2000, run.osCode);
    EXPECT_EQ(0, run.xpServicePack);
}

}  // namespace
