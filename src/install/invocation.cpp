// Starting one driver package: its kind from its folder, its silent command line, the two ways
// of running it, and the waits on the installers' result log "c:\zov.log".
#include "install/invocation.h"

#include <cstring>
#include <vector>

#include "hw/hw_state.h"

const char RESULT_LOG_FILE[] = "c:\\zov.log";
const char RESULT_LOG_RESULT_CODE[] = "ResultCode";

const char* const flaggedFolders[FLAGGED_FOLDER_COUNT] = {
    "\\INFUPDATE\\",
    "\\IAA\\",
    "\\4IN1\\",
    "\\IAA_RAID\\",
};

const char* const noWaitFolders[NO_WAIT_FOLDER_COUNT] = {
    "\\ADI\\VXD_M\\",
    "\\ADI\\WDM\\",
    "\\ADI\\WIN NT\\",
    "\\WINBOND\\SMART_MANAGER\\",
    "\\SIGMATEL\\98\\",
    "\\ENABLEUSBS3XP1\\",
    "\\USB20\\2KXP\\",
    "\\USB20\\WIN98ME\\",
    "\\USB20\\PATCH\\",
    "\\PROMISE\\ATA100\\",
    "\\PROMISE\\ATA133\\",
    "\\PROMISE\\PROMISE_376\\",
    "\\SI3112R\\",
    "\\SI3112\\",
    "\\IDERAID\\CHIP20265\\DRIVER\\",
    "\\IDERAID\\CHIP20276\\DRIVER\\",
    "\\USB20\\NECUSB\\",
    "\\CT5880\\DRIVERS\\WIN98DRV",
    "\\AMD\\A761_V686\\FILTER\\",
    "\\AMD\\A761_V686\\IDE\\",
    "\\AMD\\SIS\\USB\\98_ME\\",
    "\\AUDIO\\VIA686\\VIA686\\",
    "\\AUDIO\\VIA8233\\VIA8233\\",
    "\\CHIPSET\\VIA\\USB2.0",
    "\\CHIPSET\\VIA\\VT8501\\WIN9X",
    "\\CHIPSET\\VIA\\VT8501\\WIN2000",
    "\\CHIPSET\\SIS\\IDE\\",
    "\\SIS\\IDE\\",
    "\\SIS\\SIS630\\2.07A\\WIN2K_XP\\",
    "\\SIS\\SIS630\\2.07A\\WIN9X\\",
    "\\SIS\\SIS635_645_650_733_735\\AGP113\\",
    "\\SIS\\SIS650\\VGA\\WIN2K_XP\\",
    "\\SIS\\SIS650\\VGA\\WIN9X\\",
    "\\SIS\\SIS650\\VGA\\WIN98_ME\\",
    "\\NETWORK\\SIS630\\",
    "\\AUDIO\\SIS7012\\",
    "\\AUDIO\\SIS7018\\",
    "\\CHIPSET\\SIS\\USB\\98_ME\\",
    "\\CHIPSET\\VIA\\VT8601\\",
    "\\CHIPSET\\VIA\\VT8365\\",
    "\\CHIPSET\\VIA\\VT8501\\",
    "\\CHIPSET\\VIA\\KM266\\",
    "\\CHIPSET\\VIA\\VT6202USB2.0",
    "\\CHIPSET\\AMD\\K8_B02111201\\",
    "\\CHIPSET\\SIS\\SIS635_645_650_733_735\\HT_AGP11303\\",
    "\\AUDIO\\HT_SIS7012\\",
    "\\NETWORK\\AMR\\",
    "\\CHIPSET\\AMD\\K8_B03013001\\",
};

const char* const raidMarkers[RAID_MARKER_COUNT] = {
    "OTHER\\SII\\SI3112",
    "OTHER\\PROMISE",
    "OTHER\\ITE_RAID",
};

const char* const restartFolders[RESTART_FOLDER_COUNT] = {
    "\\INFUPDATE\\",
};

const char* const exitFolders9x[EXIT_FOLDER_9X_COUNT] = {
    "\\CLE266\\9XME\\",
    "\\KM400\\9XME\\",
};

const char* const vgaExitFolders9x[VGA_EXIT_FOLDER_9X_COUNT] = {
    "\\SIS\\SIS650\\VGA\\WIN98_ME",
    "\\SIS\\SIS650\\VGA\\WIN9X",
    "\\VIA\\VT8601\\WHQL\\WIN9XME",
    "\\VIA\\KM266\\WIN9X",
};

const char* const usb2Folders[USB2_FOLDER_COUNT] = {
    "\\CHIPSET\\USB20\\2KXP\\",
    "\\CHIPSET\\VIA\\VT6202USB2.0\\",
    "\\CHIPSET\\VIA\\USB2.0\\",
    "\\CHIPSET\\SIS\\USB\\WINXP\\",
    "\\CHIPSET\\NUSB\\",
};

