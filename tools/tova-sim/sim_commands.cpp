// The subcommands of tova-sim: each sets up a simulated PC from its options, runs the real core
// on it and prints what the core reached.
#include "tools/tova-sim/sim_commands.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "app/setup_dialog.h"
#include "hw/bios.h"
#include "hw/os_class.h"
#include "hw/pci.h"
#include "hw/port_access.h"
#include "platform/sim/sim_board_registry.h"
#include "platform/sim/sim_text.h"
#include "tools/tova-sim/lint.h"
#include "tools/tova-sim/printer.h"
#include "tools/tova-sim/session.h"

namespace {

// A value as one printable line: control and high bytes become \xNN, backslash stays.
std::string Printable(const char* text)
{
    return SimPrintable(text);
}

bool ParseHex32(const char* text, uint32_t* value)
{
    if (!text || (strncmp(text, "0x", 2) != 0 && strncmp(text, "0X", 2) != 0)) return false;
    char* end = nullptr;
    unsigned long parsed = strtoul(text + 2, &end, 16);
    if (end == text + 2 || *end != '\0' || parsed > 0xFFFFFFFFul) return false;
    *value = static_cast<uint32_t>(parsed);
    return true;
}

struct CFindRequest {
    uint32_t id;
    uint32_t subsystem;
};

struct COptions {
    const char* board = nullptr;
    const char* os = nullptr;
    const char* programDir = nullptr;
    const char* registry = nullptr;
    const char* script = nullptr;
    bool langGiven = false;
    uint16_t lang = 0;
    bool codePageGiven = false;
    uint32_t codePage = 0;
    std::vector<std::pair<char, std::string>> drives;
    std::vector<CFindRequest> finds;
    std::vector<std::string> systems;  // lint: every --os given
};

// Which command the options are for: hw takes --find, start and session take the CD's
// options, session also a script; lint takes the CD's drives, its program folder and systems.
enum COptionSet { OPTIONS_HW, OPTIONS_START, OPTIONS_SESSION, OPTIONS_LINT };

// Takes the option at argv[*i] with its value; false (after a message) on a bad option.
bool ParseOption(int argc, char** argv, int* i, COptionSet set, COptions* options, FILE* err)
{
    const bool hwCommand = set == OPTIONS_HW;
    const char* name = argv[*i];
    if (*i + 1 >= argc) {
        fprintf(err, "tova-sim: option %s needs a value\n", name);
        return false;
    }
    const char* value = argv[++*i];
    if (set == OPTIONS_LINT && strcmp(name, "--os") == 0) {
        options->systems.push_back(value);
        return true;
    }
    if (set == OPTIONS_LINT && strcmp(name, "--drive") != 0 &&
        strcmp(name, "--program-dir") != 0) {
        fprintf(err, "tova-sim: unknown option %s\n", name);
        return false;
    }
    if (strcmp(name, "--board") == 0) {
        options->board = value;
    } else if (strcmp(name, "--os") == 0) {
        options->os = value;
    } else if (hwCommand && strcmp(name, "--find") == 0) {
        CFindRequest request = {0, 0};
        std::string text = value;
        size_t colon = text.find(':');
        bool good = ParseHex32(text.substr(0, colon).c_str(), &request.id);
        if (good && colon != std::string::npos)
            good = ParseHex32(text.substr(colon + 1).c_str(), &request.subsystem);
        if (!good) {
            fprintf(err, "tova-sim: --find takes 0xIDDWORD or 0xIDDWORD:0xSUBSYS, not '%s'\n", value);
            return false;
        }
        options->finds.push_back(request);
    } else if (!hwCommand && strcmp(name, "--drive") == 0) {
        char letter = value[0];
        if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
        if (letter < 'C' || letter > 'Z' || value[1] != '=' || value[2] == '\0') {
            fprintf(err, "tova-sim: --drive takes LETTER=DIR with a letter from C to Z, not '%s'\n",
                    value);
            return false;
        }
        options->drives.push_back(std::make_pair(letter, std::string(value + 2)));
    } else if (!hwCommand && strcmp(name, "--program-dir") == 0) {
        options->programDir = value;
    } else if (!hwCommand && strcmp(name, "--lang") == 0) {
        uint32_t lang = 0;
        if (!ParseHex32(value, &lang) || lang > 0xFFFF) {
            fprintf(err, "tova-sim: --lang takes 0xNNNN, not '%s'\n", value);
            return false;
        }
        options->langGiven = true;
        options->lang = static_cast<uint16_t>(lang);
    } else if (!hwCommand && strcmp(name, "--codepage") == 0) {
        char* end = nullptr;
        unsigned long codePage = strtoul(value, &end, 10);
        if (value[0] < '0' || value[0] > '9' || *end != '\0' || codePage == 0 || codePage > 65535) {
            fprintf(err, "tova-sim: --codepage takes a decimal code page such as 950, not '%s'\n",
                    value);
            return false;
        }
        options->codePageGiven = true;
        options->codePage = static_cast<uint32_t>(codePage);
    } else if (!hwCommand && strcmp(name, "--registry") == 0) {
        options->registry = value;
    } else if (set == OPTIONS_SESSION && strcmp(name, "--script") == 0) {
        options->script = value;
    } else {
        fprintf(err, "tova-sim: unknown option %s\n", name);
        return false;
    }
    return true;
}

bool ParseOptions(int argc, char** argv, COptionSet set, COptions* options, FILE* err)
{
    for (int i = 0; i < argc; ++i) {
        if (strncmp(argv[i], "--", 2) != 0) {
            fprintf(err, "tova-sim: unexpected argument '%s'\n", argv[i]);
            return false;
        }
        if (!ParseOption(argc, argv, &i, set, options, err)) return false;
    }
    return true;
}

// Board and system, shared by both commands.
bool SetUpMachine(const COptions& options, CSimMachine* machine, FILE* err)
{
    if (options.board) {
        FixedText<256> error;
        if (!machine->board.LoadFile(options.board, &error)) {
            fprintf(err, "tova-sim: board %s: %s\n", options.board, error.c_str());
            return false;
        }
    }
    if (options.os && !machine->system.SelectOs(options.os)) {
        fprintf(err, "tova-sim: unknown operating system '%s' (see tova-sim --help)\n", options.os);
        return false;
    }
    return true;
}

}  // namespace

