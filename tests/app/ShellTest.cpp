#include "AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "device/BPAccessory.h"
#include "history/Historyandreports.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"
#include "platform/AppLifecycle.h"
#include "platform/Artwork.h"
#include "platform/DeviceFrame.h"
#include "platform/NavigationController.h"
#include "platform/ScreenLockInhibitor.h"
#include "platform/StatusBar.h"
#include "platform/TabBar.h"
#include "platform/TabBarItem.h"
#include "storage/DataBaseforCD.h"
#include "storage/DataFolderLock.h"

#include <gtest/gtest.h>

#include "base/Log.h"

#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QPointer>
#include <QTest>

#include <algorithm>

#include <vector>

namespace tonara {
namespace {

using test::ShellHarness;

// Records what the store shows instead of putting it on screen.
class SilentAlerts : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion) override
    {}
};

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(30, 30), 1.0).toImage();
}

// ---- Tabs ----------------------------------------------------------------

TEST(ShellTabs, FourTabsInOrderWithTheirTitlesAndIcons)
{
    ShellHarness h;
    TonaraTabBarController *tabs = h.app().tabBarController();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->viewController(0)->objectName(), "instruction_screen");
    EXPECT_EQ(tabs->viewController(1)->objectName(), "Historyandreports");
    EXPECT_EQ(tabs->viewController(2)->objectName(), "setting");
    auto *nav = qobject_cast<NavigationController *>(tabs->viewController(3));
    ASSERT_NE(nav, nullptr) << "the users screen sits inside a navigation controller";
    EXPECT_EQ(nav->rootWidget()->objectName(), "Users");

    const QStringList titles{"Measurement", "Report", "Setting", "User"};
    const QStringList icons{"Tab_Bar_icon_cronometer_30x30.png", "Tab_Bar_icon_Report_30x30.png",
                            "3-1-1_26.png", "3-1-1_20.png"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tabs->tabBar()->tabTitle(i), titles[i]);
        EXPECT_EQ(tabs->tabBar()->item(i)->accessibleName(), titles[i]);
        ASSERT_TRUE(Artwork::exists(icons[i]));
        EXPECT_EQ(iconImage(tabs->tabBar()->tabIcon(i)), iconImage(Artwork::icon(icons[i])));
    }
    // Every icon is a different picture.
    EXPECT_NE(iconImage(tabs->tabBar()->tabIcon(2)), iconImage(tabs->tabBar()->tabIcon(3)));
}

TEST(ShellTabs, TappingATabShowsItsScreenOnly)
{
    ShellHarness h;
    TonaraTabBarController *tabs = h.app().tabBarController();
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_TRUE(tabs->viewController(0)->isVisible());
    tabs->tabBar()->item(2)->click();
    EXPECT_EQ(tabs->selectedIndex(), 2);
    EXPECT_EQ(tabs->tabBar()->currentIndex(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(tabs->viewController(i)->isVisible(), i == 2) << i;
    // The screen fills the space between the status bar and the tab bar.
    EXPECT_EQ(tabs->viewController(2)->height(), 480 - StatusBar::kHeight - TabBar::kHeight);
}

// Assistive technology and the keyboard choose a tab as a tap does: the
// screen follows, so what is announced as selected is what is shown.
TEST(ShellTabs, EveryWayOfChoosingATabShowsItsScreen)
{
    ShellHarness h;
    TonaraTabBarController *tabs = h.app().tabBarController();
    auto expectShown = [&](int tab) {
        EXPECT_EQ(tabs->selectedIndex(), tab);
        EXPECT_TRUE(tabs->tabBar()->item(tab)->isChecked());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(tabs->viewController(i)->isVisible(), i == tab) << i;
    };
    auto act = [&](int tab, const QString &action) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(tabs->tabBar()->item(tab));
        ASSERT_TRUE(a && a->actionInterface());
        ASSERT_TRUE(a->actionInterface()->actionNames().contains(action));
        a->actionInterface()->doAction(action);
        QTRY_VERIFY_WITH_TIMEOUT(tabs->selectedIndex() == tab, 5000);
    };
    act(2, QAccessibleActionInterface::toggleAction());
    expectShown(2);
    act(1, QAccessibleActionInterface::toggleAction());
    expectShown(1);
    tabs->tabBar()->item(3)->setFocus();
    QTest::keyClick(tabs->tabBar()->item(3), Qt::Key_Space);
    expectShown(3);
    QTest::keyClick(tabs->tabBar()->item(3), Qt::Key_Left);
    QTest::keyClick(tabs->tabBar()->item(2), Qt::Key_Return);
    expectShown(2);
    // Choosing in code does not count as a second choice.
    int choices = 0;
    QObject::connect(tabs->tabBar(), &TabBar::tabTapped, [&](int) { ++choices; });
    tabs->setSelectedIndex(0);
    expectShown(0);
    tabs->tabBar()->item(0)->click();
    EXPECT_EQ(choices, 1) << "a tap on the tab shown is still told once";
}

TEST(ShellTabs, ATabFollowsItsScreensTitle)
{
    ShellHarness h;
    h.app().usersScreen()->setWindowTitle(QStringLiteral("Maria"));
    EXPECT_EQ(h.app().tabBarController()->tabBar()->tabTitle(3), "Maria");
}

// ---- The active user's name on the users tab -------------------------------

void seedUsers(DBHelper &db, const std::vector<std::string> &names, int active)
{
    SilentAlerts alerts;
    DataBaseforCD store(db, alerts);
    store.check_database();
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(store.insertDataBase_user_table(int(i), "", "", names[i], "", "", 0, ""));
    }
    if (active >= 0) {
        ASSERT_TRUE(store.insertDataBase_setting_table(active, 180, 60));
    }
}

