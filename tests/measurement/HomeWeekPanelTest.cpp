// The home-monitoring week on the measurement tab, clicked through offscreen
// on the rig's virtual clock. Pictures are in HomeWeekScreenshots.cpp.

#include "WeekRig.h"

#include <QSignalSpy>

using namespace tonara;
using namespace screentest;

namespace {

TEST(HomeWeek, StartsInTwoTapsAndFillsItsSlotsAsReadingsAreSaved)
{
    WeekRig r;
    // Every part on show is found by its code name and heard in words.
    const auto named = [&r] {
        for (QWidget *root : {static_cast<QWidget *>(r.week), static_cast<QWidget *>(r.week->card())})
            for (QWidget *w : root->findChildren<QWidget *>())
                if (w->isVisibleTo(root) && !w->objectName().startsWith(QLatin1String("qt_")) &&
                    !w->objectName().isEmpty()) {
                    EXPECT_EQ(w->accessibleDescription(), w->objectName());
                    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
                }
    };
    EXPECT_FALSE(r.week->evaluation());
    r.week->card()->click();
    ASSERT_TRUE(r.week->isVisible());
    named();
    r.week->home_week_start_high_risk->click();
    ASSERT_TRUE(r.week->evaluation());
    EXPECT_EQ(r.week->evaluation()->threshold, HomeThreshold::highRisk());
    EXPECT_EQ(r.week->progress->text(), QStringLiteral("Day 1 of 7 \u00B7 7 days left"));
    EXPECT_EQ(r.cellState(1, SlotPeriod::Morning), QStringLiteral("now"));

    r.measure(1, 7, 1, 128, 82);
    EXPECT_EQ(r.cellState(1, SlotPeriod::Morning), QStringLiteral("half"));
    EXPECT_EQ(r.week->due->text(), QStringLiteral("Now: one more morning reading."));
    r.measure(1, 7, 1, 126, 80);
    EXPECT_EQ(r.cellState(1, SlotPeriod::Morning), QStringLiteral("done"));
    EXPECT_EQ(r.week->grid()->cell(1, SlotPeriod::Morning)->accessibleName(),
              QStringLiteral("Day 1 morning: done"));
    // One TRIV measurement fills a window by itself.
    r.measure(1, 19, 1, 130, 84, true);
    EXPECT_EQ(r.cellState(1, SlotPeriod::Evening), QStringLiteral("done"));
    EXPECT_EQ(r.week->card()->title()->text(), QStringLiteral("Home week \u00B7 day 1 of 7"));

    named();
    // Coming back to the tab shows the mode choice again, with the week on its card.
    r.comeBack();
    EXPECT_FALSE(r.week->isVisible());
    EXPECT_TRUE(r.week->evaluation());
}

TEST(HomeWeek, AMeasurementOnTheDevicesButtonShowsOverTheWeekAndFillsItsSlot)
{
    WeekRig r;
    r.tapStart();
    ASSERT_TRUE(r.week->isVisible());
    r.rig.sim.pressSingleButton();
    r.rig.settle(50ms);
    EXPECT_FALSE(r.week->isVisible());
    EXPECT_EQ(r.rig.front(), r.rig.screen->instructionPages());
    r.rig.screen->go_measuring();
    ASSERT_TRUE(r.rig.untilSingleResult());
    r.rig.screen->singleResultPanel()->measurement_save->click();
    EXPECT_EQ(r.cellState(1, SlotPeriod::Morning), QStringLiteral("half"));
    EXPECT_EQ(r.week->card()->detail()->text(), QStringLiteral("Now: 1 more morning reading"));
}

TEST(HomeWeek, WhatIsDueFollowsTheClockWithoutATap)
{
    WeekRig r;
    r.tapStart();
    const auto tick = [&](int day, int hour) {
        r.at(day, hour);
        r.rig.settle(std::chrono::seconds(61));
        return r.week->due->text();
    };
    EXPECT_EQ(tick(1, 14), QStringLiteral("Next: this evening, from 18:00."));
    EXPECT_EQ(r.cellState(1, SlotPeriod::Morning), QStringLiteral("missed"));
    EXPECT_EQ(r.week->grid()->cell(1, SlotPeriod::Morning)->accessibleName(),
              QStringLiteral("Day 1 morning: missed"));
    EXPECT_EQ(tick(1, 18), QStringLiteral("Now: two evening readings, a minute or two apart (or one TRIV "
                                          "measurement)."));
    EXPECT_EQ(tick(2, 1), QStringLiteral("Next: this morning, from 04:00."));
    EXPECT_EQ(r.week->progress->text(), QStringLiteral("Day 2 of 7 \u00B7 6 days left"));
    EXPECT_EQ(r.cellState(1, SlotPeriod::Evening), QStringLiteral("missed"));
    EXPECT_EQ(tick(7, 12), QStringLiteral("Next: this evening, from 18:00."));
    EXPECT_EQ(r.week->progress->text(), QStringLiteral("Day 7 of 7 \u00B7 last day"));
    tick(8, 0);
    EXPECT_EQ(r.week->progress->text(), QStringLiteral("The week is over"));
    EXPECT_FALSE(r.week->due->isVisible());
}

TEST(HomeWeek, TheResultIsSaidInPlainWordsAboveAtAndBelowTheThreshold)
{
    struct Case {
        bool highRisk;
        int sys, dia;
        QString sentence;
    };
    const std::vector<Case> cases = {
        {false, 140, 88,
         QStringLiteral("Your home average 140/88 is above the home threshold 135/85 your doctor uses. Show "
                        "this report to your doctor.")},
        {false, 135, 80,
         QStringLiteral("Your home average 135/80 reaches the home threshold 135/85 your doctor uses. Show "
                        "this report to your doctor.")},
        {true, 129, 79,
         QStringLiteral("Your home average 129/79 is below the home threshold 130/80 your doctor uses. Keep "
                        "measuring as your doctor advised and bring this report to your next visit.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sentence.toStdString());
        WeekRig r;
        r.tapStart(c.highRisk);
        r.measure(1, 8, 2, 180, 110); // day 1 is practice and left out
        for (int day = 2; day <= 6; ++day)
            r.measure(day, 8, 2, c.sys, c.dia);
        EXPECT_FALSE(r.week->evaluation()->hasResult); // 10 readings
        r.measure(7, 8, 2, c.sys, c.dia);
        ASSERT_TRUE(r.week->evaluation()->hasResult); // 12: no need to wait for day 7's end
        EXPECT_EQ(r.week->resultTitle->text(), QStringLiteral("Your result so far"));
        EXPECT_EQ(r.week->result->text(), c.sentence);
        EXPECT_EQ(r.week->basis->text(), QStringLiteral("Based on 12 readings of days 2 to 7."));
        // The sentence asks for the report: it is one tap away.
        ASSERT_TRUE(r.week->home_week_report->isVisible());
        QSignalSpy asked(r.week, &HomeWeekPanel::reportRequested);
        r.week->home_week_report->click();
        EXPECT_EQ(asked.count(), 1);
        EXPECT_FALSE(r.week->isVisible());
    }

    WeekRig r;
    r.tapStart();
    r.measure(2, 8, 2, 150, 95);
    r.at(8, 9);
    r.rig.settle(std::chrono::seconds(61));
    EXPECT_EQ(r.week->resultTitle->text(), QStringLiteral("Your week's result"));
    EXPECT_EQ(r.week->basis->text(), QStringLiteral("Based on 2 readings of days 2 to 7. At least 12 are "
                                                    "needed for a reliable average."));
    EXPECT_EQ(r.week->card()->title()->text(), QStringLiteral("Home week: result ready"));
    EXPECT_EQ(r.week->card()->detail()->text(), QStringLiteral("Average 150/95 (threshold 135/85)"));
}

TEST(HomeWeek, TheWeekSurvivesARestartAndBelongsToTheActiveUser)
{
    WeekRig r;
    r.tapStart(true);
    r.measure(1, 8, 2, 128, 82);

    // Another user active: their (missing) week, not this one.
    DataBaseforCD(*r.rig.db, r.rig.alerts).insertDataBase_setting_table(1, -1, -1);
    r.comeBack();
    EXPECT_EQ(r.week->user(), 1);
    EXPECT_FALSE(r.week->evaluation());
    EXPECT_EQ(r.week->card()->title()->text(), QStringLiteral("Home-monitoring week"));
    r.measure(1, 20, 2, 150, 95); // user 1's readings
    DataBaseforCD(*r.rig.db, r.rig.alerts).insertDataBase_setting_table(0, -1, -1);
    r.comeBack();
    ASSERT_TRUE(r.week->evaluation());
    EXPECT_EQ(r.cellState(1, SlotPeriod::Evening), QStringLiteral("now"));

    // The file opened anew, as at the next start, with a new tab.
    DBHelper reopened(r.rig.dataDir.path().toStdString(), &r.rig.alerts);
    reopened.openDatabase();
    MeasurementContext ctx = r.context();
    ctx.db = &reopened;
    QWidget host;
    HomeWeekCard *card = new HomeWeekCard(FormFactor::Phone480, &host);
    HomeWeekPanel panel(ctx, &host, card);
    ASSERT_TRUE(panel.evaluation());
    EXPECT_EQ(panel.evaluation()->threshold, HomeThreshold::highRisk());
    EXPECT_EQ(panel.grid()->cell(1, SlotPeriod::Morning)->property("slot").toString(),
              QStringLiteral("done"));
}

TEST(HomeWeek, EndingOrAbandoningAsksFirst)
{
    WeekRig r;
    r.tapStart();
    EXPECT_EQ(r.week->home_week_end->text(), QStringLiteral("Abandon the week"));
    r.week->home_week_end->click();
    ASSERT_TRUE(r.rig.alerts.hasAlert());
    EXPECT_EQ(r.rig.alerts.currentTitle(), QStringLiteral("Abandon the week?"));
    r.rig.alerts.answer(1); // Cancel
    EXPECT_TRUE(r.week->evaluation());
    r.week->home_week_end->click();
    r.rig.alerts.answer(0);
    EXPECT_FALSE(r.week->evaluation());
    EXPECT_TRUE(r.week->home_week_start_standard->isVisible());
    EXPECT_FALSE(evaluateLatestWeek(*r.rig.db, 0, r.rig.clock)); // abandoned: not for a report

    r.week->home_week_start_standard->click();
    for (int day = 2; day <= 7; ++day)
        r.measure(day, 8, 2, 138, 86);
    EXPECT_EQ(r.week->home_week_end->text(), QStringLiteral("End the week"));
    r.week->home_week_end->click();
    EXPECT_EQ(r.rig.alerts.currentTitle(), QStringLiteral("End the week?"));
    r.rig.alerts.answer(0);
    EXPECT_FALSE(r.week->evaluation());
    // Ended, not abandoned: still the week a report finds, with its result.
    const std::optional<WeekEvaluation> last = evaluateLatestWeek(*r.rig.db, 0, r.rig.clock);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->meanSys, 138);
}

} // namespace
