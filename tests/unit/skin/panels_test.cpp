// The panel loaders on CDs of the tests' own making: item rectangles from pictures, the driver
// rows and their check boxes, the utility list with its hide table and scroll bar, the readme,
// and what bad content does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/lead_bytes.h"
#include "skin/panels.h"
#include "skin/picture_cache.h"
#include "unit/skin/skin_rig.h"

namespace {

// A content file with seven Common items and Panel0's three own items, each with its pictures.
std::string StandardContent(const std::string& panel1 = "[Panel1]\ntotal=0\n")
{
    std::string ini = "[Common]\ntitle=Test CD\ntotal=7\n";
    for (int i = 0; i < 7; ++i) {
        std::string n = std::to_string(i);
        ini += n + "_x=" + std::to_string(20 + 60 * i) + "\n" + n + "_y=420\n";
        for (const char* look : {"N", "O", "D"}) {
            ini += n + "_" + look + "bmp=pics\\c" + n + look + ".bmp\n";
            ini += n + "_" + look + "bmp_m=pics\\c" + n + look + "_m.bmp\n";
        }
        ini += n + "_exe=cmd" + n + "\n";
    }
    ini += "[Panel0]\nBK=pics\\bk.bmp\nrtnblk=pics\\rtn.bmp\nline1=One\nline2=Two\nline3=Three\n"
           "ez_line1=Ez1\nez_line2=Ez2\nez_line3=Ez3\ntotal=3\n";
    for (int i = 0; i < 3; ++i) {
        std::string n = std::to_string(i);
        ini += n + "_x=" + std::to_string(200 + 100 * i) + "\n" + n + "_y=360\n";
        ini += n + "_Nbmp=pics\\p" + n + "N.bmp\n" + n + "_Nbmp_m=pics\\p" + n + "N_m.bmp\n";
        ini += n + "_Obmp=pics\\p" + n + "O.bmp\n" + n + "_Obmp_m=pics\\p" + n + "O_m.bmp\n";
    }
    ini += panel1;
    ini += "[Panel4]\nBK=pics\\bk4.bmp\nline1=More\n";
    return ini;
}

// Pictures for StandardContent: Common "over" looks 50 x 30, Panel0's normal looks 80 x 25.
void StandardPictures(CSkinRig& rig)
{
    for (int i = 0; i < 7; ++i) {
        std::string n = std::to_string(i);
        for (const char* look : {"N", "O", "D"}) {
            int width = look[0] == 'O' ? 50 : 40;
            rig.Picture("pics/c" + n + look + ".bmp", width, 30);
            rig.Picture("pics/c" + n + look + "_m.bmp", width, 30);
        }
    }
    for (int i = 0; i < 3; ++i) {
        std::string n = std::to_string(i);
        rig.Picture("pics/p" + n + "N.bmp", 80, 25);
        rig.Picture("pics/p" + n + "N_m.bmp", 80, 25);
        rig.Picture("pics/p" + n + "O.bmp", 90, 26);
        rig.Picture("pics/p" + n + "O_m.bmp", 90, 26);
    }
    rig.Picture("pics/bk.bmp", 640, 480);
    rig.Picture("pics/bk4.bmp", 640, 480);
    rig.Picture("pics/rtn.bmp", 100, 10);
}

// A Panel1 section with rows rows 20 pixels apart.
std::string ToolRows(int rows)
{
    std::string ini = "[Panel1]\ntotal=" + std::to_string(rows) + "\n";
    for (int j = 0; j < rows; ++j) {
        std::string n = std::to_string(j);
        ini += n + "_x=210\n" + n + "_y=" + std::to_string(90 + 20 * j) + "\n";
        ini += n + "_Desc=Tool " + n + "\n" + n + "_Ver=1." + n + "\n";
        ini += n + "_exe=Utility\\t" + n + ".exe\n";
    }
    return ini;
}

class PanelsTest : public ::testing::Test {
protected:
    void Load(const std::string& content)
    {
        rig.File("bmp.ini", content);
        CPanelLoader(*rig.platform, *rig.state).LoadAllPanels();
    }
    const PanelItem& Item(int panel, int item) { return rig.PanelAt(panel).items[item]; }
    const CSimControl* Box(int r)
    {
        return rig.machine.window.Control(CONTROL_ROW_CHECK_BOX_FIRST + r);
    }

