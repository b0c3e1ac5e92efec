// The window service on the real dialog: bound to its HWND once the dialog exists.
#pragma once

#include <vector>

#include "platform/window.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_handles.h"

const int WIN32_ICON_MAIN = 137;
// Client surfaces that may be out at the same time (GetClientSurface before ReleaseClientSurface).
const int WIN32_CLIENT_SURFACES = 4;

// The drawing surface on a device context the window service took (paint cycle or GetDC). It
// does not own the context; it gives the context its font back when it is detached.
class CWin32DrawingSurface : public DrawingSurface {
public:
    CWin32DrawingSurface();

    void Attach(HDC context, HWND dialog, HFONT uiFont, HICON icon);
    void Detach();
    // The context drawn on; null while detached (then every operation draws nothing).
    HDC Handle() const { return dc; }

    void DrawMaskedBitmap(BitmapHandle image, BitmapHandle mask, int x, int y) override;
    void SetTextColor(ColorRef color) override;
    void SetBkColor(ColorRef color) override;
    void SetBkMode(int mode) override;
    void SelectUiFont() override;
    void SelectPreviousFont() override;
    void TextOut(int x, int y, const char* text) override;
    void DrawIcon(int x, int y) override;

private:
    HDC dc;
    HWND dialog;
    HFONT uiFont;
    HICON icon;
    HGDIOBJ originalFont;  // the context's font when it was attached
    HGDIOBJ previousFont;  // what the last SelectUiFont replaced
};

// Client device contexts of one window handed out as drawing surfaces (GetDC / ReleaseDC), a
// few at a time; when none can be had the idle surface, which draws nothing, stands in.
class CWin32ClientSurfaces {
public:
    DrawingSurface* Acquire(HWND window, HFONT uiFont, HICON icon);
    void Release(DrawingSurface* surface);
    // Every context goes back, before its window goes or a font selected into it is deleted.
    void ReleaseAll();

private:
    CScopedWindowDC dcs[WIN32_CLIENT_SURFACES];  // a free slot holds no context
    CWin32DrawingSurface surfaces[WIN32_CLIENT_SURFACES];
    CWin32DrawingSurface idle;
};

class CWin32Window : public Window {
public:
    explicit CWin32Window(HINSTANCE instance);
    ~CWin32Window() override;
    CWin32Window(const CWin32Window&) = delete;
    CWin32Window& operator=(const CWin32Window&) = delete;

    // The dialog layer binds the window to the dialog before its initialisation handler runs.
    void Bind(HWND dialog);
    HWND Handle() const { return hwnd; }
    // The panels' text font; null until CreateUiFont succeeded.
    HFONT UiFont() const { return uiFont.Get(); }
    // The dialog's icon (program resource 137); null when the program has none.
    HICON Icon() const { return icon; }
    // The pre-translate step of the modal loop: a mouse message for the dialog or one of its
    // children is relayed to one tooltip control of this window, which shows its tips from it.
    void RelayToToolTip(ToolTipHandle toolTip, const MSG& message);
    // Paint cycles begun so far, so the dialog layer can tell a handler that painted.
    uint32_t PaintCycles() const { return paintCycles; }

    int MessageBox(bool ownedByDialog, const char* text, const char* caption,
                   uint32_t type) override;
    void SetTitle(const char* title) override;
    uint32_t GetTitle(char* buffer, uint32_t size) override;
    void SetIcon() override;
    void InitCommonControls() override;
    ToolTipHandle CreateToolTip() override;
    bool CreateUiFont(const CFontRequest& request) override;
    void GetClientTextMetrics(CTextMetrics* metrics) override;
    void SetTimer(uint32_t id, uint32_t milliseconds) override;
    void KillTimer(uint32_t id) override;
    void Invalidate() override;
    void PostClose() override;

    void GetClientRect(CRect* rect) override;
    bool IsMinimized() override;
    void GetIconSize(int* width, int* height) override;

    DrawingSurface* BeginPaint() override;
    void EndPaint(DrawingSurface* surface) override;
    DrawingSurface* GetClientSurface() override;
    void ReleaseClientSurface(DrawingSurface* surface) override;

    BitmapHandle LoadBitmapFile(const char* path) override;
    BitmapHandle LoadBitmapResource(uint32_t id) override;
    void DeleteBitmap(BitmapHandle bitmap) override;
    bool GetBitmapSize(BitmapHandle bitmap, int* width, int* height) override;

    bool CreateCheckBox(uint32_t id, const CRect& rect, const char* caption) override;
    bool CreateScrollBar(uint32_t id, const CRect& rect) override;
    void ShowControl(uint32_t id, bool show) override;
    bool IsControlVisible(uint32_t id) override;
    void MoveControl(uint32_t id, const CRect& rect) override;
    void EnableControl(uint32_t id, bool enable) override;
    bool IsControlEnabled(uint32_t id) override;
    void SetCheck(uint32_t id, int check) override;
    int GetCheck(uint32_t id) override;
    void SetControlText(uint32_t id, const char* text) override;
    void SetScrollRange(uint32_t id, int minimum, int maximum) override;
    void SetScrollPage(uint32_t id, int page) override;
    void SetScrollPos(uint32_t id, int position) override;
    int GetScrollPos(uint32_t id) override;

    void AddToolTipTool(ToolTipHandle toolTip, uint32_t toolId, const CRect& rect,
                        const char* text) override;
    void ActivateToolTip(ToolTipHandle toolTip, bool active) override;

    void SetHandCursor() override;
    void SetCapture() override;
    void ReleaseCapture() override;

private:
    HWND Control(uint32_t id) const;
    HWND CreateChild(const char* className, const char* text, DWORD style, uint32_t id,
                     const CRect& rect);
    HWND OwnToolTip(ToolTipHandle toolTip) const;
    void EndSurfaces();

    HINSTANCE instance;
    HWND hwnd;
    HICON icon;  // a shared resource icon: never destroyed
    CScopedGdiObject<HFONT> uiFont;
    std::vector<HWND> toolTips;  // destroyed with the dialog, their owner
    // The longest text given to any tool, so a tool's text can be read back whole.
    size_t longestToolText;

    CScopedPaint paint;
    uint32_t paintCycles;
    CWin32DrawingSurface paintSurface;
    CWin32ClientSurfaces clientSurfaces;
    // Handed out when no paint context can be had (no dialog, a second paint cycle): draws
    // nothing.
    CWin32DrawingSurface idleSurface;
};
