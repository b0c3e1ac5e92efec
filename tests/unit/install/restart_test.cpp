// Restarting Windows: only 98 SE and Me restart, and the program ends whether Windows agrees;
// built from the process service and the program's end alone.
#include <gtest/gtest.h>

#include <vector>

#include "hw/hw_state.h"
#include "install/restart.h"
#include "platform/sim/sim_machine.h"
#include "state/program_end.h"

namespace {

TEST(RestartSystem, OnlyNinetyEightSeAndMeRestartAndThenTheProgramEnds)
{
    struct {
        uint8_t osCode;
        bool restarts;
    } cases[] = {{OS_WIN95, false}, {OS_WIN98, false},   {OS_WIN98SE, true}, {OS_WINME, true},
                 {OS_NT4, false},   {OS_WIN2000, false}, {OS_WINXP, false}};
    for (const auto& c : cases) {
        CSimMachine machine;
        bool ended = false;
        CProgramEnd end(machine.processes, ended);
        RestartSystem(machine.processes, c.osCode, end);
        std::vector<uint32_t> calls;
        if (c.restarts) calls.push_back(RESTART_EWX_REBOOT);
        EXPECT_EQ(calls, machine.processes.ExitWindowsCalls()) << int(c.osCode);
        EXPECT_EQ(c.restarts, ended) << int(c.osCode);
        EXPECT_EQ(c.restarts, machine.processes.Exited()) << int(c.osCode);
    }
}

TEST(RestartSystem, ARefusedRestartStillEndsTheProgram)
{
    // The Run value carries the run to the next start, whenever that is.
    CSimMachine machine;
    machine.processes.SetExitWindowsResult(false);
    bool ended = false;
    CProgramEnd end(machine.processes, ended);
    RestartSystem(machine.processes, OS_WINME, end);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(machine.processes.Exited());
    EXPECT_EQ(0u, machine.processes.ExitCode());
}

}  // namespace
