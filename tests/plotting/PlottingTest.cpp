#include "plotting/BarPlot.h"
#include "plotting/GraphHostingView.h"
#include "plotting/PlotAxis.h"
#include "plotting/ScatterPlot.h"
#include "plotting/TrendPlot.h"
#include "plotting/WhoBarPlot.h"
#include "plotting/XYGraph.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

// Columns of the image in which some pixel is close to the colour.
std::vector<int> columnsWith(const QImage &img, QColor c, int tolerance = 40)
{
    std::vector<int> cols;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) +
                    std::abs(p.blue() - c.blue()) <
                tolerance) {
                cols.push_back(x);
                break;
            }
        }
    return cols;
}

int rowsWith(const QImage &img, QColor c, int fromRow, int toRow)
{
    int n = 0;
    for (int y = fromRow; y <= toRow; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (std::abs(img.pixelColor(x, y).red() - c.red()) +
                    std::abs(img.pixelColor(x, y).green() - c.green()) +
                    std::abs(img.pixelColor(x, y).blue() - c.blue()) <
                30) {
                ++n;
                break;
            }
    return n;
}

QImage renderTrend(const TrendPlot::Data &d, QSize size = {370, 150}, bool labels = false)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    if (labels)
        TrendPlot(d).render(p, QRectF(QPointF(0, 0), size));
    else
        TrendPlot(d).graph()->render(p, QRectF(QPointF(0, 0), size));
    return img;
}

TEST(PlotAxisTest, ExclusionRangesLeaveOnlyTheTargetTicks)
{
    PlotAxis y;
    y.majorIntervalLength = 1;
    y.labelExclusionRanges = TrendPlot::targetExclusionRanges(180, 60);
    EXPECT_EQ(y.visibleTicks({0, 300}), (std::vector<double>{60, 180}));
    // Targets closer than 2: both lines anyway, one when they are equal.
    y.labelExclusionRanges = TrendPlot::targetExclusionRanges(101, 100);
    EXPECT_EQ(y.visibleTicks({0, 300}), (std::vector<double>{100, 101}));
    y.labelExclusionRanges = TrendPlot::targetExclusionRanges(120, 120);
    EXPECT_EQ(y.visibleTicks({0, 300}), (std::vector<double>{120}));
    y.labelExclusionRanges = TrendPlot::targetExclusionRanges(122, 120);
    EXPECT_EQ(y.visibleTicks({0, 300}), (std::vector<double>{120, 122}));
    // Without exclusions every step of the range, ends included, none lost to rounding.
    PlotAxis x;
    x.majorIntervalLength = 0.1;
    EXPECT_EQ(x.visibleTicks({0, 1}).size(), 11u);
    x.majorIntervalLength = 0;
    EXPECT_TRUE(x.visibleTicks({0, 1}).empty());
}

TEST(TrendPlotTest, PlotsReadTheirRecordsWholeInOrderAndTodayStandsAtTheRight)
{
    TrendPlot::Data d;
    d.xLength = 6;
    d.points = {{0, 200, 100}, {6, 250, 150}};
    auto g = TrendPlot(d).graph();
    auto *sys = dynamic_cast<ScatterPlot *>(g->plotWithIdentifier(TrendPlot::systolicIdentifier()));
    auto *dia = dynamic_cast<ScatterPlot *>(g->plotWithIdentifier(TrendPlot::diastolicIdentifier()));
    ASSERT_TRUE(sys && dia);
    EXPECT_EQ(sys->points(), (QList<QPointF>{{0, 200}, {6, 250}}));
    EXPECT_EQ(dia->points(), (QList<QPointF>{{0, 100}, {6, 150}}));
    EXPECT_EQ(g->yTicks(), (std::vector<double>{60, 180}));

    // Only today: a lone symbol at the right edge of the picture.
    d.points = {{0, 150, 90}};
    const QImage img = renderTrend(d);
    const std::vector<int> cols = columnsWith(img, TrendPlot::systolicColor());
    ASSERT_FALSE(cols.empty());
    EXPECT_GT(cols.front(), 370 - 15);
    // The two target lines run across the picture at 60 and 180 of 300.
    const QColor line(0x4A, 0x5A, 0x6A);
    EXPECT_EQ(rowsWith(img, line, 150 - 60 * 150 / 300 - 2, 150 - 60 * 150 / 300 + 2), 1)
        << "one line near y 60";
    EXPECT_GE(rowsWith(img, line, 150 - 180 * 150 / 300 - 2, 150 - 180 * 150 / 300 + 2), 1);
    EXPECT_EQ(rowsWith(img, line, 20, 40), 0) << "no line above the high target";
}

