// Driver-list parsing: the system's block, a category's lines, the fields of one line, the
// USB 2.0 folder rule, and bad CD content that must stay inside the records.
#include <gtest/gtest.h>

#include <string>

#include "hw/driver_list.h"
#include "hw/hw_state.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "unit/platform/temp_dir.h"

namespace {

std::string Section(const CInstallList& list) { return std::string(list.osSection.data()); }

// A CD in drive E on a temp folder.
struct CListCd {
    CTempDir dir;
    CSimFiles files;

    CListCd() { EXPECT_TRUE(files.MapDrive('E', dir.Path().c_str())); }
    void Write(const char* name, const std::string& text) { dir.Write(name, text); }
};

// Loads text as the list file and cuts out the block of osCode.
void LoadList(CInstallList& list, const std::string& text, uint8_t osCode)
{
    CListCd cd;
    cd.Write("tova.txt", text);
    ASSERT_TRUE(ReadListFile(cd.files, "E:\\tova.txt", list));
    ExtractOsSection(list, osCode);
}

// What detection does before asking for a category's lines.
void AddCategory(CInstallList& list, const char* tag, int code)
{
    list.items[list.itemCount].deviceCode = code;
    AddItemsForCategory(list, CLeadBytes(), tag);
}

const char* const TWO_SYSTEMS =
    "; demo list\r\n"
    "1;14;Chipset;16;Intel INF 2000;%CDROM%Chipset\\Intel\\;setup.exe;V1.0\r\n"
    "2;14;LAN;12;Intel LAN 2000;%CDROM%LAN\\Intel\\2000\\;setup.exe;V2.0\r\n"
    ";---- end of 2000\r\n"
    "3;16;Chipset;16;Intel INF XP;%CDROM%Chipset\\Intel\\;setup.exe;V1.1\r\n"
    "4;16;LAN;12;Intel LAN XP;%CDROM%LAN\\Intel\\XP\\;setup.exe;V2.1\r\n"
    "5;16;LAN;120;Other LAN XP;%CDROM%LAN\\Other\\;inst.exe;V9\r\n"
    "6;16;LAN;12;Intel LAN XP tools;%CDROM%LAN\\Intel\\Tools\\;tools.exe;V2.2\r\n"
    ";---- end of XP\r\n";

}  // namespace

TEST(DriverListFile, MissingFileLeavesEmptyTextAndSection)
{
    CListCd cd;
    CInstallList list;
    EXPECT_FALSE(ReadListFile(cd.files, "E:\\tova.txt", list));
    EXPECT_TRUE(list.listText.empty());
    ExtractOsSection(list, OS_WINXP);
    EXPECT_EQ(Section(list), "");
    AddCategory(list, ";Chipset;", 16);
    EXPECT_EQ(list.itemCount, 0);
}

TEST(DriverListFile, ReadAddsTerminatingZeroAndFreeDropsText)
{
    CListCd cd;
    cd.Write("a.txt", "abc");
    CInstallList list;
    ASSERT_TRUE(ReadListFile(cd.files, "a.txt", list));
    ASSERT_EQ(list.listText.size(), 4u);
    EXPECT_EQ(list.listText[3], '\0');
    EXPECT_STREQ(list.listText.data(), "abc");
    FreeListText(list);
    EXPECT_TRUE(list.listText.empty());
}

TEST(DriverListSection, CrLfBlockStartsWithPreviousLineEndAndStopsBeforeMarker)
{
    CInstallList list;
    LoadList(list, TWO_SYSTEMS, OS_WINXP);
    std::string section = Section(list);
    EXPECT_EQ(section.substr(0, 5), "\r\n3;1");
    EXPECT_EQ(section.substr(section.size() - 6), "V2.2\r\n");
    EXPECT_EQ(section.find("14;"), std::string::npos);

    LoadList(list, TWO_SYSTEMS, OS_WIN2000);
    section = Section(list);
    EXPECT_EQ(section.substr(0, 5), "\r\n1;1");
    EXPECT_EQ(section.find("XP"), std::string::npos);
}

