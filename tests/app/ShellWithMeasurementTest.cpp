#include "AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "history/Historyandreports.h"
#include "history/ReportChoicePanel.h"
#include "measurement/HomeWeekPanel.h"
#include "measurement/ManualEntryController.h"
#include "measurement/ManualFromHistory.h"
#include "measurement/ManualNumberField.h"
#include "measurement/ManualResultPanel.h"
#include "measurement/ManualStepView.h"
#include "measurement/MeasurementMode.h"
#include "measurement/ModeChoicePanel.h"
#include "measurement/Oscilloscope.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"
#include "platform/AppLifecycle.h"
#include "platform/Artwork.h"
#include "platform/CallCenter.h"
#include "platform/DeviceFrame.h"
#include "platform/ScreenLockInhibitor.h"
#include "platform/TabBar.h"
#include "reports/core/HomeThreshold.h"
#include "reports/core/HomeWeekStore.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#pragma push_macro("emit")
#undef emit
#include "simulator/TonaraSimulator.h"
#pragma pop_macro("emit")

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace tonara {
namespace {

using test::ShellHarness;

// The shell with the real measurement tab on the built-in simulator, running
// on the real clock (the simulator sped up).
class ShellWithMeasurement : public ::testing::Test {
protected:
    ShellWithMeasurement() : h(setup())
    {
        MeasurementMode::reset(); // the modes live for the whole process
        ManualFromHistory::manual_from_history = 0;
        screen = qobject_cast<instruction_screen *>(h.app().tabBarController()->viewController(0));
        h.app().simulator()->setSpeed(8);
        // Until the first battery answer the engine is still shaking hands.
        h.app().notificationCenter().addObserver(
            "BPaccessoryDidConnectNotification",
            [this](const std::string &, const void *) { connected = true; });
        // (It may already have answered while the application was starting.)
        waitFor(
            [this] { return connected || (screen->batteryIcon() && !screen->batteryIcon()->isHidden()); });
    }
    static ShellHarness::Setup setup()
    {
        ShellHarness::Setup s;
        s.standInScreen = false;
        return s;
    }
    static bool waitFor(const std::function<bool()> &done, int ms = 10000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }
    void startSingleMeasurement()
    {
        screen->one_tonara();
        screen->go_measuring();
        ASSERT_TRUE(waitFor([this] { return screen->HardwareButton() == 2; })) << "no wave frames came";
    }

    ShellHarness h;
    instruction_screen *screen = nullptr;
    bool connected = false;
};

TEST_F(ShellWithMeasurement, TheMeasurementTabIsTheFirstWithItsTitleAndIcon)
{
    TonaraTabBarController *tabs = h.app().tabBarController();
    EXPECT_EQ(tabs->viewController(0), screen);
    EXPECT_EQ(tabs->tabBar()->tabTitle(0), "Measurement");
    const QString icon = QStringLiteral("Tab_Bar_icon_cronometer_30x30.png");
    EXPECT_EQ(tabs->tabBar()->tabIcon(0).pixmap(QSize(30, 30), 1.0).toImage(),
              Artwork::icon(icon).pixmap(QSize(30, 30), 1.0).toImage());
}

TEST_F(ShellWithMeasurement, MinimisingWhileWavesArriveStopsTheDevice)
{
    ASSERT_NE(screen, nullptr);
    startSingleMeasurement();
    EXPECT_TRUE(h.app().screenLock()->isInhibited());
    h.app().window()->setWindowState(Qt::WindowMinimized);
    ShellHarness::settle();

    EXPECT_EQ(screen->HardwareButton(), 0);
    ASSERT_TRUE(h.app().alerts()->hasAlert());
    EXPECT_EQ(h.app().alerts()->currentTitle(), "Measurement Stop");
    EXPECT_EQ(screen->frontPanel(), screen->start_tonaradock());
    EXPECT_TRUE(screen->measuring_window()->isHidden());
    EXPECT_FALSE(h.app().screenLock()->isInhibited()) << "the screen may lock again";
    // The stop command reached the monitor: its cuff lets go.
    EXPECT_TRUE(waitFor([this] {
        const auto phase = h.app().simulator()->phase();
        return phase != TonaraSimulator::Phase::Inflating && phase != TonaraSimulator::Phase::Deflating;
    }));
}

TEST_F(ShellWithMeasurement, ADeviceStartRequestBringsTheMeasurementTabForward)
{
    TonaraTabBarController *tabs = h.app().tabBarController();
    tabs->setSelectedIndex(2);
    h.app().simulator()->pressSingleButton();
    EXPECT_TRUE(waitFor([tabs] { return tabs->selectedIndex() == 0; }));
    EXPECT_EQ(screen->HardwareButton(), 1);
}

QAction *menuAction(QMenu *menu, const QString &text)
{
    for (QAction *a : menu->actions()) {
        if (a->text() == text)
            return a;
        if (a->menu())
            if (QAction *inner = menuAction(a->menu(), text))
                return inner;
    }
    return nullptr;
}

TEST_F(ShellWithMeasurement, TheSimulatorMenuDrivesTheBuiltInMonitor)
{
    auto *menu = h.app().window()->findChild<QMenu *>("simulatorMenu");
    ASSERT_NE(menu, nullptr);
    TonaraSimulator *sim = h.app().simulator();

    QAction *docked = menuAction(menu, "Docked");
    ASSERT_NE(docked, nullptr);
    docked->trigger();
    EXPECT_FALSE(sim->isDocked());
    EXPECT_TRUE(waitFor([this] { return screen->device_yes_no() == 0; })) << "the screen hears of the undock";
    docked->trigger();
    EXPECT_TRUE(sim->isDocked());

    menuAction(menu, "25 %")->trigger();
    EXPECT_EQ(sim->battery().level, 25);
    menuAction(menu, "2 Arm movement")->trigger();
    EXPECT_EQ(sim->pendingError(), 2);
    menuAction(menu, "None")->trigger();
    EXPECT_EQ(sim->pendingError().value_or(0), 0);
    menuAction(menu, "Charging")->trigger();
    EXPECT_TRUE(sim->battery().charging);

    int calls = 0;
    QObject::connect(h.app().callCenter(), &CallCenter::incomingCall, [&] { ++calls; });
    menuAction(menu, "Incoming Phone Call")->trigger();
    EXPECT_EQ(calls, 1);
}

// The manual entry from the mode choice's button, through the step that has
// the whole screen, to the stored reading; after a result with PAD.
TEST_F(ShellWithMeasurement, TheManualButtonOpensTheWizardAndItsReadingIsManualOnly)
{
    TonaraTabBarController *tabs = h.app().tabBarController();
    ManualEntryController *manual = h.app().manualEntry();
    ASSERT_NE(manual, nullptr);

    h.app().simulator()->setPatient({150, 95, 80, true});
    startSingleMeasurement();
    ASSERT_TRUE(waitFor([this] { return screen->frontPanel() == screen->measuring_window_result(); }, 30000));
    ASSERT_EQ(screen->is_pad_db(), 1);
    screen->go_back_strat();

    screen->modeChoicePanel()->maual_tonara->click();
    ASSERT_TRUE(manual->isActive());
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kManual);
    const int withBar = screen->height();
    QTest::keyClicks(manual->step1_4_test(), QStringLiteral("122"));
    manual->manual_step1_4()->next->click();
    QTest::keyClicks(manual->step2_4_text(), QStringLiteral("78"));
    manual->manual_step2_4()->next->click();
    QTest::keyClicks(manual->step3_4_test(), QStringLiteral("66"));
    manual->manual_step3_4()->next->click();
    ASSERT_EQ(manual->currentView(), manual->manual_step4_4());
    EXPECT_TRUE(tabs->isTabBarHidden());
    EXPECT_TRUE(tabs->tabBar()->isHidden());
    EXPECT_EQ(screen->height(), tabs->height()) << "the date and time step has the whole screen";
    EXPECT_EQ(manual->height(), screen->height());
    // Turning the device meanwhile does not bring the bar back over the step.
    h.app().deviceFrame()->turnLeft();
    h.app().deviceFrame()->turnRight();
    EXPECT_TRUE(tabs->tabBar()->isHidden());
    EXPECT_EQ(screen->height(), tabs->height());

    manual->manual_step4_4()->next->click();
    EXPECT_FALSE(tabs->isTabBarHidden());
    EXPECT_EQ(screen->height(), withBar);
    manual->manual_result()->manual_result_save->click();
    EXPECT_FALSE(h.app().alerts()->hasAlert());

    SqlStatement q = h.app().database()->executeQuery(
        "SELECT sys,dia,pulse,is_manual,is_triv,triv_id,is_pad FROM tonaradock_table");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.columnInt(0), 122);
    EXPECT_EQ(q.columnInt(1), 78);
    EXPECT_EQ(q.columnInt(2), 66);
    EXPECT_EQ(q.columnInt(3), 1);
    EXPECT_EQ(q.columnInt(4), 0);
    EXPECT_EQ(q.columnInt(5), 0);
    EXPECT_EQ(q.columnInt(6), 0) << "the PAD of the monitor's last result";
    EXPECT_FALSE(q.next());
    EXPECT_EQ(screen->frontPanel(), screen->start_tonaradock());
    EXPECT_FALSE(screen->save_image()->isHidden());
    EXPECT_EQ(tabs->selectedIndex(), 0);
}

