// The PCI listing: identifiers from the device key names, driver lines from the class keys,
// in the NT and the 9x registry layouts.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_registry.h"
#include "sysinfo/pci_listing.h"

namespace {

const char NT_ENUM[] = "SYSTEM\\CurrentControlSet\\Enum\\PCI\\";
const char NT_CLASS[] = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
const char W9X_ENUM[] = "Enum\\PCI\\";
const char W9X_CLASS[] = "System\\CurrentControlSet\\Services\\Class\\";
const char SEPARATOR[] = "================================  \r\n";
const char ICH5[] = "VEN_8086&DEV_24D5&SUBSYS_A0027A51&REV_02";
const char ICH5_IDS[] = "Vendor ID: 8086\r\nDevice ID: 24D5\r\nSubSystem ID: A0027A51\r\n"
                        "Reversion : 02\r\n";

// A section of .reg text under HKEY_LOCAL_MACHINE.
std::string Key(const std::string& path)
{
    return "[HKEY_LOCAL_MACHINE\\" + path + "]\n";
}

// A string value; backslashes doubled as .reg text wants them.
std::string Value(const char* name, const std::string& text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "\"" + std::string(name) + "\"=\"" + escaped + "\"\n";
}

// A device instance, with a "Driver" value unless driver is null.
std::string Instance(const char* enumRoot, const std::string& path, const char* driver)
{
    return Key(enumRoot + path) + (driver ? Value("Driver", driver) : "");
}

// A driver class key with all four values; the version under both names, so that the test
// sees which one a variant reads.
std::string DriverClass(const char* classRoot, const char* driver, const char* tag)
{
    std::string t = tag;
    return Key(classRoot + std::string(driver)) + Value("DriverDesc", t + " device") +
           Value("DriverVersion", "5.1." + t) + Value("Ver", "4.10." + t) +
           Value("DriverDate", "7-1-2003") + Value("ProviderName", t + " Corp");
}

std::string DriverLines(const char* version, const char* tag)
{
    std::string t = tag;
    return "Description: " + t + " device\r\nDriver Ver: " + version + t +
           "\r\nDriver Date: 7-1-2003\r\nDriver Provider: " + t + " Corp\r\n";
}

std::string Listing(const std::string& regBody, const CPciListingVariant& variant)
{
    CSimRegistry registry;
    FixedText<256> error;
    EXPECT_TRUE(registry.LoadRegText(("REGEDIT4\n" + regBody).c_str(), &error)) << error.c_str();
    std::string text;
    CPciListing(registry, variant).AppendPciListing(&text);
    EXPECT_EQ(0u, registry.OpenHandleCount()) << "keys left open";
    return text;
}

} // namespace

TEST(PciListing, EachVariantReadsItsOwnKeysAndVersionValue)
{
    const char* ntDriver = "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\0001";
    std::string reg =
        Instance(NT_ENUM, ICH5 + std::string("\\3&267A616A&0&FD"), ntDriver) +
        DriverClass(NT_CLASS, ntDriver, "NT") +
        Instance(W9X_ENUM, ICH5 + std::string("\\BUS_00&DEV_1F&FUNC_05"), "MEDIA\\0000") +
        DriverClass(W9X_CLASS, "MEDIA\\0000", "Nine");
    EXPECT_EQ(ICH5_IDS + DriverLines("5.1.", "NT") + SEPARATOR, Listing(reg, PCI_LISTING_NT));
    EXPECT_EQ(ICH5_IDS + DriverLines("4.10.", "Nine") + SEPARATOR, Listing(reg, PCI_LISTING_9X));
    EXPECT_EQ("", Listing("", PCI_LISTING_NT));
}

