// Board detection: classify the system, probe each category in priority order, refine the codes
// that depend on other devices, and turn every find into the CD list's entries.
#include "hw/detection.h"

#include "hw/driver_list.h"
#include "hw/os_class.h"
#include "hw/superio.h"

const char* const DETECT_TAG_CHIPSET = ";Chipset;";
const char* const DETECT_TAG_LAN = ";LAN;";
const char* const DETECT_TAG_AUDIO = ";audio;";
const char* const DETECT_TAG_PROMISE = ";Promise;";
const char* const DETECT_TAG_WINBOND = ";Winbond;";
const char* const DETECT_TAG_SERIAL_ATA = ";SeriesATA;";
const char* const DETECT_TAG_SCSI = ";SCSI;";
const char* const DETECT_TAG_USB2 = ";USB2.0;";
const char* const DETECT_TAG_INTEL_USB = ";IntelUSB;";
const char* const DETECT_TAG_AMR = ";AMR;";

namespace {

const uint8_t DETECT_SOUTH_ICH4 = 20;
const uint16_t DETECT_CLASS_RAID = 0x0104;  // mass storage, RAID controller
const uint32_t DETECT_ID_NVIDIA_01F0 = 0x01F010DE;
const uint8_t DETECT_ITE87_HIT = 10;
const uint8_t DETECT_INTEL_USB_AS_USB2 = 13;  // the ICH4 controller's code in the USB 2.0 lines

// USB 2.0 controllers, probed like a catalogue: the first that answers decides.
const CCatalogueRow DETECT_USB2_ROWS[] = {
    {"USB 2.0 controller", 10, 0x31041106, 0x12340925},
    {"USB 2.0 controller", 11, 0x31041106, 0x31041106},
    {"USB 2.0 controller", 11, 0x31041106, 0x50047A51},
    {"USB 2.0 controller", 12, 0x70021039, 0},
    {"USB 2.0 controller", 13, 0x00E01033, 0x50047A51},
    {"USB 2.0 controller", 15, 0x24DD8086, 0},
    {"USB 2.0 controller", 16, 0x006710DE, 0},
    {nullptr, 0, 0, 0},
};

// The ICH4's own USB 2.0 function, with this maker's two subsystems.
const CCatalogueRow DETECT_INTEL_USB_ROWS[] = {
    {"Intel ICH4 USB 2.0", 1, 0x24CD8086, 0x50047A51},
    {"Intel ICH4 USB 2.0", 1, 0x24CD8086, 0x50067A51},
    {nullptr, 0, 0, 0},
};

}  // namespace

bool ProbeCatalogue(CPciSource& scanner, const CCatalogueRow* catalogue, uint8_t* code,
                    CDetectionResults& results)
{
    if (!catalogue) return false;
    for (const CCatalogueRow* row = catalogue; row->label; ++row) {
        if (scanner.FindPciDevice(row->idDword, row->subsystemDword)) {
            *code = static_cast<uint8_t>(row->code);
            results.foundId = row->idDword;
            results.foundSubsystem = row->subsystemDword;
            return true;
        }
    }
    return false;
}

CDetection::CDetection(CPlatform& platform, CHwState& hw, CInstallList& list,
                       uint8_t& xpServicePack, CPciSource* source)
    : platform(platform), hw(hw), results(hw.results), list(list), xpServicePack(xpServicePack),
      leadBytes(platform.system), ports(platform.hardware, hw.osCode),
      snapshot(ports, hw.lastClassCode), scanner(source ? *source : snapshot)
{
}

bool CDetection::ProbeUsb2()
{
    results.usb2Code = 0;
    return ProbeCatalogue(scanner, DETECT_USB2_ROWS, &results.usb2Code, results);
}

bool CDetection::ProbeIntelUsb()
{
    results.intelUsbCode = 0;
    return ProbeCatalogue(scanner, DETECT_INTEL_USB_ROWS, &results.intelUsbCode, results);
}

