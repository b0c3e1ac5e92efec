// Starting one driver package: its kind from its folder, its silent command line, the two ways
// of running it, and the waits on the installers' result log "c:\zov.log".
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/fixed_text.h"
#include "platform/platform.h"
#include "skin/panel_table.h"

// installKind values.
const uint8_t INSTALL_KIND_PLAIN = 0;
const uint8_t INSTALL_KIND_FLAGGED = 1;
const uint8_t INSTALL_KIND_INTEL_LAN = 2;
const uint8_t INSTALL_KIND_NO_WAIT = 3;
const uint8_t INSTALL_KIND_PROMISE_RAID = 5;
const uint8_t INSTALL_KIND_SIL_RAID = 6;
const uint8_t INSTALL_KIND_VIA_USB2 = 7;
const uint8_t INSTALL_KIND_SIS_AGP = 8;
const uint8_t INSTALL_KIND_ITE_RAID = 10;

// flagVariant values: the index of the flagged folder, or none.
const int FLAG_VARIANT_INFUPDATE = 0;
const int FLAG_VARIANT_IAA = 1;
const int FLAG_VARIANT_4IN1 = 2;
const int FLAG_VARIANT_IAA_RAID = 3;
const int FLAG_VARIANT_NONE = 99;

// The result log every package is told to write, and the key one package's log must hold.
extern const char RESULT_LOG_FILE[];
extern const char RESULT_LOG_RESULT_CODE[];
// What GetExitCodeProcess reports for a program that still runs.
const uint32_t INVOCATION_STILL_ACTIVE = 259;
// WinExec's show command for packages.
const uint32_t INVOCATION_SW_SHOWDEFAULT = 10;

// The pauses between polls.
const uint32_t RESULT_LOG_POLL_MS = 2000;         // waiting for the log, deleting a stale one
const uint32_t RESULT_LOG_CODE_POLL_MS = 1000;    // waiting for "ResultCode" in the log
const uint32_t INVOCATION_PROCESS_WAIT_MS = 1000;  // one wait on a running package
// How long the callers let any one wait on the result log go on. Packages that write their log
// do so within a few minutes; one that never does would otherwise hold the window for ever.
const uint32_t RESULT_LOG_WAIT_LIMIT_MS = 10 * 60 * 1000;
// The most of the log that is read when looking for "ResultCode"; an installer's log is a few
// hundred bytes.
const size_t RESULT_LOG_READ_LIMIT = 1024 * 1024;

// The longest command line is the response-file one, which holds the setup program's path and
// its folder: a path of up to PANEL_COMMAND_SIZE - 1 characters twice, plus the switches
// " -s -f1\"", "setup1.iss\"" and " -f2\"c:\\zov.log\"" (35 characters), plus the zero. 512
// would cut paths longer than 238 characters and lose the result-log switch.
const size_t COMMAND_LINE_SIZE = 2 * (PANEL_COMMAND_SIZE - 1) + 35 + 1;
typedef FixedText<COMMAND_LINE_SIZE> CommandLineText;

// Folder markers, matched as substrings of an upper-cased command or command line.
const size_t FLAGGED_FOLDER_COUNT = 4;
const size_t NO_WAIT_FOLDER_COUNT = 48;
const size_t RAID_MARKER_COUNT = 3;
const size_t RESTART_FOLDER_COUNT = 1;
const size_t EXIT_FOLDER_9X_COUNT = 2;
const size_t VGA_EXIT_FOLDER_9X_COUNT = 4;
const size_t USB2_FOLDER_COUNT = 5;
// Packages started with switches of their own; the index is the flagVariant.
extern const char* const flaggedFolders[FLAGGED_FOLDER_COUNT];
// Packages that are started and polled for their log instead of waited for.
extern const char* const noWaitFolders[NO_WAIT_FOLDER_COUNT];
// RAID drivers: with two or more of them on 98 SE or Me each is installed alone.
extern const char* const raidMarkers[RAID_MARKER_COUNT];
// Packages after which the system must restart.
extern const char* const restartFolders[RESTART_FOLDER_COUNT];
// Packages that end the program on 98 SE and Me, run as they are.
extern const char* const exitFolders9x[EXIT_FOLDER_9X_COUNT];
// Display packages that end the program on 98 SE and Me, run lower-cased.
extern const char* const vgaExitFolders9x[VGA_EXIT_FOLDER_9X_COUNT];
// USB 2.0 packages, which XP without a service pack leaves unfinished.
extern const char* const usb2Folders[USB2_FOLDER_COUNT];

// Whether the text holds any entry of the list, and how many entries it holds.
bool HoldsFolderEntry(const char* upperText, const char* const* list, size_t count);
int CountFolderEntries(const char* upperText, const char* const* list, size_t count);
template <size_t N>
bool HoldsFolderEntry(const char* upperText, const char* const (&list)[N])
{
    return HoldsFolderEntry(upperText, list, N);
}
template <size_t N>
int CountFolderEntries(const char* upperText, const char* const (&list)[N])
{
    return CountFolderEntries(upperText, list, N);
}

// ASCII letters only, in place: the command lines are upper- or lower-cased whole, switches
// included.
void UpperCaseText(char* text);
void LowerCaseText(char* text);

// 98 SE and Me: the systems whose packages take the 9x switches and response files.
bool IsInstall9x(uint8_t osCode);

struct CRowClass {
    uint8_t installKind;
    int flagVariant;
};

// The kind of a package from its setup program's path (any letter case).
CRowClass ClassifyRow(const char* command, uint8_t raidRowCount, uint8_t osCode);

// The package's silent command line: the path as it is, then the kind's switches.
void BuildCommandLine(uint8_t installKind, int flagVariant, const char* command, uint8_t osCode,
                      CommandLineText* commandLine);

// Called after every one-second wait on a running package (the progress marker moves).
class CRunTickSink {
public:
    virtual ~CRunTickSink() {}
    virtual void OnRunTick() = 0;
};

// Starting packages and waiting for their result log, on the program's file, process and time
// services. Every wait blocks the calling thread.
class CInvocation {
public:
    explicit CInvocation(const CPlatform& platform);
    CInvocation(Files& files, Processes& processes, System& system);

    // Deletes the result log, retrying while it still exists. False when it is still there
    // after limitMs.
    bool ClearResultLog(uint32_t limitMs);
    // Runs the command line in the current folder and waits for it to end, ticking after every
    // wait. False when the process could not be created.
    bool RunAndWait(const char* commandLine, CRunTickSink* onTick);
    // Starts the command line and returns at once; false when WinExec reports a failure.
    bool RunDetached(const char* commandLine);
    // Waits until the result log can be opened. False when it cannot after limitMs.
    bool WaitForResultLog(uint32_t limitMs);
    // Waits until the result log's text holds "ResultCode". False when it does not after
    // limitMs.
    bool WaitForResultCode(uint32_t limitMs);

private:
    Files& files;
    Processes& processes;
    System& system;
};
