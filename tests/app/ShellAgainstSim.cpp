#include "AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "measurement/MeasurementMode.h"
#include "measurement/Oscilloscope.h"
#include "measurement/SingleResultPanel.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>

#include <functional>

namespace tonara {
namespace {

using test::ShellHarness;

// tonara-sim on its pseudo-terminal, for as long as the test runs.
class SimOnTerminal {
public:
    explicit SimOnTerminal(const QStringList &args)
    {
        process_.start(QStringLiteral(TONARA_SIM_PATH), args);
        QElapsedTimer t;
        t.start();
        while (!process_.canReadLine() && t.elapsed() < 5000)
            process_.waitForReadyRead(100);
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~SimOnTerminal()
    {
        process_.write("quit\n");
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(1000);
    }
    const QString &path() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

TEST(ShellAgainstSim, ASingleMeasurementOverASerialTerminal)
{
    const int sys = 138, dia = 86, pulse = 74;
    SimOnTerminal sim(
        {"--speed", "10", "--patient", QString::number(sys), QString::number(dia), QString::number(pulse)});
    ASSERT_TRUE(sim.path().startsWith(QLatin1String("/dev/"))) << sim.path().toStdString();

    MeasurementMode::reset();
    ShellHarness::Setup setup;
    setup.standInScreen = false;
    setup.device = sim.path();
    ShellHarness h(setup);
    auto *screen = qobject_cast<instruction_screen *>(h.app().tabBarController()->viewController(0));
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(waitFor([&] { return screen->batteryIcon() && !screen->batteryIcon()->isHidden(); }, 15000))
        << "the monitor on the terminal was not found";

    screen->one_tonara();
    screen->go_measuring();
    ASSERT_TRUE(waitFor([&] { return screen->HardwareButton() == 2; }, 20000)) << "no live values";
    ASSERT_TRUE(waitFor([&] { return screen->HardwareButton() != 2; }, 60000)) << "no result";

    EXPECT_FALSE(h.app().alerts()->hasAlert()) << h.app().alerts()->currentTitle().toStdString();
    EXPECT_FALSE(screen->measuring_window_result()->isHidden());
    // A single reading is the patient's values exactly (only a TRIV series
    // scatters its three).
    EXPECT_EQ(screen->sys_db(), sys);
    EXPECT_EQ(screen->dia_db(), dia);
    EXPECT_EQ(screen->pulse_db(), pulse);
    EXPECT_EQ(screen->singleResultPanel()->labelSys->text(), QString::number(screen->sys_db()));
}

} // namespace
} // namespace tonara
