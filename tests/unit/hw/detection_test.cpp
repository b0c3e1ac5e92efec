// Detection on the board simulator: the operating-system gate, every refinement of the device
// codes, the deferred IT8212 entry, the USB 2.0 paths per system, and the flags.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "board/board.h"
#include "hw/detection.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_event_log.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_hardware.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window.h"
#include "unit/platform/temp_dir.h"

namespace {

const char* const LIST_PATH = "E:\\SETUP\\tova.txt";
const char* const LIST_HOST_FILE = "SETUP/tova.txt";  // LIST_PATH below the CD folder
const char* const CATEGORIES[] = {"Chipset", "LAN",   "audio",  "Promise",  "Winbond",
                                  "SeriesATA", "SCSI", "USB2.0", "IntelUSB", "AMR"};

// A CD list with one line for every category and every code 0-99 in every system's block, so
// that each entry's description names the category and code that selected it.
std::string FullList()
{
    std::string text = "; every category and code\r\n";
    int number = 1;
    for (int os = 9; os <= 16; ++os) {
        for (const char* category : CATEGORIES) {
            for (int code = 0; code < 100; ++code) {
                // A description "Chipset 16" after code 16 would read as the key ";16;Chipset"
                // of the XP block, so that one is written in lower case.
                std::string name = std::string(category) == "Chipset" ? "chipset" : category;
                std::string tag = name + " " + std::to_string(code);
                text += std::to_string(number++) + ";" + std::to_string(os) + ";" + category +
                        ";" + std::to_string(code) + ";" + tag + ";%CDROM%" + category +
                        "\\;setup.exe;V1\r\n";
            }
        }
        text += ";----- end of " + std::to_string(os) + "\r\n";
    }
    return text;
}

// Forwards to the simulated port library and notes the open and close calls and port use.
class CDetectRecordingLibrary : public PortLibrary {
public:
    explicit CDetectRecordingLibrary(PortLibrary& inner) : inner(inner) {}
    std::vector<std::string> calls;
    int portCalls = 0;

    int32_t Pre_Open_Device(int32_t selector, const char* tempFile, const char* name) override
    {
        calls.push_back("pre " + std::to_string(selector) + " " + tempFile + " " + name);
        return inner.Pre_Open_Device(selector, tempFile, name);
    }
    int32_t Post_Close_Device(const char* tempFile, const char* name) override
    {
        calls.push_back(std::string("post ") + tempFile + " " + name);
        return inner.Post_Close_Device(tempFile, name);
    }
    int32_t ZezAdo_Open() override { return calls.push_back("open"), inner.ZezAdo_Open(); }
    int32_t ZezAdo_Close() override { return calls.push_back("close"), inner.ZezAdo_Close(); }
    void ZezAdo_outp(uint16_t p, uint32_t v) override { ++portCalls, inner.ZezAdo_outp(p, v); }
    void ZezAdo_outpd(uint16_t p, uint32_t v) override { ++portCalls, inner.ZezAdo_outpd(p, v); }
    uint32_t ZezAdo_inp(uint16_t p) override { return ++portCalls, inner.ZezAdo_inp(p); }
    uint32_t ZezAdo_inpw(uint16_t p) override { return ++portCalls, inner.ZezAdo_inpw(p); }
    uint32_t ZezAdo_inpd(uint16_t p) override { return ++portCalls, inner.ZezAdo_inpd(p); }
    int32_t MapMem_Open() override { return inner.MapMem_Open(); }
    int32_t MapMem_Phys_To_Linear(uint32_t low, uint32_t high, uint32_t length,
                                  const uint8_t** linear) override
    {
        return inner.MapMem_Phys_To_Linear(low, high, length, linear);
    }
    int32_t MapMem_Close() override { return inner.MapMem_Close(); }

private:
    PortLibrary& inner;
};

// The simulated hardware with the recording library in front of its own.
class CDetectHardware : public Hardware {
public:
    explicit CDetectHardware(CBoard& board) : sim(board), library(sim.Library()) {}
    CSimHardware sim;
    CDetectRecordingLibrary library;
    int directCalls = 0;

