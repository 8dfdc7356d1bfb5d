// Importing readings from CSV files: our own export back in, other diaries'
// files, the bounds and duplicates, and the one transaction.

#include "ImportTestSupport.h"

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

using Status = CsvImport::Status;

class ImportTest : public ::testing::Test {
protected:
    Household home;
};

TEST_F(ImportTest, OwnExportComesBackByteForByteInAnEmptyProfile)
{
    home.add(0, "2013-05-03", "09:05:07", 128, 84, 70, /*triv=*/1);
    home.add(0, "2013-05-03", "18:30:00", 141, 92, 77, 0, 0, /*pad=*/1, "after the walk");
    home.add(0, "2013-05-03", "18:30:00", 139, 90, 75); // the same moment, other values
    home.add(0, "2013-04-30", "23:59:59", 118, 76, 70, 0, /*manual=*/1);
    home.add(0, "2012-12-31", "00:00:00", 300, 300, 200, 0, 1);
    home.add(1, "2013-05-01", "07:00:00", 120, 80, 60); // another user's reading stays out
    const std::string first = home.exportCsv(0);
    ASSERT_EQ(std::count(first.begin(), first.end(), '\n'), 6);

    Household empty;
    CsvImport::Plan plan;
    const ReadingImporter::Result r = empty.importText(first, 0, &plan);
    ASSERT_TRUE(r.stored) << r.error;
    EXPECT_EQ(r.imported, 5);
    EXPECT_EQ(empty.exportCsv(0), first);
    // The day averages follow the imported readings as a save would make them.
    EXPECT_EQ(empty.averages(0), home.averages(0));

    // Into another, empty profile of the same household: the same file again,
    // and the first profile's readings are not counted as its duplicates.
    const ReadingImporter::Result again = home.importText(first, 2);
    EXPECT_EQ(again.imported, 5);
    EXPECT_EQ(home.exportCsv(2), first);
    EXPECT_EQ(home.exportCsv(0), first);
}

TEST_F(ImportTest, SemicolonFileWithDayFirstDatesImportsTheRightDays)
{
    const std::string file = "\xEF\xBB\xBF"
                             "Datum;Uhrzeit;Systole;Diastole;Puls;Kommentar\r\n"
                             "13.05.2013;8:15;128;84;70;\"gut; nach dem Kaffee\"\r\n"
                             "02.05.2013;19:05;135;88;72;\r\n"
                             "\r\n"
                             "1.5.2013;07:00:30;122;81;66;müde\r\n";
    CsvImport csv(file);
    const CsvImport::Detection d = csv.detect();
    EXPECT_EQ(d.options.delimiter, ';');
    EXPECT_EQ(d.options.order, ImportDateFormat::DayMonthYear);
    EXPECT_FALSE(d.dateAmbiguous);
    EXPECT_TRUE(d.options.columns.complete());

    const ReadingImporter::Result r = home.importText(file, 0);
    ASSERT_TRUE(r.stored) << r.error;
    EXPECT_EQ(r.imported, 3);
    const std::vector<Reading> stored = storedReadings(home.db);
    ASSERT_EQ(stored.size(), 3u);
    // Oldest first, each readings of another diary marked as typed in.
    EXPECT_EQ(stored[0], (Reading{0, "2013-05-01", "07:00:30", 122, 81, 66, "müde", 0, 1, 0, 0}));
    EXPECT_EQ(stored[1], (Reading{0, "2013-05-02", "19:05:00", 135, 88, 72, "", 0, 1, 0, 0}));
    EXPECT_EQ(stored[2],
              (Reading{0, "2013-05-13", "08:15:00", 128, 84, 70, "gut; nach dem Kaffee", 0, 1, 0, 0}));
    EXPECT_EQ(home.averages(0),
              (std::vector<std::string>{"2013-05-01 07:00:30 122/81 66", "2013-05-02 19:05:00 135/88 72",
                                        "2013-05-13 08:15:00 128/84 70"}));
}

