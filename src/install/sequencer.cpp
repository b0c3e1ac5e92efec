// The install sequencer: the chosen driver rows installed one after another from the dialog's
// timer, each package run silently and waited for by its process or its result log, the rows
// completed, the packages that end the program or restart Windows, and the finish.
#include "install/sequencer.h"

#include <cstring>

#include "install/invocation.h"
#include "install/raid_patch.h"
#include "install/restart.h"
#include "install/resume.h"
#include "install/version_record.h"
#include "platform/platform.h"
#include "skin/painter.h"
#include "state/program_end.h"
#include "state/program_state.h"
#include "state/timers.h"

const char SEQUENCER_RESTART_WARNING[] =
    "Some device drivers will restart your system automatically.\n"
    "After restarting your system the \"Rapid Setup\" will \n"
    "continue to install other drivers.";
const char SEQUENCER_FINISHED_TEXT[] = "Driver install finished !! You have to reboot system !!";
const char SEQUENCER_NO_RESULT_TEXT[] =
    "The driver's setup has not reported its result for 10 minutes.\n"
    "Rapid Setup stops here. Close this window: the next start of the CD "
    "continues with this driver.";

namespace {

const char MSG_CAPTION[] = "Msg";
const char AMR_MARKER_KEY[] = "Software\\AMR";
const char AMR_FOLDER[] = "\\NETWORK\\AMR\\";
const char SIS_AGP_FOLDER[] = "\\SIS\\SIS635_645_650_733_735\\";
const char SIS_VGA_XP_FOLDER[] = "\\SIS\\SIS650\\VGA\\WIN2K_XP";
const char RTL8139_FOLDER[] = "\\NETWORK\\RTL8139";
const char AGP113_MARK[] = "agp113";
const char* const EXIT_FOLDERS_ANY_SYSTEM[] = {"\\NVGA\\", "\\4IN1\\"};
const char SYS_DRV_FOLDER[] = "\\SYS_DRV\\";
// Packages that are run and waited for whatever their kind.
const char* const WAITED_FOLDERS[] = {"\\AUDIO\\REALTEK",          "\\NETWORK\\INTEL\\",
                                      "\\CHIPSET\\VGA\\",          "\\AUDIO\\ADI\\",
                                      "\\CHIPSET\\SYS_DRV\\WIN2K\\", "\\CHIPSET\\NVGA\\"};
const char SIS_VGA_SWITCHES[] = " -s -f2\"c:\\zov.log\"";
const uint32_t PAUSE_AFTER_DETACHED_MS = 1000;
const uint32_t PAUSE_BEFORE_END_MS = 3000;
const uint32_t PAUSE_AFTER_LOG_MS = 2000;
const int STATUS_BLANKS = 20;
const uint32_t MSGBOX_OK_TYPE = 0x0;

bool Holds(const char* text, const char* part)
{
    return strstr(text, part) != nullptr;
}

// The progress marker on its own client context.
class CRunProgress : public CRunTickSink {
public:
    explicit CRunProgress(CSequencer& sequencer) : owner(sequencer) {}
    void OnRunTick() override { owner.AdvanceProgress(); }

private:
    CSequencer& owner;
};

}  // namespace

CSequencer::CSequencer(CPlatform& platform, CProgramState& state, CProgramEnd& end)
    : platform(platform), state(state), dialog(state.dialog), end(end)
{
}

int CSequencer::Row() const
{
    return state.uiMode;
}

int CSequencer::RowItem() const
{
    return dialog.DriverRowItem(Row());
}

bool CSequencer::IsWin9x() const
{
    return IsInstall9x(state.hw.osCode);
}

void CSequencer::StartSequence()
{
    bool needsRestart = false;
    bool written = CResumeState(platform, state).WriteResumeList(&needsRestart);
    if (written && needsRestart) {
        platform.window.MessageBox(true, SEQUENCER_RESTART_WARNING, MSG_CAPTION, MSGBOX_OK_TYPE);
    }
    state.uiMode = 0;
    platform.window.SetTimer(TIMER_STEP, TIMER_STEP_FIRST_MS);
}

