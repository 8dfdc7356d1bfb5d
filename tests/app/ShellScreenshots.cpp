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

using test::ShellHarness;

// Pictures of the shell for people to look at: the window with the device on
// the desk, in the phone 480 and tablet form factors.
QString outputDir()
{
    const QString dir = qEnvironmentVariableIsSet("TONARA_SCREENSHOT_DIR")
                            ? qEnvironmentVariable("TONARA_SCREENSHOT_DIR")
                            : QDir::current().filePath(QStringLiteral("screenshots"));
    QDir().mkpath(dir);
    return dir;
}

void runFor(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ShellHarness::settle();
}

void save(ShellHarness &h, const QString &name)
{
    h.app().window()->adjustSize();
    ShellHarness::settle();
    const QImage image = h.app().window()->grab().toImage();
    const QString path = outputDir() + QLatin1Char('/') + name + QStringLiteral(".png");
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(image.save(path)) << path.toStdString();
    // A picture of nothing would be a single colour.
    const QRgb corner = image.pixel(image.width() / 2, image.height() / 2);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 7)
        for (int x = 0; x < image.width() && !varied; x += 7)
            varied = image.pixel(x, y) != corner;
    EXPECT_TRUE(varied) << name.toStdString();
}

class ShellScreenshots : public ::testing::TestWithParam<FormFactor> {
protected:
    QString prefix() const
    {
        switch (GetParam()) {
        case FormFactor::Phone480:
            return QStringLiteral("shell_phone480_");
        case FormFactor::Phone568:
            return QStringLiteral("shell_phone568_");
        case FormFactor::Tablet:
            return QStringLiteral("shell_tablet_");
        }
        return {};
    }
};

TEST_P(ShellScreenshots, EveryTabAndSheet)
{
    ShellHarness::Setup setup = ShellHarness::on(GetParam());
    setup.standInScreen = false; // the real measurement tab, on the built-in simulator
    ShellHarness h(setup);
    runFor(400); // docking and the first battery report
    TonaraTabBarController *tabs = h.app().tabBarController();
    save(h, prefix() + QStringLiteral("1_measurement"));

    tabs->setSelectedIndex(1);
    save(h, prefix() + QStringLiteral("2_report"));
    h.app().deviceFrame()->turnLeft();
    save(h, prefix() + QStringLiteral("3_report_landscape"));
    h.app().deviceFrame()->turnRight();

    tabs->setSelectedIndex(2);
    save(h, prefix() + QStringLiteral("4_setting"));
    tabs->setSelectedIndex(3);
    save(h, prefix() + QStringLiteral("5_user"));
    auto *nav = qobject_cast<NavigationController *>(tabs->viewController(3));
    auto *pushed = new QWidget;
    pushed->setWindowTitle(QStringLiteral("Edit"));
    pushed->setAutoFillBackground(true);
    nav->push(pushed, false);
    save(h, prefix() + QStringLiteral("6_user_pushed"));
    nav->pop(false);

    tabs->setSelectedIndex(0);
    h.app().alerts()->alert(
        QStringLiteral("Measurement Stop"),
        QStringLiteral("Measurement stopped.You have\neither pressed the Stop button or\n "
                       "disconnect the Tonara+ during\nmeasurement."),
        {QStringLiteral("OK")});
    save(h, prefix() + QStringLiteral("7_alert"));
    h.app().alerts()->answer(0);
    h.app().alerts()->alert(QStringLiteral("Abort the reading"), QString(),
                            {QStringLiteral("OK"), QStringLiteral("Cancel")});
    save(h, prefix() + QStringLiteral("8_alert_two_buttons"));
    h.app().alerts()->answer(1);
    h.app().alerts()->actionSheet(
        QStringLiteral("Send the readings by e-mail"),
        {QStringLiteral("This month"), QStringLiteral("All readings"), QStringLiteral("Cancel")});
    save(h, prefix() + QStringLiteral("9_action_sheet"));
    h.app().alerts()->answer(2);
}

INSTANTIATE_TEST_SUITE_P(FormFactors, ShellScreenshots,
                         ::testing::Values(FormFactor::Phone480, FormFactor::Tablet));

} // namespace
} // namespace tonara
