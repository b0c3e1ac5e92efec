// The simulated window and dialog framework: message-box answers and their log lines, the
// dialog's own settings, the shared instance counter, the modal run, and the wired machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace {

class SimWindowTest : public ::testing::Test {
protected:
    SimWindowTest() : window(events, clock, files) {}

    CSimEventLog events;
    CSimClock clock;
    CSimFiles files;
    CSimWindow window;
};

class CCountingHandler : public CDialogHandler {
public:
    bool OnInitDialog() override
    {
        ++calls;
        return true;
    }
    int calls = 0;
};

}  // namespace

TEST_F(SimWindowTest, MessageBoxesTakeQueuedAnswersOrTheirDefaultButton)
{
    EXPECT_EQ(MSGBOX_RESULT_OK, window.MessageBox(true, "Sorry  I can't find Driver CD!", "Msg",
                                                  MSGBOX_OK));
    EXPECT_EQ(MSGBOX_RESULT_YES, window.MessageBox(false, "Go on?", "Message", MSGBOX_YESNO));
    EXPECT_EQ(MSGBOX_RESULT_NO, window.MessageBox(false, "Go on?", "Message",
                                                  MSGBOX_YESNO | 0x100))
        << "MB_DEFBUTTON2 of a yes/no box is No";
    EXPECT_EQ(2, window.MessageBox(false, "x", "y", 0x1 | 0x100)) << "OK/Cancel, second: Cancel";
    EXPECT_EQ(1, window.MessageBox(false, "x", "y", 0x1 | 0x200)) << "no third button: the first";

    window.QueueMessageBoxAnswer(2);
    window.QueueMessageBoxAnswer(MSGBOX_RESULT_NO);
    EXPECT_EQ(2, window.MessageBox(true, "\"Rapid Setup \" will continue to install drivers.\n"
                                         "Would you like to proceed ?",
                                   "Driver CD install", 0x1));
    EXPECT_EQ(MSGBOX_RESULT_NO, window.MessageBox(false, "a\tb", nullptr, MSGBOX_YESNO));
    EXPECT_EQ(MSGBOX_RESULT_OK, window.MessageBox(false, "", "Msg", MSGBOX_OK));

    const std::vector<std::string>& lines = events.Lines();
    ASSERT_EQ(8u, lines.size());
    EXPECT_EQ("messagebox\tMsg\tSorry  I can't find Driver CD!", lines[0]);
    EXPECT_EQ("messagebox\tDriver CD install\t\"Rapid Setup \" will continue to install "
              "drivers.\\nWould you like to proceed ?",
              lines[5]);
    EXPECT_EQ("messagebox\tError\ta\\tb", lines[6]) << "no caption shows \"Error\"";
    EXPECT_EQ("messagebox\tMsg\t", lines[7]);

    const std::vector<CSimMessageBox>& boxes = window.MessageBoxes();
    ASSERT_EQ(8u, boxes.size());
    EXPECT_TRUE(boxes[0].ownedByDialog);
    EXPECT_FALSE(boxes[1].ownedByDialog);
    EXPECT_EQ("\"Rapid Setup \" will continue to install drivers.\nWould you like to proceed ?",
              boxes[5].text);
    EXPECT_EQ(0x1u, boxes[5].type);
    EXPECT_EQ(2, boxes[5].answer);
}

TEST_F(SimWindowTest, TheDialogsOwnSettingsAreRecorded)
{
    char title[32];
    EXPECT_EQ(19u, window.GetTitle(title, sizeof(title)));
    EXPECT_STREQ("TOVA 2.2 B02.111101", title);
    window.SetTitle("   ");
    EXPECT_EQ(3u, window.GetTitle(title, sizeof(title)));
    window.SetTitle("A driver CD title");
    EXPECT_EQ(5u, window.GetTitle(title, 6)) << "cut to the buffer";
    EXPECT_STREQ("A dri", title);
    EXPECT_EQ(0u, window.GetTitle(title, 0));

    // The second tooltip control fails; the others work.
    window.FailToolTipCreation(2);
    ToolTipHandle first = window.CreateToolTip();
    EXPECT_NE(0u, first);
    EXPECT_EQ(0u, window.CreateToolTip());
    ToolTipHandle third = window.CreateToolTip();
    EXPECT_NE(0u, third);
    EXPECT_NE(first, third);
    EXPECT_EQ(3, window.ToolTipCreations());

    // A client context of the system font at 96 pixels per inch.
    CTextMetrics metrics = {0, 0, 0};
    window.GetClientTextMetrics(&metrics);
    EXPECT_EQ(13, metrics.height);
    EXPECT_EQ(0, metrics.externalLeading);
    EXPECT_EQ(5, metrics.aveCharWidth);

    // Timers go to the clock.
    window.SetTimer(99, 500);
    EXPECT_TRUE(clock.IsArmed(99));
    EXPECT_EQ(500u, clock.Period(99));
    window.KillTimer(99);
    EXPECT_FALSE(clock.IsArmed(99));

    window.Invalidate();
    window.PostClose();
    EXPECT_EQ((std::vector<std::string>{"timer\tset\t99\t500", "timer\tkill\t99"}),
              events.Lines())
        << "only the timers are logged";
}

