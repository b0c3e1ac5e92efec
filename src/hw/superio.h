// Super-I/O probes behind the index/data pairs 0x2E/0x2F and 0x4E/0x4F.
#pragma once

#include <cstdint>

#include "hw/hw_state.h"
#include "hw/port_access.h"

// Pseudo ids stored in foundId, as these devices are not PCI functions.
const uint32_t SUPERIO_ID_WINBOND_LDN0 = 0x11111111;
const uint32_t SUPERIO_ID_ITE87 = 0x11111112;
const uint32_t SUPERIO_ID_WINBOND_OTHER = 0x11111113;

// Sets *code (0 none, 1, 2, 3); reports a hit through results.foundId / foundSubsystem.
void WinbondChipProbe(CPortAccess& ports, uint8_t* code, CDetectionResults& results);
// Sets *result to 10 on a hit (and foundId / foundSubsystem), 0 otherwise. Returns 0.
int Ite87Probe(CPortAccess& ports, uint8_t* result, CDetectionResults& results);
