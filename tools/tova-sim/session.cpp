// tova-sim session: the program's start-up, then a script of commands read whenever the
// program waits for input, with what each command shows printed as plain lines.
#include "tools/tova-sim/session.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/sim/sim_text.h"
#include "state/program_state.h"
#include "state/timers.h"

namespace {

const uint32_t MAIN_DIALOG_TEMPLATE = 102;

std::string Join(std::initializer_list<std::string> fields)
{
    std::string line;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first) line += '\t';
        line += field;
        first = false;
    }
    return line;
}

std::string Num(long long value)
{
    return std::to_string(value);
}

std::string Text(const char* text)
{
    return SimPrintable(text);
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream stream(line);
    std::string word;
    while (stream >> word) words.push_back(word);
    return words;
}

}  // namespace

const CSessionCommand CSession::COMMANDS[] = {
    {"dump", 1, 1, &CSession::DumpCommand},
    {"paint", 0, 0, &CSession::PaintCommand},
    {"trace", 1, 1, &CSession::TraceCommand},
    {"close", 0, 0, &CSession::CloseCommand},
    {"move", 2, 2, &CSession::MouseCommand},
    {"down", 2, 2, &CSession::MouseCommand},
    {"up", 2, 2, &CSession::MouseCommand},
    {"click", 2, 2, &CSession::MouseCommand},
    {"command", 1, 1, &CSession::CommandCommand},
    {"scroll", 1, 2, &CSession::ScrollCommand},
    {"wait", 1, 1, &CSession::WaitCommand},
    {"answer", 1, 1, &CSession::AnswerCommand},
    {"key", 1, 1, &CSession::KeyCommand},
    {"kill", 0, 0, &CSession::KillCommand},
    {"program", 1, 5, &CSession::ProgramCommand},
};

