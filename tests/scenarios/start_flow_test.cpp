// Whole start-up flows through tova-sim: every demo board on every supported system against
// the install lists recorded in expected/, and the two ways the program ends early.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const SYSTEMS[] = {"win95", "win98", "win98se", "winme",
                               "nt4",   "win2000", "winxp", "winxp-nosp"};
const char* const BOARDS[] = {"ich4-845pe", "via-kt400", "sis651", "nforce2", "ich5-865g", "empty"};

struct CResult {
    std::string out;
    int status;
};

CResult RunSim(const std::string& arguments)
{
    std::string command = std::string(TOVA_SIM_EXE) + " " + arguments + " 2>/dev/null";
    CResult result = {"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string StartArguments(const std::string& board, const std::string& os)
{
    return "start --drive E=" + std::string(TOVA_SOURCE_DIR) + "/demo/cd --board " +
           TOVA_SOURCE_DIR + "/demo/boards/" + board + ".board --os " + os;
}

// expected/<name>.txt: for each system a "## NAME" line followed by tova-sim's output.
std::string ExpectedFor(const std::string& name, const std::string& os)
{
    std::ifstream in(std::string(TOVA_SOURCE_DIR) + "/tests/scenarios/expected/" + name + ".txt");
    std::string line;
    std::string block;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.compare(0, 3, "## ") == 0) {
            if (inside) break;
            inside = line.substr(3) == os;
            continue;
        }
        if (inside) block += line + "\n";
    }
    return block;
}

TEST(StartFlow, EveryDemoBoardOnEverySystemGivesItsRecordedInstallList)
{
    for (const char* board : BOARDS) {
        for (const char* os : SYSTEMS) {
            std::string expected = ExpectedFor(board, os);
            ASSERT_FALSE(expected.empty()) << "no expected output for " << board << " " << os;
            CResult result = RunSim(StartArguments(board, os));
            EXPECT_EQ(0, result.status) << board << " " << os;
            EXPECT_EQ(expected, result.out) << board << " " << os;
        }
    }
}

TEST(StartFlow, InstallListIsCutToTheRunningSystem)
{
    // The same board offers the Windows 2000/XP VGA package on XP and the 9x one on 98 SE.
    CResult xp = RunSim(StartArguments("sis651", "winxp"));
    CResult se = RunSim(StartArguments("sis651", "win98se"));
    EXPECT_NE(std::string::npos, xp.out.find("SiS650\\VGA\\Win2k_XP\\"));
    EXPECT_NE(std::string::npos, xp.out.find("sis650VgaListed=1\n"));
    EXPECT_NE(std::string::npos, se.out.find("SiS650\\VGA\\Win9x\\"));
    EXPECT_NE(std::string::npos, se.out.find("sis650VgaListed=0\n"));
    EXPECT_EQ(std::string::npos, se.out.find("Win2k_XP"));
}

TEST(StartFlow, NoCdAnywhereShowsTheMessageAndEnds)
{
    CResult result = RunSim("start --drive E=" + std::string(TOVA_SOURCE_DIR) +
                            "/demo/boards --os winxp");
    EXPECT_EQ("messagebox\tMsg\tSorry  I can't find Driver CD!\nexit\t0\n", result.out);
    EXPECT_EQ(0, result.status);
}

TEST(StartFlow, SystemOutsideTheSupportedRangeEnds)
{
    for (const char* os : {"vista", "win7", "win32s", "2.6.0.6000"}) {
        CResult result = RunSim(StartArguments("ich4-845pe", os));
        EXPECT_EQ("messagebox\tMsg\tSorry we do not support this M/B.\nexit\t0\n", result.out)
            << os;
        EXPECT_EQ(0, result.status) << os;
    }
}

TEST(StartFlow, BadOptionsAndFilesExitWithStatusTwo)
{
    const char* const bad[] = {
        "start --os nosuchsystem",
        "start --drive 1=/tmp",
        "start --lang 404",
        "start --board /nonexistent/board.board",
        "start --frobnicate 1",
        "hw --os winxp",
        "hw --board /nonexistent --os winxp",
        "hw --board x --os winxp --find 1234",
        "nosuchcommand",
    };
    for (const char* arguments : bad) {
        CResult result = RunSim(arguments);
        EXPECT_EQ(2, result.status) << arguments;
        EXPECT_EQ("", result.out) << arguments;
    }
}

TEST(StartFlow, HwReportOfEveryDemoBoardOnBothPortPaths)
{
    const std::string finds =
        " --find 0x24C08086 --find 0x30591106:0xA0027A51 --find 0x06511039 --find 0x01E010DE"
        " --find 0x0D30105A:0xB0017A51 --find 0x24DF8086:0x24D17A51";
    for (const char* board : BOARDS) {
        for (const char* os : {"win98se", "winxp"}) {
            std::string expected = ExpectedFor(std::string("hw-") + board, os);
            ASSERT_FALSE(expected.empty()) << "no expected hw output for " << board << " " << os;
            CResult result = RunSim("hw --board " + std::string(TOVA_SOURCE_DIR) + "/demo/boards/" +
                                    board + ".board --os " + os + finds);
            EXPECT_EQ(0, result.status) << board << " " << os;
            EXPECT_EQ(expected, result.out) << board << " " << os;
        }
    }
}

TEST(StartFlow, HwReportsTheBoardThroughBothPortPaths)
{
    std::string board = std::string(TOVA_SOURCE_DIR) + "/demo/boards/ich4-845pe.board";
    for (const char* os : {"win98se", "winxp"}) {
        CResult result = RunSim("hw --board " + board + " --os " + os +
                                " --find 0x24C58086:0x76008384 --find 0x24C58086:0x11111111");
        EXPECT_EQ(0, result.status);
        EXPECT_NE(std::string::npos, result.out.find("biosText=07/16/2003-i845PE-6728-6A69YM4FC-00\n"))
            << os;
        EXPECT_NE(std::string::npos, result.out.find("cpuVendor=GenuineIntel\n")) << os;
        EXPECT_NE(std::string::npos,
                  result.out.find("find.0x24C58086:0x76008384=1 lastClassCode=0x0401\n"))
            << os;
        // A subsystem mismatch still records the class word of the id match.
        EXPECT_NE(std::string::npos,
                  result.out.find("find.0x24C58086:0x11111111=0 lastClassCode=0x0401\n"))
            << os;
    }
}

}  // namespace
