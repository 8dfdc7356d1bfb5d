#include "base/Clock.h"
#include "measurement/core/ReadingStore.h"
#include "reports/core/HomeMonitoringWeek.h"
#include "reports/core/HomeWeekStore.h"
#include "reports/core/WeekEvaluation.h"
#include "storage/DataBaseforCD.h"
#include "storage/StorageTestSupport.h"

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

// The week of these tests: Tuesday 2026-12-01 to Monday 2026-12-07.
const CivilDate kStart = *CivilDate::parse("2026-12-01");

std::string dayDate(int day)
{
    return kStart.plusDays(day - 1).text();
}

LocalDateTime onDay(int day, int hour, int minute = 0)
{
    const CivilDate d = kStart.plusDays(day - 1);
    return {d.year(), d.month(), d.day(), hour, minute, 0};
}

class HomeWeekTest : public StorageTest {
protected:
    HomeWeekTest() : clock(onDay(3, 9)), store(db, alerts, clock)
    {
        LogCapture::quiet();
        DataBaseforCD(db, alerts).check_database();
    }

    void add(int day, const std::string &time, int sys, int dia, int user = 0, bool triv = false)
    {
        Reading r;
        r.date = dayDate(day);
        r.time = time;
        r.sys = sys;
        r.dia = dia;
        r.pulse = 70;
        r.user_id = user;
        r.is_triv = triv ? 1 : 0;
        r.triv_id = triv ? 1 : 0;
        ASSERT_TRUE(store.saveReading(r).stored);
    }
    // Two readings in each window of days from..to.
    void fullDays(int from, int to, int sys, int dia, int user = 0)
    {
        for (int d = from; d <= to; ++d)
            for (const char *t : {"07:00:00", "07:02:00", "20:00:00", "20:02:00"})
                add(d, t, sys, dia, user);
    }
    WeekEvaluation eval(HomeThreshold t = HomeThreshold::standard(), int user = 0)
    {
        return evaluateWeek(db, user, kStart, t, clock);
    }
    const WeekSlot &slot(const WeekEvaluation &w, int day, SlotPeriod p)
    {
        return w.weekSlots[WeekEvaluation::slotIndex(day, p)];
    }

    ManualClock clock;
    ReadingStore store;
};

TEST(HomeMonitoringWeekWindows, MorningAndEveningEndAtTheirLastMinute)
{
    using P = std::optional<SlotPeriod>;
    EXPECT_EQ(HomeMonitoringWeek::windowOf("03:59:59"), P());
    EXPECT_EQ(HomeMonitoringWeek::windowOf("04:00:00"), P(SlotPeriod::Morning));
    EXPECT_EQ(HomeMonitoringWeek::windowOf("11:59:59"), P(SlotPeriod::Morning));
    EXPECT_EQ(HomeMonitoringWeek::windowOf("12:00:00"), P());
    EXPECT_EQ(HomeMonitoringWeek::windowOf("17:59:59"), P());
    EXPECT_EQ(HomeMonitoringWeek::windowOf("18:00:00"), P(SlotPeriod::Evening));
    EXPECT_EQ(HomeMonitoringWeek::windowOf("23:59:59"), P(SlotPeriod::Evening));
    EXPECT_EQ(HomeMonitoringWeek::windowOf("00:00:00"), P());
    for (const char *bad : {"", "7", "ab:00:00", "7:00:00"})
        EXPECT_EQ(HomeMonitoringWeek::windowOf(bad), P()) << bad;
}

