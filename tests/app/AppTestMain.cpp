#include "storage/DBHelper.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTemporaryDir>

// Widgets need an application; offscreen unless a display is asked for. The
// shared database goes to a throw-away folder, never the person's own.
int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // The layers' developer lines would drown the test output.
    QLoggingCategory::setFilterRules(QStringLiteral("tonara.*.info=false"));
    QTemporaryDir shared;
    tonara::DBHelper::configure(shared.path().toStdString(), nullptr);
    return RUN_ALL_TESTS();
}
