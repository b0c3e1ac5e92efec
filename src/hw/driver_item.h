// The install list: the DriverItem records built from the CD's driver list.
#pragma once

#include <cstdint>
#include <vector>

#include "common/fixed_text.h"

struct DriverItem {
    uint32_t deviceId;          // foundId of the probe that produced the entry
    uint32_t subsystemId;       // foundSubsystem of that probe
    FixedText<20> versionText;  // the rest of the list line after the setup file
    FixedText<255> description;
    FixedText<255> folder;      // below the CD root, prefix removed, '\' separators
    FixedText<26> setupFile;
    int32_t deviceCode;
    int32_t selected;
    FixedText<328> entryNumber;
    int32_t labelX;
    int32_t labelY;
};
static_assert(sizeof(DriverItem) == 908, "DriverItem keeps its 908-byte layout");

const int DRIVER_ITEM_CAPACITY = 30;

struct CInstallList {
    DriverItem items[DRIVER_ITEM_CAPACITY] = {};
    uint8_t itemCount = 0;
    int32_t infUpdateIndex = 99;
    int32_t sis650VgaListed = 0;
    // The whole CD list file, zero-terminated; held from the read to the end of detection.
    std::vector<char> listText;
    // The running system's block of the list; lives for the run.
    std::vector<char> osSection;
};
