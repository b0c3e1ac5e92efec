// What the application object needs from the dialog framework: the shared instance counter,
// common controls, the framework's switches and dialog colours, and running a dialog from its
// template with a given font.
#pragma once

#include <cstdint>

// The message handlers of a dialog, called by the framework's dispatch.
class CDialogHandler {
public:
    virtual ~CDialogHandler() {}
    // WM_INITDIALOG; the result is returned to the framework (true: focus left to it).
    virtual bool OnInitDialog() = 0;
    // WM_PAINT: the handler draws through Window::BeginPaint.
    virtual void OnPaint() {}
    // WM_CLOSE: the handler's own steps; the framework's default close (ending the dialog)
    // follows unless the program has ended.
    virtual void OnClose() {}
};

class AppHost {
public:
    virtual ~AppHost() {}

    // InterlockedIncrement of the counter in the program file's shared section (-1 in the
    // file); returns the new value.
    virtual int32_t IncrementInstanceCounter() = 0;
    virtual void InitCommonControls() = 0;
    // The framework's switches for ActiveX hosting and 3-D controls.
    virtual void EnableControlContainer() = 0;
    virtual void Enable3dControls() = 0;
    // Background and text colour of the framework's dialogs, as 0x00BBGGRR.
    virtual void SetDialogColors(uint32_t background, uint32_t text) = 0;
    // LOGPIXELSX and LOGPIXELSY of an information context on "DISPLAY".
    virtual void GetScreenPixelsPerInch(int* x, int* y) = 0;
    // Loads dialog template templateId into an editable copy, sets its font, and runs it
    // modally with handler receiving its messages. -1 when the template cannot be loaded.
    virtual int RunModalDialog(uint32_t templateId, const char* fontFace, int pointSize,
                               CDialogHandler* handler) = 0;
};
