// Painting the main dialog: the paint handler and the drawing operations every part of the
// program shares (masked images, driver and utility rows, the erasing blanks, the animation
// frame, the return marker and the DirectX test behind the audio note).
#include "skin/painter.h"

#include <cstring>

#include "hw/driver_list.h"
#include "install/version_record.h"
#include "skin/item_kinds.h"
#include "skin/panels.h"
#include "state/program_state.h"

const char DIRECTX_MINIMUM_VERSION[] = "4.08.01.0810";
const char TOOL_ROW_PRESS_BLANKS[] = "          ";
const char AUDIO_NOTE_TEXT[] =
    "  (For ALC655 Jack-sensing, you need to install DirectX 8.1 or above)";

namespace {

const char DIRECTX_KEY[] = "SOFTWARE\\Microsoft\\DirectX";
const char DIRECTX_VERSION_VALUE[] = "Version";
const uint32_t DIRECTX_VERSION_SIZE = 20;
const char REALTEK_AUDIO_FOLDER[] = "\\AUDIO\\REALTEK";
const int AUDIO_NOTE_OFFSET_Y = 12;
// The utility rows the navy pass covers: the first fifteen after the Common items.
const int HIDDEN_TOOL_ROWS_PASS = 15;

void UpperCase(FixedText<PANEL_COMMAND_SIZE>* text)
{
    for (char* c = text->Buffer(); *c; ++c) {
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    }
}

}  // namespace

CClientSurface::CClientSurface(Window& owner) : window(owner), surface(owner.GetClientSurface())
{
}

CClientSurface::~CClientSurface()
{
    if (surface) window.ReleaseClientSurface(surface);
}

CPainter::CPainter(Window& window, Registry& registry, CProgramState& state)
    : window(window), registry(registry), state(state), dialog(state.dialog)
{
}

void CPainter::OnPaint()
{
    DrawingSurface* surface = window.BeginPaint();
    if (!surface) return;
    if (window.IsMinimized()) {
        DrawMinimizedIcon(*surface);
    } else {
        int panel = ActivePanelIndex(state.panelTable);
        DrawBackground(*surface, panel);
        DrawHeader(*surface, panel);
        if (panel == 1) DrawHiddenToolRows(*surface);
        DrawItems(*surface, panel);
    }
    window.EndPaint(surface);
}

void CPainter::DrawMinimizedIcon(DrawingSurface& surface)
{
    CRect client = {0, 0, 0, 0};
    window.GetClientRect(&client);
    int iconWidth = 0;
    int iconHeight = 0;
    window.GetIconSize(&iconWidth, &iconHeight);
    int x = (client.right - client.left - iconWidth + 1) / 2;
    int y = (client.bottom - client.top - iconHeight + 1) / 2;
    surface.DrawIcon(x, y);
}

void CPainter::DrawBackground(DrawingSurface& surface, int panel)
{
    // Panel4 has a background of its own; Panels 0 to 3 share Panel0's.
    const PanelTable& table = state.panelTable;
    BitmapHandle background = table.panels[panel == 4 ? 4 : 0].backgroundImage;
    surface.DrawMaskedBitmap(background, background, 0, 0);
}

void CPainter::DrawResourceOpaque(DrawingSurface& surface, uint32_t id, int x, int y)
{
    BitmapHandle bitmap = window.LoadBitmapResource(id);
    if (!bitmap) return;
    surface.DrawMaskedBitmap(bitmap, bitmap, x, y);
    window.DeleteBitmap(bitmap);
}

void CPainter::DrawHeader(DrawingSurface& surface, int panel)
{
    const CContentFiles& content = dialog.content;
    DrawResourceOpaque(surface, BITMAP_HEADER_STRIP, content.headerX, content.headerY);

    const Panel& p = state.panelTable.panels[panel];
    // Rapid Setup mode is on while its switch (Panel0 item 7) is hidden.
    bool rapidSetup = panel == 0 && p.items[PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_ON].hidden;
    const char* lines[3] = {p.line1.c_str(), p.line2.c_str(), p.line3.c_str()};
    if (rapidSetup) {
        lines[0] = state.ezLine1.c_str();
        lines[1] = state.ezLine2.c_str();
        lines[2] = state.ezLine3.c_str();
    }
    surface.SetTextColor(COLOR_WHITE);
    surface.SetBkColor(COLOR_BLACK);
    surface.SelectUiFont();
    for (int i = 0; i < 3; ++i) {
        surface.TextOut(content.headerX, content.headerY + i * dialog.lineHeight, lines[i]);
    }
    surface.SelectPreviousFont();
}

void CPainter::DrawHiddenToolRows(DrawingSurface& surface)
{
    // Every utility row in the window first goes down in navy, hidden ones included: headings
    // stay visible that way, and the item pass overwrites the others.
    const Panel& p = state.panelTable.panels[1];
    int first = dialog.commonCount;
    for (int r = first; r < first + HIDDEN_TOOL_ROWS_PASS && r < PANEL_ITEM_CAPACITY; ++r) {
        const PanelItem& item = p.items[r];
        if (!ToolRowVisible(item.top)) continue;
        DrawToolRow(surface, item, COLOR_NAVY);
    }
}

