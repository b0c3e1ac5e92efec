// Board detection: the operating-system gate, the catalogue probes in their fixed order, and the
// install-list entries each found device selects from the CD list.
#pragma once

#include <cstdint>

#include "common/lead_bytes.h"
#include "hw/catalogues.h"
#include "hw/driver_item.h"
#include "hw/hw_state.h"
#include "hw/pci.h"
#include "hw/port_access.h"
#include "platform/platform.h"

// Category tags as they appear in the CD list.
extern const char* const DETECT_TAG_CHIPSET;
extern const char* const DETECT_TAG_LAN;
extern const char* const DETECT_TAG_AUDIO;
extern const char* const DETECT_TAG_PROMISE;
extern const char* const DETECT_TAG_WINBOND;
extern const char* const DETECT_TAG_SERIAL_ATA;
extern const char* const DETECT_TAG_SCSI;
extern const char* const DETECT_TAG_USB2;
extern const char* const DETECT_TAG_INTEL_USB;
extern const char* const DETECT_TAG_AMR;

// The first row of catalogue that FindPciDevice finds decides: its code goes to *code, its
// dwords to results.foundId / foundSubsystem. Nothing is written when no row matches.
bool ProbeCatalogue(CPciSource& scanner, const CCatalogueRow* catalogue, uint8_t* code,
                    CDetectionResults& results);

class CDetection {
public:
    // source answers the PCI probes; null takes this detection's own one-walk snapshot. Another
    // source (a literal walk per question, to check the snapshot against) writes
    // hw.lastClassCode itself.
    CDetection(CPlatform& platform, CHwState& hw, CInstallList& list, uint8_t& xpServicePack,
               CPciSource* source = nullptr);

    // Runs all of detection with the CD list at textFile. False when the system is not
    // supported: the message was shown and the program ended (the simulated end returns, so
    // the caller must return at once). True once port access is closed and the list text
    // freed; the caller then loads the panels.
    bool RunDetection(const char* textFile);

    // The USB 2.0 controllers, in order; usb2Code is cleared first.
    bool ProbeUsb2();
    // The ICH4's own USB 2.0 controller; intelUsbCode is cleared first and becomes 1.
    bool ProbeIntelUsb();

private:
    void ClearScratch();
    // Stores the probe's dwords and code in the next record and adds the category's lines.
    void RecordCategory(const char* tag, uint8_t code);

    void DetectChipset();
    void DetectAudio();
    void DetectIdeRaid();
    void DetectUsb2();

    CPlatform& platform;
    CHwState& hw;
    CDetectionResults& results;
    CInstallList& list;
    uint8_t& xpServicePack;
    // The list's fields are cut on the system's character boundaries.
    const CLeadBytes leadBytes;
    CPortAccess ports;
    CPciSnapshot snapshot;
    // What every probe asks: the snapshot or the source given.
    CPciSource& scanner;
    // The IT8212's dwords, kept for its entry, which is recorded after the serial ATA ones.
    uint32_t deferredId = 0;
    uint32_t deferredSubsystem = 0;
};
