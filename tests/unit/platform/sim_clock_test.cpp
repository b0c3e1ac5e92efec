// The virtual clock: timers fire in due order, re-arm, coalesce when late, and may be changed
// by the handler they fire into.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"

namespace {

// Records "id@time" for every timer that fires; can run an action on a given id.
class CRecordingSink : public CSimTimerSink {
public:
    explicit CRecordingSink(CSimClock& clock) : clock(clock) {}
    void OnTimer(uint32_t id) override
    {
        fired.push_back(std::to_string(id) + "@" + std::to_string(clock.Now()));
        if (id == killOn) clock.KillTimer(killTarget);
        if (id == sleepOn) clock.Pass(sleepMs);
    }

    CSimClock& clock;
    std::vector<std::string> fired;
    uint32_t killOn = 0, killTarget = 0;
    uint32_t sleepOn = 0, sleepMs = 0;
};

std::string Join(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : " ") + item;
    return out;
}

}  // namespace

TEST(SimClock, TimersFireInDueOrderAndRearm)
{
    CSimClock clock;
    CRecordingSink sink(clock);
    clock.SetSink(&sink);
    clock.SetTimer(99, 500);
    clock.SetTimer(1, 200);
    clock.SetTimer(5, 120);
    EXPECT_EQ(3u, clock.ArmedCount());
    EXPECT_EQ(200u, clock.Period(1));
    EXPECT_EQ(0u, clock.Period(2));
    uint32_t id = 0;
    uint64_t due = 0;
    ASSERT_TRUE(clock.NextDue(&id, &due));
    EXPECT_EQ(5u, id);
    EXPECT_EQ(120u, due);

    // At 600 both are due; 1 was re-armed before 5, so it goes first.
    EXPECT_EQ(9, clock.Advance(600));
    EXPECT_EQ("5@120 1@200 5@240 5@360 1@400 5@480 99@500 1@600 5@600", Join(sink.fired));
    EXPECT_EQ(600u, clock.Now());

    // Timers due at the same moment fire in the order they were armed.
    sink.fired.clear();
    clock.KillAllTimers();
    clock.SetTimer(2, 100);
    clock.SetTimer(1, 100);
    EXPECT_EQ(2, clock.Advance(100));
    EXPECT_EQ("2@700 1@700", Join(sink.fired));
    // Re-arming counts as arming anew: 2 now falls due with 1 but was armed after it.
    sink.fired.clear();
    clock.Advance(50);
    clock.SetTimer(2, 50);
    EXPECT_EQ(2, clock.Advance(50));
    EXPECT_EQ("1@800 2@800", Join(sink.fired));

    // Re-arming restarts the period; a killed timer stays quiet.
    clock.Advance(50);
    sink.fired.clear();
    clock.SetTimer(2, 100);
    EXPECT_TRUE(clock.KillTimer(1));
    EXPECT_FALSE(clock.KillTimer(1));
    clock.Advance(120);
    EXPECT_EQ("2@950", Join(sink.fired));
}

TEST(SimClock, HandlersMayChangeTimersAndPassTime)
{
    CSimClock clock;
    CRecordingSink sink(clock);
    clock.SetSink(&sink);
    clock.SetTimer(1, 100);
    clock.SetTimer(2, 150);
    sink.killOn = 1;
    sink.killTarget = 2;
    clock.Advance(1000);
    EXPECT_EQ("1@100 1@200 1@300 1@400 1@500 1@600 1@700 1@800 1@900 1@1000", Join(sink.fired));

    // A handler that blocks for longer than the period: the next tick comes as soon as it
    // returns, and the missed ones are not made up.
    sink.fired.clear();
    sink.killOn = 0;
    sink.sleepOn = 1;
    sink.sleepMs = 350;
    clock.Advance(500);
    EXPECT_EQ("1@1100 1@1450", Join(sink.fired));
    EXPECT_EQ(1800u, clock.Now()) << "the handler's own time is not taken back";

    // A period of 0 is raised to the minimum instead of firing without end.
    sink.fired.clear();
    sink.sleepOn = 0;
    clock.KillAllTimers();
    clock.SetTimer(7, 0);
    EXPECT_EQ(SIM_TIMER_MINIMUM_MS, clock.Period(7));
    EXPECT_EQ(5, clock.Advance(50));
}

TEST(SimClock, FireNextStepsOneTimerAtATime)
{
    CSimClock clock;
    uint32_t id = 0;
    EXPECT_FALSE(clock.NextDue(&id, nullptr));
    EXPECT_FALSE(clock.FireNext(250, &id));
    EXPECT_EQ(250u, clock.Now()) << "nothing due: the whole span passes";

    clock.SetTimer(3, 1000);
    EXPECT_FALSE(clock.FireNext(999, &id));
    EXPECT_EQ(1249u, clock.Now());
    ASSERT_TRUE(clock.FireNext(5000, &id)) << "fires without a sink too";
    EXPECT_EQ(3u, id);
    EXPECT_EQ(1250u, clock.Now());
    EXPECT_TRUE(clock.IsArmed(3));
    uint64_t due = 0;
    ASSERT_TRUE(clock.NextDue(&id, &due));
    EXPECT_EQ(2250u, due);
}
