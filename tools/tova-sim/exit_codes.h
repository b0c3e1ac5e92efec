// The exit statuses tova-sim gives of its own, beside the program's.
#pragma once

// Bad options and unreadable files; distinct from the program's own ends (exit code 0).
const int SIM_EXIT_USAGE = 2;
