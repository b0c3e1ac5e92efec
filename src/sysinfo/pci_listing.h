// The report's device section: every PCI device Windows has enumerated, with the description,
// version, date and provider of its installed driver, read from the registry only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

// Where one Windows family keeps its devices and their drivers, all under HKEY_LOCAL_MACHINE.
struct CPciListingVariant {
    const char* enumerationKey; // one subkey per device, one subkey per instance below it
    const char* classRoot;      // the device's "Driver" value is appended to it
    const char* versionValue;   // the driver version's value name in the class key
};

extern const CPciListingVariant PCI_LISTING_NT;
extern const CPciListingVariant PCI_LISTING_9X;

// Key names are at most 255 characters, as the registry allows; the "Driver" value at most 255
// bytes, the driver's values at most 512.
const uint32_t PCI_NAME_SIZE = 256;
const uint32_t PCI_DRIVER_VALUE_SIZE = 255;
const uint32_t PCI_CLASS_VALUE_SIZE = 512;

class CPciListing {
public:
    CPciListing(Registry& registry, const CPciListingVariant& variant);

    // Appends every device of the enumeration key, in the registry's enumeration order.
    void AppendPciListing(std::string* systemReport);
    // The driver lines of the device's first instance and the separator after the device.
    void AppendDeviceDrivers(const char* deviceKeyPath, std::string* systemReport);
    // One driver line: label, value and CR LF, or nothing when the key or value is missing.
    void AppendClassValue(const char* driverValue, const char* valueName, const char* label,
                          std::string* systemReport);

private:
    Registry& registry;
    CPciListingVariant variant;
};