namespace {

// Markers of single packages. Some have no backslash at one end on purpose: they match longer
// folder names too.
const char MARK_INTEL_LAN[] = "\\NETWORK\\INTEL";
const char MARK_PROMISE_RAID[] = "OTHER\\PROMISE\\";
const char MARK_SIL_RAID[] = "OTHER\\SII\\SI3112";
const char MARK_ITE_RAID[] = "OTHER\\ITE_RAID";
const char MARK_VIA_USB2[] = "CHIPSET\\VIA\\USB2.0";
const char MARK_SIS_AGP[] = "\\SIS\\SIS635_645_650_733_735\\";

// The switches after the setup program's path.
const char SWITCHES_PLAIN[] = " -s -f2\"c:\\zov.log\"";
const char SWITCHES_INFUPDATE[] = " -a -s -b -f2\"c:\\zov.log\"";
const char SWITCHES_INFUPDATE_9X[] = " -a -s -f2\"c:\\zov.log\"";
const char SWITCHES_IAA[] = " -a -s -f2\"c:\\zov.log\"";
const char SWITCHES_4IN1[] = " -b -s -f2\"c:\\zov.log\"";
// The response file comes from the package's own folder, between these two parts.
const char SWITCHES_RESPONSE_FILE_HEAD[] = " -s -f1\"";
const char SWITCHES_RESPONSE_FILE_TAIL[] = "setup1.iss\" -f2\"c:\\zov.log\"";

static_assert(2 * (PANEL_COMMAND_SIZE - 1) + sizeof(SWITCHES_RESPONSE_FILE_HEAD) - 1 +
                      sizeof(SWITCHES_RESPONSE_FILE_TAIL) - 1 <
                  COMMAND_LINE_SIZE,
              "the longest path's response-file command line fits whole");

const char* FlaggedSwitches(int flagVariant, uint8_t osCode)
{
    switch (flagVariant) {
    case FLAG_VARIANT_INFUPDATE:
        return IsInstall9x(osCode) ? SWITCHES_INFUPDATE_9X : SWITCHES_INFUPDATE;
    case FLAG_VARIANT_IAA:
    case FLAG_VARIANT_IAA_RAID:
        return SWITCHES_IAA;
    case FLAG_VARIANT_4IN1:
        return SWITCHES_4IN1;
    default:
        return SWITCHES_PLAIN;
    }
}

bool UsesResponseFile(uint8_t installKind)
{
    return installKind == INSTALL_KIND_PROMISE_RAID || installKind == INSTALL_KIND_SIL_RAID ||
           installKind == INSTALL_KIND_VIA_USB2 || installKind == INSTALL_KIND_SIS_AGP ||
           installKind == INSTALL_KIND_ITE_RAID;
}

// Whether a poll that has already paused `paused` ms may pause once more within the limit.
bool MayPauseAgain(uint32_t paused, uint32_t pollMs, uint32_t limitMs)
{
    return paused <= limitMs && limitMs - paused >= pollMs;
}

}  // namespace

bool HoldsFolderEntry(const char* upperText, const char* const* list, size_t count)
{
    return CountFolderEntries(upperText, list, count) > 0;
}

int CountFolderEntries(const char* upperText, const char* const* list, size_t count)
{
    int found = 0;
    if (!upperText) return 0;
    for (size_t i = 0; i < count; ++i) {
        if (strstr(upperText, list[i])) ++found;
    }
    return found;
}

void UpperCaseText(char* text)
{
    for (char* c = text; c && *c; ++c) {
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    }
}

void LowerCaseText(char* text)
{
    for (char* c = text; c && *c; ++c) {
        if (*c >= 'A' && *c <= 'Z') *c = static_cast<char>(*c - 'A' + 'a');
    }
}

bool IsInstall9x(uint8_t osCode)
{
    return osCode == OS_WIN98SE || osCode == OS_WINME;
}

// The tests run in a fixed order and later ones override earlier ones; only the Intel LAN
// marker skips the middle ones, and the SiS AGP marker overrides everything.
CRowClass ClassifyRow(const char* command, uint8_t raidRowCount, uint8_t osCode)
{
    CRowClass row = {INSTALL_KIND_PLAIN, FLAG_VARIANT_NONE};
    CommandLineText upper(command);
    UpperCaseText(upper.Buffer());
    const char* u = upper.c_str();
    bool nineX = IsInstall9x(osCode);

    if (strstr(u, MARK_INTEL_LAN)) {
        row.installKind = INSTALL_KIND_INTEL_LAN;
    } else {
        for (size_t i = 0; i < FLAGGED_FOLDER_COUNT; ++i) {
            if (strstr(u, flaggedFolders[i])) {
                row.installKind = INSTALL_KIND_FLAGGED;
                row.flagVariant = static_cast<int>(i);
            }
        }
        if (raidRowCount >= 2 && nineX) {
            if (strstr(u, MARK_PROMISE_RAID)) row.installKind = INSTALL_KIND_PROMISE_RAID;
            if (strstr(u, MARK_SIL_RAID)) row.installKind = INSTALL_KIND_SIL_RAID;
            if (strstr(u, MARK_ITE_RAID)) row.installKind = INSTALL_KIND_ITE_RAID;
        }
        if (strstr(u, MARK_VIA_USB2) && nineX) {
            row.installKind = INSTALL_KIND_VIA_USB2;
        } else if (row.installKind == INSTALL_KIND_PLAIN && HoldsFolderEntry(u, noWaitFolders)) {
            row.installKind = INSTALL_KIND_NO_WAIT;
        }
    }
    if (strstr(u, MARK_SIS_AGP)) row.installKind = INSTALL_KIND_SIS_AGP;
    return row;
}

