// The system report: memory grouping, processor lines per system, vendor lines, the Windows
// family that chooses the device listing, and the whole layout on a board.
#include <gtest/gtest.h>

#include <string>

#include "sysinfo/report.h"
#include "sysinfo_rig.h"

namespace {

const char PROCESSOR_REG[] =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0]\n"
    "\"Identifier\"=\"x86 Family 15 Model 2 Stepping 9\"\n"
    "\"ProcessorNameString\"=\"  \t \tIntel(R) Pentium(R) 4 CPU 2.40GHz\"\n";

std::string Grouped(uint64_t value)
{
    FixedText<32> text;
    GroupReportDigits(value, &text);
    return text.c_str();
}

std::string ProcessorLines(CSysinfoRig& rig)
{
    std::string text;
    rig.report.AppendProcessorLines(&text);
    return text;
}

} // namespace

TEST(SystemReport, MemoryDigitsGroupedInAtMostTwoPlaces)
{
    EXPECT_EQ("0", Grouped(0));
    EXPECT_EQ("640", Grouped(640));
    EXPECT_EQ("1,024", Grouped(1024));
    EXPECT_EQ("261,616", Grouped(261616));
    EXPECT_EQ("4,194,303", Grouped(4194303));
    EXPECT_EQ("1234,567,890", Grouped(1234567890));

    CSysinfoRig rig;
    CMemoryStatus status = {};
    status.totalPhys = 515568u * 1024u + 1023u; // a part kilobyte is dropped
    rig.system.SetMemoryStatus(status);
    std::string text;
    rig.report.AppendMemoryLines(&text);
    EXPECT_EQ("\r\nMemory size: 515,568  KB RAM\r\n================================\r\n", text);
}

TEST(SystemReport, ProcessorNameOnlyOutside98SeAndMe)
{
    CSysinfoRig rig;
    rig.Reg(PROCESSOR_REG);
    const std::string identifier = "Identifier: x86 Family 15 Model 2 Stepping 9\r\n";
    // Leading blanks and tabs go; the name line has no line end of its own.
    const std::string name = "ProcessorNameString: Intel(R) Pentium(R) 4 CPU 2.40GHz";
    for (uint8_t os : {OS_WIN95, OS_WIN98, OS_WIN2000, OS_WINXP}) {
        rig.osCode = os;
        EXPECT_EQ(identifier + name, ProcessorLines(rig)) << int(os);
    }
    for (uint8_t os : {OS_WIN98SE, OS_WINME}) {
        rig.osCode = os;
        EXPECT_EQ(identifier, ProcessorLines(rig)) << int(os);
    }
    EXPECT_EQ(0u, rig.registry.OpenHandleCount());
}

TEST(SystemReport, ProcessorLabelsStayWhenValuesCannotBeRead)
{
    CSysinfoRig rig;
    rig.osCode = OS_WIN98;
    EXPECT_EQ("", ProcessorLines(rig)); // no key, no lines

    // A value longer than the 255 bytes offered is a failed read, not a cut text.
    std::string tooLong(255, 'x');
    std::string reg = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Hardware\\Description\\System\\"
                      "CentralProcessor\\0]\n\"Identifier\"=\"" +
                      tooLong + "\"\n";
    rig.Reg(reg.c_str());
    EXPECT_EQ("Identifier: \r\nProcessorNameString: ", ProcessorLines(rig));

    // 254 characters and the terminating zero fit exactly.
    rig.Reg(("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Hardware\\Description\\System\\CentralProcessor"
             "\\0]\n\"ProcessorNameString\"=\"" +
             tooLong.substr(1) + "\"\n")
                .c_str());
    EXPECT_EQ("Identifier: \r\nProcessorNameString: " + tooLong.substr(1), ProcessorLines(rig));
}

