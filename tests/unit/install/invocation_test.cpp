// Starting driver packages: their kind from the folder, their command lines, the stale result
// log, the run-and-wait loop and the bounded waits on "c:\zov.log".
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hw/hw_state.h"
#include "install/invocation.h"
#include "platform/sim/sim_machine.h"
#include "unit/platform/temp_dir.h"

namespace {

// The file service of the simulated machine, with every call the invocation makes noted with
// its virtual time, and changes to the disk that happen at given times (what an installer
// running beside the program does).
class CWatchedFiles : public CFilesForwarder {
public:
    CWatchedFiles(CSimFiles& inner, CSimClock& clock) : CFilesForwarder(inner), clock(clock) {}

    void At(uint64_t ms, std::function<void()> action) { actions.push_back({ms, action}); }
    // How many calls of a kind ("open", "read", "delete") were made, and when.
    std::vector<uint64_t> Times(const std::string& call) const
    {
        std::vector<uint64_t> times;
        for (const auto& c : calls) {
            if (c.first == call) times.push_back(c.second);
        }
        return times;
    }

    bool CanOpenForReading(const char* path) override
    {
        Note("open");
        return inner.CanOpenForReading(path);
    }
    bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes) override
    {
        Note("read");
        return inner.ReadWholeFile(path, maxBytes, bytes);
    }
    bool DeleteFile(const char* path) override
    {
        Note("delete");
        return inner.DeleteFile(path);
    }

private:
    void Note(const char* call)
    {
        for (auto& a : actions) {
            if (a.action && clock.Now() >= a.at) {
                std::function<void()> run = a.action;
                a.action = nullptr;
                run();
            }
        }
        calls.push_back({call, clock.Now()});
    }

    struct CAction {
        uint64_t at;
        std::function<void()> action;
    };
    CSimClock& clock;
    std::vector<CAction> actions;
    std::vector<std::pair<std::string, uint64_t>> calls;
};

class CTickRecorder : public CRunTickSink {
public:
    explicit CTickRecorder(CSimClock& clock) : clock(clock) {}
    void OnRunTick() override { ticks.push_back(clock.Now()); }

    CSimClock& clock;
    std::vector<uint64_t> ticks;
};

class InvocationTest : public ::testing::Test {
protected:
    InvocationTest()
        : files(machine.files, machine.clock),
          invocation(files, machine.processes, machine.system)
    {
        disk.MakeDir("c");
        disk.MakeDir("e/LAN");
        machine.files.MapDrive('C', (disk.Path() + "/c").c_str());
        machine.files.MapDrive('E', (disk.Path() + "/e").c_str());
        machine.files.SetCurrentDirectory("E:\\LAN");
    }
    void WriteLog(const std::string& text) { disk.Write("c/zov.log", text); }
    bool LogExists() const { return disk.Exists("c/zov.log"); }
    uint64_t Now() const { return machine.clock.Now(); }

    CTempDir disk;
    CSimMachine machine;
    CWatchedFiles files;
    CInvocation invocation;
};

struct CClassCase {
    const char* command;
    uint8_t raidRowCount;
    uint8_t osCode;
    uint8_t installKind;
    int flagVariant;
};

void ExpectClasses(const std::vector<CClassCase>& cases)
{
    for (const CClassCase& c : cases) {
        CRowClass row = ClassifyRow(c.command, c.raidRowCount, c.osCode);
        EXPECT_EQ(c.installKind, row.installKind)
            << c.command << " raid " << int(c.raidRowCount) << " os " << int(c.osCode);
        EXPECT_EQ(c.flagVariant, row.flagVariant) << c.command;
    }
}

std::string Build(uint8_t installKind, int flagVariant, const char* command, uint8_t osCode)
{
    CommandLineText line = "left over";
    BuildCommandLine(installKind, flagVariant, command, osCode, &line);
    return line.c_str();
}

}  // namespace

