// Docking, the battery icon, the mode choice and the instruction pages.

#include "ScreenRig.h"

#include "measurement/DeviceErrorTable.h"
#include "measurement/NotConnectedPanel.h"
#include "measurement/PageControl.h"
#include "measurement/WhoLegendView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QWheelEvent>

using namespace tonara;
using namespace screentest;

TEST(ScreenConnection, DockedAtStartShowsTheModeChoiceWithTheBattery)
{
    ScreenRig rig;
    EXPECT_EQ(rig.screen->device_yes_no(), 1);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_TRUE(rig.screen->batteryIcon()->isVisible());
    EXPECT_EQ(rig.screen->batteryIcon()->parentWidget(), rig.screen->start_tonaradock());
    EXPECT_EQ(rig.screen->batteryIcon()->property("artwork").toString(), "Battery_01.png")
        << "simulator starts at 80";
    EXPECT_TRUE(rig.takeAlerts().empty());
}

TEST(ScreenConnection, BatteryLevelBounds)
{
    ScreenRig rig;
    QLabel *icon = rig.screen->batteryIcon();
    struct Case {
        int level;
        int lowWarning;
        const char *picture;
    };
    for (const Case &c :
         {Case{10, 1, "Battery_04.png"}, Case{11, 0, "Battery_04.png"}, Case{25, 0, "Battery_04.png"},
          Case{26, 0, "Battery_03.png"}, Case{51, 0, "Battery_02.png"}, Case{100, 0, "Battery_01.png"}}) {
        rig.setBattery(c.level);
        EXPECT_EQ(rig.screen->Low_battery_Warning(), c.lowWarning) << c.level;
        EXPECT_EQ(icon->property("artwork").toString(), c.picture) << c.level;
        EXPECT_EQ(icon->accessibleName(), QStringLiteral("Battery %1 percent").arg(c.level));
    }
    EXPECT_TRUE(rig.takeAlerts().empty());

    rig.setBattery(101);
    const auto shown = rig.takeAlerts();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().title, "battery error");
    EXPECT_EQ(shown.front().message, "");
    EXPECT_TRUE(icon->pixmap().isNull()) << "no picture for a level out of range";

    // The same bad level at every later poll and wave frame is not repeated.
    rig.settle(10s);
    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.settle(500ms);
    EXPECT_TRUE(rig.takeAlerts().empty());
    rig.screen->measurement_stop();
    rig.takeAlerts();
    rig.setBattery(50);
    rig.setBattery(101);
    EXPECT_EQ(rig.takeAlerts().size(), 1u) << "a new bad reading is reported again";
}

TEST(ScreenConnection, BatteryErrorIsReportedAgainAfterDockingAgain)
{
    ScreenRig rig;
    rig.setBattery(101);
    ASSERT_EQ(titles(rig.takeAlerts()), std::vector<QString>{"battery error"});
    rig.sim.undock();
    rig.settle(100ms);
    rig.sim.dock();
    ASSERT_TRUE(rig.until([&] { return rig.screen->device_yes_no() == 1; }, 5s));
    rig.settle(3100ms);
    EXPECT_EQ(titles(rig.takeAlerts()), std::vector<QString>{"battery error"})
        << "the same bad level from the docked-again device is said again";
}

TEST(ScreenConnection, LowBatteryKeepsThePersonOnTheModeChoice)
{
    ScreenRig rig;
    rig.setBattery(10);
    rig.screen->one_tonara();
    auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Battery too low");
    EXPECT_EQ(shown[0].message, DeviceErrorTable::kChargeFirstMessage);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());

    rig.setBattery(9, /*charging=*/true);
    rig.screen->mem_tonara();
    shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, DeviceErrorTable::kWhileChargingMessage);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());

    // Charged again: the same button leads on to the instructions.
    rig.setBattery(40);
    rig.screen->one_tonara();
    EXPECT_TRUE(rig.takeAlerts().empty());
    EXPECT_EQ(rig.front(), rig.screen->instructionPages());
}

TEST(ScreenConnection, FailedBatteryOnConnectionWarnsWithoutChangingPanels)
{
    ScreenRig rig(FormFactor::Phone480, /*docked=*/false);
    rig.sim.setBattery({5, false, true});
    rig.sim.dock();
    rig.settle(500ms);
    const auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Battery too low");
    EXPECT_EQ(rig.screen->device_yes_no(), 1);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
}

