#include "charts/core/PeriodQueries.h"
#include "base/Clock.h"
#include "charts/core/CivilDate.h"
#include "charts/core/WhoDistribution.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"
#include "storage/StorageTestSupport.h"

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

LocalDateTime at(int y, int mo, int d, int h = 12, int mi = 0, int s = 0)
{
    return {y, mo, d, h, mi, s};
}

// A household file with a fixed local "now": 2014-06-15 12:00 unless a test moves it.
class PeriodQueriesTest : public StorageTest {
protected:
    PeriodQueriesTest() : clock(at(2014, 6, 15)), store(db, alerts, clock), periods(db, alerts, clock)
    {
        LogCapture::quiet();
        DataBaseforCD(db, alerts).check_database();
    }

    void add(const std::string &date, const std::string &time, int sys, int dia, int user = 0)
    {
        Reading r;
        r.date = date;
        r.time = time;
        r.sys = sys;
        r.dia = dia;
        r.pulse = 70;
        r.user_id = user;
        ASSERT_TRUE(store.saveReading(r).stored);
    }
    std::string daysAgo(int n) const { return CivilDate::of(clock.localNow()).plusDays(-n).text(); }

    ManualClock clock;
    ReadingStore store;
    PeriodQueries periods;
};

TEST(CivilDateTest, CountsAndFormatsDaysAcrossMonthsYearsAndLeapDays)
{
    const CivilDate d = *CivilDate::parse("2013-12-31");
    EXPECT_EQ(d.plusDays(1).text(), "2014-01-01");
    EXPECT_EQ(CivilDate::parse("2012-03-01")->plusDays(-1).text(), "2012-02-29");
    EXPECT_EQ(CivilDate::parse("2100-03-01")->plusDays(-1).text(), "2100-02-28");
    EXPECT_EQ(CivilDate::parse("2000-03-01")->plusDays(-1).text(), "2000-02-29");
    EXPECT_EQ(CivilDate::parse("1970-01-01")->serial(), 0);
    EXPECT_EQ(d.daysTo(*CivilDate::parse("2014-06-15")), 166);
    EXPECT_EQ(d.plusDays(-400).plusDays(400).text(), "2013-12-31");
    for (const char *bad : {"2013-02-29", "2013-13-01", "2013-1-01", "0000-01-01", "abcd-ef-gh", ""})
        EXPECT_FALSE(CivilDate::parse(bad)) << bad;
}

TEST_F(PeriodQueriesTest, AReadingOnlyTodayIsOnePointAtXZeroInEveryDayBasedPeriod)
{
    add("2014-06-15", "08:30:00", 130, 85);
    add("2014-06-15", "20:10:00", 120, 75);
    for (int code : {PeriodQueries::kWeek, PeriodQueries::kMonth, PeriodQueries::kThreeMonths,
                     PeriodQueries::kYear, PeriodQueries::kAll}) {
        ASSERT_EQ(periods.chackSQL_line(code), 1) << code;
        EXPECT_EQ(periods.aArray_sys_avg[0], 125) << code;
        EXPECT_EQ(periods.aArray_dia_avg[0], 80) << code;
        EXPECT_EQ(periods.CatchStartPoint_date(periods.aArray_date_avg[0], periods.displayType(code),
                                               periods.aArray_time_avg[0]),
                  code == PeriodQueries::kAll ? 8 : 0)
            << code; // "all" on one date is the day type: x is the hour of its first reading
    }
    // The day view holds each reading, newest first, at its hour.
    ASSERT_EQ(periods.chackSQL_line(PeriodQueries::kDay), 2);
    EXPECT_EQ(periods.aArray_time_avg, (std::vector<std::string>{"20:10:00", "08:30:00"}));
    EXPECT_EQ(periods.CatchStartPoint_date(periods.aArray_date_avg[0], 1, periods.aArray_time_avg[0]), 20);
}

