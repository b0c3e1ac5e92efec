// The simulated process service: scripted starts, waits on the virtual clock, the end of the
// program and the restart request, all in the event log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_processes.h"

namespace {

class SimProcessesTest : public ::testing::Test {
protected:
    SimProcessesTest() : processes(events, clock) {}

    CSimEventLog events;
    CSimClock clock;
    CSimProcesses processes;
};

}  // namespace

TEST_F(SimProcessesTest, ByDefaultAProgramStartsAndEndsAtOnceWithZero)
{
    ProcessHandle h = 0;
    ASSERT_TRUE(processes.CreateProcess("E:\\LAN\\setup.exe -s", "E:\\LAN", &h));
    EXPECT_NE(0u, h);
    EXPECT_EQ(WAIT_RESULT_DONE, processes.WaitForProcess(h, 1000));
    EXPECT_EQ(0u, clock.Now());
    uint32_t code = 99;
    ASSERT_TRUE(processes.GetExitCodeProcess(h, &code));
    EXPECT_EQ(0u, code);
    processes.CloseProcess(h);
    EXPECT_EQ(0u, processes.OpenProcessCount());
    EXPECT_EQ(SIM_WAIT_FAILED, processes.WaitForProcess(h, 1000)) << "a closed handle";
    EXPECT_FALSE(processes.GetExitCodeProcess(h, &code));

    EXPECT_GT(processes.WinExec("E:\\patch98.exe", 1), 31u);
    EXPECT_GT(processes.ShellOpen("http://www.example.com", nullptr, nullptr), 32u);
    EXPECT_GT(processes.ShellOpen("E:\\Utility\\tool.exe", "/q", "E:\\Utility"), 32u);

    const std::vector<CSimLaunch>& launches = processes.Launches();
    ASSERT_EQ(4u, launches.size());
    EXPECT_EQ(SIM_LAUNCH_CREATE_PROCESS, launches[0].kind);
    EXPECT_EQ("E:\\LAN\\setup.exe -s", launches[0].commandLine);
    EXPECT_EQ("E:\\LAN", launches[0].directory);
    EXPECT_EQ(SIM_LAUNCH_WINEXEC, launches[1].kind);
    EXPECT_EQ(1u, launches[1].show);
    EXPECT_EQ(SIM_LAUNCH_SHELL_OPEN, launches[3].kind);
    EXPECT_EQ("/q", launches[3].parameters);
    EXPECT_EQ((std::vector<std::string>{"launch\tCreateProcess\t1\tE:\\LAN\\setup.exe -s\tE:\\LAN",
                                        "launch\tWinExec\t1\tE:\\patch98.exe\t",
                                        "launch\tShellExecute\t5\thttp://www.example.com\t",
                                        "launch\tShellExecute\t5\tE:\\Utility\\tool.exe /q\tE:\\Utility"}),
              events.Lines());
}

TEST_F(SimProcessesTest, ScriptedProgramsRunOnTheVirtualClock)
{
    CSimProcessScript slow;
    slow.runMs = 2500;
    slow.exitCode = 3;
    CSimProcessScript missing;
    missing.startFails = true;
    processes.QueueScript(slow);
    processes.QueueScript(missing);
    processes.QueueScript(missing);
    processes.QueueScript(missing);

    ProcessHandle h = 0;
    ASSERT_TRUE(processes.CreateProcess("E:\\VGA\\setup.exe", nullptr, &h));
    uint32_t code = 0;
    ASSERT_TRUE(processes.GetExitCodeProcess(h, &code));
    EXPECT_EQ(SIM_STILL_ACTIVE, code);
    // The once-a-second wait: two timeouts, then done half a second into the third.
    EXPECT_EQ(WAIT_RESULT_TIMEOUT, processes.WaitForProcess(h, 1000));
    EXPECT_EQ(WAIT_RESULT_TIMEOUT, processes.WaitForProcess(h, 1000));
    EXPECT_EQ(2000u, clock.Now());
    EXPECT_EQ(WAIT_RESULT_DONE, processes.WaitForProcess(h, 1000));
    EXPECT_EQ(2500u, clock.Now());
    ASSERT_TRUE(processes.GetExitCodeProcess(h, &code));
    EXPECT_EQ(3u, code);
    EXPECT_EQ(WAIT_RESULT_DONE, processes.WaitForProcess(h, 0));

    ProcessHandle failed = 0;
    EXPECT_FALSE(processes.CreateProcess("E:\\none.exe", nullptr, &failed));
    EXPECT_LE(processes.WinExec("E:\\none.exe", 1), 31u);
    EXPECT_LE(processes.ShellOpen("E:\\none.exe", nullptr, nullptr), 32u);
    EXPECT_FALSE(processes.Launches()[1].started);
    EXPECT_EQ(1u, processes.OpenProcessCount());

    // Once the queue is empty the default applies; an endless wait runs to the end.
    CSimProcessScript longer;
    longer.runMs = 60000;
    processes.SetDefaultScript(longer);
    ASSERT_TRUE(processes.CreateProcess("E:\\SATA\\setup.exe", nullptr, &h));
    EXPECT_EQ(WAIT_RESULT_DONE, processes.WaitForProcess(h, 0xFFFFFFFF));
    EXPECT_EQ(62500u, clock.Now());
}

TEST_F(SimProcessesTest, TheHookSeesEveryStartAndMayStartMore)
{
    std::vector<std::string> seen;
    processes.SetLaunchHook([&](const CSimLaunch& launch) {
        seen.push_back(launch.commandLine);
        // What a package that starts a helper of its own does.
        if (launch.commandLine == "E:\\A\\setup.exe") processes.WinExec("E:\\A\\helper.exe", 0);
    });
    ProcessHandle h = 0;
    ASSERT_TRUE(processes.CreateProcess("E:\\A\\setup.exe", nullptr, &h));
    processes.CloseProcess(h);
    EXPECT_EQ((std::vector<std::string>{"E:\\A\\setup.exe", "E:\\A\\helper.exe"}), seen);
    EXPECT_EQ(2u, processes.Launches().size());
}

TEST_F(SimProcessesTest, TheEndOfTheProgramAndRestartsAreRecorded)
{
    EXPECT_FALSE(processes.Exited());
    EXPECT_TRUE(processes.ExitWindows(6));
    processes.SetExitWindowsResult(false);
    EXPECT_FALSE(processes.ExitWindows(2));
    EXPECT_EQ((std::vector<uint32_t>{6, 2}), processes.ExitWindowsCalls());

    processes.ExitProcess(0);
    EXPECT_TRUE(processes.Exited());
    EXPECT_EQ(0u, processes.ExitCode());
    // A caller that goes on after ending the program shows in the log; the first code stays.
    processes.ExitProcess(5);
    EXPECT_EQ(0u, processes.ExitCode());
    EXPECT_EQ(2, processes.ExitCalls());
    EXPECT_EQ((std::vector<std::string>{"restart\t6", "restart\t2", "exit\t0",
                                        "exit\t5"}),
              events.Lines());
}
