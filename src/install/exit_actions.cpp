// Leaving the program: the close handler, the start-up clean-up of an older state key, the
// Exit button and the maker's web site.
#include "install/exit_actions.h"

#include "install/resume.h"
#include "platform/platform.h"
#include "state/program_end.h"
#include "state/program_state.h"

const char EXIT_MSIEXEC_FILE[] = "msiexec.exe";
const char EXIT_MSI_DLL_FILE[] = "msi.dll";
const char EXIT_LEGACY_KEY[] = "Software\\zov";
const char EXIT_DEFAULT_WEB_SITE[] = "http://www.example.com/";

namespace {

const char LEGACY_ITEM_VALUE[] = "item";
const char SYSTEM_SUBFOLDER[] = "\\system\\";
const uint32_t FILE_ATTRIBUTE_ARCHIVE_ONLY = 0x20;
const uint32_t WINDOWS_DIR_SIZE = 260;

}  // namespace

CExitActions::CExitActions(CPlatform& platform, CProgramState& state, CProgramEnd& end)
    : platform(platform), state(state), dialog(state.dialog), end(end)
{
}

void CExitActions::DeleteInstallerFiles(const char* folder, bool clearAttributes)
{
    Files& files = platform.files;
    const char* names[2] = {EXIT_MSIEXEC_FILE, EXIT_MSI_DLL_FILE};
    for (const char* name : names) {
        FixedText<SYSTEM_FOLDER_SIZE + 16> path = folder;
        path.Append(name);
        // A read-only file would refuse to go.
        if (clearAttributes) files.SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_ARCHIVE_ONLY);
        files.DeleteFile(path.c_str());
    }
}

void CExitActions::OnClose()
{
    if (state.keepResumeState != 1) DeleteResumeState(platform.registry);
    if (state.hw.osCode == OS_WIN98SE) {
        DeleteInstallerFiles(state.systemFolder.c_str(), false);
    }
}

void CExitActions::CleanLegacyState()
{
    Registry& registry = platform.registry;
    RegKey key = 0;
    if (!registry.OpenKey(REG_HKEY_CURRENT_USER, EXIT_LEGACY_KEY, &key)) return;
    registry.DeleteValue(key, LEGACY_ITEM_VALUE);
    registry.CloseKey(key);
    registry.DeleteKey(REG_HKEY_CURRENT_USER, EXIT_LEGACY_KEY);

    char windowsDir[WINDOWS_DIR_SIZE] = {};
    platform.files.GetWindowsDirectory(windowsDir, sizeof windowsDir);
    FixedText<SYSTEM_FOLDER_SIZE> folder = windowsDir;
    folder.Append(SYSTEM_SUBFOLDER);
    DeleteInstallerFiles(folder.c_str(), true);
}

void CExitActions::ExitAndForget()
{
    DeleteResumeState(platform.registry);
    end.EndProgram();
}

const char* CExitActions::MakerWebSite() const
{
    const PanelItem& web = state.panelTable.panels[0].items[PANEL_ITEM_WEB];
    return web.command.Empty() ? EXIT_DEFAULT_WEB_SITE : web.command.c_str();
}

void CExitActions::OpenMakerWebSite()
{
    platform.processes.ShellOpen(MakerWebSite(), nullptr, nullptr);
    if (dialog.toolScrollBarCreated) {
        platform.window.ShowControl(CONTROL_TOOL_SCROLL_BAR, false);
    }
}
