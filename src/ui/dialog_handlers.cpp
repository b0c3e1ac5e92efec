// The main dialog's small handlers: the colours of its controls, and its icon while it is
// dragged minimised.
#include "ui/dialog_handlers.h"

namespace {

const ColorRef CONTROL_TEXT = 0x00000000;
const ColorRef CONTROL_BACKGROUND = 0x00FFFFFF;

}  // namespace

void MainDialogCtlColor(CControlKind kind, bool isDialog, CControlColors* colors)
{
    if (!colors) return;
    if (isDialog) {
        colors->backgroundSet = true;
        colors->background = CONTROL_BACKGROUND;
    }
    switch (kind) {
    case CONTROL_KIND_EDIT:
    case CONTROL_KIND_LISTBOX:
    case CONTROL_KIND_BUTTON:
    case CONTROL_KIND_DIALOG:
    case CONTROL_KIND_SCROLLBAR:
    case CONTROL_KIND_STATIC:
        colors->textSet = true;
        colors->text = CONTROL_TEXT;
        colors->backgroundSet = true;
        colors->background = CONTROL_BACKGROUND;
        break;
    default:
        break;
    }
}
