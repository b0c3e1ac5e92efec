// Process-wide results of operating-system classification and board detection. One program
// object owns them, so every test starts from a fresh set.
#pragma once

#include <cstdint>

// osCode values.
const uint8_t OS_OTHER = 0;
const uint8_t OS_WIN32S = 9;
const uint8_t OS_WIN95 = 10;
const uint8_t OS_WIN98 = 11;
const uint8_t OS_WIN98SE = 12;
const uint8_t OS_NT4 = 13;
const uint8_t OS_WIN2000 = 14;
const uint8_t OS_WINME = 15;
const uint8_t OS_WINXP = 16;

// The NT class takes the port library; every other value takes the direct path.
inline bool IsNtClass(uint8_t osCode)
{
    return osCode == OS_NT4 || osCode == OS_WIN2000 || osCode == OS_WINXP;
}

struct CDetectionResults {
    uint8_t chipsetCode = 0;
    uint8_t southBridgeCode = 0;
    uint8_t lanCode = 0;
    uint8_t audioCode = 0;
    uint8_t ideRaidCode = 0;
    uint8_t superIoCode = 0;
    uint8_t serialAtaCode = 0;
    uint8_t intelSataCode = 0;
    uint8_t scsiCode = 0;
    uint8_t usb2Code = 0;
    uint8_t intelUsbCode = 0;

    // Each hides one panel entry while 0.
    uint32_t raidControllerFlag = 0;
    uint32_t ite8212Flag = 0;
    uint32_t sil3112RaidFlag = 0;
    uint32_t ite87SerialModeFlag = 0;

    // Scratch of the current probe: non-zero foundId means "found".
    uint32_t foundId = 0;
    uint32_t foundSubsystem = 0;
};

struct CHwState {
    uint8_t osCode = OS_OTHER;
    // Upper half of dword 0x08 of the last id match of a FindPciDevice scan.
    uint16_t lastClassCode = 0;
    CDetectionResults results;
};
