// Hover and press feedback of the skinned window: the item under the pointer lights up and
// shows the hand, a press shows the pressed look and captures the mouse for the release, and
// the active panel's tooltips hear of the mouse.
#pragma once

#include "platform/window.h"

class Registry;
struct CProgramState;
struct CDialogState;

class CMouseFeedback {
public:
    CMouseFeedback(Window& window, Registry& registry, CProgramState& state);

    void OnMouseMove(int x, int y);
    void OnLButtonDown(int x, int y);
    // The tooltip control that hears of the mouse: Panel0's or Panel1's while shown, else none.
    ToolTipHandle ToolTipForRelay() const;

private:
    void HoverItem(int panel, int index);
    void LeaveItem(int panel, int index);
    void PressItem(int panel, int index);

    Window& window;
    Registry& registry;
    CProgramState& state;
    CDialogState& dialog;
};
