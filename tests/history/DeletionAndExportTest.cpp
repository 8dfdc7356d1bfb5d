#include "HistoryFixture.h"

#include "history/core/CsvExport.h"
#include "history/core/MonthHistory.h"
#include "history/core/ReadingDeletion.h"
#include "history/core/ShareMail.h"

#include <algorithm>

namespace tonara::test {

class Deletion : public HistoryTest {
protected:
    // Deletes reading i of the active user's month, as the list's delete button does.
    ReadingDeletion::Outcome deleteShown(int year, int m, std::size_t i)
    {
        month.SQLlite_Month(year, m);
        return deletion.DeleteSQL(month.aArray_date[i], month.aArray_time[i], month.aArray_rowid[i]);
    }
    MonthHistory month{db, alerts};
    ReadingDeletion deletion{db, alerts};
};

TEST_F(Deletion, DayAverageFollowsAndOtherUsersOfTheSameSecondSurvive)
{
    add(0, "2013-05-03", "08:00:00", 121, 79, 70);
    add(0, "2013-05-03", "12:00:00", 124, 82, 73);
    add(0, "2013-05-03", "20:00:00", 190, 100, 99);
    add(1, "2013-05-03", "20:00:00", 150, 90, 80); // father, the same second

    auto out = deleteShown(2013, 5, 0);
    EXPECT_TRUE(out.deleted);
    EXPECT_EQ(out.average.action, DayAverage::Action::Updated);
    EXPECT_EQ(averagesOf("2013-05-03"), (std::vector<AvgRow>{{0, 122, 80, 71}, {1, 150, 90, 80}}));
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table WHERE user_id = 1"), 1);

    becomeActive(1);
    out = deleteShown(2013, 5, 0);
    EXPECT_EQ(out.average.action, DayAverage::Action::Deleted) << "the only reading of the day";
    EXPECT_EQ(averagesOf("2013-05-03"), (std::vector<AvgRow>{{0, 122, 80, 71}}));
}

TEST_F(Deletion, TwoReadingsOfOneSecondLoseOnlyTheOneTouched)
{
    add(0, "2013-05-03", "08:00:00", 120, 80, 70);
    add(0, "2013-05-03", "08:00:00", 140, 90, 80);
    ASSERT_EQ(month.SQLlite_Month(2013, 5), 2);
    const int keptSys = month.aArray_sys[1];
    EXPECT_TRUE(deleteShown(2013, 5, 0).deleted);
    ASSERT_EQ(month.SQLlite_Month(2013, 5), 1);
    EXPECT_EQ(month.aArray_sys[0], keptSys);
    EXPECT_EQ(averagesOf("2013-05-03")[0].sys, keptSys);
}

TEST_F(Deletion, AStaleRowOfAnotherUserIsNotTouched)
{
    add(1, "2013-05-03", "08:00:00", 150, 90, 80);
    add(0, "2013-05-03", "08:00:00", 120, 80, 70);
    ASSERT_EQ(month.SQLlite_Month(2013, 5), 1);
    const long long fathersRow = month.aArray_rowid[0] - 1;
    const auto out = deletion.DeleteSQL("2013-05-03", "08:00:00", fathersRow);
    EXPECT_FALSE(out.deleted);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 2);
}

TEST_F(Deletion, TrivDetailsSurviveAndAFailedDeleteLeavesTheAverage)
{
    clock.set({2013, 5, 3, 9, 5, 7});
    ASSERT_TRUE(
        store.saveTriv(128, 84, 70, {{{131, 86, 72}, {125, 80, 69}, {128, 86, 70}}}, "", false).stored);
    EXPECT_TRUE(deleteShown(2013, 5, 0).deleted);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM triv_table"), 3);
    EXPECT_TRUE(averagesOf("2013-05-03").empty());

    add(0, "2013-05-04", "10:00:00", 120, 80, 70);
    month.SQLlite_Month(2013, 5);
    ASSERT_TRUE(SqlStatement(conn(), "ALTER TABLE tonaradock_table RENAME TO gone").run());
    LogCapture log;
    const auto out = deletion.DeleteSQL(month.aArray_date[0], month.aArray_time[0], month.aArray_rowid[0]);
    EXPECT_FALSE(out.deleted);
    EXPECT_EQ(averagesOf("2013-05-04"), (std::vector<AvgRow>{{0, 120, 80, 70}}));
    EXPECT_TRUE(std::any_of(log.lines.begin(), log.lines.end(), [](const std::string &l) {
        return l.rfind("Error: failed to tonaradock_table update_progress_statement with message '", 0) == 0;
    }));
}