TEST(ShellDataFolder, IsMarkedInUseWhileTheApplicationRuns)
{
    std::string folder;
    {
        ShellHarness h;
        folder = h.app().database()->documentsFolder();
        EXPECT_TRUE(DataFolderLock::heldElsewhere(folder));
    }
    EXPECT_FALSE(DataFolderLock::heldElsewhere(folder));
}

TEST(ShellUsersTab, KeepsItsTitleWithoutASettingsRow)
{
    ShellHarness h(ShellHarness::seeded([](DBHelper &db) { seedUsers(db, {"User", "Anna"}, -1); }));
    EXPECT_EQ(h.app().usersScreen()->windowTitle(), "User");
    EXPECT_EQ(h.app().tabBarController()->tabBar()->tabTitle(3), "User");
}

TEST(ShellUsersTab, ShowsTheActiveUsersName)
{
    const std::vector<std::string> names{"Zero", "One", "Two"};
    for (int active = 0; active < 3; ++active) {
        SCOPED_TRACE(active);
        ShellHarness h(ShellHarness::seeded([&](DBHelper &db) { seedUsers(db, names, active); }));
        EXPECT_EQ(h.app().usersScreen()->windowTitle().toStdString(), names[std::size_t(active)]);
        EXPECT_EQ(h.app().tabBarController()->tabBar()->tabTitle(3).toStdString(),
                  names[std::size_t(active)]);
    }
}

TEST(ShellUsersTab, AnActiveUserWithoutAProfileLeavesTheTitle)
{
    // The settings row names user 5 but only users 0 and 1 exist: no name is
    // read from outside the list.
    ShellHarness h(ShellHarness::seeded([](DBHelper &db) { seedUsers(db, {"Zero", "One"}, 5); }));
    EXPECT_EQ(h.app().usersScreen()->windowTitle(), "User");
}

TEST(ShellUsersTab, AFreshDataFolderGetsTheDatabaseFile)
{
    ShellHarness h;
    EXPECT_TRUE(QFileInfo::exists(h.app().dataDir() + QStringLiteral("/TonaraDock.sqlite")));
}

// ---- Orientation -----------------------------------------------------------

struct OrientationCase {
    FormFactor formFactor;
    QSize portrait;
};

