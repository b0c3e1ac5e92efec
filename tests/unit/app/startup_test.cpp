// Start-up: the single-instance rule, the dialog font table, and the dialog's initialisation
// order on the simulated PC.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/dialog_font.h"
#include "app/setup_app.h"
#include "app/setup_dialog.h"
#include "platform/sim/sim_machine.h"

namespace {

struct CDpiCase {
    int x;
    int y;
    int base;
    int points;
};

TEST(DialogFont, FollowsTheResolutionTable)
{
    const CDpiCase cases[] = {
        {96, 96, 106, 8},  {120, 120, 106, 7}, {144, 144, 120, 6}, {192, 192, 120, 5},
        {72, 72, 116, 12}, {96, 120, 96, 8},   {120, 96, 96, 6},   {100, 100, 96, 7},
        {144, 96, 96, 5},
    };
    for (const CDpiCase& c : cases) {
        EXPECT_EQ(c.base, DialogFontBase(c.x, c.y)) << c.x << "x" << c.y;
        EXPECT_EQ(c.points, DialogFontPointSize(c.x, c.y)) << c.x << "x" << c.y;
    }
}

TEST(DialogFont, FailedInformationContextDoesNotDivideByZero)
{
    EXPECT_EQ(96, DialogFontBase(0, 0));
    EXPECT_EQ(8, DialogFontPointSize(0, 0));
}

// A temporary host folder that disappears with the test.
class CTempDir {
public:
    CTempDir()
    {
        char pattern[] = "/tmp/tova-app-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~CTempDir() { system(("rm -rf '" + path + "'").c_str()); }
    std::string File(const char* name, const char* text) const
    {
        std::string full = path + "/" + name;
        FILE* f = fopen(full.c_str(), "wb");
        if (f) {
            fputs(text, f);
            fclose(f);
        }
        return full;
    }
    std::string path;
};

struct CRun {
    std::string cdRoot;
    std::string title;
    uint8_t osCode = 0;
    int itemCount = -1;
    int screenDpiX = -1;
    bool ended = false;
    std::string ruleText;
    size_t blankLength = 0;
    int lineHeight = 0;
    int charWidth = 0;
};

void Capture(CSetupDlg& dialog, void* context)
{
    CRun* run = static_cast<CRun*>(context);
    run->cdRoot = dialog.data.cdRoot.c_str();
    run->osCode = dialog.state.hw.osCode;
    run->itemCount = dialog.data.installList.itemCount;
    run->screenDpiX = dialog.state.screenDpiX;
    run->ended = dialog.ProgramEnded();
    run->ruleText = dialog.state.ruleText.c_str();
    run->blankLength = dialog.state.blankText.Length();
    run->lineHeight = dialog.data.lineHeight;
    run->charWidth = dialog.data.charWidth;
}

CRun Start(CSimMachine& machine)
{
    CPlatform platform = machine.Platform();
    CSetupApp app(platform, machine.appHost);
    CRun run;
    app.SetDialogEndHook(Capture, &run);
    app.InitInstance();
    run.title = machine.window.Title();
    return run;
}

const char LIST[] =
    "1;16;Chipset;79;Intel 845PE INF;%CDROM%Chipset\\INF\\;setup.exe;V5\r\n"
    ";----\r\n";
const char BOARD[] = "pci 00:00.0 id=0x25608086 subsys=0x25607A51\n"
                     "pci 00:1f.0 id=0x24C08086\n";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cd.File("id.log", "cd\r\n");
        cd.File("bmp.ini", "[Common]\r\ntitle=Board CD\r\n");
        cd.File("tova.txt", LIST);
        ASSERT_TRUE(machine.files.MapDrive('E', cd.path.c_str()));
        machine.files.SetProgramFile("E:\\tova.exe");
        FixedText<256> error;
        ASSERT_TRUE(machine.board.LoadDescription(BOARD, nullptr, &error)) << error.c_str();
        ASSERT_TRUE(machine.system.SelectOs("winxp"));
    }

    CTempDir cd;
    CSimMachine machine;
};

