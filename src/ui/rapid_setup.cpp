// Rapid Setup mode and driver selection: the switch on and off, the row check boxes and row
// clicks that choose drivers, a single driver installed by a click, and the blinking pointer.
#include "ui/rapid_setup.h"

#include <cstring>

#include "install/raid_patch.h"
#include "install/sequencer.h"
#include "install/version_record.h"
#include "platform/platform.h"
#include "skin/painter.h"
#include "skin/panels.h"
#include "state/program_end.h"
#include "state/program_state.h"
#include "state/timers.h"

namespace {

const int ITEM_RAPID_ON = PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_ON;
const int ITEM_START = PANEL_COMMON_ITEMS + PANEL0_OWN_START;
const int ITEM_RAPID_OFF = PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_OFF;
const char SIL_RAID_FOLDER[] = "other\\sii\\";

void LowerCase(FixedText<PANEL_COMMAND_SIZE>* text)
{
    for (char* c = text->Buffer(); *c; ++c) {
        if (*c >= 'A' && *c <= 'Z') *c = static_cast<char>(*c - 'A' + 'a');
    }
}

}  // namespace

CRapidSetup::CRapidSetup(CPlatform& platform, CProgramState& state, CProgramEnd& end)
    : platform(platform), state(state), dialog(state.dialog), end(end)
{
}

bool CRapidSetup::RapidSetupOn() const
{
    return state.panelTable.panels[0].items[ITEM_RAPID_ON].hidden == 1;
}

void CRapidSetup::SetModeFlags(bool on)
{
    PanelItem* items = state.panelTable.panels[0].items;
    items[ITEM_RAPID_ON].hidden = on ? 1 : 0;
    items[ITEM_START].hidden = on ? 0 : 1;
    items[ITEM_RAPID_OFF].hidden = on ? 0 : 1;
}

void CRapidSetup::Panel0Action(int k)
{
    if (k == ITEM_RAPID_ON) {
        RapidSetupOnAction();
    } else if (k == ITEM_RAPID_OFF) {
        RapidSetupOffAction();
    } else if (k == ITEM_START) {
        ErasePointer();
        platform.window.KillTimer(TIMER_POINTER);
        SetModeFlags(true);
        CSequencer(platform, state, end).StartSequence();
    } else if (k >= dialog.DriverRowItem(0)) {
        if (RapidSetupOn() && state.hw.osCode != OS_NT4) {
            ToggleRow(k - dialog.DriverRowItem(0));
        } else {
            LaunchRow(k);
        }
    }
}

void CRapidSetup::DrawHeader(const char* line1, const char* line2, const char* line3)
{
    CClientSurface surface(platform.window);
    if (!surface.Get()) return;
    Window& window = platform.window;
    const CContentFiles& content = dialog.content;
    BitmapHandle strip = window.LoadBitmapResource(BITMAP_HEADER_STRIP);
    surface.Get()->DrawMaskedBitmap(strip, strip, content.headerX, content.headerY);
    if (strip) window.DeleteBitmap(strip);
    DrawingSurface& s = *surface.Get();
    s.SetTextColor(COLOR_WHITE);
    s.SetBkColor(COLOR_BLACK);
    s.SelectUiFont();
    const char* lines[3] = {line1, line2, line3};
    for (int i = 0; i < 3; ++i) {
        s.TextOut(content.headerX, content.headerY + i * dialog.lineHeight, lines[i]);
    }
    s.SelectPreviousFont();
}

void CRapidSetup::RapidSetupOnAction()
{
    Window& window = platform.window;
    state.pointerX = POINTER_X_LEFT;
    state.pointerY = POINTER_Y;
    window.SetTimer(TIMER_POINTER, TIMER_POINTER_MS);
    SetModeFlags(true);
    if (dialog.panel0ToolTips) window.ActivateToolTip(dialog.panel0ToolTips, false);
    DrawHeader(state.ezLine1.c_str(), state.ezLine2.c_str(), state.ezLine3.c_str());

    CPainter painter(platform.window, platform.registry, state);
    CVersionRecord record(platform.registry, platform.window, state.panelTable, dialog);
    PanelItem* items = state.panelTable.panels[0].items;
    for (int r = 0; r < dialog.rowCheckBoxCount; ++r) {
        int k = dialog.DriverRowItem(r);
        uint32_t box = CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(r);
        PanelItem& row = items[k];
        if (painter.IsUnsupportedUsb2(row)) {
            // XP without a service pack cannot take it: the row goes, black on black.
            row.hidden = 1;
            CClientSurface surface(window);
            if (surface.Get()) {
                surface.Get()->SetTextColor(COLOR_BLACK);
                surface.Get()->SetBkColor(COLOR_BLACK);
                painter.SetBlankText(state.ruleText.c_str());
                surface.Get()->TextOut(row.left, row.top, state.blankText.c_str());
                surface.Get()->TextOut(row.left, row.top, row.caption.c_str());
            }
            window.ShowControl(box, false);
        } else {
            window.ShowControl(box, true);
        }
        record.RefreshInstalledState(k);
        // An installed driver nobody chose cannot be chosen by its box (its text still can).
        window.EnableControl(box, !(row.state == 1 && row.checked == 0));
    }

    CClientSurface surface(window);
    if (!surface.Get()) return;
    BitmapHandle cover = window.LoadBitmapResource(BITMAP_NT4_NOTICE);
    surface.Get()->DrawMaskedBitmap(cover, cover, items[ITEM_RAPID_ON].left,
                                    items[ITEM_RAPID_ON].top);
    if (cover) window.DeleteBitmap(cover);
    painter.DrawImageItem(*surface.Get(), items[ITEM_START], LOOK_BY_STATE);
    painter.DrawImageItem(*surface.Get(), items[ITEM_RAPID_OFF], LOOK_BY_STATE);
}

