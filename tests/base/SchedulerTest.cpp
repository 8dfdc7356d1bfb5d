#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tonara;
using namespace std::chrono_literals;

TEST(VirtualScheduler, RunsTimersInDueOrderAndRepeatsUntilCancelled)
{
    VirtualScheduler s;
    std::vector<std::string> log;
    s.singleShot(30ms, [&] { log.push_back("b@" + std::to_string(s.elapsed().count())); });
    s.singleShot(10ms, [&] { log.push_back("a@" + std::to_string(s.elapsed().count())); });
    int ticks = 0;
    auto rep = s.repeating(25ms, [&] { ++ticks; });
    s.advance(29ms);
    EXPECT_EQ(log, std::vector<std::string>({"a@10"}));
    EXPECT_EQ(ticks, 1);
    s.advance(71ms); // to 100
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(ticks, 4);
    s.cancel(rep);
    s.advance(1000ms);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(s.elapsed(), 1100ms);
}

TEST(VirtualScheduler, PostedTasksRunOnlyWhenTheLoopTurnsAndCancelDuringRunIsSafe)
{
    VirtualScheduler s;
    int n = 0;
    s.post([&] {
        ++n;
        s.post([&] { ++n; }); // scheduled from inside a task: runs in the same turn
    });
    EXPECT_EQ(n, 0);
    s.runPending();
    EXPECT_EQ(n, 2);

    Scheduler::TimerId self = 0;
    int fired = 0;
    self = s.repeating(5ms, [&] {
        ++fired;
        s.cancel(self);
    });
    s.advance(50ms);
    EXPECT_EQ(fired, 1);
    s.cancel(0);
    s.cancel(12345);
}

TEST(NotificationCenter, DeliversByNameAndSenderAndToleratesRemovalDuringPost)
{
    NotificationCenter c;
    int a = 0, b = 0;
    const int senderA = 0, senderB = 0;
    auto ta = c.addObserver(
        "X", [&](const std::string &, const void *) { ++a; }, &senderA);
    NotificationCenter::Token tb = 0;
    tb = c.addObserver("X", [&](const std::string &, const void *) {
        ++b;
        c.removeObserver(ta); // the other observer must not run after removal
        c.removeObserver(tb);
    });
    c.post("Y", &senderA);
    EXPECT_EQ(a + b, 0);
    c.post("X", &senderB);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    c.post("X", &senderA);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(c.observerCount("X"), 0u);
}

TEST(Clock, FormatsZeroPaddedLocalTexts)
{
    ManualClock clock({2026, 1, 5, 0, 3, 9});
    EXPECT_EQ(clock.localDate(), "2026-01-05");
    EXPECT_EQ(clock.localTime(), "00:03:09");
}
