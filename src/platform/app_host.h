// What the application object needs from the dialog framework: the shared instance counter,
// common controls, the framework's switches and dialog colours, and running a dialog from its
// template with a given font.
#pragma once

#include <cstdint>

#include "platform/window.h"

// Command identifiers of the dialog framework: the Enter and Escape keys.
const uint32_t DIALOG_COMMAND_OK = 1;
const uint32_t DIALOG_COMMAND_CANCEL = 2;

// WM_CTLCOLOR*: the kind of window asking for its colours.
enum CControlKind {
    CONTROL_KIND_MSGBOX,
    CONTROL_KIND_EDIT,
    CONTROL_KIND_LISTBOX,
    CONTROL_KIND_BUTTON,
    CONTROL_KIND_DIALOG,
    CONTROL_KIND_SCROLLBAR,
    CONTROL_KIND_STATIC,
};

// The colours a control colour handler chose; unset ones keep the framework's default.
struct CControlColors {
    bool textSet;
    ColorRef text;
    bool backgroundSet;
    ColorRef background;
};
// What a dialog other than the main one does to itself: its own timers, drawing on its own
// client area, and ending its modal run. (The main dialog has the Window service for this.)
class DialogSite {
public:
    virtual ~DialogSite() {}
    virtual void SetTimer(uint32_t id, uint32_t milliseconds) = 0;
    virtual void KillTimer(uint32_t id) = 0;
    virtual DrawingSurface* GetClientSurface() = 0;
    virtual void ReleaseClientSurface(DrawingSurface* surface) = 0;
    // EndDialog: the modal run returns result once the current message is handled.
    virtual void EndDialog(int result) = 0;
};

// The message handlers of a dialog, called by the framework's dispatch.
class CDialogHandler {
public:
    virtual ~CDialogHandler() {}

    // Set by the framework before WM_INITDIALOG, valid until the dialog ends.
    DialogSite* site = nullptr;

    // WM_INITDIALOG; the result is returned to the framework (true: focus left to it).
    virtual bool OnInitDialog() = 0;
    // WM_PAINT: the handler draws through Window::BeginPaint.
    virtual void OnPaint() {}
    // WM_CLOSE: the handler's own steps; the framework's default close (ending the dialog)
    // follows unless the program has ended.
    virtual void OnClose() {}
    // Mouse messages, in client coordinates.
    virtual void OnMouseMove(int /*x*/, int /*y*/) {}
    virtual void OnLButtonDown(int /*x*/, int /*y*/) {}
    virtual void OnLButtonUp(int /*x*/, int /*y*/) {}
    // WM_COMMAND from a control or a key. True when the dialog's own handling replaces the
    // framework's (for OK and Cancel, which would otherwise end the dialog).
    virtual bool OnCommand(uint32_t /*id*/) { return false; }
    // WM_VSCROLL from the dialog's scroll bar: SB_LINEUP (0) ... SB_ENDSCROLL (8), and the thumb
    // position of SB_THUMBPOSITION and SB_THUMBTRACK.
    virtual void OnVScroll(int /*code*/, int /*position*/) {}
    virtual void OnTimer(uint32_t /*id*/) {}
    // WM_CTLCOLOR*: colours for the asking window, which may be the dialog itself.
    virtual void OnCtlColor(CControlKind /*kind*/, bool /*isDialog*/, CControlColors* /*colors*/) {}
    // WM_QUERYDRAGICON: true to show the dialog's own icon while it is dragged minimised.
    virtual bool OnQueryDragIcon() { return false; }
    // The pre-translate step: the tooltip control the message is relayed to (0: none).
    virtual ToolTipHandle ToolTipForRelay() { return 0; }
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