void CSequencer::CountRaidRows()
{
    state.raidCounted = 1;
    if (!IsWin9x()) return;
    const PanelItem* items = state.panelTable.panels[0].items;
    for (int n = 0; n < dialog.installList.itemCount; ++n) {
        FixedText<PANEL_COMMAND_SIZE> upper = items[dialog.DriverRowItem(n)].command;
        UpperCaseText(upper.Buffer());
        state.raidRowCount = static_cast<uint8_t>(
            state.raidRowCount + CountFolderEntries(upper.c_str(), raidMarkers));
    }
}

void CSequencer::StepTick()
{
    if (state.raidCounted == 0) CountRaidRows();
    if (state.uiMode >= dialog.installList.itemCount) {
        Finish();
        return;
    }
    if (state.panelTable.panels[0].items[RowItem()].checked == 0) {
        ++state.uiMode;
        return;
    }
    StartRow();
}

void CSequencer::StartRow()
{
    Window& window = platform.window;
    const PanelItem& row = state.panelTable.panels[0].items[RowItem()];
    window.KillTimer(TIMER_STEP);
    FixedText<PANEL_COMMAND_SIZE> folder = row.command;
    const char* lastSlash = strrchr(folder.c_str(), '\\');
    if (lastSlash) folder.Truncate(static_cast<size_t>(lastSlash - folder.c_str()) + 1);
    platform.files.SetCurrentDirectory(folder.c_str());
    CResumeState(platform, state).SetRowResumeState(Row(), RESUME_ROW_STARTED);
    state.keepResumeState = 0;

    CRowClass kind = ClassifyRow(row.command.c_str(), state.raidRowCount, state.hw.osCode);
    state.installKind = kind.installKind;
    state.flagVariant = kind.flagVariant;
    BuildCommandLine(kind.installKind, kind.flagVariant, row.command.c_str(), state.hw.osCode,
                     &state.commandLine);
    CInvocation invocation(platform);
    if (!invocation.ClearResultLog(RESULT_LOG_WAIT_LIMIT_MS)) {
        // A stale log that will not go would complete this row at once: stop instead.
        StopWithoutResult();
        return;
    }

    CommandLineText upper = state.commandLine;
    UpperCaseText(upper.Buffer());
    if (RunAndExitChecks(upper.c_str())) return;
    if (state.raidRowCount >= 2 && state.hw.osCode == OS_WIN98SE &&
        state.installKind == INSTALL_KIND_SIL_RAID) {
        RunRaidPatch(platform.files, platform.processes, platform.system, platform.window);
    }
    if (NoWaitKinds(upper.c_str())) return;
    if (LanOn9x(upper.c_str())) return;

    state.progressTicks = 0;
    bool waited = state.flagVariant == FLAG_VARIANT_INFUPDATE ||
                  state.flagVariant == FLAG_VARIANT_IAA ||
                  state.flagVariant == FLAG_VARIANT_IAA_RAID ||
                  HoldsFolderEntry(upper.c_str(), WAITED_FOLDERS);
    if (waited) {
        RunAndWaitRow(upper.c_str());
        return;
    }
    CommandLineText lower = state.commandLine;
    LowerCaseText(lower.Buffer());
    invocation.RunDetached(lower.c_str());
    bool usb2OnBareXp = state.hw.osCode == OS_WINXP && dialog.xpServicePack == 0 &&
                        HoldsFolderEntry(upper.c_str(), usb2Folders);
    if (!usb2OnBareXp) FinishRow(Row());
    window.SetTimer(TIMER_LOG_POLL, TIMER_LOG_POLL_MS);
}

