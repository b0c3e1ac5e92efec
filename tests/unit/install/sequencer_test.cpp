// Installation runs on the simulated PC: which packages start, how, in which folder, what the
// resume key says after each, which packages end the program or restart Windows, and what a
// run that cannot go on leaves behind.
#include <gtest/gtest.h>

#include <string>

#include "install/invocation.h"
#include "unit/install/engine_rig.h"

namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    for (const std::string& l : lines) {
        if (l == line) return true;
    }
    return false;
}

TEST(Sequencer, ARunInstallsTheChosenRowsAndFinishes)
{
    CEngineRig rig;
    rig.Package("Audio", "Audio\\Realtek");
    rig.Package("Network", "LAN\\Broadcom");
    rig.Package("Storage", "Storage\\Sil");
    rig.Load();
    rig.PackagesWriteTheirLog();
    rig.Click(0, 7);
    rig.Click(0, 11);  // untick Network
    rig.Click(0, 8);   // start
    EXPECT_EQ(0, rig.state->uiMode);
    EXPECT_TRUE(rig.HasRunValue());
    EXPECT_EQ(2, rig.RowState(0));
    EXPECT_EQ(-1, rig.RowState(1)) << "an unticked row is not in the run";
    rig.Run();
    // The Realtek audio package is waited for; the other is started and polled.
    EXPECT_TRUE(rig.Logged("launch\tCreateProcess\t1\te:\\audio\\realtek\\setup.exe -s "
                           "-f2\"c:\\zov.log\"\tE:\\Audio\\Realtek"));
    EXPECT_TRUE(rig.Logged("launch\tWinExec\t10\te:\\storage\\sil\\setup.exe -s "
                           "-f2\"c:\\zov.log\"\tE:\\Storage\\Sil"));
    EXPECT_EQ(2u, rig.launches.size());
    EXPECT_TRUE(rig.Logged(std::string("messagebox\tMsg\t") + SEQUENCER_FINISHED_TEXT));
    EXPECT_FALSE(rig.HasResumeKey());
    EXPECT_FALSE(rig.HasRunValue());
    EXPECT_EQ(UI_MODE_IDLE, rig.state->uiMode);
    EXPECT_TRUE(rig.closed) << "the dialog closes as the message shows";
    EXPECT_EQ(1, rig.Item(0, 10).state);
    EXPECT_EQ(0, rig.Item(0, 11).state);
    EXPECT_FALSE(rig.cd.Exists("zov.log"));
}

TEST(Sequencer, AnEmptyListFinishesAtTheFirstTick)
{
    CEngineRig rig;
    rig.Load();
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.Run(20);
    EXPECT_TRUE(rig.Logged(std::string("messagebox\tMsg\t") + SEQUENCER_FINISHED_TEXT));
    EXPECT_EQ(1, rig.machine.window.CloseRequests());
    EXPECT_FALSE(rig.HasResumeKey());
}

TEST(Sequencer, OnlyUncheckedRowsFinishAfterOneTickEachAndOneMore)
{
    CEngineRig rig;
    rig.Package("A", "A");
    rig.Package("B", "B");
    rig.Package("C", "C");
    rig.Load();
    for (int k = 10; k < 13; ++k) rig.Item(0, k).checked = 0;
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    CSequencer sequencer(*rig.platform, *rig.state, rig.end);
    for (int tick = 0; tick < 3; ++tick) {
        sequencer.StepTick();
        EXPECT_FALSE(rig.Logged(std::string("messagebox\tMsg\t") + SEQUENCER_FINISHED_TEXT));
    }
    sequencer.StepTick();
    EXPECT_TRUE(rig.Logged(std::string("messagebox\tMsg\t") + SEQUENCER_FINISHED_TEXT));
    EXPECT_TRUE(rig.launches.empty());
}

TEST(Sequencer, AnInfUpdateWarnsOfTheRestartAndEndsTheProgramOnXp)
{
    CEngineRig rig;
    rig.Package("Chipset", "Chipset\\INFUPDATE");
    rig.Package("Audio", "Audio\\Realtek");
    rig.Load();
    rig.PackagesWriteTheirLog();
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    EXPECT_TRUE(rig.Logged(CEngineRig::Box("Msg", SEQUENCER_RESTART_WARNING)));
    rig.Run();
    EXPECT_TRUE(rig.Logged("launch\tCreateProcess\t1\te:\\chipset\\infupdate\\setup.exe -a -s -b "
                           "-f2\"c:\\zov.log\"\tE:\\Chipset\\INFUPDATE"));
    EXPECT_TRUE(rig.machine.processes.Exited());
    EXPECT_EQ(0, rig.RowState(0));
    EXPECT_EQ(2, rig.RowState(1)) << "the next start goes on with it";
    EXPECT_TRUE(rig.HasRunValue());
}

