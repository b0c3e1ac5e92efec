// One simulated PC: every simulated adapter, wired together, plus the event log that the
// tests and tova-sim read (message boxes, the end of the program, ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/board.h"
#include "platform/app_host.h"
#include "platform/platform.h"
#include "platform/sim/sim_hardware.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_window.h"
#include "platform/sim/sim_app_host.h"

// What the simulated program did that a person would see, in order: one line each,
// tab-separated ("messagebox\tMsg\tSorry ...", "exit\t0").
class CSimEventLog {
public:
    void Add(const std::string& line) { lines.push_back(line); }
    const std::vector<std::string>& Lines() const { return lines; }
    void Clear() { lines.clear(); }

private:
    std::vector<std::string> lines;
};

class CSimMachine {
public:
    CSimMachine();

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

    CPlatform Platform();
};
