// The built-in device catalogues. Row order is priority: the first matching row decides the
// device code. Each list ends with a row whose label is null.
#pragma once

#include <cstdint>

struct CCatalogueRow {
    const char* label;  // marks the row as present; never shown or compared
    uint32_t code;
    uint32_t idDword;         // PCI dword 0x00: device id << 16 | vendor id
    uint32_t subsystemDword;  // PCI dword 0x2C; 0 accepts any subsystem
};

extern const CCatalogueRow CATALOGUE_SOUTH_BRIDGE[];
extern const CCatalogueRow CATALOGUE_CHIPSET[];
extern const CCatalogueRow CATALOGUE_LAN[];
extern const CCatalogueRow CATALOGUE_AUDIO[];
extern const CCatalogueRow CATALOGUE_IDE_RAID[];
extern const CCatalogueRow CATALOGUE_SERIAL_ATA[];
extern const CCatalogueRow CATALOGUE_INTEL_SATA[];
extern const CCatalogueRow CATALOGUE_THIRD_SATA[];
extern const CCatalogueRow CATALOGUE_SCSI[];
extern const CCatalogueRow CATALOGUE_AMR[];

// Rows before the end row.
int CatalogueRowCount(const CCatalogueRow* catalogue);
