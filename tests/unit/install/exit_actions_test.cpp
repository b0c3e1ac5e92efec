// Leaving the program: what the close handler, the start-up clean-up, the Exit button and the
// web button remove, keep and start.
#include <gtest/gtest.h>

#include <string>

#include "install/exit_actions.h"
#include "install/resume.h"
#include "skin/panels.h"
#include "unit/skin/skin_rig.h"

namespace {

const char RESUME_STATE[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
    "\"zzQTM\"=\"E:\\\\tova.exe\"\n\"Other\"=\"keep.exe\"\n"
    "[HKEY_CURRENT_USER\\Software\\QTM]\n\"inst_0\"=hex:02\n";

class ExitActionsTest : public ::testing::Test {
protected:
    ExitActionsTest()
    {
        FixedText<256> error;
        EXPECT_TRUE(rig.machine.registry.LoadRegText(RESUME_STATE, &error)) << error.c_str();
        rig.cd.Write("windows/system/msiexec.exe", "x");
        rig.cd.Write("windows/system/msi.dll", "x");
        rig.File("bmp.ini", "[Common]\ntotal=7\n6_exe=http://maker.example/drivers\n"
                            "[Panel0]\ntotal=3\n[Panel1]\ntotal=20\n");
        CPanelLoader(*rig.platform, *rig.state).LoadAllPanels();
    }
    bool ResumeStateLeft()
    {
        RegKey key = 0;
        bool left = rig.machine.registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key);
        if (left) rig.machine.registry.CloseKey(key);
        return left || rig.machine.registry.SaveRegText().find("zzQTM") != std::string::npos;
    }
    bool InstallerFilesLeft()
    {
        return rig.cd.Exists("windows/system/msiexec.exe") ||
               rig.cd.Exists("windows/system/msi.dll");
    }

    CSkinRig rig;
};

TEST_F(ExitActionsTest, CloseRemovesTheResumeStateUnlessTheSequencerKeepsIt)
{
    rig.state->keepResumeState = 1;
    rig.dialog->OnClose();
    EXPECT_TRUE(ResumeStateLeft());
    rig.state->keepResumeState = 0;
    rig.dialog->OnClose();
    EXPECT_FALSE(ResumeStateLeft());
    EXPECT_NE(std::string::npos, rig.machine.registry.SaveRegText().find("keep.exe"))
        << "other Run values stay";
    EXPECT_GT(rig.machine.registry.FlushCount(), 0);
    EXPECT_TRUE(InstallerFilesLeft()) << "only 98 SE loses the Installer files on close";
}

TEST_F(ExitActionsTest, CloseOn98SeRemovesTheInstallerFiles)
{
    rig.state->hw.osCode = OS_WIN98SE;
    rig.dialog->OnClose();
    EXPECT_FALSE(InstallerFilesLeft());
}

TEST_F(ExitActionsTest, StartUpCleansOnlyWhenTheOlderKeyExists)
{
    CExitActions(*rig.platform, *rig.state, rig.end).CleanLegacyState();
    EXPECT_TRUE(InstallerFilesLeft());

    FixedText<256> error;
    ASSERT_TRUE(rig.machine.registry.LoadRegText(
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\zov]\n\"item\"=hex:03\n", &error));
    // A read-only file is made deletable first.
    rig.machine.files.SetFileAttributes("C:\\windows\\system\\msi.dll", 0x01);
    CExitActions(*rig.platform, *rig.state, rig.end).CleanLegacyState();
    EXPECT_FALSE(InstallerFilesLeft());
    RegKey key = 0;
    EXPECT_FALSE(rig.machine.registry.OpenKey(REG_HKEY_CURRENT_USER, EXIT_LEGACY_KEY, &key));
    EXPECT_TRUE(ResumeStateLeft()) << "the resume state is not the clean-up's";
}

TEST_F(ExitActionsTest, ExitEndsAtOnceWithoutTheCloseHandler)
{
    rig.state->hw.osCode = OS_WIN98SE;
    rig.state->keepResumeState = 1;
    CExitActions(*rig.platform, *rig.state, rig.end).ExitAndForget();
    EXPECT_FALSE(ResumeStateLeft()) << "Exit forgets the run whatever the sequencer kept";
    EXPECT_TRUE(InstallerFilesLeft());
    EXPECT_TRUE(rig.machine.processes.Exited());
    EXPECT_EQ(0u, rig.machine.processes.ExitCode());
    EXPECT_TRUE(rig.dialog->ProgramEnded());
}

TEST_F(ExitActionsTest, WebButtonOpensTheCdsAddressAndHidesTheScrollBar)
{
    rig.machine.window.ShowControl(CONTROL_TOOL_SCROLL_BAR, true);
    CExitActions(*rig.platform, *rig.state, rig.end).OpenMakerWebSite();
    EXPECT_EQ("launch\tShellExecute\t5\thttp://maker.example/drivers\tE:\\",
              rig.machine.events.Lines().back());
    EXPECT_FALSE(rig.machine.window.Control(CONTROL_TOOL_SCROLL_BAR)->visible);
    EXPECT_FALSE(rig.machine.processes.Exited());

    rig.state->panelTable.panels[0].items[PANEL_ITEM_WEB].command.Clear();
    EXPECT_STREQ(EXIT_DEFAULT_WEB_SITE,
                 CExitActions(*rig.platform, *rig.state, rig.end).MakerWebSite());
}

}  // namespace
