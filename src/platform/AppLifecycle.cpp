#include "platform/AppLifecycle.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace tonara {

AppLifecycle::AppLifecycle(QObject *parent) : QObject(parent)
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            // Inactive only means another window has the focus: still in front.
            if (state == Qt::ApplicationSuspended || state == Qt::ApplicationHidden)
                enterBackground();
            else if (state == Qt::ApplicationActive)
                enterForeground();
        });
    }
}

AppLifecycle::~AppLifecycle() = default; // task timers are children

void AppLifecycle::watchWindow(QWidget *window)
{
    if (window_)
        window_->removeEventFilter(this);
    window_ = window;
    if (window_)
        window_->installEventFilter(this);
}

bool AppLifecycle::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
        if (window_->isMinimized())
            enterBackground();
        else
            enterForeground();
    }
    return QObject::eventFilter(watched, event);
}

void AppLifecycle::enterBackground()
{
    if (background_)
        return;
    background_ = true;
    emit didEnterBackground();
}

void AppLifecycle::enterForeground()
{
    if (!background_)
        return;
    background_ = false;
    emit willEnterForeground();
}

AppLifecycle::TaskId AppLifecycle::beginBackgroundTask(std::function<void()> expiry)
{
    if (!tasksAvailable_)
        return kInvalidTask;
    const TaskId id = next_++;
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(limitMs_);
    connect(timer, &QTimer::timeout, this, [this, id, expiry = std::move(expiry)] {
        if (!tasks_.contains(id))
            return;
        if (expiry)
            expiry();
        endBackgroundTask(id); // the platform ends it when the time is up anyway
    });
    tasks_.insert(id, timer);
    timer->start();
    return id;
}

void AppLifecycle::endBackgroundTask(TaskId id)
{
    QTimer *timer = tasks_.take(id);
    if (timer) {
        timer->stop();
        timer->deleteLater();
    }
}

} // namespace tonara
