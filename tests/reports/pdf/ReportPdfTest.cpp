#include "ReportRig.h"

#include "reports/ReportPdf.h"
#include "reports/ReportWeekText.h"
#include "reports/core/HomeWeekStore.h"
#include "reports/core/ReportContent.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <map>
#include <set>

namespace tonara::test {
namespace {

const QRegularExpression
    kRow(QStringLiteral(R"(^\s*(\d{4}-\d\d-\d\d)\s+(\d\d:\d\d)\s+(\d+)\s+(\d+)\s+(\d+)\b)"),
         QRegularExpression::MultilineOption);
const QRegularExpression kPageNumber(QStringLiteral(R"(^\s*(\d+)\s*/\s*(\d+)\s*$)"),
                                     QRegularExpression::MultilineOption);
const QRegularExpression kHeader(QStringLiteral(R"(Date\s+Time\s+Sys\s+Dia\s+Pulse\s+Marks\s+Comment)"));

class ReportPdfTest : public ReportRig {
protected:
    // Writes the report and reads its pages back.
    QStringList pagesOf(ReportContent content, const char *name, int *pageCount = nullptr)
    {
        ReportPdf pdf(std::move(content));
        QString why;
        EXPECT_TRUE(pdf.writeFile(file(name), &why)) << why.toStdString();
        if (pageCount)
            *pageCount = pdf.pageCount();
        return pdfPages(file(name));
    }
    ReportPeriod period(const char *from, const char *to)
    {
        return *ReportPeriod::between(*CivilDate::parse(from), *CivilDate::parse(to));
    }
};

TEST_F(ReportPdfTest, EveryReadingOfALongPeriodIsInTheTableExactlyOnceOverNumberedPages)
{
    // 200 readings over 67 days, some with comments long enough to wrap over
    // several lines, so rows of every height meet the page breaks.
    std::map<std::string, std::string> expected; // "date time" -> "sys dia pulse"
    const CivilDate first = *CivilDate::parse("2026-09-01");
    for (int i = 0; i < 200; ++i) {
        const std::string date = first.plusDays(i / 3).text();
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:00", 6 + (i % 3) * 6, i % 60);
        std::string comment = i % 9 == 0
                                  ? "after the walk with the dog, felt a little dizzy on the stairs and "
                                    "sat down for ten minutes before measuring again"
                              : i % 4 == 0 ? "coffee"
                                           : "";
        const int sys = 100 + (i * 7) % 90, dia = 60 + (i * 3) % 45, pulse = 50 + i % 40;
        add(date, time, sys, dia, pulse, 0, comment, i % 5 == 0, i % 7 == 0, i % 11 == 0);
        expected[date + " " + std::string(time).substr(0, 5)] =
            std::to_string(sys) + " " + std::to_string(dia) + " " + std::to_string(pulse);
    }
    add("2026-09-10", "08:00:00", 199, 119, 99, 1); // another user's, never shown

    int pageCount = 0;
    const QStringList pages =
        pagesOf(ReportContent::gather(db, alerts, 0, period("2026-09-01", "2026-11-30"), clock), "long.pdf",
                &pageCount);
    ASSERT_GE(pageCount, 4);
    ASSERT_EQ(pages.size(), pageCount);

    std::map<std::string, int> seen;
    bool tableStarted = false;
    for (int p = 0; p < pages.size(); ++p) {
        const QString &page = pages[p];
        // The page number stands on its own line: "3 / 6".
        const auto number = kPageNumber.match(page);
        ASSERT_TRUE(number.hasMatch()) << "page " << p + 1;
        EXPECT_EQ(number.captured(1).toInt(), p + 1);
        EXPECT_EQ(number.captured(2).toInt(), pageCount);

        auto rows = kRow.globalMatch(page);
        const bool hasRows = rows.hasNext();
        tableStarted = tableStarted || hasRows;
        if (hasRows)
            EXPECT_TRUE(kHeader.match(page).hasMatch()) << "no table header on page " << p + 1;
        else
            EXPECT_FALSE(tableStarted) << "a page without rows inside the table: " << p + 1;
        while (rows.hasNext()) {
            const auto m = rows.next();
            const std::string key = (m.captured(1) + " " + m.captured(2)).toStdString();
            ++seen[key];
            // Every row stands above the page number, inside the page.
            EXPECT_LT(m.capturedStart(), number.capturedStart()) << key;
            ASSERT_TRUE(expected.count(key)) << "unexpected row " << key;
            EXPECT_EQ((m.captured(3) + " " + m.captured(4) + " " + m.captured(5)).toStdString(),
                      expected[key]);
        }
    }
    EXPECT_EQ(seen.size(), expected.size());
    for (const auto &[key, n] : seen)
        EXPECT_EQ(n, 1) << key;
    // A wrapped comment keeps its first and last words: no line of it is lost at a break.
    const QString all = pages.join(QChar('\n'));
    EXPECT_EQ(all.count(QStringLiteral("dizzy")), 23);
    EXPECT_EQ(all.count(QStringLiteral("again")), 23);
    EXPECT_TRUE(all.contains(QStringLiteral("200 readings from 2026-09-01 to 2026-11-06.")));
    EXPECT_FALSE(all.contains(QStringLiteral("199")));
}

TEST_F(ReportPdfTest, AnEmptyPeriodSaysSoInWords)
{
    add("2026-01-05", "08:00:00", 130, 85, 70);
    int pageCount = 0;
    const QStringList pages =
        pagesOf(ReportContent::gather(db, alerts, 0, period("2026-12-01", "2026-12-07"), clock), "empty.pdf",
                &pageCount);
    ASSERT_EQ(pageCount, 1);
    ASSERT_EQ(pages.size(), 1);
    const QString text = pages[0].simplified();
    EXPECT_TRUE(text.contains(ReportPdf::emptyText())) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Period: 2026-12-01 to 2026-12-07")));
    EXPECT_FALSE(kRow.match(pages[0]).hasMatch());
    EXPECT_FALSE(kHeader.match(pages[0]).hasMatch());
    EXPECT_TRUE(kPageNumber.match(pages[0]).hasMatch());
}

TEST_F(ReportPdfTest, ARunningHeadOfALongNameStaysOnItsOneLineAboveTheRule)
{
    // Names may have any length; a head wrapped to a second line was struck
    // through by the rule under it.
    add("2026-11-03", "08:00:00", 130, 85, 70);
    ReportContent content = ReportContent::gather(db, alerts, 0, period("2026-11-01", "2026-11-30"), clock);
    content.name = "Maximilian-Alexander von Hohenzollern-Sigmaringen-Wuerttemberg-Baden, "
                   "Maximilian-Alexander von Hohenzollern-Sigmaringen-Wuerttemberg-Baden";
    const QStringList pages = pagesOf(content, "long-name.pdf");
    ASSERT_FALSE(pages.isEmpty());
    for (const QString &page : pages) {
        const QStringList lines = page.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines[0].trimmed().startsWith(QStringLiteral("Blood pressure report · Maximilian")))
            << lines[0].toStdString();
        EXPECT_TRUE(lines[0].trimmed().endsWith(QStringLiteral("2026-11-01 to 2026-11-30")))
            << lines[0].toStdString();
        EXPECT_FALSE(lines[1].contains(QStringLiteral("2026-11-01 to 2026-11-30")) &&
                     !lines[1].contains(QStringLiteral("Period")))
            << lines[1].toStdString();
    }
}

TEST_F(ReportPdfTest, AWeekReportNamesItsAverageNextToTheThreshold)
{
    // Days 2-7, two readings each morning and evening: 24 readings, mean 140/88.
    const CivilDate start = *CivilDate::parse("2026-11-20");
    for (int d = 0; d < 7; ++d)
        for (const char *t : {"07:00:00", "07:02:00", "20:00:00", "20:02:00"})
            add(start.plusDays(d).text(), t, d == 0 ? 180 : 140, d == 0 ? 110 : 88, 70);
    ASSERT_TRUE(HomeWeekStore(db).startWeek(0, start, HomeThreshold::standard()));
    const std::optional<WeekEvaluation> week = evaluateLatestWeek(db, 0, clock);
    ASSERT_TRUE(week && week->hasResult);

    const QString text = pagesOf(ReportContent::forWeek(db, alerts, 0, *week, clock), "week.pdf")
                             .join(QChar('\n'))
                             .simplified();
    EXPECT_TRUE(
        text.contains(QStringLiteral("Your home average 140/88 is above the home threshold 135/85 your "
                                     "doctor uses. Show this report to your doctor.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("24 readings of days 2 to 7")));
    // The period report over the same days carries the week's result too; one before the week does not.
    EXPECT_TRUE(ReportContent::gather(db, alerts, 0, period("2026-11-01", "2026-11-30"), clock).week);
    EXPECT_FALSE(ReportContent::gather(db, alerts, 0, period("2026-11-01", "2026-11-22"), clock).week);
}

TEST(ReportWeekTextTest, TheThresholdItselfCountsAsReachedAndTheWordsSayWhich)
{
    WeekEvaluation w;
    w.start = *CivilDate::parse("2026-11-20");
    w.hasResult = w.enoughReadings = true;
    w.readingsUsed = 12;
    w.meanSys = 135;
    w.meanDia = 80;
    w.atOrAbove = true;
    EXPECT_EQ(ReportWeekText::comparison(w),
              QStringLiteral("Your home average 135/80 reaches the home threshold "
                             "135/85 your doctor uses. Show this report to your "
                             "doctor."));
    w.meanSys = 134;
    w.meanDia = 84;
    w.atOrAbove = false;
    EXPECT_EQ(
        ReportWeekText::comparison(w),
        QStringLiteral("Your home average 134/84 is below the home threshold 135/85 your doctor uses."));
    // Too few readings: the result is shown with the warning that it is not reliable.
    w.enoughReadings = false;
    w.readingsUsed = 5;
    EXPECT_TRUE(ReportWeekText::sentences(w).join(' ').contains(QStringLiteral("at least 12 readings")));
    // Not finished: no average at all, only where the week stands.
    w.hasResult = false;
    const QString running = ReportWeekText::sentences(w).join(' ');
    EXPECT_FALSE(running.contains(QStringLiteral("134/84")));
    EXPECT_TRUE(running.contains(QStringLiteral("not finished")));
}

} // namespace
} // namespace tonara::test
