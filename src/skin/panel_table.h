// The panel model: five panels of forty items each, with their images, rectangles, looks,
// commands, captions and tooltips, as the loaders fill it and the painter draws it.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "platform/window.h"
#include "skin/picture_cache.h"

const int PANEL_COUNT = 5;
const int PANEL_ITEM_CAPACITY = 40;
// "None" for item and row indexes.
const int32_t PANEL_NONE = 99;

// Item numbers shared by every panel: the five tabs, Exit and the web button.
const int PANEL_ITEM_EXIT = 5;
const int PANEL_ITEM_WEB = 6;
// Panel0's own items after the Common ones: Rapid Setup on, start, Rapid Setup off.
const int PANEL0_OWN_RAPID_ON = 0;
const int PANEL0_OWN_START = 1;
const int PANEL0_OWN_RAPID_OFF = 2;

const size_t PANEL_LINE_SIZE = 200;
const size_t PANEL_COMMAND_SIZE = 255;
const size_t PANEL_VERSION_SIZE = 100;
const size_t PANEL_CAPTION_SIZE = 255;
const size_t PANEL_TOOLTIP_SIZE = 513;
const size_t PANEL_STATE_TEXT_SIZE = 50;

// One image button or one text row; everything starts as zero.
struct PanelItem {
    int32_t top = 0;
    int32_t left = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t hover = 0;
    // 1: the selected look (the shown panel's tab, a pressed button, an installed driver).
    int32_t state = 0;
    BitmapHandle normalImage = 0;
    BitmapHandle normalMask = 0;
    BitmapHandle overImage = 0;
    BitmapHandle overMask = 0;
    BitmapHandle downImage = 0;
    BitmapHandle downMask = 0;
    // 1: neither drawn nor clickable (a tooltip added earlier stays).
    uint8_t hidden = 0;
    FixedText<PANEL_COMMAND_SIZE> command;
    FixedText<PANEL_VERSION_SIZE> version;
    FixedText<PANEL_CAPTION_SIZE> caption;
    FixedText<PANEL_TOOLTIP_SIZE> tooltip;
    // Driver rows: chosen for installation.
    int32_t checked = 0;
    FixedText<PANEL_STATE_TEXT_SIZE> installedText;
    FixedText<PANEL_STATE_TEXT_SIZE> notInstalledText;
    // Utility rows: the rectangle before scrolling.
    int32_t baseTop = 0;
    int32_t baseBottom = 0;
};

struct Panel {
    BitmapHandle backgroundImage = 0;
    BitmapHandle marqueeImage = 0;       // loaded and kept; nothing draws it
    BitmapHandle marqueeBackground = 0;  // loaded and kept; nothing draws it
    BitmapHandle returnImage = 0;        // Panel0 only
    PanelItem items[PANEL_ITEM_CAPACITY];
    int32_t pressedItem = PANEL_NONE;
    int32_t rowCount = 0;
    int32_t active = 0;
    FixedText<PANEL_LINE_SIZE> line1;
    FixedText<PANEL_LINE_SIZE> line2;
    FixedText<PANEL_LINE_SIZE> line3;
};

struct PanelTable {
    Panel panels[PANEL_COUNT];
    // The handles the panels share; kept, like them, until the program ends.
    PictureCache pictures;
    // The panel whose Common items the later panels copy, PANEL_NONE before the first is read,
    // with the content file they came from and the "total" it gave.
    int32_t commonSource = PANEL_NONE;
    FixedText<CONTENT_PATH_SIZE> commonFile;
    int32_t commonTotal = 0;
};

// The panel shown: the one whose active is 1 (the highest index when several are).
inline int ActivePanelIndex(const PanelTable& table)
{
    int found = 0;
    for (int p = 0; p < PANEL_COUNT; ++p) {
        if (table.panels[p].active == 1) found = p;
    }
    return found;
}
