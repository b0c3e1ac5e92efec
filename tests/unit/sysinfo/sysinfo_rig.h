// A simulated PC for the system report: board (BIOS, processor), registry and system, without
// the window or the processes the report never uses.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/board.h"
#include "hw/hw_state.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_hardware.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "sysinfo/report.h"

struct CSysinfoRig {
    CBoard board;
    CSimHardware hardware{board};
    CSimClock clock;
    CSimSystem system{clock};
    CSimRegistry registry;
    uint8_t osCode = OS_WINXP;
    CSystemReport report{registry, system, hardware, osCode};

    void Board(const char* description)
    {
        FixedText<256> error;
        ASSERT_TRUE(board.LoadDescription(description, nullptr, &error)) << error.c_str();
    }

    void Reg(const char* text)
    {
        FixedText<256> error;
        ASSERT_TRUE(registry.LoadRegText(text, &error)) << error.c_str();
    }

    // Selects the system by name and sets osCode as classification would.
    void Os(const char* name, uint8_t code)
    {
        ASSERT_TRUE(system.SelectOs(name)) << name;
        osCode = code;
    }

    std::string Compose()
    {
        std::string text = "left over from before";
        report.ComposeSystemReport(&text);
        EXPECT_EQ(0u, registry.OpenHandleCount()) << "keys left open";
        return text;
    }
};