    void DirectOut8(uint16_t p, uint8_t v) override { ++directCalls, sim.DirectOut8(p, v); }
    void DirectOut32(uint16_t p, uint32_t v) override { ++directCalls, sim.DirectOut32(p, v); }
    uint8_t DirectIn8(uint16_t p) override { return ++directCalls, sim.DirectIn8(p); }
    uint16_t DirectIn16(uint16_t p) override { return ++directCalls, sim.DirectIn16(p); }
    uint32_t DirectIn32(uint16_t p) override { return ++directCalls, sim.DirectIn32(p); }
    bool DirectReadPhysical(uint32_t address, uint8_t* out, uint32_t length) override
    {
        return sim.DirectReadPhysical(address, out, length);
    }
    bool CpuIdSupported() override { return sim.CpuIdSupported(); }
    void CpuId(uint32_t leaf, uint32_t regs[4]) override { sim.CpuId(leaf, regs); }
    PortLibrary& Library() override { return library; }
};

// The simulated files, noting every whole-file read.
class CReadRecordingFiles : public CSimFiles {
public:
    std::vector<std::string> reads;

    bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes) override
    {
        reads.push_back(path);
        return CSimFiles::ReadWholeFile(path, maxBytes, bytes);
    }
};

class DetectionTest : public ::testing::Test {
protected:
    DetectionTest()
        : processes(events, clock), system(clock), window(events, clock, files), hardware(board),
          platform{registry, files, processes, system, hardware, window}
    {
        cd.MakeDir("SETUP");
        WriteList(FullList());
        EXPECT_TRUE(files.MapDrive('E', cd.Path().c_str()));
    }

    void WriteList(const std::string& text) { cd.Write(LIST_HOST_FILE, text); }

    void LoadBoard(const char* description)
    {
        FixedText<256> error;
        ASSERT_TRUE(board.LoadDescription(description, nullptr, &error)) << error.c_str();
    }

    void SetOs(uint8_t osCode)
    {
        struct CVersion {
            uint8_t os;
            const char* name;
        };
        static const CVersion VERSIONS[] = {
            {OS_WIN95, "win95"}, {OS_WIN98, "win98"},   {OS_WIN98SE, "win98se"},
            {OS_WINME, "winme"}, {OS_NT4, "nt4"},       {OS_WIN2000, "win2000"},
            {OS_WINXP, "winxp"}, {OS_WIN32S, "win32s"}, {OS_OTHER, "vista"},
        };
        for (const CVersion& v : VERSIONS) {
            if (v.os != osCode) continue;
            ASSERT_TRUE(system.SelectOs(v.name));
            return;
        }
        FAIL() << "no version record for osCode " << int(osCode);
    }

    // Runs detection on the board with the given system; true when it went through. The
    // results and the list are kept from before, so a test may preset them with Reset first.
    bool Run(const std::string& description, uint8_t osCode = OS_WINXP)
    {
        LoadBoard(description.c_str());
        SetOs(osCode);
        CDetection detection(platform, hw, list, xpServicePack);
        return detection.RunDetection(LIST_PATH);
    }

    // A fresh program state for the next run of a table of cases.
    void Reset()
    {
        hw = CHwState();
        list = CInstallList();
    }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> out;
        for (int r = 0; r < list.itemCount; ++r) out.push_back(list.items[r].description.c_str());
        return out;
    }

    CTempDir cd;
    CSimEventLog events;
    CSimClock clock;
    CSimRegistry registry;
    CReadRecordingFiles files;
    CSimProcesses processes;
    CSimSystem system;
    CSimWindow window;
    CBoard board;
    CDetectHardware hardware;
    CPlatform platform;
    CHwState hw;
    CInstallList list;
    uint8_t xpServicePack = 0;
};

