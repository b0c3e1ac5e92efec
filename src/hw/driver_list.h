// The CD's driver list ("tova.txt"): reading it, cutting out the running system's block and
// turning the lines of a detected category into install-list entries.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/lead_bytes.h"
#include "hw/driver_item.h"
#include "platform/files.h"

// A driver list is a few kilobytes; a file beyond this is read only this far, so a broken CD
// cannot exhaust the memory of the machine.
const size_t DRIVER_LIST_MAX_BYTES = 16u * 1024u * 1024u;

// Reads the whole file into list.listText with a terminating zero. False (and an empty text)
// when the file cannot be opened.
bool ReadListFile(Files& files, const char* path, CInstallList& list);
// Drops the list text once detection is over; the system's block stays.
void FreeListText(CInstallList& list);

// Fills list.osSection with the block of osCode: from just before the line holding
// ";<osCode>;Chipset" up to the first ";-" after it. Empty when either is missing.
void ExtractOsSection(CInstallList& list, uint8_t osCode);

// Appends an entry for every line of the block that carries tag + deviceCode + ";", where
// deviceCode is the one detection stored in items[itemCount]. tag includes its semicolons
// (";LAN;"). Adds nothing once the list holds DRIVER_ITEM_CAPACITY entries.
void AddItemsForCategory(CInstallList& list, const CLeadBytes& leadBytes, const char* tag);

// Fills the text fields of items[index] from one list line of length bytes (it ends at the
// first CR or LF in it). Missing fields stay empty; fields longer than their record field are
// cut on a character boundary of the code page. An index outside the array is ignored.
void ParseListLine(CInstallList& list, const CLeadBytes& leadBytes, const char* line, size_t length,
                   int index);

// A USB 2.0 driver on XP without a service pack: probePath is the upper-cased full command
// path of the entry.
bool isUnsupportedUsb2Row(uint8_t osCode, uint8_t xpServicePack, const char* probePath);
