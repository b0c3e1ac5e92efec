// The subcommands of tova-sim.
#pragma once

#include <cstdio>

#include "tools/tova-sim/exit_codes.h"

// Classification, BIOS text, processor vendor and PCI look-ups on a board.
int RunHwCommand(int argc, char** argv, FILE* out, FILE* err);
// The program's start-up up to the install list.
int RunStartCommand(int argc, char** argv, FILE* out, FILE* err);
// The start-up, then a script of commands whenever the program waits for input.
int RunSessionCommand(int argc, char** argv, FILE* out, FILE* err);
// Checks a driver CD without a board: one finding a line, 1 when any is an error.
int RunLintCommand(int argc, char** argv, FILE* out, FILE* err);
