// The window service: what the main dialog does to itself and to its client area.
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

typedef uintptr_t ToolTipHandle;

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
};
