// Click actions: the release that makes a press a click, switching panels with the effects of
// each tab, Exit and the web button, and starting a utility of Panel1.
#pragma once

struct CPlatform;
struct CProgramState;
struct CDialogState;
class CProgramEnd;

// Where the readme and the report are shown on their panels.
const int TEXT_BOX_LEFT = 220;
const int TEXT_BOX_TOP = 100;
const int TEXT_BOX_WIDTH = 380;
const int TEXT_BOX_HEIGHT = 295;
// WinExec's SW_SHOWDEFAULT.
const unsigned SHOW_DEFAULT = 10;

class CClickActions {
public:
    CClickActions(CPlatform& platform, CProgramState& state, CProgramEnd& end);

    void OnLButtonUp(int x, int y);
    // Shows panel k (which may be the one shown) and draws it at once.
    void SwitchPanel(int from, int k);
    // The tabs, Exit and the web button: the same on every panel.
    void CommonItemAction(int index);
    void Panel1Action(int index);
    // Panels 2 to 4 have only the Common items.
    void CommonOnlyAction(int index);

private:
    void ReleaseInside(int panel, int k);
    void ReleaseOutside(int panel, int k);
    void RedrawTextRow(int panel, int k);
    void EraseRapidPointer();
    void HideRowCheckBoxes();
    void ShowTextBox(unsigned shownId, unsigned hiddenId);

    CPlatform& platform;
    CProgramState& state;
    CDialogState& dialog;
    CProgramEnd& end;
};