namespace {

// The scroll requests by name, numbered as WM_VSCROLL numbers them; the two thumb requests
// carry a position.
const struct {
    const char* name;
    int code;
    bool takesPosition;
} SCROLL_CODES[] = {
    {"lineup", 0, false},        {"linedown", 1, false}, {"pageup", 2, false},
    {"pagedown", 3, false},      {"thumbposition", 4, true}, {"thumbtrack", 5, true},
    {"top", 6, false},           {"bottom", 7, false},   {"endscroll", 8, false},
};

const struct {
    const char* name;
    int result;
} ANSWERS[] = {{"ok", 1}, {"cancel", 2}, {"yes", 6}, {"no", 7}};

// A started program's defaults, and the RAID patch's file.
const uint32_t PROGRAM_DEFAULT_RUN_MS = 1000;
const uint32_t PATCH_FILE_MS = 500;
const char PATCH_PROGRAM[] = "PATCH98.EXE";
const char PATCH_FILE[] = "c:\\geo.log";

std::string Upper(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// The path a setup program's -f2 switch names, whatever the letter case: quoted or up to the
// next blank. Empty when there is none.
std::string ResultLogPath(const std::string& commandLine)
{
    std::string upper = Upper(commandLine);
    size_t at = upper.find("-F2");
    if (at == std::string::npos) return "";
    size_t start = at + 3;
    if (start < commandLine.size() && commandLine[start] == '"') {
        size_t end = commandLine.find('"', start + 1);
        if (end == std::string::npos) end = commandLine.size();
        return commandLine.substr(start + 1, end - start - 1);
    }
    size_t end = commandLine.find(' ', start);
    return commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

CSession::CSession(CSimMachine& simMachine, const CProgramState& programState, FILE* scriptFile,
                   FILE* output, FILE* errors)
    : machine(simMachine), script(scriptFile), out(output), err(errors), state(programState),
      printer(simMachine.events, EVENTS_SESSION, output)
{
}

bool CSession::ProgramEnded() const
{
    return machine.processes.Exited() || dialogEnded || state.dialog.programEnded;
}

void CSession::DialogStarting(uint32_t templateId, CDialogHandler& dialogHandler)
{
    if (templateId != MAIN_DIALOG_TEMPLATE) return;
    handler = &dialogHandler;
    machine.clock.SetSink(this);
    machine.processes.SetScriptChooser(
        [this](const std::string& commandLine) { return ChooseScript(commandLine); });
    machine.processes.SetLaunchHook([this](const CSimLaunch& launch) { ProgramStarted(launch); });
}

void CSession::RunDialog(uint32_t templateId, CDialogHandler& dialogHandler)
{
    if (templateId != MAIN_DIALOG_TEMPLATE) return;
    DialogStarting(templateId, dialogHandler);
    // What happened so far, what start prints, then the script.
    printer.PrintNew(false);
    PrintStartState(state, machine, out);
    printer.SkipLogged();
    RunScript();
    machine.clock.SetSink(nullptr);
    // Whatever ended the dialog, the program ends with it.
    if (!failed && !machine.processes.Exited() && !dialogEnded) dialogEnded = true;
}

void CSession::RunScript()
{
    if (!script) return;
    FinishCutWait();
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, script)) {
        ++lineNumber;
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        // Once the program has ended, the rest of the script is read and ignored.
        if (ProgramEnded()) continue;
        if (!RunLine(line)) return;
        DeliverPostedClose();
        printer.PrintNew(false);
        // A dialog over the main one takes the script only until it ends.
        if (nested && nestedSite->Ended()) return;
        FinishCutWait();
    }
    FinishCutWait();
}

void CSession::OnTimer(uint32_t id)
{
    if (ProgramEnded()) return;
    uint32_t dialogTimer = 0;
    if (SimNestedDialogTimer(id, &dialogTimer)) {
        if (nested) nested->OnTimer(dialogTimer);
    } else if (handler) {
        handler->OnTimer(dialogTimer);
    }
}

void CSession::RunNestedDialog(uint32_t, CDialogHandler& dialogHandler, CSimNestedDialog& site)
{
    // The start-up waits here: the script goes on with this dialog until it ends.
    CDialogHandler* outer = nested;
    CSimNestedDialog* outerSite = nestedSite;
    nested = &dialogHandler;
    nestedSite = &site;
    // The main dialog's start-up lines come when it is up; what happened so far is printed.
    printer.PrintNew(false);
    RunScript();
    printer.PrintNew(false);
    nested = outer;
    nestedSite = outerSite;
}

CSimProcessScript CSession::ChooseScript(const std::string& commandLine)
{
    CSimProcessScript script;
    script.runMs = PROGRAM_DEFAULT_RUN_MS;
    std::string upper = Upper(commandLine);
    for (const CProgramRule& rule : programs) {
        if (upper.find(rule.pattern) == std::string::npos) continue;
        script.runMs = rule.runsMs;
        script.startFails = rule.fails;
    }
    return script;
}

void CSession::ProgramStarted(const CSimLaunch& launch)
{
    if (!launch.started) return;
    std::string upper = Upper(launch.commandLine);
    const CProgramRule* rule = nullptr;
    for (const CProgramRule& r : programs) {
        if (upper.find(r.pattern) != std::string::npos) rule = &r;
    }
    CSimFiles& files = machine.files;
    if (upper.find(PATCH_PROGRAM) != std::string::npos && !rule) {
        machine.clock.Schedule(launch.startedAt + PATCH_FILE_MS, [&files]() {
            files.WriteFile(PATCH_FILE, "done\r\n");
        });
        return;
    }
    std::string log = ResultLogPath(launch.commandLine);
    if (log.empty() || (rule && rule->logNever)) return;
    uint64_t at = launch.startedAt + launch.script.runMs;
    if (rule && !rule->logAtEnd) at = launch.startedAt + rule->logMs;
    std::string text = "[ResponseResult]\r\n";
    if (rule && rule->resultCode) text += "ResultCode=0\r\n";
    machine.clock.Schedule(at, [&files, log, text]() { files.WriteFile(log.c_str(), text); });
}

bool CSession::KeyCommand(const std::vector<std::string>& args)
{
    uint32_t id = 0;
    if (args[0] == "enter") {
        id = DIALOG_COMMAND_OK;
    } else if (args[0] == "escape") {
        id = DIALOG_COMMAND_CANCEL;
    } else {
        return Fail("key takes enter or escape, not '" + args[0] + "'");
    }
    CDialogHandler* focus = Focus();
    bool handled = focus->OnCommand(id);
    if (handled) return true;
    // The framework's own OK and Cancel end the dialog.
    if (nested) {
        nestedSite->EndDialog(static_cast<int>(id));
    } else if (!ProgramEnded()) {
        EndDialog();
    }
    return true;
}

bool CSession::KillCommand(const std::vector<std::string>&)
{
    // A power cut: nothing more of the program runs; the registry is kept as it stands.
    printer.PrintNew(false);
    fprintf(out, "exit\tkilled\n");
    fflush(out);
    if (killHook) killHook(killContext);
    fflush(nullptr);
    _Exit(0);
}

bool CSession::ProgramCommand(const std::vector<std::string>& args)
{
    CProgramRule rule = {Upper(args[0]), PROGRAM_DEFAULT_RUN_MS, false, true, 0, false, false};
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        long long value = 0;
        if (option.compare(0, 5, "runs=") == 0) {
            if (!Number(option.substr(5), 0, 86400000, &value)) return false;
            rule.runsMs = static_cast<uint32_t>(value);
        } else if (option == "log=never") {
            rule.logNever = true;
        } else if (option.compare(0, 4, "log=") == 0) {
            if (!Number(option.substr(4), 0, 86400000, &value)) return false;
            rule.logAtEnd = false;
            rule.logMs = static_cast<uint32_t>(value);
        } else if (option == "resultcode") {
            rule.resultCode = true;
        } else if (option == "fail") {
            rule.fails = true;
        } else {
            return Fail("program takes runs=MS, log=MS, log=never, resultcode and fail, not '" +
                        option + "'");
        }
    }
    programs.push_back(rule);
    return true;
}