TEST_F(ShellWithMeasurement, AnEntryAskedForByTheHistoryTabEndsThere)
{
    TonaraTabBarController *tabs = h.app().tabBarController();
    ManualEntryController *manual = h.app().manualEntry();
    tabs->setSelectedIndex(OrvelAppDelegate::kHistoryTab);
    ManualFromHistory::manual_from_history = 1;
    tabs->setSelectedIndex(OrvelAppDelegate::kMeasurementTab);
    ASSERT_TRUE(waitFor([manual] { return manual->isActive(); }));
    EXPECT_EQ(manual->currentView(), manual->manual_step1_4());
    manual->manual_step1_4()->back->click();
    EXPECT_EQ(tabs->selectedIndex(), OrvelAppDelegate::kHistoryTab);
    EXPECT_EQ(ManualFromHistory::manual_from_history, 0);
    tabs->setSelectedIndex(OrvelAppDelegate::kMeasurementTab);
    ShellHarness::settle();
    EXPECT_FALSE(manual->isActive()) << "the next visit shows the start view";
    EXPECT_EQ(screen->frontPanel(), screen->start_tonaradock());
}

// A week started eight days ago with two readings every morning: its result is out.
void seedFinishedWeek(DBHelper &db)
{
    test::QuietAlerts quiet;
    DataBaseforCD(db, quiet).check_database();
    const CivilDate today = CivilDate::of(SystemClock().localNow());
    const CivilDate start = today.plusDays(-8);
    ASSERT_TRUE(HomeWeekStore(db).startWeek(0, start, HomeThreshold::standard()));
    for (int day = 0; day < 7; ++day)
        for (const char *time : {"07:30:00", "07:32:00"})
            ASSERT_TRUE(SqlStatement::exec(db.database(), "INSERT INTO tonaradock_table VALUES(0,'" +
                                                              start.plusDays(day).text() + "','" + time +
                                                              "',138,86,70,'',0,0,0,0)")
                            .ok());
}

