// Rapid Setup mode and driver selection: the switch on and off, the row check boxes and row
// clicks that choose drivers, a single driver installed by a click, and the blinking pointer.
#pragma once

#include <cstdint>

struct CPlatform;
struct CProgramState;
struct CDialogState;
class CProgramEnd;

// Where the pointer blinks while Rapid Setup mode is on.
const int POINTER_X_LEFT = 240;
const int POINTER_X_RIGHT = 255;
const int POINTER_Y = 420;

class CRapidSetup {
public:
    CRapidSetup(CPlatform& platform, CProgramState& state, CProgramEnd& end);

    // The mode is on exactly while the switch (Panel0 item 7) is hidden.
    bool RapidSetupOn() const;
    // Panel0's own items (7 on, 8 start, 9 off) and its driver rows; the Common items 0-6 are
    // the click actions' own.
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

private:
    void RapidSetupOnAction();
    void RapidSetupOffAction();
    void SetModeFlags(bool on);
    void DrawHeader(const char* line1, const char* line2, const char* line3);
    void ErasePointer();

    CPlatform& platform;
    CProgramState& state;
    CDialogState& dialog;
    CProgramEnd& end;
};