TEST(Sequencer, AnInfUpdateRestartsWindows98Se)
{
    CEngineRig rig(OS_WIN98SE, 0);
    rig.Package("Chipset", "Chipset\\INFUPDATE");
    rig.Load();
    rig.PackagesWriteTheirLog();
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.Run();
    EXPECT_TRUE(Has(rig.launches, "e:\\chipset\\infupdate\\setup.exe -a -s -f2\"c:\\zov.log\""));
    EXPECT_TRUE(rig.Logged("restart\t2"));
    EXPECT_TRUE(rig.machine.processes.Exited());
    EXPECT_EQ(0, rig.RowState(0));
}

TEST(Sequencer, RunAndExitPackagesEndTheProgramAndKeepTheRun)
{
    struct {
        const char* folder;
        uint8_t osCode;
        bool posted;
    } cases[] = {
        {"Chipset\\CLE266\\9XME", OS_WIN98SE, true},
        {"Chipset\\SYS_DRV\\WINXP", OS_WINXP, true},
        {"Chipset\\NVGA\\WIN2K", OS_WIN2000, true},
        {"Other\\4IN1", OS_WINXP, true},
        {"VGA\\SIS\\SIS650\\VGA\\WIN2K_XP", OS_WINXP, true},
        {"VGA\\SIS\\SIS650\\VGA\\WIN9X", OS_WINME, true},
    };
    for (const auto& c : cases) {
        CEngineRig rig(c.osCode, 0);
        rig.Package("Video", c.folder);
        rig.Package("Audio", "Audio\\Realtek");
        rig.Load();
        rig.PackagesWriteTheirLog();
        CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
        rig.Run();
        EXPECT_EQ(1u, rig.launches.size()) << c.folder;
        EXPECT_EQ(0, rig.RowState(0)) << c.folder;
        EXPECT_EQ(2, rig.RowState(1)) << c.folder;
        EXPECT_TRUE(rig.HasRunValue()) << c.folder << ": the close keeps the run";
        EXPECT_TRUE(rig.machine.processes.Exited() || rig.closed) << c.folder;
    }
}

TEST(Sequencer, TwoRaidRowsOn98SeInstallEachAloneWithItsResponseFile)
{
    CEngineRig rig(OS_WIN98SE, 0);
    rig.Package("SiI RAID", "Other\\SiI\\SI3112");
    rig.Package("Promise RAID", "Other\\Promise\\WIN98");
    rig.Load();
    rig.PackagesWriteTheirLog();
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.Run();
    EXPECT_EQ(2, rig.state->raidRowCount);
    ASSERT_EQ(2u, rig.launches.size());
    EXPECT_EQ("patch98.exe", rig.launches[0]);
    EXPECT_EQ("e:\\other\\sii\\si3112\\setup.exe -s -f1\"e:\\other\\sii\\si3112\\setup1.iss\" "
              "-f2\"c:\\zov.log\"",
              rig.launches[1]);
    EXPECT_FALSE(rig.cd.Exists("geo.log"));
    EXPECT_TRUE(rig.machine.processes.Exited());
    EXPECT_EQ(0, rig.RowState(0));
    EXPECT_EQ(2, rig.RowState(1));
}

TEST(Sequencer, TheAmrModemRestartsFirstAndInstallsAfterTheRestart)
{
    CEngineRig rig(OS_WIN98SE, 0);
    rig.Package("AMR Modem", "Network\\AMR");
    rig.Load();
    rig.PackagesWriteTheirLog();
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.Run();
    EXPECT_TRUE(rig.launches.empty()) << "the installer waits for the restart";
    EXPECT_TRUE(rig.Logged("restart\t2"));
    EXPECT_EQ(1, rig.RowState(0));
    RegKey marker = 0;
    ASSERT_TRUE(rig.machine.registry.OpenKey(REG_HKEY_CURRENT_USER, "Software\\AMR", &marker));
    rig.machine.registry.CloseKey(marker);
}

TEST(Sequencer, AUsb2RowOnXpWithoutAServicePackStaysStarted)
{
    CEngineRig rig(OS_WINXP, 0);
    rig.Package("USB 2.0", "Chipset\\USB20\\2KXP");
    rig.Package("Audio", "Audio\\Realtek");
    rig.Load();
    rig.PackagesWriteTheirLog();
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    CSequencer sequencer(*rig.platform, *rig.state, rig.end);
    sequencer.StepTick();
    EXPECT_EQ(1, rig.RowState(0));
    EXPECT_TRUE(rig.machine.clock.IsArmed(TIMER_LOG_POLL));
    sequencer.LogPollTick();
    EXPECT_EQ(1, rig.RowState(0)) << "left started after its log";
    EXPECT_EQ(1, rig.state->uiMode) << "and the run goes on";
}

