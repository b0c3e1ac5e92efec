// Fuzz target: the device section of the system report over enumeration keys of any name,
// with driver values and class keys also taken from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sim/sim_registry.h"
#include "sysinfo/pci_listing.h"

namespace {

void SetText(CSimRegistry& registry, RegKey key, const char* name, const std::string& text)
{
    registry.SetValue(key, name, REG_TYPE_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                      static_cast<uint32_t>(text.size() + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const CPciListingVariant& variant = provider.ConsumeBool() ? PCI_LISTING_NT : PCI_LISTING_9X;
    CSimRegistry registry;
    int devices = provider.ConsumeIntegralInRange<int>(0, 8);
    for (int d = 0; d < devices; ++d) {
        std::string name = provider.ConsumeRandomLengthString(300);
        std::string instance = provider.ConsumeRandomLengthString(300);
        std::string driver = provider.ConsumeRandomLengthString(300);
        std::string description = provider.ConsumeRandomLengthString(600);
        std::string path = std::string(variant.enumerationKey) + "\\" + name;
        if (!instance.empty()) path += "\\" + instance;
        RegKey key;
        if (!registry.CreateKey(REG_HKEY_LOCAL_MACHINE, path.c_str(), &key)) continue;
        if (provider.ConsumeBool()) SetText(registry, key, "Driver", driver);
        registry.CloseKey(key);
        std::string classPath = std::string(variant.classRoot) + driver;
        if (registry.CreateKey(REG_HKEY_LOCAL_MACHINE, classPath.c_str(), &key)) {
            SetText(registry, key, "DriverDesc", description);
            SetText(registry, key, variant.versionValue, description);
            registry.CloseKey(key);
        }
    }

    std::string report;
    CPciListing listing(registry, variant);
    listing.AppendPciListing(&report);
    if (registry.OpenHandleCount() != 0) __builtin_trap();  // every key it opened is closed
    return 0;
}
