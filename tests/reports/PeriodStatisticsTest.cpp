#include "reports/core/PeriodStatistics.h"
#include "base/Clock.h"
#include "charts/core/PeriodQueries.h"
#include "measurement/core/ReadingStore.h"
#include "measurement/core/WHOClassification.h"
#include "storage/DataBaseforCD.h"
#include "storage/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tonara::test {
namespace {

CivilDate date(const char *text)
{
    return *CivilDate::parse(text);
}

class PeriodStatisticsTest : public StorageTest {
protected:
    PeriodStatisticsTest() : store(db, alerts, clock)
    {
        LogCapture::quiet();
        DataBaseforCD(db, alerts).check_database();
    }

    void add(const std::string &day, const std::string &time, int sys, int dia, int pulse, int user = 0,
             bool pad = false)
    {
        Reading r;
        r.date = day;
        r.time = time;
        r.sys = sys;
        r.dia = dia;
        r.pulse = pulse;
        r.user_id = user;
        r.is_pad = pad ? 1 : 0;
        ASSERT_TRUE(store.saveReading(r).stored);
    }
    // Six readings of user 0 from 2026-12-01 to 12-03 around the windows'
    // edges, one of user 1 and two of user 0 just outside the dates.
    void addWeekSample()
    {
        add("2026-12-01", "03:59:00", 130, 80, 60);          // night: in no window
        add("2026-12-01", "04:00:00", 120, 78, 70);          // morning
        add("2026-12-02", "11:59:00", 140, 90, 80, 0, true); // morning, PAD
        add("2026-12-02", "12:00:00", 110, 70, 66);          // afternoon: in no window
        add("2026-12-03", "18:00:00", 150, 96, 72);          // evening
        add("2026-12-03", "23:59:59", 126, 82, 64);          // evening
        add("2026-12-02", "08:00:00", 200, 120, 99, 1, true);
        add("2026-11-30", "08:00:00", 90, 60, 50);
        add("2026-12-08", "08:00:00", 90, 60, 50);
    }
    PeriodStatistics statsFor(const ReportPeriod &p, int user = 0)
    {
        return PeriodStatistics::compute(db, user, p);
    }

