#include "ManualFixture.h"

#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"
#include "storage/StorageTexts.h"

#include <QDeadlineTimer>
#include <QSignalSpy>

namespace tonara::test {
namespace {

using ManualEntryTest = ManualFixture;

TEST_F(ManualEntryTest, EachStepRefusesMissingAndOutOfRangeNumbersWithItsAlert)
{
    manual->maual_tonara();
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kManual);
    ASSERT_EQ(manual->currentView(), manual->manual_step1_4());

    manual->manual_step1_4()->next->click();
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), QStringLiteral("Number missing"));
    EXPECT_EQ(alerts.currentMessage(), QStringLiteral("Please enter a number in the box"));
    EXPECT_EQ(alerts.currentButtons(), QStringList{QStringLiteral("OK")});
    alerts.answer(0);
    EXPECT_EQ(manual->currentView(), manual->manual_step1_4());

    type(manual->step1_4_test(), "301");
    manual->manual_step1_4()->next->click();
    EXPECT_EQ(alerts.currentTitle(), QStringLiteral("Number out of range"));
    EXPECT_EQ(alerts.currentMessage(), QStringLiteral("Please enter a number within the range of 0~300"));
    alerts.answer(0);
    EXPECT_EQ(manual->currentView(), manual->manual_step1_4());

    manual->step1_4_test()->clear();
    type(manual->step1_4_test(), "300");
    manual->manual_step1_4()->next->click();
    EXPECT_FALSE(alerts.hasAlert());
    ASSERT_EQ(manual->currentView(), manual->manual_step2_4());

    type(manual->step2_4_text(), "0");
    manual->manual_step2_4()->next->click();
    EXPECT_FALSE(alerts.hasAlert());
    ASSERT_EQ(manual->currentView(), manual->manual_step3_4());

    type(manual->step3_4_test(), "201");
    manual->manual_step3_4()->next->click();
    EXPECT_EQ(alerts.currentTitle(), QStringLiteral("Number out of range"));
    EXPECT_EQ(alerts.currentMessage(), QStringLiteral("Please enter a number within the range of 0~200"));
    alerts.answer(0);
    EXPECT_EQ(manual->currentView(), manual->manual_step3_4());

    manual->step3_4_test()->clear();
    type(manual->step3_4_test(), "0");
    manual->manual_step3_4()->next->click();
    EXPECT_FALSE(alerts.hasAlert());
    EXPECT_EQ(manual->currentView(), manual->manual_step4_4());
}

TEST_F(ManualEntryTest, FieldsTakeNoFourthCharacterAndNoLetter)
{
    manual->maual_tonara();
    type(manual->step1_4_test(), "1x2.34");
    EXPECT_EQ(manual->step1_4_test()->text(), QStringLiteral("123"));
    manual->manual_step1_4()->next->click();
    type(manual->step2_4_text(), "8a05");
    EXPECT_EQ(manual->step2_4_text()->text(), QStringLiteral("805"));
}

