// The wizard on the real measurement screen, with the simulated monitor
// docked in virtual time.

// The simulator's header names a member emit(); it has to be read before Qt
// defines emit as a macro.
#include "simulator/SimulatedAccessoryManager.h"
#include "simulator/TonaraSimulator.h"

#include "ManualFixture.h"

#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"
#include "device/BPAccessory.h"
#include "measurement/CommentEditor.h"
#include "measurement/CommentView.h"
#include "measurement/ModeChoicePanel.h"
#include "measurement/Oscilloscope.h"
#include "measurement/SingleResultPanel.h"
#include "measurement/WhoLegendView.h"
#include "measurement/instruction_screen.h"
#include "platform/CallCenter.h"
#include "platform/ScreenLockInhibitor.h"
#include "storage/StorageTexts.h"

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
        db->openDatabase();
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

    // From the mode choice to the result window with these values, picked now.
    void enterThroughTheScreen(const char *sys, const char *dia, const char *pulse)
    {
        screen->modeChoicePanel()->maual_tonara->click();
        QTest::keyClicks(manual->step1_4_test(), QString::fromLatin1(sys));
        manual->manual_step1_4()->next->click();
        QTest::keyClicks(manual->step2_4_text(), QString::fromLatin1(dia));
        manual->manual_step2_4()->next->click();
        QTest::keyClicks(manual->step3_4_test(), QString::fromLatin1(pulse));
        manual->manual_step3_4()->next->click();
        manual->manual_step4_4()->next->click();
    }

    std::vector<Reading> readings() { return storedReadings(*db); }

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

// Undocked while the wizard is open and not docked again: once the wizard
// ends, saved or not, the tab says the monitor is gone, as an undock does,
// instead of a mode choice with the battery of a monitor no longer there.
TEST_F(ManualOnTheScreenTest, UndockingDuringTheWizardShowsTheMonitorGoneWhenItEnds)
{
    for (bool save : {false, true}) {
        SCOPED_TRACE(save ? "saved" : "left");
        if (save)
            sim.dock();
        settle();
        ASSERT_EQ(screen->device_yes_no(), 1);
        ASSERT_FALSE(screen->batteryIcon()->isHidden());
        if (save) {
            enterThroughTheScreen("128", "84", "66");
        } else {
            screen->modeChoicePanel()->maual_tonara->click();
        }
        ASSERT_TRUE(manual->isActive());
        sim.undock();
        settle();
        EXPECT_TRUE(wizardOnTop()) << "the entry goes on without the monitor";
        EXPECT_FALSE(alerts.hasAlert());
        if (save)
            manual->manual_result()->manual_result_save->click();
        else
            manual->manual_step1_4()->back->click();
        settle();
        EXPECT_FALSE(manual->isActive());
        EXPECT_EQ(screen->frontPanel(), screen->device_not_connected());
        EXPECT_EQ(screen->device_yes_no(), 0);
        EXPECT_TRUE(screen->batteryIcon()->isHidden());
        EXPECT_EQ(readings().size(), save ? 1u : 0u);
        // Choosing a mode now asks for the monitor, it does not sit at "0".
        screen->device_not_connected_cancel();
        screen->one_tonara();
        EXPECT_EQ(screen->frontPanel(), screen->device_not_connected());
        screen->device_not_connected_cancel();
    }
}

