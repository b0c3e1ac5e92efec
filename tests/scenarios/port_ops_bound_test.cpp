// The cost of start-up in port operations: on every demo board and system, tova-sim start stays
// within 1.2 times one bus walk plus the registers of the functions present plus the
// Super-I/O probes, all worked out from the board description.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/board.h"
#include "hw/hw_state.h"
#include "hw/port_access.h"
#include "hw/superio.h"
#include "platform/sim/sim_hardware.h"

namespace {

const char* const SYSTEMS[] = {"win95", "win98",   "win98se", "winme",
                               "nt4",   "win2000", "winxp",   "winxp-nosp"};
const char* const BOARDS[] = {"ich4-845pe", "via-kt400", "sis651", "nforce2", "ich5-865g", "empty"};

// One address write and one dword read for every combination of buses 0-3.
const uint64_t BOUND_WALK_OPS = 4 * 32 * 8 * 2;
// Dwords 0x08 and 0x2C of a function present: an address write and a read each.
const uint64_t BOUND_OPS_PER_FUNCTION = 2 * 2;

std::string BoardPath(const std::string& board)
{
    return std::string(TOVA_SOURCE_DIR) + "/demo/boards/" + board + ".board";
}

// What the two Super-I/O probes cost on this board, measured on a fresh copy of it.
uint64_t SuperIoOps(const std::string& board)
{
    CBoard chips;
    FixedText<256> error;
    EXPECT_TRUE(chips.LoadFile(BoardPath(board).c_str(), &error)) << error.c_str();
    CSimHardware hardware(chips);
    uint8_t osCode = OS_WIN98SE;
    CPortAccess ports(hardware, osCode);
    CDetectionResults results;
    uint8_t code = 0;
    chips.ResetPortOps();
    WinbondChipProbe(ports, &code, results);
    Ite87Probe(ports, &code, results);
    return chips.PortOps();
}

uint64_t Bound(const std::string& board, uint64_t* present)
{
    CBoard description;
    FixedText<256> error;
    EXPECT_TRUE(description.LoadFile(BoardPath(board).c_str(), &error)) << error.c_str();
    *present = 0;
    for (int i = 0; i < description.PciFunctionCount(); ++i) {
        CBoardPciInfo info;
        if (description.PciFunctionAt(i, &info) && info.bus < 4) ++*present;
    }
    uint64_t base = BOUND_WALK_OPS + BOUND_OPS_PER_FUNCTION * *present + SuperIoOps(board);
    return base + base / 5;
}

// The portOps= line of tova-sim start, or -1 when it is missing.
long long StartPortOps(const std::string& board, const std::string& os)
{
    std::string command = std::string(TOVA_SIM_EXE) + " start --drive E=" + TOVA_SOURCE_DIR +
                          "/demo/cd --board " + BoardPath(board) + " --os " + os + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    size_t at = out.find("portOps=");
    if (at == std::string::npos) return -1;
    return atoll(out.c_str() + at + 8);
}

} // namespace

TEST(PortOpsBound, StartUpWalksTheBusOnce)
{
    for (const char* board : BOARDS) {
        uint64_t present = 0;
        uint64_t bound = Bound(board, &present);
        for (const char* os : SYSTEMS) {
            long long ops = StartPortOps(board, os);
            ASSERT_GE(ops, 0) << board << " " << os;
            printf("%-11s %-10s portOps=%lld bound=%llu (functions present %llu)\n", board, os, ops,
                   (unsigned long long)bound, (unsigned long long)present);
            EXPECT_LE((uint64_t)ops, bound) << board << " " << os;
            // The walk itself cannot be skipped.
            EXPECT_GE((uint64_t)ops, BOUND_WALK_OPS) << board << " " << os;
        }
    }
}
