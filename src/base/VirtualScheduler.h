#pragma once

#include "base/Scheduler.h"

#include <map>
#include <memory>

namespace tonara {

// Virtual time for tests: nothing runs until advance() or runPending() is
// called, and then everything that falls due runs in due order.
class VirtualScheduler final : public Scheduler {
public:
    void post(Task task) override;
    TimerId singleShot(Millis delay, Task task) override;
    TimerId repeating(Millis interval, Task task) override;
    void cancel(TimerId id) override;
    Millis elapsed() const override { return now_; }

    // Runs posted tasks and timers due now (including ones they schedule for now).
    void runPending();
    // Moves time forward by d, running everything that falls due on the way.
    void advance(Millis d);
    // Advances in steps until pred() holds or the limit passes; true if it held.
    bool advanceUntil(const std::function<bool()> &pred, Millis limit, Millis step = Millis(1));
    std::size_t pendingTimers() const { return timers_.size(); }

private:
    struct Timer {
        Millis due;
        Millis interval; // 0 for single shot
        std::shared_ptr<Task> task;
    };
    bool runOneDue(Millis upTo);

    Millis now_{0};
    TimerId nextId_ = 1;
    std::uint64_t seq_ = 0;
    // key: (due, sequence) for a stable order among timers due at the same moment
    std::map<std::pair<Millis, std::uint64_t>, TimerId> queue_;
    std::map<TimerId, Timer> timers_;
};

} // namespace tonara