TEST_F(Deletion, ADayAverageThatCannotFollowKeepsTheReading)
{
    add(0, "2013-05-03", "08:00:00", 120, 80, 70);
    add(0, "2013-05-03", "20:00:00", 160, 100, 90);
    const std::vector<AvgRow> before = averagesOf("2013-05-03");
    ASSERT_TRUE(SqlStatement::exec(conn(), "CREATE TRIGGER refuse BEFORE UPDATE ON day_average BEGIN "
                                           "SELECT RAISE(ABORT, 'disk trouble'); END")
                    .ok());
    LogCapture log;
    const auto out = deleteShown(2013, 5, 0);
    EXPECT_FALSE(out.deleted);
    EXPECT_EQ(out.average.action, DayAverage::Action::Failed);
    // Both readings, and the average that matches them.
    EXPECT_EQ(month.SQLlite_Month(2013, 5), 2);
    EXPECT_EQ(averagesOf("2013-05-03"), before);

    // The last reading of a day whose average cannot be removed stays as well.
    ASSERT_TRUE(SqlStatement::exec(conn(), "DROP TRIGGER refuse; CREATE TRIGGER refuse BEFORE DELETE ON "
                                           "day_average BEGIN SELECT RAISE(ABORT, 'disk trouble'); END")
                    .ok());
    add(0, "2013-05-04", "09:00:00", 130, 85, 75);
    month.SQLlite_Month(2013, 5);
    ASSERT_EQ(month.aArray_date[0], "2013-05-04");
    EXPECT_FALSE(
        deletion.DeleteSQL(month.aArray_date[0], month.aArray_time[0], month.aArray_rowid[0]).deleted);
    EXPECT_EQ(month.SQLlite_Month(2013, 5), 3);
    EXPECT_EQ(averagesOf("2013-05-04"), (std::vector<AvgRow>{{0, 130, 85, 75}}));
}

class Export : public HistoryTest {
protected:
    CsvExport csv{db, alerts};
};

TEST_F(Export, HeaderAndLinesByteForByteForTheActiveUserOnly)
{
    clock.set({2013, 5, 3, 9, 5, 7});
    ASSERT_TRUE(
        store.saveTriv(128, 84, 70, {{{131, 86, 72}, {125, 80, 69}, {128, 86, 70}}}, "a, \"b\"", false)
            .stored);
    add(0, "2013-05-03", "21:00:00", 118, 76, 65, 0, 1, 1);
    add(0, "2013-04-30", "07:00:00", 140, 90, 80);
    add(1, "2013-05-03", "10:00:00", 200, 110, 99);

    const auto month = csv.Mail_csv_format(CsvExport::kThisMonth, 2013, 5, false);
    EXPECT_EQ(month.count, 2);
    EXPECT_EQ(month.text, "Date, Time, Systolic, Diastolic, Pulse, PAD, TRIV, Manual\n"
                          "05/03/2013,21:00:00,118,76,65,Y,N,Y\n"
                          "05/03/2013,09:05:07,128,84,70,N,Y,N\n");
    const auto all = csv.Mail_csv_format(CsvExport::kAllData, 2013, 5, false);
    EXPECT_EQ(all.count, 3);
    EXPECT_EQ(all.text.substr(all.text.rfind("\n", all.text.size() - 2) + 1),
              "04/30/2013,07:00:00,140,90,80,N,N,N\n");
    EXPECT_EQ(csv.aArray_email_date, (std::vector<std::string>{"05/03/2013", "05/03/2013", "04/30/2013"}));

    const auto counted = csv.Mail_csv_format(CsvExport::kThisMonth, 2013, 5, true);
    EXPECT_EQ(counted.count, 2);
    EXPECT_TRUE(counted.text.empty());
    EXPECT_EQ(csv.Mail_csv_format(CsvExport::kThisMonth, 2013, 6, true).count, 0) << "No data. for June";
}

TEST_F(Export, MailNamesTheActiveUserAndTheDateRange)
{
    users.insertDataBase_user_table(0, "", "", "User", "", "", 0, "");
    users.insertDataBase_user_table(1, "", "", "Father", "", "", 0, "");
    for (int d = 1; d <= 31; ++d)
        add(1, "2013-05-" + std::string(d < 10 ? "0" : "") + std::to_string(d), "08:00:00", 120, 80, 70);
    becomeActive(1);
    csv.Mail_csv_format(CsvExport::kThisMonth, 2013, 5, false);
    const ShareMail mail = ShareMail::forUser(users, csv.user());
    EXPECT_EQ(mail.subject, "Father 's blood pressure history");
    EXPECT_EQ(mail.body(csv.aArray_email_date),
              "Attached in the email is Father 's blood pressure history from Date 05/31/2013 to 05/01/2013");
    EXPECT_EQ(ShareMail::forUser(users, 0).subject, "User 's blood pressure history");
}

} // namespace tonara::test