TEST_F(ManualEntryTest, ReadingForLastNightIsStoredOnThatDayAndUpdatesItsAverage)
{
    // Yesterday already has a reading of this user, and today one too.
    ReadingStore store(*db, alerts, clock);
    store.saveManual(120, 80, 70, "", "2026-03-09", "08:00:00");
    store.saveManual(150, 95, 90, "", "2026-03-10", "07:00:00");

    enter("140", "90", "80");
    ASSERT_EQ(manual->currentView(), manual->manual_step4_4());
    EXPECT_EQ(manual->datePicker()->date(), clock.localNow());
    EXPECT_EQ(manual->datepicker_label()->text(), QStringLiteral("2026/03/10            09:15AM"));

    pick(2026, 3, 9, 23, 30);
    EXPECT_EQ(manual->datepicker_label()->text(), QStringLiteral("2026/03/09            11:30PM"));

    QSignalSpy back(manual, &ManualEntryController::returnToStart);
    QSignalSpy saved(manual, &ManualEntryController::readingSaved);
    manual->manual_step4_4()->next->click();
    ASSERT_EQ(manual->currentView(), manual->manual_result());
    ManualResultPanel *result = manual->manual_result();
    EXPECT_EQ(result->manual_sys->text(), QStringLiteral("140"));
    EXPECT_EQ(result->manual_dia->text(), QStringLiteral("90"));
    EXPECT_EQ(result->manual_pulse->text(), QStringLiteral("80"));
    EXPECT_EQ(result->manual_date->text(), QStringLiteral("2026/03/09"));
    EXPECT_EQ(result->manual_time->text(), QStringLiteral("11:30PM"));
    EXPECT_EQ(result->WHO_bt_manual->property("artwork").toString(), QStringLiteral("icon_who_color03.png"));

    result->manual_result_save->click();

    const auto rows = readings();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].date, "2026-03-09");
    EXPECT_EQ(rows[2].time, "23:30:42");
    EXPECT_EQ(rows[2].sys, 140);
    EXPECT_EQ(rows[2].dia, 90);
    EXPECT_EQ(rows[2].pulse, 80);

    const auto days = dayAverages();
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].date, "2026-03-09");
    EXPECT_EQ(days[0].sys, 130);
    EXPECT_EQ(days[0].dia, 85);
    EXPECT_EQ(days[0].pulse, 75);
    EXPECT_EQ(days[0].time, "08:00:00");
    // Today's average is not touched.
    EXPECT_EQ(days[1].date, "2026-03-10");
    EXPECT_EQ(days[1].sys, 150);

    EXPECT_FALSE(manual->isActive());
    EXPECT_FALSE(manual->isVisible());
    EXPECT_EQ(back.count(), 1);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(alerts.hasAlert());
}

TEST_F(ManualEntryTest, ManualReadingIsFlaggedManualOnlyWhateverCameBefore)
{
    DataBaseforCD settings(*db, alerts);
    settings.check_database();
    settings.insertDataBase_setting_table(2, -1, -1);
    // The measurement just before carried the PAD finding, in TRIV mode.
    ReadingStore store(*db, alerts, clock);
    store.saveTriv(128, 84, 70, {{{130, 85, 72}, {126, 83, 70}, {128, 84, 71}}}, "", true);
    MeasurementMode::measure_mode = MeasurementMode::kTriv;

    enter("118", "76", "70");
    manual->manual_step4_4()->next->click();
    manual->setComment(QString::fromUtf8("après le café, 血压"));
    manual->manual_result()->manual_result_save->click();

    const auto rows = readings();
    ASSERT_EQ(rows.size(), 2u);
    const Reading &r = rows[1];
    EXPECT_EQ(r.triv_id, 0);
    EXPECT_EQ(r.is_triv, 0);
    EXPECT_EQ(r.is_manual, 1);
    EXPECT_EQ(r.is_pad, 0);
    EXPECT_EQ(r.user_id, 2);
    EXPECT_EQ(r.date, "2026-03-10");
    EXPECT_EQ(r.time, "09:15:42");
    EXPECT_EQ(r.diary, "après le café, 血压");
    // The screen is back in the mode it had before the entry.
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kTriv);
}

TEST_F(ManualEntryTest, StepFourPickerStopsAtTheClocksNow)
{
    enter("120", "80", "60");
    ManualDateTimePicker *picker = manual->datePicker();
    EXPECT_EQ(picker->maximumDate(), clock.localNow());
    // Tomorrow is refused, and a time later than now today is pulled back.
    pick(2026, 3, 11, 10, 0);
    EXPECT_EQ(picker->date(), clock.localNow());
    pick(2026, 3, 10, 23, 59);
    EXPECT_EQ(picker->date(), clock.localNow());
    EXPECT_EQ(manual->datepicker_label()->text(), QStringLiteral("2026/03/10            09:15AM"));

    // Coming back to step 4 later starts at the new now.
    manual->manual_step4_4()->back->click();
    clock.set({2026, 3, 10, 21, 5, 3});
    manual->manual_step3_4()->next->click();
    EXPECT_EQ(picker->maximumDate(), clock.localNow());
    EXPECT_EQ(manual->datepicker_label()->text(), QStringLiteral("2026/03/10            09:05PM"));
}

