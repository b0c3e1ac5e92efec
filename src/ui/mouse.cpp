// Hover and press feedback of the skinned window: the item under the pointer lights up and
// shows the hand, a press shows the pressed look and captures the mouse for the release, and
// the active panel's tooltips hear of the mouse.
#include "ui/mouse.h"

#include "skin/item_kinds.h"
#include "skin/painter.h"
#include "state/program_state.h"
#include "ui/hit_test.h"

CMouseFeedback::CMouseFeedback(Window& window, Registry& registry, CProgramState& state)
    : window(window), registry(registry), state(state), dialog(state.dialog)
{
}

void CMouseFeedback::OnMouseMove(int x, int y)
{
    if (state.uiMode != UI_MODE_IDLE) return;
    int panel = ActivePanelIndex(state.panelTable);
    Panel& p = state.panelTable.panels[panel];
    for (int i = 0; i < p.rowCount && i < PANEL_ITEM_CAPACITY; ++i) {
        PanelItem& item = p.items[i];
        // The shown panel's own tab and installed drivers keep their selected look.
        if (item.state == 1) continue;
        if (IsOverItem(item, x, y)) {
            item.hover = 1;
            if (!item.hidden) HoverItem(panel, i);
        } else if (!item.hidden && item.hover == 1) {
            item.hover = 0;
            LeaveItem(panel, i);
        }
    }
}

void CMouseFeedback::HoverItem(int panel, int index)
{
    const PanelItem& item = state.panelTable.panels[panel].items[index];
    const bool nt4 = state.hw.osCode == OS_NT4;
    CClientSurface surface(window);
    if (!surface.Get()) return;
    CPainter painter(window, registry, state);
    if (IsImageItem(panel, index, dialog.commonCount)) {
        painter.DrawImageItem(*surface.Get(), item, LOOK_OVER);
        if (!nt4) window.SetHandCursor();
    } else if (panel == 0) {
        if (!nt4) window.SetHandCursor();
        painter.DrawDriverRowLook(*surface.Get(), index, COLOR_OLIVE);
    } else if (ToolRowVisible(item.top)) {
        if (!nt4) window.SetHandCursor();
        painter.DrawToolCaption(*surface.Get(), item, COLOR_OLIVE);
    }
}

void CMouseFeedback::LeaveItem(int panel, int index)
{
    const PanelItem& item = state.panelTable.panels[panel].items[index];
    CClientSurface surface(window);
    if (!surface.Get()) return;
    CPainter painter(window, registry, state);
    if (IsImageItem(panel, index, dialog.commonCount)) {
        painter.DrawImageItem(*surface.Get(), item, LOOK_BY_STATE);
    } else if (panel == 0) {
        painter.DrawDriverRowLook(*surface.Get(), index, COLOR_WHITE);
    } else if (ToolRowVisible(item.top)) {
        painter.DrawToolCaption(*surface.Get(), item, COLOR_WHITE);
    }
}

void CMouseFeedback::OnLButtonDown(int x, int y)
{
    if (state.uiMode != UI_MODE_IDLE) return;
    int panel = ActivePanelIndex(state.panelTable);
    Panel& p = state.panelTable.panels[panel];
    for (int i = 0; i < p.rowCount && i < PANEL_ITEM_CAPACITY; ++i) {
        PanelItem& item = p.items[i];
        if (item.hidden || !IsOverItem(item, x, y)) continue;
        PressItem(panel, i);
        p.pressedItem = i;
        state.savedPressState = item.state;
        item.state = 1;
        // The release must come here even when it happens outside the window.
        window.SetCapture();
    }
}

void CMouseFeedback::PressItem(int panel, int index)
{
    const PanelItem& item = state.panelTable.panels[panel].items[index];
    CClientSurface surface(window);
    if (!surface.Get()) return;
    CPainter painter(window, registry, state);
    if (IsImageItem(panel, index, dialog.commonCount)) {
        painter.DrawImageItem(*surface.Get(), item, LOOK_DOWN);
    } else if (panel == 0) {
        bool usb2 = painter.IsUnsupportedUsb2(item);
        painter.DrawDriverRowLook(*surface.Get(), index, usb2 ? COLOR_WHITE : COLOR_YELLOW);
    } else if (ToolRowVisible(item.top)) {
        // A row scrolled out of the list's window is still clickable but is not drawn over the
        // header or the footer.
        if (painter.IsUnsupportedUsb2(item)) {
            if (state.hw.osCode != OS_NT4) {
                painter.DrawToolCaption(*surface.Get(), item, COLOR_WHITE);
            }
        } else {
            painter.DrawToolRowPressed(*surface.Get(), item);
        }
    }
}

ToolTipHandle CMouseFeedback::ToolTipForRelay() const
{
    int panel = ActivePanelIndex(state.panelTable);
    if (panel == 0) return dialog.panel0ToolTips;
    if (panel == 1) return dialog.panel1ToolTips;
    return 0;
}
