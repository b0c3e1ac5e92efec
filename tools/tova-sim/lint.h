// tova-sim lint: checks a driver CD's content files, pictures, driver list and packages without
// booting a board, one finding a line.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// What a lint run is given: the simulated drives, the program's folder on them (empty: the CD
// root) and the systems the CD supports (empty: all seven).
struct CLintOptions {
    std::vector<std::pair<char, std::string>> drives;
    std::string programDir;
    std::vector<std::string> systems;
};

// Exit status of a lint run whose options were good: 1 when some finding is an error.
const int LINT_EXIT_CLEAN = 0;
const int LINT_EXIT_ERRORS = 1;

// Prints every finding to out as "error|warning TAB file TAB line TAB message" (file relative to
// the CD root with backslashes, line 1-based or 0); problems with the options go to err and give
// SIM_EXIT_USAGE.
int RunLint(const CLintOptions& options, FILE* out, FILE* err);
