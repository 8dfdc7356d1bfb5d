#include "PollScheduler.h"

#include <algorithm>

namespace tonara {

PollScheduler::PollScheduler() : start_(Clock::now()) {}

void PollScheduler::post(Task task)
{
    add(Clock::now(), Millis(0), std::move(task));
}

Scheduler::TimerId PollScheduler::singleShot(Millis delay, Task task)
{
    return add(Clock::now() + std::max(delay, Millis(0)), Millis(0), std::move(task));
}

Scheduler::TimerId PollScheduler::repeating(Millis interval, Task task)
{
    interval = std::max(interval, Millis(1));
    return add(Clock::now() + interval, interval, std::move(task));
}

Scheduler::TimerId PollScheduler::add(Clock::time_point due, Millis interval, Task task)
{
    const TimerId id = nextId_++;
    timers_[id] = Timer{due, interval, std::make_shared<Task>(std::move(task))};
    queue_[{due, seq_++}] = id;
    return id;
}

void PollScheduler::cancel(TimerId id)
{
    timers_.erase(id);
}

Millis PollScheduler::elapsed() const
{
    return std::chrono::duration_cast<Millis>(Clock::now() - start_);
}

void PollScheduler::runDue()
{
    const auto now = Clock::now();
    while (!queue_.empty()) {
        auto it = queue_.begin();
        if (it->first.first > now)
            return;
        const TimerId id = it->second;
        const auto due = it->first.first;
        queue_.erase(it);
        auto t = timers_.find(id);
        if (t == timers_.end() || t->second.due != due)
            continue; // cancelled
        std::shared_ptr<Task> task = t->second.task;
        if (t->second.interval > Millis(0)) {
            // Keep the rhythm, but never queue a burst of missed ticks.
            t->second.due = std::max(due + t->second.interval, now);
            queue_[{t->second.due, seq_++}] = id;
        } else {
            timers_.erase(t);
        }
        (*task)();
    }
}

int PollScheduler::pollTimeout() const
{
    for (const auto &[key, id] : queue_) {
        auto t = timers_.find(id);
        if (t == timers_.end() || t->second.due != key.first)
            continue;
        const auto wait = key.first - Clock::now();
        if (wait <= Clock::duration::zero())
            return 0;
        // Round up so that the loop does not wake just before the timer.
        return static_cast<int>(std::chrono::ceil<Millis>(wait).count());
    }
    return -1;
}

} // namespace tonara