typedef std::vector<std::string> Names;

const char* const ICH4 = "pci 00:1f.0 id=0x24C08086 class=0x06010002\n";

}  // namespace

TEST_F(DetectionTest, UnsupportedSystemsShowTheMessageAndEndTheProgram)
{
    for (uint8_t os : {OS_OTHER, OS_WIN32S}) {
        Reset();
        events.Clear();
        size_t shown = window.MessageBoxes().size();
        EXPECT_FALSE(Run("pci 00:00.0 id=0x25608086 class=0x06000003\n", os));
        // One box, then the end of the program with 0, and nothing else.
        EXPECT_EQ(events.Lines(),
                  (Names{"messagebox\tMsg\tSorry we do not support this M/B.", "exit\t0"}))
            << int(os);
        ASSERT_EQ(window.MessageBoxes().size(), shown + 1) << int(os);
        const CSimMessageBox& box = window.MessageBoxes().back();
        EXPECT_TRUE(box.ownedByDialog);
        EXPECT_EQ(box.text, "Sorry we do not support this M/B.");
        EXPECT_EQ(box.caption, "Msg");
        EXPECT_EQ(box.type, MSGBOX_OK);
        EXPECT_EQ(list.itemCount, 0);
        EXPECT_EQ(hw.results.chipsetCode, 0);
    }
}

TEST_F(DetectionTest, FailedVersionQueryEndsAfterBothMessages)
{
    system.FailVersionQuery(true, true);
    EXPECT_FALSE(Run("pci 00:00.0 id=0x25608086 class=0x06000003\n"));
    ASSERT_EQ(window.MessageBoxes().size(), 2u);
    EXPECT_EQ(window.MessageBoxes()[0].text, "Check OS type Error !");
    EXPECT_EQ(window.MessageBoxes()[1].text, "Sorry we do not support this M/B.");
    EXPECT_EQ(processes.ExitCalls(), 1);
    EXPECT_EQ(processes.ExitCode(), 0u);
}

TEST_F(DetectionTest, A845PeBoardOnXp)
{
    ASSERT_TRUE(Run("pci 00:00.0 id=0x25608086 class=0x06000003 subsys=0x25607A51\n"
                    "pci 00:1f.0 id=0x24C08086 class=0x06010002\n"
                    "pci 00:1f.5 id=0x24C58086 class=0x04010002 subsys=0x76008384\n"
                    "pci 00:1d.7 id=0x24CD8086 class=0x0C032002 subsys=0x50047A51\n"
                    "pci 01:08.0 id=0x10398086 class=0x02000081 subsys=0x30138086\n"
                    "pci 02:04.0 id=0x5275105A class=0x01800001 subsys=0xB0017A51\n"
                    "superio 0x2E key=0x83,0x83 exit=0xAA reg.0x20=0x51 reg.0x21=0x82 "
                    "ldn0.0x30=0x00 ldn1.0x30=0x12\n"));
    EXPECT_EQ(Entries(), (Names{"chipset 79", "LAN 12", "audio 14", "Promise 30", "Winbond 1",
                                "USB2.0 13"}));
    EXPECT_EQ(hw.osCode, OS_WINXP);
    EXPECT_EQ(xpServicePack, 1);
    EXPECT_EQ(hw.results.southBridgeCode, 20);
    EXPECT_EQ(hw.results.intelUsbCode, 13);
    EXPECT_EQ(list.items[0].deviceId, 0x25608086u);
    EXPECT_EQ(list.items[0].subsystemId, 0x25607A51u);
    EXPECT_EQ(list.items[4].deviceId, 0x11111113u);
    EXPECT_EQ(list.items[5].deviceId, 0x24CD8086u);
    EXPECT_EQ(list.items[5].subsystemId, 0x50047A51u);
    std::string section = list.osSection.data();
    EXPECT_EQ(section.find("\r\n"), 0u);
    EXPECT_NE(section.find(";16;Chipset;0;"), std::string::npos);
    EXPECT_EQ(section.find(";-"), std::string::npos);
    // The list text is gone after detection; the system's block stays.
    EXPECT_TRUE(list.listText.empty());
    EXPECT_TRUE(window.MessageBoxes().empty());
    EXPECT_FALSE(processes.Exited());
}

