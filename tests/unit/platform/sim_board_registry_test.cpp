// The simulated PC's registry derived from its board: Windows' key names, the loaded registry
// left untouched, removal before saving, and the report a CD author sees on a demo board.
#include <gtest/gtest.h>

#include <string>

#include "hw/hw_state.h"
#include "platform/sim/sim_board_registry.h"
#include "sysinfo/report.h"

namespace {

const char NT_ENUM[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI";
const char W9X_ENUM[] = "HKEY_LOCAL_MACHINE\\Enum\\PCI";

void LoadBoard(CBoard& board, const char* demoName)
{
    FixedText<256> error;
    std::string path = std::string(TOVA_SOURCE_DIR) + "/demo/boards/" + demoName;
    ASSERT_TRUE(board.LoadFile(path.c_str(), &error)) << error.c_str();
}

void LoadReg(CSimRegistry& registry, const char* text)
{
    FixedText<256> error;
    ASSERT_TRUE(registry.LoadRegText(text, &error)) << error.c_str();
}

// The section names of the saved registry, one a line.
std::string Sections(const CSimRegistry& registry)
{
    std::string text = registry.SaveRegText(), sections;
    for (size_t at = text.find("\n["); at != std::string::npos; at = text.find("\n[", at + 1)) {
        sections += text.substr(at + 1, text.find('\n', at + 1) - at);
    }
    return sections;
}

} // namespace

TEST(SimBoardRegistry, KeysNamedAsEachFamilyNamesThem)
{
    CBoard board;
    LoadBoard(board, "ich5-865g.board");
    CSimRegistry nt, w9x;
    EXPECT_TRUE(AddBoardRegistry(board, true, &nt, nullptr));
    EXPECT_TRUE(AddBoardRegistry(board, false, &w9x, nullptr));

    const std::string ntDevice = std::string("[") + NT_ENUM + "\\";
    EXPECT_EQ("[HKEY_LOCAL_MACHINE\\SYSTEM]\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet]\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum]\n" +
                  ntDevice.substr(0, ntDevice.size() - 1) + "]\n" + ntDevice +
                  "VEN_8086&DEV_1051&SUBSYS_30138086&REV_02]\n" + ntDevice +
                  "VEN_8086&DEV_1051&SUBSYS_30138086&REV_02\\4&DA904131&0&08]\n" + ntDevice +
                  "VEN_8086&DEV_24D0&SUBSYS_00000000&REV_02]\n" + ntDevice +
                  "VEN_8086&DEV_24D0&SUBSYS_00000000&REV_02\\3&D9903F9E&0&F8]\n" + ntDevice +
                  "VEN_8086&DEV_24D5&SUBSYS_A0027A51&REV_02]\n" + ntDevice +
                  "VEN_8086&DEV_24D5&SUBSYS_A0027A51&REV_02\\3&D9903F9E&0&FD]\n" + ntDevice +
                  "VEN_8086&DEV_24DD&SUBSYS_00000000&REV_02]\n" + ntDevice +
                  "VEN_8086&DEV_24DD&SUBSYS_00000000&REV_02\\3&D9903F9E&0&EF]\n" + ntDevice +
                  "VEN_8086&DEV_24DF&SUBSYS_24D17A51&REV_02]\n" + ntDevice +
                  "VEN_8086&DEV_24DF&SUBSYS_24D17A51&REV_02\\3&D9903F9E&0&FA]\n" + ntDevice +
                  "VEN_8086&DEV_2572&SUBSYS_25727A51&REV_02]\n" + ntDevice +
                  "VEN_8086&DEV_2572&SUBSYS_25727A51&REV_02\\3&D9903F9E&0&00]\n",
              Sections(nt));
    // No values anywhere: no driver is installed on the simulated PC.
    EXPECT_EQ(std::string::npos, nt.SaveRegText().find('='));

    std::string w9xSections = Sections(w9x);
    EXPECT_EQ(0u, w9xSections.find("[HKEY_LOCAL_MACHINE\\Enum]\n"));
    EXPECT_NE(
        std::string::npos,
        w9xSections.find(std::string("[") + W9X_ENUM +
                         "\\VEN_8086&DEV_24D5&SUBSYS_A0027A51&REV_02\\BUS_00&DEV_1F&FUNC_05]"));
    EXPECT_NE(std::string::npos,
              w9xSections.find("VEN_8086&DEV_1051&SUBSYS_30138086&REV_02\\BUS_01&DEV_01&FUNC_00]"));
    EXPECT_EQ(0u, nt.OpenHandleCount() + w9x.OpenHandleCount());
}

TEST(SimBoardRegistry, TwinFunctionsShareOneDeviceKey)
{
    CBoard board;
    FixedText<256> error;
    ASSERT_TRUE(board.LoadDescription("pci 00:1d.0 id=0x24D28086 class=0x0C030002\n"
                                      "pci 00:1d.1 id=0x24D28086 class=0x0C030002\n",
                                      nullptr, &error));
    CSimRegistry registry;
    ASSERT_TRUE(AddBoardRegistry(board, true, &registry, nullptr));
    std::string device = std::string("[") + NT_ENUM + "\\VEN_8086&DEV_24D2&SUBSYS_00000000&REV_02";
    std::string sections = Sections(registry);
    EXPECT_NE(std::string::npos,
              sections.find(device + "]\n" + device.substr(0) + "\\3&D9903F9E&0&E8]\n" + device +
                            "\\3&D9903F9E&0&E9]\n"));
}

TEST(SimBoardRegistry, LoadedEnumerationKeyStandsAndRemovalRestoresTheFile)
{
    CBoard board;
    LoadBoard(board, "via-kt400.board");
    CSimRegistry registry;
    LoadReg(registry, "REGEDIT4\n"
                      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control]\n"
                      "\"Keep\"=\"me\"\n"
                      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1106&DEV_3059&SUBSYS_41611019&REV_50"
                      "\\BUS_00&DEV_11&FUNC_05]\n"
                      "\"Driver\"=\"MEDIA\\\\0000\"\n");
    const std::string loaded = registry.SaveRegText();