TEST_F(HomeWeekTest, ASlotIsDoneByTwoReadingsInItsWindowOrOneTrivReading)
{
    add(2, "04:00:00", 120, 80); // morning day 2: two at the window's edges
    add(2, "11:59:00", 122, 80);
    add(2, "12:00:00", 150, 95); // between the windows: in no slot
    add(2, "17:59:00", 150, 95);
    add(2, "18:00:00", 124, 80);          // evening day 2: only one
    add(3, "03:59:00", 150, 95);          // night: in no slot
    add(3, "23:59:00", 126, 80, 0, true); // evening day 3: one TRIV reading
    const WeekEvaluation w = eval();

    EXPECT_TRUE(slot(w, 2, SlotPeriod::Morning).done);
    EXPECT_EQ(slot(w, 2, SlotPeriod::Morning).readings, 2);
    EXPECT_FALSE(slot(w, 2, SlotPeriod::Evening).done);
    EXPECT_EQ(slot(w, 2, SlotPeriod::Evening).readings, 1);
    EXPECT_FALSE(slot(w, 3, SlotPeriod::Morning).done);
    EXPECT_TRUE(slot(w, 3, SlotPeriod::Evening).done);
    EXPECT_TRUE(slot(w, 3, SlotPeriod::Evening).triv);
    EXPECT_EQ(w.slotsDone, 2);
    // The readings outside the windows count nowhere, not in the mean either.
    EXPECT_EQ(w.readingsUsed, 4);
    EXPECT_EQ(w.meanSys, 123);
}

TEST_F(HomeWeekTest, DayOneAndDaysOutsideTheWeekAreNotInTheResult)
{
    clock.set(onDay(8, 8));
    fullDays(1, 1, 180, 110); // practice day: counted in its slots only
    add(0, "08:00:00", 180, 110);
    add(8, "08:00:00", 180, 110);
    fullDays(2, 4, 120, 76);
    const WeekEvaluation w = eval();

    EXPECT_TRUE(slot(w, 1, SlotPeriod::Morning).done);
    EXPECT_EQ(w.slotsDone, 8);
    EXPECT_EQ(w.readingsUsed, 12);
    EXPECT_TRUE(w.hasResult);
    EXPECT_EQ(w.meanSys, 120);
    EXPECT_EQ(w.meanDia, 76);
    EXPECT_FALSE(w.atOrAbove);
}

TEST_F(HomeWeekTest, TheResultComesWithTwelveReadingsOrWhenDaySevenIsOver)
{
    clock.set(onDay(5, 9));
    fullDays(2, 3, 130, 80);
    for (const char *t : {"07:00:00", "07:02:00", "08:00:00"})
        add(4, t, 130, 80);
    WeekEvaluation w = eval();
    EXPECT_EQ(w.readingsUsed, 11);
    EXPECT_FALSE(w.hasResult);

    add(4, "20:00:00", 130, 80);
    w = eval();
    EXPECT_EQ(w.readingsUsed, 12);
    EXPECT_TRUE(w.hasResult);
    EXPECT_TRUE(w.enoughReadings);
    EXPECT_EQ(w.phase, WeekPhase::Running);

    // Too few readings: the week still ends in a result, marked as too few,
    // but not before the last minute of day 7 has passed.
    clock.set(onDay(8, 23, 59));
    w = evaluateWeek(db, 0, kStart.plusDays(1), HomeThreshold::standard(), clock);
    EXPECT_EQ(w.readingsUsed, 8); // its day 1 is the first week's day 2
    EXPECT_FALSE(w.hasResult);
    clock.set(onDay(9, 0, 0));
    w = evaluateWeek(db, 0, kStart.plusDays(1), HomeThreshold::standard(), clock);
    EXPECT_TRUE(w.hasResult);
    EXPECT_FALSE(w.enoughReadings);
    EXPECT_EQ(w.phase, WeekPhase::Over);

    // A week with no readings at all ends in a result with nothing in it.
    w = evaluateWeek(db, 0, *CivilDate::parse("2026-11-01"), HomeThreshold::standard(), clock);
    EXPECT_TRUE(w.hasResult);
    EXPECT_EQ(w.readingsUsed, 0);
    EXPECT_FALSE(w.atOrAbove);
}

