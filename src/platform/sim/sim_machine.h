// One simulated PC: every simulated adapter, wired together, plus the event log that the
// tests and tova-sim read (message boxes, the end of the program, ...).
#pragma once

#include "board/board.h"
#include "platform/app_host.h"
#include "platform/platform.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_event_log.h"
#include "platform/sim/sim_hardware.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_window.h"
#include "platform/sim/sim_app_host.h"

// Members are built in this order: the log, the board and the clock come first because the
// adapters hold on to them.
class CSimMachine {
public:
    CSimMachine();
    CSimMachine(const CSimMachine&) = delete;
    CSimMachine& operator=(const CSimMachine&) = delete;

    CSimEventLog events;
    CBoard board;
    CSimClock clock;
    CSimRegistry registry;
    CSimFiles files;
    CSimProcesses processes;
    CSimSystem system;
    CSimHardware hardware;
    CSimWindow window;
    CSimAppHost appHost;

    // The services the core calls, all on this machine.
    CPlatform Platform();
};