int RunHwCommand(int argc, char** argv, FILE* out, FILE* err)
{
    COptions options;
    if (!ParseOptions(argc, argv, OPTIONS_HW, &options, err)) return SIM_EXIT_USAGE;
    if (!options.board || !options.os) {
        fprintf(err, "tova-sim hw: --board and --os are required\n");
        return SIM_EXIT_USAGE;
    }
    CSimMachine machine;
    if (!SetUpMachine(options, &machine, err)) return SIM_EXIT_USAGE;

    CHwState hw;
    uint8_t xpServicePack = 0;
    ClassifyOs(machine.system, machine.window, &hw.osCode, &xpServicePack);
    machine.board.ResetPortOps();
    CPortAccess ports(machine.hardware, hw.osCode);
    ports.OpenPortAccess();
    char biosText[BIOS_TEXT_SIZE] = {};
    ReadBiosText(ports, hw.osCode, biosText);
    char cpuVendor[CPU_VENDOR_SIZE] = {};
    ReadCpuVendor(machine.hardware, cpuVendor);
    CPciScanner scanner(ports, hw.lastClassCode);
    std::vector<std::string> findLines;
    for (const CFindRequest& request : options.finds) {
        bool found = scanner.FindPciDevice(request.id, request.subsystem);
        char line[128];
        snprintf(line, sizeof line, "find.0x%08X:0x%08X=%d lastClassCode=0x%04X", request.id,
                 request.subsystem, found ? 1 : 0, hw.lastClassCode);
        findLines.push_back(line);
    }
    ports.ClosePortAccess();

    CEventPrinter(machine.events, EVENTS_START, out).PrintNew(false);
    fprintf(out, "osCode=%u\n", hw.osCode);
    fprintf(out, "xpServicePack=%u\n", xpServicePack);
    fprintf(out, "biosText=%s\n", Printable(biosText).c_str());
    fprintf(out, "cpuVendor=%s\n", Printable(cpuVendor).c_str());
    for (const std::string& line : findLines) fprintf(out, "%s\n", line.c_str());
    fprintf(out, "portOps=%llu\n", static_cast<unsigned long long>(machine.board.PortOps()));
    return 0;
}