TEST_F(DetectionTest, PortAccessBracketsDetectionOnTheNtClassOnly)
{
    ASSERT_TRUE(Run("pci 00:00.0 id=0x25608086 class=0x06000003\n", OS_WIN2000));
    EXPECT_EQ(hardware.library.calls, (Names{"pre 103 c:\\zezado.tmp autorun", "open", "close",
                                             "post c:\\zezado.tmp autorun"}));
    EXPECT_GT(hardware.library.portCalls, 0);
    EXPECT_EQ(hardware.directCalls, 0);

    hardware.library.calls.clear();
    hardware.library.portCalls = 0;
    Reset();
    ASSERT_TRUE(Run("pci 00:00.0 id=0x25608086 class=0x06000003\n", OS_WIN98));
    EXPECT_TRUE(hardware.library.calls.empty());
    EXPECT_EQ(hardware.library.portCalls, 0);
    EXPECT_GT(hardware.directCalls, 0);
    EXPECT_EQ(Entries(), Names{"chipset 16"});
}

TEST_F(DetectionTest, SameIdRowsTheFirstWithASubsystem)
{
    ASSERT_TRUE(Run("pci 00:00.0 id=0x25628086 class=0x06000001 subsys=0x25627A51\n"));
    EXPECT_EQ(Entries(), Names{"chipset 18"});
    EXPECT_EQ(list.items[0].subsystemId, 0x25627A51u);
    Reset();
    ASSERT_TRUE(Run("pci 00:00.0 id=0x25628086 class=0x06000001 subsys=0x12345678\n"));
    EXPECT_EQ(Entries(), Names{"chipset 17"});
    EXPECT_EQ(list.items[0].subsystemId, 0u);
}

TEST_F(DetectionTest, SisRevisionRefinement)
{
    struct {
        const char* board;
        uint8_t code;
    } cases[] = {
        {"pci 00:00.0 id=0x06461039 class=0x06000001\n", 64},
        {"pci 00:00.0 id=0x06461039 class=0x06000002\n", 56},
        {"pci 00:00.0 id=0x06511039 class=0x06000002\n", 66},
        {"pci 00:00.0 id=0x06511039 class=0x06000003\n", 57},
        {"pci 00:00.0 id=0x06481039 class=0x06000003\n", 65},
        {"pci 00:00.0 id=0x06481039 class=0x06000001\n", 58},
        {"pci 00:00.0 id=0x06551039 class=0x06000001\n", 59},
        {"pci 00:00.0 id=0x06551039 class=0x06000004\n", 59},
        // Found on bus 3, but the revision scan stops at bus 2.
        {"pci 03:00.0 id=0x06511039 class=0x06000002\n", 57},
    };
    for (const auto& c : cases) {
        Reset();
        ASSERT_TRUE(Run(c.board));
        EXPECT_EQ(hw.results.chipsetCode, c.code) << c.board;
        EXPECT_EQ(Entries(), Names{"chipset " + std::to_string(c.code)}) << c.board;
    }
}

