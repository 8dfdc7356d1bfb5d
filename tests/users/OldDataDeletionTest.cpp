#include "UsersCoreSupport.h"

#include "base/Clock.h"
#include "users/core/OldDataDeletion.h"

namespace tonara::test {
namespace {

class Deletion : public UsersCoreTest {
protected:
    // Today is 2026-03-10: 100 days ago is 2025-11-30, 200 days ago 2025-08-22.
    void SetUp() override
    {
        for (const char *date : {"2026-03-10", "2025-11-30", "2025-08-22"}) {
            reading(0, date);
            reading(1, date, 7);
            dayAverage(0, date);
            dayAverage(1, date);
            trivDetail(7, date);
        }
    }
    std::vector<std::string> dates(const char *table)
    {
        return column(conn(), std::string("SELECT DISTINCT date FROM ") + table + " ORDER BY date");
    }
    void expectEveryTable(const std::vector<std::string> &left)
    {
        EXPECT_EQ(dates("tonaradock_table"), left);
        EXPECT_EQ(dates("day_average"), left);
        EXPECT_EQ(dates("triv_table"), left);
    }

    ManualClock clock{LocalDateTime{2026, 3, 10, 0, 5, 0}};
    OldDataDeletion deletion{db, clock};
};

TEST_F(Deletion, CutOffsCountBackAcrossMonthsYearsAndLeapDays)
{
    EXPECT_EQ(deletion.cutOffDate(OldDataDeletion::kSixMonths), "2025-09-11");
    EXPECT_EQ(deletion.cutOffDate(OldDataDeletion::kOneYear), "2025-03-10");
    EXPECT_EQ(deletion.cutOffDate(OldDataDeletion::kAllData), "2026-03-10");
    clock.set({2024, 3, 1, 12, 0, 0});
    EXPECT_EQ(deletion.cutOffDate(OldDataDeletion::kOneYear), "2023-03-02"); // 2024 has 29 February
    EXPECT_EQ(deletion.cutOffDate(OldDataDeletion::kSixMonths), "2023-09-03");
}

TEST_F(Deletion, SixMonthsOneYearAndAllTakeTheirRowsFromEveryTable)
{
    ASSERT_TRUE(deletion.SQLDeleteFactory(OldDataDeletion::kOneYear));
    expectEveryTable({"2025-08-22", "2025-11-30", "2026-03-10"});
    ASSERT_TRUE(deletion.SQLDeleteFactory(OldDataDeletion::kSixMonths));
    expectEveryTable({"2025-11-30", "2026-03-10"});
    // Every user's rows go.
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table WHERE user_id = 1"), 2);
    ASSERT_TRUE(deletion.SQLDeleteFactory(OldDataDeletion::kAllData));
    expectEveryTable({});
}

TEST_F(Deletion, ARowOnTheCutOffDayGoes)
{
    reading(0, "2025-09-11");
    reading(0, "2025-09-12");
    ASSERT_TRUE(deletion.SQLDeleteFactory(OldDataDeletion::kSixMonths));
    EXPECT_EQ(dates("tonaradock_table"),
              (std::vector<std::string>{"2025-09-12", "2025-11-30", "2026-03-10"}));
}

TEST_F(Deletion, AllDataTakesRowsDatedAfterToday)
{
    reading(0, "2026-03-11");
    dayAverage(0, "2026-03-11");
    trivDetail(9, "2027-01-01");
    ASSERT_TRUE(deletion.SQLDeleteFactory(OldDataDeletion::kAllData));
    expectEveryTable({});
}

TEST_F(Deletion, AFailureInTheSecondDeletionLeavesAllThreeTablesAsTheyWere)
{
    LogCapture log;
    ASSERT_TRUE(SqlStatement::exec(conn(), "CREATE TRIGGER keep BEFORE DELETE ON day_average "
                                           "BEGIN SELECT RAISE(ABORT, 'day averages are locked'); END")
                    .ok());
    for (int choice : {OldDataDeletion::kSixMonths, OldDataDeletion::kAllData}) {
        SCOPED_TRACE(choice);
        EXPECT_FALSE(deletion.SQLDeleteFactory(choice));
        expectEveryTable({"2025-08-22", "2025-11-30", "2026-03-10"});
        EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 6);
    }
    EXPECT_TRUE(log.contains("Error: failed to update update_progress_statement with message "
                             "'day averages are locked'."));
    EXPECT_EQ(deletion.lastError(), "day averages are locked");
    // The connection is usable afterwards: no transaction was left open.
    EXPECT_TRUE(sqlite3_get_autocommit(conn()));
}

TEST_F(Deletion, AThirdTableThatCannotBePreparedUndoesTheFirstTwo)
{
    LogCapture log;
    ASSERT_TRUE(SqlStatement::exec(conn(), "DROP TABLE triv_table").ok());
    EXPECT_FALSE(deletion.SQLDeleteFactory(OldDataDeletion::kOneYear));
    EXPECT_FALSE(deletion.SQLDeleteFactory(OldDataDeletion::kAllData));
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 6);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM day_average"), 6);
    EXPECT_TRUE(log.contains("Error: failed to day_average update_progress_statement with message "
                             "'no such table: triv_table'."));
    EXPECT_TRUE(sqlite3_get_autocommit(conn()));
}

} // namespace
} // namespace tonara::test