TEST_F(ImportTest, AmbiguousDatesWaitForThePersonsChoiceAndColumnsCanBePickedByHand)
{
    // No header, every day 12 or less: month first and day first both read.
    const std::string file = "03/05/2013 09:05,128,84,70\n04/05/2013 10:00,130,85,71\n";
    CsvImport csv(file);
    CsvImport::Detection d = csv.detect();
    EXPECT_FALSE(d.options.hasHeader);
    EXPECT_FALSE(d.options.columns.complete());

    // Before the columns are chosen nothing is ready, and nothing is guessed.
    const CsvImport::Plan unchosen = csv.plan(d.options, 0, home.clock.localNow());
    ASSERT_EQ(unchosen.count(Status::Bad), 2);
    EXPECT_EQ(unchosen.rows[0].problem, CsvImport::Problem::ColumnsNotChosen);

    CsvImport::Options o = d.options;
    o.columns = ImportColumns{};
    o.columns.date = 0;
    o.columns.sys = 1;
    o.columns.dia = 2;
    o.columns.pulse = 3;
    EXPECT_TRUE(ImportDateFormat::detect({"03/05/2013 09:05", "04/05/2013 10:00"}).ambiguous);

    o.order = ImportDateFormat::DayMonthYear;
    CsvImport::Plan dayFirst = csv.plan(o, 0, home.clock.localNow());
    ASSERT_EQ(dayFirst.count(Status::Ready), 2);
    EXPECT_EQ(dayFirst.rows[0].reading.date, "2013-05-03");
    EXPECT_EQ(dayFirst.rows[0].reading.time, "09:05:00");

    o.order = ImportDateFormat::MonthDayYear;
    CsvImport::Plan monthFirst = csv.plan(o, 0, home.clock.localNow());
    EXPECT_EQ(monthFirst.rows[1].reading.date, "2013-04-05");

    // A 13 decides it: the file is day first.
    const auto g = ImportDateFormat::detect({"03/05/2013", "13/05/2013"});
    EXPECT_FALSE(g.ambiguous);
    EXPECT_EQ(g.order, ImportDateFormat::DayMonthYear);
}

TEST_F(ImportTest, AnIrregularHeartbeatColumnIsThePadFlagNotThePulse)
{
    // Monitors' own exports name the flag after the heart, before or after the pulse.
    const std::string file = "Date,Time,SYS (mmHg),DIA (mmHg),Irregular heartbeat,Pulse (bpm)\n"
                             "2013-05-03,08:15,128,84,Yes,70\n"
                             "2013-05-04,08:20,131,86,No,72\n";
    const CsvImport::Options o = CsvImport(file).detect().options;
    EXPECT_EQ(o.columns.pulse, 5);
    EXPECT_EQ(o.columns.pad, 4);
    const ReadingImporter::Result r = home.importText(file, 0);
    ASSERT_TRUE(r.stored) << r.error;
    EXPECT_EQ(r.imported, 2);
    const std::vector<Reading> stored = storedReadings(home.db);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0], (Reading{0, "2013-05-03", "08:15:00", 128, 84, 70, "", 0, 1, 0, 1}));
    EXPECT_EQ(stored[1], (Reading{0, "2013-05-04", "08:20:00", 131, 86, 72, "", 0, 1, 0, 0}));

    const ImportColumns german =
        ImportColumns::fromHeader({"Datum", "Zeit", "Sys", "Dia", "Puls", "Unregelmäßiger Herzschlag"});
    EXPECT_EQ(german.pulse, 4);
    EXPECT_EQ(german.pad, 5);
    EXPECT_EQ(ImportColumns::classify("Arrhythmia"), ImportColumns::Pad);
    EXPECT_EQ(ImportColumns::classify("Heart rate"), ImportColumns::Pulse);
}

