// The hardware access layer on the board simulator: a board from a description text, behind
// the simulated hardware, reached through the port primitives of a chosen osCode.
#pragma once

#include <gtest/gtest.h>

#include "board/board.h"
#include "hw/hw_state.h"
#include "hw/pci.h"
#include "hw/port_access.h"
#include "platform/sim/sim_hardware.h"

struct CHwaccessBoardRig {
    CBoard board;
    CSimHardware hardware;
    uint8_t osCode;
    CPortAccess ports;
    CHwState state;
    CPciScanner scanner;

    explicit CHwaccessBoardRig(uint8_t os)
        : hardware(board), osCode(os), ports(hardware, osCode),
          scanner(ports, state.lastClassCode)
    {
    }

    // Loads the description and starts the port-operation count afresh.
    bool Load(const char* description)
    {
        FixedText<256> error;
        if (!board.LoadDescription(description, nullptr, &error)) {
            ADD_FAILURE() << "board description: " << error.c_str();
            return false;
        }
        board.ResetPortOps();
        return true;
    }
};

// One path of each family, so every board test runs through both.
const uint8_t HWACCESS_TEST_OS[] = {OS_WIN98SE, OS_WINXP};
