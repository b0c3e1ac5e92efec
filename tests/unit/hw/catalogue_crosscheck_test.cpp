// Cross-check of the built-in catalogues against an independent transcription
// (tests/data/catalogues.tsv): the rows themselves, and what probing a board that holds one
// catalogue device yields, predicted from the data file alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "board/board.h"
#include "hw/catalogues.h"
#include "hw/detection.h"
#include "hw/hw_state.h"
#include "hw/pci.h"
#include "hw/port_access.h"
#include "platform/sim/sim_hardware.h"

namespace {

struct CTsvRow {
    int number;
    std::string label;
    uint32_t code;
    uint32_t idDword;
    uint32_t subsystemDword;
};

struct CTsvCatalogue {
    std::string name;
    std::vector<CTsvRow> rows;
};

bool ParseDword(const std::string& text, uint32_t* value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    unsigned long parsed = strtoul(text.c_str(), &end, 0);
    if (*end != '\0' || parsed > 0xFFFFFFFFul) return false;
    *value = (uint32_t)parsed;
    return true;
}

// Catalogues in file order; a malformed line fails the test that loads it.
std::vector<CTsvCatalogue> LoadTranscription()
{
    std::vector<CTsvCatalogue> catalogues;
    std::ifstream in(std::string(TOVA_TEST_DATA_DIR) + "/catalogues.tsv");
    EXPECT_TRUE(in.good()) << "catalogues.tsv is missing";
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t')) fields.push_back(field);
        while (fields.size() < 6) fields.push_back("");
        if (fields.size() != 6) {
            ADD_FAILURE() << "line " << lineNumber << ": " << fields.size() << " fields";
            continue;
        }
        if (catalogues.empty() || catalogues.back().name != fields[0]) {
            catalogues.push_back(CTsvCatalogue{fields[0], {}});
        }
        CTsvRow row;
        row.number = atoi(fields[1].c_str());
        if (row.number == 0) continue;  // a catalogue without rows
        row.label = fields[2];
        bool parsed = ParseDword(fields[3], &row.code) && ParseDword(fields[4], &row.idDword) &&
                      ParseDword(fields[5], &row.subsystemDword);
        EXPECT_TRUE(parsed) << "line " << lineNumber;
        EXPECT_EQ((int)catalogues.back().rows.size() + 1, row.number) << "line " << lineNumber;
        catalogues.back().rows.push_back(row);
    }
    return catalogues;
}

const CCatalogueRow* BuiltInCatalogue(const std::string& name)
{
    static const std::map<std::string, const CCatalogueRow*> byName = {
        {"south_bridge", CATALOGUE_SOUTH_BRIDGE}, {"chipset", CATALOGUE_CHIPSET},
        {"lan", CATALOGUE_LAN},                   {"audio", CATALOGUE_AUDIO},
        {"ide_raid", CATALOGUE_IDE_RAID},         {"serial_ata", CATALOGUE_SERIAL_ATA},
        {"intel_sata", CATALOGUE_INTEL_SATA},     {"third_sata", CATALOGUE_THIRD_SATA},
        {"scsi", CATALOGUE_SCSI},                 {"amr", CATALOGUE_AMR},
    };
    auto found = byName.find(name);
    return found == byName.end() ? nullptr : found->second;
}

// A subsystem that no row of this id names, for boards behind an "any subsystem" row.
uint32_t UnlistedSubsystem(const CTsvCatalogue& catalogue, uint32_t idDword)
{
    uint32_t candidate = 0x13572468;
    for (bool listed = true; listed; ++candidate) {
        listed = false;
        for (const CTsvRow& row : catalogue.rows) {
            if (row.idDword == idDword && row.subsystemDword == candidate) listed = true;
        }
        if (!listed) return candidate;
    }
    return candidate;
}

// What the data file says a board with this one device yields: the first row whose id matches
// and whose subsystem is "any" or the board's; null when none does.
const CTsvRow* PredictedRow(const CTsvCatalogue& catalogue, uint32_t idDword, uint32_t subsystem)
{
    for (const CTsvRow& row : catalogue.rows) {
        if (row.idDword == idDword && (row.subsystemDword == 0 || row.subsystemDword == subsystem)) {
            return &row;
        }
    }
    return nullptr;
}

// One simulated board with one PCI function, reached through the 9x port path.
struct CSingleDeviceRig {
    CBoard board;
    CSimHardware hardware{board};
    uint8_t osCode = OS_WIN98SE;
    CPortAccess ports{hardware, osCode};
    CHwState state;
    CPciScanner scanner{ports, state.lastClassCode};