TEST_F(DetectionTest, Ich4WithoutChipsetRowGives60AndNoEntry)
{
    ASSERT_TRUE(Run(ICH4));
    EXPECT_EQ(hw.results.chipsetCode, 60);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(DetectionTest, Ich4MovesChipsetCodesUpBy60AndThe71Test)
{
    const std::string nvidia01f0 = "pci 00:00.1 id=0x01F010DE class=0x05000001\n";
    struct {
        std::string board;
        uint8_t code;
    } cases[] = {
        {std::string(ICH4) + "pci 00:00.0 id=0x25608086 class=0x06000001\n", 76},  // 845-E
        {std::string(ICH4) + "pci 00:00.0 id=0x255D8086 class=0x06000001 subsys=0x255D7A51\n",
         80},
        {std::string(ICH4) + "pci 00:00.0 id=0x71208086 class=0x06000001\n", 72},  // 810
        {std::string(ICH4) + "pci 00:00.0 id=0x71208086 class=0x06000001\n" + nvidia01f0, 71},
        {"pci 00:00.0 id=0x01E010DE class=0x06000001\n", 72},  // the NVIDIA row alone
        {"pci 00:00.0 id=0x01E010DE class=0x06000001\n" + nvidia01f0, 71},
        {"pci 00:00.0 id=0x71208086 class=0x06000001\n", 11},  // 810 without the ICH4
    };
    for (const auto& c : cases) {
        Reset();
        ASSERT_TRUE(Run(c.board));
        EXPECT_EQ(hw.results.chipsetCode, c.code) << c.board;
        EXPECT_EQ(Entries(), Names{"chipset " + std::to_string(c.code)}) << c.board;
        EXPECT_EQ(list.items[0].deviceCode, c.code) << c.board;
    }
}

TEST_F(DetectionTest, AudioRefinements)
{
    const std::string sigmatelIch4 =
        "pci 00:1f.5 id=0x24C58086 class=0x04010002 subsys=0xA0017A51\n";
    const std::string sis7012 = "pci 00:02.7 id=0x70121039 class=0x04010001 subsys=0x12345678\n";
    struct {
        std::string board;
        Names entries;
    } cases[] = {
        {std::string(ICH4) + sigmatelIch4, {"audio 14"}},
        {sigmatelIch4, {"audio 17"}},
        {"pci 00:00.0 id=0x06511039 class=0x06000002\n" + sis7012, {"chipset 66", "audio 69"}},
        {"pci 00:00.0 id=0x06461039 class=0x06000001\n" + sis7012, {"chipset 64", "audio 69"}},
        {"pci 00:00.0 id=0x06481039 class=0x06000003\n" + sis7012, {"chipset 65", "audio 69"}},
        {"pci 00:00.0 id=0x06511039 class=0x06000001\n" + sis7012, {"chipset 57", "audio 23"}},
        {sis7012, {"audio 23"}},
        {"pci 00:00.0 id=0x06511039 class=0x06000002\n"
         "pci 00:02.7 id=0x70121039 class=0x04010001 subsys=0xA0027A51\n",
         {"chipset 66", "audio 24"}},
    };
    for (const auto& c : cases) {
        Reset();
        ASSERT_TRUE(Run(c.board));
        EXPECT_EQ(Entries(), c.entries) << c.board;
    }
}

TEST_F(DetectionTest, RaidClassWordAndFlags)
{
    struct {
        const char* board;
        uint8_t code;
        uint32_t raidFlag;
    } cases[] = {
        {"pci 02:06.0 id=0x0D30105A class=0x01040002 subsys=0xB0017A51\n", 11, 1},
        {"pci 02:06.0 id=0x0D30105A class=0x01800002 subsys=0xB0017A51\n", 10, 0},
        {"pci 02:06.0 id=0x4D30105A class=0x01040002 subsys=0x4D33105A\n", 21, 1},
        {"pci 02:06.0 id=0x4D30105A class=0x01800002 subsys=0xB0007A51\n", 21, 1},
        {"pci 02:06.0 id=0x5275105A class=0x01040002 subsys=0xB0017A51\n", 30, 0},
        {"pci 02:06.0 id=0x5275105A class=0x01800002 subsys=0x00000001\n", 31, 1},
    };
    for (const auto& c : cases) {
        Reset();
        hw.results.raidControllerFlag = 1;
        hw.results.ite8212Flag = 1;
        ASSERT_TRUE(Run(c.board));
        EXPECT_EQ(hw.results.ideRaidCode, c.code) << c.board;
        EXPECT_EQ(hw.results.raidControllerFlag, c.raidFlag) << c.board;
        EXPECT_EQ(hw.results.ite8212Flag, 0u) << c.board;
        EXPECT_EQ(Entries(), Names{"Promise " + std::to_string(c.code)}) << c.board;
    }
}

TEST_F(DetectionTest, It8212EntryFollowsTheSerialAtaEntries)
{
    ASSERT_TRUE(Run("pci 01:0a.0 id=0x31121095 class=0x01040001 subsys=0x61121095\n"
                    "pci 01:0b.0 id=0x82121283 class=0x01040011 subsys=0x00011283\n"
                    "pci 00:1f.2 id=0x24DF8086 class=0x01040002 subsys=0x24DF7A51\n"
                    "pci 02:05.0 id=0x801F9005 class=0x01000001 subsys=0xFFFF9005\n"));
    EXPECT_EQ(Entries(), (Names{"SeriesATA 3", "Promise 50", "SeriesATA 4", "SCSI 1"}));
    EXPECT_EQ(hw.results.ideRaidCode, 50);
    EXPECT_EQ(hw.results.ite8212Flag, 1u);
    EXPECT_EQ(hw.results.raidControllerFlag, 0u);
    EXPECT_EQ(hw.results.serialAtaCode, 3);
    EXPECT_EQ(hw.results.sil3112RaidFlag, 1u);
    EXPECT_EQ(hw.results.intelSataCode, 4);
    EXPECT_EQ(hw.results.scsiCode, 1);
    // The deferred entry carries the IT8212's identifiers, not the serial ATA controller's.
    EXPECT_EQ(list.items[1].deviceId, 0x82121283u);
    EXPECT_EQ(list.items[1].subsystemId, 0x00011283u);

    Reset();
    ASSERT_TRUE(Run("pci 01:0a.0 id=0x31121095 class=0x01800001 subsys=0xB0027A51\n"
                    "pci 01:0b.0 id=0x82121283 class=0x01040011 subsys=0x00011283\n"));
    EXPECT_EQ(Entries(), (Names{"SeriesATA 1", "Promise 50"}));
    EXPECT_EQ(hw.results.sil3112RaidFlag, 0u);
}

TEST_F(DetectionTest, Usb2ControllersInProbeOrder)
{
    struct {
        const char* board;
        uint8_t code;
    } cases[] = {
        {"pci 00:10.3 id=0x31041106 class=0x0C032086 subsys=0x12340925\n", 10},
        {"pci 00:10.3 id=0x31041106 class=0x0C032086 subsys=0x31041106\n", 11},
        {"pci 00:10.3 id=0x31041106 class=0x0C032086 subsys=0x50047A51\n", 11},
        {"pci 00:03.3 id=0x70021039 class=0x0C032000 subsys=0x12345678\n", 12},
        {"pci 02:01.2 id=0x00E01033 class=0x0C032004 subsys=0x50047A51\n", 13},
        {"pci 00:1d.7 id=0x24DD8086 class=0x0C032002\n", 15},
        {"pci 00:02.2 id=0x006710DE class=0x0C0320A2\n", 16},
        // The first and the fifth controller with subsystems the probe does not know.
        {"pci 00:10.3 id=0x31041106 class=0x0C032086 subsys=0x11111111\n"
         "pci 02:01.2 id=0x00E01033 class=0x0C032004 subsys=0x00E01033\n", 0},
    };
    for (const auto& c : cases) {
        Reset();
        ASSERT_TRUE(Run(c.board));
        EXPECT_EQ(hw.results.usb2Code, c.code) << c.board;
        Names expected;
        if (c.code != 0) expected.push_back("USB2.0 " + std::to_string(c.code));
        EXPECT_EQ(Entries(), expected) << c.board;
    }
}

TEST_F(DetectionTest, Usb2PathsPerSystem)
{
    const std::string via = "pci 00:10.3 id=0x31041106 class=0x0C032086 subsys=0x12340925\n";
    const std::string ich4Usb = std::string(ICH4) +
                                "pci 00:1d.7 id=0x24CD8086 class=0x0C032002 subsys=0x50067A51\n";
    const std::string usbAlone = "pci 00:1d.7 id=0x24CD8086 class=0x0C032002 subsys=0x50047A51\n";
    struct {
        std::string board;
        uint8_t os;
        Names entries;
        uint8_t intelUsbCode;
    } cases[] = {
        {via, OS_WIN2000, {"USB2.0 10"}, 0},
        {via, OS_WINXP, {"USB2.0 10"}, 0},
        {via, OS_WIN98SE, {"USB2.0 10"}, 0},
        {via, OS_WINME, {"USB2.0 10"}, 0},
        {via, OS_WIN95, {}, 0},
        {via, OS_WIN98, {}, 0},
        {via, OS_NT4, {}, 0},
        {ich4Usb, OS_WIN2000, {"USB2.0 13"}, 13},
        {ich4Usb, OS_WINXP, {"USB2.0 13"}, 13},
        {ich4Usb, OS_WIN98SE, {"IntelUSB 1"}, 1},
        {ich4Usb, OS_WINME, {"IntelUSB 1"}, 1},
        {ich4Usb, OS_WIN95, {}, 0},
        {ich4Usb, OS_WIN98, {}, 0},
        {ich4Usb, OS_NT4, {}, 0},
        // Both controllers: 2000 and XP take only the listed one, 98 SE and Me both.
        {via + ich4Usb, OS_WINXP, {"USB2.0 10"}, 0},
        {via + ich4Usb, OS_WIN98SE, {"USB2.0 10", "IntelUSB 1"}, 1},
        // Without the ICH4 south bridge its controller is never probed.
        {usbAlone, OS_WINXP, {}, 0},
        {usbAlone, OS_WINME, {}, 0},
        // Another subsystem is not this maker's controller.
        {std::string(ICH4) + "pci 00:1d.7 id=0x24CD8086 class=0x0C032002 subsys=0x24CD8086\n",
         OS_WINXP, {}, 0},
    };
    for (const auto& c : cases) {
        Reset();
        ASSERT_TRUE(Run(c.board, c.os));
        EXPECT_EQ(Entries(), c.entries) << c.board << " os " << int(c.os);
        EXPECT_EQ(hw.results.intelUsbCode, c.intelUsbCode) << c.board << " os " << int(c.os);
    }
}

TEST_F(DetectionTest, SuperIoFlagsAndEmptyCatalogues)
{
    hw.results.ite87SerialModeFlag = 1;
    hw.results.sil3112RaidFlag = 1;
    list.sis650VgaListed = 1;
    ASSERT_TRUE(Run("superio 0x2E key=0x87,0x01,0x55,0x55 exit=reg.0x02:0x02 reg.0x20=0x87 "
                    "reg.0x21=0x12 ldn2.0xF0=0x40\n"));
    // The IT87 probe sets only its flag; the AMR and third serial-ATA lists find nothing.
    EXPECT_EQ(hw.results.ite87SerialModeFlag, 1u);
    EXPECT_EQ(hw.results.sil3112RaidFlag, 0u);
    EXPECT_EQ(list.sis650VgaListed, 0);
    EXPECT_TRUE(Entries().empty());

    Reset();
    hw.results.ite87SerialModeFlag = 1;
    ASSERT_TRUE(Run("superio 0x2E key=0x87,0x01,0x55,0x55 exit=reg.0x02:0x02 reg.0x20=0x87 "
                    "reg.0x21=0x12 ldn2.0xF0=0x30\n"
                    "superio 0x4E key=0x83,0x83 exit=0xAA reg.0x20=0x51 reg.0x21=0x81 "
                    "ldn0.0x30=0x01\n"));
    EXPECT_EQ(hw.results.ite87SerialModeFlag, 0u);
    EXPECT_EQ(hw.results.superIoCode, 2);
    EXPECT_EQ(Entries(), Names{"Winbond 2"});
    EXPECT_EQ(list.items[0].deviceId, 0x11111111u);
}

TEST_F(DetectionTest, Sis650VgaFolderSetsTheFlag)
{
    WriteList(
        "1;16;Chipset;55;SiS 650 VGA;%CDROM%SiS650\\VGA\\Win2k_XP\\;setup.exe;V1\r\n;-\r\n");
    ASSERT_TRUE(Run("pci 00:00.0 id=0x06501039 class=0x06000001\n"));
    EXPECT_EQ(Entries(), Names{"SiS 650 VGA"});
    EXPECT_EQ(list.sis650VgaListed, 1);
    EXPECT_STREQ(list.items[0].folder.c_str(), "SiS650\\VGA\\Win2k_XP\\");
}

TEST_F(DetectionTest, MissingListStillDetects)
{
    ASSERT_EQ(remove((cd.Path() + "/" + LIST_HOST_FILE).c_str()), 0);
    ASSERT_TRUE(Run("pci 00:00.0 id=0x25608086 class=0x06000003 subsys=0x25607A51\n"));
    EXPECT_EQ(hw.results.chipsetCode, 19);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(files.reads, Names{LIST_PATH});
}

TEST_F(DetectionTest, AFullListTakesNoMoreEntries)
{
    std::string text;
    for (int n = 1; n <= 35; ++n) {
        text += std::to_string(n) + ";16;Chipset;19;INF " + std::to_string(n) +
                ";%CDROM%Chipset\\;setup.exe;V1\r\n";
    }
    text += "40;16;LAN;12;LAN;%CDROM%LAN\\;setup.exe;V1\r\n;-\r\n";
    WriteList(text);
    ASSERT_TRUE(Run("pci 00:00.0 id=0x25608086 class=0x06000003 subsys=0x25607A51\n"
                    "pci 01:08.0 id=0x10398086 class=0x02000081 subsys=0x30138086\n"));
    ASSERT_EQ(list.itemCount, DRIVER_ITEM_CAPACITY);
    EXPECT_STREQ(list.items[29].description.c_str(), "INF 30");
    EXPECT_EQ(hw.results.lanCode, 12);
}

TEST(DetectionProbe, ProbeCatalogueTakesTheFirstMatchingRowOrLeavesEverything)
{
    CBoard board;
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription("pci 00:05.0 id=0x0D30105A class=0x01800002 "
                                      "subsys=0x4D39105A\n",
                                      nullptr, &error));
    CSimHardware hardware(board);
    uint8_t osCode = OS_WIN98;
    CPortAccess ports(hardware, osCode);
    uint16_t lastClassCode = 0;
    CPciScanner scanner(ports, lastClassCode);
    CDetectionResults results;

    uint8_t code = 0;
    EXPECT_TRUE(ProbeCatalogue(scanner, CATALOGUE_IDE_RAID, &code, results));
    EXPECT_EQ(code, 11);
    EXPECT_EQ(results.foundId, 0x0D30105Au);
    EXPECT_EQ(results.foundSubsystem, 0x4D39105Au);
    EXPECT_EQ(lastClassCode, 0x0180);

    code = 7;
    results.foundId = 5;
    results.foundSubsystem = 6;
    EXPECT_FALSE(ProbeCatalogue(scanner, CATALOGUE_SCSI, &code, results));
    EXPECT_FALSE(ProbeCatalogue(scanner, CATALOGUE_AMR, &code, results));
    EXPECT_EQ(code, 7);
    EXPECT_EQ(results.foundId, 5u);
    EXPECT_EQ(results.foundSubsystem, 6u);

    // An empty list costs no bus walk.
    board.ResetPortOps();
    EXPECT_FALSE(ProbeCatalogue(scanner, CATALOGUE_THIRD_SATA, &code, results));
    EXPECT_EQ(board.PortOps(), 0u);
}
