// The wizard on the real measurement screen, with the simulated monitor
// docked in virtual time.

// The simulator's header names a member emit(); it has to be read before Qt
// defines emit as a macro.
#include "simulator/SimulatedAccessoryManager.h"
#include "simulator/TonaraSimulator.h"

#include "ManualFixture.h"

#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"
#include "measurement/ModeChoicePanel.h"
#include "measurement/Oscilloscope.h"
#include "measurement/instruction_screen.h"
#include "platform/CallCenter.h"
#include "platform/ScreenLockInhibitor.h"

#include <chrono>

namespace tonara::test {
namespace {

using namespace std::chrono_literals;

class ManualOnTheScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MeasurementMode::reset();
        ManualFromHistory::manual_from_history = 0;
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<DBHelper>(dir.path().toStdString(), &alerts);
        MeasurementContext ctx;
        ctx.accessories = &manager;
        ctx.scheduler = &sched;
        ctx.clock = &clock;
        ctx.center = &center;
        ctx.alerts = &alerts;
        ctx.db = db.get();
        ctx.calls = &calls;
        ctx.screenLock = &lock;
        ctx.animations = false;
        screen = std::make_unique<instruction_screen>(ctx);
        manual = ManualEntryController::attach(screen.get(), ctx);
        screen->resize(320, 411);
        screen->show();
        settle();
    }

    void TearDown() override
    {
        screen.reset();
        MeasurementMode::reset();
        ManualFromHistory::manual_from_history = 0;
    }

    void settle()
    {
        sched.advance(200ms);
        QCoreApplication::processEvents();
    }

    // The widget a tap in the middle of the screen lands on belongs to the wizard.
    bool wizardOnTop() const
    {
        QWidget *hit = screen->childAt(screen->rect().center());
        return hit && manual->isAncestorOf(hit);
    }

    QTemporaryDir dir;
    VirtualScheduler sched;
    ManualClock clock{LocalDateTime{2026, 3, 10, 9, 15, 42}};
    NotificationCenter center;
    TonaraSimulator sim{sched, 5};
    SimulatedAccessoryManager manager{sim, sched, center};
    AlertPresenter alerts;
    CallCenter calls;
    ScreenLockInhibitor lock;
    std::unique_ptr<DBHelper> db;
    std::unique_ptr<instruction_screen> screen;
    ManualEntryController *manual = nullptr;
};

TEST_F(ManualOnTheScreenTest, ManualButtonOpensTheWizardAndItsEndShowsTheModeChoice)
{
    ASSERT_EQ(screen->frontPanel(), screen->start_tonaradock());
    screen->modeChoicePanel()->maual_tonara->click();
    ASSERT_TRUE(manual->isActive());
    EXPECT_TRUE(wizardOnTop());
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kManual);

    // Undocking and docking the monitor meanwhile leaves the entry alone.
    sim.undock();
    settle();
    sim.dock();
    settle();
    EXPECT_TRUE(wizardOnTop());

    QTest::keyClicks(manual->step1_4_test(), QStringLiteral("125"));
    manual->manual_step1_4()->next->click();
    manual->manual_step2_4()->back->click();
    EXPECT_EQ(manual->step1_4_test()->text(), QStringLiteral("125"));
    manual->manual_step1_4()->back->click();
    EXPECT_FALSE(manual->isVisible());
    EXPECT_EQ(screen->frontPanel(), screen->start_tonaradock());
    EXPECT_FALSE(wizardOnTop());
    EXPECT_NE(MeasurementMode::measure_mode, MeasurementMode::kManual);
}

TEST_F(ManualOnTheScreenTest, FromHistoryTheWizardStandsAboveTheModeChoice)
{
    screen->hide();
    ManualFromHistory::manual_from_history = 1;
    screen->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(manual->isActive());
    EXPECT_TRUE(wizardOnTop());
    EXPECT_EQ(manual->currentView(), manual->manual_step1_4());
}

} // namespace
} // namespace tonara::test
