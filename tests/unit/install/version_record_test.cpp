// The installed-version record: byte-wise version order, the installed check of a driver row
// and what recording an installed version writes, on the simulated registry.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "install/version_record.h"
#include "platform/sim/sim_machine.h"
#include "skin/panels.h"
#include "state/dialog_state.h"

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

// Only what the record takes: the registry and the window of a simulated PC, a panel table
// and the dialog's data, with one driver row at item 10 and its check box 200.
class VersionRecordTest : public ::testing::Test {
protected:
    VersionRecordTest() : panels(new PanelTable())
    {
        dialog.commonCount = PANEL_COMMON_ITEMS;
        dialog.rowCheckBoxCount = 1;
        machine.window.CreateCheckBox(200, CRect{220, 120, 235, 133}, "Audio Driver");
        machine.window.SetCheck(200, 1);
        Row().caption = "Audio Driver";
        Row().version = "1.10";
        Row().checked = 1;
    }
    PanelItem& Row() { return panels->panels[0].items[10]; }
    CVersionRecord Record()
    {
        return CVersionRecord(machine.registry, machine.window, *panels, dialog);
    }
    void StoredVersion(const char* caption, const char* version)
    {
        std::string reg = std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Fetchyard]\n\"") +
                          caption + "\"=\"" + version + "\"\n";
        FixedText<256> error;
        ASSERT_TRUE(machine.registry.LoadRegText(reg.c_str(), &error)) << error.c_str();
    }
    std::string Stored()
    {
        RegKey key = 0;
        if (!machine.registry.OpenKey(REG_HKEY_CURRENT_USER, VERSION_RECORD_KEY, &key))
            return "<no key>";
        char value[256] = {};
        uint32_t type = 0;
        uint32_t size = sizeof value - 1;
        bool found = machine.registry.QueryValue(key, "Audio Driver", &type,
                                                 reinterpret_cast<uint8_t*>(value), &size);
        machine.registry.CloseKey(key);
        if (!found) return "<no value>";
        EXPECT_EQ(REG_TYPE_SZ, type);
        EXPECT_EQ(strlen(value) + 1, size) << "the terminating zero is stored";
        return value;
    }

    CSimMachine machine;
    std::unique_ptr<PanelTable> panels;
    CDialogState dialog;
};

TEST_F(VersionRecordTest, InstalledWhenTheStoredVersionIsNotOlder)
{
    struct {
        const char* stored;
        int installed;
    } cases[] = {{"1.10", 1}, {"1.9", 1}, {"1.1", 0}, {"1.10a", 1}, {"", 0}};
    for (const auto& c : cases) {
        StoredVersion("Audio Driver", c.stored);
        Row().checked = 1;
        Row().installedText.Clear();
        Record().RefreshInstalledState(10);
        EXPECT_EQ(c.installed, Row().state) << c.stored;
        EXPECT_EQ(c.installed ? 0 : 1, Row().checked) << c.stored;
        EXPECT_STREQ("installed", Row().installedText.c_str());
    }
}

TEST_F(VersionRecordTest, AStoredValueLongerThanTheBufferIsNotInstalled)
{
    StoredVersion("Audio Driver", std::string(300, '9').c_str());
    Record().RefreshInstalledState(10);
    EXPECT_EQ(0, Row().state);
    EXPECT_STREQ("not installed", Row().notInstalledText.c_str());
}

TEST_F(VersionRecordTest, NoKeyMeansNotInstalled)
{
    Row().state = 1;
    Record().RefreshInstalledState(10);
    EXPECT_EQ(0, Row().state);
}

TEST_F(VersionRecordTest, RecordingCreatesTheKeyWithTheVersion)
{
    Record().RecordInstalledVersion(10);
    EXPECT_EQ("1.10", Stored());
}

TEST_F(VersionRecordTest, RecordingOverANewerVersionMarksTheRowInstalled)
{
    StoredVersion("Audio Driver", "1.9");
    machine.window.SetCheck(200, 0);
    Record().RecordInstalledVersion(10);
    EXPECT_EQ(1, Row().state);
    EXPECT_EQ(1, machine.window.GetCheck(200));
    EXPECT_FALSE(machine.window.Control(200)->enabled);
    EXPECT_EQ("1.10", Stored()) << "written again with the row's version";
}

TEST_F(VersionRecordTest, RecordingOverAnOlderVersionReplacesIt)
{
    StoredVersion("Audio Driver", "1.1");
    Record().RecordInstalledVersion(10);
    EXPECT_EQ("1.10", Stored());
    EXPECT_EQ(0, Row().state) << "the sequencer marks the row, not the record";
    EXPECT_TRUE(machine.window.Control(200)->enabled);
}

TEST_F(VersionRecordTest, ANewValueIsWrittenOnlyForATickedRow)
{
    StoredVersion("Other Driver", "1.0");
    Row().checked = 0;
    Record().RecordInstalledVersion(10);
    EXPECT_EQ("<no value>", Stored());
    Row().checked = 1;
    Record().RecordInstalledVersion(10);
    EXPECT_EQ("1.10", Stored());
    EXPECT_EQ(0u, machine.registry.OpenHandleCount()) << "every key is closed";
}

}  // namespace
