#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <functional>

namespace tonara::test {

// One QCoreApplication for the whole test program: serial ports and timers
// need an event loop.
inline QCoreApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until pred() holds or the time is up; returns pred().
inline bool spinUntil(const std::function<bool()> &pred,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(3000))
{
    qtApp();
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for a while regardless.
inline void spinFor(std::chrono::milliseconds d)
{
    spinUntil([] { return false; }, d);
}

} // namespace tonara::test