TEST_F(StartupTest, FirstCopyShowsTheDialogLaterCopiesQuitSilently)
{
    int32_t counter = -1;
    machine.appHost.ShareInstanceCounter(&counter);
    Start(machine);
    EXPECT_EQ(0, counter);
    EXPECT_EQ(1, machine.appHost.DialogRuns());

    CSimMachine second;
    second.appHost.ShareInstanceCounter(&counter);
    CRun secondRun = Start(second);
    EXPECT_EQ(1, counter);
    EXPECT_EQ(0, second.appHost.DialogRuns());
    EXPECT_EQ(-1, secondRun.itemCount);  // no dialog object ever ran
    EXPECT_EQ(0, second.appHost.CommonControlsInits());

    CSimMachine third;
    third.appHost.ShareInstanceCounter(&counter);
    Start(third);
    EXPECT_EQ(2, counter);
    EXPECT_EQ(0, third.appHost.DialogRuns());
    EXPECT_TRUE(second.events.Lines().empty());
    EXPECT_TRUE(third.events.Lines().empty());
}

TEST_F(StartupTest, DialogRunsFromTemplate102WithTheScaledFontAndWhiteColours)
{
    machine.system.SetPixelsPerInch(120, 120);
    CRun run = Start(machine);
    EXPECT_EQ(102u, machine.appHost.DialogTemplate());
    EXPECT_EQ("MS Sans Serif", machine.appHost.DialogFontFace());
    EXPECT_EQ(7, machine.appHost.DialogPointSize());
    EXPECT_EQ(0x00FFFFFFu, machine.appHost.DialogBackground());
    EXPECT_EQ(0x00000000u, machine.appHost.DialogText());
    EXPECT_TRUE(machine.appHost.ControlContainerEnabled());
    EXPECT_TRUE(machine.appHost.ThreeDControlsEnabled());
    // The resolution is known before the dialog's initialisation reads it.
    EXPECT_EQ(120, run.screenDpiX);
    EXPECT_EQ("Times New Roman", machine.window.UiFontFace());
    EXPECT_EQ(14, machine.window.UiFontHeight());
    EXPECT_EQ(std::string(72, '-') + ">", run.ruleText);
}

TEST_F(StartupTest, StandardResolutionGetsTheSmallFontAndTheLongLeader)
{
    CTextMetrics metrics = {16, 2, 7};
    machine.window.SetTextMetrics(metrics);
    CRun run = Start(machine);
    EXPECT_EQ("MS Sans Serif", machine.window.UiFontFace());
    EXPECT_EQ(8, machine.window.UiFontHeight());
    EXPECT_EQ(std::string(96, '-') + ">", run.ruleText);
    EXPECT_EQ(255u, run.blankLength);
    EXPECT_EQ(18, run.lineHeight);
    EXPECT_EQ(7, run.charWidth);
    EXPECT_EQ(1, machine.window.IconSets());
}

TEST_F(StartupTest, UnloadableTemplateShowsNothing)
{
    machine.appHost.SetTemplateLoadable(false);
    Start(machine);
    EXPECT_TRUE(machine.window.MessageBoxes().empty());
    EXPECT_EQ(0, machine.window.IconSets());
    EXPECT_EQ(0, machine.window.ToolTipCreations());
    EXPECT_EQ(0, machine.system.VersionQueries());
}

TEST_F(StartupTest, FindsTheCdTitleAndInstallList)
{
    CRun run = Start(machine);
    EXPECT_EQ("e:\\", run.cdRoot);
    EXPECT_EQ("Board CD", run.title);
    EXPECT_EQ(16, run.osCode);
    EXPECT_EQ(1, run.itemCount);  // 845PE with ICH4: code 79
    char cwd[64] = {};
    machine.files.GetCurrentDirectory(cwd, sizeof cwd);
    EXPECT_STREQ("e:\\", cwd);
}

TEST_F(StartupTest, FirstDriveWithTheMarkerWins)
{
    CTempDir disk;
    ASSERT_TRUE(machine.files.MapDrive('C', disk.path.c_str()));
    EXPECT_EQ("e:\\", Start(machine).cdRoot);

    CSimMachine again;
    disk.File("id.log", "");
    ASSERT_TRUE(again.files.MapDrive('C', disk.path.c_str()));
    ASSERT_TRUE(again.files.MapDrive('E', cd.path.c_str()));
    again.files.SetProgramFile("E:\\tova.exe");
    EXPECT_EQ("c:\\", Start(again).cdRoot);
}

