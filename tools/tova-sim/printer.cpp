// What tova-sim prints: the simulated PC's events and the state the start-up reached.
#include "tools/tova-sim/printer.h"

#include <cstring>
#include <string>

#include "platform/sim/sim_text.h"
#include "state/program_state.h"

namespace {

bool Starts(const std::string& line, const char* prefix)
{
    return line.compare(0, strlen(prefix), prefix) == 0;
}

// Drawing outside a paint, the cursor, the capture and the timers show only while tracing.
bool TraceOnly(const std::string& line)
{
    for (const char* kind : {"draw\t", "cursor\t", "capture\t", "timer\t"}) {
        if (Starts(line, kind)) return true;
    }
    return false;
}

std::string Printable(const char* text)
{
    return SimPrintable(text);
}

void PrintInstallList(const CInstallList& list, FILE* out)
{
    fprintf(out, "sis650VgaListed=%d\n", list.sis650VgaListed);
    fprintf(out, "itemCount=%u\n", list.itemCount);
    for (int r = 0; r < list.itemCount && r < DRIVER_ITEM_CAPACITY; ++r) {
        const DriverItem& item = list.items[r];
        fprintf(out, "item.%d=%s\t%d\t%s\t%s\t%s\t%s\t0x%08X\t0x%08X\n", r,
                Printable(item.entryNumber.c_str()).c_str(), item.deviceCode,
                Printable(item.description.c_str()).c_str(),
                Printable(item.folder.c_str()).c_str(), Printable(item.setupFile.c_str()).c_str(),
                Printable(item.versionText.c_str()).c_str(), item.deviceId, item.subsystemId);
    }
}

void PrintDetection(const CHwState& hw, FILE* out)
{
    const CDetectionResults& r = hw.results;
    const struct {
        const char* name;
        uint32_t value;
    } values[] = {
        {"chipsetCode", r.chipsetCode},       {"southBridgeCode", r.southBridgeCode},
        {"lanCode", r.lanCode},               {"audioCode", r.audioCode},
        {"ideRaidCode", r.ideRaidCode},       {"superIoCode", r.superIoCode},
        {"serialAtaCode", r.serialAtaCode},   {"intelSataCode", r.intelSataCode},
        {"scsiCode", r.scsiCode},             {"usb2Code", r.usb2Code},
        {"intelUsbCode", r.intelUsbCode},     {"raidControllerFlag", r.raidControllerFlag},
        {"ite8212Flag", r.ite8212Flag},       {"sil3112RaidFlag", r.sil3112RaidFlag},
        {"ite87SerialModeFlag", r.ite87SerialModeFlag},
    };
    for (const auto& v : values) fprintf(out, "%s=%u\n", v.name, v.value);
}

}  // namespace

CEventPrinter::CEventPrinter(const CSimEventLog& eventLog, CEventKinds shown, FILE* output)
    : events(eventLog), kinds(shown), out(output)
{
}

bool CEventPrinter::Shows(size_t index, bool painting) const
{
    const std::string& line = events.Lines()[index];
    if (Starts(line, "messagebox\t") || Starts(line, "exit\t")) return true;
    if (kinds == EVENTS_START) return false;
    if (events.IsPaintDraw(index)) return painting;
    if (TraceOnly(line)) return tracing;
    return Starts(line, "launch\t") || Starts(line, "restart\t") || Starts(line, "dialog\t162\t");
}

void CEventPrinter::PrintNew(bool painting)
{
    const std::vector<std::string>& lines = events.Lines();
    for (size_t i = printed; i < lines.size(); ++i) {
        if (Shows(i, painting)) fprintf(out, "%s\n", lines[i].c_str());
    }
    printed = lines.size();
}

void CEventPrinter::SkipLogged()
{
    printed = events.Lines().size();
}

void PrintStartState(const CProgramState& state, CSimMachine& machine, FILE* out)
{
    if (machine.processes.Exited()) return;
    const CDialogState& dialog = state.dialog;
    char title[512] = {};
    machine.window.GetTitle(title, sizeof title);
    fprintf(out, "title=%s\n", Printable(title).c_str());
    fprintf(out, "cdRoot=%s\n", Printable(dialog.cdRoot.c_str()).c_str());
    fprintf(out, "languageCode=%d\n", dialog.content.languageCode);
    fprintf(out, "osCode=%u\n", state.hw.osCode);
    fprintf(out, "xpServicePack=%u\n", dialog.xpServicePack);
    PrintDetection(state.hw, out);
    PrintInstallList(dialog.installList, out);
    fprintf(out, "portOps=%llu\n", static_cast<unsigned long long>(machine.board.PortOps()));
    PrintStartCost(machine, out);
}

void PrintStartCost(CSimMachine& machine, FILE* out)
{
    const CSimFileCost& cost = machine.files.Cost();
    const struct {
        const char* name;
        uint64_t value;
    } values[] = {
        {"imageLoads", machine.window.ImageLoads()},
        {"distinctFiles", cost.filesOpened.size()},
        {"bytesRead", cost.bytesRead},
        {"profileReads", cost.profileReads},
        {"cdromMs", SimCdromMilliseconds(cost)},
    };
    for (const auto& v : values) {
        fprintf(out, "%s=%llu\n", v.name, static_cast<unsigned long long>(v.value));
    }
}
