// Installation runs through tova-sim session scripts on a CD of the test's own making: a Rapid
// Setup run on XP whose INF update ends the program and a second start that resumes through
// the notice, the AMR modem on 98 SE across its restart, a display package that must run
// alone, what the session's program lines and kill do, and a wait that outlasts the notice.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const double REAL_SECONDS_LIMIT = 10.0;

struct CResult {
    std::string all;  // everything printed
    std::string out;  // what follows the start-up lines
    int status;
    double seconds;
};

void WriteFile(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A CD with the demo's layout (so the demo's click positions hold) and a driver list of the
// test's own, and a C: drive, in a folder removed afterwards.
class InstallFlowTest : public ::testing::Test {
protected:
    InstallFlowTest()
    {
        char pattern[] = "/tmp/tova-install-XXXXXX";
        root = mkdtemp(pattern);
        system(("mkdir -p '" + root + "/c' && cp -r '" + std::string(TOVA_DEMO_CD_DIR) + "' '" +
                root + "/cd'")
                   .c_str());
    }
    ~InstallFlowTest() override { system(("rm -rf '" + root + "'").c_str()); }

    // The list's lines for one system; every package folder is made.
    void List(const std::string& osCode, const std::vector<std::string>& lines)
    {
        std::string text = "1;" + osCode + ";Chipset;0;x;%CDROM%x\\;x;x\r\n";
        text.clear();
        for (const std::string& line : lines) {
            text += line + "\r\n";
            std::string folder = line.substr(line.find("%CDROM%") + 7);
            folder = folder.substr(0, folder.find(';'));
            for (char& c : folder) c = c == '\\' ? '/' : c;
            system(("mkdir -p '" + root + "/cd/" + folder + "'").c_str());
        }
        text += ";------------------------------ end\r\n";
        WriteFile(root + "/cd/tova.txt", text);
    }
    CResult Session(const std::string& os, const std::string& script)
    {
        WriteFile(root + "/script.txt", script);
        std::string command = std::string(TOVA_SIM_EXE) + " session --drive E=" + root +
                              "/cd --drive C=" + root + "/c --board " + TOVA_SOURCE_DIR +
                              "/demo/boards/ich4-845pe.board --os " + os + " --registry " + root +
                              "/registry.reg --script " + root + "/script.txt 2>&1";
        CResult result = {"", "", -1, 0};
        auto begin = std::chrono::steady_clock::now();
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe) {
            char buffer[4096];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
            int status = pclose(pipe);
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        result.all = result.out;
        // The start-up lines end with the cost of its files.
        size_t at = result.out.find("cdromMs=");
        if (at != std::string::npos) result.out = result.out.substr(result.out.find('\n', at) + 1);
        return result;
    }
    std::string Registry()
    {
        std::ifstream in(root + "/registry.reg");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string root;
};

// Rapid Setup on, Start, and time for the run.
const char RUN[] = "click 390 370\nclick 350 370\nwait 120000\n";

TEST_F(InstallFlowTest, AnInfUpdateEndsTheRunOnXpAndTheNextStartResumesIt)
{
    List("16", {"1;16;Chipset;79;Chipset INF Update;%CDROM%Chipset\\Intel\\INFUPDATE\\;setup.exe;V5",
                "2;16;LAN;12;Network Driver;%CDROM%LAN\\Broadcom\\;setup.exe;V7",
                "3;16;audio;14;Realtek Audio;%CDROM%Audio\\Realtek\\;setup.exe;V5"});
    CResult first = Session("winxp", RUN);
    EXPECT_EQ(0, first.status);
    EXPECT_EQ("messagebox\tMsg\tSome device drivers will restart your system automatically.\\n"
              "After restarting your system the \"Rapid Setup\" will \\ncontinue to install other "
              "drivers.\n"
              "launch\tCreateProcess\t1\te:\\chipset\\intel\\infupdate\\setup.exe -a -s -b "
              "-f2\"c:\\zov.log\"\te:\\Chipset\\Intel\\INFUPDATE\n"
              "exit\t0\n",
              first.out);
    // Virtual time: minutes of waits take a fraction of a second (under the sanitizers and a
    // busy machine a few); a wait that ran in real time would take minutes.
    EXPECT_LT(first.seconds, REAL_SECONDS_LIMIT);
    printf("first start: %.3f s\n", first.seconds);
    std::string stored = Registry();
    EXPECT_NE(std::string::npos, stored.find("\"zzQTM\"=\"E:\\\\tova.exe\""));
    EXPECT_NE(std::string::npos, stored.find("\"inst_0\"=hex:00"));
    EXPECT_NE(std::string::npos, stored.find("\"inst_1\"=hex:02"));

    // The Run value starts the program after the logon: the notice counts down and the run
    // goes on with the other two.
    CResult second = Session("winxp", "wait 10000\nwait 120000\ndump state\n");
    EXPECT_EQ(0, second.status);
    EXPECT_EQ(0u, second.all.find("dialog\t162\tshown\ndialog\t162\tended\tok\ntitle="))
        << "the notice comes before the window is up";
    EXPECT_EQ(0u, Count(second.out, "infupdate"));
    EXPECT_EQ(1u, Count(second.out, "launch\tWinExec\t10\te:\\lan\\broadcom\\setup.exe"));
    EXPECT_EQ(1u, Count(second.out, "launch\tCreateProcess\t1\te:\\audio\\realtek\\setup.exe"));
    EXPECT_NE(std::string::npos,
              second.out.find("messagebox\tMsg\tDriver install finished !! You have to reboot "
                              "system !!\nexit\t0\n"));
    EXPECT_LT(second.seconds, REAL_SECONDS_LIMIT);
    printf("second start: %.3f s\n", second.seconds);
    std::string done = Registry();
    EXPECT_EQ(std::string::npos, done.find("QTM"));
    EXPECT_NE(std::string::npos, done.find("\"Realtek Audio\"=\"V5\""));
}

TEST_F(InstallFlowTest, TheAmrModemRestarts98SeAndInstallsAfterTheRestart)
{
    List("12", {"0;12;Chipset;99;No such chipset;%CDROM%None\\;setup.exe;V0",
                "1;12;LAN;12;AMR Modem;%CDROM%Network\\AMR\\;setup.exe;V1",
                "2;12;audio;14;Realtek Audio;%CDROM%Audio\\Realtek\\;setup.exe;V5"});
    CResult first = Session("win98se", RUN);
    EXPECT_EQ("restart\t2\nexit\t0\n", first.out) << "the installer waits for the restart";
    EXPECT_NE(std::string::npos, Registry().find("[HKEY_CURRENT_USER\\Software\\AMR]"));

    // After the restart the modem's installer runs, and the program makes way for it.
    CResult second = Session("win98se", "wait 10000\nwait 120000\n");
    EXPECT_NE(std::string::npos,
              second.out.find("launch\tWinExec\t10\tE:\\NETWORK\\AMR\\SETUP.EXE -S "
                              "-F2\"C:\\ZOV.LOG\"\te:\\Network\\AMR\nexit\t0\n"))
        << second.out;
    EXPECT_EQ(std::string::npos, Registry().find("Software\\AMR]"));

    // And the last start installs the rest and finishes.
    CResult third = Session("win98se", "wait 10000\nwait 120000\n");
    EXPECT_EQ(0u, Count(third.out, "AMR"));
    EXPECT_EQ(1u, Count(third.out, "realtek\\setup.exe"));
    EXPECT_NE(std::string::npos, third.out.find("Driver install finished"));
    EXPECT_LT(first.seconds + second.seconds + third.seconds, 3 * REAL_SECONDS_LIMIT);
    printf("three starts: %.3f s\n", first.seconds + second.seconds + third.seconds);
}

TEST_F(InstallFlowTest, ADisplayPackageThatMustRunAloneClosesTheWindowAndKeepsTheRun)
{
    List("16", {"1;16;Chipset;79;SiS VGA;%CDROM%SiS\\SiS650\\VGA\\Win2K_XP\\;setup.exe;V3",
                "2;16;audio;14;Realtek Audio;%CDROM%Audio\\Realtek\\;setup.exe;V5"});
    CResult first = Session("winxp", RUN + std::string("dump state\n"));
    EXPECT_EQ("launch\tWinExec\t10\te:\\SiS\\SiS650\\VGA\\Win2K_XP\\setup.exe -s "
              "-f2\"c:\\zov.log\"\te:\\SiS\\SiS650\\VGA\\Win2K_XP\n"
              "exit\t0\n",
              first.out);
    std::string stored = Registry();
    EXPECT_NE(std::string::npos, stored.find("\"inst_0\"=hex:00"));
    EXPECT_NE(std::string::npos, stored.find("\"inst_1\"=hex:02"));
    EXPECT_NE(std::string::npos, stored.find("\"SiS VGA\"=\"V3\""));
}

TEST_F(InstallFlowTest, ProgramLinesAndAKill)
{
    List("16", {"0;16;Chipset;99;No such chipset;%CDROM%None\\;setup.exe;V0",
                "2;16;LAN;12;Network Driver;%CDROM%LAN\\Broadcom\\;setup.exe;V7",
                "3;16;audio;14;Realtek Audio;%CDROM%Audio\\Realtek\\;setup.exe;V5"});
    // The network package takes its time and writes no log: the run waits for it, polling.
    CResult stuck = Session("winxp", "program broadcom runs=3000 log=never\n" + std::string(RUN) +
                                         "dump state\nkill\nclick 1 1\n");
    EXPECT_NE(std::string::npos, stuck.out.find("uiMode=0\n"));
    EXPECT_NE(std::string::npos, stuck.out.find("timer=2\t1000\n")) << "still polling";
    EXPECT_EQ("exit\tkilled\n", stuck.out.substr(stuck.out.size() - 12));
    // A polled package counts as finished as soon as it starts.
    EXPECT_NE(std::string::npos, Registry().find("\"inst_0\"=hex:00")) << "kept as it stood";
    EXPECT_NE(std::string::npos, Registry().find("\"inst_1\"=hex:02"));

    // A setup that cannot be started stops the run where it is.
    CResult failing =
        Session("winxp", "program realtek fail\nkey enter\nwait 60000\ndump state\n");
    EXPECT_NE(std::string::npos, failing.all.find("dialog\t162\tended\tok\n"));
    EXPECT_NE(std::string::npos, failing.out.find("\te:\\Audio\\Realtek\tfailed\n"));
    EXPECT_NE(std::string::npos, failing.out.find("uiMode=1\n"));
    EXPECT_EQ(std::string::npos, failing.out.find("timer=")) << "nothing armed any more";
}

// A wait is its whole time: the notice's countdown, then the main dialog's timers run the
// stored run on, so one long wait carries the run to its end, as a split one does.
TEST_F(InstallFlowTest, AWaitRunsOnPastTheEndOfTheNotice)
{
    List("16", {"0;16;Chipset;99;No such chipset;%CDROM%None\\;setup.exe;V0",
                "3;16;audio;14;Realtek Audio;%CDROM%Audio\\Realtek\\;setup.exe;V5"});
    const std::string stored =
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\QTM]\n\"inst_0\"=hex:02\n\"item\"=hex:01\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
        "\"zzQTM\"=\"E:\\\\tova.exe\"\n";
    WriteFile(root + "/registry.reg", stored);
    CResult whole = Session("winxp", "wait 60000\ndump state\n");
    EXPECT_EQ(0u, whole.all.find("dialog\t162\tshown\ndialog\t162\tended\tok\ntitle="));
    EXPECT_EQ("launch\tCreateProcess\t1\te:\\audio\\realtek\\setup.exe -s "
              "-f2\"c:\\zov.log\"\te:\\Audio\\Realtek\n"
              "messagebox\tMsg\tDriver install finished !! You have to reboot system !!\n"
              "exit\t0\n",
              whole.out)
        << "the run is done within the wait, so dump state is never read";

    WriteFile(root + "/registry.reg", stored);
    CResult split = Session("winxp", "wait 10000\nwait 50000\ndump state\n");
    EXPECT_EQ(whole.all, split.all);
}

TEST_F(InstallFlowTest, EscapeAtTheNoticeForgetsTheRun)
{
    List("16", {"0;16;Chipset;99;No such chipset;%CDROM%None\\;setup.exe;V0",
                "3;16;audio;14;Realtek Audio;%CDROM%Audio\\Realtek\\;setup.exe;V5"});
    WriteFile(root + "/registry.reg",
              "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\QTM]\n\"inst_0\"=hex:02\n\"item\"=hex:01\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
              "\"zzQTM\"=\"E:\\\\tova.exe\"\n");
    CResult result = Session("winxp", "wait 1500\nkey escape\nclick 1 1\n");
    EXPECT_EQ("dialog\t162\tshown\ndialog\t162\tended\tcancel\nexit\t0\n", result.all);
    EXPECT_EQ(std::string::npos, Registry().find("QTM"));
}

}  // namespace
