// The scrolling utility list: the scroll bar's requests move Panel1's rows by whole steps of
// 20 pixels, wipe and redraw the rows in the list's window, and move their tooltips along.
#include "ui/tool_scroll.h"

#include "skin/painter.h"
#include "skin/panels.h"
#include "state/program_state.h"

CToolScroll::CToolScroll(Window& window, Registry& registry, CProgramState& state)
    : window(window), registry(registry), state(state), dialog(state.dialog)
{
}

void CToolScroll::OnVScroll(int code, int position)
{
    if (!dialog.toolScrollBarCreated) return;
    const int minimum = dialog.toolScrollMin;
    const int page = dialog.toolScrollPage > 1 ? dialog.toolScrollPage : 1;
    int limit = dialog.toolScrollMax - page + 1;
    if (limit < minimum) limit = minimum;
    const int pos = window.GetScrollPos(CONTROL_TOOL_SCROLL_BAR);

    int next = pos;
    bool move = false;
    switch (code) {
    case SCROLL_LINE_UP:
        if (pos > minimum) next = pos - 1;
        move = next != pos;
        break;
    case SCROLL_LINE_DOWN:
        if (pos < limit) next = pos + 1;
        move = next != pos;
        break;
    case SCROLL_PAGE_UP:
        if (pos > minimum) next = pos - page < minimum ? minimum : pos - page;
        move = true;
        break;
    case SCROLL_PAGE_DOWN:
        if (pos < limit) next = pos + page > limit ? limit : pos + page;
        move = true;
        break;
    case SCROLL_THUMB_POSITION:
    case SCROLL_THUMB_TRACK:
        // The bar sends positions inside its range; anything else is held there.
        next = position < minimum ? minimum : (position > limit ? limit : position);
        move = true;
        break;
    case SCROLL_TOP:
        next = minimum;
        break;
    case SCROLL_BOTTOM:
        next = limit;
        break;
    default:
        break;
    }
    window.SetScrollPos(CONTROL_TOOL_SCROLL_BAR, next);
    if (!move) return;
    DrawRowsInWindow(true);
    MoveRows(next);
    RegisterTips();
    DrawRowsInWindow(false);
}

void CToolScroll::MoveRows(int position)
{
    Panel& p = state.panelTable.panels[1];
    int offset = TOOL_ROW_STEP * (position - 1);
    for (int j = 0; j < dialog.toolRowCount && j < PANEL1_MAX_ROWS; ++j) {
        PanelItem& row = p.items[PANEL_COMMON_ITEMS + j];
        row.top = AddClamped(row.baseTop, -static_cast<int64_t>(offset));
        row.bottom = AddClamped(row.baseBottom, -static_cast<int64_t>(offset));
    }
}

void CToolScroll::RegisterTips()
{
    if (!dialog.panel1ToolTips) return;
    const Panel& p = state.panelTable.panels[1];
    for (int i = 0; i < p.rowCount && i < PANEL_ITEM_CAPACITY; ++i) {
        const PanelItem& item = p.items[i];
        if (item.hidden) continue;
        CRect rect = {item.left, item.top, item.right, item.bottom};
        window.AddToolTipTool(dialog.panel1ToolTips, static_cast<uint32_t>(i), rect,
                              item.tooltip.c_str());
    }
}

void CToolScroll::DrawRowsInWindow(bool wipe)
{
    CClientSurface surface(window);
    if (!surface.Get()) return;
    CPainter painter(window, registry, state);
    const Panel& p = state.panelTable.panels[1];
    for (int i = 0; i < p.rowCount && i < PANEL_ITEM_CAPACITY; ++i) {
        const PanelItem& item = p.items[i];
        if (!ToolRowVisible(item.top) || item.caption.Empty()) continue;
        // Wiped black on black; redrawn white, headings navy.
        ColorRef color = wipe ? COLOR_BLACK : (item.hidden ? COLOR_NAVY : COLOR_WHITE);
        painter.DrawToolRow(*surface.Get(), item, color);
    }
}
