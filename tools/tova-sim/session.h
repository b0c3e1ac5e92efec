// tova-sim session: the program's start-up, then a script of commands read whenever the
// program waits for input, with what each command shows printed as plain lines.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_modal_loop.h"
#include "tools/tova-sim/printer.h"

struct CProgramState;
class CSession;

// One command of the script: its first word and how many words follow it.
struct CSessionCommand {
    const char* name;
    int minArgs;
    int maxArgs;
    // False (after setting the session's error) for bad arguments.
    bool (CSession::*run)(const std::vector<std::string>& args);
};

class CSession : public CSimModalLoop, public CSimTimerSink {
public:
    // script may be null: no commands. state is the program's, read by the dump commands.
    CSession(CSimMachine& machine, const CProgramState& state, FILE* script, FILE* out, FILE* err);

    void DialogStarting(uint32_t templateId, CDialogHandler& handler) override;
    void RunDialog(uint32_t templateId, CDialogHandler& handler) override;
    void RunNestedDialog(uint32_t templateId, CDialogHandler& handler,
                         CSimNestedDialog& dialog) override;
    // Called when the script kills the program: the caller saves the registry as it stands.
    void SetKillHook(void (*hook)(void*), void* context)
    {
        killHook = hook;
        killContext = context;
    }
    // A window timer fell due while the clock moved.
    void OnTimer(uint32_t id) override;
    // A bad script line was met: the session stopped there.
    bool Failed() const { return failed; }

private:
    static const CSessionCommand COMMANDS[];

    // Reads and runs commands until the script ends, the dialog ends or a line is bad.
    void RunScript();
    bool RunLine(const std::string& line);
    bool Fail(const std::string& message);
    bool ProgramEnded() const;

    bool DumpCommand(const std::vector<std::string>& args);
    bool PaintCommand(const std::vector<std::string>& args);
    bool TraceCommand(const std::vector<std::string>& args);
    bool CloseCommand(const std::vector<std::string>& args);
    bool MouseCommand(const std::vector<std::string>& args);
    bool CommandCommand(const std::vector<std::string>& args);
    bool ScrollCommand(const std::vector<std::string>& args);
    bool WaitCommand(const std::vector<std::string>& args);
    // Timers fire in order as the clock moves to end. When the dialog over the main one ends
    // on the way, the rest of the time is left for FinishCutWait.
    void RunClockUntil(uint64_t end);
    // The rest of a wait that the end of a dialog over the main one cut: it passes on the main
    // dialog's timers, before the script's next line.
    void FinishCutWait();
    bool AnswerCommand(const std::vector<std::string>& args);
    bool KeyCommand(const std::vector<std::string>& args);
    bool KillCommand(const std::vector<std::string>& args);
    bool ProgramCommand(const std::vector<std::string>& args);
    void DumpState();

    // What a started program does, by the script's program lines.
    CSimProcessScript ChooseScript(const std::string& commandLine);
    void ProgramStarted(const CSimLaunch& launch);
    // The dialog that has the focus: the one shown over the main dialog while it is up.
    CDialogHandler* Focus() const { return nested ? nested : handler; }

    // The dialog's framework ends it (Cancel, the close box, a posted WM_CLOSE).
    void EndDialog();
    // WM_CLOSE posted by the program arrives once the current message is done.
    void DeliverPostedClose();
    // False (after the error) when a dialog is shown over the main one.
    bool MainDialogOnly();
    bool Number(const std::string& text, long long low, long long high, long long* value);

    void DumpPanels();
    void DumpReport();

    CSimMachine& machine;
    FILE* script;
    FILE* out;
    FILE* err;
    const CProgramState& state;
    CEventPrinter printer;
    CDialogHandler* handler = nullptr;
    int lineNumber = 0;
    bool dialogEnded = false;
    bool failed = false;
    int closesDelivered = 0;
    std::string currentCommand;
    CDialogHandler* nested = nullptr;
    CSimNestedDialog* nestedSite = nullptr;
    // Where a wait cut by the end of the dialog over the main one ends.
    bool waitCut = false;
    uint64_t cutWaitEnd = 0;
    void (*killHook)(void*) = nullptr;
    void* killContext = nullptr;

    // One program line: what the programs whose command line holds the pattern do.
    struct CProgramRule {
        std::string pattern;  // upper-cased
        uint32_t runsMs;
        bool logNever;
        bool logAtEnd;
        uint32_t logMs;
        bool resultCode;
        bool fails;
    };
    std::vector<CProgramRule> programs;
};
