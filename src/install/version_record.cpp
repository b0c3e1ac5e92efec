// The installed-version record: one value per driver caption under "Software\Fetchyard",
// shared with the maker's download utility, telling which driver versions are installed.
#include "install/version_record.h"

#include <cstring>

#include "platform/registry.h"
#include "platform/window.h"
#include "skin/panel_table.h"
#include "state/dialog_state.h"

const char VERSION_RECORD_KEY[] = "Software\\Fetchyard";

namespace {

const char INSTALLED_TEXT[] = "installed";
const char NOT_INSTALLED_TEXT[] = "not installed";

}  // namespace

int CompareVersionText(const char* stored, const char* version)
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(stored);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(version);
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

CVersionRecord::CVersionRecord(Registry& registry, Window& window, PanelTable& panelTable,
                               const CDialogState& dialog)
    : registry(registry), window(window), panelTable(panelTable), dialog(dialog)
{
}

bool CVersionRecord::ReadStoredVersion(RegKey key, const char* caption, char* stored)
{
    uint32_t type = 0;
    uint32_t size = VERSION_RECORD_VALUE_SIZE;
    stored[0] = '\0';
    if (!registry.QueryValue(key, caption, &type, reinterpret_cast<uint8_t*>(stored), &size)) {
        stored[0] = '\0';
        return false;
    }
    // A value without its terminating zero still ends inside the buffer.
    if (size >= VERSION_RECORD_VALUE_SIZE) size = VERSION_RECORD_VALUE_SIZE - 1;
    stored[size] = '\0';
    return true;
}

void CVersionRecord::WriteVersion(RegKey key, const char* caption, const char* version)
{
    registry.SetValue(key, caption, REG_TYPE_SZ, reinterpret_cast<const uint8_t*>(version),
                      static_cast<uint32_t>(strlen(version) + 1));
}

void CVersionRecord::RefreshInstalledState(int k)
{
    if (k < 0 || k >= PANEL_ITEM_CAPACITY) return;
    PanelItem& row = panelTable.panels[0].items[k];
    RegKey key = 0;
    char stored[VERSION_RECORD_VALUE_SIZE + 1] = {};
    bool installed = false;
    if (registry.OpenKey(REG_HKEY_CURRENT_USER, VERSION_RECORD_KEY, &key)) {
        installed = ReadStoredVersion(key, row.caption.c_str(), stored) &&
                    CompareVersionText(stored, row.version.c_str()) >= 0;
        registry.CloseKey(key);
    }
    if (installed) {
        row.state = 1;
        row.checked = 0;
    } else {
        row.state = 0;
    }
    row.installedText = INSTALLED_TEXT;
    row.notInstalledText = NOT_INSTALLED_TEXT;
}

void CVersionRecord::RecordInstalledVersion(int k)
{
    if (k < 0 || k >= PANEL_ITEM_CAPACITY) return;
    PanelItem& row = panelTable.panels[0].items[k];
    RegKey key = 0;
    if (!registry.OpenKey(REG_HKEY_CURRENT_USER, VERSION_RECORD_KEY, &key)) {
        if (registry.CreateKey(REG_HKEY_CURRENT_USER, VERSION_RECORD_KEY, &key)) {
            WriteVersion(key, row.caption.c_str(), row.version.c_str());
            registry.CloseKey(key);
        }
        return;
    }
    char stored[VERSION_RECORD_VALUE_SIZE + 1] = {};
    if (ReadStoredVersion(key, row.caption.c_str(), stored)) {
        if (CompareVersionText(stored, row.version.c_str()) >= 0) {
            row.state = 1;
            int r = k - dialog.DriverRowItem(0);
            if (r >= 0 && r < dialog.rowCheckBoxCount) {
                uint32_t box = CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(r);
                window.SetCheck(box, 1);
                window.EnableControl(box, false);
            }
        }
        WriteVersion(key, row.caption.c_str(), row.version.c_str());
    } else if (row.checked == 1) {
        WriteVersion(key, row.caption.c_str(), row.version.c_str());
    }
    registry.CloseKey(key);
}
