// The main dialog's own data, kept in the program state so that every test starts fresh.
#pragma once

#include <cstdint>
#include <string>

#include "common/fixed_text.h"
#include "hw/driver_item.h"
#include "platform/system.h"
#include "platform/window.h"
#include "skin/content_files.h"

// Child controls of the main dialog.
const uint32_t CONTROL_TOOL_SCROLL_BAR = 10;
const uint32_t CONTROL_ROW_CHECK_BOX_FIRST = 200;  // rowCheckBoxes[r] is 200 + r
const uint32_t CONTROL_README_BOX = 1002;
const uint32_t CONTROL_SYSINFO_BOX = 1003;

// Where the program and the CD are, the content files, the text metrics,
// the tooltip controls, the version record, the install list, the controls the panel loaders
// create, the readme and report texts, and whether the program has ended.
struct CDialogState {
    // The Panel0 item of list position r: the Common items, Panel0's three own, then the rows.
    int DriverRowItem(int r) const { return commonCount + 3 + r; }

    FixedText<512> programDir;
    FixedText<512> cdRoot;
    CContentFiles content;
    int lineHeight = 0;
    int charWidth = 0;
    ToolTipHandle panel1ToolTips = 0;
    ToolTipHandle panel0ToolTips = 0;
    int toolListScrolls = 0;
    COsVersionInfo versionRecord = {};
    uint8_t xpServicePack = 0;
    CInstallList installList;

    // Panels: the count of Common items, the controls the loaders create and fill.
    int commonCount = 0;
    int rowCheckBoxCount = 0;  // rowCheckBoxes: one per install-list entry
    bool toolScrollBarCreated = false;
    // The scroll bar's range and page as the loader set them.
    int toolScrollMin = 0;
    int toolScrollMax = 0;
    int toolScrollPage = 0;
    int toolRowCount = 0;
    std::string readmeText;
    std::string systemReport;
    // 1 when the registry's DirectX is older than the Realtek audio driver's jack sensing needs.
    int needsDirectX81 = 0;
    // Set once the program has been ended; every caller returns straight away then.
    bool programEnded = false;
};
