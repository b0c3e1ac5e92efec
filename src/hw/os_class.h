// Operating-system classification: the version record decides osCode and so the port path.
#pragma once

#include <cstdint>

#include "platform/system.h"
#include "platform/window.h"

// Writes *osCode and *xpServicePack from GetVersionExA (extended record first, then the plain
// one). 1 on success; 0 after "Check OS type Error !" (osCode not written) or
// "Unknown OS type !" (osCode left 0).
int ClassifyOs(System& system, Window& window, uint8_t* osCode, uint8_t* xpServicePack);
