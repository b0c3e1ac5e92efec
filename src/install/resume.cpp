// The resume state of an installation run: the logon Run value "zzQTM" and the key
// "Software\QTM" with each row's state, which carry a run across restarts; and the two ways a
// run is taken up again (at start, and after the resume wait).
#include "install/resume.h"

#include <cstring>

#include "install/version_record.h"
#include "platform/platform.h"
#include "skin/panels.h"
#include "state/program_state.h"

const char RESUME_RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char RESUME_RUN_VALUE[] = "zzQTM";
const char RESUME_KEY[] = "Software\\QTM";
const char RESUME_ITEM_VALUE[] = "item";
const char RESUME_QUESTION_TEXT[] =
    "\"Rapid Setup \" will continue to install drivers.\nWould you like to proceed ?";
const char RESUME_QUESTION_CAPTION[] = "Driver CD install";

namespace {

const char INFUPDATE_FOLDER[] = "\\INFUPDATE\\";
const uint32_t MODULE_NAME_SIZE = 512;

FixedText<16> RowValueName(const char* prefix, int n)
{
    FixedText<16> name;
    name.Format("%s%d", prefix, n);
    return name;
}

}  // namespace

void DeleteResumeState(Registry& registry)
{
    RegKey run = 0;
    if (registry.OpenKey(REG_HKEY_LOCAL_MACHINE, RESUME_RUN_KEY, &run)) {
        registry.DeleteValue(run, RESUME_RUN_VALUE);
        registry.CloseKey(run);
    }
    registry.DeleteKey(REG_HKEY_CURRENT_USER, RESUME_KEY);
    registry.FlushKey(REG_HKEY_CURRENT_USER);
}

CResumeState::CResumeState(CPlatform& platform, CProgramState& state)
    : platform(platform), state(state), dialog(state.dialog)
{
}

bool CResumeState::WriteResumeList(bool* needsRestart)
{
    Registry& registry = platform.registry;
    if (needsRestart) *needsRestart = false;
    char program[MODULE_NAME_SIZE] = {};
    platform.files.GetModuleFileName(program, sizeof program);
    RegKey run = 0;
    if (registry.CreateKey(REG_HKEY_LOCAL_MACHINE, RESUME_RUN_KEY, &run)) {
        registry.SetValue(run, RESUME_RUN_VALUE, REG_TYPE_SZ,
                          reinterpret_cast<const uint8_t*>(program),
                          static_cast<uint32_t>(strlen(program) + 1));
        registry.CloseKey(run);
    }
    RegKey key = 0;
    if (registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key)) {
        // A run that resumes keeps the list it stored.
        registry.CloseKey(key);
        return false;
    }
    if (!registry.CreateKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key)) return false;
    CVersionRecord record(platform.registry, platform.window, state.panelTable, dialog);
    PanelItem* items = state.panelTable.panels[0].items;
    for (int n = 0; n < dialog.rowCheckBoxCount; ++n) {
        int k = dialog.DriverRowItem(n);
        PanelItem& row = items[k];
        record.RefreshInstalledState(k);
        if (!platform.window.IsControlEnabled(CONTROL_ROW_CHECK_BOX_FIRST + n)) {
            row.checked = 0;
        }
        if (dialog.installList.items[n].selected != 1 || row.checked != 1) continue;
        registry.SetValue(key, RowValueName("exe_", n).c_str(), REG_TYPE_SZ,
                          reinterpret_cast<const uint8_t*>(row.command.c_str()),
                          static_cast<uint32_t>(row.command.Length() + 1));
        uint8_t pending = RESUME_ROW_PENDING;
        registry.SetValue(key, RowValueName("inst_", n).c_str(), REG_TYPE_BINARY, &pending, 1);
        FixedText<PANEL_COMMAND_SIZE> upper = row.command;
        for (char* c = upper.Buffer(); *c; ++c) {
            if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
        }
        if (needsRestart && strstr(upper.c_str(), INFUPDATE_FOLDER)) *needsRestart = true;
    }
    // "item" goes last: a key without it is a list that was cut off before the run began.
    uint8_t count = dialog.installList.itemCount;
    registry.SetValue(key, RESUME_ITEM_VALUE, REG_TYPE_BINARY, &count, 1);
    registry.CloseKey(key);
    return true;
}

void CResumeState::SetRowResumeState(int n, uint8_t rowState)
{
    Registry& registry = platform.registry;
    RegKey key = 0;
    if (registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key)) {
        registry.SetValue(key, RowValueName("inst_", n).c_str(), REG_TYPE_BINARY, &rowState, 1);
        registry.CloseKey(key);
    }
    registry.FlushKey(REG_HKEY_CURRENT_USER);
}

void CResumeState::MarkRowFinished(int n)
{
    Registry& registry = platform.registry;
    RegKey key = 0;
    if (registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key)) {
        uint8_t finished = RESUME_ROW_FINISHED;
        registry.SetValue(key, RowValueName("inst_", n).c_str(), REG_TYPE_BINARY, &finished, 1);
        uint32_t box = CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(n);
        platform.window.SetCheck(box, 1);
        platform.window.EnableControl(box, false);
        registry.CloseKey(key);
    }
    registry.FlushKey(REG_HKEY_CURRENT_USER);
}

void CResumeState::RestoreResumeSelection()
{
    Registry& registry = platform.registry;
    Window& window = platform.window;
    PanelItem* items = state.panelTable.panels[0].items;
    int resumeRow = PANEL_NONE;
    bool pendingSeen = false;
    for (int n = 0; n < dialog.rowCheckBoxCount; ++n) {
        RegKey key = 0;
        if (!registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key)) continue;
        uint8_t stored = 0;
        uint32_t type = 0;
        uint32_t size = 1;
        bool read = registry.QueryValue(key, RowValueName("inst_", n).c_str(), &type, &stored,
                                        &size) && size == 1;
        registry.CloseKey(key);
        PanelItem& row = items[dialog.DriverRowItem(n)];
        uint32_t box = CONTROL_ROW_CHECK_BOX_FIRST + static_cast<uint32_t>(n);
        if (!read) {
            row.checked = 0;
            window.SetCheck(box, 0);
        } else if (stored == RESUME_ROW_FINISHED) {
            row.checked = 0;
            window.SetCheck(box, 1);
            window.EnableControl(box, false);
        } else if (stored == RESUME_ROW_STARTED) {
            // Only the last started row is tried again.
            if (resumeRow != PANEL_NONE) items[dialog.DriverRowItem(resumeRow)].checked = 0;
            resumeRow = n;
            row.checked = 1;
            window.SetCheck(box, 1);
            window.EnableControl(box, true);
        } else if (stored == RESUME_ROW_PENDING) {
            pendingSeen = true;
            row.checked = 1;
            window.SetCheck(box, 1);
            window.EnableControl(box, true);
        }
    }
    // A run that stopped while its first row was the only one left does not repeat it.
    if (resumeRow == 0 && !pendingSeen) items[dialog.DriverRowItem(0)].checked = 0;
}

bool CResumeState::ListComplete()
{
    Registry& registry = platform.registry;
    RegKey key = 0;
    if (!registry.OpenKey(REG_HKEY_CURRENT_USER, RESUME_KEY, &key)) return false;
    uint8_t count = 0;
    uint32_t type = 0;
    uint32_t size = 1;
    bool complete = registry.QueryValue(key, RESUME_ITEM_VALUE, &type, &count, &size);
    registry.CloseKey(key);
    return complete;
}
