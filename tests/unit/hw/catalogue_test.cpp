// The built-in catalogues: their sizes, end rows, priority order and plausible identifiers.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "hw/catalogues.h"

namespace {

struct CNamedCatalogue {
    const char* name;
    const CCatalogueRow* rows;
    int count;
};

const CNamedCatalogue ALL_CATALOGUES[] = {
    {"south bridge", CATALOGUE_SOUTH_BRIDGE, 2}, {"chipset", CATALOGUE_CHIPSET, 57},
    {"LAN", CATALOGUE_LAN, 30},                  {"audio", CATALOGUE_AUDIO, 103},
    {"IDE/RAID", CATALOGUE_IDE_RAID, 13},        {"serial ATA", CATALOGUE_SERIAL_ATA, 6},
    {"Intel serial ATA", CATALOGUE_INTEL_SATA, 2}, {"third serial ATA", CATALOGUE_THIRD_SATA, 0},
    {"SCSI", CATALOGUE_SCSI, 3},                 {"AMR", CATALOGUE_AMR, 0},
};

void ExpectRow(const CCatalogueRow& row, const char* label, uint32_t code, uint32_t id,
               uint32_t subsystem)
{
    ASSERT_NE(row.label, nullptr);
    EXPECT_STREQ(row.label, label);
    EXPECT_EQ(row.code, code) << label;
    EXPECT_EQ(row.idDword, id) << label;
    EXPECT_EQ(row.subsystemDword, subsystem) << label;
}

}  // namespace

TEST(Catalogues, SizesAndEndRows)
{
    for (const CNamedCatalogue& c : ALL_CATALOGUES) {
        EXPECT_EQ(CatalogueRowCount(c.rows), c.count) << c.name;
        const CCatalogueRow& end = c.rows[c.count];
        EXPECT_EQ(end.label, nullptr) << c.name;
        EXPECT_EQ(end.code, 0u) << c.name;
        EXPECT_EQ(end.idDword, 0u) << c.name;
        EXPECT_EQ(end.subsystemDword, 0u) << c.name;
    }
    EXPECT_EQ(CatalogueRowCount(nullptr), 0);
}

// A transcription slip shows up as a repeated pair, an empty label, a code that does not fit a
// byte, or a vendor half that no catalogue vendor has.
TEST(Catalogues, RowsArePlausible)
{
    const std::set<uint32_t> vendors = {0x8086, 0x10DE, 0x1106, 0x5333, 0x1039, 0x10B9,
                                        0x1022, 0x10EC, 0x125D, 0x12EB, 0x1073, 0x13F6,
                                        0x105A, 0x1283, 0x1095, 0x9005};
    const std::set<uint32_t> subsystemVendors = {0x7A51, 0x8086, 0x1014, 0x1106, 0x11D4,
                                                 0x8384, 0x414C, 0x15DD, 0x1013, 0x105A,
                                                 0x1283, 0x1095, 0x9005};
    for (const CNamedCatalogue& c : ALL_CATALOGUES) {
        std::set<std::pair<uint32_t, uint32_t>> seen;
        for (int r = 0; r < c.count; ++r) {
            const CCatalogueRow& row = c.rows[r];
            EXPECT_NE(row.label[0], '\0') << c.name << " row " << r + 1;
            EXPECT_GT(row.code, 0u) << c.name << " row " << r + 1;
            EXPECT_LT(row.code, 256u) << c.name << " row " << r + 1;
            EXPECT_TRUE(vendors.count(row.idDword & 0xFFFF)) << c.name << " row " << r + 1;
            if (row.subsystemDword != 0) {
                EXPECT_TRUE(subsystemVendors.count(row.subsystemDword & 0xFFFF))
                    << c.name << " row " << r + 1;
            }
            EXPECT_TRUE(seen.insert({row.idDword, row.subsystemDword}).second)
                << c.name << " row " << r + 1 << " repeats an earlier id and subsystem";
        }
    }
}