void CSession::EndDialog()
{
    printer.PrintNew(false);
    if (machine.processes.Exited() || dialogEnded) return;
    dialogEnded = true;
    fprintf(out, "exit\t0\n");
}

void CSession::DeliverPostedClose()
{
    while (!ProgramEnded() && closesDelivered < machine.window.CloseRequests()) {
        ++closesDelivered;
        handler->OnClose();
        EndDialog();
    }
}

bool CSession::Number(const std::string& text, long long low, long long high, long long* value)
{
    char* end = nullptr;
    long long parsed = strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < low || parsed > high) {
        return Fail("'" + currentCommand + "' takes a number from " + Num(low) + " to " +
                    Num(high) + ", not '" + text + "'");
    }
    *value = parsed;
    return true;
}

bool CSession::Fail(const std::string& message)
{
    fprintf(err, "tova-sim: script line %d: %s\n", lineNumber, message.c_str());
    failed = true;
    return false;
}

bool CSession::RunLine(const std::string& line)
{
    std::vector<std::string> words = Words(line);
    std::vector<std::string> args(words.begin() + 1, words.end());
    for (const CSessionCommand& command : COMMANDS) {
        if (words[0] != command.name) continue;
        currentCommand = words[0];
        int count = static_cast<int>(args.size());
        if (count < command.minArgs || count > command.maxArgs) {
            return Fail("'" + words[0] + "' takes " + Num(command.minArgs) +
                        (command.maxArgs != command.minArgs ? " to " + Num(command.maxArgs) : "") +
                        " argument(s), not " + Num(count));
        }
        return (this->*command.run)(args);
    }
    return Fail("unknown command '" + words[0] + "'");
}

bool CSession::DumpCommand(const std::vector<std::string>& args)
{
    if (args[0] == "panels") {
        DumpPanels();
    } else if (args[0] == "report") {
        DumpReport();
    } else if (args[0] == "state") {
        DumpState();
    } else {
        return Fail("dump takes 'panels', 'report' or 'state', not '" + args[0] + "'");
    }
    return true;
}

bool CSession::PaintCommand(const std::vector<std::string>&)
{
    printer.PrintNew(false);
    handler->OnPaint();
    printer.PrintNew(true);
    return true;
}

bool CSession::TraceCommand(const std::vector<std::string>& args)
{
    if (args[0] != "on" && args[0] != "off") {
        return Fail("trace takes 'on' or 'off', not '" + args[0] + "'");
    }
    printer.SetTracing(args[0] == "on");
    return true;
}

bool CSession::CloseCommand(const std::vector<std::string>&)
{
    // The close box: the dialog's close handler, then the framework ends the dialog (and with
    // the main dialog the program returns).
    Focus()->OnClose();
    if (nested) {
        nestedSite->EndDialog(DIALOG_COMMAND_CANCEL);
    } else {
        EndDialog();
    }
    return true;
}

bool CSession::MainDialogOnly()
{
    if (!nested) return true;
    return Fail("'" + currentCommand + "' reaches the main window, and dialog 162 is up over it");
}

