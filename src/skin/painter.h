// Painting the main dialog: the paint handler and the drawing operations every part of the
// program shares (masked images, driver and utility rows, the erasing blanks, the animation
// frame, the return marker and the DirectX test behind the audio note).
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "skin/panel_table.h"

class Registry;
struct CProgramState;
struct CDialogState;

// Resource bitmaps.
const uint32_t BITMAP_PROGRESS = 156;
const uint32_t BITMAP_PROGRESS_DONE = 157;
const uint32_t BITMAP_HEADER_STRIP = 158;
const uint32_t BITMAP_NT4_NOTICE = 161;
const uint32_t BITMAP_POINTER = 163;
const uint32_t BITMAP_POINTER_MASK = 164;

const ColorRef COLOR_WHITE = 0x00FFFFFF;
const ColorRef COLOR_YELLOW = 0x0000FFFF;
const ColorRef COLOR_NAVY = 0x00800000;
const ColorRef COLOR_RED = 0x000000FF;
const ColorRef COLOR_OLIVE = 0x00008080;
const ColorRef COLOR_BLACK = 0x00000000;

// Utility rows are drawn only while their top lies in this window of the panel.
const int TOOL_ROWS_TOP = 85;
const int TOOL_ROWS_BOTTOM = 393;
// Where the driver rows' status text starts.
const int DRIVER_STATUS_X = 540;
const int RETURN_IMAGE_X = 200;
// The oldest DirectX that has what the Realtek audio driver's jack sensing needs.
extern const char DIRECTX_MINIMUM_VERSION[];
extern const char AUDIO_NOTE_TEXT[];
// A pressed utility row is first cleared with these blanks; three more go at this x.
extern const char TOOL_ROW_PRESS_BLANKS[];
const int TOOL_ROW_PRESS_MARK_X = 532;

// How an image item looks: by its state (normal, or selected when state is 1), under the
// mouse, or pressed.
enum CItemLook { LOOK_BY_STATE, LOOK_OVER, LOOK_DOWN };

// A client device context taken for one direct drawing and given back at the end of the scope.
class CClientSurface {
public:
    explicit CClientSurface(Window& window);
    ~CClientSurface();
    CClientSurface(const CClientSurface&) = delete;
    CClientSurface& operator=(const CClientSurface&) = delete;
    DrawingSurface* Get() const { return surface; }

private:
    Window& window;
    DrawingSurface* surface;
};

class CPainter {
public:
    CPainter(Window& window, Registry& registry, CProgramState& state);

    // WM_PAINT.
    void OnPaint();

    // One image item of a panel in a look.
    void DrawImageItem(DrawingSurface& surface, const PanelItem& item, CItemLook look);
    // Panel0's driver row at item k, with its installed state checked again first.
    void DrawDriverRow(DrawingSurface& surface, int k);
    // A utility row's caption in a colour, erasing what a longer text left.
    void DrawToolRow(DrawingSurface& surface, const PanelItem& item, ColorRef color);
    // Panel0's driver row at item k as the mouse shows it, in a colour: blanks and the leader,
    // the caption over it, blanks and the status text; the caption alone for a USB 2.0 row
    // that XP without a service pack cannot take; no leader or status on NT 4.
    void DrawDriverRowLook(DrawingSurface& surface, int k, ColorRef color);
    // A utility row's caption alone, in a colour (under the mouse).
    void DrawToolCaption(DrawingSurface& surface, const PanelItem& item, ColorRef color);
    // A utility row pressed: ten blanks and the caption in yellow, three blanks at x 532.
    void DrawToolRowPressed(DrawingSurface& surface, const PanelItem& item);
    // The items of panel as the paint draws them, on any surface.
    void DrawItems(DrawingSurface& surface, int panel);
    // Whether row's command is a USB 2.0 driver that XP without a service pack cannot take.
    bool IsUnsupportedUsb2(const PanelItem& row) const;

    // blankText becomes as many spaces as text has characters.
    void SetBlankText(const char* text);
    // Resource bitmap 163 through its mask 164 at (x, y), on a client context of its own.
    void DrawAnimationFrame(int x, int y);
    // Panel0's return marker, opaque at (200, y), on a client context of its own.
    void DrawReturnImage(int y);
    // needsDirectX81 from the registry's DirectX version; unchanged when there is none.
    void CheckDirectXVersion();

private:
    void DrawBackground(DrawingSurface& surface, int panel);
    void DrawHeader(DrawingSurface& surface, int panel);
    void DrawHiddenToolRows(DrawingSurface& surface);
    void DrawNt4Notice(DrawingSurface& surface);
    void DrawAudioNote(DrawingSurface& surface, const PanelItem& row);
    void DrawMinimizedIcon(DrawingSurface& surface);
    void DrawResourceOpaque(DrawingSurface& surface, uint32_t id, int x, int y);

    Window& window;
    Registry& registry;
    CProgramState& state;
    CDialogState& dialog;
};

// Whether a utility row at this top is inside the panel's visible window.
inline bool ToolRowVisible(int top)
{
    return top >= TOOL_ROWS_TOP && top <= TOOL_ROWS_BOTTOM;
}
