// The mouse on the skinned window: hover and press looks, what a click does on every kind of
// item, the tab effects, the scrolling utility list and Rapid Setup selection, read from the
// simulated window and event log.
#include <gtest/gtest.h>

#include <string>

#include "install/raid_patch.h"
#include "state/timers.h"
#include "ui/dialog_handlers.h"
#include "ui/rapid_setup.h"
#include "ui/tool_scroll.h"
#include "unit/ui/ui_rig.h"

namespace {

// Tab 1 of the rig: left 80, top 420, right 130, bottom 450.
const int TAB1_LEFT = 80;
const int TAB1_TOP = 420;
const int TAB1_RIGHT = 130;
const int TAB1_BOTTOM = 450;

TEST(Interaction, APointOnAnItemsEdgeIsNotOverIt)
{
    CUiRig rig;
    rig.Load();
    const int midX = (TAB1_LEFT + TAB1_RIGHT) / 2;
    const int midY = (TAB1_TOP + TAB1_BOTTOM) / 2;
    const int edges[4][2] = {
        {TAB1_LEFT, midY}, {TAB1_RIGHT, midY}, {midX, TAB1_TOP}, {midX, TAB1_BOTTOM}};
    for (const auto& edge : edges) {
        rig.dialog->OnMouseMove(edge[0], edge[1]);
        EXPECT_EQ(0, rig.Item(0, 1).hover) << edge[0] << "," << edge[1];
        // A release on the edge is outside: no switch.
        rig.dialog->OnLButtonDown(midX, midY);
        rig.dialog->OnLButtonUp(edge[0], edge[1]);
        EXPECT_EQ(0, rig.Shown());
        EXPECT_EQ(0, rig.Item(0, 1).state);
    }
    EXPECT_EQ(0, rig.LoggedStartingWith("cursor\t"));
    rig.dialog->OnMouseMove(TAB1_LEFT + 1, TAB1_TOP + 1);
    EXPECT_EQ(1, rig.Item(0, 1).hover);
}

TEST(Interaction, HoverLightsAButtonAndLeavingRestoresIt)
{
    CUiRig rig;
    rig.Load();
    rig.dialog->OnMouseMove(100, 430);
    ASSERT_EQ(1u, rig.machine.window.DrawOps().size());
    EXPECT_EQ("draw\tbitmap\tE:\\c1O.bmp\t\t80\t420", rig.machine.window.DrawOps()[0].line);
    EXPECT_TRUE(rig.Logged("cursor\thand"));
    rig.dialog->OnMouseMove(5, 5);
    EXPECT_EQ(0, rig.Item(0, 1).hover);
    EXPECT_EQ("draw\tbitmap\tE:\\c1N.bmp\t\t80\t420", rig.machine.window.DrawOps().back().line);
    // The shown panel's own tab is not lit.
    rig.machine.window.ClearDrawOps();
    rig.machine.events.Clear();
    rig.dialog->OnMouseMove(40, 430);
    EXPECT_EQ(0, rig.Item(0, 0).hover);
    EXPECT_TRUE(rig.machine.window.DrawOps().empty());
    EXPECT_FALSE(rig.Logged("cursor\thand"));
}

TEST(Interaction, HoverOnRowsByTheirKind)
{
    CUiRig rig;
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    rig.Entry("Network", "LAN\\", "setup.exe", "1.0");
    rig.StoredVersion("Network", "1.0");
    rig.Load();
    const PanelItem& audio = rig.Item(0, 10);
    rig.dialog->OnMouseMove(300, audio.top + 5);
    std::string olive = "\t808000\t000000\topaque\t";
    EXPECT_EQ("draw\ttext\t245\t" + std::to_string(audio.top) + olive + "Audio",
              rig.machine.window.DrawOps()[2].line);
    EXPECT_EQ("draw\ttext\t540\t" + std::to_string(audio.top) + olive + "not installed",
              rig.machine.window.DrawOps().back().line);
    // An installed row keeps its look.
    rig.machine.window.ClearDrawOps();
    rig.dialog->OnMouseMove(300, rig.Item(0, 11).top + 5);
    EXPECT_EQ(0, rig.Item(0, 11).hover);
    // A utility row lights only inside the list's window.
    rig.Click(0, 1);
    rig.machine.window.ClearDrawOps();
    rig.dialog->OnMouseMove(215, 95);
    EXPECT_EQ("draw\ttext\t210\t90" + olive + "Tool 0", rig.machine.window.DrawOps().back().line);
    rig.machine.window.ClearDrawOps();
    rig.dialog->OnMouseMove(215, 415);  // row 16, top 410: below the window
    EXPECT_EQ(1, rig.Item(1, 23).hover);
    ASSERT_EQ(1u, rig.machine.window.DrawOps().size()) << "only row 0 goes back to white";
    EXPECT_EQ("draw\ttext\t210\t90\tFFFFFF\t000000\topaque\tTool 0",
              rig.machine.window.DrawOps()[0].line);
}

TEST(Interaction, Nt4NeverShowsTheHandAndRowsShowCaptionsOnly)
{
    CUiRig rig(20, OS_NT4);
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    rig.Load();
    rig.dialog->OnMouseMove(100, 430);
    rig.dialog->OnMouseMove(300, rig.Item(0, 10).top + 5);
    rig.dialog->OnLButtonDown(300, rig.Item(0, 10).top + 5);
    EXPECT_EQ(0, rig.LoggedStartingWith("cursor\t"));
    for (const CSimDrawOp& op : rig.machine.window.DrawOps()) {
        EXPECT_EQ(std::string::npos, op.line.find("---->")) << op.line;
        EXPECT_EQ(std::string::npos, op.line.find("installed")) << op.line;
    }
}

TEST(Interaction, PressOnOneItemAndReleaseOnAnotherDoesNothing)
{
    CUiRig rig;
    rig.Load();
    rig.dialog->OnLButtonDown(100, 430);
    EXPECT_EQ(1, rig.Item(0, 1).state);
    EXPECT_EQ(1, rig.state->panelTable.panels[0].pressedItem);
    EXPECT_TRUE(rig.machine.window.Captured());
    EXPECT_EQ("draw\tbitmap\tE:\\c1D.bmp\t\t80\t420", rig.machine.window.DrawOps().back().line);
    rig.dialog->OnLButtonUp(160, 430);  // over tab 2
    EXPECT_EQ(0, rig.Shown());
    EXPECT_EQ(0, rig.Item(0, 1).state);
    EXPECT_EQ(0, rig.Item(0, 2).state);
    EXPECT_EQ(PANEL_NONE, rig.state->panelTable.panels[0].pressedItem);
    EXPECT_EQ(PANEL_NONE, rig.state->savedPressState);
    EXPECT_FALSE(rig.machine.window.Captured());
}

TEST(Interaction, PressOnTheBackgroundThenReleaseOnAnItemDoesNothing)
{
    CUiRig rig;
    rig.Load();
    rig.dialog->OnLButtonDown(5, 5);
    EXPECT_FALSE(rig.Logged("capture\tset"));
    rig.dialog->OnLButtonUp(100, 430);
    EXPECT_EQ(0, rig.Shown());
    EXPECT_EQ(0, rig.Item(0, 1).state);
}

TEST(Interaction, ReleaseOutsideGivesBackTheStateBeforeThePress)
{
    CUiRig rig;
    rig.Entry("Network", "LAN\\", "setup.exe", "1.0");
    rig.StoredVersion("Network", "1.0");
    rig.Load();
    int top = rig.Item(0, 10).top;
    rig.dialog->OnLButtonDown(300, top + 5);
    EXPECT_EQ(1, rig.state->savedPressState);
    rig.machine.window.ClearDrawOps();
    rig.dialog->OnLButtonUp(5, 5);
    EXPECT_EQ(1, rig.Item(0, 10).state) << "still installed";
    EXPECT_NE(std::string::npos, rig.machine.window.DrawOps().back().line.find("FFFF00"));
    // The shown tab pressed and let go elsewhere keeps its selected look.
    rig.dialog->OnLButtonDown(40, 430);
    rig.machine.window.ClearDrawOps();
    rig.dialog->OnLButtonUp(5, 5);
    EXPECT_EQ(1, rig.Item(0, 0).state);
    EXPECT_EQ("draw\tbitmap\tE:\\c0D.bmp\t\t20\t420", rig.machine.window.DrawOps().back().line);
}

TEST(Interaction, TabsSwitchPanelsWithTheirEffects)
{
    CUiRig rig;
    rig.Load();
    CSimWindow& window = rig.machine.window;
    rig.Click(0, 1);
    EXPECT_EQ(1, rig.Shown());
    EXPECT_EQ(1, rig.Item(1, 1).state);
    EXPECT_EQ(1, rig.Item(0, 0).state) << "the panel left keeps its own tab's state";
    EXPECT_TRUE(window.Control(CONTROL_TOOL_SCROLL_BAR)->visible) << "20 rows scroll";
    EXPECT_GT(window.Invalidations(), 0);
    rig.Click(1, 2);
    EXPECT_EQ(2, rig.Shown());
    const CSimControl* readme = window.Control(CONTROL_README_BOX);
    EXPECT_TRUE(readme->visible);
    EXPECT_EQ(220, readme->rect.left);
    EXPECT_EQ(100, readme->rect.top);
    EXPECT_EQ(600, readme->rect.right);
    EXPECT_EQ(395, readme->rect.bottom);
    EXPECT_FALSE(window.Control(CONTROL_TOOL_SCROLL_BAR)->visible);
    rig.Click(2, 3);
    EXPECT_FALSE(window.Control(CONTROL_README_BOX)->visible);
    EXPECT_TRUE(window.Control(CONTROL_SYSINFO_BOX)->visible);
    rig.Click(3, 4);
    EXPECT_FALSE(window.Control(CONTROL_SYSINFO_BOX)->visible);
    EXPECT_EQ(4, rig.Shown());

    CUiRig few(16);
    few.Load();
    few.Click(0, 1);
    EXPECT_FALSE(few.machine.window.Control(CONTROL_TOOL_SCROLL_BAR)->visible)
        << "16 rows fit: no scroll bar";
}

TEST(Interaction, ExitAndWebButtons)
{
    CUiRig rig;
    rig.Load();
    rig.Click(0, 6);
    EXPECT_TRUE(rig.Logged("launch\tShellExecute\t5\thttp://maker.example/\tE:\\"));
    EXPECT_FALSE(rig.machine.processes.Exited());
    rig.Click(0, 5);
    EXPECT_TRUE(rig.machine.processes.Exited());
    EXPECT_TRUE(rig.Logged("exit\t0"));
}

TEST(Interaction, AToolRowStartsItsProgramFromItsFolder)
{
    CUiRig rig;
    rig.cd.MakeDir("cd/Utility/T2");
    rig.Load();
    rig.Click(0, 1);
    rig.Click(1, 9);  // row 2
    EXPECT_TRUE(rig.Logged("launch\tWinExec\t10\tE:\\Utility\\T2\\t2.exe\tE:\\Utility\\T2"));
    EXPECT_EQ(0, rig.Item(1, 9).state);
}

TEST(Interaction, RapidSetupOnAndOff)
{
    CUiRig rig;
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    rig.Entry("Network", "LAN\\", "setup.exe", "1.0");
    rig.Load();
    CSimWindow& window = rig.machine.window;
    rig.Click(0, 7);
    EXPECT_TRUE(CRapidSetup(*rig.platform, *rig.state, rig.end).RapidSetupOn());
    EXPECT_EQ(0, rig.Item(0, 8).hidden);
    EXPECT_EQ(0, rig.Item(0, 9).hidden);
    EXPECT_TRUE(rig.BoxVisible(0));
    EXPECT_TRUE(rig.BoxVisible(1));
    EXPECT_EQ(500u, rig.machine.clock.Period(TIMER_POINTER));
    EXPECT_FALSE(window.ToolTipActive(rig.dialog->data.panel0ToolTips));
    EXPECT_TRUE(rig.Logged("draw\ttext\t200\t15\tFFFFFF\t000000\topaque\tE1"));
    EXPECT_TRUE(rig.Logged("draw\tbitmap\t#161\t#161\t200\t360"));

    rig.Click(0, 9);
    EXPECT_FALSE(CRapidSetup(*rig.platform, *rig.state, rig.end).RapidSetupOn());
    EXPECT_FALSE(rig.BoxVisible(0));
    EXPECT_FALSE(rig.machine.clock.IsArmed(TIMER_POINTER));
    EXPECT_TRUE(window.ToolTipActive(rig.dialog->data.panel0ToolTips));
    EXPECT_EQ("draw\tbitmap\tE:\\p0N.bmp\t\t200\t360", window.DrawOps().back().line)
        << "the switch is back at once";
}

TEST(Interaction, ThePointerBlinksBetweenItsTwoPlaces)
{
    CUiRig rig;
    rig.Load();
    rig.Click(0, 7);
    rig.machine.window.ClearDrawOps();
    rig.dialog->OnTimer(TIMER_POINTER);
    rig.dialog->OnTimer(TIMER_POINTER);
    const std::vector<CSimDrawOp>& ops = rig.machine.window.DrawOps();
    ASSERT_EQ(4u, ops.size());
    EXPECT_EQ("draw\tbitmap\tE:\\rtn.bmp\tE:\\rtn.bmp\t200\t420", ops[0].line);
    EXPECT_EQ("draw\tbitmap\t#163\t#164\t240\t420", ops[1].line);
    EXPECT_EQ("draw\tbitmap\t#163\t#164\t255\t420", ops[3].line);
}

TEST(Interaction, ClickingTheShownTabAgainRunsItsEffectsAgain)
{
    CUiRig rig;
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    rig.Load();
    rig.Click(0, 7);
    rig.machine.window.ShowControl(CONTROL_ROW_CHECK_BOX_FIRST, false);
    rig.machine.events.Clear();
    rig.Click(0, 0);
    EXPECT_EQ(0, rig.Shown());
    EXPECT_TRUE(rig.Logged("timer\tkill\t99"));
    EXPECT_TRUE(rig.Logged("timer\tset\t99\t500"));
    EXPECT_TRUE(rig.BoxVisible(0));
}

TEST(Interaction, Usb2RowsOfXpWithoutAServicePackLeaveRapidSetup)
{
    CUiRig rig(20, OS_WINXP, 0);
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    rig.Entry("NEC USB 2.0", "Chipset\\NUSB\\", "setup.exe", "1.0");
    rig.Load();
    rig.Click(0, 7);
    EXPECT_EQ(1, rig.Item(0, 11).hidden);
    EXPECT_FALSE(rig.BoxVisible(1));
    EXPECT_TRUE(rig.BoxVisible(0));
    // Away to Panel1 and back: only the visible rows get their boxes again.
    rig.Click(0, 1);
    EXPECT_FALSE(rig.BoxVisible(0));
    rig.Click(1, 0);
    EXPECT_TRUE(rig.BoxVisible(0));
    EXPECT_FALSE(rig.BoxVisible(1));
    rig.Click(0, 9);
    EXPECT_EQ(0, rig.Item(0, 11).hidden);
    EXPECT_FALSE(rig.BoxVisible(1));
}

TEST(Interaction, RowsToggleByTextAndByCheckBox)
{
    CUiRig rig;
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    rig.Entry("Network", "LAN\\", "setup.exe", "1.0");
    rig.Load();
    rig.Click(0, 7);
    rig.Click(0, 10);
    EXPECT_EQ(0, rig.machine.window.GetCheck(200));
    EXPECT_EQ(0, rig.dialog->data.installList.items[0].selected);
    EXPECT_EQ(0, rig.Item(0, 10).checked);
    EXPECT_EQ(1, rig.dialog->data.installList.items[1].selected) << "rows are independent";
    EXPECT_FALSE(rig.dialog->OnCommand(200)) << "the framework still sees the command";
    EXPECT_EQ(1, rig.machine.window.GetCheck(200));
    EXPECT_EQ(1, rig.dialog->data.installList.items[0].selected);
    EXPECT_EQ(1, rig.Item(0, 10).checked);
    EXPECT_FALSE(rig.dialog->OnCommand(299));
    EXPECT_TRUE(rig.dialog->OnCommand(DIALOG_COMMAND_OK)) << "Enter keeps the window";
    EXPECT_FALSE(rig.dialog->OnCommand(DIALOG_COMMAND_CANCEL));
}

TEST(Interaction, AnInstalledRowUntickedHasADisabledBoxButItsTextStillToggles)
{
    CUiRig rig;
    rig.Entry("Network", "LAN\\", "setup.exe", "1.0");
    rig.StoredVersion("Network", "1.0");
    rig.Load();
    rig.Click(0, 7);
    EXPECT_FALSE(rig.machine.window.Control(200)->enabled);
    EXPECT_EQ(1, rig.machine.window.GetCheck(200));
    rig.Click(0, 10);
    EXPECT_EQ(0, rig.machine.window.GetCheck(200));
    rig.Click(0, 10);
    EXPECT_EQ(1, rig.machine.window.GetCheck(200));
    EXPECT_EQ(1, rig.Item(0, 10).state) << "a click never changes the installed state";
}

TEST(Interaction, ARowClickedWithRapidSetupOffInstallsItsDriverAlone)
{
    CUiRig rig;
    rig.Entry("Audio", "Audio\\Realtek\\", "setup.exe", "2.0");
    rig.cd.MakeDir("cd/Audio/Realtek");
    rig.Load();
    int invalidations = rig.machine.window.Invalidations();
    rig.Click(0, 10);
    EXPECT_TRUE(rig.Logged("launch\tShellExecute\t5\tE:\\Audio\\Realtek\\setup.exe\tE:\\Audio\\Realtek"));
    EXPECT_GT(rig.machine.window.Invalidations(), invalidations);
    RegKey key = 0;
    EXPECT_TRUE(rig.machine.registry.OpenKey(REG_HKEY_CURRENT_USER, "Software\\Fetchyard", &key))
        << "the version is recorded as the setup starts";
    rig.machine.registry.CloseKey(key);
}

TEST(Interaction, TwoRaidRowsOn98SeRunOnlyTheSiliconImagePatch)
{
    CUiRig rig(20, OS_WIN98SE, 0);
    rig.Entry("SiI 3112 RAID", "Other\\SiI\\SI3112\\", "setup.exe", "1.0");
    rig.Entry("Promise RAID", "Other\\Promise\\", "setup.exe", "1.0");
    rig.cd.MakeDir("cd/Other/SiI/SI3112");
    rig.Load();
    rig.state->raidRowCount = 2;
    // The patch writes its file a little after it starts.
    rig.machine.processes.SetLaunchHook([&rig](const CSimLaunch& launch) {
        if (launch.commandLine == "patch98.exe") rig.cd.Write("geo.log", "done");
    });
    rig.Click(0, 11);
    EXPECT_EQ(0, rig.LoggedStartingWith("launch\t")) << "the other RAID row runs nothing";
    rig.Click(0, 10);
    EXPECT_TRUE(rig.Logged("launch\tWinExec\t0\tpatch98.exe\tE:\\Other\\SiI\\SI3112"));
    EXPECT_FALSE(rig.cd.Exists("geo.log")) << "the patch's file is removed";
    EXPECT_EQ(1, rig.LoggedStartingWith("launch\t")) << "the driver's own setup does not run";
}

TEST(Interaction, ARaidPatchThatNeverFinishesGivesTheWindowBack)
{
    CUiRig rig(20, OS_WIN98SE, 0);
    rig.Entry("SiI 3112 RAID", "Other\\SiI\\SI3112\\", "setup.exe", "1.0");
    rig.Load();
    rig.state->raidRowCount = 2;
    uint64_t before = rig.machine.clock.Now();
    rig.Click(0, 10);
    EXPECT_EQ(before + RAID_PATCH_WAIT_LIMIT_MS, rig.machine.clock.Now());
    EXPECT_TRUE(rig.Logged(std::string("messagebox\tMsg\t") + RAID_PATCH_TIMEOUT_TEXT));
    EXPECT_EQ(UI_MODE_IDLE, rig.state->uiMode);
}

TEST(Interaction, NothingAnswersWhileTheProgramIsBusy)
{
    CUiRig rig;
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    rig.Load();
    rig.state->uiMode = 0;
    rig.dialog->OnMouseMove(100, 430);
    rig.dialog->OnLButtonDown(100, 430);
    rig.dialog->OnLButtonUp(100, 430);
    rig.Click(0, 10);
    EXPECT_TRUE(rig.machine.window.DrawOps().empty());
    EXPECT_TRUE(rig.machine.events.Lines().empty());
    EXPECT_EQ(0, rig.Shown());
    EXPECT_EQ(0, rig.Item(0, 1).state);
}

class ToolScrollTest : public ::testing::Test {
protected:
    ToolScrollTest()
    {
        rig.Load();
        rig.Click(0, 1);
        rig.machine.window.ClearDrawOps();
    }
    int Position() { return rig.machine.window.GetScrollPos(CONTROL_TOOL_SCROLL_BAR); }
    int RowTop(int j) { return rig.Item(1, 7 + j).top; }
    void Scroll(int code, int position = 0) { rig.dialog->OnVScroll(code, position); }