bool CSession::MouseCommand(const std::vector<std::string>& args)
{
    if (!MainDialogOnly()) return false;
    long long x = 0;
    long long y = 0;
    if (!Number(args[0], -32768, 32767, &x) || !Number(args[1], -32768, 32767, &y)) return false;
    int cx = static_cast<int>(x);
    int cy = static_cast<int>(y);
    if (currentCommand == "move") {
        handler->OnMouseMove(cx, cy);
    } else if (currentCommand == "down") {
        handler->OnLButtonDown(cx, cy);
    } else if (currentCommand == "up") {
        handler->OnLButtonUp(cx, cy);
    } else {
        handler->OnLButtonDown(cx, cy);
        printer.PrintNew(false);
        if (!ProgramEnded()) handler->OnLButtonUp(cx, cy);
    }
    return true;
}

bool CSession::CommandCommand(const std::vector<std::string>& args)
{
    if (!MainDialogOnly()) return false;
    long long id = 0;
    if (!Number(args[0], 0, 65535, &id)) return false;
    bool handled = handler->OnCommand(static_cast<uint32_t>(id));
    // The framework's own OK and Cancel end the dialog.
    bool framework = id == DIALOG_COMMAND_OK || id == DIALOG_COMMAND_CANCEL;
    if (!handled && framework && !ProgramEnded()) EndDialog();
    return true;
}

bool CSession::ScrollCommand(const std::vector<std::string>& args)
{
    if (!MainDialogOnly()) return false;
    for (const auto& code : SCROLL_CODES) {
        if (args[0] != code.name) continue;
        long long position = 0;
        if (code.takesPosition) {
            if (args.size() != 2) return Fail("scroll " + args[0] + " needs a position");
            if (!Number(args[1], -32768, 32767, &position)) return false;
        } else if (args.size() != 1) {
            return Fail("scroll " + args[0] + " takes no position");
        }
        handler->OnVScroll(code.code, static_cast<int>(position));
        return true;
    }
    return Fail("unknown scroll request '" + args[0] + "'");
}

bool CSession::WaitCommand(const std::vector<std::string>& args)
{
    long long ms = 0;
    if (!Number(args[0], 0, 86400000, &ms)) return false;
    RunClockUntil(machine.clock.Now() + static_cast<uint64_t>(ms));
    return true;
}

void CSession::RunClockUntil(uint64_t end)
{
    // Each timer may draw or end the program.
    uint32_t fired = 0;
    while (!ProgramEnded() && machine.clock.Now() < end &&
           machine.clock.FireNext(end - machine.clock.Now(), &fired)) {
        printer.PrintNew(false);
        DeliverPostedClose();
        if (nested && nestedSite->Ended()) {
            // The dialog's script ends with it; the time goes on once the main dialog is up.
            waitCut = true;
            cutWaitEnd = end;
            return;
        }
    }
    if (machine.clock.Now() < end) machine.clock.SetNow(end);
}

void CSession::FinishCutWait()
{
    if (!waitCut || nested) return;
    waitCut = false;
    RunClockUntil(cutWaitEnd);
    DeliverPostedClose();
    printer.PrintNew(false);
}

bool CSession::AnswerCommand(const std::vector<std::string>& args)
{
    for (const auto& answer : ANSWERS) {
        if (args[0] == answer.name) {
            machine.window.QueueMessageBoxAnswer(answer.result);
            return true;
        }
    }
    return Fail("answer takes ok, cancel, yes or no, not '" + args[0] + "'");
}

