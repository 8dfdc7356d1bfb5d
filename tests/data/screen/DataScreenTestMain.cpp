#include "base/Log.h"

#include <gtest/gtest.h>

#include <QApplication>

// Widgets need an application; offscreen unless a display is asked for.
int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The store logs every step; keep gtest's report readable.
    tonara::Log::setSink([](const std::string &, const std::string &) {});
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
