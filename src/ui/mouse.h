// Hover and press feedback of the skinned window: the item under the pointer lights up and
// shows the hand, a press shows the pressed look and captures the mouse for the release, and
// the active panel's tooltips hear of the mouse.
#pragma once

#include "platform/window.h"

class CSetupDlg;

class CMouseFeedback {
public:
    explicit CMouseFeedback(CSetupDlg& dialog);

    void OnMouseMove(int x, int y);
    void OnLButtonDown(int x, int y);
    // The tooltip control that hears of the mouse: Panel0's or Panel1's while shown, else none.
    ToolTipHandle ToolTipForRelay() const;

private:
    void HoverItem(int panel, int index);
    void LeaveItem(int panel, int index);
    void PressItem(int panel, int index);

    CSetupDlg& dialog;
};