// The path keeps its letter case; the response file is "setup1.iss" in the path's folder (the
// path up to and including its last backslash).
void BuildCommandLine(uint8_t installKind, int flagVariant, const char* command, uint8_t osCode,
                      CommandLineText* commandLine)
{
    if (!commandLine) return;
    const char* path = command ? command : "";
    commandLine->Assign(path);
    if (UsesResponseFile(installKind)) {
        const char* lastSlash = strrchr(path, '\\');
        size_t folderLength = lastSlash ? static_cast<size_t>(lastSlash - path) + 1 : 0;
        commandLine->Append(SWITCHES_RESPONSE_FILE_HEAD);
        CommandLineText folder;
        folder.Assign(path, folderLength);
        commandLine->Append(folder.c_str());
        commandLine->Append(SWITCHES_RESPONSE_FILE_TAIL);
    } else if (installKind == INSTALL_KIND_FLAGGED) {
        commandLine->Append(FlaggedSwitches(flagVariant, osCode));
    } else {
        commandLine->Append(SWITCHES_PLAIN);
    }
}

CInvocation::CInvocation(const CPlatform& platform)
    : files(platform.files), processes(platform.processes), system(platform.system)
{
}

CInvocation::CInvocation(Files& files, Processes& processes, System& system)
    : files(files), processes(processes), system(system)
{
}

// A log left by an earlier package must not complete the next one. A log that cannot be
// deleted (read-only, held open by its installer) is retried every 2000 ms.
bool CInvocation::ClearResultLog(uint32_t limitMs)
{
    files.DeleteFile(RESULT_LOG_FILE);
    uint32_t paused = 0;
    while (files.CanOpenForReading(RESULT_LOG_FILE)) {
        if (!MayPauseAgain(paused, RESULT_LOG_POLL_MS, limitMs)) return false;
        system.Sleep(RESULT_LOG_POLL_MS);
        paused += RESULT_LOG_POLL_MS;
        files.DeleteFile(RESULT_LOG_FILE);
    }
    return true;
}

// The package runs in the current folder (the sequencer has made it the package's folder).
// The wait ends when the process has ended: its exit code is no longer STILL_ACTIVE, or the
// wait itself says so (a package whose own exit code is 259 would otherwise be waited for
// without end), or its state can no longer be read.
bool CInvocation::RunAndWait(const char* commandLine, CRunTickSink* onTick)
{
    ProcessHandle process = 0;
    if (!processes.CreateProcess(commandLine, nullptr, &process)) return false;
    for (;;) {
        uint32_t waited = processes.WaitForProcess(process, INVOCATION_PROCESS_WAIT_MS);
        uint32_t exitCode = 0;
        bool known = processes.GetExitCodeProcess(process, &exitCode);
        if (onTick) onTick->OnRunTick();
        if (waited != WAIT_RESULT_TIMEOUT || !known || exitCode != INVOCATION_STILL_ACTIVE) {
            break;
        }
    }
    processes.CloseProcess(process);
    return true;
}

bool CInvocation::RunDetached(const char* commandLine)
{
    // WinExec's values up to 31 are errors.
    return processes.WinExec(commandLine, INVOCATION_SW_SHOWDEFAULT) > 31;
}

bool CInvocation::WaitForResultLog(uint32_t limitMs)
{
    uint32_t paused = 0;
    while (!files.CanOpenForReading(RESULT_LOG_FILE)) {
        if (!MayPauseAgain(paused, RESULT_LOG_POLL_MS, limitMs)) return false;
        system.Sleep(RESULT_LOG_POLL_MS);
        paused += RESULT_LOG_POLL_MS;
    }
    return true;
}

// Every read is followed by a 1000 ms pause, the successful one too: the installer may still
// be writing the rest of its log. The log is read as text, up to its first zero byte.
bool CInvocation::WaitForResultCode(uint32_t limitMs)
{
    uint32_t paused = 0;
    std::vector<char> bytes;
    for (;;) {
        bool found = false;
        if (files.ReadWholeFile(RESULT_LOG_FILE, RESULT_LOG_READ_LIMIT, &bytes)) {
            bytes.push_back('\0');
            found = strstr(bytes.data(), RESULT_LOG_RESULT_CODE) != nullptr;
        }
        if (!found && !MayPauseAgain(paused, RESULT_LOG_CODE_POLL_MS, limitMs)) return false;
        system.Sleep(RESULT_LOG_CODE_POLL_MS);
        paused += RESULT_LOG_CODE_POLL_MS;
        if (found) return true;
    }
}
