// The message loop of a simulated dialog, as tova-sim and the tests supply it.
#pragma once

#include <cstdint>

#include "platform/app_host.h"

// A dialog shown over the main one, as its loop sees it.
class CSimNestedDialog {
public:
    virtual ~CSimNestedDialog() {}
    virtual bool Ended() const = 0;
    // EndDialog: the modal run returns result once the current message is handled.
    virtual void EndDialog(int result) = 0;
};

class CSimModalLoop {
public:
    virtual ~CSimModalLoop() {}
    // The dialog is about to be initialised (its initialisation may already show dialogs).
    virtual void DialogStarting(uint32_t /*templateId*/, CDialogHandler& /*handler*/) {}
    // Runs after the dialog's initialisation; the dialog ends when this returns.
    virtual void RunDialog(uint32_t templateId, CDialogHandler& handler) = 0;
    // A dialog shown over the main one: returns when dialog says it ended (or the input ran
    // out, and the dialog is left alone).
    virtual void RunNestedDialog(uint32_t templateId, CDialogHandler& handler,
                                 CSimNestedDialog& dialog) = 0;
};

// The dialogs share one clock: true when the clock's timer clockId belongs to the dialog shown
// over the main one, with *dialogTimerId the identifier that dialog set; false when it is the
// main dialog's own (and *dialogTimerId is clockId).
bool SimNestedDialogTimer(uint32_t clockId, uint32_t* dialogTimerId);