void CSession::DumpPanels()
{
    const CDialogState& dialog = state.dialog;
    const PanelTable& table = state.panelTable;
    CSimWindow& window = machine.window;
    for (int p = 0; p < PANEL_COUNT; ++p) {
        const Panel& panel = table.panels[p];
        std::string prefix = "panel." + Num(p) + ".";
        fprintf(out, "%sactive=%d\n", prefix.c_str(), panel.active);
        fprintf(out, "%srowCount=%d\n", prefix.c_str(), panel.rowCount);
        fprintf(out, "%spressedItem=%d\n", prefix.c_str(), panel.pressedItem);
        fprintf(out, "%sbackground=%s\n", prefix.c_str(),
                Text(window.BitmapName(panel.backgroundImage).c_str()).c_str());
        fprintf(out, "%slines=%s\n", prefix.c_str(),
                Join({Text(panel.line1.c_str()), Text(panel.line2.c_str()),
                      Text(panel.line3.c_str())})
                    .c_str());
        for (int i = 0; i < panel.rowCount && i < PANEL_ITEM_CAPACITY; ++i) {
            const PanelItem& item = panel.items[i];
            auto image = [&window](BitmapHandle bitmap) {
                return Text(window.BitmapName(bitmap).c_str());
            };
            fprintf(out, "%sitem.%d=%s\n", prefix.c_str(), i,
                    Join({Num(item.left), Num(item.top), Num(item.right), Num(item.bottom),
                          Num(item.hidden), Num(item.state), Num(item.checked),
                          image(item.normalImage), image(item.normalMask), image(item.overImage),
                          image(item.overMask), image(item.downImage), image(item.downMask),
                          Text(item.command.c_str()), Text(item.caption.c_str()),
                          Text(item.version.c_str()), Text(item.tooltip.c_str())})
                        .c_str());
        }
    }
    fprintf(out, "ezLines=%s\n",
            Join({Text(state.ezLine1.c_str()), Text(state.ezLine2.c_str()),
                  Text(state.ezLine3.c_str())})
                .c_str());
    fprintf(out, "commonCount=%d\n", dialog.commonCount);
    fprintf(out, "toolRowCount=%d\n", dialog.toolRowCount);
    fprintf(out, "toolListScrolls=%d\n", dialog.toolListScrolls);
    fprintf(out, "infUpdateIndex=%d\n", dialog.installList.infUpdateIndex);
    fprintf(out, "uiMode=%d\n", state.uiMode);
    fprintf(out, "lineHeight=%d\n", dialog.lineHeight);
    fprintf(out, "charWidth=%d\n", dialog.charWidth);
    for (int r = 0; r < dialog.rowCheckBoxCount; ++r) {
        const CSimControl* box = window.Control(CONTROL_ROW_CHECK_BOX_FIRST + r);
        if (!box) continue;
        fprintf(out, "checkbox.%d=%s\n", r,
                Join({Num(box->rect.left), Num(box->rect.top), Num(box->rect.right),
                      Num(box->rect.bottom), Num(box->visible), Num(box->check != 0),
                      Num(box->enabled), Text(box->text.c_str())})
                    .c_str());
    }
    const CSimControl* bar = window.Control(CONTROL_TOOL_SCROLL_BAR);
    if (bar && dialog.toolScrollBarCreated) {
        fprintf(out, "toolScrollBar=%s\n",
                Join({Num(bar->scrollMin), Num(bar->scrollMax), Num(bar->scrollPage),
                      Num(bar->scrollPos), Num(bar->visible)})
                    .c_str());
    } else {
        fprintf(out, "toolScrollBar=none\n");
    }
    const CSimControl* readme = window.Control(CONTROL_README_BOX);
    const CSimControl* sysInfo = window.Control(CONTROL_SYSINFO_BOX);
    fprintf(out, "readmeBox=%d\t%s\n", readme->visible, Text(readme->text.c_str()).c_str());
    fprintf(out, "sysInfoBox=%d\t%s\n", sysInfo->visible, Text(sysInfo->text.c_str()).c_str());
    const ToolTipHandle toolTips[2] = {dialog.panel0ToolTips, dialog.panel1ToolTips};
    for (int t = 0; t < 2; ++t) {
        int n = 0;
        for (const CSimToolTipTool& tool : window.ToolTipTools()) {
            if (tool.toolTip != toolTips[t] || toolTips[t] == 0) continue;
            fprintf(out, "tooltip.%d.%d=%s\n", t, n++,
                    Join({Num(tool.rect.left), Num(tool.rect.top), Num(tool.rect.right),
                          Num(tool.rect.bottom), Text(tool.text.c_str())})
                        .c_str());
        }
        fprintf(out, "tooltip.%d.active=%d\n", t,
                toolTips[t] != 0 && window.ToolTipActive(toolTips[t]) ? 1 : 0);
    }
}

void CSession::DumpState()
{
    fprintf(out, "uiMode=%d\n", state.uiMode);
    fprintf(out, "resumePending=%d\n", state.resumePending);
    fprintf(out, "raidRowCount=%d\n", state.raidRowCount);
    fprintf(out, "keepResumeState=%d\n", state.keepResumeState);
    fprintf(out, "installKind=%d\n", state.installKind);
    fprintf(out, "flagVariant=%d\n", state.flagVariant);
    fprintf(out, "commandLine=%s\n", Text(state.commandLine.c_str()).c_str());
    for (uint32_t id : {TIMER_STEP, TIMER_LOG_POLL, TIMER_RESUME_WAIT, TIMER_POINTER}) {
        if (machine.clock.IsArmed(id)) {
            fprintf(out, "timer=%u\t%u\n", id, machine.clock.Period(id));
        }
    }
}

void CSession::DumpReport()
{
    fprintf(out, "systemReport=%s\n", Text(state.dialog.systemReport.c_str()).c_str());
}
