#include "ChartViewFixture.h"

#include "base/VirtualScheduler.h"
#include "charts/HorizontalView.h"
#include "charts/core/CivilDate.h"
#include "plotting/GraphHostingView.h"
#include "plotting/XYGraph.h"
#include "storage/SqlStatement.h"
#include "users/core/BloodPressureTarget.h"

#include <QMouseEvent>

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
    // The year: the trend spans last year too, the bars this calendar year only.
    add(0, "2013-12-01", "08:00:00", 120, 80, 70);
    tap("buttonArray2_5");
    tap("mail_button_touch2");
    ASSERT_EQ(mails.size(), 3u);
    EXPECT_TRUE(mails[2].body.endsWith(" 06/15/2014 to 06/12/2014")) << mails[2].body.toStdString();
    view->scrollToPage(0);
    tap("buttonArray_5");
    tap("mail_button_touch");
    ASSERT_EQ(mails.size(), 4u);
    EXPECT_TRUE(mails[3].body.endsWith(" 06/15/2014 to 12/01/2013")) << mails[3].body.toStdString();
    // Nothing in the period: "No data." instead of a silent nothing.
    SqlStatement::exec(conn(), "DELETE FROM tonaradock_table; DELETE FROM day_average;");
    tap("mail_button_touch");
    EXPECT_EQ(presenter.currentTitle(), "No data.");
    EXPECT_EQ(mails.size(), 4u);
}

TEST_F(ChartViewTest, EachDisplayTypeHasItsXLabelsOldestAtTheLeft)
{
    add(0, daysAgo(0), "08:00:00", 120, 80, 70);
    add(0, daysAgo(200), "08:00:00", 120, 80, 70);
    open();
    auto texts = [this] {
        std::vector<std::pair<int, QString>> out; // left edge, words
        for (QLabel *l : view->labelArray)
            out.emplace_back(l->x(), l->text());
        return out;
    };
    using L = std::vector<std::pair<int, QString>>;
    tap("buttonArray_1");
    EXPECT_EQ(texts(), (L{{55, "1AM"}, {220, "noon"}, {385, "11PM"}}));
    tap("buttonArray_3");
    EXPECT_EQ(
        texts(),
        (L{{36, "05/16"}, {111, "05/22"}, {186, "05/28"}, {261, "06/03"}, {336, "06/09"}, {411, "06/15"}}));
    tap("buttonArray_4");
    EXPECT_EQ(texts(), (L{{35, "04/16"}, {215, "05/16"}, {395, "06/15"}}));
    tap("buttonArray_5");
    EXPECT_EQ(texts(), (L{{36, "2013/06"},
                          {111, "2013/08"},
                          {186, "2013/11"},
                          {261, "2014/01"},
                          {336, "2014/04"},
                          {411, "2014/06"}}));
    EXPECT_EQ(view->findChildren<QLabel *>("labelArray").size(), 6) << "old labels are removed";
    // "All" over 200 days is the year type; its chart spans 365 days and today is at x 0.
    tap("buttonArray_6");
    EXPECT_EQ(view->displayType(), PeriodQueries::kYear);
    EXPECT_EQ(view->hostingView->hostedGraph()->defaultPlotSpace().xRange.length, 365);
    EXPECT_EQ(view->dataForPlot().front().x, 0);
    EXPECT_EQ(view->dataForPlot().back().x, 200);
}

