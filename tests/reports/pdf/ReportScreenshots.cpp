// The first two pages of a month's report as pictures (pdftoppm), for people
// to look at; run under the screenshots label.

#include "ReportRig.h"

#include "reports/ReportPdf.h"
#include "reports/core/ReportContent.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

namespace tonara::test {
namespace {

class ReportScreenshots : public ReportRig {};

// Some short comments and two that wrap, so the pictures show how a long one sits in its row.
std::string commentOf(int i)
{
    if (i == 12 || i == 31)
        return "dizzy after standing up quickly, sat down for ten minutes and measured again; "
               "took the evening tablet an hour late";
    return i % 6 == 0 ? "after the morning walk" : "";
}

TEST_F(ReportScreenshots, TheFirstTwoPagesOfAMonthsReport)
{
    const QString outDir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QDir::tempPath());
    ASSERT_TRUE(QDir().mkpath(outDir));
    const CivilDate first = *CivilDate::parse("2026-11-01");
    for (int i = 0; i < 60; ++i) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:00", i % 2 ? 19 : 7, (i * 7) % 60);
        add(first.plusDays(i / 2).text(), time, 118 + (i * 11) % 40, 74 + (i * 5) % 20, 58 + i % 25, 0,
            commentOf(i), i % 10 == 0, i % 8 == 0, i % 13 == 0);
    }
    ReportPdf pdf(ReportContent::gather(
        db, alerts, 0, *ReportPeriod::between(first, *CivilDate::parse("2026-11-30")), clock));
    QString why;
    ASSERT_TRUE(pdf.writeFile(file("report.pdf"), &why)) << why.toStdString();
    ASSERT_GE(pdf.pageCount(), 2);

    const QString prefix = outDir + QStringLiteral("/report_page");
    const ProgramRun run = runProgram(QStringLiteral("pdftoppm"),
                                      {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                                       QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                       QStringLiteral("2"), file("report.pdf"), prefix});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    // pdftoppm numbers the pictures by page: report_page-1.png, report_page-2.png
    // (zero-padded when the report has ten pages or more).
    const QStringList pictures =
        QDir(outDir).entryList({QStringLiteral("report_page-*.png")}, QDir::Files, QDir::Name);
    ASSERT_GE(pictures.size(), 2);
    for (const QString &name : pictures.mid(0, 2)) {
        const QImage page(outDir + QLatin1Char('/') + name);
        ASSERT_FALSE(page.isNull()) << name.toStdString();
        // A4 at 80 dpi, and not blank: text and lines make dark pixels.
        EXPECT_NEAR(page.width(), 661, 2);
        int dark = 0;
        for (int y = 0; y < page.height(); y += 4)
            for (int x = 0; x < page.width(); x += 4)
                dark += qGray(page.pixel(x, y)) < 128;
        EXPECT_GT(dark, 200) << name.toStdString();
    }
}

} // namespace
} // namespace tonara::test