TEST(ClassifyRowTest, EachFolderChoosesItsKindInAnyLetterCase)
{
    const int NONE = FLAG_VARIANT_NONE;
    ExpectClasses({
        {"E:\\Chipset\\Intel\\Setup.exe", 0, OS_WINXP, INSTALL_KIND_PLAIN, NONE},
        {"E:\\Chipset\\InfUpdate\\Setup.exe", 0, OS_WINXP, INSTALL_KIND_FLAGGED, 0},
        {"e:\\storage\\iaa\\setup.exe", 0, OS_WINXP, INSTALL_KIND_FLAGGED, 1},
        {"E:\\VGA\\4in1\\SETUP.EXE", 0, OS_WIN98SE, INSTALL_KIND_FLAGGED, 2},
        {"E:\\Storage\\IAA_Raid\\Setup.exe", 0, OS_WIN2000, INSTALL_KIND_FLAGGED, 3},
        {"E:\\Network\\Intel\\Setup.exe", 0, OS_WINXP, INSTALL_KIND_INTEL_LAN, NONE},
        {"E:\\NETWORK\\INTELPRO\\SETUP.EXE", 0, OS_WIN98SE, INSTALL_KIND_INTEL_LAN, NONE},
        {"e:\\audio\\sis7012\\setup.exe", 0, OS_WINXP, INSTALL_KIND_NO_WAIT, NONE},
        {"E:\\DRIVERS\\ADI\\WIN NT\\SETUP.EXE", 0, OS_NT4, INSTALL_KIND_NO_WAIT, NONE},
        {"E:\\Chipset\\VIA\\USB2.0\\Setup.exe", 0, OS_WIN98SE, INSTALL_KIND_VIA_USB2, NONE},
        {"E:\\Chipset\\VIA\\USB2.0\\Setup.exe", 0, OS_WINME, INSTALL_KIND_VIA_USB2, NONE},
        // Only 98 SE and Me count as 9x here; elsewhere the folder is an ordinary no-wait one.
        {"E:\\Chipset\\VIA\\USB2.0\\Setup.exe", 0, OS_WINXP, INSTALL_KIND_NO_WAIT, NONE},
        {"E:\\Chipset\\VIA\\USB2.0\\Setup.exe", 0, OS_WIN98, INSTALL_KIND_NO_WAIT, NONE},
        // Without a leading backslash the marker matches inside a longer folder name.
        {"E:\\XCHIPSET\\VIA\\USB2.0A\\SETUP.EXE", 0, OS_WINME, INSTALL_KIND_VIA_USB2, NONE},
        {"E:\\SiS\\SiS635_645_650_733_735\\Setup.exe", 0, OS_WINXP, INSTALL_KIND_SIS_AGP, NONE},
    });
}

TEST(ClassifyRowTest, RaidKindsOnlyWithTwoRaidRowsOn98SeAndMe)
{
    const int NONE = FLAG_VARIANT_NONE;
    const char* promise = "E:\\Other\\Promise\\Win98\\Setup.exe";
    const char* sil = "E:\\OTHER\\SII\\SI3112\\WIN98\\SETUP.EXE";
    const char* ite = "e:\\other\\ite_raid\\w98\\setup.exe";
    ExpectClasses({
        {promise, 2, OS_WIN98SE, INSTALL_KIND_PROMISE_RAID, NONE},
        {promise, 3, OS_WINME, INSTALL_KIND_PROMISE_RAID, NONE},
        {sil, 2, OS_WIN98SE, INSTALL_KIND_SIL_RAID, NONE},
        {ite, 2, OS_WINME, INSTALL_KIND_ITE_RAID, NONE},
        // With one RAID row, or on another system, the remaining rules decide.
        {promise, 1, OS_WIN98SE, INSTALL_KIND_PLAIN, NONE},
        {promise, 2, OS_WINXP, INSTALL_KIND_PLAIN, NONE},
        {promise, 2, OS_WIN98, INSTALL_KIND_PLAIN, NONE},
        {sil, 1, OS_WIN98SE, INSTALL_KIND_NO_WAIT, NONE},  // "\SI3112\" is a no-wait folder
        {ite, 2, OS_WIN2000, INSTALL_KIND_PLAIN, NONE},
        // The Promise RAID marker ends with a backslash, unlike the RAID row count's.
        {"E:\\OTHER\\PROMISE2\\SETUP.EXE", 2, OS_WIN98SE, INSTALL_KIND_PLAIN, NONE},
        // Later RAID tests override earlier ones.
        {"E:\\OTHER\\PROMISE\\OTHER\\SII\\SI3112\\SETUP.EXE", 2, OS_WIN98SE,
         INSTALL_KIND_SIL_RAID, NONE},
        {"E:\\OTHER\\SII\\SI3112\\OTHER\\ITE_RAID\\OTHER\\PROMISE\\SETUP.EXE", 2, OS_WIN98SE,
         INSTALL_KIND_ITE_RAID, NONE},
    });
}