TEST(DriverListSection, KeyOnFirstLineStartsAtTextStart)
{
    CInstallList list;
    LoadList(list, "1;16;Chipset;16;A;1234567F;s.exe;V\r\n;-", OS_WINXP);
    EXPECT_EQ(Section(list), "1;16;Chipset;16;A;1234567F;s.exe;V\r\n");
}

TEST(DriverListSection, MissingKeyOrMarkerGivesEmptyBlock)
{
    CInstallList list;
    LoadList(list, TWO_SYSTEMS, OS_WIN98SE);
    EXPECT_EQ(Section(list), "");
    LoadList(list, "x\r\n1;16;Chipset;16;A;1234567F;s.exe;V\r\n", OS_WINXP);
    EXPECT_EQ(Section(list), "");
    // ";1;Chipset" is not a prefix of ";16;Chipset" lines.
    LoadList(list, "1;16;Chipset;16;A;1234567F;s.exe;V\r\n;-", 1);
    EXPECT_EQ(Section(list), "");
}

TEST(DriverListSection, LineFeedOnlyAndLineFeedAsFirstByte)
{
    CInstallList list;
    LoadList(list, "ab\n1;16;Chipset;16;A;1234567F;s.exe;V\n;-", OS_WINXP);
    EXPECT_EQ(Section(list), "b\n1;16;Chipset;16;A;1234567F;s.exe;V\n");
    // Nothing lies before a line feed at the very start: the block starts there.
    LoadList(list, "\n1;16;Chipset;16;A;1234567F;s.exe;V\n;-", OS_WINXP);
    EXPECT_EQ(Section(list), "\n1;16;Chipset;16;A;1234567F;s.exe;V\n");
    AddCategory(list, ";Chipset;", 16);
    ASSERT_EQ(list.itemCount, 1);
    EXPECT_STREQ(list.items[0].versionText.c_str(), "V");
}

TEST(DriverListCategory, KeyEndsInSemicolonAndLinesComeInFileOrder)
{
    CInstallList list;
    LoadList(list, TWO_SYSTEMS, OS_WINXP);
    list.items[0].deviceId = 0x10398086;
    list.items[0].subsystemId = 0x30138086;
    AddCategory(list, ";LAN;", 12);
    ASSERT_EQ(list.itemCount, 2);
    EXPECT_STREQ(list.items[0].description.c_str(), "Intel LAN XP");
    EXPECT_STREQ(list.items[1].description.c_str(), "Intel LAN XP tools");
    EXPECT_STREQ(list.items[1].entryNumber.c_str(), "6");
    // Both entries of the category carry the probe's identifiers and code.
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(list.items[r].deviceId, 0x10398086u);
        EXPECT_EQ(list.items[r].subsystemId, 0x30138086u);
        EXPECT_EQ(list.items[r].deviceCode, 12);
    }
    AddCategory(list, ";LAN;", 120);
    ASSERT_EQ(list.itemCount, 3);
    EXPECT_STREQ(list.items[2].description.c_str(), "Other LAN XP");
    AddCategory(list, ";LAN;", 1);
    AddCategory(list, ";SCSI;", 12);
    EXPECT_EQ(list.itemCount, 3);
}

TEST(DriverListCategory, LineOfAnotherSystemInsideTheBlockMatches)
{
    const char* text =
        "1;16;Chipset;16;XP INF;%CDROM%Chipset\\;setup.exe;V1\r\n"
        "2;11;audio;23;98 audio stray;%CDROM%Audio\\98\\;setup.exe;V2\r\n"
        "3;16;audio;23;XP audio;%CDROM%Audio\\XP\\;setup.exe;V3\r\n"
        ";-\r\n"
        "4;11;Chipset;16;98 INF;%CDROM%Chipset\\;setup.exe;V4\r\n"
        "5;11;audio;23;98 audio;%CDROM%Audio\\98\\;setup.exe;V5\r\n"
        ";-\r\n";
    CInstallList list;
    LoadList(list, text, OS_WINXP);
    AddCategory(list, ";audio;", 23);
    ASSERT_EQ(list.itemCount, 2);
    EXPECT_STREQ(list.items[0].description.c_str(), "98 audio stray");
    EXPECT_STREQ(list.items[1].description.c_str(), "XP audio");

    // The system-11 block has its own lines only.
    CInstallList other;
    LoadList(other, text, OS_WIN98);
    AddCategory(other, ";audio;", 23);
    ASSERT_EQ(other.itemCount, 1);
    EXPECT_STREQ(other.items[0].description.c_str(), "98 audio");
}