TEST_F(ManualEntryTest, MissingReadingTablesAlertAndStillEndOnTheStartView)
{
    ASSERT_TRUE(
        SqlStatement::exec(db->database(), "DROP TABLE tonaradock_table; DROP TABLE day_average;").ok());
    QSignalSpy back(manual, &ManualEntryController::returnToStart);
    QSignalSpy saved(manual, &ManualEntryController::readingSaved);

    enter("120", "80", "60");
    manual->manual_step4_4()->next->click();
    manual->manual_result()->manual_result_save->click();

    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), QString());
    EXPECT_EQ(alerts.currentMessage(), QString::fromUtf8(StorageTexts::kDatabaseFull));
    EXPECT_EQ(alerts.currentButtons(), QStringList{QStringLiteral("OK")});
    EXPECT_EQ(alerts.pendingCount(), 1);
    EXPECT_FALSE(manual->isActive());
    EXPECT_EQ(back.count(), 1);
    // Nothing was stored, so nothing claims it was.
    EXPECT_EQ(saved.count(), 0);
}

TEST_F(ManualEntryTest, CancelAsksFirstAndOkLeavesWithoutStoring)
{
    QSignalSpy back(manual, &ManualEntryController::returnToStart);
    enter("120", "80", "60");
    manual->manual_step4_4()->next->click();
    manual->setComment(QStringLiteral("left arm"));

    manual->manual_result()->manul_result_cencel->click();
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), QStringLiteral("Abort the reading"));
    EXPECT_EQ(alerts.currentMessage(),
              QStringLiteral("Are you sure you want to leave \n without saving this reading?"));
    EXPECT_EQ(alerts.currentButtons(), (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
    ASSERT_TRUE(alerts.answer(QStringLiteral("Cancel")));
    EXPECT_TRUE(manual->isActive());
    EXPECT_EQ(manual->currentView(), manual->manual_result());
    EXPECT_EQ(manual->manual_result()->comments_text_manual->text(), QStringLiteral("left arm"));
    EXPECT_EQ(back.count(), 0);

    manual->manual_result()->manul_result_cencel->click();
    ASSERT_TRUE(alerts.answer(QStringLiteral("OK")));
    EXPECT_FALSE(manual->isActive());
    EXPECT_EQ(back.count(), 1);
    EXPECT_TRUE(readings().empty());
    EXPECT_TRUE(dayAverages().empty());

    // The next entry starts empty.
    manual->maual_tonara();
    EXPECT_TRUE(manual->step1_4_test()->text().isEmpty());
    EXPECT_TRUE(manual->manual_result()->comments_text_manual->text().isEmpty());
}

TEST_F(ManualEntryTest, TabBarHidesOnStepFourOnly)
{
    QSignalSpy tabBar(manual, &ManualEntryController::tabBarHiddenRequested);
    enter("120", "80", "60");
    ASSERT_EQ(tabBar.count(), 1);
    EXPECT_TRUE(tabBar.at(0).at(0).toBool());
    EXPECT_FALSE(manual->step1_4_test()->isEnabled());

    // Back to step 3 keeps it hidden until step 3 is left backwards.
    manual->manual_step4_4()->back->click();
    EXPECT_EQ(tabBar.count(), 1);
    EXPECT_TRUE(manual->step3_4_test()->isEnabled());
    manual->manual_step3_4()->back->click();
    ASSERT_EQ(tabBar.count(), 2);
    EXPECT_FALSE(tabBar.at(1).at(0).toBool());
    EXPECT_EQ(manual->currentView(), manual->manual_step2_4());
    EXPECT_EQ(manual->step2_4_text()->text(), QStringLiteral("80"));

    manual->manual_step2_4()->next->click();
    manual->manual_step3_4()->next->click();
    manual->manual_step4_4()->next->click();
    ASSERT_EQ(tabBar.count(), 4);
    EXPECT_TRUE(tabBar.at(2).at(0).toBool());
    EXPECT_FALSE(tabBar.at(3).at(0).toBool());
}

TEST_F(ManualEntryTest, AskedForFromHistoryItStartsByItselfAndGoesBackThere)
{
    QSignalSpy tabs(manual, &ManualEntryController::selectTabRequested);

    // Leaving from step 1.
    host.hide();
    ManualFromHistory::manual_from_history = 1;
    host.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(manual->isActive());
    EXPECT_EQ(manual->currentView(), manual->manual_step1_4());
    manual->manual_step1_4()->back->click();
    ASSERT_EQ(tabs.count(), 1);
    EXPECT_EQ(tabs.at(0).at(0).toInt(), ManualEntryController::kHistoryTab);
    EXPECT_EQ(ManualFromHistory::manual_from_history, 0);

    // The next visit shows the start view, not the wizard.
    host.hide();
    host.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(manual->isActive());

    // Saving.
    host.hide();
    ManualFromHistory::manual_from_history = 1;
    host.show();
    QCoreApplication::processEvents();
    type(manual->step1_4_test(), "120");
    manual->manual_step1_4()->next->click();
    type(manual->step2_4_text(), "80");
    manual->manual_step2_4()->next->click();
    type(manual->step3_4_test(), "60");
    manual->manual_step3_4()->next->click();
    manual->manual_step4_4()->next->click();
    manual->manual_result()->manual_result_save->click();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(ManualFromHistory::manual_from_history, 0);
    EXPECT_EQ(readings().size(), 1u);

    // Abandoning the result.
    ManualFromHistory::manual_from_history = 1;
    EXPECT_TRUE(manual->startIfRequestedFromHistory());
    EXPECT_FALSE(manual->startIfRequestedFromHistory());
    type(manual->step1_4_test(), "120");
    manual->manual_step1_4()->next->click();
    type(manual->step2_4_text(), "80");
    manual->manual_step2_4()->next->click();
    type(manual->step3_4_test(), "60");
    manual->manual_step3_4()->next->click();
    manual->manual_step4_4()->next->click();
    manual->manual_result()->manul_result_cencel->click();
    alerts.answer(QStringLiteral("OK"));
    ASSERT_EQ(tabs.count(), 3);
    EXPECT_EQ(ManualFromHistory::manual_from_history, 0);
    EXPECT_EQ(readings().size(), 1u);

    // Left by the tab bar halfway: coming back starts the asked-for entry afresh.
    ManualFromHistory::manual_from_history = 1;
    manual->startIfRequestedFromHistory();
    type(manual->step1_4_test(), "120");
    manual->manual_step1_4()->next->click();
    host.hide();
    host.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(manual->isActive());
    EXPECT_EQ(manual->currentView(), manual->manual_step1_4());
    EXPECT_TRUE(manual->step1_4_test()->text().isEmpty());
    EXPECT_EQ(ManualFromHistory::manual_from_history, 1);
}

TEST_F(ManualEntryTest, ComingBackToTheTabDropsAnUnfinishedEntry)
{
    enter("120", "80", "60");
    ASSERT_TRUE(manual->isActive());
    QSignalSpy tabBar(manual, &ManualEntryController::tabBarHiddenRequested);
    host.hide();
    host.show();
    EXPECT_FALSE(manual->isActive());
    EXPECT_FALSE(manual->isVisible());
    ASSERT_EQ(tabBar.count(), 1);
    EXPECT_FALSE(tabBar.at(0).at(0).toBool());
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kSingle);
    EXPECT_TRUE(readings().empty());
}