class ShellOrientation : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(ShellOrientation, LandscapeIsOnlyForTheHistoryTab)
{
    ShellHarness h(ShellHarness::on(GetParam().formFactor));
    TonaraTabBarController *tabs = h.app().tabBarController();
    DeviceFrame *frame = h.app().deviceFrame();
    for (int tab : {0, 2, 3}) {
        SCOPED_TRACE(tab);
        tabs->setSelectedIndex(tab);
        frame->turnLeft();
        EXPECT_EQ(frame->interfaceOrientation(), Orientation::Portrait);
        EXPECT_EQ(frame->displayPoints(), GetParam().portrait);
        EXPECT_EQ(tabs->LineBarChart_View(), nullptr);
        EXPECT_TRUE(tabs->tabBar()->isVisible());
        EXPECT_FALSE(frame->isStatusBarHidden());
        frame->turnRight();
        EXPECT_EQ(frame->interfaceOrientation(), Orientation::Portrait);
    }
}

TEST_P(ShellOrientation, TurningOnTheHistoryTabShowsTheChartOverEverything)
{
    ShellHarness h(ShellHarness::on(GetParam().formFactor));
    TonaraTabBarController *tabs = h.app().tabBarController();
    DeviceFrame *frame = h.app().deviceFrame();
    tabs->setSelectedIndex(1);

    frame->turnLeft();
    EXPECT_EQ(frame->interfaceOrientation(), Orientation::LandscapeLeft);
    QPointer<QWidget> chart = tabs->LineBarChart_View();
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->objectName(), "LineBarChart_View");
    EXPECT_FALSE(tabs->tabBar()->isVisible());
    EXPECT_TRUE(frame->isStatusBarHidden());
    EXPECT_EQ(frame->displayPoints(), GetParam().portrait.transposed());
    EXPECT_EQ(chart->geometry(), QRect(QPoint(0, 0), GetParam().portrait.transposed()));
    EXPECT_EQ(chart->mapTo(frame->display(), QPoint(0, 0)), QPoint(0, 0));
    EXPECT_TRUE(chart->isVisible());

    // Turning further round to the other landscape side builds a new chart.
    frame->turnLeft(); // upside down: allowed on this tab
    EXPECT_EQ(frame->interfaceOrientation(), Orientation::PortraitUpsideDown);
    EXPECT_EQ(tabs->LineBarChart_View(), nullptr);
    frame->turnLeft();
    EXPECT_EQ(frame->interfaceOrientation(), Orientation::LandscapeRight);
    ASSERT_NE(tabs->LineBarChart_View(), nullptr);

    frame->setDeviceOrientation(Orientation::Portrait);
    ShellHarness::settle();
    EXPECT_EQ(frame->interfaceOrientation(), Orientation::Portrait);
    EXPECT_EQ(tabs->LineBarChart_View(), nullptr);
    EXPECT_FALSE(chart) << "the chart view is removed, not just hidden";
    EXPECT_TRUE(tabs->tabBar()->isVisible());
    EXPECT_FALSE(frame->isStatusBarHidden());
    EXPECT_EQ(tabs->viewController(1)->height(),
              GetParam().portrait.height() - StatusBar::kHeight - TabBar::kHeight);
}

TEST_P(ShellOrientation, AComposerOpenWhileTurningLeavesTheStatusBarToItsClosing)
{
    ShellHarness h(ShellHarness::on(GetParam().formFactor));
    TonaraTabBarController *tabs = h.app().tabBarController();
    DeviceFrame *frame = h.app().deviceFrame();
    auto *history = qobject_cast<Historyandreports *>(tabs->viewController(1));
    ASSERT_NE(history, nullptr);
    tabs->setSelectedIndex(1);
    Historyandreports::mail_state = 1; // the sharing composer is up in portrait

    frame->turnLeft();
    ASSERT_NE(tabs->LineBarChart_View(), nullptr);
    EXPECT_EQ(Historyandreports::mail_state, 2);
    EXPECT_FALSE(frame->isStatusBarHidden()) << "left alone while the composer is open";
    history->mailComposeController_didFinishWithResult(3, QStringLiteral("Login denied"));
    EXPECT_EQ(Historyandreports::mail_state, 2) << "a failed send keeps the composer's state";
    EXPECT_FALSE(frame->isStatusBarHidden());
    history->mailComposeController_didFinishWithResult(0);
    EXPECT_EQ(Historyandreports::mail_state, 0);
    EXPECT_TRUE(frame->isStatusBarHidden()) << "hidden once the composer over the chart closes";

    // Turned back with a composer open again: the bar comes back when it closes.
    Historyandreports::mail_state = 2;
    frame->setDeviceOrientation(Orientation::Portrait);
    ShellHarness::settle();
    EXPECT_EQ(tabs->LineBarChart_View(), nullptr);
    EXPECT_EQ(Historyandreports::mail_state, 1);
    EXPECT_TRUE(frame->isStatusBarHidden());
    history->mailComposeController_didFinishWithResult(1);
    EXPECT_EQ(Historyandreports::mail_state, 0);
    EXPECT_FALSE(frame->isStatusBarHidden());
}

