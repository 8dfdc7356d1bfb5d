#include "platform/QtScheduler.h"

#include <QMetaObject>
#include <QTimer>

namespace tonara {

QtScheduler::QtScheduler(QObject *parent) : QObject(parent)
{
    clock_.start();
}

QtScheduler::~QtScheduler() = default; // timers are children and go with us

void QtScheduler::post(Task task)
{
    QMetaObject::invokeMethod(
        this, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

Scheduler::TimerId QtScheduler::singleShot(Millis delay, Task task)
{
    return start(delay, false, std::move(task));
}

Scheduler::TimerId QtScheduler::repeating(Millis interval, Task task)
{
    return start(interval, true, std::move(task));
}

Scheduler::TimerId QtScheduler::start(Millis interval, bool repeat, Task task)
{
    const TimerId id = next_++;
    auto *timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeat);
    timer->setInterval(static_cast<int>(interval.count()));
    connect(timer, &QTimer::timeout, this, [this, id, repeat, task = std::move(task)] {
        if (!repeat)
            cancel(id);
        task();
    });
    timers_[id] = timer;
    timer->start();
    return id;
}

void QtScheduler::cancel(TimerId id)
{
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

Millis QtScheduler::elapsed() const
{
    return Millis(clock_.elapsed());
}

} // namespace tonara