    CSkinRig rig;
};

TEST_F(PanelsTest, CommonAndOwnItemsTakeTheirRectanglesFromTheirPictures)
{
    StandardPictures(rig);
    Load(StandardContent());
    // Common items: the over look gives the size; all panels carry them.
    for (int p = 0; p < PANEL_COUNT; ++p) {
        const PanelItem& tab = Item(p, 3);
        EXPECT_EQ(200, tab.left);
        EXPECT_EQ(420, tab.top);
        EXPECT_EQ(250, tab.right) << "panel " << p;
        EXPECT_EQ(450, tab.bottom);
        EXPECT_EQ("E:\\pics\\c3N.bmp", rig.Name(tab.normalImage));
        EXPECT_EQ("E:\\pics\\c3D_m.bmp", rig.Name(tab.downMask));
        EXPECT_EQ("cmd3", std::string(tab.command.c_str()));
    }
    // Panel0's own items: the normal look gives the size, the over look serves as pressed.
    const PanelItem& start = Item(0, 8);
    EXPECT_EQ(300, start.left);
    EXPECT_EQ(380, start.right);
    EXPECT_EQ(385, start.bottom);
    EXPECT_EQ("E:\\pics\\p1O.bmp", rig.Name(start.downImage));
    EXPECT_EQ("E:\\pics\\p1O_m.bmp", rig.Name(start.downMask));
    EXPECT_EQ(start.overImage, start.downImage) << "the same file shares its one load";
    EXPECT_EQ("E:\\pics\\bk.bmp", rig.Name(rig.PanelAt(0).backgroundImage));
    EXPECT_EQ("E:\\pics\\rtn.bmp", rig.Name(rig.PanelAt(0).returnImage));
    EXPECT_EQ("E:\\pics\\bk4.bmp", rig.Name(rig.PanelAt(4).backgroundImage));
    EXPECT_STREQ("Ez2", rig.state->ezLine2.c_str());
    EXPECT_STREQ("C:\\windows\\system\\", rig.state->systemFolder.c_str());
}

TEST_F(PanelsTest, AllPanelsEndWithPanel0ShownAndRapidSetupOff)
{
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    Load(StandardContent());
    const PanelTable& table = rig.state->panelTable;
    for (int p = 0; p < PANEL_COUNT; ++p) {
        EXPECT_EQ(p == 0 ? 1 : 0, table.panels[p].active);
        EXPECT_EQ(PANEL_NONE, table.panels[p].pressedItem);
    }
    EXPECT_EQ(1, Item(0, 0).state) << "the Panel0 tab shows selected";
    EXPECT_EQ(0, Item(0, 7).hidden);
    EXPECT_EQ(1, Item(0, 8).hidden);
    EXPECT_EQ(1, Item(0, 9).hidden);
    EXPECT_FALSE(Box(0)->visible);
    EXPECT_FALSE(rig.machine.window.Control(CONTROL_README_BOX)->visible);
    EXPECT_FALSE(rig.machine.window.Control(CONTROL_SYSINFO_BOX)->visible);
    EXPECT_EQ(11, rig.PanelAt(0).rowCount);
    EXPECT_EQ(7, rig.PanelAt(2).rowCount);
    EXPECT_EQ(7, rig.dialog->data.commonCount);
}

TEST_F(PanelsTest, CheckBoxesSpreadByTheNumberOfEntries)
{
    const int lineHeight = 13;
    struct {
        int entries;
        int row;
        int top;
    } cases[] = {
        {1, 0, 120},
        {4, 0, 120},
        {4, 3, 120 + 3 * (75 / 4 + lineHeight)},
        {5, 0, 60 + 365 / 6},
        {5, 4, 120 + 4 * (700 / 5 / 5 + lineHeight)},
        {30, 29, 60 + 365 / 31 + 29 * (700 / 30 / 30 + lineHeight)},
    };
    for (const auto& c : cases) {
        CSkinRig fresh;
        for (int r = 0; r < c.entries; ++r) fresh.Entry("Driver", "X\\", "setup.exe", "1");
        fresh.File("bmp.ini", StandardContent());
        CPanelLoader(*fresh.platform, *fresh.state).LoadAllPanels();
        const CSimControl* box = fresh.machine.window.Control(CONTROL_ROW_CHECK_BOX_FIRST + c.row);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(c.top, box->rect.top)
            << c.entries << " entries, row " << c.row;
        EXPECT_EQ(220, box->rect.left);
        EXPECT_EQ(235, box->rect.right);
        EXPECT_EQ(c.top + lineHeight, box->rect.bottom);
        EXPECT_EQ(1, box->check);
        const DriverItem& item = fresh.dialog->data.installList.items[c.row];
        EXPECT_EQ(245, item.labelX);
        EXPECT_EQ(c.top, item.labelY);
        EXPECT_EQ(1, item.selected);
    }
}

TEST_F(PanelsTest, DriverRowsCarryTheirEntryAndTooltip)
{
    rig.File("tip.ini", "[Eng]\nRealtek Audio=Sound for the board.\n");
    rig.Entry("Realtek Audio", "Audio\\Realtek\\", "setup.exe", "V5.10");
    rig.Entry("Network", "LAN\\", "install.exe", "2.0");
    Load(StandardContent());
    const PanelItem& row = Item(0, 10);
    EXPECT_STREQ("E:\\Audio\\Realtek\\setup.exe", row.command.c_str());
    EXPECT_STREQ("Realtek Audio", row.caption.c_str());
    EXPECT_STREQ("V5.10", row.version.c_str());
    EXPECT_STREQ("Sound for the board.", row.tooltip.c_str());
    EXPECT_EQ(245, row.left);
    EXPECT_EQ(245 + 66 * 5, row.right);
    EXPECT_EQ(row.top + 13, row.bottom);
    EXPECT_EQ(1, row.checked);
    EXPECT_STREQ("not installed", row.notInstalledText.c_str());
    EXPECT_STREQ("", Item(0, 11).tooltip.c_str()) << "no key, no tooltip";
    EXPECT_EQ(PANEL_NONE, rig.dialog->data.installList.infUpdateIndex);
}

TEST_F(PanelsTest, AnInstalledDriverStartsUnticked)
{
    rig.Entry("Chipset", "Chipset\\INFUPDATE\\", "setup.exe", "1.10");
    rig.Entry("Network", "LAN\\", "setup.exe", "2.9");
    rig.StoredVersion("Chipset", "1.9");   // byte order: "1.9" is not older than "1.10"
    rig.StoredVersion("Network", "2.10");  // ... and "2.10" is older than "2.9"
    Load(StandardContent());
    EXPECT_EQ(1, Item(0, 10).state);
    EXPECT_EQ(0, Item(0, 10).checked);
    EXPECT_EQ(0, Item(0, 11).state);
    EXPECT_EQ(1, Item(0, 11).checked);
    EXPECT_EQ(PANEL_NONE, rig.dialog->data.installList.infUpdateIndex)
        << "the INF-update entry is noted and forgotten";
}

TEST_F(PanelsTest, RapidSetupSwitchIsOutOfReachOnTwoChipsetsWithoutAServicePack)
{
    for (uint8_t chipset : {71, 72, 73}) {
        for (uint8_t servicePack : {0, 1}) {
            CSkinRig fresh;
            fresh.state->hw.results.chipsetCode = chipset;
            fresh.state->hw.osCode = servicePack ? OS_WINXP : OS_WIN98SE;
            fresh.dialog->data.xpServicePack = servicePack;
            StandardPictures(fresh);
            fresh.File("bmp.ini", StandardContent());
            CPanelLoader(*fresh.platform, *fresh.state).LoadAllPanels();
            bool away = chipset != 73 && servicePack == 0;
            const PanelItem& rapid = fresh.PanelAt(0).items[7];
            EXPECT_EQ(away ? -100 : 200, rapid.left) << int(chipset) << "/" << int(servicePack);
            EXPECT_EQ(away ? -100 : 360, rapid.top);
            EXPECT_EQ(away ? -20 : 280, rapid.right);
            EXPECT_EQ(300, fresh.PanelAt(0).items[8].left) << "only the switch moves";
        }
    }
}

TEST_F(PanelsTest, UtilityRowsAreLaidOutFromTheirTexts)
{
    rig.File("tip.ini", "[Eng]\nTool 2=Second tool.\n");
    Load(StandardContent(ToolRows(3) + "1_Ver=\n"));
    const PanelItem& row = Item(1, 9);
    EXPECT_EQ(210, row.left);
    EXPECT_EQ(130, row.top);
    EXPECT_EQ(130, row.baseTop);
    EXPECT_EQ(143, row.bottom);
    EXPECT_EQ(143, row.baseBottom);
    // caption "Tool 2" (6 + 1), version "1.2" (3 + 1), and 2: 13 characters of 5 pixels.
    EXPECT_EQ(210 + 5 * 13, row.right);
    EXPECT_STREQ("Second tool.", row.tooltip.c_str());
    EXPECT_STREQ("Utility\\t2.exe", row.command.c_str());
    EXPECT_EQ(10, rig.PanelAt(1).rowCount);
}

TEST_F(PanelsTest, UtilityRowsAreHiddenBySystemAndHardware)
{
    struct {
        uint8_t osCode;
        bool flags;
        std::vector<int> hidden;
    } cases[] = {
        {OS_WINXP, false, {10, 11, 13, 14}},
        {OS_WINXP, true, {}},
        {OS_NT4, true, {1, 8, 9}},
        {OS_NT4, false, {1, 8, 9, 10, 11, 13, 14}},
    };
    for (const auto& c : cases) {
        CSkinRig fresh;
        fresh.state->hw.osCode = c.osCode;
        CDetectionResults& results = fresh.state->hw.results;
        results.ite87SerialModeFlag = results.raidControllerFlag = c.flags ? 1 : 0;
        results.sil3112RaidFlag = results.ite8212Flag = c.flags ? 1 : 0;
        fresh.File("bmp.ini", StandardContent(ToolRows(16)));
        CPanelLoader(*fresh.platform, *fresh.state).LoadAllPanels();
        for (int j = 0; j < 16; ++j) {
            bool expected = std::find(c.hidden.begin(), c.hidden.end(), j) != c.hidden.end();
            EXPECT_EQ(expected ? 1 : 0, fresh.PanelAt(1).items[7 + j].hidden)
                << "os " << int(c.osCode) << " flags " << c.flags << " row " << j;
        }
        // Hidden rows get no tooltip tool; the others do.
        size_t tools = 0;
        for (const CSimToolTipTool& tool : fresh.machine.window.ToolTipTools()) {
            tools += tool.toolTip == fresh.dialog->data.panel1ToolTips ? 1 : 0;
        }
        EXPECT_EQ(7 + 16 - c.hidden.size(), tools);
    }
}

TEST_F(PanelsTest, ScrollBarFromSeventeenRows)
{
    struct {
        int rows;
        int loaded;
        int maximum;
        int scrolls;
    } cases[] = {{0, 0, 0, 0}, {16, 16, 16, 0}, {17, 17, 2, 1}, {33, 33, 18, 1}, {50, 33, 18, 1}};
    for (const auto& c : cases) {
        CSkinRig fresh;
        fresh.File("bmp.ini", StandardContent(ToolRows(c.rows)));
        CPanelLoader(*fresh.platform, *fresh.state).LoadAllPanels();
        const CSimControl* bar = fresh.machine.window.Control(CONTROL_TOOL_SCROLL_BAR);
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(1, bar->scrollMin) << c.rows << " rows";
        EXPECT_EQ(c.maximum, bar->scrollMax) << c.rows << " rows";
        EXPECT_EQ(1, bar->scrollPage);
        EXPECT_EQ(1, bar->scrollPos);
        EXPECT_FALSE(bar->visible);
        EXPECT_EQ(640 - 16, bar->rect.left) << "right-aligned in the client area";
        EXPECT_EQ(80, bar->rect.top);
        EXPECT_EQ(420, bar->rect.bottom);
        EXPECT_EQ(c.scrolls, fresh.dialog->data.toolListScrolls);
        EXPECT_EQ(c.loaded, fresh.dialog->data.toolRowCount);
        EXPECT_EQ(7 + c.loaded, fresh.PanelAt(1).rowCount) << "never more than 40 items";
    }
}

TEST_F(PanelsTest, Windows2000StartsRowNineFromItsOwnKey)
{
    std::string rows = ToolRows(11) + "9_exe_2k=Utility\\t9_2k.exe\n";
    for (uint8_t os : {OS_WIN2000, OS_WINXP}) {
        CSkinRig fresh;
        fresh.state->hw.osCode = os;
        fresh.File("bmp.ini", StandardContent(rows));
        CPanelLoader(*fresh.platform, *fresh.state).LoadAllPanels();
        EXPECT_STREQ(os == OS_WIN2000 ? "Utility\\t9_2k.exe" : "Utility\\t9.exe",
                     fresh.PanelAt(1).items[16].command.c_str());
        EXPECT_STREQ("Utility\\t8.exe", fresh.PanelAt(1).items[15].command.c_str());
    }
    // Without the key, Windows 2000 gets an empty command even though 9_exe exists.
    CSkinRig bare;
    bare.state->hw.osCode = OS_WIN2000;
    bare.File("bmp.ini", StandardContent(ToolRows(11)));
    CPanelLoader(*bare.platform, *bare.state).LoadAllPanels();
    EXPECT_STREQ("", bare.PanelAt(1).items[16].command.c_str());
}

TEST_F(PanelsTest, MissingKeysAndPicturesLeaveEmptyItems)
{
    // Pictures named but absent, a missing x key, no tip.ini at all.
    Load(StandardContent(ToolRows(2)));
    const PanelItem& tab = Item(0, 2);
    EXPECT_EQ(140, tab.left);
    EXPECT_EQ(140, tab.right) << "no over picture, no width";
    EXPECT_EQ(420, tab.bottom);
    EXPECT_EQ(0u, tab.normalImage);
    EXPECT_EQ(0, tab.hidden) << "still counted";
    EXPECT_EQ(0u, rig.PanelAt(0).backgroundImage);

    CSkinRig sparse;
    sparse.File("bmp.ini", "[Common]\ntotal=7\n3_y=5\n[Panel0]\ntotal=3\n");
    CPanelLoader(*sparse.platform, *sparse.state).LoadAllPanels();
    EXPECT_EQ(0, sparse.PanelAt(0).items[3].left);
    EXPECT_EQ(5, sparse.PanelAt(0).items[3].top);
    EXPECT_EQ(0, sparse.dialog->data.toolRowCount);
    EXPECT_STREQ("", sparse.PanelAt(0).line1.c_str());
}

TEST_F(PanelsTest, CommonTotalsOtherThanSevenKeepTheItemNumbers)
{
    rig.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    StandardPictures(rig);
    std::string nine = StandardContent();
    nine.replace(nine.find("total=7"), 7, "total=9");
    nine += "[Common]\n7_x=1\n8_x=1\n";
    Load(nine);
    EXPECT_EQ(7, rig.dialog->data.commonCount);
    EXPECT_EQ(200, Item(0, 7).left) << "Panel0's own item stays item 7";
    EXPECT_STREQ("Audio", Item(0, 10).caption.c_str()) << "the driver row stays item 10";
    EXPECT_EQ(7, rig.PanelAt(3).rowCount);

    CSkinRig none;
    none.Entry("Audio", "Audio\\", "setup.exe", "1.0");
    std::string zero = StandardContent(ToolRows(2));
    zero.replace(zero.find("total=7"), 7, "total=0");
    none.File("bmp.ini", zero);
    CPanelLoader(*none.platform, *none.state).LoadAllPanels();
    EXPECT_EQ(7, none.dialog->data.commonCount);
    EXPECT_EQ(0u, none.PanelAt(0).items[0].normalImage) << "no Common item loaded";
    EXPECT_EQ(none.PanelAt(0).items[0].left, none.PanelAt(0).items[0].right);
    EXPECT_STREQ("Audio", none.PanelAt(0).items[10].caption.c_str());
    EXPECT_STREQ("Tool 1", none.PanelAt(1).items[8].caption.c_str());
}

TEST_F(PanelsTest, TextsLongerThanTheirFieldsAreCut)
{
    std::string longText(600, 'x');
    rig.File("tip.ini", "[Eng]\nTool 0=" + longText + "\n");
    std::string content = StandardContent("[Panel1]\ntotal=1\n0_x=210\n0_Desc=Tool 0\n0_Ver=" +
                                          longText + "\n");
    content.replace(content.find("line1=One"), 9, "line1=" + longText);
    Load(content);
    EXPECT_EQ(199u, rig.PanelAt(0).line1.Length());
    EXPECT_EQ(99u, Item(1, 7).version.Length());
    EXPECT_EQ(511u, Item(1, 7).tooltip.Length()) << "read with a 512-byte buffer";
    EXPECT_EQ(210 + 5 * (7 + 100 + 2), Item(1, 7).right) << "from the texts as kept";

    CSkinRig entry;
    entry.Entry(std::string(254, 'd').c_str(), std::string(254, 'f').c_str(), "setup.exe", "1");
    entry.File("bmp.ini", StandardContent());
    CPanelLoader(*entry.platform, *entry.state).LoadAllPanels();
    EXPECT_EQ(254u, entry.PanelAt(0).items[10].command.Length())
        << "root, folder and setup file cut to the command's field";
}

TEST_F(PanelsTest, ReadmeIsShownAsItsBytes)
{
    rig.File("readme.txt", "line one\nline two\r\n\xA4\xA4");
    Load(StandardContent());
    EXPECT_EQ("line one\nline two\r\n\xA4\xA4", rig.dialog->data.readmeText);
    EXPECT_EQ(rig.dialog->data.readmeText, rig.machine.window.Control(CONTROL_README_BOX)->text);

    CSkinRig missing;
    missing.File("bmp.ini", StandardContent());
    CPanelLoader(*missing.platform, *missing.state).LoadAllPanels();
    EXPECT_EQ("", missing.machine.window.Control(CONTROL_README_BOX)->text);

    CSkinRig huge;
    huge.File("readme.txt", std::string(200000, 'r'));
    huge.File("bmp.ini", StandardContent());
    CPanelLoader(*huge.platform, *huge.state).LoadAllPanels();
    EXPECT_EQ(PANEL_README_MAX_BYTES, huge.dialog->data.readmeText.size())
        << "cut to what an edit box of the 9x family holds";
}

TEST_F(PanelsTest, BrokenPicturesGiveNoImage)
{
    StandardPictures(rig);
    std::string truncated = BmpFile(50, 30);
    truncated.resize(truncated.size() / 2);
    rig.File("pics/c0O.bmp", truncated);
    rig.File("pics/c1O.bmp", "not a bitmap at all");
    std::string absurd = BmpFile(2, 2);
    absurd[18] = '\xFF';  // width 0x00FF0002 ...
    absurd[20] = '\x7F';  // ... and more: far beyond the data in the file
    rig.File("pics/c2O.bmp", absurd);
    rig.File("pics/c3O.bmp", "");
    Load(StandardContent());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0u, Item(0, i).overImage) << "item " << i;
        EXPECT_EQ(Item(0, i).left, Item(0, i).right) << "item " << i;
        EXPECT_NE(0u, Item(0, i).normalImage) << "the other looks still load";
    }
    EXPECT_EQ(50, Item(0, 4).right - Item(0, 4).left);
}

