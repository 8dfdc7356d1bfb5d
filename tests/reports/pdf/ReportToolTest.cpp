#include "ReportRig.h"

#include "reports/core/HomeWeekStore.h"

#include <gtest/gtest.h>

#include <QFile>

namespace tonara::test {
namespace {

class ReportToolTest : public ReportRig {
protected:
    ProgramRun report(QStringList args) { return runProgram(QStringLiteral(TONARA_REPORT_BIN), args); }
    QString dataDir() const { return QString::fromStdString(dir.path()); }
    QString text(const char *name) { return pdfPages(file(name)).join(QChar('\n')).simplified(); }
    void measuredWeek(const CivilDate &start)
    {
        for (int d = 0; d < 7; ++d)
            for (const char *t : {"07:00:00", "07:02:00", "20:00:00", "20:02:00"})
                add(start.plusDays(d).text(), t, 128, 80, 66);
    }
};

TEST_F(ReportToolTest, PeriodsAndWeeksAreWrittenAndNothingToReportIsSaidWithExitCodeOne)
{
    const CivilDate start = *CivilDate::parse("2025-03-03");
    measuredWeek(start);
    add("2025-04-01", "08:00:00", 150, 95, 80, 2);

    ProgramRun r = report(
        {"--data-dir", dataDir(), "--from", "2025-03-01", "--to", "2025-03-31", "--out", file("p.pdf")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(text("p.pdf").contains(QStringLiteral("28 readings from 2025-03-03 to 2025-03-09.")));

    // A week measured by the rules without starting one: evaluated all the same.
    r = report({"--data-dir", dataDir(), "--week-from", "2025-03-03", "--out", file("wf.pdf")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(text("wf.pdf").contains(
        QStringLiteral("Your home average 128/80 is below the home threshold 135/85")));

    // No week started yet, and a week without readings: nothing is written.
    r = report({"--data-dir", dataDir(), "--week", "--out", file("w.pdf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("has not started a home-monitoring week")));
    EXPECT_FALSE(QFile::exists(file("w.pdf")));
    r = report({"--data-dir", dataDir(), "--week-from", "2025-05-01", "--out", file("w.pdf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(file("w.pdf")));

    ASSERT_TRUE(HomeWeekStore(db).startWeek(0, start, HomeThreshold::highRisk()));
    r = report({"--data-dir", dataDir(), "--week", "--out", file("w.pdf")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(text("w.pdf").contains(QStringLiteral("128/80 reaches the home threshold 130/80")));

    // Another user by number; one who does not exist.
    r = report({"--data-dir", dataDir(), "--user", "2", "--period", "all", "--out", file("u2.pdf")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(text("u2.pdf").contains(QStringLiteral("1 reading from 2025-04-01 to 2025-04-01.")));
    r = report({"--data-dir", dataDir(), "--user", "7", "--out", file("u7.pdf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("there is no user 7")));

    // An empty period still gives the report that says so.
    r = report(
        {"--data-dir", dataDir(), "--from", "2024-01-01", "--to", "2024-01-31", "--out", file("e.pdf")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(text("e.pdf").contains(QStringLiteral("There are no readings in this period")));
}

TEST_F(ReportToolTest, WrongOptionsAMissingFileAndAnUnwritableOutputHaveTheirOwnCodes)
{
    add("2025-03-03", "08:00:00", 120, 80, 60);
    const QString out = file("x.pdf");
    for (const QStringList &args :
         {QStringList{"--data-dir", dataDir()}, QStringList{"--out", out},
          QStringList{"--data-dir", dataDir(), "--from", "2025-03-01", "--out", out},
          QStringList{"--data-dir", dataDir(), "--from", "2025-03-09", "--to", "2025-03-01", "--out", out},
          QStringList{"--data-dir", dataDir(), "--period", "9", "--out", out},
          QStringList{"--data-dir", dataDir(), "--week", "--period", "2", "--out", out},
          QStringList{"--data-dir", dataDir(), "--week-from", "2025-02-30", "--out", out},
          QStringList{"--data-dir", dataDir(), "--user", "x", "--out", out},
          QStringList{"--data-dir", dataDir(), "--colour", "--out", out}}) {
        const ProgramRun r = report(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));

    TempDir empty;
    ProgramRun r = report({"--data-dir", QString::fromStdString(empty.path()), "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("there are no readings")));
    // The tool never makes a database where there was none.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(empty.path() + "/TonaraDock.sqlite")));

    r = report(
        {"--data-dir", dataDir(), "--out", QString::fromStdString(dir.path() + "/no/such/folder/x.pdf")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("could not write")));
}

} // namespace
} // namespace tonara::test