void CDetection::ClearScratch()
{
    results.foundId = 0;
    results.foundSubsystem = 0;
}

void CDetection::RecordCategory(const char* tag, uint8_t code)
{
    // A full list has no record left to carry the probe's values; the entries are ignored.
    if (list.itemCount >= DRIVER_ITEM_CAPACITY) return;
    DriverItem& item = list.items[list.itemCount];
    item.deviceId = results.foundId;
    item.subsystemId = results.foundSubsystem;
    item.deviceCode = code;
    AddItemsForCategory(list, leadBytes, tag);
}

void CDetection::DetectChipset()
{
    ClearScratch();
    uint8_t& chipset = results.chipsetCode;
    if (ProbeCatalogue(scanner, CATALOGUE_CHIPSET, &chipset, results)) {
        // Codes 56, 57 and 58 are refined by revisions 1, 2 and 3 of the same id; 59 never is.
        static const uint8_t BASE[3] = {56, 57, 58};
        static const uint8_t REFINED[3] = {64, 66, 65};
        for (int k = 0; k < 3; ++k) {
            if (chipset != BASE[k]) continue;
            if (scanner.FindPciDeviceRevision(results.foundId, static_cast<uint32_t>(k + 1))) {
                chipset = REFINED[k];
            }
            break;
        }
    }
    // With the ICH4 every chipset code moves up by 60, also when no chipset row matched.
    if (results.southBridgeCode == DETECT_SOUTH_ICH4) chipset = static_cast<uint8_t>(chipset + 60);
    // 71 (the NVIDIA row, or an 810 with the ICH4) stays only beside the NVIDIA 0x01F010DE.
    if (chipset == 71) chipset = scanner.FindPciDevice(DETECT_ID_NVIDIA_01F0, 0) ? 71 : 72;
    if (results.foundId != 0) RecordCategory(DETECT_TAG_CHIPSET, chipset);
}

void CDetection::DetectAudio()
{
    ClearScratch();
    uint8_t& audio = results.audioCode;
    ProbeCatalogue(scanner, CATALOGUE_AUDIO, &audio, results);
    if (audio == 17 && results.southBridgeCode == DETECT_SOUTH_ICH4) audio = 14;
    uint8_t chipset = results.chipsetCode;
    if (chipset >= 64 && chipset <= 67 && audio == 23) audio = 69;
    if (results.foundId != 0) RecordCategory(DETECT_TAG_AUDIO, audio);
}

void CDetection::DetectIdeRaid()
{
    results.raidControllerFlag = 0;
    results.ite8212Flag = 0;
    results.ideRaidCode = 0;
    ClearScratch();
    uint8_t& code = results.ideRaidCode;
    if (!ProbeCatalogue(scanner, CATALOGUE_IDE_RAID, &code, results)) return;
    // A Promise chip strapped to RAID mode reports the RAID class instead of IDE.
    if (hw.lastClassCode == DETECT_CLASS_RAID) {
        if (code == 10) code = 11;
        else if (code == 20) code = 21;
    }
    if (code == 11 || code == 21 || code == 31) results.raidControllerFlag = 1;
    if (code == 50) {
        // The IT8212 entry follows the serial ATA entries.
        results.ite8212Flag = 1;
        deferredId = results.foundId;
        deferredSubsystem = results.foundSubsystem;
        return;
    }
    RecordCategory(DETECT_TAG_PROMISE, code);
}

void CDetection::DetectUsb2()
{
    ClearScratch();
    bool found = ProbeUsb2();
    uint8_t os = hw.osCode;
    bool ich4 = results.southBridgeCode == DETECT_SOUTH_ICH4;
    if (os == OS_WIN2000 || os == OS_WINXP) {
        if (found) {
            RecordCategory(DETECT_TAG_USB2, results.usb2Code);
        } else if (ich4) {
            ClearScratch();
            if (ProbeIntelUsb()) {
                results.intelUsbCode = DETECT_INTEL_USB_AS_USB2;
                RecordCategory(DETECT_TAG_USB2, results.intelUsbCode);
            }
        }
    } else if (os == OS_WIN98SE || os == OS_WINME) {
        // 98 SE and Me take the ICH4 controller's own package as well.
        if (found) RecordCategory(DETECT_TAG_USB2, results.usb2Code);
        ClearScratch();
        if (ich4 && ProbeIntelUsb()) RecordCategory(DETECT_TAG_INTEL_USB, results.intelUsbCode);
    }
}