TEST_F(PanelsTest, HugeNumbersDoNotOverflowTheRectangles)
{
    StandardPictures(rig);
    std::string content = StandardContent();
    content.replace(content.find("0_x=20"), 6, "0_x=2147483640");
    Load(content);
    EXPECT_EQ(2147483640, Item(0, 0).left);
    EXPECT_EQ(2147483647, Item(0, 0).right) << "held at the int range";
}

TEST_F(PanelsTest, TraditionalChineseSystemsReadTheirOwnContentFile)
{
    rig.machine.system.SetDefaultLangId(0x0404);
    rig.File("cht.ini", "[Panel0]\nline1=Chinese\n");
    Load("[Panel0]\nline1=English\n");
    EXPECT_STREQ("Chinese", rig.PanelAt(0).line1.c_str());
    EXPECT_STREQ("E:\\", rig.dialog->data.content.contentFile.c_str())
        << "the content path is the root again after every loader";
}

TEST_F(PanelsTest, EachPictureIsLoadedOnceForEveryPanelThatNamesIt)
{
    StandardPictures(rig);
    Load(StandardContent());
    // 7 Common items with 6 pictures, 3 own items with 4, and bk, rtn and bk4.
    const uint64_t distinct = 7 * 6 + 3 * 4 + 3;
    EXPECT_EQ(distinct, rig.machine.window.ImageLoads());
    EXPECT_EQ(distinct, rig.machine.window.LiveBitmaps()) << "no handle made and dropped";
    // The Common section is read for Panel0; the other panels carry the same items.
    for (int p = 1; p < PANEL_COUNT; ++p) {
        for (int i = 0; i < PANEL_COMMON_ITEMS; ++i) {
            const PanelItem& first = Item(0, i);
            const PanelItem& item = Item(p, i);
            const BitmapHandle looks[2][6] = {
                {first.normalImage, first.normalMask, first.overImage, first.overMask,
                 first.downImage, first.downMask},
                {item.normalImage, item.normalMask, item.overImage, item.overMask,
                 item.downImage, item.downMask}};
            for (int look = 0; look < 6; ++look) {
                EXPECT_NE(0u, looks[1][look]);
                EXPECT_EQ(looks[0][look], looks[1][look]) << p << " " << i << " " << look;
            }
            EXPECT_EQ(first.left, item.left);
            EXPECT_EQ(first.top, item.top);
            EXPECT_EQ(first.right, item.right) << "sized from the shared picture";
            EXPECT_EQ(first.bottom, item.bottom);
            EXPECT_STREQ(first.command.c_str(), item.command.c_str());
            EXPECT_EQ(0, item.hidden);
        }
    }
}

