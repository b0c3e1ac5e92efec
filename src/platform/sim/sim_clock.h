// The simulated machine's virtual time: milliseconds that move only when told to, and the
// window timers that fall due as it moves, so long waits and polls run instantly and in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Receives the timers that fall due while the clock is advanced (the dialog's WM_TIMER).
class CSimTimerSink {
public:
    virtual ~CSimTimerSink() {}
    virtual void OnTimer(uint32_t id) = 0;
};

// Windows raises a timer period below this to it; a period of 0 would otherwise fire without
// end inside one Advance.
const uint32_t SIM_TIMER_MINIMUM_MS = 10;

class CSimClock {
public:
    CSimClock();

    // Milliseconds since the simulated machine started.
    uint64_t Now() const { return now; }
    // GetTickCount: the low 32 bits, wrapping as on Windows after 49.7 days.
    uint32_t TickCount() const { return static_cast<uint32_t>(now); }
    void SetNow(uint64_t ms)
    {
        now = ms;
        RunDueActions();
    }

    // Time passes without the message loop running (Sleep, a blocking wait): no timer fires,
    // those that fall due wait for the next Advance.
    void Pass(uint64_t ms)
    {
        now += ms;
        RunDueActions();
    }

    // Something the simulated world does at a moment (a started program writes its log): it
    // happens once the clock has reached the moment, in the order of the moments.
    void Schedule(uint64_t atMs, std::function<void()> action);
    void RunDueActions();
    size_t PendingActions() const { return actions.size(); }

    // Time passes with the message loop running: every timer that falls due up to Now() + ms
    // fires, earliest first (ties in the order they were armed), through the sink. A timer
    // that fires late fires once and is next due one period after it fired, as Windows
    // coalesces WM_TIMER. The sink may arm, kill or pass time itself. Returns how many fired.
    int Advance(uint64_t ms);
    // Moves to the earliest due timer, no further than Now() + limitMs, and fires it. False
    // (and the clock left at Now() + limitMs) when none falls due in that span.
    bool FireNext(uint64_t limitMs, uint32_t* firedId);

    // SetTimer and KillTimer of the one window: re-arming an id restarts its period.
    void SetTimer(uint32_t id, uint32_t periodMs);
    bool KillTimer(uint32_t id);
    void KillAllTimers() { timers.clear(); }
    bool IsArmed(uint32_t id) const;
    // The period of an armed timer; 0 when the id is not armed.
    uint32_t Period(uint32_t id) const;
    // The earliest armed timer and when it falls due; false when none is armed.
    bool NextDue(uint32_t* id, uint64_t* dueAt) const;
    size_t ArmedCount() const { return timers.size(); }

    // Where fired timers go; null: they fire (and re-arm) with nobody listening.
    void SetSink(CSimTimerSink* newSink) { sink = newSink; }

private:
    struct CTimer {
        uint32_t id;
        uint32_t period;
        uint64_t due;
        uint64_t order;  // arming sequence, to break ties between timers due at once
    };

    int FindTimer(uint32_t id) const;
    int EarliestTimer() const;

    struct CAction {
        uint64_t at;
        uint64_t order;
        std::function<void()> run;
    };

    uint64_t now;
    uint64_t nextOrder;
    std::vector<CAction> actions;
    std::vector<CTimer> timers;
    CSimTimerSink* sink;
};