TEST_F(ChartViewTest, TargetLabelsStandAtTheirLinesAndCloseTargetsStayApart)
{
    add(0, daysAgo(0), "08:00:00", 120, 80, 70);
    auto label = [this](const char *name) { return view->findChild<QLabel *>(name); };
    BloodPressureTarget target(users);
    ASSERT_TRUE(target.save(140, 90));
    open();
    EXPECT_EQ(view->hostingView->hostedGraph()->yTicks(), (std::vector<double>{90, 140}));
    EXPECT_EQ(label("target_high")->text(), "140");
    EXPECT_EQ(label("target_high")->y(), 210 - 70);
    EXPECT_EQ(label("target_low")->y(), 210 - 45);
    EXPECT_TRUE(view->hostingView->accessibleDescription().endsWith("target lines at 90 and 140"));

    // One apart: both lines, and the two numbers do not sit on each other.
    ASSERT_TRUE(target.save(121, 120));
    tap("buttonArray_2");
    EXPECT_EQ(view->hostingView->hostedGraph()->yTicks(), (std::vector<double>{120, 121}));
    ASSERT_TRUE(label("target_low")->isVisible());
    EXPECT_GE(label("target_low")->y() - label("target_high")->y(), 16);
    // Equal: one line and one number.
    ASSERT_TRUE(target.save(130, 130));
    tap("buttonArray_2");
    EXPECT_EQ(view->hostingView->hostedGraph()->yTicks(), (std::vector<double>{130}));
    EXPECT_FALSE(label("target_low")->isVisible());
    EXPECT_TRUE(view->hostingView->accessibleDescription().endsWith("target line at 130"));
}

TEST_F(ChartViewTest, ADragOfThePagesRedrawsPageTwoForTheWeekInEitherDirection)
{
    add(0, daysAgo(0), "08:00:00", 120, 80, 70);
    add(0, daysAgo(20), "08:00:00", 150, 95, 70);
    open();
    QWidget *pages = view->findChild<QWidget *>("pages");
    ASSERT_NE(pages, nullptr);
    auto drag = [&](int from, int to) {
        auto send = [&](QEvent::Type type, int x) {
            const QPointF local(x, 150);
            QMouseEvent e(type, local, pages->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(pages, &e);
        };
        send(QEvent::MouseButtonPress, from);
        for (int x = from; x != to; x += (to > from ? 20 : -20))
            send(QEvent::MouseMove, x);
        send(QEvent::MouseMove, to);
        send(QEvent::MouseButtonRelease, to);
    };
    drag(400, 100); // to page 2
    EXPECT_EQ(view->scrollview_line->horizontalScrollBar()->value(), 480);
    EXPECT_EQ(view->distributionCode(), PeriodQueries::kWeek);
    EXPECT_EQ(view->who().barTip(5), 100);
    tap("buttonArray2_3"); // the month holds the grade 1 reading too
    EXPECT_EQ(view->who().barTip(5), 50);
    drag(100 + 480, 400 + 480); // back to page 1: page 2 shows the week again
    EXPECT_EQ(view->scrollview_line->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(view->distributionCode(), PeriodQueries::kWeek);
    EXPECT_TRUE(view->buttonArray2[2]->isChecked());
    EXPECT_FALSE(view->buttonArray2[3]->isChecked());
    EXPECT_EQ(view->who().barTip(5), 100);
    scheduler.advance(Millis(HorizontalView::kPageTickMillis));
    EXPECT_EQ(view->currentPage(), 0);
}

TEST_F(ChartViewTest, EveryControlHasItsNameAndWordsForAScreenReader)
{
    add(0, daysAgo(0), "08:00:00", 120, 80, 70);
    open();
    view->scrollToPage(1);
    for (QWidget *w : view->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QPushButton *>(w) ||
                             (qobject_cast<QLabel *>(w) && (!static_cast<QLabel *>(w)->text().isEmpty() ||
                                                            w->property("artwork").isValid()));
        if (!control || !w->isVisible())
            continue;
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_FALSE(w->objectName().isEmpty());
        EXPECT_EQ(w->accessibleDescription(), w->objectName());
        EXPECT_FALSE(w->accessibleName().isEmpty());
    }
    EXPECT_EQ(view->buttonArray[3]->accessibleName(), "Month");
    EXPECT_EQ(view->findChild<QLabel *>("panit_Face_0")->accessibleName(), "optimal");
    EXPECT_EQ(view->Avg_data_label1->accessibleName(), "120/80");
    EXPECT_TRUE(view->hostingView_bar_chart->accessibleDescription().startsWith(
        "WHO distribution, Week: optimal 100 %"));
}

} // namespace
} // namespace tonara::test