namespace {

struct CStartRun {
    CSimMachine* machine;
    FILE* out;
};

// Prints what the dialog reached, after the events that led there.
void PrintStartRun(CSetupDlg& dialog, void* context)
{
    CStartRun* run = static_cast<CStartRun*>(context);
    CEventPrinter(run->machine->events, EVENTS_START, run->out).PrintNew(false);
    PrintStartState(dialog.state, *run->machine, run->out);
}

// Without --program-dir the program sits in the CD root: the first drive with the marker, found
// through the simulated drives so that the marker's case does not matter.
std::string DefaultProgramFile(CSimMachine& machine)
{
    for (char drive = 'C'; drive <= 'Z'; ++drive) {
        std::string marker = std::string(1, drive) + ":\\id.log";
        if (machine.files.CanOpenForReading(marker.c_str())) {
            return std::string(1, drive) + ":\\tova.exe";
        }
    }
    return "C:\\tova.exe";
}


// The machine of start and session: board, system, drives, program folder, language, and the
// registry from --registry with what the board adds to it.
bool SetUpStartMachine(const COptions& options, CSimMachine& machine,
                       CBoardRegistryRecord* derived, FILE* err)
{
    if (!SetUpMachine(options, &machine, err)) return false;
    for (const auto& drive : options.drives) {
        if (!machine.files.MapDrive(drive.first, drive.second.c_str())) {
            fprintf(err, "tova-sim: drive %c: cannot map folder %s\n", drive.first,
                    drive.second.c_str());
            return false;
        }
    }
    std::string programFile = DefaultProgramFile(machine);
    if (options.programDir) {
        programFile = options.programDir;
        if (programFile.empty() || programFile.back() != '\\') programFile += '\\';
        programFile += "tova.exe";
    }
    machine.files.SetProgramFile(programFile.c_str());
    if (options.langGiven) {
        machine.system.SetDefaultLangId(options.lang);
        machine.system.SetCodePage(CSimSystem::CodePageOfLanguage(options.lang));
    }
    if (options.codePageGiven) machine.system.SetCodePage(options.codePage);
    if (options.registry) {
        FILE* probe = fopen(options.registry, "rb");
        if (probe) {
            fclose(probe);
            FixedText<256> error;
            if (!machine.registry.LoadRegFile(options.registry, &error)) {
                fprintf(err, "tova-sim: registry %s: %s\n", options.registry, error.c_str());
                return false;
            }
        }
    }
    ApplyBoardToMachine(machine, derived);
    // The start-up's cost is counted from here, without the look for the CD root above.
    machine.files.ResetCost();
    machine.window.ResetImageLoads();
    return true;
}

// At the end the registry goes back to its file as it stands, without what the board added.
int SaveRegistry(const COptions& options, CSimMachine& machine,
                 const CBoardRegistryRecord& derived, FILE* err)
{
    RemoveBoardRegistry(derived, &machine.registry);
    if (options.registry && !machine.registry.SaveRegFile(options.registry)) {
        fprintf(err, "tova-sim: cannot write registry %s\n", options.registry);
        return SIM_EXIT_USAGE;
    }
    return 0;
}

int ProgramExitCode(CSimMachine& machine)
{
    return machine.processes.Exited() ? static_cast<int>(machine.processes.ExitCode()) : 0;
}

}  // namespace

int RunStartCommand(int argc, char** argv, FILE* out, FILE* err)
{
    COptions options;
    if (!ParseOptions(argc, argv, OPTIONS_START, &options, err)) return SIM_EXIT_USAGE;
    CSimMachine machine;
    CBoardRegistryRecord derived;
    if (!SetUpStartMachine(options, machine, &derived, err)) return SIM_EXIT_USAGE;

    CPlatform platform = machine.Platform();
    CSetupApp app(platform, machine.appHost);
    CStartRun run = {&machine, out};
    app.SetDialogEndHook(PrintStartRun, &run);
    app.InitInstance();

    if (SaveRegistry(options, machine, derived, err) != 0) return SIM_EXIT_USAGE;
    return ProgramExitCode(machine);
}

namespace {

// What a killed session keeps: the registry as the program left it.
struct CKillSave {
    const COptions* options;
    CSimMachine* machine;
    const CBoardRegistryRecord* derived;
    FILE* err;
};

void SaveAtKill(void* context)
{
    CKillSave* save = static_cast<CKillSave*>(context);
    SaveRegistry(*save->options, *save->machine, *save->derived, save->err);
}

}  // namespace

int RunSessionCommand(int argc, char** argv, FILE* out, FILE* err)
{
    COptions options;
    if (!ParseOptions(argc, argv, OPTIONS_SESSION, &options, err)) return SIM_EXIT_USAGE;
    CSimMachine machine;
    CBoardRegistryRecord derived;
    if (!SetUpStartMachine(options, machine, &derived, err)) return SIM_EXIT_USAGE;
    FILE* script = nullptr;
    bool ownScript = false;
    if (options.script && strcmp(options.script, "-") == 0) {
        script = stdin;
    } else if (options.script) {
        script = fopen(options.script, "r");
        if (!script) {
            fprintf(err, "tova-sim: cannot read script %s\n", options.script);
            return SIM_EXIT_USAGE;
        }
        ownScript = true;
    }

    CPlatform platform = machine.Platform();
    CSetupApp app(platform, machine.appHost);
    CSession session(machine, app.state, script, out, err);
    CKillSave killSave = {&options, &machine, &derived, err};
    session.SetKillHook(SaveAtKill, &killSave);
    machine.appHost.SetModalLoop(&session);
    app.InitInstance();
    machine.appHost.SetModalLoop(nullptr);
    if (ownScript) fclose(script);
    if (session.Failed()) return SIM_EXIT_USAGE;
    if (SaveRegistry(options, machine, derived, err) != 0) return SIM_EXIT_USAGE;
    return ProgramExitCode(machine);
}

int RunLintCommand(int argc, char** argv, FILE* out, FILE* err)
{
    COptions options;
    if (!ParseOptions(argc, argv, OPTIONS_LINT, &options, err)) return SIM_EXIT_USAGE;
    CLintOptions lint;
    lint.drives = options.drives;
    if (options.programDir) lint.programDir = options.programDir;
    lint.systems = options.systems;
    return RunLint(lint, out, err);
}