TEST_F(ManualOnTheScreenTest, TheResultsLegendIsTheScreensOwn)
{
    // UI automation finds each legend control once, never a hidden twin.
    for (const char *name : {"WHOview", "WHO_Back_Touch", "whoscrollView", "WHO_imageView"})
        EXPECT_EQ(screen->findChildren<QWidget *>(QString::fromLatin1(name)).size(), 1) << name;

    enterThroughTheScreen("152", "96", "71");
    ASSERT_EQ(manual->currentView(), manual->manual_result());
    manual->manual_result()->WHO_bt_manual->click();
    ASSERT_TRUE(screen->WHOview()->isVisible());
    QWidget *hit = screen->childAt(screen->rect().center());
    EXPECT_TRUE(hit && screen->WHOview()->isAncestorOf(hit)) << "the legend lies over the wizard";
    screen->whoLegendView()->WHO_Back_Touch->click();
    EXPECT_TRUE(screen->WHOview()->isHidden());
    EXPECT_TRUE(wizardOnTop());
    EXPECT_EQ(manual->currentView(), manual->manual_result());
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

TEST_F(ManualOnTheScreenTest, TheCommentIsWrittenInTheScreensEditorAndStoredWholeAfterAPadResult)
{
    // A single measurement that found PAD, its comment left in the field.
    sim.setPatient({150, 95, 80, true});
    screen->one_tonara();
    screen->go_measuring();
    ASSERT_TRUE(sched.advanceUntil(
        [&] { return screen->is_pad_db() == 1 && screen->engine()->BPState() == 10; }, 60s, 2ms));
    QCoreApplication::processEvents();
    screen->singleResultPanel()->comments_text->setText(QStringLiteral("left behind"));
    screen->measurement_canael();
    alerts.answer(QStringLiteral("Cancel"));
    screen->go_back_strat();

    // Starting the wizard empties the screen's other comment fields.
    enterThroughTheScreen("128", "84", "70");
    EXPECT_TRUE(screen->singleResultPanel()->comments_text->text().isEmpty());
    ASSERT_EQ(manual->currentView(), manual->manual_result());

    // A tap on the result's comment opens the screen's editor above the wizard.
    QLineEdit *field = manual->manual_result()->comments_text_manual;
    QTest::mouseClick(field, Qt::LeftButton);
    CommentView *view = screen->add_comments_view();
    ASSERT_FALSE(view->isHidden());
    QWidget *hit = screen->childAt(screen->rect().center());
    EXPECT_TRUE(hit && (hit == view || view->isAncestorOf(hit)));
    EXPECT_FALSE(wizardOnTop());
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x8A");
    QString full;
    for (int i = 0; i < 140; ++i)
        full += emoji;
    view->add_comments_text_view->insertPlainText(full);
    view->add_comments_text_view->insertPlainText(emoji); // a 141st
    view->comments_save->click();
    EXPECT_TRUE(view->isHidden());
    EXPECT_TRUE(wizardOnTop()) << "back on the manual result";
    EXPECT_EQ(manual->currentView(), manual->manual_result());
    EXPECT_EQ(field->text(), full) << "all 140, though each takes two UTF-16 units";

    // Cancel in the editor keeps the comment as it was.
    QTest::mouseClick(field, Qt::LeftButton);
    EXPECT_EQ(view->add_comments_text_view->toPlainText(), full);
    view->add_comments_text_view->setComment(QStringLiteral("changed my mind"));
    view->comments_cancel->click();
    EXPECT_EQ(field->text(), full);
    EXPECT_TRUE(wizardOnTop());

    manual->manual_result()->manual_result_save->click();
    const auto rows = readings();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(QString::fromStdString(rows[0].diary), full);
    EXPECT_EQ(rows[0].is_manual, 1);
    EXPECT_EQ(rows[0].is_triv, 0);
    EXPECT_EQ(rows[0].triv_id, 0);
    EXPECT_EQ(rows[0].is_pad, 0) << "the PAD of the monitor's last result is not the typed reading's";
    EXPECT_EQ(rows[0].date, "2026-03-10");
    // The screen's saved indicator, over the mode choice.
    EXPECT_FALSE(screen->save_image()->isHidden());
    EXPECT_EQ(screen->frontPanel(), screen->start_tonaradock());
    EXPECT_FALSE(wizardOnTop());
}

TEST_F(ManualOnTheScreenTest, TheMonitorsStartButtonDropsAnEntryUnderWay)
{
    QList<bool> tabBar;
    QObject::connect(manual, &ManualEntryController::tabBarHiddenRequested,
                     [&](bool hidden) { tabBar << hidden; });
    screen->modeChoicePanel()->maual_tonara->click();
    QTest::keyClicks(manual->step1_4_test(), QStringLiteral("128"));
    manual->manual_step1_4()->next->click();
    QTest::keyClicks(manual->step2_4_text(), QStringLiteral("84"));
    manual->manual_step2_4()->next->click();
    QTest::keyClicks(manual->step3_4_test(), QStringLiteral("70"));
    manual->manual_step3_4()->next->click();
    ASSERT_EQ(manual->currentView(), manual->manual_step4_4());
    EXPECT_EQ(tabBar, QList<bool>{true});

    sim.pressSingleButton();
    ASSERT_TRUE(sched.advanceUntil([&] { return screen->HardwareButton() == 1; }, 10s, 2ms));
    QCoreApplication::processEvents();
    EXPECT_FALSE(manual->isActive());
    EXPECT_FALSE(wizardOnTop());
    EXPECT_EQ(tabBar, (QList<bool>{true, false})) << "the tab bar comes back";
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kSingle);
    EXPECT_TRUE(readings().empty());
}