bool CSequencer::RunAndExitChecks(const char* upper)
{
    const uint8_t osCode = state.hw.osCode;
    bool runAndExit = (IsWin9x() && HoldsFolderEntry(upper, exitFolders9x)) ||
                      (Holds(upper, SYS_DRV_FOLDER) && osCode != OS_WIN2000) ||
                      HoldsFolderEntry(upper, EXIT_FOLDERS_ANY_SYSTEM);
    if (runAndExit) {
        // The package must run alone: the program makes way and the next start goes on.
        CInvocation(platform).RunDetached(upper);
        FinishRow(Row());
        platform.registry.FlushKey(REG_HKEY_CURRENT_USER);
        platform.window.PostClose();
        end.EndProgram();
        return true;
    }
    const PanelItem& row = state.panelTable.panels[0].items[RowItem()];
    if (Holds(upper, SIS_VGA_XP_FOLDER) && (osCode == OS_WIN2000 || osCode == OS_WINXP)) {
        state.commandLine = row.command.c_str();
        state.commandLine.Append(SIS_VGA_SWITCHES);
        ExitAfterDetached(Row(), state.commandLine.c_str());
        return true;
    }
    if (IsWin9x() && HoldsFolderEntry(upper, vgaExitFolders9x)) {
        LowerCaseText(state.commandLine.Buffer());
        ExitAfterDetached(Row(), state.commandLine.c_str());
        return true;
    }
    return false;
}

void CSequencer::ExitAfterDetached(int row, const char* commandLine)
{
    // The display package finishes on its own; the dialog closes and keeps the run stored.
    CInvocation(platform).RunDetached(commandLine);
    CResumeState(platform, state).MarkRowFinished(row);
    platform.system.Sleep(PAUSE_AFTER_DETACHED_MS);
    platform.window.KillTimer(TIMER_STEP);
    CVersionRecord(platform.registry, platform.window, state.panelTable, dialog)
        .RecordInstalledVersion(dialog.DriverRowItem(row));
    state.keepResumeState = 1;
    platform.window.PostClose();
}

bool CSequencer::NoWaitKinds(const char* upper)
{
    const uint8_t kind = state.installKind;
    bool noWait = kind == INSTALL_KIND_NO_WAIT || kind == INSTALL_KIND_PROMISE_RAID ||
                  kind == INSTALL_KIND_SIL_RAID || kind == INSTALL_KIND_VIA_USB2 ||
                  kind == INSTALL_KIND_SIS_AGP || kind == INSTALL_KIND_ITE_RAID;
    if (!noWait) return false;
    CInvocation invocation(platform);
    Registry& registry = platform.registry;
    if (Holds(upper, SIS_AGP_FOLDER)) {
        FinishRow(Row());
        invocation.RunDetached(upper);
        end.EndProgram();
        return true;
    }
    if (Holds(upper, AMR_FOLDER) && IsWin9x()) {
        RegKey marker = 0;
        if (registry.OpenKey(REG_HKEY_CURRENT_USER, AMR_MARKER_KEY, &marker)) {
            // Back after the restart the modem needed: now its installer runs.
            registry.CloseKey(marker);
            registry.DeleteKey(REG_HKEY_CURRENT_USER, AMR_MARKER_KEY);
            FinishRow(Row());
            invocation.RunDetached(upper);
            end.EndProgram();
            return true;
        }
        if (registry.CreateKey(REG_HKEY_CURRENT_USER, AMR_MARKER_KEY, &marker)) {
            uint8_t one = 1;
            registry.SetValue(marker, "item", REG_TYPE_BINARY, &one, 1);
            registry.CloseKey(marker);
        }
        registry.FlushKey(REG_HKEY_CURRENT_USER);
        RestartSystem(platform.processes, state.hw.osCode, end);
        return true;
    }
    state.progressTicks = 0;
    CommandLineText lower = state.commandLine;
    LowerCaseText(lower.Buffer());
    invocation.RunDetached(lower.c_str());
    CResumeState(platform, state).SetRowResumeState(Row(), RESUME_ROW_STARTED);
    registry.FlushKey(REG_HKEY_CURRENT_USER);
    platform.system.Sleep(PAUSE_AFTER_DETACHED_MS);
    platform.window.KillTimer(TIMER_STEP);
    if (kind == INSTALL_KIND_PROMISE_RAID || kind == INSTALL_KIND_SIL_RAID ||
        kind == INSTALL_KIND_ITE_RAID) {
        FinishRow(Row());
        platform.system.Sleep(PAUSE_BEFORE_END_MS);
        end.EndProgram();
        return true;
    }
    platform.window.SetTimer(TIMER_LOG_POLL, TIMER_LOG_POLL_MS);
    return true;
}