TEST(ScreenConnection, ChoosingAModeWithoutTheDeviceAsksToDockThenContinues)
{
    ScreenRig rig(FormFactor::Phone480, /*docked=*/false);
    EXPECT_EQ(rig.screen->device_yes_no(), 0);
    rig.screen->one_tonara();
    EXPECT_EQ(rig.front(), rig.screen->device_not_connected());

    rig.screen->notConnectedPanel()->device_not_connected_cancel->click();
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());

    rig.screen->mem_tonara();
    EXPECT_EQ(rig.front(), rig.screen->device_not_connected());
    rig.sim.dock();
    ASSERT_TRUE(rig.until([&] { return rig.screen->device_yes_no() == 1; }, 5s));
    EXPECT_EQ(rig.front(), rig.screen->instructionPages()) << "a mode was chosen before";
}

TEST(ScreenConnection, UndockingWhileIdleShowsTheNotConnectedPanelQuietly)
{
    ScreenRig rig;
    rig.sim.undock();
    rig.settle(100ms);
    EXPECT_EQ(rig.screen->device_yes_no(), 0);
    EXPECT_EQ(rig.front(), rig.screen->device_not_connected());
    EXPECT_FALSE(rig.screen->batteryIcon()->isVisible());
    EXPECT_TRUE(rig.takeAlerts().empty());
}

TEST(InstructionPagesTurning, StopsAtTheFirstAndLastPage)
{
    ScreenRig rig;
    rig.screen->one_tonara();
    InstructionPages *pages = rig.screen->instructionPages();
    ASSERT_EQ(rig.front(), pages);
    EXPECT_EQ(pages->page(), 0);

    auto swipeLeft = [&] {
        pages->touchesBegan(QPoint(250, 200));
        pages->touchesEnded(QPoint(60, 205));
    };
    auto swipeRight = [&] {
        pages->touchesBegan(QPoint(60, 200));
        pages->touchesEnded(QPoint(250, 195));
    };
    for (int expected : {1, 2, 3, 3, 3}) {
        swipeLeft();
        EXPECT_EQ(pages->page(), expected);
    }
    EXPECT_EQ(pages->page_control->currentPage(), 3);
    for (int expected : {2, 1, 0, 0}) {
        swipeRight();
        EXPECT_EQ(pages->page(), expected);
    }
    // A tap turns back too, and never below the first page.
    swipeLeft();
    pages->touchesBegan(QPoint(100, 100));
    pages->touchesEnded(QPoint(100, 100));
    EXPECT_EQ(pages->page(), 0);

    // Choosing a mode again starts from the first page.
    swipeLeft();
    swipeLeft();
    rig.screen->go_back_strat();
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    rig.screen->mem_tonara();
    EXPECT_EQ(pages->page(), 0);
}

// The page indicator can be worked without a pointer: next and previous page
// are actions, and its name says the arrow keys turn the pages.
TEST(InstructionPagesTurning, ThePageIndicatorOffersNextAndPreviousPage)
{
    ScreenRig rig;
    rig.screen->one_tonara();
    InstructionPages *pages = rig.screen->instructionPages();
    QAccessibleInterface *dots = QAccessible::queryAccessibleInterface(pages->page_control);
    ASSERT_TRUE(dots && dots->actionInterface());
    QAccessibleActionInterface *act = dots->actionInterface();
    const QString next = QAccessibleActionInterface::increaseAction();
    const QString previous = QAccessibleActionInterface::decreaseAction();
    ASSERT_TRUE(act->actionNames().contains(next));
    ASSERT_TRUE(act->actionNames().contains(previous));
    EXPECT_FALSE(act->localizedActionDescription(next).isEmpty());
    for (int expected : {1, 2, 3, 3}) {
        act->doAction(next);
        EXPECT_EQ(pages->page(), expected);
    }
    EXPECT_TRUE(dots->text(QAccessible::Name).startsWith("Page 4 of 4"));
    EXPECT_TRUE(dots->text(QAccessible::Name).contains("arrow keys"));
    for (int expected : {2, 1, 0, 0}) {
        act->doAction(previous);
        EXPECT_EQ(pages->page(), expected);
    }
    EXPECT_EQ(pages->page_control->accessibleDescription(), "page_control");
}