TEST(DriverListCategory, LastLineOfBlockKeepsItsLastCharacterWithAnyLineEnds)
{
    CInstallList list;
    LoadList(list, "1;16;Chipset;16;A;%CDROM%X\\;s.exe;V5.00.1012\r\n;-", OS_WINXP);
    AddCategory(list, ";Chipset;", 16);
    ASSERT_EQ(list.itemCount, 1);
    EXPECT_STREQ(list.items[0].versionText.c_str(), "V5.00.1012");

    // The marker right after the version text, no line end at all.
    CInstallList bare;
    LoadList(bare, "1;16;Chipset;16;A;%CDROM%X\\;s.exe;V7;-", OS_WINXP);
    AddCategory(bare, ";Chipset;", 16);
    ASSERT_EQ(bare.itemCount, 1);
    EXPECT_STREQ(bare.items[0].setupFile.c_str(), "s.exe");
    EXPECT_STREQ(bare.items[0].versionText.c_str(), "V7");

    CInstallList lf;
    LoadList(lf, "0;16;Chipset;1;A;%CDROM%A\\;a.exe;V1\n1;16;LAN;16;B;%CDROM%B\\;b.exe;V2\n;-",
             OS_WINXP);
    AddCategory(lf, ";LAN;", 16);
    ASSERT_EQ(lf.itemCount, 1);
    EXPECT_STREQ(lf.items[0].description.c_str(), "B");
    EXPECT_STREQ(lf.items[0].versionText.c_str(), "V2");
}

TEST(DriverListCategory, ThirtyFirstEntryIsIgnoredAndNothingIsOverwritten)
{
    std::string text = "0;16;Chipset;1;INF;%CDROM%Chipset\\;setup.exe;V0\r\n";
    for (int n = 1; n <= 33; ++n) {
        text += std::to_string(n) + ";16;LAN;12;LAN " + std::to_string(n) +
                ";%CDROM%LAN\\;setup.exe;V1\r\n";
    }
    text += ";-\r\n";
    CInstallList list;
    LoadList(list, text, OS_WINXP);
    AddCategory(list, ";Chipset;", 1);
    AddCategory(list, ";LAN;", 12);
    ASSERT_EQ(list.itemCount, DRIVER_ITEM_CAPACITY);
    EXPECT_STREQ(list.items[0].description.c_str(), "INF");
    EXPECT_STREQ(list.items[29].description.c_str(), "LAN 29");

    // A full list takes nothing more.
    AddItemsForCategory(list, CLeadBytes(), ";Chipset;");
    EXPECT_EQ(list.itemCount, DRIVER_ITEM_CAPACITY);
    EXPECT_STREQ(list.items[0].description.c_str(), "INF");
}

TEST(DriverListLine, FieldsOfAFullLine)
{
    CInstallList list;
    std::string line = "  12;16;LAN;12;Intel PRO/100;%CDROM%LAN/Intel/XP;setup.exe;V7.1 beta";
    ParseListLine(list, CLeadBytes(), line.c_str(), line.size(), 3);
    const DriverItem& item = list.items[3];
    EXPECT_STREQ(item.entryNumber.c_str(), "12");
    EXPECT_STREQ(item.description.c_str(), "Intel PRO/100");
    EXPECT_STREQ(item.folder.c_str(), "LAN\\Intel\\XP");
    EXPECT_STREQ(item.setupFile.c_str(), "setup.exe");
    EXPECT_STREQ(item.versionText.c_str(), "V7.1 beta");
    EXPECT_EQ(list.sis650VgaListed, 0);
}

