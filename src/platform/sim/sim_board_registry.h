// The simulated PC's registry and memory as the board makes them: the PCI enumeration keys
// Windows would have written for the board's functions, and the board's memory size.
#pragma once

#include "board/board.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_registry.h"

// What AddBoardRegistry put into the registry, so that it can be taken out again before the
// registry is written back to the file it came from.
struct CBoardRegistryRecord {
    bool derived = false; // the enumeration key and its devices were added
    bool ntFamily = false;
    // The first part of the enumeration key's path that did not exist before ("SYSTEM",
    // "CurrentControlSet", "Enum", "PCI" on the NT family; "Enum", "PCI" on 9x).
    int firstCreatedPart = 0;
};

// Adds one key per PCI function of the board below the family's enumeration key
// (HKLM "SYSTEM\CurrentControlSet\Enum\PCI" on NT, "Enum\PCI" on 9x), named
// "VEN_xxxx&DEV_xxxx&SUBSYS_xxxxxxxx&REV_xx", each with one instance subkey and no "Driver"
// value. Does nothing when that enumeration key exists already (the registry's own devices
// stand) or the board has no PCI function. True when keys were added.
bool AddBoardRegistry(const CBoard& board, bool ntFamily, CSimRegistry* registry,
                      CBoardRegistryRecord* record);

// Removes what AddBoardRegistry added: the enumeration key with its devices and the parent
// keys it created, as far as they are empty. Nothing when record says nothing was derived.
void RemoveBoardRegistry(const CBoardRegistryRecord& record, CSimRegistry* registry);

// Makes the machine report its board: the board's "memory kb=" as physical memory (unless the
// board has no memory line), and AddBoardRegistry for the family of the selected system
// (platform 1: 9x, platform 2: NT; nothing for others). Call it after the board, the system
// and the registry file are loaded, before the program starts. record may be null.
void ApplyBoardToMachine(CSimMachine& machine, CBoardRegistryRecord* record);

// The names Windows gives a function's keys, for tests and listings.
void BoardDeviceKeyName(const CBoardPciInfo& info, FixedText<64>* out);
void BoardInstanceKeyName(const CBoardPciInfo& info, bool ntFamily, FixedText<64>* out);