TEST(SimAppHost, CopiesShareOneInstanceCounter)
{
    CSimEventLog events;
    CSimClock clock;
    CSimSystem system(clock);
    CSimFiles files;
    CSimWindow window(events, clock, files);
    CSimAppHost first(events, system, clock, window), second(events, system, clock, window),
        third(events, system, clock, window);
    int32_t counter = SIM_INSTANCE_COUNTER_INITIAL;
    first.ShareInstanceCounter(&counter);
    second.ShareInstanceCounter(&counter);
    third.ShareInstanceCounter(&counter);
    EXPECT_EQ(0, first.IncrementInstanceCounter());
    EXPECT_EQ(1, second.IncrementInstanceCounter());
    EXPECT_EQ(2, third.IncrementInstanceCounter());
    EXPECT_EQ(2, counter);

    CSimAppHost alone(events, system, clock, window);
    EXPECT_EQ(-1, alone.InstanceCounter());
    alone.SetInstanceCounter(4);
    EXPECT_EQ(5, alone.IncrementInstanceCounter());
    EXPECT_EQ(2, counter);
}

TEST(SimAppHost, TheModalRunRecordsTheDialogAndInitialisesIt)
{
    CSimEventLog events;
    CSimClock clock;
    CSimSystem system(clock);
    CSimFiles files;
    CSimWindow window(events, clock, files);
    CSimAppHost host(events, system, clock, window);
    system.SetPixelsPerInch(120, 120);
    int x = 0, y = 0;
    host.GetScreenPixelsPerInch(&x, &y);
    EXPECT_EQ(120, x);
    EXPECT_EQ(120, y);

    CCountingHandler handler;
    host.SetTemplateLoadable(false);
    EXPECT_EQ(-1, host.RunModalDialog(102, "MS Sans Serif", 7, &handler));
    EXPECT_EQ(0, handler.calls);
    EXPECT_TRUE(events.Lines().empty());

    host.SetTemplateLoadable(true);
    EXPECT_EQ(1, host.RunModalDialog(102, "MS Sans Serif", 7, &handler));
    EXPECT_EQ(1, handler.calls);
    EXPECT_EQ(102u, host.DialogTemplate());
    EXPECT_EQ("MS Sans Serif", host.DialogFontFace());
    EXPECT_EQ(7, host.DialogPointSize());
    EXPECT_EQ((std::vector<std::string>{"dialog\t102\tMS Sans Serif\t7"}), events.Lines());
}

TEST(SimMachine, TheAdaptersShareOneLogOneClockAndOneSystem)
{
    CSimMachine machine;
    CPlatform platform = machine.Platform();
    EXPECT_EQ(&machine.registry, &platform.registry);
    EXPECT_EQ(&machine.files, &platform.files);
    EXPECT_EQ(&machine.hardware, &platform.hardware);

    platform.window.SetTimer(1, 20);
    platform.system.Sleep(100);
    ProcessHandle h = 0;
    ASSERT_TRUE(platform.processes.CreateProcess("E:\\x.exe", nullptr, &h));
    platform.processes.CloseProcess(h);
    platform.window.MessageBox(true, "text", "Msg", MSGBOX_OK);
    platform.processes.ExitProcess(0);
    EXPECT_EQ((std::vector<std::string>{"timer\tset\t1\t20", "launch\tCreateProcess\t1\tE:\\x.exe\tE:\\",
                                        "messagebox\tMsg\ttext", "exit\t0"}),
              machine.events.Lines())
        << "a program without a folder of its own starts in the current directory";
    EXPECT_EQ(100u, machine.clock.Now());
    EXPECT_TRUE(machine.clock.IsArmed(1));

    machine.system.SetPixelsPerInch(144, 144);
    int x = 0, y = 0;
    machine.appHost.GetScreenPixelsPerInch(&x, &y);
    EXPECT_EQ(144, x);
}
