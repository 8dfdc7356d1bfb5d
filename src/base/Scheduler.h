#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace tonara {

using Millis = std::chrono::milliseconds;

// Everything that waits (reply wait, battery poll, TRIV pause, ticks) runs on
// a Scheduler: the app passes one driven by the Qt main loop, tests pass a
// VirtualScheduler and step time by hand.
class Scheduler {
public:
    using TimerId = std::uint64_t;
    using Task = std::function<void()>;

    virtual ~Scheduler() = default;

    // Runs the task on the main loop soon, after the current event.
    virtual void post(Task task) = 0;
    // Runs the task once after the delay. The id stays valid until it fires or is cancelled.
    virtual TimerId singleShot(Millis delay, Task task) = 0;
    // Runs the task every interval until cancelled.
    virtual TimerId repeating(Millis interval, Task task) = 0;
    // Cancelling an id that already fired, or 0, does nothing.
    virtual void cancel(TimerId id) = 0;
    // Monotonic time since some fixed start, for measuring intervals.
    virtual Millis elapsed() const = 0;
};

} // namespace tonara