bool CSequencer::LanOn9x(const char* upper)
{
    const uint8_t kind = state.installKind;
    if (!IsWin9x() || kind > INSTALL_KIND_INTEL_LAN) return false;
    CInvocation invocation(platform);
    if (kind == INSTALL_KIND_INTEL_LAN) {
        CommandLineText lower = state.commandLine;
        LowerCaseText(lower.Buffer());
        invocation.RunDetached(lower.c_str());
    } else if (Holds(upper, RTL8139_FOLDER)) {
        invocation.RunDetached(upper);
    } else {
        return false;
    }
    FinishRow(Row());
    platform.system.Sleep(PAUSE_BEFORE_END_MS);
    end.EndProgram();
    return true;
}

void CSequencer::RunAndWaitRow(const char* upper)
{
    CInvocation invocation(platform);
    CommandLineText lower = state.commandLine;
    LowerCaseText(lower.Buffer());
    CRunProgress progress(*this);
    // A package that cannot be started stops the run where it is (no timer is armed again).
    if (!invocation.RunAndWait(lower.c_str(), &progress)) return;
    if (!invocation.WaitForResultLog(RESULT_LOG_WAIT_LIMIT_MS)) {
        StopWithoutResult();
        return;
    }
    bool sisAgpOn2000 = Holds(lower.c_str(), AGP113_MARK) && state.hw.osCode == OS_WIN2000 &&
                        dialog.installList.sis650VgaListed == 1;
    if (sisAgpOn2000 && !invocation.WaitForResultCode(RESULT_LOG_WAIT_LIMIT_MS)) {
        StopWithoutResult();
        return;
    }
    platform.files.DeleteFile(RESULT_LOG_FILE);
    CompleteRow(false, TIMER_STEP_AFTER_WAIT_MS);
    (void)upper;
}

void CSequencer::LogPollTick()
{
    Files& files = platform.files;
    AdvanceProgress();
    if (!files.CanOpenForReading(RESULT_LOG_FILE)) return;
    platform.system.Sleep(PAUSE_AFTER_LOG_MS);
    platform.window.KillTimer(TIMER_LOG_POLL);
    CommandLineText lower = state.commandLine;
    LowerCaseText(lower.Buffer());
    if (Holds(lower.c_str(), AGP113_MARK) && state.hw.osCode == OS_WIN2000 &&
        dialog.installList.sis650VgaListed == 1) {
        CInvocation(platform).WaitForResultCode(RESULT_LOG_WAIT_LIMIT_MS);
    }
    files.DeleteFile(RESULT_LOG_FILE);
    CommandLineText upper = state.commandLine;
    UpperCaseText(upper.Buffer());
    bool usb2OnBareXp = state.hw.osCode == OS_WINXP && dialog.xpServicePack == 0 &&
                        HoldsFolderEntry(upper.c_str(), usb2Folders);
    if (!usb2OnBareXp) {
        CompleteRow(true, TIMER_STEP_AFTER_POLL_MS);
    } else {
        // A USB 2.0 package that XP without a service pack cannot finish stays started.
        ContinueAfterRow(upper.c_str(), TIMER_STEP_AFTER_POLL_MS);
    }
}

void CSequencer::FinishRow(int row)
{
    CResumeState(platform, state).MarkRowFinished(row);
    CVersionRecord(platform.registry, platform.window, state.panelTable, dialog)
        .RecordInstalledVersion(dialog.DriverRowItem(row));
}

void CSequencer::CompleteRow(bool conditionalRedraw, uint32_t nextStepMs)
{
    Window& window = platform.window;
    int k = RowItem();
    {
        CClientSurface surface(window);
        BitmapHandle done = window.LoadBitmapResource(BITMAP_PROGRESS_DONE);
        if (surface.Get()) surface.Get()->DrawMaskedBitmap(done, done, 0, PROGRESS_Y);
        if (done) window.DeleteBitmap(done);
    }
    CVersionRecord(platform.registry, platform.window, state.panelTable, dialog)
        .RecordInstalledVersion(k);
    CResumeState(platform, state).MarkRowFinished(Row());
    PanelItem& row = state.panelTable.panels[0].items[k];
    RedrawCompletedRow(k, !conditionalRedraw || row.hidden == 0);
    row.state = 1;
    CommandLineText upper = state.commandLine;
    UpperCaseText(upper.Buffer());
    ContinueAfterRow(upper.c_str(), nextStepMs);
}

