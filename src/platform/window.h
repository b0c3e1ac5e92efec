// The window service: what the main dialog does to itself, to its child controls and to its
// client area.
#pragma once

#include <cstdint>

// MessageBoxA types and results used by the program.
const uint32_t MSGBOX_OK = 0x0;
const uint32_t MSGBOX_YESNO = 0x4;
const int MSGBOX_RESULT_OK = 1;
const int MSGBOX_RESULT_YES = 6;
const int MSGBOX_RESULT_NO = 7;

// Text metrics of a device context (TEXTMETRICA, the fields the program reads).
struct CTextMetrics {
    int height;
    int externalLeading;
    int aveCharWidth;
};

// CreateFontA arguments the program varies; the rest are fixed by the program.
struct CFontRequest {
    const char* face;
    int height;
};

// A rectangle in client pixels, as RECT.
struct CRect {
    int left;
    int top;
    int right;
    int bottom;
};

typedef uintptr_t ToolTipHandle;
// A loaded bitmap; 0 is "no image", which draws nothing.
typedef uintptr_t BitmapHandle;
// A colour as COLORREF: 0x00BBGGRR.
typedef uint32_t ColorRef;

inline ColorRef MakeColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) |
           (static_cast<ColorRef>(blue) << 16);
}

// SetBkMode values.
const int SURFACE_TRANSPARENT = 1;
const int SURFACE_OPAQUE = 2;

// A device context on the dialog's client area: from the paint cycle or taken for one direct
// drawing. A new one starts with black text on white, opaque, and the context's default font
// (the system font).
class DrawingSurface {
public:
    virtual ~DrawingSurface() {}

    // The flicker-free transparent blit: the target area is copied into a memory context,
    // the mask combined into it with SRCAND, the image with SRCPAINT, and the result copied
    // back with SRCCOPY. The image's own size is used. Passing the image as its own mask
    // draws it opaque. A null image draws nothing.
    virtual void DrawMaskedBitmap(BitmapHandle image, BitmapHandle mask, int x, int y) = 0;
    virtual void SetTextColor(ColorRef color) = 0;
    virtual void SetBkColor(ColorRef color) = 0;
    virtual void SetBkMode(int mode) = 0;
    // Selects the panels' font (uiFont); SelectPreviousFont puts back what was selected
    // before the last SelectUiFont.
    virtual void SelectUiFont() = 0;
    virtual void SelectPreviousFont() = 0;
    // TextOutA of the whole text at (x, y).
    virtual void TextOut(int x, int y, const char* text) = 0;
    // WM_ICONERASEBKGND, then DrawIcon of the dialog's icon at (x, y).
    virtual void DrawIcon(int x, int y) = 0;
};

class Window {
public:
    virtual ~Window() {}

    // MessageBoxA, owned by the dialog or with no owner.
    virtual int MessageBox(bool ownedByDialog, const char* text, const char* caption,
                           uint32_t type) = 0;
    virtual void SetTitle(const char* title) = 0;
    virtual uint32_t GetTitle(char* buffer, uint32_t size) = 0;
    // WM_SETICON, large and small, with the icon the dialog loaded in its constructor.
    virtual void SetIcon() = 0;
    // InitCommonControls.
    virtual void InitCommonControls() = 0;
    // A tooltip control owned by the dialog, default style; 0 when it cannot be created.
    virtual ToolTipHandle CreateToolTip() = 0;
    // Creates the panels' text font (uiFont); false when it cannot be created.
    virtual bool CreateUiFont(const CFontRequest& request) = 0;
    // GetTextMetricsA of a client device context as it comes (no font selected into it).
    virtual void GetClientTextMetrics(CTextMetrics* metrics) = 0;
    virtual void SetTimer(uint32_t id, uint32_t milliseconds) = 0;
    virtual void KillTimer(uint32_t id) = 0;
    virtual void Invalidate() = 0;
    virtual void PostClose() = 0;

    // The client area and the minimised state.
    virtual void GetClientRect(CRect* rect) = 0;
    virtual bool IsMinimized() = 0;
    // SM_CXICON and SM_CYICON.
    virtual void GetIconSize(int* width, int* height) = 0;

    // The paint cycle (BeginPaint / EndPaint); one at a time.
    virtual DrawingSurface* BeginPaint() = 0;
    virtual void EndPaint(DrawingSurface* surface) = 0;
    // A client device context for drawing outside the paint cycle (GetDC / ReleaseDC).
    virtual DrawingSurface* GetClientSurface() = 0;
    virtual void ReleaseClientSurface(DrawingSurface* surface) = 0;

    // LoadImageA of a bitmap file (LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION);
    // 0 when the file is missing or not a bitmap the system loads.
    virtual BitmapHandle LoadBitmapFile(const char* path) = 0;
    // A bitmap resource of the program; 0 when it cannot be loaded.
    virtual BitmapHandle LoadBitmapResource(uint32_t id) = 0;
    virtual void DeleteBitmap(BitmapHandle bitmap) = 0;
    // Width and height of a loaded bitmap (GetObjectA); false for no image.
    virtual bool GetBitmapSize(BitmapHandle bitmap, int* width, int* height) = 0;

    // Child controls, addressed by their identifier. A check box is a visible child of the
    // non-automatic kind (its mark changes only when the program sets it); the scroll bar is
    // a visible vertical bar aligned to the right edge of the rectangle, with the system's
    // width. False when the control cannot be created.
    virtual bool CreateCheckBox(uint32_t id, const CRect& rect, const char* caption) = 0;
    virtual bool CreateScrollBar(uint32_t id, const CRect& rect) = 0;
    virtual void ShowControl(uint32_t id, bool show) = 0;
    virtual bool IsControlVisible(uint32_t id) = 0;
    virtual void MoveControl(uint32_t id, const CRect& rect) = 0;
    virtual void EnableControl(uint32_t id, bool enable) = 0;
    // IsWindowEnabled of a control; false for one that does not exist.
    virtual bool IsControlEnabled(uint32_t id) = 0;
    // BM_SETCHECK / BM_GETCHECK.
    virtual void SetCheck(uint32_t id, int check) = 0;
    virtual int GetCheck(uint32_t id) = 0;
    // SetWindowTextA of a control (the edit boxes).
    virtual void SetControlText(uint32_t id, const char* text) = 0;
    // The scroll bar's range, page and position (redrawn).
    virtual void SetScrollRange(uint32_t id, int minimum, int maximum) = 0;
    virtual void SetScrollPage(uint32_t id, int page) = 0;
    virtual void SetScrollPos(uint32_t id, int position) = 0;
    virtual int GetScrollPos(uint32_t id) = 0;

    // TTM_ADDTOOL: a tool owned by the dialog over rect, showing text. A tool added again
    // with the same identifier replaces the earlier one (its rectangle and text move).
    virtual void AddToolTipTool(ToolTipHandle toolTip, uint32_t toolId, const CRect& rect,
                                const char* text) = 0;
    // TTM_ACTIVATE.
    virtual void ActivateToolTip(ToolTipHandle toolTip, bool active) = 0;

    // The system's hand cursor (IDC_HAND) set with SetCursor; where the system has none
    // (Windows 95, NT 4) the cursor is left as it is.
    virtual void SetHandCursor() = 0;
    // SetCapture for the dialog / ReleaseCapture.
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
};