TEST(ClassifyRowTest, OverridesFollowTheOrderOfTheRules)
{
    const int NONE = FLAG_VARIANT_NONE;
    ExpectClasses({
        // Intel LAN skips the flagged, RAID, USB 2.0 and no-wait tests.
        {"E:\\NETWORK\\INTEL\\INFUPDATE\\SETUP.EXE", 0, OS_WINXP, INSTALL_KIND_INTEL_LAN, NONE},
        {"E:\\NETWORK\\INTEL\\USB20\\2KXP\\SETUP.EXE", 0, OS_WINXP, INSTALL_KIND_INTEL_LAN, NONE},
        {"E:\\OTHER\\PROMISE\\NETWORK\\INTEL\\SETUP.EXE", 2, OS_WIN98SE, INSTALL_KIND_INTEL_LAN,
         NONE},
        // ... but not the SiS AGP test, which overrides everything, a no-wait entry too.
        {"E:\\NETWORK\\INTEL\\SIS\\SIS635_645_650_733_735\\SETUP.EXE", 0, OS_WINXP,
         INSTALL_KIND_SIS_AGP, NONE},
        {"E:\\SIS\\SIS635_645_650_733_735\\AGP113\\SETUP.EXE", 0, OS_WIN2000, INSTALL_KIND_SIS_AGP,
         NONE},
        {"E:\\CHIPSET\\INFUPDATE\\SIS\\SIS635_645_650_733_735\\SETUP.EXE", 0, OS_WINXP,
         INSTALL_KIND_SIS_AGP, 0},
        // The later of several flagged folders wins, whatever their order in the path.
        {"E:\\CHIPSET\\INFUPDATE\\IAA\\SETUP.EXE", 0, OS_WINXP, INSTALL_KIND_FLAGGED, 1},
        {"E:\\CHIPSET\\IAA_RAID\\INFUPDATE\\SETUP.EXE", 0, OS_WINXP, INSTALL_KIND_FLAGGED, 3},
        {"E:\\VGA\\4IN1\\IAA\\SETUP.EXE", 0, OS_WINXP, INSTALL_KIND_FLAGGED, 2},
        // A flagged folder keeps a no-wait one from counting.
        {"E:\\CHIPSET\\VIA\\VT8601\\4IN1\\SETUP.EXE", 0, OS_WINXP, INSTALL_KIND_FLAGGED, 2},
        // RAID and USB 2.0 on 9x override a flagged folder, which keeps its variant.
        {"E:\\OTHER\\PROMISE\\IAA\\SETUP.EXE", 2, OS_WIN98SE, INSTALL_KIND_PROMISE_RAID, 1},
        {"E:\\CHIPSET\\VIA\\USB2.0\\INFUPDATE\\SETUP.EXE", 0, OS_WINME, INSTALL_KIND_VIA_USB2, 0},
        {"E:\\OTHER\\PROMISE\\CHIPSET\\VIA\\USB2.0\\SETUP.EXE", 2, OS_WIN98SE,
         INSTALL_KIND_VIA_USB2, NONE},
        // A RAID kind keeps a no-wait folder from counting.
        {"E:\\OTHER\\SII\\SI3112\\SETUP.EXE", 2, OS_WINME, INSTALL_KIND_SIL_RAID, NONE},
    });
}

