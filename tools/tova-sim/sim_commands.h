// The subcommands of tova-sim.
#pragma once

#include <cstdio>

#include "platform/sim/sim_machine.h"

// Bad options and unreadable files; distinct from the program's own ends (exit code 0).
const int SIM_EXIT_USAGE = 2;

// Classification, BIOS text, processor vendor and PCI look-ups on a board.
int RunHwCommand(int argc, char** argv, FILE* out, FILE* err);
// The program's start-up up to the install list.
int RunStartCommand(int argc, char** argv, FILE* out, FILE* err);
// The start-up, then a script of commands whenever the program waits for input.
int RunSessionCommand(int argc, char** argv, FILE* out, FILE* err);
// Checks a driver CD without a board: one finding a line, 1 when any is an error.
int RunLintCommand(int argc, char** argv, FILE* out, FILE* err);

class CSetupDlg;
// The lines start prints once the dialog is initialised (or the events that ended it).
void PrintStartLines(CSetupDlg& dialog, CSimMachine& machine, FILE* out, bool withEvents);