TEST(DriverListLine, SevenFolderCharactersDroppedWhateverTheyAre)
{
    CInstallList list;
    const char* lines[] = {
        "1;16;LAN;12;D;ABCDEFGhij;s.exe;V",  // any seven characters go
        "1;16;LAN;12;D;1234567;s.exe;V",     // exactly seven leave nothing
        "1;16;LAN;12;D;abc;s.exe;V",         // fewer than seven leave nothing
        "1;16;LAN;12;D;;s.exe;V",
    };
    const char* expected[] = {"hij", "", "", ""};
    for (int k = 0; k < 4; ++k) {
        list.items[k].folder = "stale";
        ParseListLine(list, CLeadBytes(), lines[k], strlen(lines[k]), k);
        EXPECT_STREQ(list.items[k].folder.c_str(), expected[k]) << lines[k];
        EXPECT_STREQ(list.items[k].setupFile.c_str(), "s.exe") << lines[k];
    }
}

TEST(DriverListLine, Sis650VgaFolderSetsTheFlagWithoutRegardToCaseOrSlashes)
{
    const char* folders[] = {"%CDROM%SiS650\\VGA\\Win2k_XP\\", "%CDROM%sis650/vga/WIN2K_XP/",
                             "%CDROM%x\\SIS650\\VGA\\WIN2K_XP"};
    for (const char* folder : folders) {
        CInstallList list;
        std::string line = std::string("1;16;Chipset;55;VGA;") + folder + ";setup.exe;V";
        ParseListLine(list, CLeadBytes(), line.c_str(), line.size(), 0);
        EXPECT_EQ(list.sis650VgaListed, 1) << folder;
    }
    CInstallList list;
    std::string line = "1;16;Chipset;55;VGA;%CDROM%SiS650\\VGA\\Win9x\\;setup.exe;V";
    ParseListLine(list, CLeadBytes(), line.c_str(), line.size(), 0);
    EXPECT_EQ(list.sis650VgaListed, 0);
}

TEST(DriverListLine, TooFewFieldsGiveEmptyFields)
{
    struct {
        const char* line;
        const char* description;
        const char* setupFile;
    } cases[] = {
        {"", "", ""},
        {"no digits at all", "", ""},
        {"7", "", ""},
        {"7;16;LAN;12;Only a name", "Only a name", ""},
        {"7;16;LAN;12;Name;%CDROM%Folder", "Name", ""},
        {"7;16;LAN;12;Name;%CDROM%Folder;setup.exe", "Name", "setup.exe"},
    };
    for (const auto& c : cases) {
        CInstallList list;
        list.items[0].versionText = "stale";
        ParseListLine(list, CLeadBytes(), c.line, strlen(c.line), 0);
        EXPECT_STREQ(list.items[0].description.c_str(), c.description) << c.line;
        EXPECT_STREQ(list.items[0].setupFile.c_str(), c.setupFile) << c.line;
        EXPECT_STREQ(list.items[0].versionText.c_str(), "") << c.line;
    }
}

TEST(DriverListLine, LongFieldsAreCutAndLaterFieldsStayInPlace)
{
    std::string longName(400, 'n');
    std::string longFolder = "%CDROM%" + std::string(400, 'f');
    std::string longSetup(40, 's');
    std::string longVersion(60, 'v');
    std::string number(500, '9');
    std::string line = number + ";16;LAN;12;" + longName + ";" + longFolder + ";" + longSetup +
                       ";" + longVersion;
    CInstallList list;
    ParseListLine(list, CLeadBytes(), line.c_str(), line.size(), 29);
    const DriverItem& item = list.items[29];
    EXPECT_EQ(item.entryNumber.Length(), 327u);
    EXPECT_EQ(item.description.c_str(), std::string(254, 'n'));
    EXPECT_EQ(item.folder.c_str(), std::string(254, 'f'));
    EXPECT_EQ(item.setupFile.c_str(), std::string(25, 's'));
    EXPECT_EQ(item.versionText.c_str(), std::string(19, 'v'));
}

