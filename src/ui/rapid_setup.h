// Rapid Setup mode and driver selection: the switch on and off, the row check boxes and row
// clicks that choose drivers, a single driver installed by a click, and the blinking pointer.
#pragma once

#include <cstdint>

class CSetupDlg;

// Where the pointer blinks while Rapid Setup mode is on.
const int POINTER_X_LEFT = 240;
const int POINTER_X_RIGHT = 255;
const int POINTER_Y = 420;
// ShowWindow's SW_HIDE, for the RAID patch.
const uint32_t SHOW_HIDE = 0;
// The 98 SE RAID patch and the file it writes when it is done.
extern const char RAID_PATCH_PROGRAM[];
extern const char RAID_PATCH_DONE_FILE[];
const uint32_t RAID_PATCH_POLL_MS = 2000;
// A patch that has not written its file by then will not: the window is given back.
const uint32_t RAID_PATCH_WAIT_LIMIT_MS = 5 * 60 * 1000;
extern const char RAID_PATCH_TIMEOUT_TEXT[];

class CRapidSetup {
public:
    explicit CRapidSetup(CSetupDlg& dialog);

    // The mode is on exactly while the switch (Panel0 item 7) is hidden.
    bool RapidSetupOn() const;
    // Panel0's own items (7 on, 8 start, 9 off) and its driver rows; 0-6 are Common items.
    void Panel0Action(int k);
    // WM_COMMAND: row check boxes toggle their row. False for other identifiers.
    bool OnRowCheckBox(uint32_t id);
    void ToggleRow(int r);
    // One driver's setup program by itself.
    void LaunchRow(int k);
    // TIMER_POINTER: the pointer moves between its two places.
    void PointerTick();
    // The check box of every row that is not hidden.
    void ShowVisibleRowCheckBoxes();
    // The 98 SE RAID patch, hidden, and the wait for its file (bounded).
    void RunRaidPatch();

private:
    void RapidSetupOnAction();
    void RapidSetupOffAction();
    void SetModeFlags(bool on);
    void DrawHeader(const char* line1, const char* line2, const char* line3);
    void ErasePointer();

    CSetupDlg& dialog;
};
