// The installed-version record: byte-wise version order, the installed check of a driver row
// and what recording an installed version writes, on the simulated registry.
#include <gtest/gtest.h>

#include <string>

#include "install/version_record.h"
#include "skin/panels.h"
#include "unit/skin/skin_rig.h"

namespace {

TEST(CompareVersionText, IsByteOrderNotNumberOrder)
{
    EXPECT_EQ(0, CompareVersionText("1.10", "1.10"));
    EXPECT_GT(CompareVersionText("1.9", "1.10"), 0);
    EXPECT_LT(CompareVersionText("2.10", "2.9"), 0);
    EXPECT_GT(CompareVersionText("9.0", "10.0"), 0);
    EXPECT_LT(CompareVersionText("1.0", "1.0a"), 0) << "a leading part is smaller";
    EXPECT_GT(CompareVersionText("1.0\xE9", "1.0z"), 0) << "bytes compare unsigned";
    EXPECT_LT(CompareVersionText("", "1"), 0);
}

class VersionRecordTest : public ::testing::Test {
protected:
    VersionRecordTest()
    {
        rig.Entry("Audio Driver", "Audio\\", "setup.exe", "1.10");
        rig.File("bmp.ini", "[Common]\ntotal=7\n[Panel0]\ntotal=3\n");
        CPanelLoader(*rig.dialog).LoadAllPanels();
    }
    PanelItem& Row() { return rig.PanelAt(0).items[10]; }
    std::string Stored()
    {
        RegKey key = 0;
        if (!rig.machine.registry.OpenKey(REG_HKEY_CURRENT_USER, VERSION_RECORD_KEY, &key))
            return "<no key>";
        char value[256] = {};
        uint32_t type = 0;
        uint32_t size = sizeof value - 1;
        bool found = rig.machine.registry.QueryValue(key, "Audio Driver", &type,
                                                     reinterpret_cast<uint8_t*>(value), &size);
        rig.machine.registry.CloseKey(key);
        if (!found) return "<no value>";
        EXPECT_EQ(REG_TYPE_SZ, type);
        EXPECT_EQ(strlen(value) + 1, size) << "the terminating zero is stored";
        return value;
    }

    CSkinRig rig;
};

TEST_F(VersionRecordTest, InstalledWhenTheStoredVersionIsNotOlder)
{
    struct {
        const char* stored;
        int installed;
    } cases[] = {{"1.10", 1}, {"1.9", 1}, {"1.1", 0}, {"1.10a", 1}, {"", 0}};
    for (const auto& c : cases) {
        rig.StoredVersion("Audio Driver", c.stored);
        Row().checked = 1;
        Row().installedText.Clear();
        CVersionRecord(*rig.dialog).RefreshInstalledState(10);
        EXPECT_EQ(c.installed, Row().state) << c.stored;
        EXPECT_EQ(c.installed ? 0 : 1, Row().checked) << c.stored;
        EXPECT_STREQ("installed", Row().installedText.c_str());
    }
}

TEST_F(VersionRecordTest, AStoredValueLongerThanTheBufferIsNotInstalled)
{
    rig.StoredVersion("Audio Driver", std::string(300, '9').c_str());
    CVersionRecord(*rig.dialog).RefreshInstalledState(10);
    EXPECT_EQ(0, Row().state);
    EXPECT_STREQ("not installed", Row().notInstalledText.c_str());
}

TEST_F(VersionRecordTest, NoKeyMeansNotInstalled)
{
    Row().state = 1;
    CVersionRecord(*rig.dialog).RefreshInstalledState(10);
    EXPECT_EQ(0, Row().state);
}

TEST_F(VersionRecordTest, RecordingCreatesTheKeyWithTheVersion)
{
    CVersionRecord(*rig.dialog).RecordInstalledVersion(10);
    EXPECT_EQ("1.10", Stored());
}

TEST_F(VersionRecordTest, RecordingOverANewerVersionMarksTheRowInstalled)
{
    rig.StoredVersion("Audio Driver", "1.9");
    rig.machine.window.SetCheck(200, 0);
    CVersionRecord(*rig.dialog).RecordInstalledVersion(10);
    EXPECT_EQ(1, Row().state);
    EXPECT_EQ(1, rig.machine.window.GetCheck(200));
    EXPECT_FALSE(rig.machine.window.Control(200)->enabled);
    EXPECT_EQ("1.10", Stored()) << "written again with the row's version";
}

TEST_F(VersionRecordTest, RecordingOverAnOlderVersionReplacesIt)
{
    rig.StoredVersion("Audio Driver", "1.1");
    CVersionRecord(*rig.dialog).RecordInstalledVersion(10);
    EXPECT_EQ("1.10", Stored());
    EXPECT_EQ(0, Row().state) << "the sequencer marks the row, not the record";
    EXPECT_TRUE(rig.machine.window.Control(200)->enabled);
}

TEST_F(VersionRecordTest, ANewValueIsWrittenOnlyForATickedRow)
{
    rig.StoredVersion("Other Driver", "1.0");
    Row().checked = 0;
    CVersionRecord(*rig.dialog).RecordInstalledVersion(10);
    EXPECT_EQ("<no value>", Stored());
    Row().checked = 1;
    CVersionRecord(*rig.dialog).RecordInstalledVersion(10);
    EXPECT_EQ("1.10", Stored());
    EXPECT_EQ(0u, rig.machine.registry.OpenHandleCount()) << "every key is closed";
}

}  // namespace
