// The window service on the real dialog: bound to its HWND once the dialog exists.
#pragma once

#include <vector>

#include "platform/window.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_handles.h"

const int WIN32_ICON_MAIN = 137;

class CWin32Window : public Window {
public:
    explicit CWin32Window(HINSTANCE instance);

    // The dialog layer binds the window to the dialog before its initialisation handler runs.
    void Bind(HWND dialog);
    HWND Handle() const { return hwnd; }
    // The panels' text font; null until CreateUiFont succeeded.
    HFONT UiFont() const { return uiFont.Get(); }
    // The pre-translate step of the modal loop: mouse messages for the dialog and its
    // children are relayed to every tooltip control, which shows its tips from them.
    void RelayToToolTips(const MSG& message);

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

private:
    HINSTANCE instance;
    HWND hwnd;
    HICON icon;  // a shared resource icon: never destroyed
    CScopedGdiObject<HFONT> uiFont;
    std::vector<HWND> toolTips;  // destroyed with the dialog, their owner
};
