#pragma once

#include "base/Scheduler.h"

#include <chrono>
#include <map>
#include <memory>

namespace tonara {

// A Scheduler for a plain poll() loop: the loop asks how long it may sleep,
// sleeps in poll(), then runs what fell due.
class PollScheduler final : public Scheduler {
public:
    PollScheduler();

    void post(Task task) override;
    TimerId singleShot(Millis delay, Task task) override;
    TimerId repeating(Millis interval, Task task) override;
    void cancel(TimerId id) override;
    Millis elapsed() const override;

    // Runs every task that is due now, including ones they schedule for now.
    void runDue();
    // Milliseconds until the next task is due (0 if one is due), -1 if none.
    int pollTimeout() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        Clock::time_point due;
        Millis interval; // 0 for single shot
        std::shared_ptr<Task> task;
    };
    TimerId add(Clock::time_point due, Millis interval, Task task);

    Clock::time_point start_;
    TimerId nextId_ = 1;
    std::uint64_t seq_ = 0;
    std::map<std::pair<Clock::time_point, std::uint64_t>, TimerId> queue_;
    std::map<TimerId, Timer> timers_;
};

} // namespace tonara