TEST_F(PanelsTest, PicturePathsMatchCaseBlindAndAFailedLoadIsNotRetried)
{
    rig.Picture("pics/shared.bmp", 33, 11);
    rig.Picture("pics/other.bmp", 44, 11);
    std::string ini = "[Common]\ntotal=3\n"
                      "0_Nbmp=pics\\shared.bmp\n0_Obmp=PICS\\Shared.BMP\n0_Dbmp=pics\\SHARED.bmp\n"
                      "1_Nbmp=pics\\gone.bmp\n1_Obmp=pics\\GONE.BMP\n1_Dbmp=pics\\other.bmp\n"
                      "2_Obmp=pics\\gone.bmp\n"
                      "[Panel0]\nBK=pics\\Gone.bmp\n[Panel4]\nBK=pics\\other.bmp\n";
    Load(ini);
    // shared.bmp, gone.bmp (once, failed) and other.bmp.
    EXPECT_EQ(3u, rig.machine.window.ImageLoads());
    const PanelItem& first = Item(3, 0);
    EXPECT_NE(0u, first.normalImage);
    EXPECT_EQ(first.normalImage, first.overImage);
    EXPECT_EQ(first.normalImage, first.downImage);
    EXPECT_EQ(33, first.right - first.left);
    EXPECT_EQ("E:\\pics\\shared.bmp", rig.Name(first.overImage)) << "the first spelling loads";
    for (int p = 0; p < PANEL_COUNT; ++p) {
        EXPECT_EQ(0u, Item(p, 1).normalImage) << "panel " << p;
        EXPECT_EQ(0u, Item(p, 1).overImage) << "panel " << p;
        EXPECT_EQ(0u, Item(p, 2).overImage) << "panel " << p;
        EXPECT_EQ(Item(p, 2).left, Item(p, 2).right) << "no picture, no width";
        EXPECT_EQ(Item(0, 1).downImage, Item(p, 1).downImage);
        EXPECT_NE(0u, Item(p, 1).downImage);
    }
    EXPECT_EQ(0u, rig.PanelAt(0).backgroundImage);
    EXPECT_EQ(Item(0, 1).downImage, rig.PanelAt(4).backgroundImage);
}

