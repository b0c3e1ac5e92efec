// The report's device section: device identifiers from the enumeration key names, driver lines
// from each device's driver class key.
#include "sysinfo/pci_listing.h"

#include <cstring>

#include "common/fixed_text.h"
#include "sysinfo/registry_text.h"

const CPciListingVariant PCI_LISTING_NT = {
    "SYSTEM\\CurrentControlSet\\Enum\\PCI",
    "SYSTEM\\CurrentControlSet\\Control\\Class\\",
    "DriverVersion",
};

const CPciListingVariant PCI_LISTING_9X = {
    "Enum\\PCI",
    "System\\CurrentControlSet\\Services\\Class\\",
    "Ver",
};

namespace {

// Room for a root, a device name and an instance name at their longest: paths are never cut,
// so a long name can never open some other key.
const size_t PCI_PATH_SIZE = 1024;

const char PCI_LINE_END[] = "\r\n";
const char PCI_SEPARATOR[] = "================================  \r\n";

// A marker of the device key name and the fixed-length field that follows it.
struct CPciMarker {
    const char* marker;
    size_t fieldLength;
    const char* label;
};

const CPciMarker PCI_MARKERS[] = {
    {"VEN_", 4, "Vendor ID: "},
    {"&DEV_", 4, "Device ID: "},
    {"&SUBSYS_", 8, "SubSystem ID: "},
    {"&REV_", 2, "Reversion : "},
};

// One identifier line per marker the name holds. A name that ends inside a field (a short or
// damaged key name) gives the characters it has: the field is cut at the end of the name.
void AppendIdentifierLines(const char* name, std::string* systemReport)
{
    for (const CPciMarker& m : PCI_MARKERS) {
        const char* at = strstr(name, m.marker);
        if (!at) continue;
        FixedText<9> field;
        field.Assign(at + strlen(m.marker), m.fieldLength);
        systemReport->append(m.label);
        systemReport->append(field.c_str());
        systemReport->append(PCI_LINE_END);
    }
}

} // namespace

CPciListing::CPciListing(Registry& registry, const CPciListingVariant& variant)
    : registry(registry), variant(variant)
{
}

void CPciListing::AppendPciListing(std::string* systemReport)
{
    RegKey key;
    if (!registry.OpenKey(REG_HKEY_LOCAL_MACHINE, variant.enumerationKey, &key)) return;
    uint32_t deviceCount = 0;
    if (!registry.SubKeyCount(key, &deviceCount)) deviceCount = 0;
    registry.CloseKey(key);

    for (uint32_t index = 0; index < deviceCount; ++index) {
        if (!registry.OpenKey(REG_HKEY_LOCAL_MACHINE, variant.enumerationKey, &key)) continue;
        FixedText<PCI_NAME_SIZE> name;
        bool named = registry.EnumSubKey(key, index, name.Buffer(), PCI_NAME_SIZE);
        if (named) AppendIdentifierLines(name.c_str(), systemReport);
        registry.CloseKey(key);
        if (!named) continue;

        FixedText<PCI_PATH_SIZE> devicePath;
        devicePath.Assign(variant.enumerationKey);
        devicePath.AppendChar('\\');
        devicePath.Append(name.c_str());
        AppendDeviceDrivers(devicePath.c_str(), systemReport);
    }
}

// A device key without any instance is treated as an instance that cannot be opened: neither
// driver lines nor the separator.
void CPciListing::AppendDeviceDrivers(const char* deviceKeyPath, std::string* systemReport)
{
    RegKey key;
    if (!registry.OpenKey(REG_HKEY_LOCAL_MACHINE, deviceKeyPath, &key)) return;
    FixedText<PCI_NAME_SIZE> instance;
    bool hasInstance = registry.EnumSubKey(key, 0, instance.Buffer(), PCI_NAME_SIZE);
    registry.CloseKey(key);
    if (!hasInstance) return;

    FixedText<PCI_PATH_SIZE> instancePath;
    instancePath.Assign(deviceKeyPath);
    instancePath.AppendChar('\\');
    instancePath.Append(instance.c_str());
    if (!registry.OpenKey(REG_HKEY_LOCAL_MACHINE, instancePath.c_str(), &key)) return;

    // A value longer than its buffer reads as missing: no driver lines rather than a driver
    // key named by a cut text.
    FixedText<PCI_DRIVER_VALUE_SIZE + 1> driver;
    if (ReadRegistryText(registry, key, "Driver", &driver)) {
        AppendClassValue(driver.c_str(), "DriverDesc", "Description: ", systemReport);
        AppendClassValue(driver.c_str(), variant.versionValue, "Driver Ver: ", systemReport);
        AppendClassValue(driver.c_str(), "DriverDate", "Driver Date: ", systemReport);
        AppendClassValue(driver.c_str(), "ProviderName", "Driver Provider: ", systemReport);
    }
    systemReport->append(PCI_SEPARATOR);
    registry.CloseKey(key);
}

void CPciListing::AppendClassValue(const char* driverValue, const char* valueName,
                                   const char* label, std::string* systemReport)
{
    FixedText<PCI_PATH_SIZE> classPath;
    classPath.Assign(variant.classRoot);
    classPath.Append(driverValue);
    RegKey key;
    if (!registry.OpenKey(REG_HKEY_LOCAL_MACHINE, classPath.c_str(), &key)) return;
    FixedText<PCI_CLASS_VALUE_SIZE + 1> value;
    if (ReadRegistryText(registry, key, valueName, &value)) {
        systemReport->append(label);
        systemReport->append(value.c_str());
        systemReport->append(PCI_LINE_END);
    }
    registry.CloseKey(key);
}
