// The virtual clock and its window timers.
#include "platform/sim/sim_clock.h"

CSimClock::CSimClock() : now(0), nextOrder(0), sink(nullptr) {}

int CSimClock::FindTimer(uint32_t id) const
{
    for (size_t i = 0; i < timers.size(); ++i) {
        if (timers[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

int CSimClock::EarliestTimer() const
{
    int best = -1;
    for (size_t i = 0; i < timers.size(); ++i) {
        const CTimer& t = timers[i];
        if (best < 0 || t.due < timers[best].due ||
            (t.due == timers[best].due && t.order < timers[best].order)) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

void CSimClock::SetTimer(uint32_t id, uint32_t periodMs)
{
    if (periodMs < SIM_TIMER_MINIMUM_MS) periodMs = SIM_TIMER_MINIMUM_MS;
    CTimer timer = {id, periodMs, now + periodMs, nextOrder++};
    int i = FindTimer(id);
    if (i >= 0) {
        timers[i] = timer;
    } else {
        timers.push_back(timer);
    }
}

bool CSimClock::KillTimer(uint32_t id)
{
    int i = FindTimer(id);
    if (i < 0) return false;
    timers.erase(timers.begin() + i);
    return true;
}

bool CSimClock::IsArmed(uint32_t id) const
{
    return FindTimer(id) >= 0;
}

uint32_t CSimClock::Period(uint32_t id) const
{
    int i = FindTimer(id);
    return i < 0 ? 0 : timers[i].period;
}

bool CSimClock::NextDue(uint32_t* id, uint64_t* dueAt) const
{
    int i = EarliestTimer();
    if (i < 0) return false;
    if (id) *id = timers[i].id;
    if (dueAt) *dueAt = timers[i].due;
    return true;
}

bool CSimClock::FireNext(uint64_t limitMs, uint32_t* firedId)
{
    if (firedId) *firedId = 0;
    uint64_t limit = now + limitMs;
    int i = EarliestTimer();
    if (i < 0 || timers[i].due > limit) {
        now = limit;
        RunDueActions();
        return false;
    }
    if (timers[i].due > now) {
        now = timers[i].due;
        RunDueActions();
        i = EarliestTimer();
        if (i < 0 || timers[i].due > now) return true;
    }
    CTimer& timer = timers[i];
    if (timer.due > now) now = timer.due;
    // Re-armed before the handler runs, so a handler that kills or re-arms its own timer wins.
    timer.due = now + timer.period;
    timer.order = nextOrder++;
    uint32_t id = timer.id;
    if (firedId) *firedId = id;
    if (sink) sink->OnTimer(id);
    return true;
}

int CSimClock::Advance(uint64_t ms)
{
    uint64_t target = now + ms;
    int fired = 0;
    for (;;) {
        int i = EarliestTimer();
        // A handler that passed time itself may have gone beyond the target already.
        if (i < 0 || timers[i].due > target || now > target) break;
        FireNext(target - now, nullptr);
        ++fired;
    }
    if (now < target) now = target;
    return fired;
}

void CSimClock::Schedule(uint64_t atMs, std::function<void()> action)
{
    actions.push_back({atMs, nextOrder++, action});
    RunDueActions();
}

void CSimClock::RunDueActions()
{
    for (;;) {
        int due = -1;
        for (size_t i = 0; i < actions.size(); ++i) {
            const CAction& a = actions[i];
            if (a.at > now) continue;
            if (due < 0 || a.at < actions[due].at ||
                (a.at == actions[due].at && a.order < actions[due].order)) {
                due = static_cast<int>(i);
            }
        }
        if (due < 0) return;
        std::function<void()> run = actions[due].run;
        actions.erase(actions.begin() + due);
        run();
    }
}