TEST_F(ImportTest, OutOfBoundsRowsAreListedAndDuplicatesSkippedAndCounted)
{
    home.add(0, "2013-05-02", "08:00:00", 120, 80, 60); // already in the diary
    const std::string file = "date,time,sys,dia,pulse\n"
                             "2013-05-01,08:00,301,80,60\n"    // line 2: systolic over 300
                             "2013-05-01,09:00,120,80,201\n"   // line 3: pulse over 200
                             "2013-05-01,10:00,300,300,200\n"  // line 4: the bounds themselves pass
                             "2013-05-01,10:00,300,300,200\n"  // line 5: the same reading twice in the file
                             "2013-05-02,08:00:00,120,80,60\n" // line 6: in the diary already
                             "2013-05-21,08:00,120,80,60\n"    // line 7: after "now"
                             "2013-05-01,11:00,abc,80,60\n";   // line 8: not a number
    CsvImport::Plan plan;
    const ReadingImporter::Result r = home.importText(file, 0, &plan);
    ASSERT_TRUE(r.stored) << r.error;
    EXPECT_EQ(r.imported, 1);
    EXPECT_EQ(r.duplicatesInDatabase, 1);

    const auto lines = [&](Status s) {
        std::vector<int> out;
        for (const CsvImport::Row *row : plan.of(s))
            out.push_back(row->line);
        return out;
    };
    EXPECT_EQ(lines(Status::OutOfBounds), (std::vector<int>{2, 3, 7}));
    EXPECT_EQ(plan.of(Status::OutOfBounds)[0]->field, ImportColumns::Systolic);
    EXPECT_EQ(plan.of(Status::OutOfBounds)[1]->field, ImportColumns::Pulse);
    EXPECT_EQ(plan.of(Status::OutOfBounds)[2]->problem, CsvImport::Problem::InTheFuture);
    EXPECT_EQ(lines(Status::DuplicateInFile), (std::vector<int>{5}));
    EXPECT_EQ(lines(Status::DuplicateInDatabase), (std::vector<int>{6}));
    EXPECT_EQ(lines(Status::Bad), (std::vector<int>{8}));
    EXPECT_EQ(scalar(home.conn(), "SELECT count(*) FROM tonaradock_table"), 2);

    // The same file again: everything that went in is now a duplicate.
    const ReadingImporter::Result second = home.importText(file, 0, &plan);
    EXPECT_EQ(second.imported, 0);
    EXPECT_EQ(second.duplicatesInDatabase, 2);
    EXPECT_EQ(scalar(home.conn(), "SELECT count(*) FROM tonaradock_table"), 2);
}

TEST_F(ImportTest, FailedImportLeavesNothingBehind)
{
    home.add(0, "2013-05-01", "08:00:00", 120, 80, 60);
    const std::vector<std::string> averagesBefore = home.averages(0);
    const std::string file = "date,time,sys,dia,pulse\n"
                             "2013-05-01,09:00,130,85,70\n"
                             "2013-05-02,09:00,199,85,70\n"
                             "2013-05-03,09:00,131,85,70\n";

    // The database refuses the second reading half way through.
    ASSERT_TRUE(SqlStatement::exec(home.conn(),
                                   "CREATE TRIGGER refuse BEFORE INSERT ON tonaradock_table WHEN "
                                   "NEW.sys = 199 BEGIN SELECT RAISE(ABORT, 'disk trouble'); END")
                    .ok());
    const ReadingImporter::Result r = home.importText(file, 0);
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(r.imported, 0);
    EXPECT_EQ(r.failedLine, 3);
    EXPECT_NE(r.error.find("disk trouble"), std::string::npos) << r.error;
    EXPECT_EQ(scalar(home.conn(), "SELECT count(*) FROM tonaradock_table"), 1);
    EXPECT_EQ(home.averages(0), averagesBefore);

    // The day averages failing after every reading went in: nothing kept either.
    ASSERT_TRUE(SqlStatement::exec(home.conn(), "DROP TRIGGER refuse; CREATE TRIGGER refuse BEFORE INSERT ON "
                                                "day_average BEGIN SELECT RAISE(ABORT, 'no room'); END")
                    .ok());
    const ReadingImporter::Result late = home.importText(file, 0);
    EXPECT_FALSE(late.stored);
    EXPECT_EQ(scalar(home.conn(), "SELECT count(*) FROM tonaradock_table"), 1);
    EXPECT_EQ(home.averages(0), averagesBefore);
    EXPECT_TRUE(home.alerts.alerts.empty()); // told once by the caller, not per reading
}

} // namespace
} // namespace tonara::test