void CSequencer::ContinueAfterRow(const char* upper, uint32_t nextStepMs)
{
    if (HoldsFolderEntry(upper, restartFolders)) {
        // The INF update takes effect at a restart; elsewhere the user restarts.
        if (IsWin9x()) {
            RestartSystem(platform.processes, state.hw.osCode, end);
        } else {
            end.EndProgram();
        }
        return;
    }
    if (state.installKind == INSTALL_KIND_INTEL_LAN) {
        platform.system.Sleep(PAUSE_BEFORE_END_MS);
    }
    ++state.uiMode;
    if (state.uiMode <= dialog.installList.itemCount) {
        platform.window.SetTimer(TIMER_STEP, nextStepMs);
    }
}

void CSequencer::RedrawCompletedRow(int k, bool textToo)
{
    CClientSurface surface(platform.window);
    if (!surface.Get()) return;
    DrawingSurface& s = *surface.Get();
    const PanelItem& row = state.panelTable.panels[0].items[k];
    const bool nt4 = state.hw.osCode == OS_NT4;
    CPainter painter(platform.window, platform.registry, state);
    s.SetTextColor(COLOR_YELLOW);
    s.SetBkColor(COLOR_BLACK);
    s.SelectUiFont();
    painter.SetBlankText(state.ruleText.c_str());
    s.TextOut(row.left, row.top, state.blankText.c_str());
    if (textToo) {
        if (!nt4) s.TextOut(row.left, row.top, state.ruleText.c_str());
        s.TextOut(row.left, row.top, row.caption.c_str());
    }
    s.SelectPreviousFont();
    if (textToo) {
        char blanks[STATUS_BLANKS + 1];
        memset(blanks, ' ', STATUS_BLANKS);
        blanks[STATUS_BLANKS] = '\0';
        s.TextOut(DRIVER_STATUS_X, row.top, blanks);
        if (!nt4) s.TextOut(DRIVER_STATUS_X, row.top, row.installedText.c_str());
    }
}

void CSequencer::AdvanceProgress()
{
    Window& window = platform.window;
    CClientSurface surface(window);
    BitmapHandle marker = window.LoadBitmapResource(BITMAP_PROGRESS);
    if (surface.Get()) {
        surface.Get()->DrawMaskedBitmap(marker, marker, PROGRESS_STEP_X * state.progressTicks,
                                        PROGRESS_Y);
    }
    if (marker) window.DeleteBitmap(marker);
    ++state.progressTicks;
}

void CSequencer::Finish()
{
    Window& window = platform.window;
    window.KillTimer(TIMER_STEP);
    window.KillTimer(TIMER_LOG_POLL);
    window.Invalidate();
    state.uiMode = UI_MODE_IDLE;
    DeleteResumeState(platform.registry);
    PanelItem& exitButton = state.panelTable.panels[0].items[PANEL_ITEM_EXIT];
    exitButton.hidden = 0;
    exitButton.state = 0;
    {
        CClientSurface surface(window);
        if (surface.Get()) {
            surface.Get()->DrawMaskedBitmap(exitButton.normalImage, exitButton.normalMask,
                                            exitButton.left, exitButton.top);
        }
    }
    window.Invalidate();
    window.PostClose();
    window.MessageBox(false, SEQUENCER_FINISHED_TEXT, MSG_CAPTION, MSGBOX_OK_TYPE);
}

void CSequencer::StopWithoutResult()
{
    // The run stays stored with this row started: closing the window keeps it, and the next
    // start tries the row again.
    state.keepResumeState = 1;
    platform.window.MessageBox(true, SEQUENCER_NO_RESULT_TEXT, MSG_CAPTION, MSGBOX_OK_TYPE);
}
