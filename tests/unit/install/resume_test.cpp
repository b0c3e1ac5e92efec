// Carrying a run across restarts: the stored row states and what a new start makes of them,
// the resume notice and its countdown, the resume wait and its question.
#include <gtest/gtest.h>

#include <string>

#include "ui/notice_dialog.h"
#include "unit/install/engine_rig.h"

namespace {

class ResumeTest : public ::testing::Test {
protected:
    // Four packages whose setups write their logs.
    void Four()
    {
        rig.Package("A", "Pkg\\A");
        rig.Package("B", "Pkg\\B");
        rig.Package("C", "Pkg\\C");
        rig.Package("D", "Pkg\\D");
        rig.Load();
        rig.PackagesWriteTheirLog();
    }
    std::vector<std::string> Started()
    {
        std::vector<std::string> folders;
        for (const std::string& line : rig.launches) {
            folders.push_back(line.substr(0, line.find("\\setup.exe")));
        }
        return folders;
    }

    CEngineRig rig;
};

TEST_F(ResumeTest, FinishedRowsAreSkippedAndTheRestInstalledInOrder)
{
    Four();
    rig.StoreResume("\"inst_0\"=hex:00\n\"inst_1\"=hex:01\n\"inst_2\"=hex:02\n\"inst_3\"=hex:02\n");
    CResumeState(*rig.platform, *rig.state).RestoreResumeSelection();
    EXPECT_EQ(0, rig.Item(0, 10).checked);
    EXPECT_EQ(1, rig.machine.window.GetCheck(200));
    EXPECT_FALSE(rig.machine.window.IsControlEnabled(200));
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    EXPECT_FALSE(rig.Logged(std::string("messagebox\tMsg\t") + SEQUENCER_RESTART_WARNING));
    rig.Run();
    EXPECT_EQ((std::vector<std::string>{"e:\\pkg\\b", "e:\\pkg\\c", "e:\\pkg\\d"}), Started());
}

TEST_F(ResumeTest, OnlyTheLastStartedRowIsTriedAgain)
{
    Four();
    rig.StoreResume("\"inst_0\"=hex:01\n\"inst_1\"=hex:01\n\"inst_2\"=hex:00\n");
    CResumeState(*rig.platform, *rig.state).RestoreResumeSelection();
    EXPECT_EQ(0, rig.Item(0, 10).checked);
    EXPECT_EQ(1, rig.Item(0, 11).checked);
    EXPECT_EQ(0, rig.Item(0, 12).checked);
    EXPECT_EQ(0, rig.Item(0, 13).checked) << "no value: not chosen";
    EXPECT_EQ(0, rig.machine.window.GetCheck(203));
}

TEST_F(ResumeTest, AFirstRowStartedAloneIsNotRepeated)
{
    Four();
    rig.StoreResume("\"inst_0\"=hex:01\n\"inst_1\"=hex:00\n\"inst_2\"=hex:00\n\"inst_3\"=hex:00\n");
    CResumeState(*rig.platform, *rig.state).RestoreResumeSelection();
    CSequencer(*rig.platform, *rig.state, rig.end).StartSequence();
    rig.Run();
    EXPECT_TRUE(rig.launches.empty());
    EXPECT_TRUE(rig.Logged(std::string("messagebox\tMsg\t") + SEQUENCER_FINISHED_TEXT));
}

TEST_F(ResumeTest, AStoredRunIsNotWrittenAgain)
{
    Four();
    rig.StoreResume("\"inst_3\"=hex:02\n");
    bool restart = true;
    EXPECT_FALSE(CResumeState(*rig.platform, *rig.state).WriteResumeList(&restart));
    EXPECT_EQ(-1, rig.RowState(0));
    EXPECT_TRUE(rig.HasRunValue()) << "the Run value is written in any case";
}

TEST_F(ResumeTest, TheListHoldsTheChosenRowsThatAreNotInstalled)
{
    Four();
    rig.StoredVersion("B", "1.0");
    rig.Item(0, 12).checked = 0;
    bool restart = true;
    EXPECT_TRUE(CResumeState(*rig.platform, *rig.state).WriteResumeList(&restart));
    EXPECT_FALSE(restart);
    EXPECT_EQ(2, rig.RowState(0));
    EXPECT_EQ(-1, rig.RowState(1)) << "installed and so unticked";
    EXPECT_EQ(-1, rig.RowState(2));
    EXPECT_EQ(2, rig.RowState(3));
    EXPECT_NE(std::string::npos, rig.machine.registry.SaveRegText().find(
                                     "\"zzQTM\"=\"E:\\\\tova.exe\""));
}

TEST_F(ResumeTest, TheNoticeAcceptedByItselfTakesTheRunUp)
{
    Four();
    rig.StoreResume("\"inst_0\"=hex:00\n\"inst_1\"=hex:02\n\"item\"=hex:04\n");
    rig.dialog->host = &rig.machine.appHost;
    EXPECT_TRUE(CResumeFlow(*rig.platform, *rig.state, rig.end, rig.dialog->host).ResumeAtStart());
    EXPECT_TRUE(rig.Logged("dialog\t162\tshown"));
    EXPECT_TRUE(rig.Logged("dialog\t162\tended\tok"));
    EXPECT_EQ(1, rig.Item(0, 7).hidden) << "Rapid Setup mode";
    EXPECT_EQ(0, rig.state->uiMode);
    EXPECT_TRUE(rig.machine.clock.IsArmed(TIMER_STEP));
    rig.Run();
    EXPECT_EQ((std::vector<std::string>{"e:\\pkg\\b"}), Started());
}

TEST_F(ResumeTest, DecliningTheNoticeForgetsTheRun)
{
    Four();
    rig.StoreResume("\"inst_0\"=hex:02\n\"item\"=hex:04\n");
    FixedText<256> error;
    rig.machine.registry.LoadRegText(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
        "\"zzQTM\"=\"E:\\\\tova.exe\"\n",
        &error);
    // Escape in the notice.
    struct CEscape : public CSimModalLoop {
        void RunDialog(uint32_t, CDialogHandler&) override {}
        void RunNestedDialog(uint32_t, CDialogHandler& handler, CSimNestedDialog&) override
        {
            handler.OnCommand(DIALOG_COMMAND_CANCEL);
        }
    } escape;
    rig.machine.appHost.SetModalLoop(&escape);
    rig.dialog->host = &rig.machine.appHost;
    EXPECT_FALSE(CResumeFlow(*rig.platform, *rig.state, rig.end, rig.dialog->host).ResumeAtStart());
    EXPECT_TRUE(rig.Logged("dialog\t162\tended\tcancel"));
    EXPECT_FALSE(rig.HasResumeKey());
    EXPECT_FALSE(rig.HasRunValue());
    EXPECT_TRUE(rig.machine.processes.Exited());
    rig.machine.appHost.SetModalLoop(nullptr);
}

TEST_F(ResumeTest, TheResumeWaitAsksAndCancelForgetsTheRun)
{
    Four();
    rig.StoreResume("\"inst_0\"=hex:02\n");
    rig.dialog->OnCommand(DIALOG_COMMAND_OK);
    rig.machine.window.QueueMessageBoxAnswer(2);  // Cancel to the question
    for (int tick = 2; tick < RESUME_WAIT_TICKS; ++tick) rig.dialog->OnTimer(TIMER_RESUME_WAIT);
    EXPECT_TRUE(rig.Logged(CEngineRig::Box("Driver CD install", RESUME_QUESTION_TEXT)));
    EXPECT_FALSE(rig.HasResumeKey());
    EXPECT_TRUE(rig.machine.processes.Exited());
}

TEST_F(ResumeTest, TheResumeWaitAnsweredOkTakesTheRunUp)
{
    Four();
    rig.StoreResume("\"inst_2\"=hex:02\n");
    rig.dialog->OnCommand(DIALOG_COMMAND_OK);
    rig.machine.window.ClearDrawOps();
    for (int tick = 2; tick < RESUME_WAIT_TICKS; ++tick) rig.dialog->OnTimer(TIMER_RESUME_WAIT);
    EXPECT_EQ("draw\tbitmap\t#156\t#156\t3\t434", rig.machine.window.DrawOps()[0].line);
    EXPECT_EQ(0, rig.state->uiMode) << "the run started";
    EXPECT_EQ(1, rig.Item(0, 5).hidden) << "no Exit button during the run";
    rig.Run();
    EXPECT_EQ((std::vector<std::string>{"e:\\pkg\\c"}), Started());
    EXPECT_EQ(0, rig.Item(0, 5).hidden) << "the finish brings it back";
}

TEST_F(ResumeTest, AListCutOffBeforeItsEndIsNoRunToTakeUp)
{
    Four();
    rig.StoreResume("\"inst_0\"=hex:02\n");
    rig.dialog->host = &rig.machine.appHost;
    EXPECT_TRUE(CResumeFlow(*rig.platform, *rig.state, rig.end, rig.dialog->host).ResumeAtStart());
    EXPECT_FALSE(rig.Logged("dialog\t162\tshown"));
    EXPECT_FALSE(rig.HasResumeKey());
    EXPECT_EQ(UI_MODE_IDLE, rig.state->uiMode);
    EXPECT_EQ(0, rig.state->resumePending);
}

TEST(NoticeDialog, CountsDownFourToZeroThenAccepts)
{
    for (uint8_t osCode : {OS_WINXP, OS_WIN98SE}) {
        CEngineRig rig(osCode);
        rig.Load();
        CNoticeDlg notice;
        notice.faceOsCode = osCode;
        rig.machine.window.ClearDrawOps();
        rig.dialog->host = &rig.machine.appHost;
        EXPECT_EQ(1, rig.machine.appHost.RunModalDialog(DIALOG_TEMPLATE_NOTICE, NOTICE_FONT_FACE,
                                                        NOTICE_FONT_POINTS, &notice));
        EXPECT_EQ(1, notice.proceed);
        std::string face = osCode == OS_WINXP ? "ECE9D8" : "C0C0C0";
        std::vector<std::string> texts;
        for (const CSimDrawOp& op : rig.machine.window.DrawOps()) texts.push_back(op.line);
        ASSERT_EQ(5u, texts.size());
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ("draw\ttext\t330\t45\tFF0000\t" + face + "\topaque\t" + std::to_string(4 - i),
                      texts[static_cast<size_t>(i)]);
        }
        EXPECT_EQ(6000u, rig.machine.clock.Now()) << "six seconds after it opened";
        EXPECT_EQ(0u, rig.machine.clock.ArmedCount()) << "its timer is gone";
    }
}

