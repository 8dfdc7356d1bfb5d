// The measurement tab on the real serial backend, the Qt main loop and the
// system clock, against the tonara-sim program on a pseudo-terminal: a single
// measurement from the mode choice to the result.

#include "SimProgram.h"

#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "device/BPAccessory.h"
#include "measurement/InstructionPages.h"
#include "measurement/MeasurementMode.h"
#include "measurement/SingleResultPanel.h"
#include "measurement/core/WHOClassification.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"
#include "platform/CallCenter.h"
#include "platform/QtScheduler.h"
#include "platform/ScreenLockInhibitor.h"
#include "platform/SerialAccessoryManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>

using namespace tonara;

using screene2e::SimProgram;
using screene2e::waitFor;

TEST(ScreenOverPty, SingleMeasurementAgainstTonaraSim)
{
    SimProgram sim({"--speed", "20", "--patient", "134", "87", "66"});
    ASSERT_FALSE(sim.ptyPath().isEmpty()) << "tonara-sim names its pseudo-terminal";

    MeasurementMode::reset();
    NotificationCenter center;
    QtScheduler scheduler;
    SystemClock clock;
    SerialAccessoryManager::Options options;
    options.configuredPath = sim.ptyPath();
    options.matchUsbIds = false;
    SerialAccessoryManager manager(center, options);
    AlertPresenter alerts;
    CallCenter calls;
    ScreenLockInhibitor lock;
    MeasurementContext ctx;
    ctx.accessories = &manager;
    ctx.scheduler = &scheduler;
    ctx.clock = &clock;
    ctx.center = &center;
    ctx.alerts = &alerts;
    ctx.calls = &calls;
    ctx.screenLock = &lock;
    ctx.animations = false;

    instruction_screen screen(ctx);
    screen.resize(320, 411);
    screen.show();
    ASSERT_TRUE(waitFor([&] { return screen.device_yes_no() == 1; }, 10000))
        << "the monitor answers on the pty";
    ASSERT_TRUE(waitFor([&] { return screen.batteryIcon()->isVisible(); }, 10000));

    screen.one_tonara();
    ASSERT_EQ(screen.frontPanel(), static_cast<QWidget *>(screen.instructionPages()));
    screen.go_measuring();
    ASSERT_TRUE(waitFor([&] { return screen.HardwareButton() == 2; }, 15000)) << "wave frames arrive";
    ASSERT_TRUE(waitFor([&] { return screen.singleResultPanel()->labelSys->text() == "134"; }, 60000));

    auto *result = screen.singleResultPanel();
    EXPECT_EQ(screen.frontPanel(), screen.measuring_window_result());
    EXPECT_EQ(result->labelDia->text(), "87");
    EXPECT_EQ(result->labelHR->text(), "66");
    EXPECT_EQ(result->WHO_bt->property("artwork").toString(),
              QString::fromStdString(WHOClassification::WHO_chack(134, 87)));
    EXPECT_FALSE(alerts.hasAlert()) << alerts.currentTitle().toStdString();
    // The stop command is acknowledged and the battery poll runs again.
    EXPECT_TRUE(waitFor([&] { return screen.engine()->BPState() == 10; }, 5000));
    MeasurementMode::reset();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