    ManualClock clock{{2026, 12, 9, 10, 0, 0}};
    ReadingStore store;
    const ReportPeriod week = *ReportPeriod::between(date("2026-12-01"), date("2026-12-07"));
};

TEST_F(PeriodStatisticsTest, FiguresOfAPeriodAgreeWithTheHandComputedOnes)
{
    addWeekSample();
    const PeriodStatistics s = statsFor(week);

    ASSERT_EQ(s.count, 6);
    // sys 130 120 140 110 150 126: sum 776, sum of squares 101376,
    // variance (6 * 101376 - 776^2) / (6 * 5) = 6080 / 30.
    EXPECT_NEAR(s.sys.mean, 776.0 / 6, 1e-9);
    EXPECT_NEAR(s.sys.sd, std::sqrt(6080.0 / 30), 1e-9);
    EXPECT_EQ(s.sys.min, 110);
    EXPECT_EQ(s.sys.max, 150);
    // dia 80 78 90 70 96 82: sum 496, sum of squares 41424, variance 2528 / 30.
    EXPECT_NEAR(s.dia.mean, 496.0 / 6, 1e-9);
    EXPECT_NEAR(s.dia.sd, std::sqrt(2528.0 / 30), 1e-9);
    EXPECT_EQ(s.dia.min, 70);
    EXPECT_EQ(s.dia.max, 96);
    // pulse 60 70 80 66 72 64: sum 412, sum of squares 28536, variance (171216 - 169744) / 30.
    EXPECT_NEAR(s.pulse.mean, 412.0 / 6, 1e-9);
    EXPECT_NEAR(s.pulse.sd, std::sqrt(1472.0 / 30), 1e-9);
    EXPECT_EQ(s.pulse.min, 60);
    EXPECT_EQ(s.pulse.max, 80);
    EXPECT_NEAR(s.meanPulsePressure, 280.0 / 6, 1e-9);
    EXPECT_EQ(s.padCount, 1);
    EXPECT_EQ(s.firstDate, "2026-12-01");
    EXPECT_EQ(s.lastDate, "2026-12-03");
}

TEST_F(PeriodStatisticsTest, MorningAndEveningTakeOnlyTheirWindowsToTheLastSecond)
{
    addWeekSample();
    const PeriodStatistics s = statsFor(week);

    // 03:59 and 12:00 are in neither; 04:00 and 11:59 are morning; 18:00 and 23:59:59 evening.
    EXPECT_EQ(s.morning.count, 2);
    EXPECT_DOUBLE_EQ(s.morning.sys, 130);
    EXPECT_DOUBLE_EQ(s.morning.dia, 84);
    EXPECT_DOUBLE_EQ(s.morning.pulse, 75);
    EXPECT_EQ(s.evening.count, 2);
    EXPECT_DOUBLE_EQ(s.evening.sys, 138);
    EXPECT_DOUBLE_EQ(s.evening.dia, 89);
    EXPECT_DOUBLE_EQ(s.evening.pulse, 68);

    add("2026-12-04", "17:59:59", 100, 60, 60);
    const PeriodStatistics later = statsFor(week);
    EXPECT_EQ(later.morning.count + later.evening.count, 4);
    EXPECT_EQ(later.count, 7);
}

TEST_F(PeriodStatisticsTest, WhoSharesCountEveryReadingOnceInItsClass)
{
    addWeekSample();
    const PeriodStatistics s = statsFor(week);

    // 120/78 and 110/70 optimal, 130/80 and 126/82 normal, 140/90 high normal, 150/96 grade 1.
    EXPECT_EQ(s.whoCount[WHOClassification::kOptimal], 2);
    EXPECT_EQ(s.whoCount[WHOClassification::kNormal], 2);
    EXPECT_EQ(s.whoCount[WHOClassification::kHighNormal], 1);
    EXPECT_EQ(s.whoCount[WHOClassification::kGrade1], 1);
    EXPECT_EQ(s.whoCount[WHOClassification::kGrade2], 0);
    EXPECT_EQ(s.whoCount[WHOClassification::kGrade3], 0);
    EXPECT_NEAR(s.whoShare(WHOClassification::kOptimal), 100.0 / 3, 1e-9);
    EXPECT_NEAR(s.whoShare(WHOClassification::kGrade1), 100.0 / 6, 1e-9);
    EXPECT_EQ(s.whoShare(WHOClassification::kGrade3), 0);
}

TEST_F(PeriodStatisticsTest, OtherUsersAndOtherDatesAreNeverCounted)
{
    addWeekSample();
    const PeriodStatistics other = statsFor(week, 1);
    EXPECT_EQ(other.count, 1);
    EXPECT_EQ(other.sys.max, 200);
    EXPECT_EQ(other.sys.sd, 0); // one reading has no spread
    EXPECT_EQ(other.padCount, 1);
    EXPECT_EQ(other.whoCount[WHOClassification::kGrade3], 1);

    const PeriodStatistics all = statsFor(ReportPeriod::allReadings());
    EXPECT_EQ(all.count, 8);
    EXPECT_EQ(all.sys.min, 90);
    EXPECT_EQ(all.firstDate, "2026-11-30");
    EXPECT_EQ(all.lastDate, "2026-12-08");
    EXPECT_EQ(statsFor(ReportPeriod::allReadings(), 2).count, 0);
}

TEST_F(PeriodStatisticsTest, AnEmptyPeriodHasOnlyZeros)
{
    addWeekSample();
    const PeriodStatistics s = statsFor(*ReportPeriod::between(date("2025-01-01"), date("2025-12-31")));
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.sys.mean, 0);
    EXPECT_EQ(s.sys.sd, 0);
    EXPECT_EQ(s.morning.count, 0);
    EXPECT_EQ(s.whoShare(WHOClassification::kOptimal), 0);
    EXPECT_TRUE(s.firstDate.empty());
}

TEST(ReportPeriodWindows, ChartPeriodsCountBackFromTodayLikeTheDistributionChart)
{
    const CivilDate today = date("2026-03-01");
    auto bounds = [&](int code) {
        const ReportPeriod p = ReportPeriod::ofCode(code, today);
        return p.fromText() + ".." + p.toText();
    };
    EXPECT_EQ(bounds(PeriodQueries::kDay), "2026-03-01..2026-03-01");
    EXPECT_EQ(bounds(PeriodQueries::kWeek), "2026-02-23..2026-03-01");
    EXPECT_EQ(bounds(PeriodQueries::kMonth), "2026-01-30..2026-03-01");
    EXPECT_EQ(bounds(PeriodQueries::kThreeMonths), "2025-12-31..2026-03-01");
    EXPECT_EQ(bounds(PeriodQueries::kYear), "2026-01-01..2026-12-31");
    EXPECT_TRUE(ReportPeriod::ofCode(PeriodQueries::kAll, today).isAll());
    EXPECT_TRUE(ReportPeriod::ofCode(99, today).isAll());
    EXPECT_FALSE(ReportPeriod::between(today, today.plusDays(-1)));
    EXPECT_TRUE(ReportPeriod::between(today, today));
}

} // namespace
} // namespace tonara::test