TEST(SystemReport, OsFamilyFromThePlainVersionRecord)
{
    const struct {
        const char* os;
        int family;
    } rows[] = {
        {"win95", OS_FAMILY_WIN9X},      {"win98", OS_FAMILY_WIN9X},
        {"win98se", OS_FAMILY_WIN9X},    {"winme", OS_FAMILY_WINME},
        {"1.4.50.1000", OS_FAMILY_NONE}, {"2.3.51.1057", OS_FAMILY_NT},
        {"nt4", OS_FAMILY_NT},           {"win2000", OS_FAMILY_WIN2000},
        {"winxp", OS_FAMILY_WINXP},      {"2.5.2.3790", OS_FAMILY_NONE},
        {"vista", OS_FAMILY_NONE},       {"2.2.0.807", OS_FAMILY_NONE},
        {"win32s", OS_FAMILY_NONE},      {"3.5.1.2600", OS_FAMILY_NONE},
    };
    for (const auto& row : rows) {
        CSysinfoRig rig;
        ASSERT_TRUE(rig.system.SelectOs(row.os)) << row.os;
        EXPECT_EQ(row.family, rig.report.GetOsFamily()) << row.os;
    }
    CSysinfoRig rig;
    rig.system.FailVersionQuery(false, true); // only the plain record is asked for
    EXPECT_EQ(OS_FAMILY_NONE, rig.report.GetOsFamily());
}

TEST(SystemReport, WholeLayoutOnABoard)
{
    CSysinfoRig rig;
    rig.Board("bios family=ami text=\"09/03/2003-i865G-6728\"\n"
              "cpu vendor=GenuineIntel\nmemory kb=515568\n");
    rig.Os("winxp", OS_WINXP);
    rig.system.SetPhysicalMemoryKb(rig.board.MemoryKb(), 1000);
    rig.Reg((std::string(PROCESSOR_REG) +
             "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\"
             "VEN_8086&DEV_24D5&SUBSYS_A0027A51&REV_02\\3&267A616A&0&FD]\n"
             "\"Driver\"=\"{4D36E96C-E325-11CE-BFC1-08002BE10318}\\\\0000\"\n"
             "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\"
             "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\0000]\n"
             "\"DriverDesc\"=\"Intel(r) 82801EB AC'97 Audio Controller\"\n")
                .c_str());
    EXPECT_EQ("BIOS Info :09/03/2003-i865G-6728\r\n"
              "=================================\r\n"
              "CPU : intel (GenuineIntel)\r\n"
              "Identifier: x86 Family 15 Model 2 Stepping 9\r\n"
              "ProcessorNameString: Intel(R) Pentium(R) 4 CPU 2.40GHz\r\n"
              "=================================\r\n"
              "Memory size: 515,568  KB RAM\r\n"
              "================================\r\n"
              "Vendor ID: 8086\r\nDevice ID: 24D5\r\nSubSystem ID: A0027A51\r\nReversion : 02\r\n"
              "Description: Intel(r) 82801EB AC'97 Audio Controller\r\n"
              "================================  \r\n",
              rig.Compose());

    // A failed version query leaves the device section out; the rest stays.
    rig.system.FailVersionQuery(true, true);
    std::string report = rig.Compose();
    EXPECT_EQ(std::string::npos, report.find("Vendor ID"));
    EXPECT_NE(std::string::npos, report.find("KB RAM\r\n================================\r\n"));
}

TEST(SystemReport, VendorLineAndBiosTextFollowTheBoard)
{
    const struct {
        const char* cpuLine;
        const char* line;
    } rows[] = {
        {"cpu vendor=AuthenticAMD", "CPU : AMD (AuthenticAMD)\r\n"},
        {"cpu vendor=CyrixInstead", "CPU : Cyrix \r\n"},
        {"cpu vendor=GenuineTMx86", "\r\n"},
        {"cpu none", "\r\n"},
    };
    for (const auto& row : rows) {
        CSysinfoRig rig;
        rig.Board(
            (std::string("bios family=other text=\"Award v6.00PG\"\n") + row.cpuLine).c_str());
        rig.Os("win98se", OS_WIN98SE);
        std::string report = rig.Compose();
        EXPECT_EQ(std::string("BIOS Info :Award v6.00PG\r\n=================================\r\n") +
                      row.line + "\r\n=================================\r\nMemory size: ",
                  report.substr(0, report.find("Memory size: ") + 13))
            << row.cpuLine;
    }
}
