// tova-sim: the program's core on the simulated platform, from the command line. It is how CD
// authors check what a CD offers on a board and how tests drive whole flows; its output is
// plain name=value lines that scripts compare.
#include <cstdio>
#include <cstring>

#include "platform/sim/sim_system.h"
#include "tools/tova-sim/sim_commands.h"

namespace {

void PrintUsage(FILE* out)
{
    fprintf(out,
            "usage: tova-sim hw --board FILE --os NAME [--find 0xID[:0xSUBSYS]]...\n"
            "       tova-sim start [--drive LETTER=DIR]... [--program-dir WINPATH]\n"
            "                      [--board FILE] [--os NAME] [--lang 0xNNNN]\n"
            "                      [--codepage N] [--registry FILE.reg]\n"
            "       tova-sim session [the options of start] [--script FILE|-]\n"
            "       tova-sim lint --drive LETTER=DIR... [--program-dir WINPATH] [--os NAME]...\n"
            "systems:");
    for (size_t i = 0; i < CSimSystem::OsNameCount(); ++i) fprintf(out, " %s", CSimSystem::OsNameAt(i));
    fprintf(out, ", or raw PLATFORM.MAJOR.MINOR.BUILD[:CSD]\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return SIM_EXIT_USAGE;
    }
    if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (strcmp(argv[1], "hw") == 0) return RunHwCommand(argc - 2, argv + 2, stdout, stderr);
    if (strcmp(argv[1], "start") == 0) return RunStartCommand(argc - 2, argv + 2, stdout, stderr);
    if (strcmp(argv[1], "session") == 0) {
        return RunSessionCommand(argc - 2, argv + 2, stdout, stderr);
    }
    if (strcmp(argv[1], "lint") == 0) return RunLintCommand(argc - 2, argv + 2, stdout, stderr);
    fprintf(stderr, "tova-sim: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return SIM_EXIT_USAGE;
}
