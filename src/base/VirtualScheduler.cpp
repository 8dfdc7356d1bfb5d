#include "base/VirtualScheduler.h"

namespace tonara {

void VirtualScheduler::post(Task task)
{
    singleShot(Millis(0), std::move(task));
}

Scheduler::TimerId VirtualScheduler::singleShot(Millis delay, Task task)
{
    const TimerId id = nextId_++;
    const Millis due = now_ + (delay < Millis(0) ? Millis(0) : delay);
    timers_[id] = Timer{due, Millis(0), std::make_shared<Task>(std::move(task))};
    queue_[{due, seq_++}] = id;
    return id;
}

Scheduler::TimerId VirtualScheduler::repeating(Millis interval, Task task)
{
    if (interval < Millis(1))
        interval = Millis(1);
    const TimerId id = nextId_++;
    timers_[id] = Timer{now_ + interval, interval, std::make_shared<Task>(std::move(task))};
    queue_[{now_ + interval, seq_++}] = id;
    return id;
}

void VirtualScheduler::cancel(TimerId id)
{
    // The queue entry stays; runOneDue skips ids that are gone.
    timers_.erase(id);
}

bool VirtualScheduler::runOneDue(Millis upTo)
{
    while (!queue_.empty()) {
        auto it = queue_.begin();
        if (it->first.first > upTo)
            return false;
        const TimerId id = it->second;
        const Millis due = it->first.first;
        queue_.erase(it);
        auto t = timers_.find(id);
        if (t == timers_.end() || t->second.due != due)
            continue; // cancelled, or a stale entry
        now_ = due;
        std::shared_ptr<Task> task = t->second.task;
        if (t->second.interval > Millis(0)) {
            t->second.due = due + t->second.interval;
            queue_[{t->second.due, seq_++}] = id;
        } else {
            timers_.erase(t);
        }
        (*task)();
        return true;
    }
    return false;
}

void VirtualScheduler::runPending()
{
    while (runOneDue(now_)) {
    }
}

void VirtualScheduler::advance(Millis d)
{
    const Millis target = now_ + d;
    while (runOneDue(target)) {
    }
    now_ = target;
}

bool VirtualScheduler::advanceUntil(const std::function<bool()> &pred, Millis limit, Millis step)
{
    runPending();
    const Millis end = now_ + limit;
    while (!pred()) {
        if (now_ >= end)
            return false;
        advance(step);
    }
    return true;
}

} // namespace tonara