    CUiRig rig;
};

TEST_F(ToolScrollTest, TwentyRowsScrollOverFivePositions)
{
    Scroll(SCROLL_THUMB_TRACK, 5);
    EXPECT_EQ(5, Position());
    EXPECT_EQ(90 - 80, RowTop(0));
    EXPECT_EQ(90 + 19 * 20 - 80, RowTop(19));
    EXPECT_EQ(RowTop(19) + 13, rig.Item(1, 26).bottom);
    EXPECT_EQ(210, rig.Item(1, 7).left) << "only the height moves";
    // The tooltips went along.
    for (const CSimToolTipTool& tool : rig.machine.window.ToolTipTools()) {
        if (tool.toolTip == rig.dialog->data.panel1ToolTips && tool.toolId == 7) {
            EXPECT_EQ(10, tool.rect.top);
        }
    }
    Scroll(SCROLL_THUMB_POSITION, 99);
    EXPECT_EQ(5, Position()) << "a position beyond the range is held at the limit";
    EXPECT_EQ(10, RowTop(0));
}

TEST_F(ToolScrollTest, LinesAtTheEndsChangeNothing)
{
    Scroll(SCROLL_LINE_UP);
    EXPECT_EQ(1, Position());
    EXPECT_TRUE(rig.machine.window.DrawOps().empty());
    Scroll(SCROLL_LINE_DOWN);
    EXPECT_EQ(2, Position());
    EXPECT_EQ(70, RowTop(0));
    Scroll(SCROLL_BOTTOM);
    EXPECT_EQ(5, Position());
    EXPECT_EQ(70, RowTop(0)) << "the thumb moves, the rows wait";
    rig.machine.window.ClearDrawOps();
    Scroll(SCROLL_LINE_DOWN);
    EXPECT_EQ(5, Position());
    EXPECT_TRUE(rig.machine.window.DrawOps().empty());
    Scroll(SCROLL_TOP);
    EXPECT_EQ(1, Position());
    EXPECT_EQ(70, RowTop(0));
    Scroll(SCROLL_END);
    EXPECT_EQ(1, Position());
}

TEST_F(ToolScrollTest, PagesMoveTheRowsEvenAtTheEnds)
{
    Scroll(SCROLL_PAGE_UP);
    EXPECT_EQ(1, Position());
    EXPECT_EQ(90, RowTop(0));
    EXPECT_FALSE(rig.machine.window.DrawOps().empty()) << "redrawn in place";
    Scroll(SCROLL_PAGE_DOWN);
    EXPECT_EQ(2, Position());
    EXPECT_EQ(70, RowTop(0));
    Scroll(SCROLL_THUMB_TRACK, 5);
    Scroll(SCROLL_PAGE_DOWN);
    EXPECT_EQ(5, Position());
    EXPECT_EQ(10, RowTop(0));
}

TEST_F(ToolScrollTest, RowsOutsideTheWindowAreNeitherWipedNorDrawn)
{
    Scroll(SCROLL_LINE_DOWN);
    for (const CSimDrawOp& op : rig.machine.window.DrawOps()) {
        // Row 0 leaves the window (top 70); row 15 enters it (top 370).
        EXPECT_EQ(std::string::npos, op.line.find("\t70\t")) << op.line;
    }
    EXPECT_TRUE(rig.Logged("draw\ttext\t210\t90\t000000\t000000\topaque\tTool 0")) << "wiped";
    EXPECT_TRUE(rig.Logged("draw\ttext\t210\t370\tFFFFFF\t000000\topaque\tTool 15"));
    // Hidden rows come back in navy.
    EXPECT_TRUE(rig.Logged("draw\ttext\t210\t270\t000080\t000000\topaque\tTool 10"));
}

TEST(DialogHandlers, ControlsReadBlackOnWhite)
{
    CControlColors colors = {false, 0, false, 0};
    MainDialogCtlColor(CONTROL_KIND_EDIT, false, &colors);
    EXPECT_TRUE(colors.textSet && colors.backgroundSet);
    EXPECT_EQ(0x000000u, colors.text);
    EXPECT_EQ(0xFFFFFFu, colors.background);
    CControlColors box = {false, 0, false, 0};
    MainDialogCtlColor(CONTROL_KIND_MSGBOX, false, &box);
    EXPECT_FALSE(box.textSet || box.backgroundSet) << "message boxes keep the framework's";
}

}  // namespace
