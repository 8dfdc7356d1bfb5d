// tonara-report: the doctor's report of a user and period (or a
// home-monitoring week) as PDF, for scripts and for tests.

#include "ReportCommand.h"

#include "base/Clock.h"

#include <QApplication>

#include <iostream>

int main(int argc, char *argv[])
{
    // The charts draw with Qt Widgets' scene; no window is ever shown.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tonara-report"));

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    tonara::SystemClock clock;
    return tonara::ReportCommand(clock).run(args, std::cout, std::cerr);
}
