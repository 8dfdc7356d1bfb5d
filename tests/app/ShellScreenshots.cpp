#include "AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "platform/AlertPresenter.h"
#include "platform/DeviceFrame.h"
#include "platform/NavigationController.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>

namespace tonara {
namespace {

using test::saveScreenshot;
using test::ShellHarness;

void runFor(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ShellHarness::settle();
}

class ShellScreenshots : public ::testing::TestWithParam<FormFactor> {
protected:
    QString prefix() const
    {
        return QStringLiteral("shell_") + test::formName(GetParam()) + QLatin1Char('_');
    }
};

TEST_P(ShellScreenshots, EveryTabAndSheet)
{
    ShellHarness::Setup setup = ShellHarness::on(GetParam());
    setup.standInScreen = false; // the real measurement tab, on the built-in simulator
    ShellHarness h(setup);
    runFor(400); // docking and the first battery report
    TonaraTabBarController *tabs = h.app().tabBarController();
    saveScreenshot(h, prefix() + QStringLiteral("1_measurement"));

    tabs->setSelectedIndex(1);
    saveScreenshot(h, prefix() + QStringLiteral("2_report"));
    h.app().deviceFrame()->turnLeft();
    saveScreenshot(h, prefix() + QStringLiteral("3_report_landscape"));
    h.app().deviceFrame()->turnRight();

    tabs->setSelectedIndex(2);
    saveScreenshot(h, prefix() + QStringLiteral("4_setting"));
    tabs->setSelectedIndex(3);
    saveScreenshot(h, prefix() + QStringLiteral("5_user"));
    auto *nav = qobject_cast<NavigationController *>(tabs->viewController(3));
    auto *pushed = new QWidget;
    pushed->setWindowTitle(QStringLiteral("Edit"));
    pushed->setAutoFillBackground(true);
    nav->push(pushed, false);
    saveScreenshot(h, prefix() + QStringLiteral("6_user_pushed"));
    nav->pop(false);

    tabs->setSelectedIndex(0);
    h.app().alerts()->alert(
        QStringLiteral("Measurement Stop"),
        QStringLiteral("Measurement stopped.You have\neither pressed the Stop button or\n "
                       "disconnect the Tonara+ during\nmeasurement."),
        {QStringLiteral("OK")});
    saveScreenshot(h, prefix() + QStringLiteral("7_alert"));
    h.app().alerts()->answer(0);
    h.app().alerts()->alert(QStringLiteral("Abort the reading"), QString(),
                            {QStringLiteral("OK"), QStringLiteral("Cancel")});
    saveScreenshot(h, prefix() + QStringLiteral("8_alert_two_buttons"));
    h.app().alerts()->answer(1);
    h.app().alerts()->actionSheet(
        QStringLiteral("Send the readings by e-mail"),
        {QStringLiteral("This month"), QStringLiteral("All readings"), QStringLiteral("Cancel")});
    saveScreenshot(h, prefix() + QStringLiteral("9_action_sheet"));
    h.app().alerts()->answer(2);
}

INSTANTIATE_TEST_SUITE_P(FormFactors, ShellScreenshots,
                         ::testing::Values(FormFactor::Phone480, FormFactor::Tablet));

} // namespace
} // namespace tonara