TEST_F(HomeWeekTest, AtTheThresholdExactlyCountsAsAtOrAboveForEitherValue)
{
    clock.set(onDay(8, 9));
    fullDays(2, 4, 135, 70);
    EXPECT_TRUE(eval().atOrAbove);
    EXPECT_EQ(eval().meanSys, 135);

    TempDir other;
    DBHelper db2(other.path(), &alerts);
    db2.openDatabase();
    ReadingStore store2(db2, alerts, clock);
    auto week = [&](int sys, int dia) {
        SqlStatement::exec(db2.database(), "DELETE FROM tonaradock_table");
        for (int i = 0; i < 12; ++i) {
            Reading r;
            r.date = dayDate(2 + i / 4);
            r.time = i % 4 < 2 ? "07:00:00" : "19:00:00";
            r.sys = sys;
            r.dia = dia;
            store2.saveReading(r);
        }
        return std::pair{evaluateWeek(db2, 0, kStart, HomeThreshold::standard(), clock).atOrAbove,
                         evaluateWeek(db2, 0, kStart, HomeThreshold::highRisk(), clock).atOrAbove};
    };
    EXPECT_EQ(week(120, 85), std::pair(true, true));
    EXPECT_EQ(week(134, 84), std::pair(false, true));
    EXPECT_EQ(week(129, 79), std::pair(false, false));
    EXPECT_EQ(week(130, 70), std::pair(false, true));
    EXPECT_EQ(week(110, 80), std::pair(false, true));
}

TEST_F(HomeWeekTest, MeansRoundHalvesUpAndTheRoundedMeanIsCompared)
{
    clock.set(onDay(8, 9));
    // Six at 134/84 and six at 135/85: the mean 134.5/84.5 rounds to 135/85.
    fullDays(2, 2, 134, 84);
    add(3, "07:00:00", 134, 84);
    add(3, "07:01:00", 134, 84);
    add(3, "19:00:00", 135, 85);
    add(3, "19:01:00", 135, 85);
    fullDays(4, 4, 135, 85);
    WeekEvaluation w = eval();
    EXPECT_EQ(w.readingsUsed, 12);
    EXPECT_EQ(w.meanSys, 135);
    EXPECT_EQ(w.meanDia, 85);
    EXPECT_TRUE(w.atOrAbove);

    // One more at 134/84: 1747/13 = 134.38 rounds down.
    add(5, "07:00:00", 134, 84);
    w = eval();
    EXPECT_EQ(w.meanSys, 134);
    EXPECT_EQ(w.meanDia, 84);
    EXPECT_FALSE(w.atOrAbove);
}

TEST_F(HomeWeekTest, DueNowNextSlotAndDaysLeftFollowTheClock)
{
    add(3, "07:00:00", 128, 82);
    clock.set(onDay(3, 9));
    WeekEvaluation w = eval();
    EXPECT_EQ(w.phase, WeekPhase::Running);
    EXPECT_EQ(w.today, 3);
    EXPECT_EQ(w.daysLeft, 5);
    EXPECT_EQ(w.dueNow, WeekEvaluation::slotIndex(3, SlotPeriod::Morning));
    EXPECT_EQ(w.dueReadings, 1);
    EXPECT_EQ(w.nextSlot, WeekEvaluation::slotIndex(3, SlotPeriod::Evening));

    add(3, "07:02:00", 128, 82);
    EXPECT_FALSE(eval().dueNow); // morning done: nothing due until the evening

    clock.set(onDay(3, 3, 59));
    w = eval();
    EXPECT_FALSE(w.dueNow);
    EXPECT_EQ(w.nextSlot, WeekEvaluation::slotIndex(3, SlotPeriod::Morning));

    clock.set(onDay(7, 18));
    w = eval();
    EXPECT_EQ(w.dueNow, WeekEvaluation::slotIndex(7, SlotPeriod::Evening));
    EXPECT_EQ(w.dueReadings, 2);
    EXPECT_FALSE(w.nextSlot); // the last slot of the week
    EXPECT_EQ(w.daysLeft, 1);

    clock.set(onDay(0, 20));
    w = eval();
    EXPECT_EQ(w.phase, WeekPhase::NotStarted);
    EXPECT_EQ(w.daysLeft, 7);
    EXPECT_FALSE(w.dueNow);
    EXPECT_EQ(w.nextSlot, 0);

    clock.set(onDay(8, 0));
    w = eval();
    EXPECT_EQ(w.phase, WeekPhase::Over);
    EXPECT_EQ(w.daysLeft, 0);
    EXPECT_FALSE(w.dueNow);
    EXPECT_FALSE(w.nextSlot);
}

