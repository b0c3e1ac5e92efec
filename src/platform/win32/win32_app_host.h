// The small dialog layer that stands in for the dialog framework: the shared instance counter,
// common controls, dialog colours, and modal dialogs run from in-memory templates by a message
// loop of our own.
#pragma once

#include "platform/app_host.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_window.h"

class CWin32AppHost;

// One running dialog: its window, the handler that receives its messages, and its end. It is
// the handler's site: its own timers, client surfaces and end.
class CWin32Dialog : public DialogSite {
public:
    CWin32Dialog(CWin32AppHost& host, CDialogHandler* handler, HWND owner, bool bindsWindow);
    CWin32Dialog(const CWin32Dialog&) = delete;
    CWin32Dialog& operator=(const CWin32Dialog&) = delete;

    // Creates the dialog modeless from the template and runs the modal loop until it ends.
    // -1 when the dialog cannot be created.
    int Run(HINSTANCE instance, const void* dialogTemplate);
    // Ends the modal loop with result, hiding the dialog at once as EndDialog does.
    void End(int result);

    void SetTimer(uint32_t id, uint32_t milliseconds) override;
    void KillTimer(uint32_t id) override;
    DrawingSurface* GetClientSurface() override;
    void ReleaseClientSurface(DrawingSurface* surface) override;
    void EndDialog(int result) override;

private:
    typedef INT_PTR (CWin32Dialog::*MessageHandler)(UINT message, WPARAM wParam, LPARAM lParam);
    struct CMessageEntry {
        UINT message;
        MessageHandler handler;
    };
    // The messages this layer dispatches; everything else gets the dialog manager's default.
    static const CMessageEntry MESSAGE_MAP[];

    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool PreTranslate(MSG& message);

    INT_PTR OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnCommand(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnPaint(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnClose(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnVScroll(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnTimer(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnQueryDragIcon(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNcDestroy(UINT message, WPARAM wParam, LPARAM lParam);

    CWin32AppHost& host;
    CDialogHandler* handler;
    HWND owner;
    bool bindsWindow;
    HWND hwnd;
    bool ended;
    int result;
    CWin32ClientSurfaces surfaces;
};

class CWin32AppHost : public AppHost {
public:
    CWin32AppHost(HINSTANCE instance, CWin32Window& window);

    int32_t IncrementInstanceCounter() override;
    void InitCommonControls() override;
    void EnableControlContainer() override;
    void Enable3dControls() override;
    void SetDialogColors(uint32_t background, uint32_t text) override;
    void GetScreenPixelsPerInch(int* x, int* y) override;
    int RunModalDialog(uint32_t templateId, const char* fontFace, int pointSize,
                       CDialogHandler* handler) override;

    CWin32Window& WindowService() { return window; }
    // The brush of the dialog colours, with the text and background set on dc; null while
    // no colours were set (the dialog manager's defaults apply).
    HBRUSH ApplyDialogColors(HDC dc);

private:
    HINSTANCE instance;
    CWin32Window& window;
    bool colorsSet;
    COLORREF backgroundColor;
    COLORREF textColor;
    CScopedGdiObject<HBRUSH> backgroundBrush;
};