    // The 9x key from the file stands: nothing is derived for that family.
    CBoardRegistryRecord record;
    EXPECT_FALSE(AddBoardRegistry(board, false, &registry, &record));
    EXPECT_FALSE(record.derived);
    EXPECT_EQ(loaded, registry.SaveRegText());
    RemoveBoardRegistry(record, &registry);
    EXPECT_EQ(loaded, registry.SaveRegText());

    // The NT family has no enumeration key in the file: it is derived beside what is there,
    // and taken out again, with the parent it made, leaving the file's keys as they were.
    ASSERT_TRUE(AddBoardRegistry(board, true, &registry, &record));
    EXPECT_NE(std::string::npos, registry.SaveRegText().find(NT_ENUM));
    EXPECT_NE(std::string::npos, registry.SaveRegText().find("\"Keep\"=\"me\""));
    RemoveBoardRegistry(record, &registry);
    EXPECT_EQ(loaded, registry.SaveRegText());
}

TEST(SimBoardRegistry, MachineReportsTheBoard)
{
    CSimMachine machine;
    LoadBoard(machine.board, "ich5-865g.board");
    ASSERT_TRUE(machine.system.SelectOs("win98"));
    CBoardRegistryRecord record;
    ApplyBoardToMachine(machine, &record);
    EXPECT_TRUE(record.derived);
    EXPECT_FALSE(record.ntFamily);

    uint8_t osCode = OS_WIN98;
    CSystemReport report(machine.Platform(), osCode);
    std::string text;
    report.ComposeSystemReport(&text);
    EXPECT_EQ(0u, text.find("BIOS Info :09/03/2003-i865G-6728-6A79AM4FC-00\r\n"));
    EXPECT_NE(std::string::npos, text.find("CPU : intel (GenuineIntel)\r\n"));
    EXPECT_NE(std::string::npos, text.find("Memory size: 515,568  KB RAM\r\n"));
    // Every function with its identifiers and nothing else, the audio function among them.
    EXPECT_NE(std::string::npos,
              text.find("================================  \r\n"
                        "Vendor ID: 8086\r\nDevice ID: 24D5\r\nSubSystem ID: A0027A51\r\n"
                        "Reversion : 02\r\n================================  \r\n"));
    size_t devices = 0;
    for (size_t at = text.find("Vendor ID: "); at != std::string::npos;
         at = text.find("Vendor ID: ", at + 1))
        ++devices;
    EXPECT_EQ(6u, devices);
    EXPECT_EQ(std::string::npos, text.find("Description: "));

    // A board without a memory line leaves the machine's memory as it was.
    CSimMachine bare;
    CMemoryStatus before, after;
    bare.system.GlobalMemoryStatus(&before);
    ApplyBoardToMachine(bare, &record);
    bare.system.GlobalMemoryStatus(&after);
    EXPECT_EQ(before.totalPhys, after.totalPhys);
    EXPECT_FALSE(record.derived);
}
