#include "StorageTestSupport.h"

#include "base/Clock.h"
#include "measurement/core/DayAverage.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"

namespace tonara::test {

namespace {

struct Row {
    int user;
    std::string date;
    int sys, dia, pulse;
    std::string time;
    bool operator==(const Row &) const = default;
};

void PrintTo(const Row &r, std::ostream *os)
{
    *os << r.user << " " << r.date << " " << r.sys << "/" << r.dia << "/" << r.pulse << " " << r.time;
}

class DayAverages : public StorageTest {
protected:
    DayAverages() { users.check_database(); }

    void measureAt(const LocalDateTime &at, int sys, int dia, int pulse)
    {
        clock.set(at);
        ASSERT_TRUE(store.saveSingle(sys, dia, pulse, "", false).stored);
    }
    std::vector<Row> rows()
    {
        std::vector<Row> out;
        SqlStatement st(conn(), "SELECT * FROM day_average ORDER BY date, user_id");
        while (st.next())
            out.push_back({st.columnInt(0), st.columnText(1), st.columnInt(2), st.columnInt(3),
                           st.columnInt(4), st.columnText(5)});
        return out;
    }
    void deleteReading(const std::string &date, const std::string &time)
    {
        SqlStatement del(conn(), "DELETE FROM tonaradock_table WHERE date = ? AND time = ?");
        del.bind(1, date).bind(2, time);
        ASSERT_TRUE(del.run());
    }

    ManualClock clock;
    DataBaseforCD users{db, alerts};
    ReadingStore store{db, alerts, clock};
    DayAverage averages{db, alerts};
};

} // namespace

TEST_F(DayAverages, SecondReadingOfTheDayUpdatesTruncatedAveragesAndKeepsTheFirstTime)
{
    measureAt({2013, 3, 3, 9, 5, 7}, 118, 76, 70);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-03", 118, 76, 70, "09:05:07"}}));

    measureAt({2013, 3, 3, 18, 0, 0}, 121, 79, 73);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-03", 119, 77, 71, "09:05:07"}}));

    measureAt({2013, 3, 3, 20, 0, 0}, 118, 76, 70);
    EXPECT_EQ(rows()[0].sys, (118 + 121 + 118) / 3);
}

TEST_F(DayAverages, TwoUsersOnOneDayKeepTheirOwnRows)
{
    measureAt({2013, 3, 3, 8, 0, 0}, 120, 80, 60);
    ASSERT_TRUE(users.insertDataBase_setting_table(1, -1, -1));
    measureAt({2013, 3, 3, 8, 30, 0}, 150, 95, 90);
    measureAt({2013, 3, 3, 9, 0, 0}, 140, 85, 80);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-03", 120, 80, 60, "08:00:00"},
                                        {1, "2013-03-03", 145, 90, 85, "08:30:00"}}));

    // A row built by the caller goes to its own user, whoever is active.
    Reading other{0, "2013-03-03", "10:00:00", 130, 90, 70, "", 0, 1, 0, 0};
    EXPECT_EQ(store.saveReading(other).average.action, DayAverage::Action::Updated);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-03", 125, 85, 65, "08:00:00"},
                                        {1, "2013-03-03", 145, 90, 85, "08:30:00"}}));
}

TEST_F(DayAverages, ManualReadingForAnEarlierDateUpdatesThatDay)
{
    measureAt({2013, 3, 3, 8, 0, 0}, 120, 80, 60);
    measureAt({2013, 3, 2, 8, 0, 0}, 130, 84, 64);
    clock.set({2013, 3, 3, 12, 0, 0});
    const auto saved = store.saveManual(110, 70, 60, "", "2013-03-02", "23:30:41");
    EXPECT_EQ(saved.average.action, DayAverage::Action::Updated);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-02", 120, 77, 62, "08:00:00"},
                                        {0, "2013-03-03", 120, 80, 60, "08:00:00"}}));
}

TEST_F(DayAverages, TrivReadingCountsOnceWithItsAverages)
{
    clock.set({2013, 3, 3, 8, 0, 0});
    store.saveSingle(100, 70, 60, "", false);
    clock.set({2013, 3, 3, 9, 0, 0});
    store.saveTriv(140, 90, 80, {{{200, 120, 100}, {110, 70, 60}, {110, 80, 80}}}, "", false);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-03", 120, 80, 70, "08:00:00"}}));
}

TEST_F(DayAverages, RecomputationAfterDeletionDeletesUpdatesOrAddsNothing)
{
    measureAt({2013, 3, 3, 8, 0, 0}, 121, 79, 70);
    measureAt({2013, 3, 3, 12, 0, 0}, 124, 82, 73);
    measureAt({2013, 3, 3, 20, 0, 0}, 190, 100, 99);
    ASSERT_TRUE(users.insertDataBase_setting_table(1, -1, -1));
    measureAt({2013, 3, 3, 21, 0, 0}, 100, 60, 50);

    deleteReading("2013-03-03", "20:00:00");
    auto out = averages.day_average("2013-03-03", "20:00:00", 0);
    EXPECT_EQ(out.action, DayAverage::Action::Updated);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-03", 122, 80, 71, "08:00:00"},
                                        {1, "2013-03-03", 100, 60, 50, "21:00:00"}}));

    deleteReading("2013-03-03", "08:00:00");
    deleteReading("2013-03-03", "12:00:00");
    out = averages.day_average("2013-03-03", "12:00:00", 0);
    EXPECT_EQ(out.action, DayAverage::Action::Deleted);
    EXPECT_EQ(rows(), (std::vector<Row>{{1, "2013-03-03", 100, 60, 50, "21:00:00"}})) << "user 1 untouched";

    out = averages.day_average("2013-03-03", "12:00:00", 0);
    EXPECT_EQ(out.action, DayAverage::Action::None) << "no reading and no row: nothing to add";
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(DayAverages, AZeroReadingStillKeepsItsDayRow)
{
    clock.set({2013, 3, 4, 12, 0, 0});
    store.saveManual(0, 0, 0, "", "2013-03-03", "07:00:00");
    const auto out = averages.day_average("2013-03-03", "07:00:00", 0);
    EXPECT_EQ(out.action, DayAverage::Action::Updated);
    EXPECT_EQ(rows(), (std::vector<Row>{{0, "2013-03-03", 0, 0, 0, "07:00:00"}}));
}

TEST_F(DayAverages, MissingTableShowsTheFullAlertOnInsertOnly)
{
    ASSERT_TRUE(SqlStatement(conn(), "DROP TABLE day_average").run());
    clock.set({2013, 3, 3, 8, 0, 0});
    const auto saved = store.saveSingle(120, 80, 70, "", false);
    EXPECT_FALSE(saved.stored) << "a reading without its day average is not kept";
    EXPECT_EQ(saved.average.action, DayAverage::Action::Failed);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 0);
    ASSERT_EQ(alerts.alerts.size(), 1u) << "the full alert says it; nothing more";
    EXPECT_EQ(alerts.alerts[0].title, "");
}

} // namespace tonara::test
