// Click actions: the release that makes a press a click, switching panels with the effects of
// each tab, Exit and the web button, and starting a utility of Panel1.
#include "ui/clicks.h"

#include <cstring>

#include "install/exit_actions.h"
#include "platform/platform.h"
#include "skin/item_kinds.h"
#include "skin/painter.h"
#include "skin/panels.h"
#include "state/program_end.h"
#include "state/program_state.h"
#include "state/timers.h"
#include "ui/hit_test.h"
#include "ui/rapid_setup.h"

namespace {

const int TAB_COUNT = 5;

}  // namespace

CClickActions::CClickActions(CPlatform& platform, CProgramState& state, CProgramEnd& end)
    : platform(platform), state(state), dialog(state.dialog), end(end)
{
}

void CClickActions::OnLButtonUp(int x, int y)
{
    if (state.uiMode != UI_MODE_IDLE) return;
    int panel = ActivePanelIndex(state.panelTable);
    Panel& p = state.panelTable.panels[panel];
    int k = p.pressedItem;
    if (k >= 0 && k < PANEL_ITEM_CAPACITY) {
        if (IsOverItem(p.items[k], x, y)) {
            ReleaseInside(panel, k);
        } else {
            ReleaseOutside(panel, k);
        }
    }
    // Whatever happened, the press is over (unless an action ended the program).
    if (end.ProgramEnded()) return;
    state.savedPressState = PANEL_NONE;
    state.panelTable.panels[panel].pressedItem = PANEL_NONE;
    platform.window.ReleaseCapture();
}

void CClickActions::ReleaseInside(int panel, int k)
{
    PanelItem& item = state.panelTable.panels[panel].items[k];
    if (item.hidden) return;
    {
        CClientSurface surface(platform.window);
        if (surface.Get()) {
            surface.Get()->DrawMaskedBitmap(item.normalImage, item.normalMask, item.left,
                                            item.top);
        }
    }
    // A driver row's state says whether it is installed; a click does not change that.
    bool driverRow = IsDriverRow(panel, k, dialog.commonCount);
    item.state = driverRow ? state.savedPressState : 0;
    if (k < dialog.commonCount - 2) {
        SwitchPanel(panel, k);
    } else if (!IsImageItem(panel, k, dialog.commonCount)) {
        RedrawTextRow(panel, k);
    }
    switch (panel) {
    case 0:
        if (k < PANEL_COMMON_ITEMS) {
            CommonItemAction(k);
        } else {
            CRapidSetup(platform, state, end).Panel0Action(k);
        }
        break;
    case 1:
        Panel1Action(k);
        break;
    default:
        CommonOnlyAction(k);
        break;
    }
}

void CClickActions::ReleaseOutside(int panel, int k)
{
    PanelItem& item = state.panelTable.panels[panel].items[k];
    int saved = state.savedPressState;
    if (saved == 0 || saved == 1) item.state = saved;
    if (item.hidden || item.state != 1) return;
    if (IsImageItem(panel, k, dialog.commonCount)) {
        // The selected look, which is what a state of 1 shows everywhere else.
        CClientSurface surface(platform.window);
        if (surface.Get())
            CPainter(platform.window, platform.registry, state)
                .DrawImageItem(*surface.Get(), item, LOOK_BY_STATE);
    } else {
        RedrawTextRow(panel, k);
    }
}

void CClickActions::RedrawTextRow(int panel, int k)
{
    CClientSurface surface(platform.window);
    if (!surface.Get()) return;
    CPainter painter(platform.window, platform.registry, state);
    const PanelItem& item = state.panelTable.panels[panel].items[k];
    if (panel == 0) {
        painter.DrawDriverRow(*surface.Get(), k);
    } else if (ToolRowVisible(item.top)) {
        painter.DrawToolRow(*surface.Get(), item, item.state == 1 ? COLOR_YELLOW : COLOR_WHITE);
    }
}

void CClickActions::SwitchPanel(int from, int k)
{
    PanelTable& table = state.panelTable;
    if (k < 0 || k >= TAB_COUNT) return;
    table.panels[from].active = 0;
    table.panels[k].active = 1;
    table.panels[k].items[k].state = 1;
    if (!table.panels[k].backgroundImage) {
        table.panels[k].backgroundImage = table.panels[0].backgroundImage;
    }
    platform.window.Invalidate();
    CClientSurface surface(platform.window);
    if (surface.Get())
        CPainter(platform.window, platform.registry, state).DrawItems(*surface.Get(), k);
}