TEST_P(ShellOrientation, CtrlArrowsTurnTheDevice)
{
    ShellHarness h(ShellHarness::on(GetParam().formFactor));
    QMainWindow *window = h.app().window();
    QApplication::setActiveWindow(window);
    h.app().tabBarController()->setSelectedIndex(1);
    QTest::keyClick(window, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(h.app().deviceFrame()->interfaceOrientation(), Orientation::LandscapeLeft);
    ShellHarness::settle();
    EXPECT_GT(window->width(), window->height()) << "the window follows the device";
    QTest::keyClick(window, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(h.app().deviceFrame()->interfaceOrientation(), Orientation::Portrait);
}

TEST_P(ShellOrientation, LeavingTheHistoryTabInLandscapeReturnsToPortrait)
{
    // The device asks for a measurement while the chart is up.
    ShellHarness h(ShellHarness::on(GetParam().formFactor));
    TonaraTabBarController *tabs = h.app().tabBarController();
    tabs->setSelectedIndex(1);
    h.app().deviceFrame()->turnRight();
    ASSERT_NE(tabs->LineBarChart_View(), nullptr);
    tabs->setSelectedIndex(0);
    EXPECT_EQ(h.app().deviceFrame()->interfaceOrientation(), Orientation::Portrait);
    EXPECT_EQ(tabs->LineBarChart_View(), nullptr);
    EXPECT_TRUE(tabs->tabBar()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(FormFactors, ShellOrientation,
                         ::testing::Values(OrientationCase{FormFactor::Phone480, {320, 480}},
                                           OrientationCase{FormFactor::Phone568, {320, 568}},
                                           OrientationCase{FormFactor::Tablet, {768, 1024}}));

// ---- Going to the background -------------------------------------------------
//
// The real measurement screen, on a simulated monitor of its own in virtual
// time, inside the started shell.

ShellHarness::Setup virtualTimeScreen()
{
    ShellHarness::Setup s;
    s.virtualTime = true;
    return s;
}

bool deviceMeasuring(const test::VirtualMeasurement &m)
{
    const auto phase = m.sim.phase();
    return phase == TonaraSimulator::Phase::Inflating || phase == TonaraSimulator::Phase::Deflating;
}

// A single measurement until its waves arrive, or a TRIV series until it
// waits in the pause after its first reading.
void startMeasurement(test::VirtualMeasurement &m, bool trivPause)
{
    m.settle(std::chrono::milliseconds(200)); // the device answers the first battery read
    if (trivPause)
        m.screen->mem_tonara();
    else
        m.screen->one_tonara();
    m.screen->go_measuring();
    if (trivPause)
        ASSERT_TRUE(m.until([&] { return m.screen->TRIV3_chack() == 2; }));
    else
        ASSERT_TRUE(m.until([&] { return m.screen->HardwareButton() == 2; }));
    ASSERT_TRUE(m.screen->session().measurementRunning());
}

void expectStoppedToModeChoice(ShellHarness &h)
{
    test::VirtualMeasurement &m = *h.measurement();
    EXPECT_FALSE(m.screen->session().measurementRunning());
    EXPECT_EQ(m.screen->HardwareButton(), 0);
    AlertPresenter *alerts = h.app().alerts();
    ASSERT_TRUE(alerts->hasAlert());
    EXPECT_EQ(alerts->currentTitle(), "Measurement Stop");
    EXPECT_EQ(alerts->currentMessage(), "Measurement stopped.You have\neither pressed the Stop button or\n "
                                        "disconnect the Tonara+ during\nmeasurement.");
    EXPECT_EQ(alerts->currentButtons(), QStringList{"OK"});
    EXPECT_EQ(m.screen->frontPanel(), m.screen->start_tonaradock());
    for (QWidget *w : {m.screen->measuring_window(), m.screen->measuring_window_result(),
                       m.screen->triv3_measuring_window(), m.screen->triv3_measuring_window_result()})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_FALSE(h.app().screenLock()->isInhibited());
    // The stop reached the monitor: long past the pause, the cuff stays down.
    m.settle(std::chrono::seconds(40));
    EXPECT_FALSE(deviceMeasuring(m));
    EXPECT_EQ(m.screen->TRIV3_chack(), 1);
}

TEST(ShellBackground, MinimisingDuringAMeasurementStopsIt)
{
    ShellHarness h(virtualTimeScreen());
    test::VirtualMeasurement &m = *h.measurement();
    startMeasurement(m, false);
    EXPECT_TRUE(h.app().screenLock()->isInhibited());
    h.app().window()->setWindowState(Qt::WindowMinimized);
    ShellHarness::settle();
    EXPECT_TRUE(h.app().lifecycle()->isInBackground());
    expectStoppedToModeChoice(h);
    EXPECT_EQ(h.app().lifecycle()->openTaskCount(), 0) << "the background task ends after the stop";

    // Coming back and leaving again with nothing running stops nothing more.
    h.app().window()->setWindowState(Qt::WindowNoState);
    h.app().alerts()->answer(0);
    h.app().window()->setWindowState(Qt::WindowMinimized);
    ShellHarness::settle();
    EXPECT_FALSE(h.app().alerts()->hasAlert());
}

TEST(ShellBackground, PlatformSuspendDuringAMeasurementStopsIt)
{
    // While waves arrive, and in the TRIV pause, where no wave arrives but
    // the next reading would inflate the cuff.
    for (bool trivPause : {false, true}) {
        SCOPED_TRACE(trivPause ? "TRIV pause" : "waves arriving");
        ShellHarness h(virtualTimeScreen());
        startMeasurement(*h.measurement(), trivPause);
        h.app().lifecycle()->enterBackground();
        ShellHarness::settle();
        expectStoppedToModeChoice(h);
    }
}

TEST(ShellBackground, OutsideAMeasurementNothingChanges)
{
    // Idle, a start asked for by the monitor, and an unsaved result.
    for (int state : {0, 1, 3}) {
        SCOPED_TRACE(state);
        ShellHarness h(virtualTimeScreen());
        test::VirtualMeasurement &m = *h.measurement();
        m.settle(std::chrono::milliseconds(200));
        if (state == 1)
            m.sim.pressSingleButton();
        if (state == 3) {
            startMeasurement(m, false);
            ASSERT_TRUE(m.until([&] { return m.screen->session().resultUnsaved(); }));
        }
        m.settle(std::chrono::milliseconds(100));
        ASSERT_EQ(m.screen->HardwareButton(), state);
        QWidget *front = m.screen->frontPanel();
        const int bpState = m.screen->engine()->BPState();
        h.app().lifecycle()->enterBackground();
        ShellHarness::settle();
        EXPECT_EQ(m.screen->HardwareButton(), state);
        EXPECT_EQ(m.screen->engine()->BPState(), bpState) << "no stop command";
        EXPECT_FALSE(h.app().alerts()->hasAlert());
        EXPECT_EQ(m.screen->frontPanel(), front);
    }
}

TEST(ShellBackground, WithoutABackgroundTaskTheMeasurementGoesOn)
{
    std::vector<std::string> lines;
    ShellHarness h(virtualTimeScreen());
    test::VirtualMeasurement &m = *h.measurement();
    startMeasurement(m, false);
    Log::setSink([&](const std::string &, const std::string &line) { lines.push_back(line); });
    h.app().lifecycle()->setBackgroundTasksAvailable(false);
    h.app().lifecycle()->enterBackground();
    ShellHarness::settle();
    Log::setSink({});
    EXPECT_EQ(m.screen->HardwareButton(), 2);
    EXPECT_TRUE(deviceMeasuring(m));
    EXPECT_FALSE(h.app().alerts()->hasAlert());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "create task error"), lines.end());
}

} // namespace
} // namespace tonara
