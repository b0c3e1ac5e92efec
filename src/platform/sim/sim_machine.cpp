// One simulated PC: the adapters wired to the shared log, clock, board and system.
#include "platform/sim/sim_machine.h"

CSimMachine::CSimMachine()
    : processes(events, clock), system(clock), hardware(board), window(events, clock, files),
      appHost(events, system, clock, window)
{
    processes.SetFiles(&files);
}

CPlatform CSimMachine::Platform()
{
    return CPlatform{registry, files, processes, system, hardware, window};
}
