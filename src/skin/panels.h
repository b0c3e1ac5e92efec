// The five panel loaders: the panel table filled from the CD's content files and the install
// list, with the row check boxes, the utility scroll bar, the readme and the system report.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "skin/content_files.h"
#include "skin/panel_table.h"
#include "skin/profile_cache.h"

struct CPlatform;
struct CProgramState;
struct CDialogState;

// The item numbers are fixed by the program: seven Common items, three own items of Panel0,
// then the driver rows (Panel0) or the utility rows (Panel1).
const int PANEL_COMMON_ITEMS = 7;
const int PANEL0_OWN_ITEMS = 3;
// Items left for utility rows after the Common ones.
const int PANEL1_MAX_ROWS = PANEL_ITEM_CAPACITY - PANEL_COMMON_ITEMS;
// From this many utility rows on the list needs its scroll bar.
const int PANEL1_SCROLL_ROWS = 17;
// The Rapid Setup switch is put out of reach on these chipsets under XP without a service pack.
const uint8_t PANEL_CHIPSET_NO_RAPID_A = 71;
const uint8_t PANEL_CHIPSET_NO_RAPID_B = 72;
const int PANEL_OFF_SCREEN = -100;
// A multi-line edit box of the 9x family holds 64 KB; a longer readme is shown this far.
const size_t PANEL_README_MAX_BYTES = 65535;
// The driver row's width in average characters.
const int PANEL_DRIVER_ROW_CHARS = 66;

class CPanelLoader {
public:
    CPanelLoader(CPlatform& platform, CProgramState& state);

    // All five panels in order, then Panel0 shown with its tab selected.
    void LoadAllPanels();
    void LoadPanel0();
    void LoadPanel1();
    void LoadPanel2();
    void LoadPanel3();
    void LoadPanel4();
    // Fills the Common items of panel from section "Common"; returns the "total" read. The
    // section is the same for every panel: it is read for the first, and the others copy it
    // (some 250 profile reads fewer at start-up, each of which opens the content file).
    int LoadCommonItems(int panel);
    void CreateToolScrollBar(int maximum, int minimum, int page);

private:
    // Every loader starts by naming the content and tip files in the CD root and ends by
    // setting the content path back to the root.
    void BeginPanel();
    void EndPanel();
    // Background, header lines and marquees of a panel, read with the section's buffer size.
    void LoadPanelTexts(int panel, const char* section, uint32_t bufferSize);
    void LoadRowCheckBoxes();
    void LoadDriverRows(int firstRow);
    void LoadToolRows(int rows);
    void HideToolRows();
    void ReadToolTip(PanelItem& item);
    void AddToolTips(ToolTipHandle toolTipHandle, int panel);
    void LoadReadme();
    int ReadCommonItems(int panel);
    // What reading gives a Common item: its rectangle, looks and command.
    void CopyCommonItems(const Panel& from, Panel* to);
    // Panels 2 to 4: their texts and the Common items, nothing selected.
    void LoadCommonOnlyPanel(int panel);

    // An image by its key; no image for an empty value or a file that does not load.
    BitmapHandle LoadImage(const char* section, const char* key, uint32_t bufferSize);
    // One load per distinct picture in a run: a path met before gets the handle (or the
    // failure) of its first load; each load reads and decodes the file from the CD and costs
    // the system a bitmap object.
    BitmapHandle LoadPicture(const char* path);
    BitmapHandle LoadItemImage(const char* section, unsigned item, const char* suffix,
                               bool mask, uint32_t bufferSize);
    // right and bottom from left/top and the image's size, without overflow.
    void SizeFromImage(PanelItem& item, BitmapHandle image);
    int ItemNumber(const char* section, unsigned item, const char* suffix, uint32_t bufferSize);

    CPlatform& platform;
    CProgramState& state;
    CDialogState& dialog;
    // The CD's texts are cut to their fields on the system's character boundaries.
    const CLeadBytes leadBytes;
    // The content and tip files, each read once for all five panels.
    CProfileCache profiles;
};

// left + extent, held inside the int range whatever a CD's numbers or pictures say.
int32_t AddClamped(int32_t base, int64_t extent);