void CRapidSetup::RapidSetupOffAction()
{
    Window& window = platform.window;
    if (dialog.panel0ToolTips) window.ActivateToolTip(dialog.panel0ToolTips, true);
    ErasePointer();
    window.KillTimer(TIMER_POINTER);
    const Panel& panel0 = state.panelTable.panels[0];
    SetModeFlags(false);
    DrawHeader(panel0.line1.c_str(), panel0.line2.c_str(), panel0.line3.c_str());

    CPainter painter(platform.window, platform.registry, state);
    PanelItem* items = state.panelTable.panels[0].items;
    for (int r = 0; r < dialog.rowCheckBoxCount; ++r) {
        PanelItem& row = items[dialog.DriverRowItem(r)];
        if (painter.IsUnsupportedUsb2(row)) {
            row.hidden = 0;
            if (state.hw.osCode != OS_NT4) {
                CClientSurface surface(window);
                if (surface.Get()) painter.DrawToolCaption(*surface.Get(), row, COLOR_WHITE);
            }
        }
        window.ShowControl(CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(r), false);
    }
    CClientSurface surface(window);
    if (!surface.Get()) return;
    BitmapHandle cover = panel0.returnImage;
    for (int k : {ITEM_START, ITEM_RAPID_OFF}) {
        surface.Get()->DrawMaskedBitmap(cover, cover, items[k].left, items[k].top);
    }
    // The switch comes back at once, rather than at the next paint.
    painter.DrawImageItem(*surface.Get(), items[ITEM_RAPID_ON], LOOK_BY_STATE);
}

void CRapidSetup::ShowVisibleRowCheckBoxes()
{
    const PanelItem* items = state.panelTable.panels[0].items;
    for (int r = 0; r < dialog.rowCheckBoxCount; ++r) {
        if (items[dialog.DriverRowItem(r)].hidden) continue;
        platform.window.ShowControl(CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(r), true);
    }
}

bool CRapidSetup::OnRowCheckBox(uint32_t id)
{
    if (id < CONTROL_ROW_CHECK_BOX_FIRST) return false;
    uint32_t r = id - CONTROL_ROW_CHECK_BOX_FIRST;
    if (r >= dialog.installList.itemCount || static_cast<int>(r) >= dialog.rowCheckBoxCount) {
        return false;
    }
    ToggleRow(static_cast<int>(r));
    return true;
}

void CRapidSetup::ToggleRow(int r)
{
    if (r < 0 || r >= dialog.rowCheckBoxCount) return;
    Window& window = platform.window;
    uint32_t box = CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(r);
    int chosen = window.GetCheck(box) == 1 ? 0 : 1;
    window.SetCheck(box, chosen);
    dialog.installList.items[r].selected = chosen;
    state.panelTable.panels[0].items[dialog.DriverRowItem(r)].checked = chosen;
}

void CRapidSetup::ErasePointer()
{
    CPainter(platform.window, platform.registry, state).DrawReturnImage(state.pointerY);
}

void CRapidSetup::LaunchRow(int k)
{
    if (k < 0 || k >= PANEL_ITEM_CAPACITY) return;
    Window& window = platform.window;
    ErasePointer();
    window.KillTimer(TIMER_POINTER);
    const PanelItem& row = state.panelTable.panels[0].items[k];
    if (!CPainter(platform.window, platform.registry, state).IsUnsupportedUsb2(row))
        CVersionRecord(platform.registry, platform.window, state.panelTable, dialog)
            .RecordInstalledVersion(k);

    FixedText<PANEL_COMMAND_SIZE> folder = row.command;
    const char* lastSlash = strrchr(folder.c_str(), '\\');
    if (lastSlash) folder.Truncate(static_cast<size_t>(lastSlash - folder.c_str()) + 1);
    platform.files.SetCurrentDirectory(folder.c_str());

    if (state.raidRowCount >= 2 && state.hw.osCode == OS_WIN98SE) {
        // With two RAID drivers on 98 SE only the Silicon Image one runs, through its patch.
        FixedText<PANEL_COMMAND_SIZE> lower = row.command;
        LowerCase(&lower);
        if (strstr(lower.c_str(), SIL_RAID_FOLDER)) {
            RunRaidPatch(platform.files, platform.processes, platform.system, platform.window);
        }
        return;
    }
    platform.processes.ShellOpen(row.command.c_str(), nullptr, nullptr);
    window.Invalidate();
}

void CRapidSetup::PointerTick()
{
    CPainter painter(platform.window, platform.registry, state);
    painter.DrawReturnImage(state.pointerY);
    painter.DrawAnimationFrame(state.pointerX, state.pointerY);
    state.pointerX = state.pointerX == POINTER_X_LEFT ? POINTER_X_RIGHT : POINTER_X_LEFT;
}
