// The main dialog's small handlers: the colours of its controls, and its icon while it is
// dragged minimised.
#pragma once

#include "platform/app_host.h"

// Black text on white for the dialog's controls and the dialog itself (the readme and the
// report read that way).
void MainDialogCtlColor(CControlKind kind, bool isDialog, CControlColors* colors);