void CClickActions::EraseRapidPointer()
{
    CPainter(platform.window, platform.registry, state).DrawReturnImage(state.pointerY);
}

void CClickActions::HideRowCheckBoxes()
{
    for (int r = 0; r < dialog.rowCheckBoxCount; ++r) {
        platform.window.ShowControl(CONTROL_ROW_CHECK_BOX_FIRST + r, false);
    }
}

void CClickActions::ShowTextBox(unsigned shownId, unsigned hiddenId)
{
    Window& window = platform.window;
    window.ShowControl(hiddenId, false);
    CRect rect = {TEXT_BOX_LEFT, TEXT_BOX_TOP, TEXT_BOX_LEFT + TEXT_BOX_WIDTH,
                  TEXT_BOX_TOP + TEXT_BOX_HEIGHT};
    window.MoveControl(shownId, rect);
    window.ShowControl(shownId, true);
}

void CClickActions::CommonItemAction(int index)
{
    Window& window = platform.window;
    const bool scrollBar = dialog.toolScrollBarCreated;
    switch (index) {
    case 0: {
        CRapidSetup rapid(platform, state, end);
        if (rapid.RapidSetupOn()) {
            EraseRapidPointer();
            window.KillTimer(TIMER_POINTER);
            window.SetTimer(TIMER_POINTER, TIMER_POINTER_MS);
            rapid.ShowVisibleRowCheckBoxes();
        } else {
            HideRowCheckBoxes();
        }
        window.ShowControl(CONTROL_README_BOX, false);
        window.ShowControl(CONTROL_SYSINFO_BOX, false);
        if (state.hw.osCode == OS_NT4) HideRowCheckBoxes();
        if (scrollBar) window.ShowControl(CONTROL_TOOL_SCROLL_BAR, false);
        break;
    }
    case 1:
        EraseRapidPointer();
        window.KillTimer(TIMER_POINTER);
        HideRowCheckBoxes();
        window.ShowControl(CONTROL_README_BOX, false);
        window.ShowControl(CONTROL_SYSINFO_BOX, false);
        if (scrollBar) window.ShowControl(CONTROL_TOOL_SCROLL_BAR, dialog.toolListScrolls == 1);
        break;
    case 2:
    case 3:
        EraseRapidPointer();
        window.KillTimer(TIMER_POINTER);
        HideRowCheckBoxes();
        if (index == 2) {
            ShowTextBox(CONTROL_README_BOX, CONTROL_SYSINFO_BOX);
        } else {
            ShowTextBox(CONTROL_SYSINFO_BOX, CONTROL_README_BOX);
        }
        if (scrollBar) window.ShowControl(CONTROL_TOOL_SCROLL_BAR, false);
        break;
    case 4:
        EraseRapidPointer();
        window.KillTimer(TIMER_POINTER);
        HideRowCheckBoxes();
        window.ShowControl(CONTROL_README_BOX, false);
        window.ShowControl(CONTROL_SYSINFO_BOX, false);
        if (scrollBar) window.ShowControl(CONTROL_TOOL_SCROLL_BAR, false);
        break;
    case PANEL_ITEM_EXIT:
        CExitActions(platform, state, end).ExitAndForget();
        break;
    case PANEL_ITEM_WEB:
        CExitActions(platform, state, end).OpenMakerWebSite();
        break;
    default:
        break;
    }
}

void CClickActions::Panel1Action(int index)
{
    if (index < PANEL_COMMON_ITEMS) {
        CommonItemAction(index);
        return;
    }
    const PanelItem& row = state.panelTable.panels[1].items[index];
    FixedText<CONTENT_PATH_SIZE> path = dialog.cdRoot;
    path.Append(row.command.c_str());
    // The tool starts in its own folder.
    FixedText<CONTENT_PATH_SIZE> folder = path;
    const char* lastSlash = strrchr(folder.c_str(), '\\');
    if (lastSlash) folder.Truncate(static_cast<size_t>(lastSlash - folder.c_str()) + 1);
    platform.files.SetCurrentDirectory(folder.c_str());
    platform.processes.WinExec(path.c_str(), SHOW_DEFAULT);
}

void CClickActions::CommonOnlyAction(int index)
{
    if (index < PANEL_COMMON_ITEMS) CommonItemAction(index);
}