bool CDetection::RunDetection(const char* textFile)
{
    list.sis650VgaListed = 0;
    ClassifyOs(platform.system, platform.window, &hw.osCode, &xpServicePack);
    ReadListFile(platform.files, textFile, list);
    ExtractOsSection(list, hw.osCode);
    ports.OpenPortAccess();
    // Configuration space is read afresh, through the port access just opened.
    snapshot.Invalidate();
    list.itemCount = 0;

    if (hw.osCode < OS_WIN95 || hw.osCode > OS_WINXP) {
        platform.window.MessageBox(true, "Sorry we do not support this M/B.", "Msg", MSGBOX_OK);
        platform.processes.ExitProcess(0);
        return false;
    }

    ClearScratch();
    ProbeCatalogue(scanner, CATALOGUE_SOUTH_BRIDGE, &results.southBridgeCode, results);

    DetectChipset();

    ClearScratch();
    if (ProbeCatalogue(scanner, CATALOGUE_LAN, &results.lanCode, results)) {
        RecordCategory(DETECT_TAG_LAN, results.lanCode);
    }

    DetectAudio();
    DetectIdeRaid();

    ClearScratch();
    WinbondChipProbe(ports, &results.superIoCode, results);
    if (results.foundId != 0) RecordCategory(DETECT_TAG_WINBOND, results.superIoCode);

    results.sil3112RaidFlag = 0;
    results.serialAtaCode = 0;
    ClearScratch();
    if (ProbeCatalogue(scanner, CATALOGUE_SERIAL_ATA, &results.serialAtaCode, results)) {
        if (results.serialAtaCode == 3) results.sil3112RaidFlag = 1;
        RecordCategory(DETECT_TAG_SERIAL_ATA, results.serialAtaCode);
    }

    if (results.ideRaidCode == 50) {
        results.foundId = deferredId;
        results.foundSubsystem = deferredSubsystem;
        RecordCategory(DETECT_TAG_PROMISE, 50);
    }

    results.intelSataCode = 0;
    ClearScratch();
    if (ProbeCatalogue(scanner, CATALOGUE_INTEL_SATA, &results.intelSataCode, results)) {
        RecordCategory(DETECT_TAG_SERIAL_ATA, results.intelSataCode);
    }

    // The third serial-ATA list ships empty; its own code keeps the Intel one intact.
    uint8_t thirdSataCode = 0;
    ClearScratch();
    if (ProbeCatalogue(scanner, CATALOGUE_THIRD_SATA, &thirdSataCode, results)) {
        RecordCategory(DETECT_TAG_SERIAL_ATA, thirdSataCode);
    }

    ClearScratch();
    if (ProbeCatalogue(scanner, CATALOGUE_SCSI, &results.scsiCode, results)) {
        RecordCategory(DETECT_TAG_SCSI, results.scsiCode);
    }

    DetectUsb2();

    uint8_t amrCode = 0;
    ClearScratch();
    if (ProbeCatalogue(scanner, CATALOGUE_AMR, &amrCode, results)) {
        RecordCategory(DETECT_TAG_AMR, amrCode);
    }

    results.ite87SerialModeFlag = 0;
    ClearScratch();
    uint8_t ite87 = 0;
    Ite87Probe(ports, &ite87, results);
    if (ite87 == DETECT_ITE87_HIT) results.ite87SerialModeFlag = 1;

    ports.ClosePortAccess();
    FreeListText(list);
    return true;
}
