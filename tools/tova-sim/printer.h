// What tova-sim prints: the simulated PC's events and the state the start-up reached.
#pragma once

#include <cstddef>
#include <cstdio>

#include "platform/sim/sim_machine.h"

struct CProgramState;

// Which events a command shows.
enum CEventKinds {
    // What a person sees of a start: the message boxes and the end of the program.
    EVENTS_START,
    // A session also shows the programs started, the restarts, the resume notice, a paint's
    // own drawing when asked to paint, and while tracing the drawing outside a paint, the
    // cursor, the capture and the timers.
    EVENTS_SESSION,
};

class CEventPrinter {
public:
    CEventPrinter(const CSimEventLog& events, CEventKinds kinds, FILE* out);

    // Prints the events logged since the last call; painting: the paint's own drawing too.
    void PrintNew(bool painting);
    // The events logged so far count as printed.
    void SkipLogged();
    void SetTracing(bool on) { tracing = on; }

private:
    bool Shows(size_t index, bool painting) const;

    const CSimEventLog& events;
    CEventKinds kinds;
    FILE* out;
    size_t printed = 0;
    bool tracing = false;
};

// The lines start prints once the dialog is initialised: title, CD root, language, system,
// detection, install list, the port operations and the cost of the files read; nothing when the
// program has ended.
void PrintStartState(const CProgramState& state, CSimMachine& machine, FILE* out);
// What the start-up's reads cost (docs/start-cost.md): the pictures loaded, the distinct files,
// the bytes, the profile reads and the same start on a CD-ROM drive.
void PrintStartCost(CSimMachine& machine, FILE* out);