TEST(TrendPlotTest, RendersWithItsLabelsIntoAnyPainter)
{
    TrendPlot::Data d;
    d.points = {{0, 128, 84}, {1, 131, 86}, {3, 140, 90}};
    d.xLabels = {{6, QStringLiteral("06/09")}, {0, QStringLiteral("06/15")}};
    const QImage bare = renderTrend(d, {500, 220});
    const QImage labelled = renderTrend(d, {500, 220}, true);
    // The labels take room: the plot moves in and text pixels appear.
    EXPECT_NE(bare, labelled);
    EXPECT_FALSE(columnsWith(labelled, Qt::black, 60).empty());
}

TEST(WhoBarPlotTest, BarsStandOptimalToGrade3FromLeftToRightAtTheirHeights)
{
    WhoBarPlot::Data d;
    d.percent = {100, 0, 0, 0, 0, 50}; // grade 3 at 100 %, optimal at 50 %
    QImage img(360, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        WhoBarPlot(d).graph()->render(p, img.rect());
    }
    const std::vector<int> grade3 = columnsWith(img, WhoBarPlot::barColor(0), 20);
    const std::vector<int> optimal = columnsWith(img, WhoBarPlot::barColor(5), 20);
    ASSERT_FALSE(grade3.empty());
    ASSERT_FALSE(optimal.empty());
    EXPECT_GT(grade3.front(), 300);
    EXPECT_LT(optimal.back(), 60);
    // The full bar reaches the top, the half one half way.
    auto topOf = [&](QColor c, int col) {
        for (int y = 0; y < img.height(); ++y)
            if (img.pixelColor(col, y) == c)
                return y;
        return -1;
    };
    const int mid3 = (grade3.front() + grade3.back()) / 2;
    const int mid1 = (optimal.front() + optimal.back()) / 2;
    EXPECT_LE(topOf(WhoBarPlot::barColor(0), mid3), 3);
    EXPECT_NEAR(topOf(WhoBarPlot::barColor(5), mid1), 100, 4);
    // A 0 % bar is only the short step down from the base, at the bottom.
    const std::vector<int> empty = columnsWith(img, WhoBarPlot::barColor(2), 20);
    ASSERT_FALSE(empty.empty());
    EXPECT_GE(topOf(WhoBarPlot::barColor(2), (empty.front() + empty.back()) / 2), 195);
}

TEST(GraphHostingViewTest, ANewGraphReplacesTheOldOneWholeAndIsMirrored)
{
    GraphHostingView host;
    host.setMirrored(true);
    host.resize(370, 150);
    TrendPlot::Data d;
    d.points = {{0, 120, 80}};
    host.setHostedGraph(TrendPlot(d).graph());
    XYGraph *first = host.hostedGraph();
    d.points = {{0, 120, 80}, {1, 121, 81}};
    auto second = TrendPlot(d).graph();
    second->setMirrored(false);
    host.setHostedGraph(std::move(second));
    ASSERT_NE(host.hostedGraph(), first);
    EXPECT_TRUE(host.hostedGraph()->isMirrored());
    EXPECT_EQ(host.chart(), host.hostedGraph()->chart());
    EXPECT_EQ(host.hostedGraph()->plotWithIdentifier(TrendPlot::systolicIdentifier())->recordCount(), 2);
    host.show();
    const QImage shot = host.grab().toImage();
    EXPECT_FALSE(columnsWith(shot, TrendPlot::systolicColor()).empty());
}

} // namespace
} // namespace tonara::test