TEST_F(HomeWeekTest, AStartedWeekSurvivesARestartWithItsThreshold)
{
    fullDays(2, 2, 140, 90);
    {
        HomeWeekStore weeks(db);
        ASSERT_TRUE(weeks.startWeek(0, kStart, HomeThreshold::highRisk()));
    }
    DBHelper reopened(dir.path(), &alerts);
    reopened.openDatabase();
    HomeWeekStore weeks(reopened);
    const std::optional<HomeWeek> w = weeks.currentWeek(0);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->start.text(), kStart.text());
    EXPECT_EQ(w->threshold, HomeThreshold::highRisk());
    const std::optional<WeekEvaluation> e = evaluateLatestWeek(reopened, 0, clock);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->threshold, HomeThreshold::highRisk());
    EXPECT_EQ(e->readingsUsed, 4);
    EXPECT_EQ(e->meanSys, 140);
}

TEST_F(HomeWeekTest, EndingKeepsAWeekForTheReportAbandoningDropsIt)
{
    HomeWeekStore weeks(db);
    EXPECT_FALSE(weeks.currentWeek(0));
    EXPECT_FALSE(weeks.endWeek(0)); // nothing running

    const int first = weeks.startWeek(0, kStart, HomeThreshold::standard())->id;
    ASSERT_TRUE(weeks.endWeek(0));
    EXPECT_FALSE(weeks.currentWeek(0));
    EXPECT_EQ(weeks.latestWeek(0)->id, first);

    const int second = weeks.startWeek(0, kStart.plusDays(7), HomeThreshold::standard())->id;
    // Starting again ends the running week instead of keeping two.
    const int third = weeks.startWeek(0, kStart.plusDays(8), HomeThreshold::highRisk())->id;
    EXPECT_EQ(weeks.currentWeek(0)->id, third);
    ASSERT_TRUE(weeks.abandonWeek(0));
    EXPECT_FALSE(weeks.currentWeek(0));
    EXPECT_EQ(weeks.latestWeek(0)->id, second);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM home_week_table"), 3);
}

TEST_F(HomeWeekTest, AnotherUsersWeekAndReadingsAreInvisible)
{
    clock.set(onDay(8, 9));
    fullDays(2, 4, 150, 95, 1);
    fullDays(2, 4, 120, 75, 0);
    HomeWeekStore weeks(db);
    weeks.startWeek(1, kStart, HomeThreshold::standard());

    EXPECT_FALSE(weeks.currentWeek(0));
    EXPECT_FALSE(evaluateLatestWeek(db, 0, clock));
    const WeekEvaluation mine = eval();
    EXPECT_EQ(mine.readingsUsed, 12);
    EXPECT_EQ(mine.meanSys, 120);
    const std::optional<WeekEvaluation> theirs = evaluateLatestWeek(db, 1, clock);
    ASSERT_TRUE(theirs);
    EXPECT_EQ(theirs->meanSys, 150);
    EXPECT_TRUE(theirs->atOrAbove);
}

TEST_F(HomeWeekTest, DeletingAUserTakesTheirWeeksAlongAndMovesHigherOnesDown)
{
    DataBaseforCD users(db, alerts);
    for (int u = 0; u < 3; ++u)
        users.insertDataBase_user_table(u, "", "", "P" + std::to_string(u), "", "", 0, "");
    HomeWeekStore weeks(db);
    weeks.startWeek(1, kStart, HomeThreshold::standard());
    weeks.startWeek(2, kStart.plusDays(3), HomeThreshold::highRisk());

    ASSERT_TRUE(users.Delete_User_table(1));
    ASSERT_TRUE(users.User_table_sort_by(1));
    // The former user 2 is user 1 now and keeps the week; nobody inherits the deleted one.
    const std::optional<HomeWeek> moved = weeks.currentWeek(1);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->start.text(), kStart.plusDays(3).text());
    EXPECT_EQ(moved->threshold, HomeThreshold::highRisk());
    EXPECT_FALSE(weeks.currentWeek(2));
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM home_week_table"), 1);
}

} // namespace
} // namespace tonara::test