TEST(Catalogues, FirstAndLastRowsOfEachList)
{
    ExpectRow(CATALOGUE_SOUTH_BRIDGE[0], "Intel South ICH4", 20, 0x24C08086, 0);
    ExpectRow(CATALOGUE_SOUTH_BRIDGE[1], "Intel South ICH5", 30, 0x24D08086, 0);
    ExpectRow(CATALOGUE_CHIPSET[0], "Intel 440LX", 10, 0x71808086, 0);
    ExpectRow(CATALOGUE_CHIPSET[56], "AMD 761_686A", 62, 0x700E1022, 0);
    ExpectRow(CATALOGUE_LAN[0], "Intel 8255x", 10, 0x12298086, 0);
    ExpectRow(CATALOGUE_LAN[29], "VIA 8233 LAN for KWR", 14, 0x30651106, 0xE0007A51);
    ExpectRow(CATALOGUE_AUDIO[0], "NVIDIA", 26, 0x01B010DE, 0);
    ExpectRow(CATALOGUE_AUDIO[102], "AC'97 Audio for SIS7012", 23, 0x70121039, 0);
    ExpectRow(CATALOGUE_IDE_RAID[0], "Promise ATA100 (20265)", 10, 0x0D30105A, 0xB0017A51);
    ExpectRow(CATALOGUE_IDE_RAID[12], "ITE IT8212 RAID", 50, 0x82121283, 0x00011283);
    ExpectRow(CATALOGUE_SERIAL_ATA[0], "Promise SeriesIDE(20376)", 2, 0x3376105A, 0x6620105A);
    ExpectRow(CATALOGUE_SERIAL_ATA[5], "Silicon Image sil3112", 1, 0x31121095, 0xB0027A51);
    ExpectRow(CATALOGUE_INTEL_SATA[0], "Intel ICH5 SATA/RAID", 4, 0x24DF8086, 0x24D17A51);
    ExpectRow(CATALOGUE_INTEL_SATA[1], "Intel ICH5 SATA/RAID", 4, 0x24DF8086, 0x24DF7A51);
    ExpectRow(CATALOGUE_SCSI[0], "Adaptec AIC-7902w", 1, 0x801D9005, 0x005E9005);
    ExpectRow(CATALOGUE_SCSI[2], "Adaptec AIC-7902w RAID ", 2, 0x809F9005, 0xFFFF9005);
}

// Rows whose order decides a code: a subsystem row ahead of the any-subsystem row of its id.
TEST(Catalogues, PriorityRowsStayInOrder)
{
    ExpectRow(CATALOGUE_CHIPSET[13], "Intel 845-GE_GV", 18, 0x25628086, 0x25627A51);
    ExpectRow(CATALOGUE_CHIPSET[14], "Intel 845-PE", 19, 0x25608086, 0x25607A51);
    ExpectRow(CATALOGUE_CHIPSET[15], "Intel 845-G", 17, 0x25628086, 0);
    ExpectRow(CATALOGUE_CHIPSET[16], "Intel 845-E", 16, 0x25608086, 0);
    ExpectRow(CATALOGUE_CHIPSET[24], "NVIDIA", 71, 0x01E010DE, 0);
    ExpectRow(CATALOGUE_CHIPSET[47], "SiS 646", 56, 0x06461039, 0);
    ExpectRow(CATALOGUE_CHIPSET[48], "SiS 651", 57, 0x06511039, 0);
    ExpectRow(CATALOGUE_CHIPSET[49], "SiS 648", 58, 0x06481039, 0);
    ExpectRow(CATALOGUE_CHIPSET[50], "SiS 655", 59, 0x06551039, 0);
    ExpectRow(CATALOGUE_LAN[15], "Intel 82540EM for  SIS", 12, 0x100E8086, 0x002E8086);
    ExpectRow(CATALOGUE_LAN[16], "Intel 82540EM for ALL", 12, 0x100E8086, 0);
    ExpectRow(CATALOGUE_AUDIO[16], "AD1881 for ICH5", 20, 0x24D58086, 0xA0007A51);
    ExpectRow(CATALOGUE_AUDIO[68], "RTLfor ICH5", 25, 0x24D58086, 0x4740414C);
    ExpectRow(CATALOGUE_AUDIO[82], "AC'97 Audio for VIA686AB", 18, 0x30581106, 0);
    ExpectRow(CATALOGUE_AUDIO[99], "AC'97 Audio for Realtek", 24, 0x746D1022, 0xA0027A51);
    ExpectRow(CATALOGUE_IDE_RAID[9], "Promise RAID133 (20276)", 31, 0x5275105A, 0);
    ExpectRow(CATALOGUE_SERIAL_ATA[2], "Silicon Image sil3112", 3, 0x31121095, 0x61121095);

    // Every any-subsystem row of an id comes after that id's subsystem rows, except the 865
    // pair, whose second row can never be reached.
    for (const CCatalogueRow* c : {CATALOGUE_CHIPSET, CATALOGUE_LAN, CATALOGUE_AUDIO,
                                   CATALOGUE_IDE_RAID, CATALOGUE_SERIAL_ATA}) {
        for (int r = 0; c[r].label; ++r) {
            if (c[r].subsystemDword != 0) continue;
            for (int later = r + 1; c[later].label; ++later) {
                if (c[later].idDword != c[r].idDword) continue;
                EXPECT_EQ(c[later].idDword, 0x25708086u) << c[r].label << " row " << r + 1;
            }
        }
    }
}
