// The simulated file service: Windows paths on mapped host folders, case-blind lookup, the
// program's folders, deletion and attributes, and where profile reads look.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/sim/sim_files.h"
#include "temp_dir.h"

namespace {

std::string Full(const CSimFiles& files, const char* path)
{
    std::string full;
    return files.FullPath(path, &full) ? full : "<bad>";
}

std::string CurrentDir(CSimFiles& files)
{
    char buf[260];
    uint32_t n = files.GetCurrentDirectory(buf, sizeof(buf));
    return std::string(buf, n);
}

// A CD on E: and a hard disk on C: whose names differ in case from what the program asks for.
class SimFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cd = dir.MakeDir("cd");
        dir.MakeDir("cd/Drivers/LAN");
        dir.Write("cd/ID.LOG", "");
        dir.Write("cd/Drivers/LAN/Setup.exe", "MZ\x90");
        disk = dir.MakeDir("disk");
        dir.MakeDir("disk/Windows");
        ASSERT_TRUE(files.MapDrive('E', cd.c_str()));
        ASSERT_TRUE(files.MapDrive('c', disk.c_str()));
    }

    CTempDir dir;
    std::string cd;
    std::string disk;
    CSimFiles files;
};

}  // namespace

TEST_F(SimFilesTest, WindowsPathsReachTheMappedFolderWhateverTheirCase)
{
    EXPECT_TRUE(files.CanOpenForReading("E:\\id.log"));
    EXPECT_TRUE(files.CanOpenForReading("e:\\\\id.log"));
    EXPECT_TRUE(files.CanOpenForReading("E:/drivers/lan/SETUP.EXE"));
    EXPECT_TRUE(files.CanOpenForReading("E:\\Drivers\\..\\Drivers\\.\\LAN\\setup.exe"));
    EXPECT_FALSE(files.CanOpenForReading("C:\\id.log"));
    EXPECT_FALSE(files.CanOpenForReading("F:\\id.log")) << "an unmapped drive has no files";
    EXPECT_FALSE(files.CanOpenForReading("E:\\Drivers")) << "a folder is not a file";
    EXPECT_FALSE(files.CanOpenForReading("E:\\id.log\\more"));
    EXPECT_FALSE(files.CanOpenForReading(""));

    std::string host;
    ASSERT_TRUE(files.HostPath("e:\\DRIVERS\\lan\\setup.EXE", &host));
    EXPECT_EQ(cd + "/Drivers/LAN/Setup.exe", host);
    std::vector<char> bytes;
    ASSERT_TRUE(files.ReadWholeFile("E:\\DRIVERS\\LAN\\SETUP.EXE", SIZE_MAX, &bytes));
    EXPECT_EQ(std::string("MZ\x90", 3), std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(files.ReadWholeFile("E:\\DRIVERS\\LAN\\missing.exe", SIZE_MAX, &bytes));

    // Only C to Z, and only onto folders that exist.
    EXPECT_FALSE(files.MapDrive('A', cd.c_str()));
    EXPECT_FALSE(files.MapDrive('B', cd.c_str()));
    EXPECT_FALSE(files.MapDrive('D', (dir.Path() + "/none").c_str()));
    EXPECT_FALSE(files.MapDrive('D', (cd + "/ID.LOG").c_str()));
    ASSERT_TRUE(files.MapDrive('E', nullptr));
    EXPECT_FALSE(files.CanOpenForReading("E:\\id.log"));
}

TEST_F(SimFilesTest, RelativePathsResolveAgainstTheCurrentDirectory)
{
    // The current directory starts as the program's folder.
    EXPECT_EQ("E:\\", CurrentDir(files));
    files.SetProgramFile("E:\\Drivers\\tova.exe");
    EXPECT_EQ("E:\\Drivers", CurrentDir(files));
    char module[64];
    EXPECT_EQ(19u, files.GetModuleFileName(module, sizeof(module)));
    EXPECT_STREQ("E:\\Drivers\\tova.exe", module);

    EXPECT_EQ("E:\\Drivers\\LAN\\setup.exe", Full(files, "LAN\\setup.exe"));
    EXPECT_EQ("E:\\id.log", Full(files, "..\\..\\..\\id.log")) << "\"..\" stops at the root";
    EXPECT_EQ("E:\\bmp.ini", Full(files, "\\bmp.ini"));
    EXPECT_EQ("E:\\Drivers\\bmp.ini", Full(files, "E:bmp.ini"));
    EXPECT_EQ("C:\\bmp.ini", Full(files, "C:bmp.ini")) << "another drive: its root";
    EXPECT_EQ("C:\\", Full(files, "C:"));
    EXPECT_EQ("<bad>", Full(files, "\\\\server\\share\\x"));
    EXPECT_TRUE(files.CanOpenForReading("LAN\\Setup.exe"));

    EXPECT_FALSE(files.SetCurrentDirectory("E:\\Missing"));
    EXPECT_FALSE(files.SetCurrentDirectory("E:\\id.log"));
    EXPECT_FALSE(files.SetCurrentDirectory("F:\\"));
    EXPECT_EQ("E:\\Drivers", CurrentDir(files));
    ASSERT_TRUE(files.SetCurrentDirectory("e:\\"));
    EXPECT_EQ("e:\\", CurrentDir(files));
    EXPECT_TRUE(files.CanOpenForReading("ID.LOG"));

    // Texts are cut to the buffer, never overrun.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(3u, files.GetModuleFileName(small, sizeof(small)));
    EXPECT_STREQ("E:\\", small);
    EXPECT_EQ(0u, files.GetWindowsDirectory(small, 0));
    EXPECT_EQ(3u, files.GetWindowsDirectory(small, 4));
    EXPECT_STREQ("C:\\", small);
    char windows[32];
    EXPECT_EQ(10u, files.GetWindowsDirectory(windows, sizeof(windows)));
    EXPECT_STREQ("C:\\WINDOWS", windows);
}

TEST_F(SimFilesTest, ReadOnlyFilesCannotBeDeletedUntilTheirAttributesAreCleared)
{
    dir.Write("disk/zov.log", "[ResponseResult]\nResultCode=0\n");
    ASSERT_TRUE(files.SetFileAttributes("c:\\ZOV.LOG", SIM_FILE_ATTRIBUTE_READONLY |
                                                          SIM_FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(SIM_FILE_ATTRIBUTE_READONLY | SIM_FILE_ATTRIBUTE_HIDDEN,
              files.GetFileAttributes("c:\\zov.log"));
    EXPECT_TRUE(files.CanOpenForReading("c:\\zov.log"));
    EXPECT_FALSE(files.DeleteFile("c:\\zov.log"));
    EXPECT_TRUE(dir.Exists("disk/zov.log"));

    ASSERT_TRUE(files.SetFileAttributes("c:\\zov.log", SIM_FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(SIM_FILE_ATTRIBUTE_NORMAL, files.GetFileAttributes("c:\\zov.log"));
    EXPECT_TRUE(files.DeleteFile("C:\\Zov.Log"));
    EXPECT_FALSE(dir.Exists("disk/zov.log"));
    EXPECT_FALSE(files.DeleteFile("c:\\zov.log"));
    EXPECT_EQ(SIM_INVALID_FILE_ATTRIBUTES, files.GetFileAttributes("c:\\zov.log"));
    EXPECT_FALSE(files.SetFileAttributes("c:\\zov.log", SIM_FILE_ATTRIBUTE_NORMAL));

    EXPECT_FALSE(files.DeleteFile("c:\\windows")) << "DeleteFile does not remove folders";
    EXPECT_EQ(SIM_FILE_ATTRIBUTE_DIRECTORY, files.GetFileAttributes("c:\\windows"));
}

TEST_F(SimFilesTest, ProfileReadsLookForABareNameInTheWindowsDirectory)
{
    dir.Write("disk/Windows/bmp.ini", "[Common]\ntitle=From Windows\n");
    dir.Write("cd/BMP.INI", "[Common]\ntitle=From the CD\n");
    ASSERT_TRUE(files.SetCurrentDirectory("E:\\"));
    char buf[64];
    EXPECT_EQ(12u, files.GetPrivateProfileString("Common", "title", "", buf, sizeof(buf),
                                                 "bmp.ini"));
    EXPECT_STREQ("From Windows", buf);
    EXPECT_EQ(11u, files.GetPrivateProfileString("Common", "title", "", buf, sizeof(buf),
                                                 "E:\\bmp.ini"));
    EXPECT_STREQ("From the CD", buf);
    // A name with a path part resolves against the current directory.
    EXPECT_EQ(11u, files.GetPrivateProfileString("Common", "title", "", buf, sizeof(buf),
                                                 ".\\bmp.ini"));
    EXPECT_STREQ("From the CD", buf);

    // A missing file gives the default, cut to the buffer like any value.
    EXPECT_EQ(7u, files.GetPrivateProfileString("Common", "title", "default", buf, sizeof(buf),
                                                "E:\\cht.ini"));
    EXPECT_STREQ("default", buf);
    EXPECT_EQ(3u, files.GetPrivateProfileString("Common", "title", "default", buf, 4,
                                                "F:\\bmp.ini"));
    EXPECT_STREQ("def", buf);
    EXPECT_EQ(4u, files.GetPrivateProfileString("Common", "title", "", buf, 5, "E:\\bmp.ini"));
    EXPECT_STREQ("From", buf);

    files.SetWindowsDirectory("E:\\");
    EXPECT_EQ(11u, files.GetPrivateProfileString("Common", "title", "", buf, sizeof(buf),
                                                 "bmp.ini"));
    EXPECT_STREQ("From the CD", buf);
}

TEST_F(SimFilesTest, ReadsAreCountedAndTheDriveModelChargesEachFileOnce)
{
    std::string picture(36864, 'p');  // 10 ms at 24 x 150 KB/s
    dir.Write("cd/Pic.bmp", picture);
    dir.Write("cd/bmp.ini", "[Common]\ntitle=T\n");
    files.ResetCost();
    std::vector<char> bytes;
    char buf[32];
    // The same file under three spellings, a profile file read twice, a missing file, a check.
    ASSERT_TRUE(files.ReadWholeFile("E:\\pic.bmp", SIZE_MAX, &bytes));
    ASSERT_TRUE(files.ReadWholeFile("e:\\PIC.BMP", SIZE_MAX, &bytes));
    ASSERT_TRUE(files.ReadWholeFile("E:\\Drivers\\..\\Pic.bmp", 100, &bytes));
    files.GetPrivateProfileString("Common", "title", "", buf, sizeof buf, "E:\\bmp.ini");
    files.GetPrivateProfileString("Common", "none", "", buf, sizeof buf, "E:\\BMP.INI");
    EXPECT_FALSE(files.ReadWholeFile("E:\\missing.bmp", SIZE_MAX, &bytes));
    EXPECT_TRUE(files.CanOpenForReading("E:\\id.log"));

    const CSimFileCost& cost = files.Cost();
    EXPECT_EQ(2u, cost.profileReads);
    EXPECT_EQ(3u, cost.filesOpened.size()) << "Pic.bmp, bmp.ini and ID.LOG; the missing one opens nothing";
    EXPECT_EQ(2 * picture.size() + 100 + 2 * 17, cost.bytesRead) << "every read counts here";
    // Three seeks, and Pic.bmp's and bmp.ini's bytes once each (rounded up to a millisecond).
    EXPECT_EQ(3 * 100 + 10 + 1, SimCdromMilliseconds(cost));

    files.ResetCost();
    EXPECT_EQ(0u, SimCdromMilliseconds(files.Cost()));
    EXPECT_EQ(0u, files.Cost().bytesRead);
}