TEST(DriverListLine, LineEndsAtItsFirstBreakAndBadIndexIsIgnored)
{
    CInstallList list;
    const char* line = "1;16;LAN;12;D;%CDROM%F;s.exe\r\n2;16;LAN;12;E;%CDROM%G;t.exe;V9";
    ParseListLine(list, CLeadBytes(), line, strlen(line), 0);
    EXPECT_STREQ(list.items[0].setupFile.c_str(), "s.exe");
    EXPECT_STREQ(list.items[0].versionText.c_str(), "");

    CInstallList untouched;
    ParseListLine(untouched, CLeadBytes(), line, strlen(line), -1);
    ParseListLine(untouched, CLeadBytes(), line, strlen(line), DRIVER_ITEM_CAPACITY);
    for (const DriverItem& item : untouched.items) EXPECT_TRUE(item.description.Empty());
}

TEST(DriverListUsb2Rule, UnsupportedOnlyOnXpWithoutServicePack)
{
    const char* paths[] = {
        "E:\\CHIPSET\\USB20\\2KXP\\SETUP.EXE",    "E:\\CHIPSET\\VIA\\VT6202USB2.0\\SETUP.EXE",
        "E:\\CHIPSET\\VIA\\USB2.0\\SETUP.EXE",    "E:\\CHIPSET\\SIS\\USB\\WINXP\\SETUP.EXE",
        "E:\\CHIPSET\\NUSB\\SETUP.EXE",
    };
    for (const char* path : paths) {
        EXPECT_TRUE(isUnsupportedUsb2Row(OS_WINXP, 0, path)) << path;
        EXPECT_FALSE(isUnsupportedUsb2Row(OS_WINXP, 1, path)) << path;
        EXPECT_FALSE(isUnsupportedUsb2Row(OS_WIN2000, 0, path)) << path;
        EXPECT_FALSE(isUnsupportedUsb2Row(OS_WINME, 0, path)) << path;
    }
    // Plain, case-sensitive search: the caller upper-cases the path beforehand.
    EXPECT_FALSE(isUnsupportedUsb2Row(OS_WINXP, 0, "E:\\chipset\\nusb\\setup.exe"));
    EXPECT_FALSE(isUnsupportedUsb2Row(OS_WINXP, 0, "E:\\CHIPSET\\USB20\\SETUP.EXE"));
    EXPECT_FALSE(isUnsupportedUsb2Row(OS_WINXP, 0, nullptr));
}

// A Big5 description, folder or version longer than its field is cut before the character the
// field would split; on code page 1252 the same line is cut at the byte count.
TEST(DriverListLine, Big5FieldsAreCutOnCharacterBoundaries)
{
    CSimClock clock;
    CSimSystem system(clock);
    system.SetCodePage(950);
    CLeadBytes big5(system);
    std::string chars;
    for (int k = 0; k < 127; ++k)
        chars += "\xA4\xA4";
    // The description's 255-byte field keeps 254 bytes: "A" and 126 characters and a half.
    std::string description = "A" + chars;
    std::string folder = "%CDROM%B" + chars;
    std::string version;
    for (int k = 0; k < 10; ++k)
        version += "\xAA\xA9";
    std::string line = "1;16;LAN;12;" + description + ";" + folder + ";setup.exe;" + version;

    CInstallList list;
    ParseListLine(list, big5, line.c_str(), line.size(), 0);
    const DriverItem& item = list.items[0];
    EXPECT_EQ(description.substr(0, 253), item.description.c_str());
    EXPECT_EQ(folder.substr(7, 253), item.folder.c_str());
    EXPECT_EQ(version.substr(0, 18), item.versionText.c_str());
    EXPECT_STREQ("setup.exe", item.setupFile.c_str());

    ParseListLine(list, CLeadBytes(), line.c_str(), line.size(), 1);
    EXPECT_EQ(description.substr(0, 254), list.items[1].description.c_str());
    EXPECT_EQ(folder.substr(7, 254), list.items[1].folder.c_str());
    EXPECT_EQ(version.substr(0, 19), list.items[1].versionText.c_str());
}
