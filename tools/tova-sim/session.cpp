// tova-sim session: the program's start-up, then a script of commands read whenever the
// program waits for input, with what each command shows printed as plain lines.
#include "tools/tova-sim/session.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "app/setup_dialog.h"
#include "platform/sim/sim_text.h"
#include "tools/tova-sim/sim_commands.h"

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

// Drawing outside a paint, the cursor, the capture and the timers show only while tracing.
bool TraceOnly(const std::string& line)
{
    for (const char* kind : {"draw\t", "cursor\t", "capture\t", "timer\t"}) {
        if (line.compare(0, strlen(kind), kind) == 0) return true;
    }
    return false;
}

}  // namespace

CSession::CSession(CSimMachine& simMachine, FILE* scriptFile, FILE* output, FILE* errors)
    : machine(simMachine), script(scriptFile), out(output), err(errors)
{
}

bool CSession::ProgramEnded() const
{
    return machine.processes.Exited() || dialogEnded || (dialog && dialog->ProgramEnded());
}

void CSession::RunDialog(uint32_t templateId, CDialogHandler& dialogHandler)
{
    if (templateId != MAIN_DIALOG_TEMPLATE) return;
    handler = &dialogHandler;
    dialog = static_cast<CSetupDlg*>(&dialogHandler);
    machine.clock.SetSink(this);
    // What start prints, then the script; the events so far are part of those lines.
    PrintStartLines(*dialog, machine, out);
    printedEvents = machine.events.Lines().size();
    RunScript();
    machine.clock.SetSink(nullptr);
    // Whatever ended the dialog, the program ends with it.
    if (!failed && !machine.processes.Exited() && !dialogEnded) dialogEnded = true;
}

void CSession::RunScript()
{
    if (!script) return;
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
        PrintNewEvents(false);
    }
}

void CSession::OnTimer(uint32_t id)
{
    if (handler && !ProgramEnded()) handler->OnTimer(id);
}

void CSession::EndDialog()
{
    PrintNewEvents(false);
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

void CSession::PrintNewEvents(bool painting)
{
    const std::vector<std::string>& lines = machine.events.Lines();
    for (size_t i = printedEvents; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        bool show = false;
        if (machine.events.IsPaintDraw(i)) {
            show = painting;
        } else if (TraceOnly(line)) {
            show = tracing;
        } else {
            show = line.compare(0, 11, "messagebox\t") == 0 ||
                   line.compare(0, 5, "exit\t") == 0 || line.compare(0, 7, "launch\t") == 0;
        }
        if (show) fprintf(out, "%s\n", line.c_str());
    }
    printedEvents = lines.size();
}

bool CSession::DumpCommand(const std::vector<std::string>& args)
{
    if (args[0] == "panels") {
        DumpPanels();
    } else if (args[0] == "report") {
        DumpReport();
    } else {
        return Fail("dump takes 'panels' or 'report', not '" + args[0] + "'");
    }
    return true;
}

bool CSession::PaintCommand(const std::vector<std::string>&)
{
    PrintNewEvents(false);
    handler->OnPaint();
    PrintNewEvents(true);
    return true;
}

bool CSession::TraceCommand(const std::vector<std::string>& args)
{
    if (args[0] != "on" && args[0] != "off") {
        return Fail("trace takes 'on' or 'off', not '" + args[0] + "'");
    }
    tracing = args[0] == "on";
    return true;
}

bool CSession::CloseCommand(const std::vector<std::string>&)
{
    // The close box: the dialog's close handler, then the framework ends the dialog and the
    // program returns.
    handler->OnClose();
    EndDialog();
    return true;
}

bool CSession::MouseCommand(const std::vector<std::string>& args)
{
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
        PrintNewEvents(false);
        if (!ProgramEnded()) handler->OnLButtonUp(cx, cy);
    }
    return true;
}

bool CSession::CommandCommand(const std::vector<std::string>& args)
{
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
    // Timers fire in order as the clock moves; each may draw or end the program.
    uint64_t end = machine.clock.Now() + static_cast<uint64_t>(ms);
    uint32_t fired = 0;
    while (!ProgramEnded() && machine.clock.Now() < end &&
           machine.clock.FireNext(end - machine.clock.Now(), &fired)) {
        PrintNewEvents(false);
        DeliverPostedClose();
    }
    if (machine.clock.Now() < end) machine.clock.SetNow(end);
    return true;
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
    const CProgramState& state = dialog->state;
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
    fprintf(out, "commonCount=%d\n", dialog->commonCount);
    fprintf(out, "toolRowCount=%d\n", dialog->toolRowCount);
    fprintf(out, "toolListScrolls=%d\n", dialog->toolListScrolls);
    fprintf(out, "infUpdateIndex=%d\n", dialog->installList.infUpdateIndex);
    fprintf(out, "uiMode=%d\n", state.uiMode);
    fprintf(out, "lineHeight=%d\n", dialog->lineHeight);
    fprintf(out, "charWidth=%d\n", dialog->charWidth);
    for (int r = 0; r < dialog->rowCheckBoxCount; ++r) {
        const CSimControl* box = window.Control(CONTROL_ROW_CHECK_BOX_FIRST + r);
        if (!box) continue;
        fprintf(out, "checkbox.%d=%s\n", r,
                Join({Num(box->rect.left), Num(box->rect.top), Num(box->rect.right),
                      Num(box->rect.bottom), Num(box->visible), Num(box->check != 0),
                      Num(box->enabled), Text(box->text.c_str())})
                    .c_str());
    }
    const CSimControl* bar = window.Control(CONTROL_TOOL_SCROLL_BAR);
    if (bar && dialog->toolScrollBarCreated) {
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
    const ToolTipHandle toolTips[2] = {dialog->panel0ToolTips, dialog->panel1ToolTips};
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

void CSession::DumpReport()
{
    fprintf(out, "systemReport=%s\n", Text(dialog->systemReport.c_str()).c_str());
}