TEST(ShellWithHomeWeek, TheWeeksResultLeadsToItsReportOnTheReportTab)
{
    ShellHarness::Setup s;
    s.standInScreen = false;
    s.seed = seedFinishedWeek;
    ShellHarness h(s);
    HomeWeekPanel *week = h.app().homeWeek();
    ASSERT_NE(week, nullptr);
    week->openPanel();
    ASSERT_TRUE(week->evaluation() && week->evaluation()->hasResult);
    ASSERT_TRUE(week->home_week_report->isVisible());
    week->home_week_report->click();
    ShellHarness::settle();

    TonaraTabBarController *tabs = h.app().tabBarController();
    EXPECT_EQ(tabs->selectedIndex(), OrvelAppDelegate::kHistoryTab);
    auto *report = qobject_cast<Historyandreports *>(tabs->viewController(OrvelAppDelegate::kHistoryTab));
    ASSERT_NE(report, nullptr);
    ReportChoicePanel *panel = report->reportPanel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->periodBox()->currentText().startsWith("Home-monitoring week from"));
    ASSERT_TRUE(panel->content() && panel->content()->week);
    EXPECT_EQ(panel->content()->stats.count, 14);
    EXPECT_TRUE(panel->saveButton()->isEnabled());
}

TEST(ShellWithSerialDevice, StartsWithoutTheSimulatorOrItsMenu)
{
    ShellHarness::Setup s;
    s.standInScreen = false;
    s.device = QStringLiteral("/nonexistent/ttyTonara");
    ShellHarness h(s);
    EXPECT_EQ(h.app().simulator(), nullptr);
    EXPECT_EQ(h.app().window()->findChild<QMenu *>("simulatorMenu"), nullptr);
    auto *screen = qobject_cast<instruction_screen *>(h.app().tabBarController()->viewController(0));
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->device_yes_no(), 0);
}

} // namespace
} // namespace tonara
