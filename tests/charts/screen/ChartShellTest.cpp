#include "ChartShell.h"

#include "history/Historyandreports.h"

#include <QImage>
#include <QPointer>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

TEST(ChartInTheShell, TheChartMailGoesThroughTheComposerAsAPngNamedViewPng)
{
    ShellHarness h(ShellHarness::seeded(seedAnnasWeek));
    HorizontalView *chart = turnToTheChart(h);
    ASSERT_NE(chart, nullptr);
    ASSERT_EQ(chart->dataForPlot().size(), 2u);
    MailComposer *composer = openComposer(h);
    ASSERT_NE(composer, nullptr);
    EXPECT_TRUE(composer->isVisible());
    EXPECT_EQ(Historyandreports::mail_state, 2);

    composer->save();
    const QString draft = composer->lastDraft(); // the composer goes once it has finished
    ShellHarness::settle();
    const Draft d = readDraft(draft);
    EXPECT_EQ(d.subject, QString::fromUtf8("Anna \u2019s blood pressure history distribution"));
    EXPECT_TRUE(d.body.startsWith("Attached in the email is Anna 's blood pressure history from Date "))
        << d.body.toStdString();
    // Newest to oldest reading of the chart's own week.
    EXPECT_TRUE(d.body.contains(QRegularExpression(" \\d\\d/\\d\\d/\\d{4} to \\d\\d/\\d\\d/\\d{4}$")));
    EXPECT_TRUE(d.attachmentHeaders.contains("Content-Type: image/png; name=\"view.png\""));
    EXPECT_TRUE(d.attachmentHeaders.contains("filename=\"view.png\""));
    ASSERT_TRUE(d.attachment.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(QImage::fromData(d.attachment, "PNG").size(), chart->size()) << "the view as shown";
    // Saved: the composer is gone and the status bar stays hidden over the chart.
    EXPECT_EQ(Historyandreports::mail_state, 0);
    EXPECT_TRUE(h.app().deviceFrame()->isStatusBarHidden());
}

TEST(ChartInTheShell, TurningBackWithTheComposerOpenLeavesItsEndToTheReportTab)
{
    ShellHarness h(ShellHarness::seeded(seedAnnasWeek));
    ASSERT_NE(turnToTheChart(h), nullptr);
    QPointer<MailComposer> composer = openComposer(h);
    ASSERT_TRUE(composer);
    EXPECT_EQ(Historyandreports::mail_state, 2);

    h.app().deviceFrame()->setDeviceOrientation(Orientation::Portrait);
    ShellHarness::settle();
    EXPECT_EQ(h.app().tabBarController()->LineBarChart_View(), nullptr);
    EXPECT_EQ(Historyandreports::mail_state, 1);
    ASSERT_TRUE(composer) << "the composer outlives the chart it was opened over";
    EXPECT_TRUE(h.app().deviceFrame()->isStatusBarHidden()) << "left alone while the composer is open";
    composer->cancel();
    ShellHarness::settle();
    EXPECT_EQ(Historyandreports::mail_state, 0);
    EXPECT_FALSE(h.app().deviceFrame()->isStatusBarHidden()) << "portrait again: the bar comes back";

    // Landscape on another tab: portrait stays, no chart.
    h.app().tabBarController()->setSelectedIndex(2);
    h.app().deviceFrame()->turnLeft();
    ShellHarness::settle();
    EXPECT_EQ(h.app().tabBarController()->LineBarChart_View(), nullptr);
}

} // namespace
} // namespace tonara::test