TEST_F(StartupTest, NoCdShowsTheMessageAndEnds)
{
    CSimMachine bare;
    CRun run = Start(bare);
    ASSERT_EQ(1u, bare.window.MessageBoxes().size());
    EXPECT_EQ("Sorry  I can't find Driver CD!", bare.window.MessageBoxes()[0].text);
    EXPECT_EQ("Msg", bare.window.MessageBoxes()[0].caption);
    EXPECT_TRUE(bare.window.MessageBoxes()[0].ownedByDialog);
    EXPECT_TRUE(bare.processes.Exited());
    EXPECT_EQ(0u, bare.processes.ExitCode());
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(0, bare.window.ToolTipCreations());
}

TEST_F(StartupTest, BlankTitleReplacesTheCaptionEmptyTitleKeepsIt)
{
    cd.File("bmp.ini", "[Common]\r\ntitle=\"   \"\r\n");
    EXPECT_EQ("   ", Start(machine).title);

    CSimMachine again;
    cd.File("bmp.ini", "[Common]\r\ntotal=7\r\n");
    ASSERT_TRUE(again.files.MapDrive('E', cd.path.c_str()));
    again.files.SetProgramFile("E:\\tova.exe");
    EXPECT_EQ("TOVA 2.2 B02.111101", Start(again).title);
}

TEST_F(StartupTest, TitleComesFromBmpIniEvenOnTraditionalChinese)
{
    cd.File("cht.ini", "[Common]\r\ntitle=Chinese title\r\n");
    machine.system.SetDefaultLangId(0x0404);
    EXPECT_EQ("Board CD", Start(machine).title);
}

TEST_F(StartupTest, FailedTooltipSkipsDetection)
{
    for (int nth = 1; nth <= 2; ++nth) {
        CSimMachine m;
        ASSERT_TRUE(m.files.MapDrive('E', cd.path.c_str()));
        m.files.SetProgramFile("E:\\tova.exe");
        m.window.FailToolTipCreation(nth);
        CRun run = Start(m);
        EXPECT_EQ(0, run.osCode) << nth;
        EXPECT_EQ(0, run.itemCount) << nth;
        EXPECT_EQ(0, m.system.VersionQueries()) << nth;
        EXPECT_FALSE(run.ended) << nth;
        EXPECT_EQ("", run.ruleText) << nth;
    }
}

TEST_F(StartupTest, UnsupportedSystemShowsTheMessageAndEnds)
{
    ASSERT_TRUE(machine.system.SelectOs("vista"));
    CRun run = Start(machine);
    ASSERT_EQ(1u, machine.window.MessageBoxes().size());
    EXPECT_EQ("Sorry we do not support this M/B.", machine.window.MessageBoxes()[0].text);
    EXPECT_EQ("Msg", machine.window.MessageBoxes()[0].caption);
    EXPECT_TRUE(machine.processes.Exited());
    EXPECT_TRUE(run.ended);
    EXPECT_EQ("", run.ruleText);
}

TEST_F(StartupTest, ProgramFolderIsWhereTheListIsRead)
{
    // The list beside the program, not on the CD root, is the one that counts.
    CTempDir programDir;
    programDir.File("tova.txt", "1;16;Chipset;79;Other INF;%CDROM%X\\;s.exe;V1\r\n"
                                "2;16;Chipset;79;Second INF;%CDROM%Y\\;s.exe;V1\r\n;-\r\n");
    CSimMachine m;
    ASSERT_TRUE(m.files.MapDrive('D', programDir.path.c_str()));
    ASSERT_TRUE(m.files.MapDrive('E', cd.path.c_str()));
    m.files.SetProgramFile("D:\\tova.exe");
    FixedText<256> error;
    ASSERT_TRUE(m.board.LoadDescription(BOARD, nullptr, &error));
    EXPECT_EQ(2, Start(m).itemCount);
}

}  // namespace