TEST_F(ManualEntryTest, ControlsCarryTheirNamesForAutomation)
{
    // On the result, so that every value label has something to say.
    enter("120", "80", "60");
    manual->manual_step4_4()->next->click();
    for (const char *name :
         {"manual_step1_4",       "manual_step2_4",      "manual_step3_4",      "manual_step4_4",
          "manual_result",        "step1_4_test",        "step2_4_text",        "step3_4_test",
          "datePicker",           "datepicker_label",    "manual_sys",          "manual_dia",
          "manual_pulse",         "manual_date",         "manual_time",         "WHO_bt_manual",
          "comments_text_manual", "manual_result_save",  "manul_result_cencel", "manual_step1_4_back",
          "manual_step1_4_next",  "manual_step4_4_back", "manual_step4_4_next"}) {
        const auto found = manual->findChildren<QWidget *>(QString::fromLatin1(name));
        ASSERT_EQ(found.size(), 1) << name;
        EXPECT_EQ(found[0]->accessibleDescription(), QString::fromLatin1(name));
        EXPECT_FALSE(found[0]->accessibleName().isEmpty()) << name;
    }
}

} // namespace
} // namespace tonara::test

namespace tonara::test {
namespace {

// With the transitions on, as in the app: quick taps during a slide still
// leave exactly one page showing, in place, and the layer goes at the end.
TEST_F(ManualEntryTest, SlidingStepsSettleOnOnePage)
{
    delete manual;
    ctx.animations = true;
    manual = new ManualEntryController(ctx, &host);
    auto showing = [this] {
        QList<QWidget *> out;
        for (QWidget *page : {static_cast<QWidget *>(manual->manual_step1_4()),
                              static_cast<QWidget *>(manual->manual_step2_4()),
                              static_cast<QWidget *>(manual->manual_step3_4()),
                              static_cast<QWidget *>(manual->manual_step4_4()),
                              static_cast<QWidget *>(manual->manual_result())})
            if (page->isVisible())
                out << page;
        return out;
    };

    // Waits on the pages themselves, never on the slides' length: true once
    // exactly these pages show, each in place.
    auto settlesOn = [&](const QList<QWidget *> &pages) {
        QDeadlineTimer bound(10000);
        auto settled = [&] {
            if (showing() != pages)
                return false;
            for (QWidget *p : pages)
                if (p->pos() != QPoint(0, 0))
                    return false;
            return true;
        };
        while (!settled() && !bound.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return settled();
    };

    manual->maual_tonara();
    type(manual->step1_4_test(), "120");
    manual->manual_step1_4()->next->click();
    // Back before the slide has ended, then forward again.
    manual->manual_step2_4()->back->click();
    manual->manual_step1_4()->next->click();
    ASSERT_TRUE(settlesOn({manual->manual_step2_4()}));

    // Two backs in quick succession, the second while the first slides.
    manual->manual_step2_4()->back->click();
    QCoreApplication::processEvents();
    manual->manual_step1_4()->back->click();
    EXPECT_FALSE(manual->isActive());
    EXPECT_TRUE(settlesOn({}));
    QDeadlineTimer gone(10000);
    while (manual->isVisible() && !gone.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(manual->isVisible());

    // A new entry right away starts clean on step 1.
    manual->maual_tonara();
    EXPECT_TRUE(settlesOn({manual->manual_step1_4()}));
    EXPECT_TRUE(manual->step1_4_test()->text().isEmpty());
}

} // namespace
} // namespace tonara::test

namespace tonara::test {
namespace {

TEST_F(ManualEntryTest, CommentGoesToTheScreensEditorOrIsTypedInPlace)
{
    enter("120", "80", "60");
    manual->manual_step4_4()->next->click();
    QLineEdit *comment = manual->manual_result()->comments_text_manual;

    // Without an editor on the screen the field itself takes the text, up to 140.
    QTest::mouseClick(comment, Qt::LeftButton);
    ASSERT_FALSE(comment->isReadOnly());
    type(comment, "ok");
    EXPECT_EQ(comment->text(), QStringLiteral("ok"));
    comment->setText(QString(150, QLatin1Char('x')));
    EXPECT_EQ(comment->text().size(), 140);

    // With one, a tap asks for it and its text comes back.
    int asked = 0;
    QObject::connect(manual, &ManualEntryController::commentRequested, [&] { ++asked; });
    manual->manual_result()->manul_result_cencel->click();
    alerts.answer(QStringLiteral("OK"));
    enter("120", "80", "60");
    manual->manual_step4_4()->next->click();
    ASSERT_TRUE(comment->isReadOnly());
    QTest::mouseClick(comment, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(comment->isReadOnly());
    manual->manual_result()->hide();
    manual->setComment(QStringLiteral("evening"));
    manual->showResult();
    EXPECT_TRUE(manual->manual_result()->isVisible());
    manual->manual_result()->manual_result_save->click();
    ASSERT_EQ(readings().size(), 1u);
    EXPECT_EQ(readings()[0].diary, "evening");
}

} // namespace
} // namespace tonara::test