TEST(Sequencer, AStaleLogNeverCompletesTheNextPackage)
{
    CEngineRig rig;
    rig.Package("Storage", "Storage\\Sil");
    rig.Load();
    rig.cd.Write("zov.log", "old");
    bool staleAtLaunch = true;
    rig.machine.processes.SetLaunchHook(
        [&](const CSimLaunch&) { staleAtLaunch = rig.cd.Exists("zov.log"); });
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.Run(10000);
    EXPECT_FALSE(staleAtLaunch) << "the old log went before the package started";
    EXPECT_TRUE(rig.machine.clock.IsArmed(TIMER_LOG_POLL)) << "its own log is still awaited";
    EXPECT_EQ(0, rig.state->uiMode);
    EXPECT_EQ(0, rig.Item(0, 10).state);
}

TEST(Sequencer, ASetupThatCannotBeCreatedStopsTheRunWhereItIs)
{
    CEngineRig rig;
    rig.Package("Audio", "Audio\\Realtek");
    rig.Package("Storage", "Storage\\Sil");
    rig.Load();
    rig.machine.processes.QueueScript({true, 0, 0});
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.Run();
    EXPECT_EQ(0, rig.state->uiMode);
    EXPECT_EQ(0u, rig.machine.clock.ArmedCount());
    EXPECT_EQ(1, rig.RowState(0));
    EXPECT_TRUE(rig.Logged("launch\tCreateProcess\t1\te:\\audio\\realtek\\setup.exe -s "
                           "-f2\"c:\\zov.log\"\tE:\\Audio\\Realtek\tfailed"));
    rig.dialog->OnClose();
    EXPECT_FALSE(rig.HasResumeKey()) << "closing the window forgets the run";
}

TEST(Sequencer, AWaitedPackageThatNeverWritesItsLogGivesTheWindowBack)
{
    CEngineRig rig;
    rig.Package("Audio", "Audio\\Realtek");
    rig.Load();
    rig.PackagesWriteTheirLog(false);
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    uint64_t before = rig.machine.clock.Now();
    rig.Run();
    EXPECT_GE(rig.machine.clock.Now() - before, RESULT_LOG_WAIT_LIMIT_MS);
    EXPECT_TRUE(rig.Logged(CEngineRig::Box("Msg", SEQUENCER_NO_RESULT_TEXT)));
    EXPECT_EQ(1, rig.state->keepResumeState);
    rig.dialog->OnClose();
    EXPECT_TRUE(rig.HasResumeKey()) << "the next start tries the row again";
    EXPECT_EQ(1, rig.RowState(0));
}

TEST(Sequencer, TheProgressMarkerMovesWhileAPackageRuns)
{
    CEngineRig rig;
    rig.Package("Audio", "Audio\\Realtek");
    rig.Load();
    rig.PackagesWriteTheirLog();
    rig.machine.processes.QueueScript({false, 0, 3500});
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.machine.window.ClearDrawOps();
    CSequencer(*rig.platform, *rig.state, rig.end).StepTick();
    std::vector<std::string> markers;
    for (const CSimDrawOp& op : rig.machine.window.DrawOps()) {
        if (op.line.find("#15") != std::string::npos) markers.push_back(op.line);
    }
    ASSERT_EQ(5u, markers.size());
    EXPECT_EQ("draw\tbitmap\t#156\t#156\t0\t415", markers[0]);
    EXPECT_EQ("draw\tbitmap\t#156\t#156\t15\t415", markers[3]);
    EXPECT_EQ("draw\tbitmap\t#157\t#157\t0\t415", markers[4]);
}

TEST(Sequencer, TheOkCommandStartsTheResumeWait)
{
    CEngineRig rig;
    rig.Package("Audio", "Audio\\Realtek");
    rig.Load();
    EXPECT_TRUE(rig.dialog->OnCommand(DIALOG_COMMAND_OK));
    EXPECT_TRUE(rig.Logged("messagebox\twait\tPlease wait......."));
    EXPECT_EQ(100, rig.state->uiMode);
    EXPECT_EQ(2, rig.state->resumePending);
    EXPECT_EQ(120u, rig.machine.clock.Period(TIMER_RESUME_WAIT));
    rig.dialog->OnMouseMove(40, 430);
    EXPECT_EQ(0, rig.LoggedStartingWith("draw")) << "the mouse is ignored";
}

}  // namespace