TEST_F(PeriodQueriesTest, WindowsHoldNCalendarDaysUpToTheLocalToday)
{
    for (int n : {0, 6, 7, 30, 31, 60, 61})
        add(daysAgo(n), "10:00:00", 100 + n, 70);
    add(CivilDate::of(clock.localNow()).plusDays(1).text(), "10:00:00", 150, 90); // dated tomorrow
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kWeek), 2);
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kMonth), 4);
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kThreeMonths), 6);
    EXPECT_EQ(periods.distributionReadings(PeriodQueries::kWeek).size(), 2u);
    EXPECT_EQ(periods.distributionReadings(PeriodQueries::kThreeMonths).size(), 6u);
    // "All" holds everything, newest (tomorrow) first, and tomorrow stands at x 0.
    ASSERT_EQ(periods.chackSQL_line(PeriodQueries::kAll), 8);
    EXPECT_EQ(periods.aArray_sys_avg.front(), 150);
    EXPECT_EQ(periods.CatchStartPoint_date(periods.aArray_date_avg.front(), 3, ""), 0);
    EXPECT_EQ(periods.CatchStartPoint_date(periods.aArray_date_avg.back(), 3, ""), 61);
}

TEST_F(PeriodQueriesTest, JustAfterLocalMidnightTodayIsTheNewLocalDay)
{
    clock.set(at(2014, 6, 16, 0, 5));
    add("2014-06-16", "00:04:00", 128, 84);
    add("2014-06-15", "23:59:00", 140, 90);
    ASSERT_EQ(periods.chackSQL_line(PeriodQueries::kDay), 1);
    EXPECT_EQ(periods.aArray_sys_avg[0], 128);
    EXPECT_EQ(periods.distributionReadings(PeriodQueries::kDay).size(), 1u);
    ASSERT_EQ(periods.chackSQL_line(PeriodQueries::kWeek), 2);
    EXPECT_EQ(periods.aArray_date_avg[0], "2014-06-16");
}

TEST_F(PeriodQueriesTest, TheYearTrendSpansTwoCalendarYearsAndTheYearDistributionOne)
{
    add("2014-01-01", "10:00:00", 120, 80);
    add("2013-01-01", "10:00:00", 121, 80);
    add("2012-12-31", "10:00:00", 122, 80);
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kYear), 2);
    EXPECT_EQ(periods.distributionReadings(PeriodQueries::kYear).size(), 1u);
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kAll), 3);
    EXPECT_EQ(periods.chackSQL_line(99), 3); // an unknown code is "all"
}

TEST_F(PeriodQueriesTest, OtherUsersNeverShowAndTheActiveUserComesFromTheSettings)
{
    add("2014-06-15", "10:00:00", 120, 80, 0);
    add("2014-06-15", "10:00:00", 170, 100, 1);
    add("2013-06-15", "10:00:00", 171, 101, 1);
    for (int code = 1; code <= 6; ++code) {
        ASSERT_EQ(periods.chackSQL_line(code), 1) << code;
        EXPECT_EQ(periods.aArray_sys_avg[0], 120) << code;
        EXPECT_EQ(periods.distributionReadings(code).size(), 1u) << code;
    }
    DataBaseforCD(db, alerts).insertDataBase_setting_table(1, -1, -1);
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kAll), 2);
    EXPECT_EQ(periods.aArray_sys_avg[0], 170);
}

TEST_F(PeriodQueriesTest, AveragesTruncateAndNeverDivideByZero)
{
    add(daysAgo(1), "10:00:00", 121, 81);
    add(daysAgo(2), "10:00:00", 120, 80);
    const int n = periods.chackSQL_line(PeriodQueries::kWeek);
    EXPECT_EQ(periods.SQL_Avg(n, 1), 120);
    EXPECT_EQ(periods.SQL_Avg(n, 2), 80);
    EXPECT_EQ(periods.SQL_Avg(n, 3), 0);
    EXPECT_EQ(periods.SQL_Avg(0, 1), 0);
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kDay), 0);
    EXPECT_EQ(periods.SQL_Avg(0, 2), 0);
}

