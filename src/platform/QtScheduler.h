#pragma once

#include "base/Scheduler.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>

class QTimer;

namespace tonara {

// Scheduler on the Qt main loop.
class QtScheduler final : public QObject, public Scheduler {
    Q_OBJECT
public:
    explicit QtScheduler(QObject *parent = nullptr);
    ~QtScheduler() override;

    void post(Task task) override;
    TimerId singleShot(Millis delay, Task task) override;
    TimerId repeating(Millis interval, Task task) override;
    void cancel(TimerId id) override;
    Millis elapsed() const override;

private:
    TimerId start(Millis interval, bool repeat, Task task);

    QElapsedTimer clock_;
    TimerId next_ = 1;
    std::map<TimerId, QTimer *> timers_;
};

} // namespace tonara
