// The one-walk snapshot against the literal walk per question: question by question on small
// boards, then whole detections on generated boards and on every demo board for every system,
// which must agree in every result byte, flag, lastClassCode and install-list record.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "board/board.h"
#include "hw/catalogues.h"
#include "hw/detection.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_event_log.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_hardware.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window.h"

namespace {

const uint32_t SNAPSHOT_TEST_SEED = 20261208;
const int SNAPSHOT_TEST_BOARDS = 10000;
const int SNAPSHOT_TEST_SHARDS = 4;

const char* const LIST_PATH = "E:\\SETUP\\tova.txt";
const char* const SYSTEMS[] = {"win95", "win98",   "win98se", "winme",
                               "nt4",   "win2000", "winxp",   "winxp-nosp"};
const char* const DEMO_BOARDS[] = {"ich4-845pe", "via-kt400", "sis651",
                                   "nforce2",    "ich5-865g", "empty"};

// The catalogues every detection walks, and the ids detection asks for outside them.
const CCatalogueRow* const CATALOGUES[] = {
    CATALOGUE_SOUTH_BRIDGE, CATALOGUE_CHIPSET,    CATALOGUE_LAN,        CATALOGUE_AUDIO,
    CATALOGUE_IDE_RAID,     CATALOGUE_SERIAL_ATA, CATALOGUE_INTEL_SATA, CATALOGUE_SCSI,
};
const uint32_t EXTRA_IDS[] = {0x31041106, 0x70021039, 0x00E01033, 0x24DD8086,
                              0x006710DE, 0x24CD8086, 0x01F010DE, 0x24C08086};
const uint32_t EXTRA_SUBSYSTEMS[] = {0x12340925, 0x31041106, 0x50047A51, 0x50067A51};

// Super-I/O chips: the Winbond variants on either index port and the ITE one on 0x2E.
const char* const SUPERIO_LINES[] = {
    "superio 0x2E key=0x83,0x83 exit=0xAA reg.0x20=0x51 reg.0x21=0x82 ldn0.0x30=0x00 "
    "ldn1.0x30=0x12\n",
    "superio 0x2E key=0x83,0x83 exit=0xAA reg.0x20=0x51 reg.0x21=0x81 ldn0.0x30=0x01\n",
    "superio 0x2E key=0x87,0x01,0x55,0x55 exit=reg.0x02:0x02 reg.0x20=0x87 reg.0x21=0x12 "
    "ldn2.0xF0=0x40\n",
};
const char* const SUPERIO_LINE_B =
    "superio 0x4E key=0x83,0x83 exit=0xAA reg.0x20=0x71 reg.0x21=0x12 ldn0.0x30=0 ldn1.0x30=1 "
    "ldn3.0x30=1\n";

// Codes 0 to this minus one may get a line; the chipset codes moved up by 60 stay below it.
const int LIST_CODES = 150;

// Every code detection can give: the catalogues' codes, the same moved up by 60, and the
// codes of the USB probes and of the refinements.
std::vector<bool> CodesInUse()
{
    std::vector<bool> used(LIST_CODES, false);
    for (const CCatalogueRow* catalogue : CATALOGUES) {
        for (const CCatalogueRow* row = catalogue; row->label; ++row) {
            if (row->code < (uint32_t)LIST_CODES) used[row->code] = true;
            if (row->code + 60 < (uint32_t)LIST_CODES) used[row->code + 60] = true;
        }
    }
    for (int code : {0, 1, 2, 3, 10, 11, 12, 13, 14, 15, 16, 21, 60, 64, 65, 66, 69, 71, 72}) {
        used[code] = true;
    }
    return used;
}

// A driver list with a line for every category and every code in use in the block of osCode; each
// description names its category and code. One block only keeps the thousands of runs quick;
// the block is what detection cuts out of any list.
std::string EveryCodeList(int osCode)
{
    static const char* const CATEGORIES[] = {"Chipset",   "LAN",  "audio",  "Promise",  "Winbond",
                                             "SeriesATA", "SCSI", "USB2.0", "IntelUSB", "AMR"};
    static const std::vector<bool> USED = CodesInUse();
    std::string text;
    int number = 1;
    for (const char* category : CATEGORIES) {
        // "Chipset 16" would read as the key ";16;Chipset", so that name is lower case.
        std::string name = std::string(category) == "Chipset" ? "chipset" : category;
        for (int code = 0; code < LIST_CODES; ++code) {
            if (!USED[code]) continue;
            text += std::to_string(number++) + ";" + std::to_string(osCode) + ";" + category + ";" +
                    std::to_string(code) + ";" + name + " " + std::to_string(code) +
                    ";%CDROM%D\\;s.exe;V1\r\n";
        }
    }
    return text + ";----- end\r\n";
}

// The osCode of each system name.
int OsCodeOf(const char* os)
{
    static const struct {
        const char* name;
        int code;
    } CODES[] = {{"win95", 10}, {"win98", 11},   {"win98se", 12}, {"winme", 15},
                 {"nt4", 13},   {"win2000", 14}, {"winxp", 16},   {"winxp-nosp", 16}};
    for (const auto& c : CODES) {
        if (strcmp(c.name, os) == 0) return c.code;
    }
    return 0;
}

// The simulated files with the driver list served from memory, so that thousands of runs do
// not read the disk.
class CListFiles : public CSimFiles {
public:
    const std::string* listText = nullptr;

    bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes) override
    {
        if (strcmp(path, LIST_PATH) != 0) return CSimFiles::ReadWholeFile(path, maxBytes, bytes);
        size_t size = listText->size() < maxBytes ? listText->size() : maxBytes;
        bytes->assign(listText->data(), listText->data() + size);
        return true;
    }
};

std::string Hex(uint32_t value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// Which source a detection of the rig asks.
enum TestPciSource { TEST_PCI_PORT_WALK, TEST_PCI_SNAPSHOT };

// Everything a detection leaves behind, as text, so a difference shows where it is.
struct CDetectionOutcome {
    std::string text;
    CInstallList list;
    uint64_t portOps = 0;
};

class CDetectionRig {
public:
    CDetectionRig()
        : processes(events, clock), system(clock), window(events, clock, files),
          hardware(board), platform{registry, files, processes, system, hardware, window}
    {
        for (int os = 0; os <= 16; ++os)
            lists.push_back(EveryCodeList(os));
    }

    bool Load(const std::string& description)
    {
        FixedText<256> error;
        bool loaded = board.LoadDescription(description.c_str(), nullptr, &error);
        EXPECT_TRUE(loaded) << error.c_str() << "\n" << description;
        return loaded;
    }

    void Run(const char* os, TestPciSource kind, CDetectionOutcome* out)
    {
        ASSERT_TRUE(system.SelectOs(os)) << os;
        files.listText = &lists[OsCodeOf(os)];
        CHwState hw;
        out->list = CInstallList();
        uint8_t xpServicePack = 0;
        CPortAccess ports(hardware, hw.osCode);
        CPciScanner portWalk(ports, hw.lastClassCode);
        // No source: detection makes its own snapshot.
        CPciSource* source = kind == TEST_PCI_PORT_WALK ? &portWalk : nullptr;
        board.ResetPortOps();
        CDetection detection(platform, hw, out->list, xpServicePack, source);
        ASSERT_TRUE(detection.RunDetection(LIST_PATH)) << os;
        out->portOps = board.PortOps();

        const CDetectionResults& r = hw.results;
        std::ostringstream text;
        text << "osCode=" << int(hw.osCode) << " xpServicePack=" << int(xpServicePack)
             << " lastClassCode=" << Hex(hw.lastClassCode) << "\nchipset=" << int(r.chipsetCode)
             << " south=" << int(r.southBridgeCode) << " lan=" << int(r.lanCode)
             << " audio=" << int(r.audioCode) << " ideRaid=" << int(r.ideRaidCode)
             << " superIo=" << int(r.superIoCode) << " serialAta=" << int(r.serialAtaCode)
             << " intelSata=" << int(r.intelSataCode) << " scsi=" << int(r.scsiCode)
             << " usb2=" << int(r.usb2Code) << " intelUsb=" << int(r.intelUsbCode)
             << "\nflags=" << r.raidControllerFlag << r.ite8212Flag << r.sil3112RaidFlag
             << r.ite87SerialModeFlag << " found=" << Hex(r.foundId) << "/" << Hex(r.foundSubsystem)
             << "\nitemCount=" << int(out->list.itemCount)
             << " sis650VgaListed=" << out->list.sis650VgaListed
             << " infUpdateIndex=" << out->list.infUpdateIndex << "\n";
        for (int i = 0; i < out->list.itemCount; ++i) {
            const DriverItem& item = out->list.items[i];
            text << i << ": " << item.description.c_str() << " code=" << item.deviceCode << " "
                 << Hex(item.deviceId) << "/" << Hex(item.subsystemId) << "\n";
        }
        out->text = text.str();
    }

    // The literal detection and the snapshot one on the loaded board; false when they differ.
    bool Compare(const char* os, const std::string& description, CDetectionOutcome* snapshotRun,
                 CDetectionOutcome* literalRun)
    {
        CDetectionOutcome& literal = *literalRun;
        Run(os, TEST_PCI_PORT_WALK, &literal);
        Run(os, TEST_PCI_SNAPSHOT, snapshotRun);
        EXPECT_EQ(literal.text, snapshotRun->text) << os << " on\n" << description;
        // Every byte of every record, the ones no probe writes included.
        bool same =
            literal.text == snapshotRun->text &&
            memcmp(literal.list.items, snapshotRun->list.items, sizeof literal.list.items) == 0;
        EXPECT_TRUE(same) << os << " on\n" << description;
        return same;
    }

    CSimEventLog events;
    CSimClock clock;
    CSimRegistry registry;
    std::vector<std::string> lists; // by osCode
    CListFiles files;
    CSimProcesses processes;
    CSimSystem system;
    CSimWindow window;
    CBoard board;
    CSimHardware hardware;
    CPlatform platform;
};

// A small board: a few functions on buses 0-5 with catalogue and random ids, some ids again
// with other subsystems, class words (the RAID one among them) and revisions 0-4, and either
// Super-I/O chip or both or none.
class CBoardGenerator {
public:
    explicit CBoardGenerator(uint32_t seed) : random(seed)
    {
        for (const CCatalogueRow* catalogue : CATALOGUES) {
            for (const CCatalogueRow* row = catalogue; row->label; ++row)
                rows.push_back(*row);
        }
    }

    std::string Next()
    {
        std::string text;
        std::vector<uint32_t> used;
        int functions = Pick(9);
        std::vector<uint32_t> ids;
        for (int i = 0; i < functions; ++i) {
            uint32_t address = 0;
            do {
                uint32_t bus = Pick(10) < 8 ? Pick(4) : 4 + Pick(2);
                address = bus << 8 | Pick(32) << 3 | Pick(8);
            } while (Contains(used, address));
            used.push_back(address);

            uint32_t id;
            uint32_t subsystem;
            int kind = Pick(10);
            if (kind < 3 && !ids.empty()) {
                // The same id again, on another function, maybe with another subsystem.
                id = ids[Pick((uint32_t)ids.size())];
                subsystem = Subsystem(id);
            } else if (kind < 7) {
                const CCatalogueRow& row = rows[Pick((uint32_t)rows.size())];
                id = row.idDword;
                subsystem = Pick(2) ? row.subsystemDword : Subsystem(id);
            } else if (kind < 8) {
                id = EXTRA_IDS[Pick(sizeof EXTRA_IDS / sizeof EXTRA_IDS[0])];
                subsystem = Subsystem(id);
            } else {
                id = Word32();
                if (id == 0xFFFFFFFF) id = 0x12345678;
                subsystem = Word32();
            }
            ids.push_back(id);
            uint32_t classWord = Pick(4) == 0 ? 0x0104 : Pick(0x10000);
            uint32_t classDword = classWord << 16 | Pick(256) << 8 | Pick(5);
            char line[160];
            snprintf(line, sizeof line, "pci %02X:%02X.%X id=0x%08X class=0x%08X subsys=0x%08X\n",
                     address >> 8, address >> 3 & 0x1F, address & 7, id, classDword, subsystem);
            text += line;
        }
        if (Pick(2)) text += SUPERIO_LINES[Pick(3)];
        if (Pick(2)) text += SUPERIO_LINE_B;
        return text;
    }

private:
    uint32_t Pick(uint32_t count) { return (uint32_t)(random() % count); }
    uint32_t Word32() { return (uint32_t)random(); }
    static bool Contains(const std::vector<uint32_t>& values, uint32_t value)
    {
        for (uint32_t v : values) {
            if (v == value) return true;
        }
        return false;
    }
    // A subsystem that some row of the catalogues or the USB probes asks for, 0, or random.
    uint32_t Subsystem(uint32_t id)
    {
        int kind = Pick(4);
        if (kind == 0) return EXTRA_SUBSYSTEMS[Pick(4)];
        if (kind == 1) {
            for (const CCatalogueRow& row : rows) {
                if (row.idDword == id && row.subsystemDword != 0 && Pick(2)) {
                    return row.subsystemDword;
                }
            }
        }
        return kind == 2 ? 0 : Word32();
    }

    std::mt19937 random;
    std::vector<CCatalogueRow> rows;
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The two sources side by side on one board, sharing the ports but not lastClassCode.
struct CSourcePair {
    CBoard board;
    CSimHardware hardware{board};
    uint8_t osCode;
    CPortAccess ports{hardware, osCode};
    uint16_t literalClass = 0x5A5A;
    uint16_t snapshotClass = 0x5A5A;
    CPciScanner literal{ports, literalClass};
    CPciSnapshot snapshot{ports, snapshotClass};

    explicit CSourcePair(uint8_t os) : osCode(os) {}
};

} // namespace

// Question by question, with lastClassCode after each: the subtle cases by hand.
TEST(PciSnapshot, AnswersEveryQuestionAsTheLiteralWalk)
{
    const char* const BOARD =
        // The same id three times: two subsystem misses before the hit, on different buses.
        "pci 00:05.0 id=0x11112222 class=0x01040010 subsys=0xAAAA0001\n"
        "pci 00:05.3 id=0x11112222 class=0x01800011 subsys=0xAAAA0002\n"
        "pci 02:00.0 id=0x11112222 class=0x0C030012 subsys=0xAAAA0003\n"
        // Walk order, not description order: device 2 on bus 1 comes before bus 3.
        "pci 03:00.0 id=0x33334444 class=0x02000001 subsys=0\n"
        "pci 01:02.7 id=0x33334444 class=0x02000002 subsys=0\n"
        // Only on bus 3: found, never by revision; bus 4 and beyond answer nothing.
        "pci 03:1f.7 id=0x55556666 class=0x06000003\n"
        "pci 04:00.0 id=0x77778888 class=0x06000003\n"
        "pci 10:00.0 id=0x77778888 class=0x06000003\n";
    struct {
        bool revision;
        uint32_t id;
        uint32_t argument;
    } const QUESTIONS[] = {
        {false, 0x11112222, 0},          {false, 0x11112222, 0xAAAA0002},
        {false, 0x11112222, 0xAAAA0003}, {false, 0x11112222, 0xAAAA0009},
        {false, 0x33334444, 0},          {false, 0x33334444, 0x12345678},
        {false, 0x55556666, 0},          {false, 0x77778888, 0},
        {false, 0x99990000, 0},          {true, 0x11112222, 0x10},
        {true, 0x11112222, 0x12},        {true, 0x11112222, 0x312},
        {true, 0x33334444, 0x01},        {true, 0x55556666, 0x03},
        {true, 0x77778888, 0x03},        {false, 0xFFFFFFFF, 0},
        {false, 0xFFFFFFFF, 0xFFFFFFFF}, {true, 0xFFFFFFFF, 0xFF},
    };
    for (uint8_t os : {OS_WIN98SE, OS_WINXP}) {
        CSourcePair pair(os);
        FixedText<256> error;
        ASSERT_TRUE(pair.board.LoadDescription(BOARD, nullptr, &error)) << error.c_str();
        for (const auto& q : QUESTIONS) {
            bool literal = q.revision ? pair.literal.FindPciDeviceRevision(q.id, q.argument)
                                      : pair.literal.FindPciDevice(q.id, q.argument);
            bool snapshot = q.revision ? pair.snapshot.FindPciDeviceRevision(q.id, q.argument)
                                       : pair.snapshot.FindPciDevice(q.id, q.argument);
            EXPECT_EQ(literal, snapshot) << Hex(q.id) << " " << Hex(q.argument);
            EXPECT_EQ(pair.literalClass, pair.snapshotClass) << Hex(q.id) << " " << Hex(q.argument);
        }
        // The answers the table stands on, so an agreement in error cannot pass.
        EXPECT_TRUE(pair.snapshot.FindPciDevice(0x11112222, 0xAAAA0002));
        EXPECT_EQ(pair.snapshotClass, 0x0180);
        EXPECT_FALSE(pair.snapshot.FindPciDevice(0x11112222, 0xAAAA0009));
        EXPECT_EQ(pair.snapshotClass, 0x0C03);
        EXPECT_TRUE(pair.snapshot.FindPciDevice(0x33334444, 0));
        EXPECT_EQ(pair.snapshotClass, 0x0200);
        EXPECT_TRUE(pair.snapshot.FindPciDeviceRevision(0x33334444, 0x102));
        EXPECT_TRUE(pair.snapshot.FindPciDevice(0x55556666, 0));
        EXPECT_FALSE(pair.snapshot.FindPciDeviceRevision(0x55556666, 3));
        EXPECT_FALSE(pair.snapshot.FindPciDevice(0x77778888, 0));
        EXPECT_EQ(pair.snapshot.PresentCount(), 6);
    }
}

TEST(PciSnapshot, WalksOnceThroughThePathOfTheSystem)
{
    const char* const BOARD = "pci 00:00.0 id=0x25608086 class=0x06000003\n"
                              "pci 02:01.0 id=0x10398086 class=0x02000081\n"
                              "pci 05:01.0 id=0x10398086 class=0x02000081\n";
    for (uint8_t os : {OS_WIN98SE, OS_WINXP}) {
        CSourcePair pair(os);
        FixedText<256> error;
        ASSERT_TRUE(pair.board.LoadDescription(BOARD, nullptr, &error)) << error.c_str();
        pair.board.ResetPortOps();
        EXPECT_FALSE(pair.snapshot.FindPciDevice(0x12345678, 0));
        // Every combination of buses 0-3 once, then two more dwords of each function there.
        EXPECT_EQ(pair.board.PortOps(), 2048u + 2 * 4u);
        EXPECT_TRUE(pair.snapshot.FindPciDevice(0x10398086, 0));
        EXPECT_FALSE(pair.snapshot.FindPciDeviceRevision(0x25608086, 2));
        EXPECT_EQ(pair.board.PortOps(), 2048u + 2 * 4u);
        // Once forgotten, the next question reads the board again.
        pair.snapshot.Invalidate();
        EXPECT_TRUE(pair.snapshot.FindPciDeviceRevision(0x25608086, 3));
        EXPECT_EQ(pair.board.PortOps(), 2 * (2048u + 2 * 4u));
    }
}

// The literal walk and the snapshot on generated boards, with lastClassCode after every
// question: each function's id with any subsystem, its own and another one, its
// revision and others, and catalogue rows.
TEST(PciSnapshot, AgreesQuestionByQuestionOnGeneratedBoards)
{
    const int BOARDS = 300;
    const uint32_t seed = SNAPSHOT_TEST_SEED + 1;
    printf("question boards: seed %u, %d boards\n", seed, BOARDS);
    CBoardGenerator generator(seed);
    std::mt19937 random(seed);
    std::vector<CCatalogueRow> rows;
    for (const CCatalogueRow* catalogue : CATALOGUES) {
        for (const CCatalogueRow* row = catalogue; row->label; ++row)
            rows.push_back(*row);
    }
    int asked = 0;
    int found = 0;
    for (int i = 0; i < BOARDS; ++i) {
        CSourcePair pair(i % 2 ? OS_WINXP : OS_WIN98SE);
        std::string description = generator.Next();
        FixedText<256> error;
        ASSERT_TRUE(pair.board.LoadDescription(description.c_str(), nullptr, &error))
            << error.c_str();

        struct CQuestion {
            bool revision;
            uint32_t id;
            uint32_t argument;
        };
        std::vector<CQuestion> questions;
        for (int f = 0; f < pair.board.PciFunctionCount(); ++f) {
            CBoardPciInfo info;
            ASSERT_TRUE(pair.board.PciFunctionAt(f, &info));
            questions.push_back({false, info.id, 0});
            questions.push_back({false, info.id, info.subsystem});
            questions.push_back({false, info.id, (uint32_t)random()});
            questions.push_back({true, info.id, info.classDword & 0xFF});
            questions.push_back({true, info.id, (uint32_t)random() % 5});
        }
        for (int k = 0; k < 5; ++k) {
            const CCatalogueRow& row = rows[random() % rows.size()];
            questions.push_back({false, row.idDword, row.subsystemDword});
        }
        for (const CQuestion& q : questions) {
            bool literal = q.revision ? pair.literal.FindPciDeviceRevision(q.id, q.argument)
                                      : pair.literal.FindPciDevice(q.id, q.argument);
            bool snapshot = q.revision ? pair.snapshot.FindPciDeviceRevision(q.id, q.argument)
                                       : pair.snapshot.FindPciDevice(q.id, q.argument);
            ++asked;
            if (literal) ++found;
            ASSERT_EQ(literal, snapshot) << Hex(q.id) << " " << Hex(q.argument) << "\n"
                                         << description;
            ASSERT_EQ(pair.literalClass, pair.snapshotClass) << Hex(q.id) << "\n" << description;
        }
    }
    printf("question boards: %d questions, %d answered yes\n", asked, found);
    EXPECT_GT(found, asked / 4);
    EXPECT_LT(found, asked);
}

TEST(PciSnapshot, DetectionAgreesWithTheLiteralWalkOnEveryDemoBoardAndSystem)
{
    CDetectionRig rig;
    for (const char* name : DEMO_BOARDS) {
        std::string path = std::string(TOVA_SOURCE_DIR) + "/demo/boards/" + name + ".board";
        std::string description = ReadText(path);
        ASSERT_FALSE(description.empty()) << path;
        FixedText<256> error;
        ASSERT_TRUE(rig.board.LoadFile(path.c_str(), &error)) << error.c_str();
        for (const char* os : SYSTEMS) {
            CDetectionOutcome snapshot;
            CDetectionOutcome literal;
            rig.Compare(os, description, &snapshot, &literal);
            // A board with devices must yield entries, or the comparison proves little.
            if (std::string(name) != "empty") {
                EXPECT_GT(snapshot.list.itemCount, 0) << name << " " << os;
            }
        }
    }
}

// The generated boards in shards, so that the test command can run them side by side: each
// shard its own seed, each board on one system, the systems taking turns.
class PciSnapshotGenerated : public testing::TestWithParam<int> {};

TEST_P(PciSnapshotGenerated, DetectionAgreesWithTheLiteralWalk)
{
    const int boards = SNAPSHOT_TEST_BOARDS / SNAPSHOT_TEST_SHARDS;
    const uint32_t seed = SNAPSHOT_TEST_SEED + 100 + (uint32_t)GetParam();
    printf("generated boards: seed %u, %d boards\n", seed, boards);
    auto begin = std::chrono::steady_clock::now();
    CDetectionRig rig;
    CBoardGenerator generator(seed);
    int differing = 0;
    int withEntries = 0;
    int raidClass = 0;
    uint64_t literalOps = 0;
    uint64_t snapshotOps = 0;
    for (int i = 0; i < boards && differing < 5; ++i) {
        std::string description = generator.Next();
        if (!rig.Load(description)) break;
        CDetectionOutcome snapshot;
        CDetectionOutcome literal;
        if (!rig.Compare(SYSTEMS[i % 8], description, &snapshot, &literal)) ++differing;
        if (snapshot.list.itemCount > 0) ++withEntries;
        if (snapshot.text.find("lastClassCode=0x00000104") != std::string::npos) ++raidClass;
        literalOps += literal.portOps;
        snapshotOps += snapshot.portOps;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    printf("generated boards: %d with entries, %d ending on the RAID class word, port operations "
           "%llu literal, %llu snapshot, %.1f s\n",
           withEntries, raidClass, (unsigned long long)literalOps,
           (unsigned long long)snapshotOps, seconds);
    EXPECT_EQ(differing, 0);
    // The generator must reach the interesting cases, or the agreement means little.
    EXPECT_GT(withEntries, boards / 2);
    EXPECT_GT(raidClass, boards / 100);
    // Each side did its own walking.
    EXPECT_GT(literalOps, 20 * snapshotOps);
}

INSTANTIATE_TEST_SUITE_P(Shards, PciSnapshotGenerated, testing::Range(0, SNAPSHOT_TEST_SHARDS));
