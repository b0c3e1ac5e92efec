// The BIOS identification text from the ROM image and the processor vendor string.
#pragma once

#include <cstdint>

#include "hw/port_access.h"

const int BIOS_TEXT_SIZE = 255;
const int CPU_VENDOR_SIZE = 13;

// Fills buffer (255 bytes) with at most 254 characters; empty outside osCode 10-16.
void ReadBiosText(CPortAccess& ports, uint8_t osCode, char* buffer);
// Fills cpuVendor (13 bytes); all zero without identification support. Returns 1.
int ReadCpuVendor(Hardware& hardware, char* cpuVendor);
