#include "ChartViewFixture.h"

#include "base/VirtualScheduler.h"
#include "charts/HorizontalView.h"
#include "charts/core/CivilDate.h"
#include "plotting/GraphHostingView.h"
#include "plotting/XYGraph.h"
#include "storage/SqlStatement.h"

#include "platform/AlertPresenter.h"
#include <QLabel>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

TEST_F(ChartViewTest, StartsOnTheWeekWithAveragesTargetsAndDescriptionInWords)
{
    add(0, daysAgo(0), "08:00:00", 130, 86, 70);
    add(0, daysAgo(2), "08:00:00", 126, 82, 70);
    add(1, daysAgo(1), "08:00:00", 190, 120, 70); // another user's reading never shows
    open();
    EXPECT_EQ(view->trendCode(), PeriodQueries::kWeek);
    EXPECT_TRUE(view->buttonArray[2]->isChecked());
    EXPECT_TRUE(view->buttonArray2[2]->isChecked());
    EXPECT_EQ(view->Avg_data_label1->text(), "128/84");
    ASSERT_EQ(view->dataForPlot().size(), 2u);
    EXPECT_EQ(view->dataForPlot()[0].x, 0);
    EXPECT_EQ(view->dataForPlot()[1].x, 2);
    EXPECT_EQ(view->labelArray.size(), 7);
    EXPECT_EQ(view->labelArray.back()->text(), "06/15");
    EXPECT_EQ(view->labelArray.front()->text(), "06/09");
    EXPECT_EQ(view->hostingView->hostedGraph()->yTicks(), (std::vector<double>{60, 180}));
    EXPECT_EQ(view->hostingView->accessibleDescription(),
              "Week: 2 day averages, average 128/84; target lines at 60 and 180");
    // The day: each reading at 24 - hour.
    add(0, daysAgo(0), "00:30:00", 120, 80, 70);
    add(0, daysAgo(0), "23:10:00", 120, 80, 70);
    tap("buttonArray_1");
    std::vector<double> xs;
    for (const auto &p : view->dataForPlot())
        xs.push_back(p.x);
    EXPECT_EQ(xs, (std::vector<double>{1, 16, 24}));
    EXPECT_EQ(view->labelArray.size(), 3);
}

TEST_F(ChartViewTest, APeriodWithoutRowsKeepsThePreviousButtonAndChartBehindThePanel)
{
    add(0, daysAgo(3), "08:00:00", 130, 86, 70);
    open();
    XYGraph *week = view->hostingView->hostedGraph();
    tap("buttonArray_1"); // nothing today
    EXPECT_TRUE(view->noDataPanel(1)->isVisible());
    EXPECT_TRUE(view->buttonArray[2]->isChecked());
    EXPECT_FALSE(view->buttonArray[1]->isChecked());
    EXPECT_EQ(view->hostingView->hostedGraph(), week);
    EXPECT_EQ(view->Avg_data_label1->text(), "0/0");
    view->scrollToPage(1);
    XYGraph *bars = view->hostingView_bar_chart->hostedGraph();
    tap("buttonArray2_1");
    EXPECT_TRUE(view->noDataPanel(2)->isVisible());
    EXPECT_TRUE(view->buttonArray2[2]->isChecked());
    EXPECT_FALSE(view->buttonArray2[1]->isChecked());
    EXPECT_EQ(view->hostingView_bar_chart->hostedGraph(), bars);
    // "All" over 10 days is the month type.
    add(0, daysAgo(13), "08:00:00", 120, 80, 70);
    tap("buttonArray_6");
    EXPECT_EQ(view->displayType(), PeriodQueries::kMonth);
    EXPECT_EQ(view->labelArray.size(), 6);
}

TEST_F(ChartViewTest, DistributionCountsClassesAndShowsTheWeekAgainAfterEverySwipe)
{
    for (auto [s, d] : {std::pair{120, 80}, {140, 90}, {181, 60}})
        add(0, daysAgo(0), "08:00:00", s, d, 70);
    add(0, "2013-12-01", "08:00:00", 120, 80, 70); // last year: in the year trend only
    open();
    EXPECT_FALSE(view->hostingView_bar_chart->isVisible()); // drawn at the first swipe
    view->scrollToPage(1);
    EXPECT_EQ(view->scrollview_line->horizontalScrollBar()->value(), 480);
    scheduler.advance(Millis(100));
    EXPECT_EQ(view->currentPage(), 1);
    EXPECT_EQ(view->who().barTip(0), 33);
    EXPECT_EQ(view->who().barTip(3), 33);
    EXPECT_EQ(view->who().barTip(5), 33);
    EXPECT_EQ(view->who().barTip(1), 0);
    tap("buttonArray2_5");
    EXPECT_EQ(view->distributionCode(), PeriodQueries::kYear);
    EXPECT_EQ(view->who().barTip(5), 33); // this calendar year only
    view->scrollToPage(0);
    view->scrollToPage(1);
    EXPECT_EQ(view->distributionCode(), PeriodQueries::kWeek);
    EXPECT_TRUE(view->buttonArray2[2]->isChecked());
    EXPECT_TRUE(view->hostingView_bar_chart->accessibleDescription().contains("optimal 33 %"));
}

TEST_F(ChartViewTest, TheLegendOpensAfterItsFlipAndATapDuringItIsIgnored)
{
    add(0, daysAgo(0), "08:00:00", 120, 80, 70);
    open();
    view->scrollToPage(1);
    tap("i_button_touch");
    EXPECT_TRUE(view->isFlipping());
    scheduler.advance(Millis(1000));
    tap("i_button_touch");
    EXPECT_EQ(view->whoList(), nullptr);
    scheduler.advance(Millis(1000));
    ASSERT_NE(view->whoList(), nullptr);
    EXPECT_FALSE(view->isFlipping());
    EXPECT_EQ(view->findChildren<showWHOlist *>().size(), 1);
    view->whoList()->backButton->click();
    EXPECT_EQ(view->whoList(), nullptr);
}

TEST_F(ChartViewTest, TheMailCarriesAPngOfTheViewAndTheDatesOfTheChartsOwnRows)
{
    add(0, daysAgo(0), "08:00:00", 120, 80, 70);
    add(0, daysAgo(3), "08:00:00", 120, 80, 70);
    open();
    tap("mail_button_touch");
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(Historyandreports::mail_state, 2);
    EXPECT_EQ(mails[0].fileName, "view.png");
    EXPECT_EQ(mails[0].mimeType, "image/png");
    EXPECT_TRUE(mails[0].attachment.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(mails[0].subject, QString::fromUtf8("User \u2019s blood pressure history distribution"));
    EXPECT_EQ(mails[0].body,
              "Attached in the email is User 's blood pressure history from Date 06/15/2014 to 06/12/2014");
    view->scrollToPage(1);
    tap("mail_button_touch2");
    ASSERT_EQ(mails.size(), 2u);
    EXPECT_TRUE(mails[1].body.startsWith(QString::fromUtf8(
        "Attached in the email is User \u2019s blood pressure history distribution based on WHO")));
    view->mailComposeController_didFinishWithResult(0);
    EXPECT_EQ(Historyandreports::mail_state, 0);
    // Nothing in the period: "No data." instead of a silent nothing.
    SqlStatement::exec(conn(), "DELETE FROM tonaradock_table; DELETE FROM day_average;");
    tap("mail_button_touch");
    EXPECT_EQ(presenter.currentTitle(), "No data.");
    EXPECT_EQ(mails.size(), 2u);
}

} // namespace
} // namespace tonara::test