TEST(PciListing, DevicesInEnumerationOrderWithTheirFirstInstanceOnly)
{
    std::string reg =
        Instance(W9X_ENUM, ICH5 + std::string("\\BUS_00&DEV_1F&FUNC_05"), "MEDIA\\0000") +
        Instance(W9X_ENUM, ICH5 + std::string("\\BUS_01&DEV_1F&FUNC_05"), "MEDIA\\0001") +
        DriverClass(W9X_CLASS, "MEDIA\\0000", "First") +
        DriverClass(W9X_CLASS, "MEDIA\\0001", "Second") +
        // No "&SUBSYS_" in the name, and no "Driver" value.
        Instance(W9X_ENUM, "VEN_10DE&DEV_0066&REV_A1\\BUS_00&DEV_02&FUNC_00", nullptr) +
        // A "Driver" value naming a class key that does not exist.
        Instance(W9X_ENUM, "VEN_1106&DEV_3059&SUBSYS_41611019&REV_50\\BUS_00&DEV_11&FUNC_05",
                 "MEDIA\\0007");
    // The registry enumerates keys by name.
    EXPECT_EQ(std::string("Vendor ID: 10DE\r\nDevice ID: 0066\r\nReversion : A1\r\n") + SEPARATOR +
                  "Vendor ID: 1106\r\nDevice ID: 3059\r\nSubSystem ID: 41611019\r\n" +
                  "Reversion : 50\r\n" + SEPARATOR + ICH5_IDS + DriverLines("4.10.", "First") +
                  SEPARATOR,
              Listing(reg, PCI_LISTING_9X));
}

TEST(PciListing, NamesEndingInsideAFieldAreCutAtTheirEnd)
{
    // The short names sort after a long one, so a buffer used again would still hold its
    // characters behind their ends.
    std::string reg = Instance(NT_ENUM, ICH5 + std::string("\\0"), nullptr) +
                      Instance(NT_ENUM, "VEN_8086&DEV_24D6&SUBSYS_A0027A51&REV_0\\0", nullptr) +
                      Instance(NT_ENUM, "VEN_8086&DEV_24D7&SUBSYS_B00\\0", nullptr) +
                      Instance(NT_ENUM, "VEN_8087&DEV_\\0", nullptr) +
                      Instance(NT_ENUM, "VEN_81\\0", nullptr);
    EXPECT_EQ(std::string(ICH5_IDS) + SEPARATOR +
                  "Vendor ID: 8086\r\nDevice ID: 24D6\r\nSubSystem ID: A0027A51\r\n" +
                  "Reversion : 0\r\n" + SEPARATOR +
                  "Vendor ID: 8086\r\nDevice ID: 24D7\r\nSubSystem ID: B00\r\n" + SEPARATOR +
                  "Vendor ID: 8087\r\nDevice ID: \r\n" + SEPARATOR + "Vendor ID: 81\r\n" +
                  SEPARATOR,
              Listing(reg, PCI_LISTING_NT));
}

TEST(PciListing, ValuesLongerThanTheirBuffersReadAsMissing)
{
    const std::string longDriver(255, 'D'); // 255 characters and the zero: one byte too many
    const std::string desc511(511, 'x');    // 511 characters and the zero fill the 512 bytes
    std::string reg =
        Instance(NT_ENUM, "VEN_8086&DEV_1051&SUBSYS_30138086&REV_02\\A", longDriver.c_str()) +
        // What a driver value cut to the buffer would name.
        Key(NT_CLASS + longDriver.substr(0, 254)) + Value("DriverDesc", "cut") +
        Instance(NT_ENUM, ICH5 + std::string("\\B"), "K") + Key(NT_CLASS + std::string("K")) +
        Value("DriverDesc", desc511) + Value("DriverVersion", desc511 + "y");
    EXPECT_EQ("Vendor ID: 8086\r\nDevice ID: 1051\r\nSubSystem ID: 30138086\r\n"
              "Reversion : 02\r\n" +
                  std::string(SEPARATOR) + ICH5_IDS + "Description: " + desc511 + "\r\n" +
                  SEPARATOR,
              Listing(reg, PCI_LISTING_NT));
}

TEST(PciListing, DeviceWithoutAnyInstanceGetsItsIdentifiersOnly)
{
    EXPECT_EQ(ICH5_IDS, Listing(Key(NT_ENUM + std::string(ICH5)), PCI_LISTING_NT));
}
