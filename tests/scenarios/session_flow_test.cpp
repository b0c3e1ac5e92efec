// Whole sessions through tova-sim: every panel of the demo CD as a CD author sees it, recorded
// in expected/, and the script's own rules (errors, the end, tracing, the registry file).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/sim/sim_text.h"
#include "unit/platform/temp_dir.h"

namespace {

struct CResult {
    std::string out;
    int status;
};

// Runs tova-sim with script as its standard input; errors go to the output when asked for.
CResult RunSession(const std::string& arguments, const std::string& script, bool withErrors)
{
    char scriptPath[] = "/tmp/tova-session-XXXXXX";
    int fd = mkstemp(scriptPath);
    if (fd < 0) return {"", -1};
    FILE* f = fdopen(fd, "w");
    fputs(script.c_str(), f);
    fclose(f);
    std::string command = std::string(TOVA_SIM_EXE) + " session " + arguments + " --script - <" +
                          scriptPath + (withErrors ? " 2>&1" : " 2>/dev/null");
    CResult result = {"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
        int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    remove(scriptPath);
    return result;
}

std::string DemoArguments(const std::string& board, const std::string& os)
{
    return "--drive E=" + std::string(TOVA_DEMO_CD_DIR) + " --board " + TOVA_SOURCE_DIR +
           "/demo/boards/" + board + ".board --os " + os;
}

std::string Expected(const std::string& name)
{
    std::ifstream in(std::string(TOVA_SOURCE_DIR) + "/tests/scenarios/expected/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

const char ALL_PANELS[] = "dump panels\npaint\ndump report\n";

TEST(SessionFlow, EveryPanelOfTheDemoCdAsRecorded)
{
    const struct {
        const char* board;
        const char* os;
    } runs[] = {{"ich4-845pe", "winxp"}, {"sis651", "nt4"}, {"nforce2", "win98se"}};
    for (const auto& run : runs) {
        std::string name = std::string("session-") + run.board + "-" + run.os + ".txt";
        std::string expected = Expected(name);
        ASSERT_FALSE(expected.empty()) << "no expected/" << name;
        CResult result = RunSession(DemoArguments(run.board, run.os), ALL_PANELS, false);
        EXPECT_EQ(0, result.status) << name;
        EXPECT_EQ(expected, result.out) << name;
    }
}

// The session's output from its first line after start-up on (which ends with the cost of its
// files).
std::string AfterStartUp(const std::string& out)
{
    size_t at = out.find("cdromMs=");
    at = at == std::string::npos ? 0 : out.find('\n', at) + 1;
    return out.substr(at);
}

TEST(SessionFlow, AUserGoesThroughTheWindow)
{
    std::string scriptPath = std::string(TOVA_SOURCE_DIR) + "/tests/scenarios/scripts/interaction.txt";
    std::ifstream scriptFile(scriptPath);
    std::stringstream script;
    script << scriptFile.rdbuf();
    CResult result = RunSession(DemoArguments("ich4-845pe", "winxp"), script.str(), false);
    EXPECT_EQ(0, result.status);
    EXPECT_EQ(Expected("session-interaction.txt"), result.out);
    std::string out = AfterStartUp(result.out);
    // Every tab was shown; the session ends on Panel1, scrolled up to position 4 then moved
    // to the bottom by the thumb alone.
    EXPECT_NE(std::string::npos, out.find("panel.1.active=1\n"));
    EXPECT_NE(std::string::npos, out.find("toolScrollBar=1\t5\t1\t5\t1\n"));
    EXPECT_NE(std::string::npos, out.find("panel.1.item.7=210\t30\t"));
    // Rows 1 and 2 were unticked, the others stay chosen; the boxes are hidden on Panel1.
    EXPECT_NE(std::string::npos, out.find("checkbox.1=220\t144\t235\t157\t0\t0\t1\t"));
    EXPECT_NE(std::string::npos, out.find("checkbox.2=220\t176\t235\t189\t0\t0\t1\t"));
    EXPECT_NE(std::string::npos, out.find("checkbox.3=220\t208\t235\t221\t0\t1\t1\t"));
    EXPECT_NE(std::string::npos, out.find("launch\tWinExec\t10\te:\\Utility\\HWMon\\setup.exe\t"));
    // The pointer blinked twice in the second.
    EXPECT_EQ(2u, Count(out, "draw\tbitmap\t#163\t#164\t"));
}

TEST(SessionFlow, CancelEndsTheDialogAndOkDoesNot)
{
    CResult ok = RunSession(DemoArguments("ich4-845pe", "winxp"), "command 1\ndump panels\n", false);
    EXPECT_NE(std::string::npos, ok.out.find("panel.0.active=1"));
    CResult cancel =
        RunSession(DemoArguments("ich4-845pe", "winxp"), "command 2\ndump panels\n", false);
    EXPECT_EQ("exit\t0\n", AfterStartUp(cancel.out));
}

TEST(SessionFlow, TheExitButtonEndsTheProgramAtOnce)
{
    CResult result =
        RunSession(DemoArguments("ich4-845pe", "winxp"), "click 130 380\nclick 90 175\n", false);
    EXPECT_EQ("exit\t0\n", AfterStartUp(result.out));
}

TEST(SessionFlow, BadScriptLinesNameTheirLine)
{
    const struct {
        const char* script;
        const char* message;
    } bad[] = {
        {"paint\n\n# a comment\nfrobnicate\n", "script line 4: unknown command 'frobnicate'"},
        {"dump\n", "script line 1:"},
        {"dump everything\n", "script line 1:"},
        {"trace maybe\n", "script line 1:"},
        {"paint now\n", "script line 1:"},
        {"click 10\n", "script line 1:"},
        {"move ten 20\n", "script line 1:"},
        {"scroll sideways\n", "script line 1: unknown scroll request"},
        {"scroll thumbtrack\n", "script line 1: scroll thumbtrack needs a position"},
        {"scroll lineup 3\n", "script line 1: scroll lineup takes no position"},
        {"wait -5\n", "script line 1:"},
        {"answer maybe\n", "script line 1:"},
        {"command 70000\n", "script line 1:"},
    };
    for (const auto& b : bad) {
        CResult result = RunSession(DemoArguments("ich4-845pe", "winxp"), b.script, true);
        EXPECT_EQ(2, result.status) << b.script;
        EXPECT_NE(std::string::npos, result.out.find(b.message)) << result.out;
    }
}

TEST(SessionFlow, CommandsAfterTheEndAreIgnored)
{
    CResult result =
        RunSession(DemoArguments("ich4-845pe", "winxp"), "close\nfrobnicate\ndump panels\n", true);
    EXPECT_EQ(0, result.status);
    EXPECT_EQ("exit\t0\n", result.out.substr(result.out.size() - 7));

    // A program that ended during start-up reads its whole script and ignores it.
    CResult noCd = RunSession("--drive E=" + std::string(TOVA_SOURCE_DIR) + "/demo/boards",
                              "paint\nfrobnicate\n", true);
    EXPECT_EQ("messagebox\tMsg\tSorry  I can't find Driver CD!\nexit\t0\n", noCd.out);
    EXPECT_EQ(0, noCd.status);
}

TEST(SessionFlow, APaintPrintsItsOperationsOnceWhateverTheTrace)
{
    CResult result =
        RunSession(DemoArguments("ich4-845pe", "winxp"), "trace on\npaint\ntrace off\npaint\n",
                   false);
    EXPECT_EQ(2u, Count(result.out, "draw\tbitmap\t#158\t#158\t200\t15\n"));
}

TEST(SessionFlow, TheRegistryFileDecidesWhatIsInstalledAndGetsNothingAdded)
{
    char regPath[] = "/tmp/tova-session-reg-XXXXXX";
    int fd = mkstemp(regPath);
    ASSERT_GE(fd, 0);
    const char reg[] =
        "REGEDIT4\n\n"
        "[HKEY_CURRENT_USER\\Software\\Fetchyard]\n"
        "\"Intel PRO/100 VE Network Driver\"=\"V7.1\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_1039&SUBSYS_"
        "00000000&REV_82\\3&61AAA01&0&40]\n"
        "\"Driver\"=\"{4D36E972-E325-11CE-BFC1-08002BE10318}\\\\0001\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-"
        "BFC1-08002BE10318}\\0001]\n"
        "\"DriverDesc\"=\"Intel(R) PRO/100 VE Network Connection\"\n"
        "\"DriverVersion\"=\"7.1.11.0\"\n";
    FILE* f = fdopen(fd, "w");
    fputs(reg, f);
    fclose(f);
    CResult result = RunSession(DemoArguments("ich4-845pe", "winxp") + " --registry " + regPath,
                                "paint\ndump report\n", false);
    EXPECT_EQ(0, result.status);
    EXPECT_NE(std::string::npos, result.out.find("\tFFFF00\t000000\topaque\tinstalled\n"));
    // The file's one enumerated device stands; nothing is derived over it.
    EXPECT_NE(std::string::npos,
              result.out.find("Description: Intel(R) PRO/100 VE Network Connection"));
    EXPECT_EQ(1u, Count(result.out, "Vendor ID: "));
    std::ifstream in(regPath);
    std::stringstream saved;
    saved << in.rdbuf();
    // No device of the board (its audio function is 8086:24C5) was written back.
    EXPECT_EQ(std::string::npos, saved.str().find("DEV_24C5")) << saved.str();
    EXPECT_NE(std::string::npos, saved.str().find("DEV_1039"));
    EXPECT_NE(std::string::npos, saved.str().find("Intel PRO/100 VE Network Driver"));
    remove(regPath);
}

}  // namespace

// A Traditional Chinese CD on a Taiwan system: a Big5 header line longer than its field and a
// utility caption longer than its profile buffer are cut before the character the cut would
// split. The same CD with --codepage 1252 keeps the byte cut.
TEST(SessionFlow, Big5TextsOfATaiwanCdAreCutOnCharacterBoundaries)
{
    CTempDir cd;
    ASSERT_FALSE(cd.Path().empty());
    std::string line;
    for (int k = 0; k < 150; ++k)
        line += "\xA4\xE5"; // 300 bytes for a 200-byte field
    std::string caption = "A";
    for (int k = 0; k < 127; ++k)
        caption += "\xA4\xA4"; // 255 bytes for a 255-byte buffer
    cd.Write("id.log", "");
    cd.Write("bmp.ini", "[Common]\r\ntitle=Driver CD\r\n");
    cd.Write("cht.ini", "[Panel0]\r\nline1=" + line + "\r\n[Panel1]\r\ntotal=1\r\n0_x=10\r\n" +
                            "0_y=100\r\n0_Desc=" + caption + "\r\n");
    std::string arguments = "--drive E=" + cd.Path() + " --board " + TOVA_SOURCE_DIR +
                            "/demo/boards/empty.board --os winxp --lang 0x0404";
    auto shown = [](const std::string& text) { return SimPrintable(text.c_str()); };

    CResult big5 = RunSession(arguments, "dump panels\n", false);
    EXPECT_EQ(0, big5.status);
    EXPECT_EQ(1u, Count(big5.out, "languageCode=1\n"));
    EXPECT_EQ(1u, Count(big5.out, "panel.0.lines=" + shown(line.substr(0, 198)) + "\t\t\n"));
    EXPECT_EQ(1u, Count(big5.out, "\t" + shown(caption.substr(0, 253)) + "\t"));

    CResult western = RunSession(arguments + " --codepage 1252", "dump panels\n", false);
    EXPECT_EQ(0, western.status);
    EXPECT_EQ(1u, Count(western.out, "panel.0.lines=" + shown(line.substr(0, 199)) + "\t\t\n"));
    EXPECT_EQ(1u, Count(western.out, "\t" + shown(caption.substr(0, 254)) + "\t"));
}
