// The process-wide state of the program, owned by one object so that every test starts fresh.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "hw/hw_state.h"
#include "install/invocation.h"
#include "skin/panel_table.h"
#include "state/dialog_state.h"

const uint8_t UI_MODE_IDLE = 99;
const int RULE_TEXT_SIZE = 98;    // up to 96 dashes, the '>' and the zero
const int BLANK_TEXT_SIZE = 256;  // 255 spaces and the zero
// The Windows directory (up to 260 characters) and "\system\".
const int SYSTEM_FOLDER_SIZE = 270;

struct CProgramState {
    CHwState hw;
    // Horizontal pixels per inch, written before the dialog is created.
    int screenDpiX = 0;
    // 99 while idle (the mouse handlers act only then); the row being installed otherwise.
    uint8_t uiMode = UI_MODE_IDLE;
    // The installation sequencer: its three byte flags (reset at every dialog start), the
    // progress marker, and the row being installed.
    uint8_t raidCounted = 0;
    uint8_t raidRowCount = 0;
    uint8_t installKind = 0;
    int progressTicks = 0;
    int32_t flagVariant = 99;
    CommandLineText commandLine;
    int resumePending = 0;
    // 1: the close handler leaves the resume state in the registry.
    int keepResumeState = 0;
    // The pressed item's state before the press; 99 while nothing is pressed.
    int32_t savedPressState = 99;
    // Where the Rapid Setup pointer blinks.
    int pointerX = 0;
    int pointerY = 0;
    // The font of the panels exists once the dialog has created it.
    bool uiFontCreated = false;
    // Leader drawn in driver rows, and the spaces that erase text on screen.
    FixedText<RULE_TEXT_SIZE> ruleText;
    FixedText<BLANK_TEXT_SIZE> blankText;

    // The five panels; loaded once at start, changed by clicks, scrolling and the sequencer.
    PanelTable panelTable;
    // Panel0's header lines while Rapid Setup mode is on.
    FixedText<PANEL_LINE_SIZE> ezLine1;
    FixedText<PANEL_LINE_SIZE> ezLine2;
    FixedText<PANEL_LINE_SIZE> ezLine3;
    // Where the Windows Installer files the program removes live; set by the Panel0 loader.
    FixedText<SYSTEM_FOLDER_SIZE> systemFolder;
    // The main dialog's own data, fresh with every program state as the rest.
    CDialogState dialog;
};
