// The scrolling utility list: the scroll bar's requests move Panel1's rows by whole steps of
// 20 pixels, wipe and redraw the rows in the list's window, and move their tooltips along.
#pragma once

class Window;
class Registry;
struct CProgramState;
struct CDialogState;

// WM_VSCROLL request codes.
const int SCROLL_LINE_UP = 0;
const int SCROLL_LINE_DOWN = 1;
const int SCROLL_PAGE_UP = 2;
const int SCROLL_PAGE_DOWN = 3;
const int SCROLL_THUMB_POSITION = 4;
const int SCROLL_THUMB_TRACK = 5;
const int SCROLL_TOP = 6;
const int SCROLL_BOTTOM = 7;
const int SCROLL_END = 8;
const int TOOL_ROW_STEP = 20;

class CToolScroll {
public:
    CToolScroll(Window& window, Registry& registry, CProgramState& state);

    void OnVScroll(int code, int position);

private:
    // The rows in the list's window: wiped before a move, drawn after it.
    void DrawRowsInWindow(bool wipe);
    void MoveRows(int position);
    void RegisterTips();

    Window& window;
    Registry& registry;
    CProgramState& state;
    CDialogState& dialog;
};
