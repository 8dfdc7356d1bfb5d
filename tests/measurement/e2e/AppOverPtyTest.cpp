// The application as the tonara program builds it (delegate, window, device
// frame, tabs) with --device pointing at tonara-sim's pseudo-terminal: a
// person's taps take a single measurement to its result, and leaving the
// front during the next one stops it.

#include "SimProgram.h"

#include "app/OrvelAppDelegate.h"
#include "device/BPAccessory.h"
#include "measurement/InstructionPages.h"
#include "measurement/MeasurementMode.h"
#include "measurement/ModeChoicePanel.h"
#include "measurement/SingleResultPanel.h"
#include "measurement/core/WHOClassification.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tonara;
using screene2e::SimProgram;
using screene2e::waitFor;

TEST(AppOverPty, SingleMeasurementByTapsThenBackgroundStopsTheNext)
{
    SimProgram sim({"--speed", "20", "--patient", "146", "92", "74"});
    ASSERT_FALSE(sim.ptyPath().isEmpty()) << "tonara-sim names its pseudo-terminal";
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());

    MeasurementMode::reset();
    AppOptions options;
    options.device = sim.ptyPath();
    options.dataDir = data.path();
    options.animations = false;
    OrvelAppDelegate app(options);
    ASSERT_TRUE(app.didFinishLaunching());
    auto *screen = app.window()->findChild<instruction_screen *>();
    ASSERT_NE(screen, nullptr) << "the measurement tab is the real screen";
    ASSERT_TRUE(waitFor([&] { return screen->device_yes_no() == 1; }, 10000))
        << "the monitor answers on the pty";

    screen->modeChoicePanel()->one_tonara->click();
    ASSERT_EQ(screen->frontPanel(), static_cast<QWidget *>(screen->instructionPages()));
    screen->instructionPages()->go_measuring->click();
    ASSERT_TRUE(waitFor([&] { return screen->HardwareButton() == 2; }, 15000)) << "wave frames arrive";
    ASSERT_TRUE(waitFor([&] { return screen->singleResultPanel()->labelSys->text() == "146"; }, 60000));
    EXPECT_EQ(screen->frontPanel(), screen->measuring_window_result());
    EXPECT_EQ(screen->singleResultPanel()->labelDia->text(), "92");
    EXPECT_EQ(screen->singleResultPanel()->WHO_bt->property("artwork").toString(),
              QString::fromStdString(WHOClassification::WHO_chack(146, 92)));
    EXPECT_FALSE(app.alerts()->hasAlert()) << app.alerts()->currentTitle().toStdString();

    // The next measurement is stopped when the application leaves the front.
    ASSERT_TRUE(waitFor([&] { return screen->engine()->BPState() == 10; }, 5000));
    screen->modeChoicePanel()->one_tonara->click();
    screen->instructionPages()->go_measuring->click();
    ASSERT_TRUE(waitFor([&] { return screen->HardwareButton() == 2; }, 15000));
    app.applicationDidEnterBackground();
    ASSERT_TRUE(waitFor([&] { return app.alerts()->hasAlert(); }, 5000));
    EXPECT_EQ(app.alerts()->currentTitle(), "Measurement Stop");
    EXPECT_EQ(screen->HardwareButton(), 0);
    EXPECT_EQ(screen->frontPanel(), screen->start_tonaradock());
    EXPECT_TRUE(waitFor([&] { return screen->engine()->BPState() == 10; }, 5000))
        << "the stop was acknowledged";
    MeasurementMode::reset();
}