    bool Load(uint32_t idDword, uint32_t subsystem)
    {
        char description[128];
        snprintf(description, sizeof description, "pci 00:05.0 id=0x%08X subsys=0x%08X\n",
                 idDword, subsystem);
        FixedText<256> error;
        bool loaded = board.LoadDescription(description, nullptr, &error);
        EXPECT_TRUE(loaded) << error.c_str();
        return loaded;
    }
};

}  // namespace

TEST(CatalogueCrossCheckTest, TranscriptionNamesEveryCatalogue)
{
    std::vector<CTsvCatalogue> catalogues = LoadTranscription();
    std::map<std::string, size_t> rows;
    for (const CTsvCatalogue& catalogue : catalogues) {
        EXPECT_EQ(0u, rows.count(catalogue.name)) << catalogue.name << " appears twice";
        rows[catalogue.name] = catalogue.rows.size();
    }
    const std::map<std::string, size_t> expected = {
        {"south_bridge", 2}, {"chipset", 57},   {"lan", 30},      {"audio", 103},
        {"ide_raid", 13},    {"serial_ata", 6}, {"intel_sata", 2}, {"third_sata", 0},
        {"scsi", 3},         {"amr", 0},
    };
    EXPECT_EQ(expected, rows);
}

TEST(CatalogueCrossCheckTest, BuiltInRowsEqualTheTranscription)
{
    for (const CTsvCatalogue& catalogue : LoadTranscription()) {
        SCOPED_TRACE(catalogue.name);
        const CCatalogueRow* builtIn = BuiltInCatalogue(catalogue.name);
        ASSERT_NE(nullptr, builtIn) << "unknown catalogue";
        ASSERT_EQ((int)catalogue.rows.size(), CatalogueRowCount(builtIn));
        for (size_t i = 0; i < catalogue.rows.size(); ++i) {
            const CTsvRow& row = catalogue.rows[i];
            SCOPED_TRACE("row " + std::to_string(row.number));
            ASSERT_NE(nullptr, builtIn[i].label);
            EXPECT_EQ(row.label, builtIn[i].label);
            EXPECT_EQ(row.code, builtIn[i].code);
            EXPECT_EQ(row.idDword, builtIn[i].idDword);
            EXPECT_EQ(row.subsystemDword, builtIn[i].subsystemDword);
        }
        EXPECT_EQ(nullptr, builtIn[catalogue.rows.size()].label) << "no end row";
    }
}

// For every row, a board holding just that device (with the row's subsystem, or one no row
// of the id names when the row accepts any) is found with the code the data file predicts.
TEST(CatalogueCrossCheckTest, ProbingASingleDeviceYieldsThePredictedCode)
{
    int probes = 0;
    for (const CTsvCatalogue& catalogue : LoadTranscription()) {
        const CCatalogueRow* builtIn = BuiltInCatalogue(catalogue.name);
        ASSERT_NE(nullptr, builtIn) << catalogue.name;
        for (const CTsvRow& row : catalogue.rows) {
            SCOPED_TRACE(catalogue.name + " row " + std::to_string(row.number));
            uint32_t subsystem = row.subsystemDword ? row.subsystemDword
                                                    : UnlistedSubsystem(catalogue, row.idDword);
            const CTsvRow* predicted = PredictedRow(catalogue, row.idDword, subsystem);
            ASSERT_NE(nullptr, predicted);

            CSingleDeviceRig rig;
            if (!rig.Load(row.idDword, subsystem)) continue;
            uint8_t code = 0xEE;
            ASSERT_TRUE(ProbeCatalogue(rig.scanner, builtIn, &code, rig.state.results));
            EXPECT_EQ(predicted->code, code);
            EXPECT_EQ(predicted->idDword, rig.state.results.foundId);
            EXPECT_EQ(predicted->subsystemDword, rig.state.results.foundSubsystem);
            ++probes;
        }
    }
    EXPECT_EQ(216, probes);
}

// Nothing on the board: every catalogue, the empty ones included, finds nothing and leaves the
// code and the scratch as they were.
TEST(CatalogueCrossCheckTest, AnEmptyBoardMatchesNoCatalogue)
{
    for (const CTsvCatalogue& catalogue : LoadTranscription()) {
        SCOPED_TRACE(catalogue.name);
        const CCatalogueRow* builtIn = BuiltInCatalogue(catalogue.name);
        ASSERT_NE(nullptr, builtIn);
        CSingleDeviceRig rig;
        rig.board.Clear();
        rig.state.results.foundId = 0x11111111;
        rig.state.results.foundSubsystem = 0x22222222;
        uint8_t code = 0xEE;
        EXPECT_FALSE(ProbeCatalogue(rig.scanner, builtIn, &code, rig.state.results));
        EXPECT_EQ(0xEE, code);
        EXPECT_EQ(0x11111111u, rig.state.results.foundId);
        EXPECT_EQ(0x22222222u, rig.state.results.foundSubsystem);
    }
}