TEST(Accessibility, ControlsAreNamedForAutomationAndHeardByWhatTheyMean)
{
    ScreenRig rig;
    for (const char *name :
         {"one_tonara", "mem_tonara", "maual_tonara", "labelPressure", "measuring_window", "labelSys",
          "WHO_bt", "PAD_bt_triv3", "triv3_sys_2nd", "page_control", "go_measuring", "step3_image",
          "labelPressure_3triv", "Pleassewait_lable", "WHO_Back_Touch", "device_not_connected_cancel",
          "measurement_stop", "triv_measurement_back"}) {
        auto *w = rig.screen->findChild<QWidget *>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->accessibleDescription(), QString::fromLatin1(name));
        EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
    }
    EXPECT_EQ(rig.screen->findChild<QWidget *>("one_tonara")->accessibleName(), "Single measurement");
    auto *pressure = rig.screen->findChild<QLabel *>("labelPressure");
    EXPECT_EQ(pressure->accessibleName(), pressure->text()) << "a value label is heard as its value";

    // Every control of every panel, not only those listed.
    int controls = 0;
    for (QAbstractButton *b : rig.screen->findChildren<QAbstractButton *>()) {
        ++controls;
        EXPECT_FALSE(b->objectName().isEmpty());
        EXPECT_EQ(b->accessibleDescription(), b->objectName());
        EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName().toStdString();
    }
    EXPECT_GE(controls, 15);

    // Every picture is heard as what it shows, the mode buttons' own included.
    int pictures = 0;
    for (QLabel *l : rig.screen->findChildren<QLabel *>()) {
        if (l->property("artwork").toString().isEmpty())
            continue;
        ++pictures;
        EXPECT_FALSE(l->accessibleName().isEmpty()) << l->objectName().toStdString();
    }
    EXPECT_GE(pictures, 10);
    for (const char *icon : {"one_tonara_icon", "mem_tonara_icon", "maual_tonara_icon"})
        EXPECT_NE(rig.screen->findChild<QLabel *>(QString::fromLatin1(icon)), nullptr) << icon;
}

TEST(WhoLegend, CtrlWheelZoomsBetweenOneAndFiveAndEachOpeningStartsUnzoomed)
{
    ScreenRig rig;
    rig.screen->ONE_whoTouch();
    ASSERT_EQ(rig.front(), rig.screen->WHOview());
    WhoScrollView *view = rig.screen->whoLegendView()->whoscrollView;
    QWidget *picture = rig.screen->whoLegendView()->WHO_imageView;
    EXPECT_EQ(view->viewForZoomingInScrollView(view), picture);
    EXPECT_EQ(view->viewForZoomingInScrollView(nullptr), nullptr);
    const QSize unzoomed = picture->size();
    EXPECT_LE(unzoomed.width(), view->width()) << "the whole legend is in view at first";
    EXPECT_LE(unzoomed.height(), view->height());

    auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
        const QPointF at(view->viewport()->width() / 2.0, view->viewport()->height() / 2.0);
        QWheelEvent e(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &e);
    };
    wheel(120, Qt::ControlModifier);
    EXPECT_GT(view->zoomScale(), 1.0);
    EXPECT_GT(picture->width(), unzoomed.width());
    for (int i = 0; i < 30; ++i)
        wheel(120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view->zoomScale(), 5.0);
    EXPECT_EQ(picture->width(), qRound(unzoomed.width() * 5.0));
    wheel(-120, Qt::NoModifier);
    EXPECT_DOUBLE_EQ(view->zoomScale(), 5.0) << "a plain wheel scrolls, it does not zoom";
    for (int i = 0; i < 40; ++i)
        wheel(-120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view->zoomScale(), 1.0);

    wheel(240, Qt::ControlModifier);
    rig.screen->whoLegendView()->WHO_Back_Touch->click();
    EXPECT_TRUE(rig.screen->WHOview()->isHidden());
    rig.screen->TRIV_whoTouch();
    EXPECT_DOUBLE_EQ(rig.screen->whoLegendView()->whoscrollView->zoomScale(), 1.0);
}