TEST_F(PeriodQueriesTest, AllTakesItsDisplayTypeFromTheSpanOfItsDates)
{
    struct Case {
        int oldest; // days before today
        int type;
    };
    for (Case c : {Case{0, 1}, Case{1, 2}, Case{7, 2}, Case{8, 3}, Case{30, 3}, Case{31, 4}, Case{90, 4},
                   Case{91, 5}, Case{3650, 5}}) {
        SqlStatement::exec(conn(), "DELETE FROM tonaradock_table; DELETE FROM day_average;");
        add(daysAgo(0), "10:00:00", 120, 80);
        add(daysAgo(c.oldest), "09:00:00", 120, 80);
        periods.chackSQL_line(PeriodQueries::kAll);
        EXPECT_EQ(periods.displayType(PeriodQueries::kAll), c.type) << c.oldest;
    }
    EXPECT_EQ(periods.displayType(PeriodQueries::kThreeMonths), PeriodQueries::kThreeMonths);
}

TEST_F(PeriodQueriesTest, XPositionsCountWholeDaysBackAndHoursInTheDayView)
{
    clock.set(at(2014, 6, 15, 23, 59, 59));
    EXPECT_EQ(periods.CatchStartPoint_date("2014-06-15", 2, ""), 0);
    EXPECT_EQ(periods.CatchStartPoint_date("2014-06-14", 2, ""), 1);
    EXPECT_EQ(periods.CatchStartPoint_date("2014-06-09", 2, ""), 6);
    EXPECT_EQ(periods.CatchStartPoint_date("2014-06-16", 2, ""), 0); // tomorrow
    EXPECT_EQ(periods.CatchStartPoint_date("2014-06-17", 2, ""), 1); // a full day ahead
    clock.set(at(2014, 6, 15, 0, 0, 0));
    EXPECT_EQ(periods.CatchStartPoint_date("2014-06-14", 5, ""), 1);
    EXPECT_EQ(periods.CatchStartPoint_date("2013-06-15", 5, ""), 365);
    EXPECT_EQ(periods.CatchStartPoint_date("not a date", 5, ""), 0);
    // The day view plots 24 - hour: 00:30 at 24, 23:10 at 1.
    EXPECT_EQ(24 - periods.CatchStartPoint_date("", 1, "00:30:00"), 24);
    EXPECT_EQ(24 - periods.CatchStartPoint_date("", 1, "23:10:00"), 1);
}

TEST_F(PeriodQueriesTest, AQueryThatCannotRunIsNoData)
{
    add("2014-06-15", "10:00:00", 120, 80);
    SqlStatement::exec(conn(), "DROP TABLE day_average");
    EXPECT_EQ(periods.chackSQL_line(PeriodQueries::kWeek), 0);
    EXPECT_TRUE(periods.aArray_date_avg.empty());
}

TEST(WhoDistributionTest, CountsByClassAndTurnsCountsIntoTruncatedPercentages)
{
    WhoDistribution who;
    // Inclusive bounds: 180/110 is still grade 2, 181/60 and 120/111 grade 3, 140/90 high normal,
    // 120/80 optimal, 121/60 normal.
    for (auto [s, d] : {std::pair{180, 110}, {181, 60}, {120, 111}, {140, 90}, {120, 80}, {121, 60}})
        who.who_bar_chart_Distinguish(s, d);
    EXPECT_EQ(who.counter(0), 2.0f);
    who.barChart_Percentage(6);
    const std::vector<int> tips = {who.barTip(0), who.barTip(1), who.barTip(2),
                                   who.barTip(3), who.barTip(4), who.barTip(5)};
    EXPECT_EQ(tips, (std::vector<int>{33, 16, 0, 16, 16, 16})); // 33.3 % and 16.7 % truncate
    EXPECT_EQ(WhoDistribution::categoryOfBar(0), 6);

    WhoDistribution third;
    for (int i = 0; i < 3; ++i)
        third.who_bar_chart_Distinguish(100 + i * 40, 60);
    third.barChart_Percentage(3);
    for (int bar = 0; bar < WhoDistribution::kBars; ++bar)
        EXPECT_TRUE(third.barTip(bar) == 0 || third.barTip(bar) == 33) << bar;

    WhoDistribution none;
    none.barChart_Percentage(0);
    for (int bar = 0; bar < WhoDistribution::kBars; ++bar)
        EXPECT_EQ(none.barTip(bar), 0);
}

} // namespace
} // namespace tonara::test
