// Nothing lost, nothing twice: an installation run is cut off, as at a power cut, at every
// point where it leaves a trace (each registry write, each package started, each result log
// written), then started again on what it left, as the Run value starts it after a logon, until
// the run is over. Every chosen driver ends up installed, and no package starts more than
// twice (only the one that was running when the power went is started again).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "app/setup_dialog.h"
#include "install/sequencer.h"
#include "platform/sim/sim_machine.h"
#include "ui/rapid_setup.h"

namespace {

const char LIST[] =
    "1;16;Chipset;79;Chipset INF Update;%CDROM%Chipset\\Intel\\INFUPDATE\\;setup.exe;V5.00\r\n"
    "2;16;LAN;12;Network Driver;%CDROM%LAN\\Broadcom\\;setup.exe;V7.1\r\n"
    "3;16;audio;14;Realtek Audio;%CDROM%Audio\\Realtek\\;setup.exe;V5.10\r\n"
    "4;16;USB2.0;13;USB 2.0 Driver;%CDROM%Chipset\\USB20\\2KXP\\;setup.exe;V5.1\r\n"
    ";------------------------------ end of Windows XP\r\n";
const char* const PACKAGES[] = {"Chipset/Intel/INFUPDATE", "LAN/Broadcom", "Audio/Realtek",
                                "Chipset/USB20/2KXP"};
const char* const CAPTIONS[] = {"Chipset INF Update", "Network Driver", "Realtek Audio",
                                "USB 2.0 Driver"};
const int PACKAGE_COUNT = 4;
// More starts than this means the run goes round in circles.
const int MAX_STARTS = 12;

std::string MakeTemp()
{
    char pattern[] = "/tmp/tova-kill-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? made : "";
}

void WriteFile(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

bool Exists(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (f) fclose(f);
    return f != nullptr;
}

// What a power cut leaves: the registry and the files of drive C:.
struct CSnapshot {
    std::string registry;
    bool resultLog = false;
};

// One start of the program on the simulated PC, the first one clicking Rapid Setup and Start,
// every later one left to the resume notice; it counts the traces the run leaves and stops
// the world at the one numbered killAt (0: never).
class CProgramStart : public CSimModalLoop {
public:
    // killAt counts the traces of a whole chain of starts: traces (shared by the chain) holds
    // how many were left before this start.
    CProgramStart(const std::string& cd, const std::string& c, const CSnapshot& before,
                  bool clickStart, int killAt, int* chainTraces, std::map<std::string, int>* starts)
        : traces(*chainTraces), cdDir(cd), cDir(c), firstStart(clickStart), killPoint(killAt),
          startsPerPackage(starts)
    {
        FixedText<256> error;
        machine.board.LoadFile(TOVA_SOURCE_DIR "/demo/boards/ich4-845pe.board", &error);
        machine.system.SelectOs("winxp");
        machine.files.MapDrive('E', cdDir.c_str());
        machine.files.MapDrive('C', cDir.c_str());
        machine.files.SetProgramFile("E:\\tova.exe");
        if (!before.registry.empty()) machine.registry.LoadRegText(before.registry.c_str(), &error);
        if (before.resultLog) WriteFile(cDir + "/zov.log", "[ResponseResult]\r\n");
        machine.registry.SetWriteHook([this]() { Trace(); });
        machine.processes.SetLaunchHook([this](const CSimLaunch& launch) { Started(launch); });
        machine.appHost.SetModalLoop(this);
    }

    // Runs the program; true when it was cut off.
    bool Run()
    {
        CPlatform platform = machine.Platform();
        CSetupApp app(platform, machine.appHost);
        app.InitInstance();
        return killed;
    }

    void RunDialog(uint32_t, CDialogHandler& handler) override
    {
        CSetupDlg& dialog = static_cast<CSetupDlg&>(handler);
        if (killed || dialog.ProgramEnded()) return;
        if (firstStart) {
            CProgramEnd end(machine.processes, dialog.data.programEnded);
            CRapidSetup rapid(dialog.platform, dialog.state, end);
            rapid.Panel0Action(7);
            rapid.Panel0Action(8);
        }
        int closes = 0;
        uint32_t fired = 0;
        while (!killed && !dialog.ProgramEnded() && machine.clock.ArmedCount() > 0) {
            if (!machine.clock.FireNext(3600 * 1000, &fired)) break;
            if (fired && fired < SIM_NESTED_TIMER_BASE && !killed) dialog.OnTimer(fired);
            if (!killed && !dialog.ProgramEnded() && closes < machine.window.CloseRequests()) {
                ++closes;
                dialog.OnClose();
                break;
            }
        }
    }
    void RunNestedDialog(uint32_t, CDialogHandler&, CSimNestedDialog&) override {}

    CSimMachine machine;
    CSnapshot snapshot;
    int& traces;

private:
    void Trace()
    {
        if (killed) return;
        ++traces;
        if (traces == killPoint) {
            killed = true;
            snapshot.registry = machine.registry.SaveRegText();
            snapshot.resultLog = Exists(cDir + "/zov.log");
        }
    }
    void Started(const CSimLaunch& launch)
    {
        if (killed) return;
        for (int p = 0; p < PACKAGE_COUNT; ++p) {
            std::string folder = PACKAGES[p];
            for (char& ch : folder) ch = ch == '/' ? '\\' : static_cast<char>(tolower(ch));
            if (launch.commandLine.find(folder) != std::string::npos) {
                ++(*startsPerPackage)[PACKAGES[p]];
            }
        }
        Trace();
        // The package writes its result log half a second later.
        std::string log = cDir + "/zov.log";
        machine.clock.Schedule(launch.startedAt + 500, [this, log]() {
            if (killed) return;
            WriteFile(log, "[ResponseResult]\r\nResultCode=0\r\n");
            Trace();
        });
    }

    std::string cdDir;
    std::string cDir;
    bool firstStart;
    int killPoint;
    bool killed = false;
    std::map<std::string, int>* startsPerPackage;
};

// Whether a run is stored: the resume key (the Run value alone starts nothing).
bool RunStored(const std::string& registry)
{
    return registry.find("[HKEY_CURRENT_USER\\Software\\QTM]") != std::string::npos;
}

bool AllInstalled(const std::string& registry)
{
    for (const char* caption : CAPTIONS) {
        if (registry.find(caption) == std::string::npos) return false;
    }
    return true;
}

class KillPointsTest : public ::testing::Test {
protected:
    KillPointsTest() : root(MakeTemp())
    {
        std::string cd = root + "/cd";
        system(("mkdir -p '" + cd + "' '" + root + "/c'").c_str());
        WriteFile(cd + "/id.log", "");
        WriteFile(cd + "/tova.txt", LIST);
        WriteFile(cd + "/bmp.ini", "[Common]\r\ntotal=7\r\n[Panel0]\r\ntotal=3\r\n");
        for (const char* package : PACKAGES) {
            system(("mkdir -p '" + cd + "/" + package + "'").c_str());
        }
    }
    ~KillPointsTest() override { system(("rm -rf '" + root + "'").c_str()); }

    // The first start clicks Rapid Setup and Start; then the program is started again and
    // again on what the last start left, as the Run value does after a logon; where no run is
    // stored any more and drivers are missing, the user starts Rapid Setup again. The power is
    // cut once, at the trace killAt of the whole chain (0: never). Returns the registry at the
    // end; *traces counts the chain's traces, *killed says whether the cut came.
    std::string RunChain(int killAt, std::map<std::string, int>* starts, int* traces,
                         bool* killed)
    {
        system(("rm -f '" + root + "/c/'*").c_str());
        *traces = 0;
        *killed = false;
        CSnapshot state;
        for (int start = 0; start < MAX_STARTS; ++start) {
            bool stored = RunStored(state.registry);
            if (start > 0 && !stored && AllInstalled(state.registry)) break;
            CProgramStart next(root + "/cd", root + "/c", state, start == 0 || !stored,
                               *killed ? 0 : killAt, traces, starts);
            if (next.Run()) {
                *killed = true;
                state = next.snapshot;
            } else {
                state.registry = next.machine.registry.SaveRegText();
                state.resultLog = Exists(root + "/c/zov.log");
            }
        }
        return state.registry;
    }

    std::string root;
};

TEST_F(KillPointsTest, ARunCutOffAnywhereEndsWithEveryDriverInstalledOnce)
{
    // The run without a cut, to know how many traces it leaves over all its starts.
    std::map<std::string, int> uncut;
    int traces = 0;
    bool killed = false;
    ASSERT_TRUE(AllInstalled(RunChain(0, &uncut, &traces, &killed)));
    ASSERT_GT(traces, 20);
    for (const char* package : PACKAGES) EXPECT_EQ(1, uncut[package]) << package;

    int killPoints = 0;
    for (int killAt = 1; killAt <= traces; ++killAt) {
        std::map<std::string, int> starts;
        int chainTraces = 0;
        std::string finalRegistry = RunChain(killAt, &starts, &chainTraces, &killed);
        if (!killed) continue;
        ++killPoints;
        EXPECT_FALSE(RunStored(finalRegistry)) << "kill " << killAt << ": run over";
        EXPECT_EQ(std::string::npos, finalRegistry.find("zzQTM")) << "kill " << killAt;
        EXPECT_TRUE(AllInstalled(finalRegistry)) << "kill " << killAt;
        int twice = 0;
        for (int p = 0; p < PACKAGE_COUNT; ++p) {
            int n = starts[PACKAGES[p]];
            EXPECT_GE(n, 1) << "kill " << killAt << ": " << PACKAGES[p];
            EXPECT_LE(n, 2) << "kill " << killAt << ": " << PACKAGES[p];
            twice += n == 2 ? 1 : 0;
        }
        EXPECT_LE(twice, 1) << "kill " << killAt << ": only the running package is repeated";
    }
    printf("kill points tried: %d of %d traces\n", killPoints, traces);
    EXPECT_EQ(traces, killPoints);
}

}  // namespace