void CPainter::DrawToolRow(DrawingSurface& surface, const PanelItem& item, ColorRef color)
{
    surface.SetTextColor(color);
    surface.SetBkColor(COLOR_BLACK);
    surface.SelectUiFont();
    SetBlankText(item.caption.c_str());
    surface.TextOut(item.left, item.top, state.blankText.c_str());
    surface.TextOut(item.left, item.top, item.caption.c_str());
}

void CPainter::DrawImageItem(DrawingSurface& surface, const PanelItem& item, CItemLook look)
{
    switch (look) {
    case LOOK_OVER:
        surface.DrawMaskedBitmap(item.overImage, item.overMask, item.left, item.top);
        break;
    case LOOK_DOWN:
        surface.DrawMaskedBitmap(item.downImage, item.downMask, item.left, item.top);
        break;
    case LOOK_BY_STATE:
        if (item.state == 1) {
            surface.DrawMaskedBitmap(item.downImage, item.downMask, item.left, item.top);
        } else {
            surface.DrawMaskedBitmap(item.normalImage, item.normalMask, item.left, item.top);
        }
        break;
    }
}

void CPainter::DrawNt4Notice(DrawingSurface& surface)
{
    // NT 4 has no Rapid Setup: its buttons give way to the notice.
    PanelItem* items = state.panelTable.panels[0].items;
    for (int own = 0; own < PANEL0_OWN_ITEMS; ++own) items[PANEL_COMMON_ITEMS + own].hidden = 1;
    const PanelItem& rapidOn = items[PANEL_COMMON_ITEMS + PANEL0_OWN_RAPID_ON];
    DrawResourceOpaque(surface, BITMAP_NT4_NOTICE, rapidOn.left, rapidOn.top);
}

void CPainter::DrawItems(DrawingSurface& surface, int panel)
{
    Panel& p = state.panelTable.panels[panel];
    const int common = dialog.commonCount;
    const bool nt4 = state.hw.osCode == OS_NT4;
    bool nt4NoticeDrawn = false;
    int rows = p.rowCount < PANEL_ITEM_CAPACITY ? p.rowCount : PANEL_ITEM_CAPACITY;
    for (int r = 0; r < rows; ++r) {
        PanelItem& item = p.items[r];
        if (item.hidden) continue;
        if (IsImageItem(panel, r, common)) {
            DrawImageItem(surface, item, LOOK_BY_STATE);
            // Once a paint, after the first image item: the notice covers the Rapid Setup
            // buttons, which are hidden from then on.
            if (panel == 0 && nt4 && !nt4NoticeDrawn) {
                DrawNt4Notice(surface);
                nt4NoticeDrawn = true;
            }
        } else if (panel == 1) {
            if (ToolRowVisible(item.top)) {
                DrawToolRow(surface, item, item.state == 1 ? COLOR_YELLOW : COLOR_WHITE);
            }
        } else if (panel == 0) {
            DrawDriverRow(surface, r);
        }
    }
}

bool CPainter::IsUnsupportedUsb2(const PanelItem& row) const
{
    FixedText<PANEL_COMMAND_SIZE> probePath = row.command;
    UpperCase(&probePath);
    return isUnsupportedUsb2Row(state.hw.osCode, dialog.xpServicePack, probePath.c_str());
}

void CPainter::DrawDriverRowLook(DrawingSurface& surface, int k, ColorRef color)
{
    if (k < 0 || k >= PANEL_ITEM_CAPACITY) return;
    const PanelItem& row = state.panelTable.panels[0].items[k];
    const bool nt4 = state.hw.osCode == OS_NT4;
    surface.SetTextColor(color);
    surface.SetBkColor(COLOR_BLACK);
    surface.SelectUiFont();
    if (IsUnsupportedUsb2(row)) {
        if (!nt4) surface.TextOut(row.left, row.top, row.caption.c_str());
    } else {
        if (!nt4) {
            SetBlankText(state.ruleText.c_str());
            surface.TextOut(row.left, row.top, state.blankText.c_str());
            surface.TextOut(row.left, row.top, state.ruleText.c_str());
        }
        surface.TextOut(row.left, row.top, row.caption.c_str());
        // The status column is in the context's own font, as the paint draws it.
        surface.SelectPreviousFont();
        if (!nt4) {
            SetBlankText(row.notInstalledText.c_str());
            surface.TextOut(DRIVER_STATUS_X, row.top, state.blankText.c_str());
            surface.TextOut(DRIVER_STATUS_X, row.top,
                            row.state == 1 ? row.installedText.c_str()
                                           : row.notInstalledText.c_str());
        }
        return;
    }
    surface.SelectPreviousFont();
}

void CPainter::DrawToolCaption(DrawingSurface& surface, const PanelItem& item, ColorRef color)
{
    surface.SetTextColor(color);
    surface.SetBkColor(COLOR_BLACK);
    surface.SelectUiFont();
    surface.TextOut(item.left, item.top, item.caption.c_str());
    surface.SelectPreviousFont();
}

