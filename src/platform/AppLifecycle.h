#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QTimer;
class QWidget;

namespace tonara {

// Whether the application is in front or in the background, and the short
// background tasks that may still run once it has left. Minimising the main
// window, or the platform suspending or hiding the application, counts as
// going to the background; restoring it as coming back.
class AppLifecycle : public QObject {
    Q_OBJECT
public:
    using TaskId = int;
    static constexpr TaskId kInvalidTask = 0;

    explicit AppLifecycle(QObject *parent = nullptr);
    ~AppLifecycle() override;

    // Watches the window for minimising and restoring.
    void watchWindow(QWidget *window);
    bool isInBackground() const { return background_; }

    // Platform events, and the way tests and the simulator menu send them.
    void enterBackground();
    void enterForeground();

    // A task that should finish before the application is frozen. Returns
    // kInvalidTask when none can be granted; otherwise the expiry handler runs
    // if the task is still open when the time is up.
    TaskId beginBackgroundTask(std::function<void()> expiry = {});
    void endBackgroundTask(TaskId id);
    int openTaskCount() const { return int(tasks_.size()); }
    // What the platform allows (tests).
    void setBackgroundTasksAvailable(bool available) { tasksAvailable_ = available; }
    void setBackgroundTaskLimitMs(int ms) { limitMs_ = ms; }

signals:
    void didEnterBackground();
    void willEnterForeground();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool background_ = false;
    bool tasksAvailable_ = true;
    int limitMs_ = 30 * 1000;
    TaskId next_ = 1;
    QHash<TaskId, QTimer *> tasks_;
    QPointer<QWidget> window_;
};

} // namespace tonara