TEST_F(ManualOnTheScreenTest, AnEntryFromHistoryDroppedForTheMonitorDoesNotComeBackByItself)
{
    screen->hide();
    ManualFromHistory::manual_from_history = 1;
    screen->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(manual->isActive());

    sim.pressSingleButton();
    ASSERT_TRUE(sched.advanceUntil([&] { return screen->HardwareButton() == 1; }, 10s, 2ms));
    EXPECT_FALSE(manual->isActive());
    EXPECT_EQ(ManualFromHistory::manual_from_history, 0);

    // The next visit to the tab shows the start view, not the wizard.
    screen->go_back_strat();
    screen->hide();
    screen->show();
    QCoreApplication::processEvents();
    settle();
    EXPECT_FALSE(manual->isActive());
}

TEST_F(ManualOnTheScreenTest, ChoosingManualEntryStopsAMeasurementRunningOutOfSight)
{
    screen->modeChoicePanel()->one_tonara->click();
    screen->go_measuring();
    ASSERT_TRUE(sched.advanceUntil([&] { return screen->HardwareButton() == 2; }, 20s, 2ms));
    ASSERT_TRUE(lock.isInhibited());

    // Away to another tab and back: the mode choice is on top again.
    screen->hide();
    screen->show();
    QCoreApplication::processEvents();
    screen->modeChoicePanel()->maual_tonara->click();
    ASSERT_TRUE(manual->isActive());
    EXPECT_EQ(screen->HardwareButton(), 0);
    EXPECT_FALSE(lock.isInhibited());
    // A later call or trip to the background has nothing left to stop.
    EXPECT_FALSE(screen->session().measurementRunning());

    // No result of the stopped measurement comes up over the wizard.
    sched.advance(60s);
    QCoreApplication::processEvents();
    EXPECT_TRUE(manual->isActive());
    EXPECT_TRUE(wizardOnTop());
    EXPECT_NE(screen->HardwareButton(), 3);
}

TEST_F(ManualOnTheScreenTest, MissingReadingTablesSayTheDatabaseIsFullAndTheWizardStillEnds)
{
    enterThroughTheScreen("128", "84", "70");
    ASSERT_EQ(sqlite3_exec(db->database(), "DROP TABLE tonaradock_table", nullptr, nullptr, nullptr),
              SQLITE_OK);
    manual->manual_result()->manual_result_save->click();
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_TRUE(alerts.currentTitle().isEmpty());
    EXPECT_EQ(alerts.currentMessage(), QString::fromLatin1(StorageTexts::kDatabaseFull));
    alerts.answer(0);
    EXPECT_FALSE(manual->isActive());
    EXPECT_EQ(screen->frontPanel(), screen->start_tonaradock());
    EXPECT_TRUE(screen->save_image()->isHidden());
}

} // namespace
} // namespace tonara::test