void CPainter::DrawToolRowPressed(DrawingSurface& surface, const PanelItem& item)
{
    surface.SetTextColor(COLOR_YELLOW);
    surface.SetBkColor(COLOR_BLACK);
    surface.SelectUiFont();
    surface.TextOut(item.left, item.top, TOOL_ROW_PRESS_BLANKS);
    surface.TextOut(item.left, item.top, item.caption.c_str());
    surface.TextOut(TOOL_ROW_PRESS_MARK_X, item.top, "   ");
    surface.SelectPreviousFont();
}

void CPainter::DrawDriverRow(DrawingSurface& surface, int k)
{
    if (k < 0 || k >= PANEL_ITEM_CAPACITY) return;
    CVersionRecord(registry, window, state.panelTable, dialog).RefreshInstalledState(k);
    PanelItem& row = state.panelTable.panels[0].items[k];
    const bool nt4 = state.hw.osCode == OS_NT4;
    surface.SetTextColor(row.state == 1 ? COLOR_YELLOW : COLOR_WHITE);
    surface.SetBkColor(COLOR_BLACK);

    FixedText<PANEL_COMMAND_SIZE> probePath = row.command;
    UpperCase(&probePath);
    if (isUnsupportedUsb2Row(state.hw.osCode, dialog.xpServicePack, probePath.c_str())) {
        // A USB 2.0 driver XP without a service pack cannot take: its caption only.
        surface.SelectUiFont();
        if (!nt4) surface.TextOut(row.left, row.top, row.caption.c_str());
    } else {
        SetBlankText(state.ruleText.c_str());
        if (row.state == 1) surface.TextOut(row.left, row.top, state.blankText.c_str());
        surface.SelectUiFont();
        // The caption's own background hides the start of the leader: caption, dashes, '>'.
        if (!nt4) surface.TextOut(row.left, row.top, state.ruleText.c_str());
        surface.TextOut(row.left, row.top, row.caption.c_str());
        surface.SelectPreviousFont();
        SetBlankText(row.notInstalledText.c_str());
        surface.TextOut(DRIVER_STATUS_X, row.top, state.blankText.c_str());
        if (!nt4) {
            surface.TextOut(DRIVER_STATUS_X, row.top,
                            row.state == 1 ? row.installedText.c_str()
                                           : row.notInstalledText.c_str());
        }
    }
    if (strstr(probePath.c_str(), REALTEK_AUDIO_FOLDER)) DrawAudioNote(surface, row);
}

void CPainter::DrawAudioNote(DrawingSurface& surface, const PanelItem& row)
{
    dialog.needsDirectX81 = 0;
    CheckDirectXVersion();
    if (dialog.needsDirectX81 != 1) return;
    surface.SetTextColor(COLOR_RED);
    surface.SelectUiFont();
    surface.SetBkMode(SURFACE_TRANSPARENT);
    surface.TextOut(row.left, AddClamped(row.top, AUDIO_NOTE_OFFSET_Y), AUDIO_NOTE_TEXT);
    surface.SelectPreviousFont();
    surface.SetBkMode(SURFACE_OPAQUE);
}

void CPainter::SetBlankText(const char* text)
{
    size_t length = strlen(text);
    FixedText<BLANK_TEXT_SIZE>& blank = state.blankText;
    blank.Clear();
    for (size_t i = 0; i < length && i < BLANK_TEXT_SIZE - 1; ++i) blank.AppendChar(' ');
}

void CPainter::DrawAnimationFrame(int x, int y)
{
    CClientSurface surface(window);
    if (!surface.Get()) return;
    BitmapHandle image = window.LoadBitmapResource(BITMAP_POINTER);
    BitmapHandle mask = window.LoadBitmapResource(BITMAP_POINTER_MASK);
    surface.Get()->DrawMaskedBitmap(image, mask, x, y);
    if (image) window.DeleteBitmap(image);
    if (mask) window.DeleteBitmap(mask);
}

void CPainter::DrawReturnImage(int y)
{
    CClientSurface surface(window);
    if (!surface.Get()) return;
    BitmapHandle image = state.panelTable.panels[0].returnImage;
    surface.Get()->DrawMaskedBitmap(image, image, RETURN_IMAGE_X, y);
}

void CPainter::CheckDirectXVersion()
{
    RegKey key = 0;
    if (!registry.OpenKey(REG_HKEY_LOCAL_MACHINE, DIRECTX_KEY, &key)) return;
    char version[DIRECTX_VERSION_SIZE + 1] = {};
    uint32_t type = 0;
    uint32_t size = DIRECTX_VERSION_SIZE;
    if (registry.QueryValue(key, DIRECTX_VERSION_VALUE, &type,
                            reinterpret_cast<uint8_t*>(version), &size)) {
        if (size > DIRECTX_VERSION_SIZE) size = DIRECTX_VERSION_SIZE;
        version[size] = '\0';
        dialog.needsDirectX81 = CompareVersionText(version, DIRECTX_MINIMUM_VERSION) < 0 ? 1 : 0;
    }
    registry.CloseKey(key);
}
