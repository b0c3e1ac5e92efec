// The five panel loaders: the panel table filled from the CD's content files and the install
// list, with the row check boxes, the utility scroll bar, the readme and the system report.
#include "skin/panels.h"

#include <climits>
#include <cstring>
#include <vector>

#include "install/version_record.h"
#include "platform/platform.h"
#include "skin/picture_cache.h"
#include "state/program_state.h"
#include "sysinfo/report.h"

namespace {

const char SECTION_COMMON[] = "Common";
const char* const PANEL_SECTIONS[PANEL_COUNT] = {"Panel0", "Panel1", "Panel2", "Panel3",
                                                 "Panel4"};
// Panel0 and Panel1 read their texts into 512-byte buffers, the others and "Common" 255.
const uint32_t PANEL_BUFFER_SIZES[PANEL_COUNT] = {CONTENT_TEXT_LONG, CONTENT_TEXT_LONG,
                                                  CONTENT_TEXT_SHORT, CONTENT_TEXT_SHORT,
                                                  CONTENT_TEXT_SHORT};
const char WINDOWS_SYSTEM_SUFFIX[] = "\\system\\";
const char INSTALLED_TEXT[] = "installed";
const char NOT_INSTALLED_TEXT[] = "not installed";
// Utility rows hidden on NT 4 (they offer tools that do not run there).
const int TOOL_ROWS_HIDDEN_ON_NT4[] = {1, 8, 9};
const int TOOL_ROW_ITE87_SERIAL = 10;
const int TOOL_ROW_RAID = 11;
const int TOOL_ROW_SIL3112_RAID = 13;
const int TOOL_ROW_ITE8212 = 14;
// The scroll bar spans the client area from here to there, along its right edge.
const int TOOL_SCROLL_TOP = 80;
const int TOOL_SCROLL_BOTTOM = 420;

int ClampInt(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

int32_t AddClamped(int32_t base, int64_t extent)
{
    int64_t sum = static_cast<int64_t>(base) + extent;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}

CPanelLoader::CPanelLoader(CPlatform& platform, CProgramState& state)
    : platform(platform),
      state(state),
      dialog(state.dialog),
      leadBytes(platform.system),
      profiles(platform.files, leadBytes)
{
}

void CPanelLoader::LoadAllPanels()
{
    LoadPanel0();
    LoadPanel1();
    LoadPanel2();
    LoadPanel3();
    LoadPanel4();
    PanelTable& table = state.panelTable;
    for (Panel& panel : table.panels) panel.pressedItem = PANEL_NONE;
    table.panels[0].active = 1;
    table.panels[0].items[0].state = 1;
}

void CPanelLoader::BeginPanel()
{
    dialog.content.contentFile = dialog.cdRoot;
    dialog.content.tipFile = dialog.cdRoot;
    SelectContentFiles(platform.system, dialog.programDir.c_str(), &dialog.content);
}

void CPanelLoader::EndPanel()
{
    dialog.content.contentFile = dialog.cdRoot;
}

BitmapHandle CPanelLoader::LoadImage(const char* section, const char* key, uint32_t bufferSize)
{
    std::vector<char> name(bufferSize, '\0');
    ReadProfileText(profiles, leadBytes, dialog.content.contentFile.c_str(), section, key,
                    name.data(), bufferSize);
    if (name[0] == '\0') return 0;
    // Picture names are relative to the CD root.
    FixedText<CONTENT_PATH_SIZE> path = dialog.cdRoot;
    path.Append(name.data());
    return LoadPicture(path.c_str());
}

BitmapHandle CPanelLoader::LoadPicture(const char* path)
{
    PictureCache& cache = state.panelTable.pictures;
    const PictureEntry* known = FindPicture(cache, leadBytes, path);
    if (known) return known->image;
    PictureEntry entry;
    entry.path = path;
    entry.image = platform.window.LoadBitmapFile(path);
    cache.entries.push_back(entry);
    return entry.image;
}

BitmapHandle CPanelLoader::LoadItemImage(const char* section, unsigned item, const char* suffix,
                                         bool mask, uint32_t bufferSize)
{
    FixedText<CONTENT_KEY_SIZE> key = mask ? ProfileMaskKey(item, suffix)
                                           : ProfileItemKey(item, suffix);
    return LoadImage(section, key.c_str(), bufferSize);
}

int CPanelLoader::ItemNumber(const char* section, unsigned item, const char* suffix,
                             uint32_t bufferSize)
{
    return ReadProfileNumber(profiles, dialog.content.contentFile.c_str(), section,
                             ProfileItemKey(item, suffix).c_str(), bufferSize);
}

void CPanelLoader::SizeFromImage(PanelItem& item, BitmapHandle image)
{
    int width = 0;
    int height = 0;
    if (!platform.window.GetBitmapSize(image, &width, &height)) width = height = 0;
    item.right = AddClamped(item.left, width);
    item.bottom = AddClamped(item.top, height);
}

void CPanelLoader::LoadPanelTexts(int panel, const char* section, uint32_t bufferSize)
{
    Files& files = profiles;
    const char* file = dialog.content.contentFile.c_str();
    Panel& p = state.panelTable.panels[panel];
    p.backgroundImage = LoadImage(section, "BK", bufferSize);
    if (panel == 0) {
        p.returnImage = LoadImage(section, "rtnblk", bufferSize);
    }
    std::vector<char> text(bufferSize, '\0');
    FixedText<PANEL_LINE_SIZE>* lines[3] = {&p.line1, &p.line2, &p.line3};
    const char* keys[3] = {"line1", "line2", "line3"};
    for (int i = 0; i < 3; ++i) {
        ReadProfileText(files, leadBytes, file, section, keys[i], text.data(), bufferSize);
        leadBytes.Assign(lines[i], text.data());
    }
    if (panel == 0) {
        FixedText<PANEL_LINE_SIZE>* ezLines[3] = {&state.ezLine1, &state.ezLine2, &state.ezLine3};
        const char* ezKeys[3] = {"ez_line1", "ez_line2", "ez_line3"};
        for (int i = 0; i < 3; ++i) {
            ReadProfileText(files, leadBytes, file, section, ezKeys[i], text.data(), bufferSize);
            leadBytes.Assign(ezLines[i], text.data());
        }
        // The close handler and the start-up clean-up find the Installer files here.
        char windowsDir[260] = {};
        platform.files.GetWindowsDirectory(windowsDir, sizeof windowsDir);
        state.systemFolder = windowsDir;
        state.systemFolder.Append(WINDOWS_SYSTEM_SUFFIX);
    }
    p.marqueeImage = LoadImage(section, "MQ", bufferSize);
    p.marqueeBackground = LoadImage(section, "MQ_BK", bufferSize);
}

int CPanelLoader::LoadCommonItems(int panel)
{
    PanelTable& table = state.panelTable;
    const char* file = dialog.content.contentFile.c_str();
    if (table.commonSource != PANEL_NONE && table.commonSource != panel &&
        strcmp(table.commonFile.c_str(), file) == 0) {
        CopyCommonItems(table.panels[table.commonSource], &table.panels[panel]);
        dialog.commonCount = PANEL_COMMON_ITEMS;
        return table.commonTotal;
    }
    int total = ReadCommonItems(panel);
    table.commonSource = panel;
    table.commonFile = file;
    table.commonTotal = total;
    return total;
}

void CPanelLoader::CopyCommonItems(const Panel& from, Panel* to)
{
    int loaded = ClampInt(state.panelTable.commonTotal, 0, PANEL_COMMON_ITEMS);
    for (int i = 0; i < loaded; ++i) {
        const PanelItem& source = from.items[i];
        PanelItem& item = to->items[i];
        item.left = source.left;
        item.top = source.top;
        item.right = source.right;
        item.bottom = source.bottom;
        item.normalImage = source.normalImage;
        item.normalMask = source.normalMask;
        item.overImage = source.overImage;
        item.overMask = source.overMask;
        item.downImage = source.downImage;
        item.downMask = source.downMask;
        item.command = source.command;
        item.hidden = 0;
    }
}

int CPanelLoader::ReadCommonItems(int panel)
{
    Panel& p = state.panelTable.panels[panel];
    const uint32_t size = CONTENT_TEXT_SHORT;
    int total = ReadProfileNumber(profiles, dialog.content.contentFile.c_str(),
                                  SECTION_COMMON, "total", size);
    // The panel's own items follow at fixed numbers, so the content cannot add Common items
    // beyond them; missing ones stay empty (nothing drawn, nothing hit).
    int loaded = ClampInt(total, 0, PANEL_COMMON_ITEMS);
    for (int i = 0; i < loaded; ++i) {
        PanelItem& item = p.items[i];
        unsigned n = static_cast<unsigned>(i);
        item.left = ItemNumber(SECTION_COMMON, n, "_x", size);
        item.top = ItemNumber(SECTION_COMMON, n, "_y", size);
        item.normalImage = LoadItemImage(SECTION_COMMON, n, "_Nbmp", false, size);
        item.normalMask = LoadItemImage(SECTION_COMMON, n, "_Nbmp", true, size);
        item.overImage = LoadItemImage(SECTION_COMMON, n, "_Obmp", false, size);
        item.overMask = LoadItemImage(SECTION_COMMON, n, "_Obmp", true, size);
        SizeFromImage(item, item.overImage);
        item.downImage = LoadItemImage(SECTION_COMMON, n, "_Dbmp", false, size);
        item.downMask = LoadItemImage(SECTION_COMMON, n, "_Dbmp", true, size);
        ReadProfileText(profiles, leadBytes, dialog.content.contentFile.c_str(),
                        SECTION_COMMON, ProfileItemKey(n, "_exe").c_str(), &item.command);
        item.hidden = 0;
    }
    dialog.commonCount = PANEL_COMMON_ITEMS;
    return total;
}

void CPanelLoader::LoadPanel0()
{
    BeginPanel();
    const char* section = PANEL_SECTIONS[0];
    const uint32_t size = PANEL_BUFFER_SIZES[0];
    LoadPanelTexts(0, section, size);
    LoadCommonItems(0);

    Panel& p = state.panelTable.panels[0];
    const CDetectionResults& results = state.hw.results;
    // Three own items by content; they sit at fixed numbers before the driver rows.
    int own = ClampInt(ReadProfileNumber(profiles, dialog.content.contentFile.c_str(),
                                         section, "total", size),
                       0, PANEL0_OWN_ITEMS);
    for (int i = 0; i < own; ++i) {
        PanelItem& item = p.items[PANEL_COMMON_ITEMS + i];
        unsigned n = static_cast<unsigned>(i);
        item.left = ItemNumber(section, n, "_x", size);
        item.top = ItemNumber(section, n, "_y", size);
        bool noRapidSetup = (results.chipsetCode == PANEL_CHIPSET_NO_RAPID_A ||
                             results.chipsetCode == PANEL_CHIPSET_NO_RAPID_B) &&
                            dialog.xpServicePack == 0;
        if (i == PANEL0_OWN_RAPID_ON && noRapidSetup) {
            item.left = PANEL_OFF_SCREEN;
            item.top = PANEL_OFF_SCREEN;
        }
        item.normalImage = LoadItemImage(section, n, "_Nbmp", false, size);
        item.normalMask = LoadItemImage(section, n, "_Nbmp", true, size);
        SizeFromImage(item, item.normalImage);
        item.overImage = LoadItemImage(section, n, "_Obmp", false, size);
        item.overMask = LoadItemImage(section, n, "_Obmp", true, size);
        // This section has no pressed look of its own: the over look serves again (the same
        // keys would give the same pictures, so they are not read a second time).
        item.downImage = item.overImage;
        item.downMask = item.overMask;
        ReadProfileText(profiles, leadBytes, dialog.content.contentFile.c_str(), section,
                        ProfileItemKey(n, "_exe").c_str(), &item.command);
        item.hidden = 0;
    }

    LoadRowCheckBoxes();
    int firstRow = PANEL_COMMON_ITEMS + PANEL0_OWN_ITEMS;
    LoadDriverRows(firstRow);
    p.rowCount = firstRow + dialog.installList.itemCount;
    AddToolTips(dialog.panel0ToolTips, 0);
    for (int i = 0; i < firstRow; ++i) p.items[i].state = 0;

    CVersionRecord record(platform.registry, platform.window, state.panelTable, dialog);
    for (int k = firstRow; k < p.rowCount; ++k) record.RefreshInstalledState(k);

    Window& window = platform.window;
    for (int r = 0; r < dialog.rowCheckBoxCount; ++r) {
        window.ShowControl(CONTROL_ROW_CHECK_BOX_FIRST + r, false);
    }
    p.items[PANEL_COMMON_ITEMS + PANEL0_OWN_START].hidden = 1;
    p.items[PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_OFF].hidden = 1;
    window.ShowControl(CONTROL_SYSINFO_BOX, false);
    window.ShowControl(CONTROL_README_BOX, false);
    EndPanel();
}

void CPanelLoader::LoadRowCheckBoxes()
{
    CInstallList& list = dialog.installList;
    int n = list.itemCount;
    if (n > DRIVER_ITEM_CAPACITY) n = DRIVER_ITEM_CAPACITY;
    const int lineHeight = dialog.lineHeight;
    dialog.rowCheckBoxCount = 0;
    list.infUpdateIndex = PANEL_NONE;
    for (int r = 0; r < n; ++r) {
        // The rows spread over the panel: few rows get generous gaps, many rows close up.
        int top = n <= 4 ? 120 + r * (75 / n + lineHeight)
                         : 60 + 365 / (n + 1) + r * (700 / n / n + lineHeight);
        CRect rect = {220, top, 235, top + lineHeight};
        DriverItem& entry = list.items[r];
        platform.window.CreateCheckBox(CONTROL_ROW_CHECK_BOX_FIRST + r, rect,
                                       entry.description.c_str());
        entry.labelX = 245;
        entry.labelY = top;
        platform.window.SetCheck(CONTROL_ROW_CHECK_BOX_FIRST + r, 1);
        entry.selected = 1;
        FixedText<PANEL_COMMAND_SIZE> folder = entry.folder;
        for (char* c = folder.Buffer(); *c; ++c) {
            if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
        }
        if (strstr(folder.c_str(), "\\INFUPDATE\\")) list.infUpdateIndex = r;
        dialog.rowCheckBoxCount = r + 1;
    }
    // The INF-update entry is noted and then forgotten: no entry is treated specially.
    list.infUpdateIndex = PANEL_NONE;
}

void CPanelLoader::LoadDriverRows(int firstRow)
{
    CInstallList& list = dialog.installList;
    Panel& p = state.panelTable.panels[0];
    for (int r = 0; r < list.itemCount && r < DRIVER_ITEM_CAPACITY; ++r) {
        PanelItem& item = p.items[firstRow + r];
        const DriverItem& entry = list.items[r];
        item.left = entry.labelX;
        item.top = entry.labelY;
        item.checked = entry.selected;
        item.command = dialog.cdRoot;
        leadBytes.Append(&item.command, entry.folder.c_str());
        leadBytes.Append(&item.command, entry.setupFile.c_str());
        leadBytes.Assign(&item.version, entry.versionText.c_str());
        leadBytes.Assign(&item.caption, entry.description.c_str());
        ReadToolTip(item);
        item.right = AddClamped(item.left,
                                static_cast<int64_t>(PANEL_DRIVER_ROW_CHARS) * dialog.charWidth);
        item.bottom = AddClamped(item.top, dialog.lineHeight);
        item.hidden = 0;
    }
}

void CPanelLoader::ReadToolTip(PanelItem& item)
{
    // The tooltip field has a byte more than the buffer it is read with.
    ReadProfileText(profiles, leadBytes, dialog.content.tipFile.c_str(), CONTENT_TIP_SECTION,
                    item.caption.c_str(), item.tooltip.Buffer(), CONTENT_TEXT_LONG);
}

void CPanelLoader::AddToolTips(ToolTipHandle toolTipHandle, int panel)
{
    if (!toolTipHandle) return;
    const Panel& p = state.panelTable.panels[panel];
    for (int i = 0; i < p.rowCount && i < PANEL_ITEM_CAPACITY; ++i) {
        const PanelItem& item = p.items[i];
        if (item.hidden) continue;
        CRect rect = {item.left, item.top, item.right, item.bottom};
        platform.window.AddToolTipTool(toolTipHandle, static_cast<uint32_t>(i), rect,
                                       item.tooltip.c_str());
    }
}

void CPanelLoader::LoadPanel1()
{
    BeginPanel();
    const char* section = PANEL_SECTIONS[1];
    const uint32_t size = PANEL_BUFFER_SIZES[1];
    LoadPanelTexts(1, section, size);
    LoadCommonItems(1);

    int total = ReadProfileNumber(profiles, dialog.content.contentFile.c_str(), section,
                                  "total", size);
    // Only the rows that fit the panel are loaded, and the list scrolls over those.
    int rows = ClampInt(total, 0, PANEL1_MAX_ROWS);
    dialog.toolRowCount = rows;
    if (rows < PANEL1_SCROLL_ROWS) {
        CreateToolScrollBar(rows, 1, 1);
        dialog.toolListScrolls = 0;
    } else {
        CreateToolScrollBar(rows - 15, 1, 1);
        dialog.toolListScrolls = 1;
    }
    LoadToolRows(rows);
    HideToolRows();
    Panel& p = state.panelTable.panels[1];
    p.rowCount = PANEL_COMMON_ITEMS + rows;
    for (int i = 0; i < p.rowCount; ++i) p.items[i].state = 0;
    AddToolTips(dialog.panel1ToolTips, 1);
    EndPanel();
}

void CPanelLoader::LoadToolRows(int rows)
{
    const char* section = PANEL_SECTIONS[1];
    const uint32_t size = PANEL_BUFFER_SIZES[1];
    Files& files = profiles;
    const char* file = dialog.content.contentFile.c_str();
    Panel& p = state.panelTable.panels[1];
    for (int j = 0; j < rows; ++j) {
        PanelItem& item = p.items[PANEL_COMMON_ITEMS + j];
        unsigned n = static_cast<unsigned>(j);
        item.left = ItemNumber(section, n, "_x", size);
        item.top = ItemNumber(section, n, "_y", size);
        item.baseTop = item.top;
        ReadProfileText(files, leadBytes, file, section, ProfileItemKey(n, "_Desc").c_str(),
                        &item.caption);
        ReadToolTip(item);
        ReadProfileText(files, leadBytes, file, section, ProfileItemKey(n, "_Ver").c_str(),
                        &item.version);
        item.bottom = AddClamped(item.top, dialog.lineHeight);
        item.baseBottom = item.bottom;
        int64_t a = item.caption.Empty() ? 0 : static_cast<int64_t>(item.caption.Length()) + 1;
        int64_t b = item.version.Empty() ? 0 : static_cast<int64_t>(item.version.Length()) + 1;
        item.right = AddClamped(item.left, static_cast<int64_t>(dialog.charWidth) * (a + b + 2));
        // Windows 2000 starts row 9 from a program of its own.
        FixedText<CONTENT_KEY_SIZE> exeKey = ProfileItemKey(n, "_exe");
        if (j == 9 && state.hw.osCode == OS_WIN2000) exeKey.Append("_2k");
        ReadProfileText(files, leadBytes, file, section, exeKey.c_str(), &item.command);
        item.hidden = 0;
    }
}

void CPanelLoader::HideToolRows()
{
    Panel& p = state.panelTable.panels[1];
    const CDetectionResults& results = state.hw.results;
    auto hide = [&p](int row) {
        if (row >= 0 && row < PANEL1_MAX_ROWS) p.items[PANEL_COMMON_ITEMS + row].hidden = 1;
    };
    if (state.hw.osCode == OS_NT4) {
        for (int row : TOOL_ROWS_HIDDEN_ON_NT4) hide(row);
    }
    if (results.ite87SerialModeFlag == 0) hide(TOOL_ROW_ITE87_SERIAL);
    if (results.raidControllerFlag == 0) hide(TOOL_ROW_RAID);
    if (results.sil3112RaidFlag == 0) hide(TOOL_ROW_SIL3112_RAID);
    if (results.ite8212Flag == 0) hide(TOOL_ROW_ITE8212);
}

void CPanelLoader::LoadCommonOnlyPanel(int panel)
{
    LoadPanelTexts(panel, PANEL_SECTIONS[panel], PANEL_BUFFER_SIZES[panel]);
    LoadCommonItems(panel);
    Panel& p = state.panelTable.panels[panel];
    p.rowCount = dialog.commonCount;
    for (int i = 0; i < p.rowCount; ++i) p.items[i].state = 0;
}

void CPanelLoader::LoadPanel2()
{
    BeginPanel();
    LoadCommonOnlyPanel(2);
    LoadReadme();
    EndPanel();
}

void CPanelLoader::LoadReadme()
{
    // Read from the current directory, the CD root; the bytes are shown as they are.
    std::vector<char> bytes;
    if (!platform.files.ReadWholeFile(CONTENT_README_FILE, PANEL_README_MAX_BYTES, &bytes)) {
        bytes.clear();
    }
    // The text ends at its first zero byte, as the edit box would read it, and on a character
    // boundary: a file cut at the read limit, or ending in a lead byte, shows no half character.
    dialog.readmeText.clear();
    if (!bytes.empty()) {
        size_t length = strnlen(bytes.data(), bytes.size());
        dialog.readmeText.assign(bytes.data(), leadBytes.Boundary(bytes.data(), length));
    }
    platform.window.SetControlText(CONTROL_README_BOX, dialog.readmeText.c_str());
}

void CPanelLoader::LoadPanel3()
{
    BeginPanel();
    LoadCommonOnlyPanel(3);
    CSystemReport report(platform, state.hw.osCode);
    report.ComposeSystemReport(&dialog.systemReport);
    platform.window.SetControlText(CONTROL_SYSINFO_BOX, dialog.systemReport.c_str());
    EndPanel();
}

void CPanelLoader::LoadPanel4()
{
    BeginPanel();
    LoadCommonOnlyPanel(4);
    EndPanel();
}

void CPanelLoader::CreateToolScrollBar(int maximum, int minimum, int page)
{
    Window& window = platform.window;
    CRect client = {0, 0, 0, 0};
    window.GetClientRect(&client);
    client.top = TOOL_SCROLL_TOP;
    client.bottom = TOOL_SCROLL_BOTTOM;
    if (!window.CreateScrollBar(CONTROL_TOOL_SCROLL_BAR, client)) return;
    dialog.toolScrollBarCreated = true;
    dialog.toolScrollMin = minimum;
    dialog.toolScrollMax = maximum;
    dialog.toolScrollPage = page;
    window.SetScrollRange(CONTROL_TOOL_SCROLL_BAR, minimum, maximum);
    window.SetScrollPage(CONTROL_TOOL_SCROLL_BAR, page);
    window.SetScrollPos(CONTROL_TOOL_SCROLL_BAR, 1);
    window.ShowControl(CONTROL_TOOL_SCROLL_BAR, false);
}