TEST(BuildCommandLineTest, PlainKindsAppendTheLogSwitchToThePathAsItIs)
{
    const char* path = "E:\\Chipset\\Via\\setup.exe";
    const std::string expected = "E:\\Chipset\\Via\\setup.exe -s -f2\"c:\\zov.log\"";
    EXPECT_EQ(expected, Build(INSTALL_KIND_PLAIN, FLAG_VARIANT_NONE, path, OS_WINXP));
    EXPECT_EQ(expected, Build(INSTALL_KIND_INTEL_LAN, FLAG_VARIANT_NONE, path, OS_WIN98SE));
    EXPECT_EQ(expected, Build(INSTALL_KIND_NO_WAIT, FLAG_VARIANT_NONE, path, OS_WINME));
}

TEST(BuildCommandLineTest, FlaggedSwitchesByVariantAndSystem)
{
    const char* p = "E:\\Chipset\\InfUpdate\\Setup.exe";
    const std::string infNt = std::string(p) + " -a -s -b -f2\"c:\\zov.log\"";
    const std::string inf9x = std::string(p) + " -a -s -f2\"c:\\zov.log\"";
    EXPECT_EQ(infNt, Build(INSTALL_KIND_FLAGGED, 0, p, OS_WIN2000));
    EXPECT_EQ(infNt, Build(INSTALL_KIND_FLAGGED, 0, p, OS_WINXP));
    EXPECT_EQ(infNt, Build(INSTALL_KIND_FLAGGED, 0, p, OS_NT4));
    EXPECT_EQ(infNt, Build(INSTALL_KIND_FLAGGED, 0, p, OS_WIN98)) << "98 is not 9x here";
    EXPECT_EQ(inf9x, Build(INSTALL_KIND_FLAGGED, 0, p, OS_WIN98SE));
    EXPECT_EQ(inf9x, Build(INSTALL_KIND_FLAGGED, 0, p, OS_WINME));

    for (uint8_t os : {OS_WIN98SE, OS_WINXP}) {
        const std::string iaa = std::string(p) + " -a -s -f2\"c:\\zov.log\"";
        EXPECT_EQ(iaa, Build(INSTALL_KIND_FLAGGED, 1, p, os));
        EXPECT_EQ(std::string(p) + " -b -s -f2\"c:\\zov.log\"",
                  Build(INSTALL_KIND_FLAGGED, 2, p, os));
        EXPECT_EQ(iaa, Build(INSTALL_KIND_FLAGGED, 3, p, os));
    }
}

TEST(BuildCommandLineTest, ResponseFileComesFromThePackagesOwnFolder)
{
    const char* promise = "E:\\OTHER\\PROMISE\\WIN98\\SETUP.EXE";
    CRowClass row = ClassifyRow(promise, 2, OS_WIN98SE);
    EXPECT_EQ(
        "E:\\OTHER\\PROMISE\\WIN98\\SETUP.EXE -s -f1\"E:\\OTHER\\PROMISE\\WIN98\\setup1.iss\" "
        "-f2\"c:\\zov.log\"",
        Build(row.installKind, row.flagVariant, promise, OS_WIN98SE));

    // Every response-file kind, the folder in its own letter case.
    const char* sis = "e:\\SiS\\Agp\\Setup.exe";
    const std::string expected = "e:\\SiS\\Agp\\Setup.exe -s -f1\"e:\\SiS\\Agp\\setup1.iss\" "
                                 "-f2\"c:\\zov.log\"";
    for (uint8_t kind : {INSTALL_KIND_PROMISE_RAID, INSTALL_KIND_SIL_RAID, INSTALL_KIND_VIA_USB2,
                         INSTALL_KIND_SIS_AGP, INSTALL_KIND_ITE_RAID}) {
        EXPECT_EQ(expected, Build(kind, FLAG_VARIANT_NONE, sis, OS_WINXP)) << int(kind);
    }
    // A bare file name has no folder: the response file is looked for in the current one.
    EXPECT_EQ("SETUP.EXE -s -f1\"setup1.iss\" -f2\"c:\\zov.log\"",
              Build(INSTALL_KIND_SIS_AGP, FLAG_VARIANT_NONE, "SETUP.EXE", OS_WINXP));
}

