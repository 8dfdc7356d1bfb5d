#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <functional>

namespace tonara::test {

// One application object for the whole test program: serial ports and timers
// need an event loop, pictures and widgets a GUI one (offscreen unless the
// environment picks a platform). Every test that needs Qt goes through here, as
// a second application object cannot be made.
inline QCoreApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char *argv[] = {name, nullptr};
    [[maybe_unused]] static const bool platformChosen = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }();
    static QApplication app(argc, argv);
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
