// The services the portable core calls, bundled so the program object can hand them around.
#pragma once

#include "platform/files.h"
#include "platform/hardware.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/window.h"

struct CPlatform {
    Registry& registry;
    Files& files;
    Processes& processes;
    System& system;
    Hardware& hardware;
    Window& window;
};