// The longest path a row can hold appears twice in the response-file line; the result-log
// switch at its end must survive.
TEST(BuildCommandLineTest, TheLongestPathsResponseFileLineIsWhole)
{
    std::string folder = "E:\\";
    while (folder.size() < PANEL_COMMAND_SIZE - 1 - 10) folder += "ABCDEFGH\\";
    folder.resize(PANEL_COMMAND_SIZE - 1 - 10);
    folder += "\\";
    std::string path = folder + "SETUP.EXE";
    ASSERT_EQ(PANEL_COMMAND_SIZE - 1, path.size());
    std::string line = Build(INSTALL_KIND_PROMISE_RAID, FLAG_VARIANT_NONE, path.c_str(), 12);
    EXPECT_EQ(path + " -s -f1\"" + folder + "setup1.iss\" -f2\"c:\\zov.log\"", line);

    // A path ending in a backslash is its own folder, the longest case of all.
    std::string bare(PANEL_COMMAND_SIZE - 2, 'X');
    bare += "\\";
    line = Build(INSTALL_KIND_SIS_AGP, FLAG_VARIANT_NONE, bare.c_str(), OS_WINXP);
    EXPECT_EQ(bare + " -s -f1\"" + bare + "setup1.iss\" -f2\"c:\\zov.log\"", line);
}