TEST(PicturePath, LettersMatchCaseBlindButTrailBytesAsTheyAre)
{
    CLeadBytes single;
    EXPECT_TRUE(SamePicturePath(single, "E:\\BMP\\Drv_N.bmp", "e:\\bmp\\DRV_n.BMP"));
    EXPECT_FALSE(SamePicturePath(single, "E:\\bmp\\a.bmp", "E:\\bmp\\a.bmpx"));
    EXPECT_FALSE(SamePicturePath(single, "E:\\bmp\\a.bmp", "E:\\bmp/a.bmp"))
        << "the path as built, no other folding";
    EXPECT_FALSE(SamePicturePath(single, "E:\\[.bmp", "E:\\{.bmp")) << "only letters fold";
    EXPECT_TRUE(SamePicturePath(single, "", ""));

    // Big5: 0xA4 0x61 and 0xA4 0x41 are two characters, not one letter in two cases; a lead
    // byte of its own at the end is compared as a byte.
    CLeadBytes big5;
    for (int b = 0x81; b <= 0xFE; ++b) big5.SetLeadByte(static_cast<uint8_t>(b));
    EXPECT_FALSE(SamePicturePath(big5, "E:\\\xA4\x61.bmp", "E:\\\xA4\x41.bmp"));
    EXPECT_TRUE(SamePicturePath(big5, "E:\\\xA4\x61.bmp", "e:\\\xA4\x61.BMP"));
    EXPECT_TRUE(SamePicturePath(single, "E:\\\xA4\x61.bmp", "E:\\\xA4\x41.bmp"))
        << "on a single-byte code page 0x61 is a letter";
    EXPECT_TRUE(SamePicturePath(big5, "E:\\a\xA4", "E:\\A\xA4"));
    EXPECT_FALSE(SamePicturePath(big5, "E:\\a\xA4", "E:\\A"));
}

}  // namespace