TEST(NoticeDialog, EnterAcceptsEscapeAndTheCloseBoxDecline)
{
    struct CKeys : public CSimModalLoop {
        int action = 0;
        void RunDialog(uint32_t, CDialogHandler&) override {}
        void RunNestedDialog(uint32_t, CDialogHandler& handler, CSimNestedDialog&) override
        {
            if (action == 0) handler.OnCommand(DIALOG_COMMAND_OK);
            if (action == 1) handler.OnCommand(DIALOG_COMMAND_CANCEL);
            if (action == 2) handler.OnClose();
        }
    };
    for (int action = 0; action < 3; ++action) {
        CEngineRig rig;
        CKeys keys;
        keys.action = action;
        rig.machine.appHost.SetModalLoop(&keys);
            CNoticeDlg notice;
        rig.machine.appHost.RunModalDialog(DIALOG_TEMPLATE_NOTICE, NOTICE_FONT_FACE,
                                           NOTICE_FONT_POINTS, &notice);
        EXPECT_EQ(action == 0 ? 1 : 0, notice.proceed) << action;
        EXPECT_EQ(0u, rig.machine.clock.Now()) << "at once";
        EXPECT_EQ(0u, rig.machine.clock.ArmedCount());
        rig.machine.appHost.SetModalLoop(nullptr);
    }
}

}  // namespace