TEST_F(InvocationTest, AStaleLogIsDeletedBeforeTheNextPackage)
{
    WriteLog("[ResponseResult]\nResultCode=0\n");
    EXPECT_TRUE(invocation.ClearResultLog(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_FALSE(LogExists());
    EXPECT_EQ(0u, Now());
    // Nothing to delete is no error either.
    EXPECT_TRUE(invocation.ClearResultLog(RESULT_LOG_WAIT_LIMIT_MS));

    // The next package does not write a log: the old one must not complete it.
    EXPECT_TRUE(invocation.RunAndWait("E:\\LAN\\setup.exe -s", nullptr));
    EXPECT_FALSE(invocation.WaitForResultLog(4000));
    // The one after does.
    machine.processes.SetLaunchHook([this](const CSimLaunch&) { WriteLog("ResultCode=0"); });
    EXPECT_TRUE(invocation.RunAndWait("E:\\LAN\\setup.exe -s", nullptr));
    EXPECT_TRUE(invocation.WaitForResultLog(4000));
}

TEST_F(InvocationTest, ALogThatCannotBeDeletedIsRetriedEveryTwoSecondsUpToTheLimit)
{
    WriteLog("x");
    ASSERT_TRUE(machine.files.SetFileAttributes("c:\\zov.log", SIM_FILE_ATTRIBUTE_READONLY));
    // Its installer lets go of it after five seconds.
    files.At(5000, [this] {
        machine.files.SetFileAttributes("c:\\zov.log", SIM_FILE_ATTRIBUTE_NORMAL);
    });
    EXPECT_TRUE(invocation.ClearResultLog(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_FALSE(LogExists());
    EXPECT_EQ((std::vector<uint64_t>{0, 2000, 4000, 6000}), files.Times("delete"));
    EXPECT_EQ(6000u, Now());

    // One that stays read-only: given up once the pauses reach the limit.
    WriteLog("x");
    ASSERT_TRUE(machine.files.SetFileAttributes("c:\\zov.log", SIM_FILE_ATTRIBUTE_READONLY));
    uint64_t start = Now();
    EXPECT_FALSE(invocation.ClearResultLog(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_EQ(start + RESULT_LOG_WAIT_LIMIT_MS, Now());
    EXPECT_EQ(4u + 1 + RESULT_LOG_WAIT_LIMIT_MS / 2000, files.Times("delete").size());
    EXPECT_TRUE(LogExists());

    // A limit between two retries is not overstepped.
    start = Now();
    EXPECT_FALSE(invocation.ClearResultLog(5000));
    EXPECT_EQ(start + 4000, Now());
    EXPECT_FALSE(invocation.ClearResultLog(0));
    EXPECT_EQ(start + 4000, Now());
}

TEST_F(InvocationTest, RunAndWaitTicksOnceASecondUntilThePackageEnds)
{
    CSimProcessScript script;
    script.runMs = 3500;
    script.exitCode = 1;  // not looked at
    machine.processes.QueueScript(script);
    CTickRecorder ticks(machine.clock);
    EXPECT_TRUE(invocation.RunAndWait("e:\\lan\\setup.exe -s -f2\"c:\\zov.log\"", &ticks));
    EXPECT_EQ((std::vector<uint64_t>{1000, 2000, 3000, 3500}), ticks.ticks);
    EXPECT_EQ(0u, machine.processes.OpenProcessCount()) << "the handle is closed";
    ASSERT_EQ(1u, machine.processes.Launches().size());
    const CSimLaunch& launch = machine.processes.Launches()[0];
    EXPECT_EQ(SIM_LAUNCH_CREATE_PROCESS, launch.kind);
    EXPECT_EQ("e:\\lan\\setup.exe -s -f2\"c:\\zov.log\"", launch.commandLine);
    EXPECT_EQ("", launch.directory) << "the current folder, the package's";
    ASSERT_FALSE(machine.events.Lines().empty());
    EXPECT_EQ("launch\tCreateProcess\t1\te:\\lan\\setup.exe -s -f2\"c:\\zov.log\"\tE:\\LAN",
              machine.events.Lines().back());

    // A package that ends at once still gets its one tick.
    ticks.ticks.clear();
    EXPECT_TRUE(invocation.RunAndWait("E:\\LAN\\SETUP.EXE", &ticks));
    EXPECT_EQ((std::vector<uint64_t>{3500}), ticks.ticks);
}

TEST_F(InvocationTest, RunAndWaitEndsWithAPackageWhoseExitCodeIsStillActive)
{
    CSimProcessScript script;
    script.runMs = 2500;
    script.exitCode = INVOCATION_STILL_ACTIVE;
    machine.processes.QueueScript(script);
    CTickRecorder ticks(machine.clock);
    EXPECT_TRUE(invocation.RunAndWait("E:\\LAN\\SETUP.EXE", &ticks));
    EXPECT_EQ((std::vector<uint64_t>{1000, 2000, 2500}), ticks.ticks);
    EXPECT_EQ(0u, machine.processes.OpenProcessCount());
}

TEST_F(InvocationTest, RunAndWaitFailsWhenThePackageCannotBeCreated)
{
    CSimProcessScript missing;
    missing.startFails = true;
    machine.processes.QueueScript(missing);
    CTickRecorder ticks(machine.clock);
    EXPECT_FALSE(invocation.RunAndWait("E:\\LAN\\MISSING.EXE", &ticks));
    EXPECT_TRUE(ticks.ticks.empty());
    EXPECT_EQ(0u, Now());
    EXPECT_EQ(0u, machine.processes.OpenProcessCount());
}

TEST_F(InvocationTest, RunDetachedStartsWithTheDefaultShowAndReturnsAtOnce)
{
    CSimProcessScript slow;
    slow.runMs = 60000;
    machine.processes.QueueScript(slow);
    EXPECT_TRUE(invocation.RunDetached("e:\\lan\\setup.exe -s"));
    EXPECT_EQ(0u, Now());
    CSimProcessScript missing;
    missing.startFails = true;
    machine.processes.QueueScript(missing);
    EXPECT_FALSE(invocation.RunDetached("e:\\lan\\missing.exe"));
    ASSERT_EQ(2u, machine.processes.Launches().size());
    for (const CSimLaunch& launch : machine.processes.Launches()) {
        EXPECT_EQ(SIM_LAUNCH_WINEXEC, launch.kind);
        EXPECT_EQ(10u, launch.show);
    }
    EXPECT_EQ("e:\\lan\\setup.exe -s", machine.processes.Launches()[0].commandLine);
}

TEST_F(InvocationTest, WaitForResultLogPollsEveryTwoSecondsUntilTheLimit)
{
    WriteLog("");
    EXPECT_TRUE(invocation.WaitForResultLog(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_EQ(0u, Now()) << "a log that is there ends the wait at once";
    ASSERT_TRUE(machine.files.DeleteFile("c:\\zov.log"));

    files.At(5000, [this] { WriteLog("done"); });
    EXPECT_TRUE(invocation.WaitForResultLog(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_EQ((std::vector<uint64_t>{0, 0, 2000, 4000, 6000}), files.Times("open"));
    EXPECT_EQ(6000u, Now());
    ASSERT_TRUE(machine.files.DeleteFile("c:\\zov.log"));

    uint64_t start = Now();
    EXPECT_FALSE(invocation.WaitForResultLog(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_EQ(start + RESULT_LOG_WAIT_LIMIT_MS, Now());
    EXPECT_EQ(5u + 1 + RESULT_LOG_WAIT_LIMIT_MS / 2000, files.Times("open").size());
}

TEST_F(InvocationTest, WaitForResultCodeReadsEverySecondUntilTheKeyOrTheLimit)
{
    // The key there at once: one read and the pause after it.
    WriteLog("[ResponseResult]\r\nResultCode=0\r\n");
    EXPECT_TRUE(invocation.WaitForResultCode(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_EQ(1000u, Now());

    // No log first, then one without the key, then the installer finishes writing it.
    ASSERT_TRUE(machine.files.DeleteFile("c:\\zov.log"));
    uint64_t start = Now();
    files.At(start + 2500, [this] { WriteLog("[ResponseResult]\r\n"); });
    files.At(start + 4500, [this] { WriteLog("[ResponseResult]\r\nResultCode=-3\r\n"); });
    EXPECT_TRUE(invocation.WaitForResultCode(RESULT_LOG_WAIT_LIMIT_MS));
    std::vector<uint64_t> reads = files.Times("read");
    ASSERT_EQ(7u, reads.size());
    EXPECT_EQ(start + 5000, reads.back());
    EXPECT_EQ(start + 6000, Now());

    // A key the log never gets: given up at the limit.
    WriteLog("[ResponseResult]\r\nresultcode=0\r\n");
    start = Now();
    EXPECT_FALSE(invocation.WaitForResultCode(RESULT_LOG_WAIT_LIMIT_MS));
    EXPECT_EQ(start + RESULT_LOG_WAIT_LIMIT_MS, Now());
    EXPECT_EQ(7u + 1 + RESULT_LOG_WAIT_LIMIT_MS / 1000, files.Times("read").size());
}

TEST_F(InvocationTest, WaitForResultCodeFindsTheKeyAtTheEndOfALargeLog)
{
    std::string log;
    while (log.size() < 300 * 1024) log += "[File Transfer]\r\nFile=some driver file.sys\r\n";
    WriteLog(log + "[ResponseResult]\r\nResultCode=0\r\n");
    EXPECT_TRUE(invocation.WaitForResultCode(3000));
    EXPECT_EQ(1000u, Now());

    // Only the start of a log is read: a key beyond it does not count.
    std::string huge(RESULT_LOG_READ_LIMIT, 'x');
    WriteLog(huge + "ResultCode=0\r\n");
    uint64_t start = Now();
    EXPECT_FALSE(invocation.WaitForResultCode(3000));
    EXPECT_EQ(start + 3000, Now());
}
